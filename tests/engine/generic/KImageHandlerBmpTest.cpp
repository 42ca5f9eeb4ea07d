#include "KImage.h"

#include "ImageFixtures.h"
#include "KLog.h"

#include <gtest/gtest.h>

using ImageFixtures::Bytes;
using ImageFixtures::pixelsOf;

namespace {
constexpr auto P = KImage::pack;

// A colour table of `count` B, G, R, 0 entries; entry i is (R, G, B) = (i, 2i, 3i) modulo 256.
Bytes table(int count, int entrySize = 4) {
    Bytes out;
    for (int i = 0; i < count; i++) {
        out.insert(out.end(), {uint8_t(3 * i), uint8_t(2 * i), uint8_t(i)});
        if (entrySize == 4) out.push_back(0);
    }
    return out;
}

constexpr uint32_t colour(int i) {
    return P(uint32_t(i) & 255, uint32_t(2 * i) & 255, uint32_t(3 * i) & 255, 255);
}

// A 32-bit BMP with the 124-byte header, which holds the red, green, blue and alpha masks at 54 whatever the
// compression.
Bytes bmpWithAlphaMask(uint32_t compression, uint32_t alphaMask, const Bytes& pixels) {
    ImageFixtures::ByteWriter w;
    const uint32_t offset = 14 + 124;
    w.append({'B', 'M'}).le32(uint32_t(offset + pixels.size())).le32(0).le32(offset);
    w.le32(124).le32(uint32_t(pixels.size() / 4)).le32(1).le16(1).le16(32).le32(compression);
    w.le32(uint32_t(pixels.size())).le32(2835).le32(2835).le32(0).le32(0);
    w.le32(0x00FF0000).le32(0x0000FF00).le32(0x000000FF).le32(alphaMask);
    w.append(Bytes(124 - 56, 0)).append(pixels);
    return w.bytes;
}

class KImageHandlerBmpTest : public ImageFixtures::CodecTest {};
} // namespace

TEST_F(KImageHandlerBmpTest, DecodesEveryDepthAndLayout) {
    using ImageFixtures::bmp;
    struct Case {
        const char* what;
        Bytes file;
        int width, height;
        bool hasAlpha;
        std::vector<uint32_t> pixels; // top row first
    } cases[] = {
        {"1-bit, rows bottom first",
         bmp(3, 2, 1, 0, table(2), {0xA0, 0, 0, 0, 0x40, 0, 0, 0}),
         3,
         2,
         false,
         {colour(0), colour(1), colour(0), colour(1), colour(0), colour(1)}},
        {"4-bit", bmp(3, 1, 4, 0, table(16), {0x1F, 0x30, 0, 0}), 3, 1, false, {colour(1), colour(15), colour(3)}},
        {"8-bit", bmp(2, 1, 8, 0, table(256), {200, 7, 0, 0}), 2, 1, false, {colour(200), colour(7)}},
        {"16-bit is 5-5-5",
         bmp(2, 1, 16, 0, {}, {0x00, 0x7C, 0x1F, 0x00}),
         2,
         1,
         false,
         {P(248, 0, 0, 255), P(0, 0, 248, 255)}},
        {"24-bit with row padding",
         bmp(2, 2, 24, 0, {}, {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}),
         2,
         2,
         false,
         {P(9, 8, 7, 255), P(12, 11, 10, 255), P(3, 2, 1, 255), P(6, 5, 4, 255)}},
        // The fourth byte of the plain kind is unused where most tools write it: all 0 is an opaque picture.
        {"32-bit with its fourth bytes 0 is opaque",
         bmp(2, 1, 32, 0, {}, {1, 2, 3, 0, 4, 5, 6, 0}),
         2,
         1,
         false,
         {P(3, 2, 1, 255), P(6, 5, 4, 255)}},
        {"32-bit that uses its fourth bytes keeps them as alpha",
         bmp(2, 1, 32, 0, {}, {1, 2, 3, 0, 4, 5, 6, 200}),
         2,
         1,
         true,
         {P(3, 2, 1, 0), P(6, 5, 4, 200)}},
        {"bit fields without an alpha mask, fourth bytes 0: opaque",
         bmp(1, 1, 32, 3, {}, {30, 20, 10, 0}, {0x00FF0000, 0x0000FF00, 0x000000FF}),
         1,
         1,
         false,
         {P(10, 20, 30, 255)}},
        // A header with an alpha mask says itself whether the fourth byte is alpha.
        {"alpha mask: alpha, 0 included",
         bmpWithAlphaMask(3, 0xFF000000, {1, 2, 3, 0, 4, 5, 6, 90}),
         2,
         1,
         true,
         {P(3, 2, 1, 0), P(6, 5, 4, 90)}},
        {"alpha mask on the plain kind, all 0: still alpha",
         bmpWithAlphaMask(0, 0xFF000000, {1, 2, 3, 0}),
         1,
         1,
         true,
         {P(3, 2, 1, 0)}},
        {"no alpha mask in a header that has one: opaque",
         bmpWithAlphaMask(3, 0, {1, 2, 3, 0, 4, 5, 6, 90}),
         2,
         1,
         false,
         {P(3, 2, 1, 255), P(6, 5, 4, 255)}},
        {"negative height: top row first",
         bmp(1, -2, 24, 0, {}, {1, 2, 3, 0, 4, 5, 6, 0}),
         1,
         2,
         false,
         {P(3, 2, 1, 255), P(6, 5, 4, 255)}},
        {"core header, 24-bit", ImageFixtures::bmpCore(1, 1, 24, {}, {1, 2, 3, 0}), 1, 1, false, {P(3, 2, 1, 255)}},
        {"core header, 8-bit with 3-byte entries",
         ImageFixtures::bmpCore(2, 1, 8, table(256, 3), {9, 250, 0, 0}),
         2,
         1,
         false,
         {colour(9), colour(250)}},
        {"bit fields 5-5-5",
         bmp(1, 1, 16, 3, {}, {0xE0, 0x03, 0, 0}, {0x7C00, 0x03E0, 0x001F}),
         1,
         1,
         false,
         {P(0, 248, 0, 255)}},
        {"bit fields 5-6-5",
         bmp(3, 1, 16, 3, {}, {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0}, {0xF800, 0x07E0, 0x001F}),
         3,
         1,
         false,
         {P(248, 0, 0, 255), P(0, 252, 0, 255), P(0, 0, 248, 255)}},
        {"bit fields 32-bit, colour in the top bytes",
         bmp(1, 1, 32, 3, {}, {9, 30, 20, 10}, {0xFF000000, 0x00FF0000, 0x0000FF00}),
         1,
         1,
         false,
         {P(10, 20, 30, 255)}},
        {"bit fields 32-bit, colour in the low bytes",
         bmp(1, 1, 32, 3, {}, {30, 20, 10, 77}, {0x00FF0000, 0x0000FF00, 0x000000FF}),
         1,
         1,
         true,
         {P(10, 20, 30, 77)}},
    };
    for (const Case& c : cases) {
        KImage image;
        ASSERT_TRUE(KImage::decode(K_IMAGE_BMP, c.file.data(), c.file.size(), image))
            << c.what << ImageFixtures::loggedText();
        EXPECT_EQ(image.getWidth(), c.width) << c.what;
        EXPECT_EQ(image.getHeight(), c.height) << c.what;
        EXPECT_EQ(image.getHasAlpha(), c.hasAlpha) << c.what;
        EXPECT_EQ(pixelsOf(image), c.pixels) << c.what;
    }
    EXPECT_EQ(ImageFixtures::loggedText(), "");
}

TEST_F(KImageHandlerBmpTest, DecodesRunLengthStreams) {
    const uint32_t fill = colour(0); // pixels a stream skips
    struct Case {
        const char* what;
        int width, height, depth;
        uint32_t compression;
        Bytes stream;
        std::vector<uint32_t> pixels; // top row first
    } cases[] = {
        // Row 0 (bottom): run 2 of 1, delta right 1, run 1 of 2, end of row. Row 1: literal 3, 2, 1 padded to
        // an even length, end of row. Row 2: a run of 6 passes the edge and the last row. End of picture.
        {"RLE8",
         4,
         3,
         8,
         1,
         {2, 1, 0, 2, 1, 0, 1, 2, 0, 0, 0, 3, 3, 2, 1, 0, 0, 0, 6, 3, 0, 1},
         {colour(3), colour(3), colour(3), colour(3), colour(3), colour(2), colour(1), fill, colour(1), colour(1), fill,
          colour(2)}},
        // Runs and literals stop at the row's end: common tools encode every row at its padded width.
        {"RLE8 run past the row's end", 2, 2, 8, 1, {3, 5, 0, 1}, {fill, fill, colour(5), colour(5)}},
        {"RLE8 rows at their padded width",
         3,
         2,
         8,
         1,
         {4, 7, 0, 0, 0, 4, 8, 9, 8, 9, 0, 0, 0, 1},
         {colour(8), colour(9), colour(8), colour(7), colour(7), colour(7)}},
        {"RLE4 rows at their padded width",
         3,
         2,
         4,
         2,
         {4, 0x12, 0, 0, 0, 4, 0x34, 0x56, 0, 0, 0, 1},
         {colour(3), colour(4), colour(5), colour(1), colour(2), colour(1)}},
        {"RLE8 delta down", 2, 2, 8, 1, {0, 2, 1, 1, 1, 9, 0, 1}, {fill, colour(9), fill, fill}},
        // Row 0: a run of 5 alternating nibbles 1, 2. Row 1: a literal of 5 nibbles in 3 bytes padded to 4.
        {"RLE4",
         5,
         2,
         4,
         2,
         {5, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 1},
         {colour(3), colour(4), colour(5), colour(6), colour(7), colour(1), colour(2), colour(1), colour(2),
          colour(1)}},
        {"RLE4 delta", 3, 1, 4, 2, {0, 2, 2, 0, 1, 0xF0, 0, 1}, {fill, fill, colour(15)}},
        {"RLE8 stream cut short", 3, 1, 8, 1, {2, 4, 1}, {colour(4), colour(4), fill}},
    };
    for (const Case& c : cases) {
        Bytes file = ImageFixtures::bmp(c.width, c.height, c.depth, c.compression, table(1 << c.depth), c.stream);
        KImage image;
        ASSERT_TRUE(KImage::decode(K_IMAGE_BMP, file.data(), file.size(), image)) << c.what;
        EXPECT_FALSE(image.getHasAlpha());
        EXPECT_EQ(pixelsOf(image), c.pixels) << c.what;
    }
}

TEST_F(KImageHandlerBmpTest, UnsupportedAndDamagedFilesFailWithTheirMessage) {
    using ImageFixtures::bmp;
    const Bytes good = bmp(1, 1, 24, 0, {}, {1, 2, 3, 0});
    Bytes badHeader = good;
    badHeader[14] = 20;
    struct Case {
        const char* what;
        Bytes file;
        const char* message;
    } cases[] = {
        {"2-bit", bmp(1, 1, 2, 0, table(4), {0, 0, 0, 0}), "BMP: unsupported bit depth of 2 for uncompressed data"},
        {"RLE8 at 4 bits", bmp(1, 1, 4, 1, table(16), {0, 1}), "BMP: unsupported bit depth of 4 for RLE8 method"},
        {"RLE4 at 8 bits", bmp(1, 1, 8, 2, table(256), {0, 1}), "BMP: unsupported bit depth of 8 for RLE4 method"},
        {"bit fields at 24 bits", bmp(1, 1, 24, 3, {}, {0, 0, 0, 0}, {0xFF, 0xFF00, 0xFF0000}),
         "BMP: unsupported bit depth of 24 for bitfields method"},
        {"compression 4", bmp(1, 1, 24, 4, {}, {0, 0, 0, 0}), "BMP: unsupported compression method 4"},
        {"header size 20", badHeader, "BMP: unsupported header size 20"},
        {"zero width", bmp(0, 1, 24, 0, {}, {}), "BMP: invalid picture size 0x1"},
        {"zero height", bmp(1, 0, 24, 0, {}, {}), "BMP: invalid picture size 1x0"},
        {"huge", bmp(100000, 100000, 24, 0, {}, {}), "BMP: picture of 100000x100000 pixels is too large"},
        {"not BM", Bytes{'B', 'N', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "BMP: not a BMP file"},
        {"13 bytes", Bytes(13, 'B'), "BMP: not a BMP file"},
        {"header cut", Bytes(good.begin(), good.begin() + 30), "BMP: file is too short"},
    };
    for (const Case& c : cases) {
        KImage image;
        ASSERT_TRUE(image.allocate(1, 1, true));
        image.getPixels()[0] = 0xCAFEF00D;
        KLog::clearMemoryBuffer();
        EXPECT_FALSE(KImage::decode(K_IMAGE_BMP, c.file.data(), c.file.size(), image)) << c.what;
        EXPECT_EQ(image.getPixel(0, 0), 0xCAFEF00Du) << c.what;
        EXPECT_NE(ImageFixtures::loggedText().find(c.message), std::string::npos)
            << c.what << ": " << ImageFixtures::loggedText();
    }
}

TEST_F(KImageHandlerBmpTest, PixelDataCutShortKeepsTheRowsDecodedSoFar) {
    // Only the bottom row of a 2x2 24-bit picture is present; the top row keeps the fill.
    Bytes file = ImageFixtures::bmp(2, 2, 24, 0, {}, {1, 2, 3, 4, 5, 6, 0, 0, 7, 8});
    KImage image;
    ASSERT_TRUE(KImage::decode(K_IMAGE_BMP, file.data(), file.size(), image));
    EXPECT_EQ(pixelsOf(image), (std::vector<uint32_t>{0, 0, P(3, 2, 1, 255), P(6, 5, 4, 255)}));

    // Masks that match no known layout decode nothing, but the file still opens.
    file = ImageFixtures::bmp(1, 1, 16, 3, {}, {0xFF, 0xFF, 0, 0}, {0x0F00, 0x00F0, 0x000F});
    ASSERT_TRUE(KImage::decode(K_IMAGE_BMP, file.data(), file.size(), image));
    EXPECT_EQ(image.getPixel(0, 0), 0u);
    EXPECT_NE(ImageFixtures::loggedText().find("BMP: unsupported bit masks for the bitfields method"),
              std::string::npos);
}

TEST_F(KImageHandlerBmpTest, Encodes24BitWithPaddingAnd32BitWithout) {
    struct Case {
        bool alpha;
        size_t size;
        int bitsPerPixel;
    } cases[] = {{false, 54 + 2 * 12, 24}, {true, 54 + 2 * 12, 32}};
    for (const Case& c : cases) {
        KImage picture;
        ASSERT_TRUE(picture.allocate(3, 2, c.alpha));
        for (int i = 0; i < 6; i++) picture.getPixels()[i] = P(10 * i, 10 * i + 1, 10 * i + 2, c.alpha ? 40 * i : 255);
        unsigned char* data = nullptr;
        size_t size = 0;
        ASSERT_TRUE(KImage::encode(K_IMAGE_BMP, data, size, picture));
        ASSERT_EQ(size, c.size);
        Bytes bytes(data, data + size);
        delete[] data;
        ImageFixtures::ByteWriter header;
        header.append({'B', 'M'}).le32(uint32_t(c.size)).le32(0).le32(54).le32(40).le32(3).le32(2).le16(1);
        header.le16(c.bitsPerPixel).le32(0).le32(0).le32(2835).le32(2835).le32(0).le32(0);
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 54), header.bytes);
        // The bottom row comes first, as B, G, R(, A); 24-bit rows end with three zero bytes.
        EXPECT_EQ(bytes[54], 32);
        EXPECT_EQ(bytes[55], 31);
        EXPECT_EQ(bytes[56], 30);
        if (!c.alpha) {
            EXPECT_EQ(Bytes(bytes.begin() + 63, bytes.begin() + 66), (Bytes{0, 0, 0}));
        }

        KImage decoded;
        ASSERT_TRUE(KImage::decode(K_IMAGE_BMP, bytes.data(), bytes.size(), decoded));
        EXPECT_EQ(decoded.getHasAlpha(), c.alpha);
        EXPECT_EQ(pixelsOf(decoded), pixelsOf(picture));
    }
}

TEST_F(KImageHandlerBmpTest, TheColourTableKeepsEntriesBetweenDecodes) {
    // A 4-bit file overwrites the first 16 entries only. An 8-bit file whose data ends one entry into
    // its table (its 4 pixel bytes are all that follow the header) indexes what earlier files left.
    Bytes full = ImageFixtures::bmp(1, 1, 8, 0, table(256), {0, 0, 0, 0});
    Bytes sixteen = ImageFixtures::bmp(1, 1, 4, 0, Bytes(16 * 4, 0xEE), {0, 0, 0, 0});
    Bytes noTable = ImageFixtures::bmp(2, 1, 8, 0, {}, {17, 200, 0, 0});
    KImage image;
    ASSERT_TRUE(KImage::decode(K_IMAGE_BMP, full.data(), full.size(), image));
    ASSERT_TRUE(KImage::decode(K_IMAGE_BMP, sixteen.data(), sixteen.size(), image));
    ASSERT_TRUE(KImage::decode(K_IMAGE_BMP, noTable.data(), noTable.size(), image));
    EXPECT_EQ(pixelsOf(image), (std::vector<uint32_t>{colour(17), colour(200)}));
}
