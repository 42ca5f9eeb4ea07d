#include "KImage.h"

#include "ImageFixtures.h"
#include "KLog.h"

#include <gtest/gtest.h>
#include <vector>

namespace {
// A picture whose red channel holds the given values and whose other channels are fixed.
void makeRedPicture(KImage& image, int width, int height, const std::vector<uint32_t>& reds) {
    ASSERT_TRUE(image.allocate(width, height, true));
    for (size_t i = 0; i < reds.size(); i++) image.getPixels()[i] = KImage::pack(reds[i], 10, 20, 200);
}

std::vector<uint32_t> reds(const KImage& image) {
    std::vector<uint32_t> out;
    for (int32_t y = 0; y < image.getHeight(); y++)
        for (int32_t x = 0; x < image.getWidth(); x++) out.push_back(KImage::red(image.getPixel(x, y)));
    return out;
}

// A resize of a red-channel picture and the red channel it must give.
struct ResizeCase {
    int width, height;
    std::vector<uint32_t> in;
    int newWidth, newHeight;
    std::vector<uint32_t> out;
};

void checkResizes(const std::vector<ResizeCase>& cases, void (KImage::*resize)(int32_t, int32_t)) {
    for (const ResizeCase& c : cases) {
        KImage image;
        makeRedPicture(image, c.width, c.height, c.in);
        (image.*resize)(c.newWidth, c.newHeight);
        ASSERT_EQ(image.getWidth(), c.newWidth);
        ASSERT_EQ(image.getHeight(), c.newHeight);
        EXPECT_EQ(reds(image), c.out) << c.width << "x" << c.height << " to " << c.newWidth << "x" << c.newHeight;
        EXPECT_TRUE(image.getHasAlpha());
        EXPECT_EQ(image.getPixel(0, 0) & 0xFFFFFF00u, KImage::pack(0, 10, 20, 200)); // other channels kept apart
    }
}
} // namespace

TEST(KImageTest, FormatComesFromTheLastExtensionWhateverItsCase) {
    struct Case {
        const char* name;
        ImageFormat format;
    } cases[] = {
        {"a.bmp", K_IMAGE_BMP},          {"a.jpg", K_IMAGE_JPG},
        {"a.tga", K_IMAGE_TGA},          {"menu/TITLE.PNG", K_IMAGE_PNG},
        {"a.Gif", K_IMAGE_GIF},          {"back.png.jpg", K_IMAGE_JPG},
        {"photo.jpeg", K_IMAGE_UNKNOWN}, {"noextension", K_IMAGE_UNKNOWN},
        {"a.png.bak", K_IMAGE_UNKNOWN},  {"", K_IMAGE_UNKNOWN},
        {".png", K_IMAGE_PNG},           {nullptr, K_IMAGE_UNKNOWN},
    };
    for (const Case& c : cases) EXPECT_EQ(KImage::getFormatFromName(c.name), c.format) << (c.name ? c.name : "null");

    // Only the first 259 characters are looked at.
    std::string longName(300, 'x');
    longName.replace(257, 4, ".png"); // cut after ".p"
    EXPECT_EQ(KImage::getFormatFromName(longName.c_str()), K_IMAGE_UNKNOWN);
    std::string fits = std::string(255, 'x') + ".png";
    EXPECT_EQ(KImage::getFormatFromName(fits.c_str()), K_IMAGE_PNG);
}

TEST(KImageTest, UnknownFormatsNeitherDecodeNorEncode) {
    KImage image;
    const unsigned char bytes[4] = {1, 2, 3, 4};
    EXPECT_FALSE(KImage::decode(K_IMAGE_UNKNOWN, bytes, sizeof bytes, image));
    EXPECT_FALSE(KImage::decode(ImageFormat(7), bytes, sizeof bytes, image));
    // No bytes at all, whatever size comes with them, decode as nothing in every format.
    for (ImageFormat format : {K_IMAGE_BMP, K_IMAGE_JPG, K_IMAGE_TGA, K_IMAGE_PNG, K_IMAGE_GIF})
        EXPECT_FALSE(KImage::decode(format, nullptr, 64, image)) << "format " << int(format);
    ASSERT_TRUE(image.allocate(1, 1, false));
    unsigned char* data = nullptr;
    size_t size = 0;
    EXPECT_FALSE(KImage::encode(K_IMAGE_UNKNOWN, data, size, image));
    EXPECT_EQ(data, nullptr);
}

TEST(KImageTest, AllocationRefusesImpossibleSizesAndKeepsThePicture) {
    KImage image;
    ASSERT_TRUE(image.allocate(3, 2, true));
    EXPECT_EQ(image.getPixel(2, 1), 0u);
    KLog::clearMemoryBuffer();
    EXPECT_FALSE(image.allocate(-1, 5, false));
    EXPECT_FALSE(image.allocate(KImage::kMaxSide + 1, 1, false));
    EXPECT_FALSE(image.allocate(KImage::kMaxSide, KImage::kMaxSide, false));
    EXPECT_NE(ImageFixtures::loggedText().find("Image: a picture of -1x5 pixels is too large"), std::string::npos);
    EXPECT_EQ(image.getWidth(), 3);
    EXPECT_EQ(image.getHeight(), 2);
    EXPECT_TRUE(image.getHasAlpha());

    KImage copy;
    image.getPixels()[4] = 0x11223344;
    ASSERT_TRUE(copy.copyFrom(image));
    EXPECT_EQ(copy.getPixel(1, 1), 0x11223344u);
    EXPECT_TRUE(copy.getHasAlpha());

    uint32_t* taken = image.release();
    EXPECT_EQ(image.getPixels(), nullptr);
    EXPECT_EQ(image.getWidth(), 0);
    delete[] taken;
}

TEST(KImageTest, ResampleAndHalveLeaveThePictureAloneForEarlyExits) {
    KImage image;
    makeRedPicture(image, 2, 2, {1, 2, 3, 4});
    image.resample(2, 2);
    image.resample(0, 1);
    image.resample(1, 0);
    image.halve(2, 2);
    image.halve(0, 1);
    EXPECT_EQ(image.getWidth(), 2);
    EXPECT_EQ(reds(image), (std::vector<uint32_t>{1, 2, 3, 4}));

    KImage empty;
    empty.resample(4, 4);
    empty.halve(1, 1);
    EXPECT_EQ(empty.getWidth(), 0);
    EXPECT_EQ(empty.getPixels(), nullptr);
}

TEST(KImageTest, ResampleAveragesTheFourTapsUpAndLeftOfEachPosition) {
    // Positions start half a pixel in and step by old/new; the taps are (fx-1, fy-1) .. (fx, fy), and
    // a tap off the picture is replaced by the pixel at (floor(x+0.5)-1, floor(y+0.5)-1).
    checkResizes(
        {
            // 2x2 to 1x1: position (0.5, 0.5); three taps are off the picture and fall back to (0, 0).
            {2, 2, {40, 80, 120, 160}, 1, 1, {40}},
            // 4x4 to 2x2: positions 0.5 and 2.5.
            //   (1,0): taps (1,-1) (2,-1) off -> (2,0); (1,0) (2,0): (30+30+20+30)>>2 = 27
            //   (0,1): taps (-1,1) (-1,2) off -> (0,2); (0,1) (0,2): (90+50+90+90)>>2 = 80
            //   (1,1): taps (1,1) (2,1) (1,2) (2,2): (60+70+100+110)>>2 = 85
            {4, 4, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160}, 2, 2, {10, 27, 80, 85}},
            // 3x3 to 2x2: step 1.5, positions 0.5 and 2.0.
            //   (1,0): x 2.0, fx 2; taps (1,-1) (2,-1) off -> (1,0); (1,0) (2,0): (20+20+20+30)>>2 = 22
            //   (0,1): y 2.0, fy 2; taps (-1,1) (-1,2) off -> (0,1); (0,1) (0,2): (40+40+40+70)>>2 = 47
            //   (1,1): taps (1,1) (2,1) (1,2) (2,2): (50+60+80+90)>>2 = 70
            {3, 3, {10, 20, 30, 40, 50, 60, 70, 80, 90}, 2, 2, {10, 22, 47, 70}},
            // 1x1 to 2x1: every output falls back to the one pixel.
            {1, 1, {77}, 2, 1, {77, 77}},
        },
        &KImage::resample);
}

TEST(KImageTest, HalveAveragesTwoByTwoBoxesAndFallsBackAtTheEdges) {
    checkResizes(
        {
            {4, 2, {10, 20, 30, 40, 50, 60, 70, 80}, 2, 1, {35, 55}},
            // Odd width: the last box has no right column, so (2,0)+(2,0)+(2,1)+(2,0).
            {3, 2, {10, 20, 30, 40, 50, 60}, 2, 1, {30, (30 + 30 + 60 + 30) >> 2}},
            // One row: the lower taps fall back to the top row, the diagonal to (0,0).
            {3, 1, {100, 200, 0}, 1, 1, {(100 + 200 + 100 + 100) >> 2}},
            // One column.
            {1, 3, {100, 200, 0}, 1, 1, {(100 + 100 + 200 + 100) >> 2}},
        },
        &KImage::halve);

    // Full channels do not carry into their neighbours.
    KImage white;
    ASSERT_TRUE(white.allocate(2, 2, true));
    for (int i = 0; i < 4; i++) white.getPixels()[i] = 0xFFFFFFFFu;
    white.halve(1, 1);
    EXPECT_EQ(white.getPixel(0, 0), 0xFFFFFFFFu);
}

TEST(KImageTest, HalvingToMoreThanHalfStaysInsideThePicture) {
    KImage image;
    makeRedPicture(image, 3, 3, {10, 20, 30, 40, 50, 60, 70, 80, 90});
    image.halve(3, 2); // callers should pass 1x1; the extra column reads the last column only
    ASSERT_EQ(image.getWidth(), 3);
    EXPECT_EQ(KImage::red(image.getPixel(2, 0)), uint32_t((30 + 30 + 60 + 30) >> 2));
}
