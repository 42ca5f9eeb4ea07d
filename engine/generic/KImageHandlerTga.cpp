// TGA decoding and encoding. 8-bit colour pictures index a colour table shared by every TGA decode: a colour map
// overwrites the entries it holds, the others keep what an earlier decode left there. Grey pictures (image types 3
// and 11) are grey: 8 bits of grey, or 16 bits of grey and alpha.
#include "KImageHandlerTga.h"

#include "KLittleEndian.h"
#include "KLog.h"

#include <cstring>
#include <new>

namespace {
uint32_t colorTable[256];

constexpr size_t kHeaderSize = 18;
constexpr int kGreyKind = 3; // the image type's low bits: 1 colour-mapped, 2 true colour, 3 grey

uint32_t decodePixel(const unsigned char* p, int depth, bool grey) {
    if (grey) return KImage::pack(p[0], p[0], p[0], depth == 16 ? p[1] : 255);
    switch (depth) {
    case 8:
        return colorTable[p[0]];
    case 15:
    case 16:
        return KImage::unpack555(readLittle16(p));
    case 24:
        return KImage::pack(p[2], p[1], p[0], 255);
    default:
        return KImage::pack(p[2], p[1], p[0], p[3]);
    }
}
} // namespace

bool KImageHandlerTga::decode(const unsigned char* data, size_t size, KImage& image) {
    if (!data || size < kHeaderSize || size < kHeaderSize + data[0]) {
        logMessage("TGA: file is too short");
        return false;
    }
    const int mapType = data[1];
    const int imageType = data[2];
    const size_t mapLength = size_t(readLittle16(data + 5));
    const int mapEntryBits = data[7];
    const int width = int16_t(readLittle16(data + 12));
    const int height = int16_t(readLittle16(data + 14));
    const int depth = data[16];
    const int descriptor = data[17];
    size_t pos = kHeaderSize + data[0];

    if (mapType != 0) {
        if (mapEntryBits != 24) {
            logMessage("TGA: unsupported color map entry size of %d bits", mapEntryBits);
            return false;
        }
        if (mapLength * 3 > size - pos) {
            logMessage("TGA: file is too short");
            return false;
        }
        // Only 256 entries can be indexed by 8-bit pixels; a longer map is skipped past.
        for (size_t i = 0; i < mapLength && i < 256; i++) {
            const unsigned char* entry = data + pos + i * 3;
            colorTable[i] = KImage::pack(entry[2], entry[1], entry[0], 255);
        }
        pos += mapLength * 3;
    }
    if (depth != 8 && depth != 15 && depth != 16 && depth != 24 && depth != 32) {
        logMessage("TGA: unsupported pixel depth of %d", depth);
        return false;
    }
    if (width <= 0 || height <= 0) {
        logMessage("TGA: invalid picture size %dx%d", width, height);
        return false;
    }
    if (!KImage::sizeAllowed(width, height)) {
        logMessage("TGA: picture of %dx%d pixels is too large", width, height);
        return false;
    }

    const size_t bytesPerPixel = size_t(depth + 7) / 8;
    const bool compressed = (imageType & 8) != 0;
    const bool grey = (imageType & 7) == kGreyKind && (depth == 8 || depth == 16);
    const size_t rowCount = size_t(height), rowLength = size_t(width);
    if (!compressed && rowLength * rowCount * bytesPerPixel > size - pos) {
        logMessage("TGA: file is too short");
        return false;
    }
    // A run-length row needs at least one packet per 128 pixels; fail before allocating the picture
    // when the data cannot possibly hold that.
    if (compressed && rowCount * ((rowLength + 127) / 128) * (1 + bytesPerPixel) > size - pos) {
        logMessage("TGA: end of file met while decompressing");
        return false;
    }
    uint32_t* pixels = new (std::nothrow) uint32_t[rowLength * rowCount];
    if (!pixels) {
        logMessage("TGA: out of memory for a picture of %dx%d pixels", width, height);
        return false;
    }

    const bool topFirst = (descriptor & 0x20) != 0;
    const bool rightToLeft = (descriptor & 0x10) != 0;
    for (size_t row = 0; row < rowCount; row++) {
        uint32_t* out = pixels + (topFirst ? row : rowCount - 1 - row) * rowLength;
        auto store = [&](size_t x, uint32_t value) { out[rightToLeft ? rowLength - 1 - x : x] = value; };
        if (!compressed) {
            for (size_t x = 0; x < rowLength; x++, pos += bytesPerPixel) store(x, decodePixel(data + pos, depth, grey));
            continue;
        }
        size_t x = 0;
        while (x < rowLength) {
            if (pos >= size) {
                logMessage("TGA: end of file met while decompressing");
                delete[] pixels;
                return false;
            }
            const int header = data[pos++];
            const size_t count = size_t(header & 0x7F) + 1;
            if (x + count > rowLength) {
                logMessage("TGA: decompressing past the end of the current scanline at %d,%d; length was %d", int(x),
                           int(row), int(count));
                delete[] pixels;
                return false;
            }
            const size_t needed = (header & 0x80) ? bytesPerPixel : count * bytesPerPixel;
            if (needed > size - pos) {
                logMessage("TGA: end of file met while decompressing");
                delete[] pixels;
                return false;
            }
            if (header & 0x80) {
                uint32_t value = decodePixel(data + pos, depth, grey);
                for (size_t i = 0; i < count; i++) store(x++, value);
            } else {
                for (size_t i = 0; i < count; i++) store(x++, decodePixel(data + pos + i * bytesPerPixel, depth, grey));
            }
            pos += needed;
        }
    }
    image.adopt(width, height, depth == 32 || (grey && depth == 16), pixels);
    return true;
}

bool KImageHandlerTga::encode(unsigned char*& data, size_t& size, const KImage& image, int) {
    const int32_t width = image.getWidth(), height = image.getHeight();
    const uint32_t* pixels = image.getPixels();
    if (width < 0 || height < 0 || width > 0x7FFF || height > 0x7FFF || (!pixels && width > 0 && height > 0)) {
        logMessage("TGA: cannot encode a picture of %dx%d pixels", width, height);
        return false;
    }
    const bool alpha = image.getHasAlpha();
    const size_t bytesPerPixel = alpha ? 4 : 3;
    const size_t total = kHeaderSize + size_t(width) * size_t(height) * bytesPerPixel;
    auto* out = new (std::nothrow) unsigned char[total];
    if (!out) {
        logMessage("TGA: out of memory for encoding a picture of %dx%d pixels", width, height);
        return false;
    }
    memset(out, 0, kHeaderSize);
    out[2] = 2;
    out[12] = uint8_t(width);
    out[13] = uint8_t(width >> 8);
    out[14] = uint8_t(height);
    out[15] = uint8_t(height >> 8);
    out[16] = alpha ? 32 : 24;
    unsigned char* p = out + kHeaderSize;
    for (int32_t y = height - 1; y >= 0; y--) {
        const uint32_t* in = pixels + size_t(y) * size_t(width);
        for (int32_t x = 0; x < width; x++) {
            *p++ = uint8_t(KImage::blue(in[x]));
            *p++ = uint8_t(KImage::green(in[x]));
            *p++ = uint8_t(KImage::red(in[x]));
            if (alpha) *p++ = uint8_t(KImage::alpha(in[x]));
        }
    }
    data = out;
    size = total;
    return true;
}
