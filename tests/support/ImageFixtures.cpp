// Builders of the image files the codec tests decode.
#include "ImageFixtures.h"

#include "KLog.h"
#include "KResource.h"

#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <map>
#include <png.h>
#include <stdexcept>
#include <zlib.h>

namespace ImageFixtures {

ByteWriter& ByteWriter::u8(unsigned value) {
    bytes.push_back(uint8_t(value));
    return *this;
}

ByteWriter& ByteWriter::le16(unsigned value) {
    return u8(value).u8(value >> 8);
}

ByteWriter& ByteWriter::le32(uint32_t value) {
    return le16(value & 0xFFFF).le16(value >> 16);
}

ByteWriter& ByteWriter::append(const Bytes& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
    return *this;
}

namespace {
void appendToBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void appendBig32(Bytes& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
}

void appendChunk(Bytes& out, const char* type, const Bytes& body) {
    appendBig32(out, uint32_t(body.size()));
    size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    appendBig32(out, uint32_t(crc32(0, out.data() + typeAt, uInt(out.size() - typeAt))));
}
} // namespace

Bytes png(const PngSpec& spec) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) throw std::runtime_error("libpng could not write the fixture");
    png_set_write_fn(png, &out, appendToBytes, nullptr);
    png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colorType,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (size_t i = 0; i + 2 < spec.palette.size(); i += 3)
        palette.push_back({spec.palette[i], spec.palette[i + 1], spec.palette[i + 2]});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), int(palette.size()));
    if (!spec.transparency.empty())
        png_set_tRNS(png, info, spec.transparency.data(), int(spec.transparency.size()), nullptr);
    if (spec.greyKey >= 0) {
        png_color_16 key = {};
        key.gray = png_uint_16(spec.greyKey);
        png_set_tRNS(png, info, nullptr, 0, &key);
    }
    png_write_info(png, info);
    const size_t rowBytes = spec.rows.size() / size_t(spec.height);
    std::vector<png_bytep> rows;
    for (int y = 0; y < spec.height; y++) rows.push_back(const_cast<png_bytep>(spec.rows.data()) + y * rowBytes);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes cgbi(int width, int height, const Bytes& samples, bool withAlpha, uint32_t cgbiLength, bool interlaced) {
    const size_t pixelBytes = withAlpha ? 4 : 3;
    // Rows of each Adam7 pass, or the plain rows, each led by filter type 0 (none).
    static const int kStart[7][2] = {{0, 0}, {4, 0}, {0, 4}, {2, 0}, {0, 2}, {1, 0}, {0, 1}};
    static const int kStep[7][2] = {{8, 8}, {8, 8}, {4, 8}, {4, 4}, {2, 4}, {2, 2}, {1, 2}};
    Bytes raw;
    for (int pass = 0; pass < (interlaced ? 7 : 1); pass++) {
        const int x0 = interlaced ? kStart[pass][0] : 0, y0 = interlaced ? kStart[pass][1] : 0;
        const int dx = interlaced ? kStep[pass][0] : 1, dy = interlaced ? kStep[pass][1] : 1;
        if (x0 >= width) continue;
        for (int y = y0; y < height; y += dy) {
            raw.push_back(0);
            for (int x = x0; x < width; x += dx) {
                auto pixel = samples.begin() + (size_t(y) * width + x) * pixelBytes;
                raw.insert(raw.end(), pixel, pixel + pixelBytes);
            }
        }
    }
    z_stream stream = {};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    Bytes packed(deflateBound(&stream, uLong(raw.size())));
    stream.next_in = raw.data();
    stream.avail_in = uInt(raw.size());
    stream.next_out = packed.data();
    stream.avail_out = uInt(packed.size());
    deflate(&stream, Z_FINISH);
    packed.resize(stream.total_out);
    deflateEnd(&stream);

    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    appendChunk(out, "CgBI", Bytes(cgbiLength, 0x50));
    Bytes header;
    appendBig32(header, uint32_t(width));
    appendBig32(header, uint32_t(height));
    header.insert(header.end(), {8, uint8_t(withAlpha ? 6 : 2), 0, 0, uint8_t(interlaced ? 1 : 0)});
    appendChunk(out, "IHDR", header);
    // The image data split over two chunks, as writers do for larger pictures.
    size_t half = packed.size() / 2;
    appendChunk(out, "IDAT", Bytes(packed.begin(), packed.begin() + half));
    appendChunk(out, "IDAT", Bytes(packed.begin() + half, packed.end()));
    appendChunk(out, "IEND", {});
    return out;
}

Bytes jpeg(int width, int height, int components, const Bytes& samples, int quality) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data()) + size_t(cinfo.next_scanline) * width * components;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    free(buffer);
    return out;
}

Bytes gifImageData(const Bytes& indices, int minimumCodeSize, bool deferredClear, bool endCode, bool leadingClear) {
    const int clear = 1 << minimumCodeSize;
    Bytes packed;
    uint32_t bits = 0;
    int bitCount = 0;
    int width = minimumCodeSize + 1;
    auto put = [&](int code) {
        bits |= uint32_t(code) << bitCount;
        bitCount += width;
        while (bitCount >= 8) {
            packed.push_back(uint8_t(bits));
            bits >>= 8;
            bitCount -= 8;
        }
    };
    std::map<std::pair<int, int>, int> table;
    int nextFree = clear + 2;
    int codesSinceClear = 0;
    if (leadingClear) put(clear);
    int current = -1;
    for (unsigned char index : indices) {
        if (current < 0) {
            current = index;
            continue;
        }
        auto found = table.find({current, index});
        if (found != table.end()) {
            current = found->second;
            continue;
        }
        put(current);
        codesSinceClear++;
        if (nextFree < 4096) {
            table[{current, index}] = nextFree++;
            // The decoder widens its codes once the next free code no longer fits.
            if (nextFree > (1 << width) && width < 12) width++;
        } else if (!deferredClear) {
            put(clear);
            table.clear();
            nextFree = clear + 2;
            width = minimumCodeSize + 1;
            codesSinceClear = 0;
        }
        current = index;
    }
    if (current >= 0) {
        put(current);
        codesSinceClear++;
    }
    // Reading the last code makes the decoder add one more table entry, which may widen the codes.
    if (codesSinceClear >= 2 && nextFree < 4096 && nextFree >= (1 << width) && width < 12) width++;
    if (endCode) put(clear + 1);
    if (bitCount > 0) packed.push_back(uint8_t(bits));

    Bytes out = {uint8_t(minimumCodeSize)};
    for (size_t at = 0; at < packed.size(); at += 255) {
        size_t length = packed.size() - at < 255 ? packed.size() - at : 255;
        out.push_back(uint8_t(length));
        out.insert(out.end(), packed.begin() + at, packed.begin() + at + length);
    }
    out.push_back(0);
    return out;
}

namespace {
int tableBits(size_t entries) {
    int bits = 0;
    while ((size_t(2) << bits) < entries) bits++;
    return bits;
}
} // namespace

Bytes gif(int screenWidth, int screenHeight, const Bytes& globalTable, int background, const GifFrame& frame) {
    ByteWriter w;
    w.append({'G', 'I', 'F', '8', '9', 'a'}).le16(screenWidth).le16(screenHeight);
    w.u8(globalTable.empty() ? 0 : 0x80 | tableBits(globalTable.size() / 3)).u8(background).u8(0);
    w.append(globalTable);
    w.append({0x21, 0xF9, 4, 0x01, 0, 0, 0, 0});                        // graphic control (transparent index 0)
    w.append({0x21, 0xFE, 5, 'm', 'a', 'd', 'e', '.', 2, 'b', 'y', 0}); // comment in two sub-blocks
    w.u8(0x2C).le16(frame.left).le16(frame.top).le16(frame.width).le16(frame.height);
    int flags = frame.interlaced ? 0x40 : 0;
    if (!frame.localTable.empty()) flags |= 0x80 | tableBits(frame.localTable.size() / 3);
    w.u8(flags).append(frame.localTable);
    w.append(frame.imageData.empty() ? gifImageData(frame.indices, frame.minimumCodeSize) : frame.imageData);
    w.u8(0x3B);
    return w.bytes;
}

Bytes bmp(int32_t width, int32_t height, int depth, uint32_t compression, const Bytes& table, const Bytes& pixels,
          const std::vector<uint32_t>& masks) {
    const uint32_t offset = uint32_t(54 + masks.size() * 4 + table.size());
    ByteWriter w;
    w.append({'B', 'M'}).le32(uint32_t(offset + pixels.size())).le32(0).le32(offset);
    w.le32(40).le32(uint32_t(width)).le32(uint32_t(height)).le16(1).le16(depth).le32(compression);
    w.le32(uint32_t(pixels.size())).le32(2835).le32(2835).le32(0).le32(0);
    for (uint32_t mask : masks) w.le32(mask);
    // The colour table sits right after the 40-byte header; with bit masks it is not used.
    w.append(table).append(pixels);
    return w.bytes;
}

Bytes bmpCore(int width, int height, int depth, const Bytes& table, const Bytes& pixels) {
    const uint32_t offset = uint32_t(26 + table.size());
    ByteWriter w;
    w.append({'B', 'M'}).le32(uint32_t(offset + pixels.size())).le32(0).le32(offset);
    w.le32(12).le16(width).le16(height).le16(1).le16(depth);
    w.append(table).append(pixels);
    return w.bytes;
}

Bytes tga(const TgaSpec& spec) {
    ByteWriter w;
    w.u8(unsigned(spec.id.size())).u8(spec.mapType).u8(spec.imageType);
    w.le16(0).le16(spec.mapLength).u8(spec.mapEntryBits);
    w.le16(0).le16(0).le16(unsigned(spec.width)).le16(unsigned(spec.height)).u8(spec.depth).u8(spec.descriptor);
    w.append(spec.id).append(spec.map).append(spec.pixels);
    return w.bytes;
}

Bytes ramp(size_t count, int step) {
    Bytes out;
    for (size_t i = 0; i < count; i++) out.push_back(uint8_t(i * step));
    return out;
}

std::vector<SampleFile> sampleFiles() {
    std::vector<SampleFile> all;
    all.push_back({"png rgba", K_IMAGE_PNG, png({.width = 8, .height = 8, .colorType = 6, .rows = ramp(256, 7)})});
    all.push_back({"png palette", K_IMAGE_PNG,
                   png({.width = 8,
                        .height = 4,
                        .colorType = 3,
                        .bitDepth = 4,
                        .rows = ramp(16, 17),
                        .palette = ramp(48, 5),
                        .transparency = {0, 50, 100}})});
    all.push_back(
        {"png grey 16 interlaced", K_IMAGE_PNG,
         png({.width = 9, .height = 9, .colorType = 0, .bitDepth = 16, .interlaced = true, .rows = ramp(162, 3)})});
    all.push_back({"png cgbi", K_IMAGE_PNG, cgbi(8, 8, ramp(256, 5), true)});
    all.push_back({"jpeg colour", K_IMAGE_JPG, jpeg(16, 16, 3, ramp(768, 1), 90)});
    all.push_back({"jpeg grey", K_IMAGE_JPG, jpeg(16, 8, 1, ramp(128, 2), 90)});
    all.push_back({"tga raw", K_IMAGE_TGA, tga({.width = 4, .height = 4, .pixels = ramp(48, 5)})});
    all.push_back({"tga run-length", K_IMAGE_TGA,
                   tga({.imageType = 10,
                        .width = 4,
                        .height = 2,
                        .depth = 32,
                        .pixels = {0x83, 1, 2, 3, 4, 0x01, 1, 2, 3, 4, 5, 6, 7, 8, 0x81, 9, 9, 9, 9}})});
    all.push_back({"tga mapped", K_IMAGE_TGA,
                   tga({.mapType = 1,
                        .imageType = 1,
                        .mapLength = 4,
                        .mapEntryBits = 24,
                        .width = 4,
                        .depth = 8,
                        .map = ramp(12, 20),
                        .pixels = {0, 1, 2, 3}})});
    all.push_back({"gif", K_IMAGE_GIF,
                   gif(8, 8, ramp(12, 21), 1,
                       {.left = 1,
                        .top = 1,
                        .width = 6,
                        .height = 6,
                        .interlaced = true,
                        .localTable = ramp(24, 9),
                        .indices = ramp(36, 3)})});
    all.push_back({"bmp 8-bit", K_IMAGE_BMP, bmp(4, 4, 8, 0, ramp(1024, 1), ramp(16, 13))});
    all.push_back({"bmp rle8", K_IMAGE_BMP,
                   bmp(4, 3, 8, 1, ramp(1024, 3), {2, 1, 0, 2, 1, 0, 1, 2, 0, 0, 0, 3, 3, 2, 1, 0, 0, 0, 6, 3, 0, 1})});
    all.push_back({"bmp rle4", K_IMAGE_BMP,
                   bmp(5, 2, 4, 2, ramp(64, 3), {5, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 2, 1, 0, 0, 1})});
    all.push_back({"bmp bit fields", K_IMAGE_BMP, bmp(2, 2, 16, 3, {}, ramp(8, 50), {0xF800, 0x07E0, 0x001F})});
    all.push_back({"bmp core", K_IMAGE_BMP, bmpCore(2, 2, 24, {}, ramp(16, 9))});
    return all;
}

std::string loggedText() {
    return std::string(KLog::memoryBuffer(), KLog::memoryBufferUsed());
}

bool readImageFile(const std::string& path, KImage& image) {
    unsigned char* bytes = nullptr;
    size_t size = 0;
    if (!KResource::loadWholeFile(path, bytes, size)) return false;
    bool decoded = KImage::decode(KImage::getFormatFromName(path.c_str()), bytes, size, image);
    delete[] bytes;
    return decoded;
}

std::vector<uint32_t> pixelsOf(const KImage& image) {
    if (!image.getPixels()) return {};
    return std::vector<uint32_t>(image.getPixels(), image.getPixels() + image.getWidth() * image.getHeight());
}

void CodecTest::SetUp() {
    KLog::clearMemoryBuffer();
}
} // namespace ImageFixtures
