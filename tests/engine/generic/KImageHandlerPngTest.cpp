#include "KImage.h"

#include "ImageFixtures.h"
#include "KLog.h"

#include <gtest/gtest.h>
#include <png.h>

using ImageFixtures::Bytes;
using ImageFixtures::pixelsOf;

namespace {
constexpr uint32_t kUntouched = 0x5A5A5A5A;

// A picture that a failed decode must leave exactly as it is.
void prepareUntouched(KImage& image) {
    ASSERT_TRUE(image.allocate(1, 1, true));
    image.getPixels()[0] = kUntouched;
}

void expectUntouched(const KImage& image) {
    EXPECT_EQ(image.getWidth(), 1);
    EXPECT_EQ(image.getHeight(), 1);
    EXPECT_TRUE(image.getHasAlpha());
    EXPECT_EQ(image.getPixel(0, 0), kUntouched);
}

constexpr auto P = KImage::pack;

class KImageHandlerPngTest : public ImageFixtures::CodecTest {};
} // namespace

TEST_F(KImageHandlerPngTest, DecodesEveryColourTypeToRgba) {
    struct Case {
        const char* what;
        ImageFixtures::PngSpec spec;
        bool hasAlpha;
        std::vector<uint32_t> pixels;
    } cases[] = {
        {"rgb",
         {.width = 2, .height = 1, .colorType = PNG_COLOR_TYPE_RGB, .bitDepth = 8, .rows = {255, 0, 0, 0, 128, 255}},
         false,
         {P(255, 0, 0, 255), P(0, 128, 255, 255)}},
        {"rgba",
         {.width = 2,
          .height = 1,
          .colorType = PNG_COLOR_TYPE_RGB_ALPHA,
          .bitDepth = 8,
          .rows = {1, 2, 3, 4, 5, 6, 7, 0}},
         true,
         {P(1, 2, 3, 4), P(5, 6, 7, 0)}},
        {"palette",
         {.width = 3,
          .height = 1,
          .colorType = PNG_COLOR_TYPE_PALETTE,
          .bitDepth = 8,
          .rows = {2, 0, 1},
          .palette = {10, 20, 30, 40, 50, 60, 70, 80, 90}},
         false,
         {P(70, 80, 90, 255), P(10, 20, 30, 255), P(40, 50, 60, 255)}},
        {"palette 2-bit with tRNS",
         {.width = 4,
          .height = 1,
          .colorType = PNG_COLOR_TYPE_PALETTE,
          .bitDepth = 2,
          .rows = {0x1B},
          .palette = {0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3},
          .transparency = {0, 128}},
         true,
         {P(0, 0, 0, 0), P(1, 1, 1, 128), P(2, 2, 2, 255), P(3, 3, 3, 255)}},
        {"grey",
         {.width = 3, .height = 1, .colorType = PNG_COLOR_TYPE_GRAY, .bitDepth = 8, .rows = {0, 77, 255}},
         false,
         {P(0, 0, 0, 255), P(77, 77, 77, 255), P(255, 255, 255, 255)}},
        {"grey 1-bit",
         {.width = 3, .height = 1, .colorType = PNG_COLOR_TYPE_GRAY, .bitDepth = 1, .rows = {0xA0}},
         false,
         {P(255, 255, 255, 255), P(0, 0, 0, 255), P(255, 255, 255, 255)}},
        {"grey with tRNS",
         {.width = 2, .height = 1, .colorType = PNG_COLOR_TYPE_GRAY, .bitDepth = 8, .rows = {77, 78}, .greyKey = 77},
         true,
         {P(77, 77, 77, 0), P(78, 78, 78, 255)}},
        {"grey and alpha",
         {.width = 2, .height = 1, .colorType = PNG_COLOR_TYPE_GRAY_ALPHA, .bitDepth = 8, .rows = {9, 200, 250, 3}},
         true,
         {P(9, 9, 9, 200), P(250, 250, 250, 3)}},
        {"rgb 16-bit",
         {.width = 1,
          .height = 1,
          .colorType = PNG_COLOR_TYPE_RGB,
          .bitDepth = 16,
          .rows = {0x12, 0x34, 0xAB, 0xCD, 0xFF, 0x00}},
         false,
         {P(0x12, 0xAB, 0xFF, 255)}},
        {"grey and alpha 16-bit",
         {.width = 1,
          .height = 1,
          .colorType = PNG_COLOR_TYPE_GRAY_ALPHA,
          .bitDepth = 16,
          .rows = {0x80, 0x01, 0x40, 0xFF}},
         true,
         {P(0x80, 0x80, 0x80, 0x40)}},
        {"interlaced rgb",
         {.width = 3,
          .height = 3,
          .colorType = PNG_COLOR_TYPE_RGB,
          .bitDepth = 8,
          .interlaced = true,
          .rows = {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9}},
         false,
         {P(1, 1, 1, 255), P(2, 2, 2, 255), P(3, 3, 3, 255), P(4, 4, 4, 255), P(5, 5, 5, 255), P(6, 6, 6, 255),
          P(7, 7, 7, 255), P(8, 8, 8, 255), P(9, 9, 9, 255)}},
    };
    for (const Case& c : cases) {
        Bytes file = ImageFixtures::png(c.spec);
        KImage image;
        ASSERT_TRUE(KImage::decode(K_IMAGE_PNG, file.data(), file.size(), image)) << c.what;
        EXPECT_EQ(image.getWidth(), c.spec.width) << c.what;
        EXPECT_EQ(image.getHeight(), c.spec.height) << c.what;
        EXPECT_EQ(image.getHasAlpha(), c.hasAlpha) << c.what;
        EXPECT_EQ(pixelsOf(image), c.pixels) << c.what;
    }
    EXPECT_EQ(ImageFixtures::loggedText(), "");
}

TEST_F(KImageHandlerPngTest, EncodesRgbaOrRgbAndDecodesBackTheSamePixels) {
    for (bool alpha : {true, false}) {
        KImage picture;
        ASSERT_TRUE(picture.allocate(5, 3, alpha));
        for (int i = 0; i < 15; i++) picture.getPixels()[i] = P(i * 17, 255 - i * 3, i * i, alpha ? i * 16 : 255);
        unsigned char* data = nullptr;
        size_t size = 0;
        ASSERT_TRUE(KImage::encode(K_IMAGE_PNG, data, size, picture));
        ASSERT_GT(size, 33u);
        EXPECT_EQ(data[1], 'P');
        EXPECT_EQ(data[25], alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB); // IHDR colour type

        KImage decoded;
        ASSERT_TRUE(KImage::decode(K_IMAGE_PNG, data, size, decoded));
        delete[] data;
        EXPECT_EQ(decoded.getHasAlpha(), alpha);
        EXPECT_EQ(pixelsOf(decoded), pixelsOf(picture));
    }
}

TEST_F(KImageHandlerPngTest, DamagedFilesFailAndLeaveThePictureUntouched) {
    ImageFixtures::PngSpec spec{.width = 4, .height = 4, .colorType = PNG_COLOR_TYPE_RGB_ALPHA, .bitDepth = 8};
    for (int i = 0; i < 64; i++) spec.rows.push_back(uint8_t(i * 7));
    const Bytes good = ImageFixtures::png(spec);

    Bytes truncated(good.begin(), good.begin() + good.size() / 2);
    Bytes headerOnly(good.begin(), good.begin() + 20);
    Bytes badCrc = good;
    badCrc[good.size() - 20] ^= 0x40; // inside the image data
    Bytes notPng = good;
    notPng[1] = 'Q';
    Bytes hugeSize = good;
    hugeSize[16] = 0x7F; // width 0x7F000004, but the chunk CRC is then wrong too: either way it fails

    for (const Bytes* file : {&truncated, &headerOnly, &badCrc, &notPng, &hugeSize}) {
        KImage image;
        prepareUntouched(image);
        KLog::clearMemoryBuffer();
        EXPECT_FALSE(KImage::decode(K_IMAGE_PNG, file->data(), file->size(), image));
        expectUntouched(image);
        EXPECT_NE(ImageFixtures::loggedText().find("PNG: library error: "), std::string::npos)
            << ImageFixtures::loggedText();
    }
    KImage image;
    prepareUntouched(image);
    EXPECT_FALSE(KImage::decode(K_IMAGE_PNG, nullptr, 0, image));
    expectUntouched(image);
}

TEST_F(KImageHandlerPngTest, CgbiFilesAreSwappedBackAndUnpremultiplied) {
    // Stored B, G, R, A premultiplied: c x 255 / a with integer division; a = 0 keeps the colours
    // as stored; a colour above its alpha (damaged data) saturates.
    const Bytes stored = {25, 50, 100, 128, /**/ 7, 8, 9, 0, /**/ 1, 2, 3, 255, /**/ 200, 0, 60, 100};
    Bytes file = ImageFixtures::cgbi(2, 2, stored, /*withAlpha=*/true);
    KImage image;
    ASSERT_TRUE(KImage::decode(K_IMAGE_PNG, file.data(), file.size(), image)) << ImageFixtures::loggedText();
    EXPECT_TRUE(image.getHasAlpha());
    EXPECT_EQ(pixelsOf(image),
              (std::vector<uint32_t>{P(199, 99, 49, 128), P(9, 8, 7, 0), P(3, 2, 1, 255), P(153, 0, 255, 100)}));

    Bytes opaque = ImageFixtures::cgbi(2, 1, {1, 2, 3, 40, 50, 60}, /*withAlpha=*/false);
    ASSERT_TRUE(KImage::decode(K_IMAGE_PNG, opaque.data(), opaque.size(), image));
    EXPECT_FALSE(image.getHasAlpha());
    EXPECT_EQ(pixelsOf(image), (std::vector<uint32_t>{P(3, 2, 1, 255), P(60, 50, 40, 255)}));

    // Interlaced: the image data of all seven passes is inflated before libpng puts the rows together.
    Bytes samples;
    std::vector<uint32_t> expected;
    for (int i = 0; i < 11 * 9; i++) {
        samples.insert(samples.end(), {uint8_t(i), uint8_t(i * 2), uint8_t(i * 3)});
        expected.push_back(P(uint8_t(i * 3), uint8_t(i * 2), uint8_t(i), 255));
    }
    Bytes interlaced = ImageFixtures::cgbi(11, 9, samples, false, 4, /*interlaced=*/true);
    ASSERT_TRUE(KImage::decode(K_IMAGE_PNG, interlaced.data(), interlaced.size(), image))
        << ImageFixtures::loggedText();
    EXPECT_EQ(pixelsOf(image), expected);
}

TEST_F(KImageHandlerPngTest, DamagedCgbiFilesFail) {
    const Bytes stored(4 * 4 * 4, 0x33);
    Bytes badLength = ImageFixtures::cgbi(4, 4, stored, true, /*cgbiLength=*/5);
    KImage image;
    prepareUntouched(image);
    EXPECT_FALSE(KImage::decode(K_IMAGE_PNG, badLength.data(), badLength.size(), image));
    expectUntouched(image);
    EXPECT_NE(ImageFixtures::loggedText().find("PNG: library error: Incorrect CgBI chunk length"), std::string::npos);

    // Garbage in the raw-deflate data, and the file cut inside it.
    Bytes good = ImageFixtures::cgbi(4, 4, stored, true);
    Bytes garbled = good;
    for (size_t i = 0; i < 6; i++) garbled[good.size() - 30 + i] = 0xFF;
    Bytes cut(good.begin(), good.end() - 25);
    for (const Bytes* file : {&garbled, &cut}) {
        KLog::clearMemoryBuffer();
        EXPECT_FALSE(KImage::decode(K_IMAGE_PNG, file->data(), file->size(), image));
        expectUntouched(image);
        EXPECT_NE(ImageFixtures::loggedText().find("PNG: library error: "), std::string::npos);
    }
}

TEST_F(KImageHandlerPngTest, EncodingAnEmptyPictureFails) {
    KImage empty;
    unsigned char* data = nullptr;
    size_t size = 0;
    EXPECT_FALSE(KImage::encode(K_IMAGE_PNG, data, size, empty));
    EXPECT_EQ(data, nullptr);
    EXPECT_NE(ImageFixtures::loggedText().find("PNG: library error: "), std::string::npos);
}
