// Small image files built inside the tests: PNG and JPEG through libpng and libjpeg, a CgBI PNG
// assembled with zlib, GIF through a small LZW encoder, and BMP and TGA laid out byte by byte.
#pragma once

#include "KImage.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ImageFixtures {
using Bytes = std::vector<unsigned char>;

// Little-endian byte assembly for the hand-made formats.
struct ByteWriter {
    Bytes bytes = {};
    ByteWriter& u8(unsigned value);
    ByteWriter& le16(unsigned value);
    ByteWriter& le32(uint32_t value);
    ByteWriter& append(const Bytes& more);
};

// A PNG written by libpng. Samples are the packed row bytes as libpng takes them (bitDepth bits per
// sample, rows padded to whole bytes, 16-bit samples big-endian).
struct PngSpec {
    int width = 1;
    int height = 1;
    int colorType = 2; // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    bool interlaced = false;
    Bytes rows = {};
    Bytes palette = {};      // R, G, B per entry, for palette pictures
    Bytes transparency = {}; // tRNS alphas of a palette picture
    int greyKey = -1;        // tRNS grey value of a grey picture
};
Bytes png(const PngSpec& spec);

// A CgBI PNG of the samples as stored: B, G, R, A with colour premultiplied by alpha (or B, G, R
// without alpha), image data as raw deflate, Adam7-interlaced if asked. cgbiLength other than 4
// makes a damaged marker chunk.
Bytes cgbi(int width, int height, const Bytes& samples, bool withAlpha, uint32_t cgbiLength = 4,
           bool interlaced = false);

// A baseline JPEG of interleaved samples: components 1 (grey), 3 (RGB) or 4 (CMYK).
Bytes jpeg(int width, int height, int components, const Bytes& samples, int quality = 100);

// GIF image data: the minimum code size byte, the LZW codes in sub-blocks, the zero terminator.
// With deferredClear the encoder keeps sending 12-bit codes once the table is full instead of
// clearing it; endCode false leaves out the end code; leadingClear false starts the codes without
// the clear code that most encoders send first.
Bytes gifImageData(const Bytes& indices, int minimumCodeSize, bool deferredClear = false, bool endCode = true,
                   bool leadingClear = true);

struct GifFrame {
    int left = 0;
    int top = 0;
    int width = 1;
    int height = 1;
    bool interlaced = false;
    Bytes localTable = {}; // R, G, B entries; a power of two of at least 2, or empty
    Bytes indices = {};    // in stored order (pass order when interlaced)
    int minimumCodeSize = 2;
    Bytes imageData = {}; // when set, used as is in place of the encoded indices
};
// A GIF89a: header, logical screen, optional global table, a graphic control extension and a
// comment extension ahead of the frame, the frame, the trailer.
Bytes gif(int screenWidth, int screenHeight, const Bytes& globalTable, int background, const GifFrame& frame);

// A BMP with a 40-byte info header (bit masks follow it for compression 3, then the colour table of
// B, G, R, 0 entries), the pixel data at the offset the header names.
Bytes bmp(int32_t width, int32_t height, int depth, uint32_t compression, const Bytes& table, const Bytes& pixels,
          const std::vector<uint32_t>& masks = {});
// A BMP with the 12-byte core header and a colour table of B, G, R entries.
Bytes bmpCore(int width, int height, int depth, const Bytes& table, const Bytes& pixels);

// A TGA: 18-byte header, identification field, colour map (entries as given), pixel data.
struct TgaSpec {
    int mapType = 0;
    int imageType = 2;
    int mapLength = 0;
    int mapEntryBits = 0;
    int width = 1;
    int height = 1;
    int depth = 24;
    int descriptor = 0x20;
    Bytes id = {};
    Bytes map = {};
    Bytes pixels = {};
};
Bytes tga(const TgaSpec& spec);

// count bytes counting up by step (wrapping at 256): sample values that differ from pixel to pixel.
Bytes ramp(size_t count, int step);

// A good small file of every format and of each way a format can store a picture (PNG colour types, depths,
// interlacing and CgBI; JPEG colour and grey; TGA raw, run-length and mapped; interlaced GIF; BMP depths,
// run-length codings, bit fields and the core header). The damage tests and the fuzz seeds start from them.
struct SampleFile {
    const char* name;
    ImageFormat format;
    Bytes bytes;
};
std::vector<SampleFile> sampleFiles();

// What the engine log holds since it was last cleared.
std::string loggedText();

// A picture file read whole and decoded by its extension (a picture a test saved); false when it cannot be.
bool readImageFile(const std::string& path, KImage& image);

// Every pixel of a picture, top row first.
std::vector<uint32_t> pixelsOf(const KImage& image);

// Base of the codec tests: each test starts with an empty engine log.
class CodecTest : public ::testing::Test {
protected:
    void SetUp() override;
};
} // namespace ImageFixtures
