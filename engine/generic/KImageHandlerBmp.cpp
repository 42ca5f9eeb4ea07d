// BMP decoding and encoding. Indexed pictures use a colour table shared by every BMP decode: a
// file's table overwrites the entries it holds. Pixel data that ends early leaves the rest of the
// picture at the fill colour (colour 0 for indexed pictures, transparent black otherwise).
#include "KImageHandlerBmp.h"

#include "KLittleEndian.h"
#include "KLog.h"

#include <cstring>
#include <new>

namespace {
uint32_t colorTable[256];

constexpr uint32_t kMethodRgb = 0, kMethodRle8 = 1, kMethodRle4 = 2, kMethodBitfields = 3;

// Where decoded pixels go: rows are numbered in storage order and mapped to picture rows here.
struct Canvas {
    uint32_t* pixels;
    size_t width;
    size_t height;
    bool topDown;
    uint32_t* row(size_t stored) const { return pixels + (topDown ? stored : height - 1 - stored) * width; }
};

// The run-length decoder's pen. What a run or literal holds past the right edge is dropped: common tools encode
// every row at its padded width, and the row ends with its own end-of-row code. Nothing is written below the last
// row.
struct Pen {
    const Canvas& canvas;
    size_t x = 0;
    size_t y = 0;
    bool done() const { return y >= canvas.height; }
    void put(uint8_t index) {
        if (done() || x >= canvas.width) return;
        canvas.row(y)[x++] = colorTable[index];
    }
};

void decodeRle(const unsigned char* data, size_t size, size_t pos, const Canvas& canvas, bool fourBit) {
    Pen pen{canvas};
    while (!pen.done() && size - pos >= 2) {
        const unsigned count = data[pos], value = data[pos + 1];
        pos += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count && !pen.done(); i++) {
                pen.put(uint8_t(fourBit ? (i % 2 == 0 ? value >> 4 : value & 15) : value));
            }
            continue;
        }
        if (value == 0) { // end of row
            pen.x = 0;
            pen.y++;
        } else if (value == 1) { // end of picture
            return;
        } else if (value == 2) { // delta
            if (size - pos < 2) return;
            pen.x += data[pos];
            pen.y += data[pos + 1];
            pos += 2;
        } else { // literal indices, padded to an even number of bytes
            const size_t bytes = fourBit ? (size_t(value) + 1) / 2 : value;
            const size_t padded = (bytes + 1) & ~size_t(1);
            for (size_t i = 0; i < value && !pen.done(); i++) {
                const size_t at = pos + (fourBit ? i / 2 : i);
                if (at >= size) return;
                pen.put(uint8_t(fourBit ? (i % 2 == 0 ? data[at] >> 4 : data[at] & 15) : data[at]));
            }
            if (padded > size - pos) return;
            pos += padded;
        }
    }
}

enum class Layout { Indexed, Rgb555, Rgb565, Bgr24, Bgra32, Bgrx32, Rgb32High, None };

void decodeRows(const unsigned char* data, size_t size, size_t pos, const Canvas& canvas, int depth, Layout layout) {
    const size_t rowBytes = ((canvas.width * size_t(depth) + 31) / 32) * 4;
    for (size_t y = 0; y < canvas.height; y++) {
        if (pos > size || rowBytes > size - pos) return;
        const unsigned char* in = data + pos;
        uint32_t* out = canvas.row(y);
        for (size_t x = 0; x < canvas.width; x++) {
            switch (layout) {
            case Layout::Indexed: {
                const size_t bit = x * size_t(depth);
                const unsigned byte = in[bit / 8];
                const unsigned shift = 8 - unsigned(depth) - unsigned(bit % 8);
                out[x] = colorTable[(byte >> shift) & ((1u << depth) - 1)];
                break;
            }
            case Layout::Rgb555:
                out[x] = KImage::unpack555(readLittle16(in + x * 2));
                break;
            case Layout::Rgb565:
                out[x] = KImage::unpack565(readLittle16(in + x * 2));
                break;
            case Layout::Bgr24:
                out[x] = KImage::pack(in[x * 3 + 2], in[x * 3 + 1], in[x * 3], 255);
                break;
            case Layout::Bgra32:
                out[x] = KImage::pack(in[x * 4 + 2], in[x * 4 + 1], in[x * 4], in[x * 4 + 3]);
                break;
            case Layout::Bgrx32:
                out[x] = KImage::pack(in[x * 4 + 2], in[x * 4 + 1], in[x * 4], 255);
                break;
            case Layout::Rgb32High:
                out[x] = KImage::pack(in[x * 4 + 3], in[x * 4 + 2], in[x * 4 + 1], 255);
                break;
            case Layout::None:
                return;
            }
        }
        pos += rowBytes;
    }
}
// The fourth byte of a 32-bit pixel is alpha when the header says so with its alpha mask (headers of 56 bytes
// and more hold one, at offset 66). The 40-byte header has none, and most tools that write it leave the byte 0:
// there the byte is read as alpha, and a picture whose alpha is then 0 everywhere is opaque (`declared` false).
Layout thirtyTwoBitLayout(const unsigned char* data, size_t size, uint32_t headerSize, bool& declared) {
    declared = headerSize >= 56 && size >= 70;
    if (!declared) return Layout::Bgra32;
    return readLittle32(data + 66) == 0xFF000000 ? Layout::Bgra32 : Layout::Bgrx32;
}

// Whether a pixel stored in the data sets its fourth byte (only the rows the data holds are read, so the cost
// follows the file's size, not the picture's).
bool fourthBytesUsed(const unsigned char* data, size_t size, size_t pos, size_t width, size_t height) {
    const size_t rowBytes = width * 4;
    for (size_t y = 0; y < height && pos <= size && rowBytes <= size - pos; y++, pos += rowBytes)
        for (size_t x = 3; x < rowBytes; x += 4)
            if (data[pos + x] != 0) return true;
    return false;
}
} // namespace

bool KImageHandlerBmp::decode(const unsigned char* data, size_t size, KImage& image) {
    if (!data || size < 14 || data[0] != 'B' || data[1] != 'M') {
        logMessage("BMP: not a BMP file");
        return false;
    }
    auto tooShort = [] {
        logMessage("BMP: file is too short");
        return false;
    };
    if (size < 18) return tooShort();
    const size_t pixelOffset = readLittle32(data + 10);
    const uint32_t headerSize = readLittle32(data + 14);

    int64_t width = 0, height = 0;
    int depth = 0;
    uint32_t method = kMethodRgb;
    size_t tableAt = 0, tableEntrySize = 4;
    if (headerSize == 12) {
        if (size < 26) return tooShort();
        width = int16_t(readLittle16(data + 18));
        height = int16_t(readLittle16(data + 20));
        depth = int(readLittle16(data + 24));
        tableAt = 26;
        tableEntrySize = 3;
    } else if (headerSize >= 40) {
        if (size < 34) return tooShort();
        width = int32_t(readLittle32(data + 18));
        height = int32_t(readLittle32(data + 22));
        depth = int(readLittle16(data + 28));
        method = readLittle32(data + 30);
        tableAt = 14 + size_t(headerSize);
    } else {
        logMessage("BMP: unsupported header size %u", headerSize);
        return false;
    }

    Layout layout = Layout::None;
    bool hasAlpha = false, alphaDeclared = false;
    if (method == kMethodRgb) {
        switch (depth) {
        case 1:
        case 4:
        case 8:
            layout = Layout::Indexed;
            break;
        case 16:
            layout = Layout::Rgb555;
            break;
        case 24:
            layout = Layout::Bgr24;
            break;
        case 32:
            layout = thirtyTwoBitLayout(data, size, headerSize, alphaDeclared);
            break;
        default:
            logMessage("BMP: unsupported bit depth of %d for uncompressed data", depth);
            return false;
        }
    } else if (method == kMethodRle8) {
        if (depth != 8) {
            logMessage("BMP: unsupported bit depth of %d for RLE8 method", depth);
            return false;
        }
    } else if (method == kMethodRle4) {
        if (depth != 4) {
            logMessage("BMP: unsupported bit depth of %d for RLE4 method", depth);
            return false;
        }
    } else if (method == kMethodBitfields) {
        if (depth != 16 && depth != 32) {
            logMessage("BMP: unsupported bit depth of %d for bitfields method", depth);
            return false;
        }
        if (size < 66) return tooShort();
        const uint32_t red = readLittle32(data + 54), green = readLittle32(data + 58), blue = readLittle32(data + 62);
        if (depth == 16 && red == 0x7C00 && green == 0x03E0 && blue == 0x001F) layout = Layout::Rgb555;
        if (depth == 16 && red == 0xF800 && green == 0x07E0 && blue == 0x001F) layout = Layout::Rgb565;
        if (depth == 32 && red == 0xFF000000 && green == 0x00FF0000 && blue == 0x0000FF00) layout = Layout::Rgb32High;
        if (depth == 32 && red == 0x00FF0000 && green == 0x0000FF00 && blue == 0x000000FF)
            layout = thirtyTwoBitLayout(data, size, headerSize, alphaDeclared);
        if (layout == Layout::None) logMessage("BMP: unsupported bit masks for the bitfields method");
    } else {
        logMessage("BMP: unsupported compression method %d", int(method));
        return false;
    }

    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height == 0) {
        logMessage("BMP: invalid picture size %lldx%lld", (long long)width, (long long)height);
        return false;
    }
    if (!KImage::sizeAllowed(width, height)) {
        logMessage("BMP: picture of %lldx%lld pixels is too large", (long long)width, (long long)height);
        return false;
    }

    if (layout == Layout::Bgra32 && !alphaDeclared &&
        !fourthBytesUsed(data, size, pixelOffset, size_t(width), size_t(height)))
        layout = Layout::Bgrx32; // the fourth byte unused: an opaque picture
    hasAlpha = layout == Layout::Bgra32;

    const bool indexed = depth <= 8;
    if (indexed) {
        const size_t entries = size_t(1) << depth;
        for (size_t i = 0; i < entries && tableAt <= size && tableEntrySize <= size - tableAt; i++) {
            const unsigned char* entry = data + tableAt;
            colorTable[i] = KImage::pack(entry[2], entry[1], entry[0], 255);
            tableAt += tableEntrySize;
        }
    }

    const size_t count = size_t(width) * size_t(height);
    uint32_t* pixels = new (std::nothrow) uint32_t[count];
    if (!pixels) {
        logMessage("BMP: out of memory for a picture of %lldx%lld pixels", (long long)width, (long long)height);
        return false;
    }
    const uint32_t fill = indexed ? colorTable[0] : 0;
    for (size_t i = 0; i < count; i++) pixels[i] = fill;

    Canvas canvas{pixels, size_t(width), size_t(height), topDown};
    if (method == kMethodRle8 || method == kMethodRle4) {
        if (pixelOffset < size) decodeRle(data, size, pixelOffset, canvas, method == kMethodRle4);
    } else {
        decodeRows(data, size, pixelOffset, canvas, depth, layout);
    }
    image.adopt(int32_t(width), int32_t(height), hasAlpha, pixels);
    return true;
}

bool KImageHandlerBmp::encode(unsigned char*& data, size_t& size, const KImage& image, int) {
    const int32_t width = image.getWidth(), height = image.getHeight();
    const uint32_t* pixels = image.getPixels();
    if (!KImage::sizeAllowed(width, height) || (!pixels && width > 0 && height > 0)) {
        logMessage("BMP: cannot encode a picture of %dx%d pixels", width, height);
        return false;
    }
    const bool alpha = image.getHasAlpha();
    const size_t bytesPerPixel = alpha ? 4 : 3;
    const size_t rowBytes = (size_t(width) * bytesPerPixel + 3) & ~size_t(3);
    const size_t total = 54 + rowBytes * size_t(height);
    auto* out = new (std::nothrow) unsigned char[total]();
    if (!out) {
        logMessage("BMP: out of memory for encoding a picture of %dx%d pixels", width, height);
        return false;
    }
    out[0] = 'B';
    out[1] = 'M';
    writeLittle32(out + 2, uint32_t(total));
    writeLittle32(out + 10, 54);
    writeLittle32(out + 14, 40);
    writeLittle32(out + 18, uint32_t(width) & 0xFFFF);
    writeLittle32(out + 22, uint32_t(height) & 0xFFFF);
    writeLittle16(out + 26, 1);
    writeLittle16(out + 28, alpha ? 32 : 24);
    writeLittle32(out + 38, 2835);
    writeLittle32(out + 42, 2835);
    for (int32_t y = 0; y < height; y++) {
        const uint32_t* in = pixels + size_t(height - 1 - y) * size_t(width);
        unsigned char* p = out + 54 + size_t(y) * rowBytes;
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
