#include "KImage.h"

#include "ImageFixtures.h"
#include "KLog.h"

#include <gtest/gtest.h>

using ImageFixtures::Bytes;
using ImageFixtures::pixelsOf;
using ImageFixtures::TgaSpec;

namespace {
constexpr auto P = KImage::pack;

// A colour map of 24-bit entries, B, G, R in the file.
const Bytes kMap = {30, 20, 10, /**/ 60, 50, 40, /**/ 90, 80, 70};

class KImageHandlerTgaTest : public ImageFixtures::CodecTest {};
} // namespace

TEST_F(KImageHandlerTgaTest, DecodesEveryDepthOrientationAndPacking) {
    struct Case {
        const char* what;
        TgaSpec spec;
        bool hasAlpha;
        std::vector<uint32_t> pixels;
    } cases[] = {
        {"8-bit colour-mapped",
         {.mapType = 1,
          .imageType = 1,
          .mapLength = 3,
          .mapEntryBits = 24,
          .width = 3,
          .depth = 8,
          .map = kMap,
          .pixels = {2, 0, 1}},
         false,
         {P(70, 80, 90, 255), P(10, 20, 30, 255), P(40, 50, 60, 255)}},
        {"15-bit",
         {.width = 3, .depth = 15, .pixels = {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x80}},
         false,
         {P(248, 0, 0, 255), P(0, 248, 0, 255), P(0, 0, 248, 255)}},
        {"16-bit ignores the top bit",
         {.width = 2, .depth = 16, .pixels = {0x21, 0x84, 0x00, 0x00}},
         false,
         {P(8, 8, 8, 255), P(0, 0, 0, 255)}},
        {"24-bit top row first",
         {.width = 2, .height = 2, .pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
         false,
         {P(3, 2, 1, 255), P(6, 5, 4, 255), P(9, 8, 7, 255), P(12, 11, 10, 255)}},
        {"24-bit bottom row first",
         {.width = 2, .height = 2, .descriptor = 0, .pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
         false,
         {P(9, 8, 7, 255), P(12, 11, 10, 255), P(3, 2, 1, 255), P(6, 5, 4, 255)}},
        {"32-bit right to left",
         {.width = 2, .depth = 32, .descriptor = 0x30, .pixels = {1, 2, 3, 4, 5, 6, 7, 8}},
         true,
         {P(7, 6, 5, 8), P(3, 2, 1, 4)}},
        {"24-bit run-length: a run then raw pixels",
         {.imageType = 10, .width = 4, .pixels = {0x81, 1, 2, 3, 0x01, 4, 5, 6, 7, 8, 9}},
         false,
         {P(3, 2, 1, 255), P(3, 2, 1, 255), P(6, 5, 4, 255), P(9, 8, 7, 255)}},
        {"32-bit run-length over two rows, bottom first",
         {.imageType = 10,
          .width = 2,
          .height = 2,
          .depth = 32,
          .descriptor = 0,
          .pixels = {0x81, 1, 2, 3, 4, 0x81, 5, 6, 7, 8}},
         true,
         {P(7, 6, 5, 8), P(7, 6, 5, 8), P(3, 2, 1, 4), P(3, 2, 1, 4)}},
        {"8-bit run-length",
         {.mapType = 1,
          .imageType = 9,
          .mapLength = 3,
          .mapEntryBits = 24,
          .width = 3,
          .depth = 8,
          .map = kMap,
          .pixels = {0x82, 1}},
         false,
         {P(40, 50, 60, 255), P(40, 50, 60, 255), P(40, 50, 60, 255)}},
        // Grey pictures are grey whatever an earlier colour-mapped picture left in the colour table.
        {"8-bit grey",
         {.imageType = 3, .width = 3, .depth = 8, .pixels = {0, 2, 255}},
         false,
         {P(0, 0, 0, 255), P(2, 2, 2, 255), P(255, 255, 255, 255)}},
        {"8-bit grey run-length",
         {.imageType = 11, .width = 3, .depth = 8, .pixels = {0x81, 77, 0x00, 1}},
         false,
         {P(77, 77, 77, 255), P(77, 77, 77, 255), P(1, 1, 1, 255)}},
        {"16-bit grey with alpha",
         {.imageType = 3, .width = 2, .depth = 16, .descriptor = 0x28, .pixels = {10, 200, 20, 0}},
         true,
         {P(10, 10, 10, 200), P(20, 20, 20, 0)}},
        {"identification field skipped",
         {.width = 1, .id = {'h', 'i', '!'}, .pixels = {1, 2, 3}},
         false,
         {P(3, 2, 1, 255)}},
    };
    for (const Case& c : cases) {
        Bytes file = ImageFixtures::tga(c.spec);
        KImage image;
        ASSERT_TRUE(KImage::decode(K_IMAGE_TGA, file.data(), file.size(), image))
            << c.what << ImageFixtures::loggedText();
        EXPECT_EQ(image.getWidth(), c.spec.width) << c.what;
        EXPECT_EQ(image.getHeight(), c.spec.height) << c.what;
        EXPECT_EQ(image.getHasAlpha(), c.hasAlpha) << c.what;
        EXPECT_EQ(pixelsOf(image), c.pixels) << c.what;
    }
}

TEST_F(KImageHandlerTgaTest, DamagedFilesFailWithTheirMessage) {
    Bytes seventeen(17, 0);
    struct Case {
        const char* what;
        Bytes file;
        const char* message;
    } cases[] = {
        {"17 bytes", seventeen, "TGA: file is too short"},
        {"identification past the end", ImageFixtures::tga({.id = Bytes(5, 'x')}), nullptr},
        {"16-bit map entries",
         ImageFixtures::tga(
             {.mapType = 1, .mapLength = 1, .mapEntryBits = 16, .depth = 8, .map = {0, 0}, .pixels = {0}}),
         "TGA: unsupported color map entry size of 16 bits"},
        {"map past the end",
         ImageFixtures::tga({.mapType = 1, .mapLength = 300, .mapEntryBits = 24, .depth = 8, .map = kMap}),
         "TGA: file is too short"},
        {"12-bit pixels", ImageFixtures::tga({.depth = 12, .pixels = {0, 0}}), "TGA: unsupported pixel depth of 12"},
        {"raw pixels cut short", ImageFixtures::tga({.width = 2, .height = 2, .pixels = Bytes(11, 0)}),
         "TGA: file is too short"},
        {"run-length packet past the row",
         ImageFixtures::tga({.imageType = 10,
                             .width = 2,
                             .height = 2,
                             .pixels = {0x81, 1, 2, 3, 0x00, 4, 5, 6, 0x81, 7, 8, 9, 0, 0, 0, 0, 0, 0}}),
         "TGA: decompressing past the end of the current scanline at 1,1; length was 2"},
        {"end of data inside a packet",
         ImageFixtures::tga({.imageType = 10, .width = 8, .pixels = {0x07, 1, 2, 3, 4, 5, 6}}),
         "TGA: end of file met while decompressing"},
        {"zero width", ImageFixtures::tga({.width = 0, .pixels = {1, 2, 3}}), "TGA: invalid picture size 0x1"},
        {"negative height", ImageFixtures::tga({.height = 0xFFFF, .pixels = {1, 2, 3}}),
         "TGA: invalid picture size 1x-1"},
    };
    for (Case& c : cases) {
        if (!c.message) { // the identification field claims 5 bytes; cut the file inside it
            c.file.resize(20);
            c.message = "TGA: file is too short";
        }
        KImage image;
        ASSERT_TRUE(image.allocate(1, 1, true));
        image.getPixels()[0] = 0xCAFEF00D;
        KLog::clearMemoryBuffer();
        EXPECT_FALSE(KImage::decode(K_IMAGE_TGA, c.file.data(), c.file.size(), image)) << c.what;
        EXPECT_EQ(image.getPixel(0, 0), 0xCAFEF00Du) << c.what;
        EXPECT_NE(ImageFixtures::loggedText().find(c.message), std::string::npos)
            << c.what << ": " << ImageFixtures::loggedText();
    }
}

TEST_F(KImageHandlerTgaTest, TheColourTableKeepsEntriesBetweenDecodes) {
    Bytes mapped = ImageFixtures::tga(
        {.mapType = 1, .mapLength = 3, .mapEntryBits = 24, .width = 1, .depth = 8, .map = kMap, .pixels = {0}});
    KImage image;
    ASSERT_TRUE(KImage::decode(K_IMAGE_TGA, mapped.data(), mapped.size(), image));
    // A one-entry map overwrites entry 0 only; an 8-bit picture without a map indexes what is left.
    Bytes oneEntry = ImageFixtures::tga(
        {.mapType = 1, .mapLength = 1, .mapEntryBits = 24, .width = 1, .depth = 8, .map = {3, 2, 1}, .pixels = {0}});
    ASSERT_TRUE(KImage::decode(K_IMAGE_TGA, oneEntry.data(), oneEntry.size(), image));
    Bytes unmapped = ImageFixtures::tga({.width = 3, .depth = 8, .pixels = {0, 1, 2}});
    ASSERT_TRUE(KImage::decode(K_IMAGE_TGA, unmapped.data(), unmapped.size(), image));
    EXPECT_EQ(pixelsOf(image), (std::vector<uint32_t>{P(1, 2, 3, 255), P(40, 50, 60, 255), P(70, 80, 90, 255)}));
}

TEST_F(KImageHandlerTgaTest, EncodesUncompressedBottomRowFirst) {
    for (bool alpha : {true, false}) {
        KImage picture;
        ASSERT_TRUE(picture.allocate(2, 2, alpha));
        uint32_t* p = picture.getPixels();
        p[0] = P(1, 2, 3, 4);
        p[1] = P(5, 6, 7, 8);
        p[2] = P(9, 10, 11, 12);
        p[3] = P(13, 14, 15, 16);
        unsigned char* data = nullptr;
        size_t size = 0;
        ASSERT_TRUE(KImage::encode(K_IMAGE_TGA, data, size, picture));
        const size_t bytesPerPixel = alpha ? 4 : 3;
        ASSERT_EQ(size, 18 + 4 * bytesPerPixel);
        const Bytes header(data, data + 18);
        EXPECT_EQ(header, (Bytes{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, uint8_t(alpha ? 32 : 24), 0}));
        // The bottom-left pixel comes first, as B, G, R(, A).
        EXPECT_EQ(data[18], 11);
        EXPECT_EQ(data[19], 10);
        EXPECT_EQ(data[20], 9);
        if (alpha) {
            EXPECT_EQ(data[21], 12);
        }

        KImage decoded;
        ASSERT_TRUE(KImage::decode(K_IMAGE_TGA, data, size, decoded));
        delete[] data;
        EXPECT_EQ(decoded.getHasAlpha(), alpha);
        for (int i = 0; i < 4; i++) EXPECT_EQ(decoded.getPixels()[i], alpha ? p[i] : (p[i] | 0xFF000000u));
    }
}
