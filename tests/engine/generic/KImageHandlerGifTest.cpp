#include "KImage.h"

#include "ImageFixtures.h"
#include "KLog.h"
#include "KRandom.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <gtest/gtest.h>
#include <utility>

using ImageFixtures::Bytes;
using ImageFixtures::GifFrame;
using ImageFixtures::pixelsOf;

namespace {
constexpr auto P = KImage::pack;

const Bytes kGlobal = {10, 20, 30, /**/ 40, 50, 60, /**/ 70, 80, 90, /**/ 100, 110, 120};
const uint32_t c0 = P(10, 20, 30, 255), c1 = P(40, 50, 60, 255), c2 = P(70, 80, 90, 255), c3 = P(100, 110, 120, 255);

class KImageHandlerGifTest : public ImageFixtures::CodecTest {};
} // namespace

TEST_F(KImageHandlerGifTest, DecodesTheFirstFrameOntoTheCanvas) {
    struct Case {
        const char* what;
        int screenWidth, screenHeight;
        Bytes global;
        int background;
        GifFrame frame;
        int width, height;
        std::vector<uint32_t> pixels;
    } cases[] = {
        {"global table",
         3,
         2,
         kGlobal,
         0,
         {.width = 3, .height = 2, .indices = {0, 1, 2, 3, 0, 1}},
         3,
         2,
         {c0, c1, c2, c3, c0, c1}},
        // The local table replaces the first entries, the background colour included.
        {"local table",
         2,
         2,
         kGlobal,
         1,
         {.width = 2, .height = 1, .localTable = {1, 1, 1, 2, 2, 2}, .indices = {0, 2}},
         2,
         2,
         {P(1, 1, 1, 255), c2, P(2, 2, 2, 255), P(2, 2, 2, 255)}},
        {"grey ramp without a table",
         2,
         1,
         {},
         0,
         {.width = 2, .height = 1, .indices = {5, 200}, .minimumCodeSize = 8},
         2,
         1,
         {P(5, 5, 5, 255), P(200, 200, 200, 255)}},
        // A frame partly outside the logical screen enlarges the canvas; the rest is background.
        {"frame outside the screen",
         2,
         2,
         kGlobal,
         3,
         {.left = 1, .top = 1, .width = 2, .height = 2, .indices = {0, 1, 2, 0}},
         3,
         3,
         {c3, c3, c3, c3, c0, c1, c3, c2, c0}},
        // Rows stored in the order 0, 8; 4; 2, 6; 1, 3, 5, 7, 9 (each index is its row's number).
        {"interlaced",
         1,
         10,
         {},
         0,
         {.width = 1,
          .height = 10,
          .interlaced = true,
          .indices = {0, 8, 4, 2, 6, 1, 3, 5, 7, 9},
          .minimumCodeSize = 4},
         1,
         10,
         {P(0, 0, 0, 255), P(1, 1, 1, 255), P(2, 2, 2, 255), P(3, 3, 3, 255), P(4, 4, 4, 255), P(5, 5, 5, 255),
          P(6, 6, 6, 255), P(7, 7, 7, 255), P(8, 8, 8, 255), P(9, 9, 9, 255)}},
    };
    for (const Case& c : cases) {
        Bytes file = ImageFixtures::gif(c.screenWidth, c.screenHeight, c.global, c.background, c.frame);
        KImage image;
        ASSERT_TRUE(KImage::decode(K_IMAGE_GIF, file.data(), file.size(), image))
            << c.what << ImageFixtures::loggedText();
        EXPECT_EQ(image.getWidth(), c.width) << c.what;
        EXPECT_EQ(image.getHeight(), c.height) << c.what;
        EXPECT_FALSE(image.getHasAlpha()) << c.what; // transparency is not applied
        EXPECT_EQ(pixelsOf(image), c.pixels) << c.what;
    }
    EXPECT_EQ(ImageFixtures::loggedText(), "");
}

// Whether the encoder clears the table when it is full or later, sends an end code or not, and opens the
// stream with a clear code or not (the first code is then a pixel), every pixel comes out as it went in.
TEST_F(KImageHandlerGifTest, LargeFramesDecodeExactlyHoweverTheEncoderUsesItsCodes) {
    // 128 x 96 pixels of noise and runs: the code table fills up many times over.
    kSrand(7);
    Bytes indices;
    for (int i = 0; i < 128 * 96; i++) indices.push_back(uint8_t(i % 1000 < 600 ? kRand() % 256 : (i / 37) % 256));
    std::vector<uint32_t> expected;
    for (unsigned char v : indices) expected.push_back(P(v, v, v, 255));

    struct Case {
        const char* what;
        bool deferredClear, endCode, leadingClear;
    } cases[] = {{"clear when full", false, true, true},
                 {"deferred clear", true, true, true},
                 {"no end code", false, false, true},
                 {"no clear code first", false, true, false}};
    for (const Case& c : cases) {
        GifFrame frame{.width = 128, .height = 96, .minimumCodeSize = 8};
        frame.imageData = ImageFixtures::gifImageData(indices, 8, c.deferredClear, c.endCode, c.leadingClear);
        Bytes file = ImageFixtures::gif(128, 96, {}, 0, frame);
        KImage image;
        ASSERT_TRUE(KImage::decode(K_IMAGE_GIF, file.data(), file.size(), image)) << c.what;
        EXPECT_TRUE(pixelsOf(image) == expected) << c.what;
    }
    EXPECT_EQ(ImageFixtures::loggedText(), "");
}

// A small picture of 200 pixels in the four colours of the global table, coded without a leading clear code:
// the first code is the first pixel, and the rest follows from it.
TEST_F(KImageHandlerGifTest, AStreamWithoutALeadingClearCodeKeepsItsFirstPixel) {
    Bytes indices;
    for (int i = 0; i < 200; i++) indices.push_back(uint8_t((i * 7 + i / 13) % 4));
    std::vector<uint32_t> expected;
    const uint32_t colours[4] = {c0, c1, c2, c3};
    for (unsigned char v : indices) expected.push_back(colours[v]);
    GifFrame frame{.width = 20, .height = 10};
    frame.imageData = ImageFixtures::gifImageData(indices, 2, false, true, /*leadingClear=*/false);
    ASSERT_NE(frame.imageData[2] & 0x07, 4) << "the stream opens with a pixel, not the clear code";
    Bytes file = ImageFixtures::gif(20, 10, kGlobal, 3, frame);
    KImage image;
    ASSERT_TRUE(KImage::decode(K_IMAGE_GIF, file.data(), file.size(), image));
    EXPECT_EQ(pixelsOf(image), expected);
    EXPECT_EQ(ImageFixtures::loggedText(), "");
}

TEST_F(KImageHandlerGifTest, BrokenImageDataStillGivesAPicture) {
    // Data cut in the middle: the decoded rows, then background.
    Bytes indices(16 * 16, 2);
    for (int i = 0; i < 16; i++) indices[i] = uint8_t(i % 4);
    Bytes data = ImageFixtures::gifImageData(indices, 2);
    Bytes cut(data.begin(), data.begin() + 4);
    Bytes file = ImageFixtures::gif(16, 16, kGlobal, 3, {.width = 16, .height = 16, .imageData = cut});
    file.resize(file.size() - 1); // no trailer either
    KImage image;
    ASSERT_TRUE(KImage::decode(K_IMAGE_GIF, file.data(), file.size(), image));
    EXPECT_EQ(image.getWidth(), 16);
    EXPECT_EQ(image.getPixel(0, 0), c0);
    EXPECT_EQ(image.getPixel(1, 0), c1);
    EXPECT_EQ(image.getPixel(15, 15), c3);

    // Codes (width 3): clear 4, index 1, then 7, past the next free code 6.
    file = ImageFixtures::gif(2, 2, kGlobal, 3, {.width = 2, .height = 2, .imageData = {2, 2, 0xCC, 0x01, 0}});
    ASSERT_TRUE(KImage::decode(K_IMAGE_GIF, file.data(), file.size(), image));
    EXPECT_EQ(pixelsOf(image), (std::vector<uint32_t>{c1, c3, c3, c3}));
    EXPECT_NE(ImageFixtures::loggedText().find("GIF: invalid LZW code"), std::string::npos);
}

TEST_F(KImageHandlerGifTest, FilesWithoutAPictureFail) {
    Bytes onlyExtensions = {'G',  'I', 'F', '8', '9', 'a', 1, 0,    1,    0, 0,   0,   0, 0x21,
                            0xF9, 4,   0,   0,   0,   0,   0, 0x21, 0xFE, 2, 'h', 'i', 0, 0x3B};
    Bytes unknownBlock = onlyExtensions;
    unknownBlock.back() = 0x99;
    Bytes extensionCut(onlyExtensions.begin(), onlyExtensions.begin() + 25);
    Bytes bigCodeSize = ImageFixtures::gif(1, 1, {}, 0, {.imageData = {12, 1, 0, 0}});
    Bytes tableCut = ImageFixtures::gif(1, 1, Bytes(256 * 3, 9), 0, {.indices = {0}});
    tableCut.resize(13 + 256 * 3 + 5);
    Bytes emptyScreen = ImageFixtures::gif(0, 0, {}, 0, {.width = 0, .height = 0, .indices = {0}});
    struct Case {
        const char* what;
        const Bytes* file;
        const char* message;
    } cases[] = {
        {"extensions and a trailer", &onlyExtensions, "GIF: no picture in the file"},
        {"unknown block", &unknownBlock, "GIF: no picture in the file"},
        {"extension cut", &extensionCut, "GIF: file is too short"},
        {"code size 12", &bigCodeSize, "GIF: unsupported LZW code size 12"},
        {"global table cut", &tableCut, "GIF: file is too short"},
        {"empty canvas", &emptyScreen, "GIF: unsupported picture size 0x0"},
    };
    for (const Case& c : cases) {
        KImage image;
        KLog::clearMemoryBuffer();
        EXPECT_FALSE(KImage::decode(K_IMAGE_GIF, c.file->data(), c.file->size(), image)) << c.what;
        EXPECT_EQ(image.getPixels(), nullptr) << c.what;
        EXPECT_NE(ImageFixtures::loggedText().find(c.message), std::string::npos)
            << c.what << ImageFixtures::loggedText();
    }

    // Too short or not a GIF at all: false without a message.
    KLog::clearMemoryBuffer();
    KImage image;
    Bytes twelve(onlyExtensions.begin(), onlyExtensions.begin() + 12);
    Bytes notGif = onlyExtensions;
    notGif[0] = 'J';
    EXPECT_FALSE(KImage::decode(K_IMAGE_GIF, twelve.data(), twelve.size(), image));
    EXPECT_FALSE(KImage::decode(K_IMAGE_GIF, notGif.data(), notGif.size(), image));
    EXPECT_EQ(ImageFixtures::loggedText(), "");
}

TEST_F(KImageHandlerGifTest, EncodingIsRefused) {
    KImage picture;
    ASSERT_TRUE(picture.allocate(1, 1, false));
    unsigned char* data = nullptr;
    size_t size = 0;
    EXPECT_FALSE(KImage::encode(K_IMAGE_GIF, data, size, picture));
    EXPECT_EQ(data, nullptr);
    EXPECT_NE(ImageFixtures::loggedText().find("GIF: encoding isn't supported"), std::string::npos);
}

namespace {
// The thread's CPU time of the faster of two runs of work, in seconds: the faster is the one least held up by
// the other work of a busy machine.
template <class Work> double fasterCpuSeconds(Work&& work) {
    double fastest = 1e9;
    for (int run = 0; run < 2; run++) {
        timespec start{}, end{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
        work();
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
        fastest = std::min(fastest, double(end.tv_sec - start.tv_sec) + double(end.tv_nsec - start.tv_nsec) * 1e-9);
    }
    return fastest;
}
} // namespace

// A few bytes can ask for the largest canvas allowed, around a small frame or by placing a frame far outside
// a small screen: the picture is made at that size, in background but for the frame, and its making costs
// little more than writing its memory, so a folder of such files cannot hold the game up. The cost is set
// against writing that much memory, measured beside it in the same build on the same machine: in time, both
// are mostly the system's work of handing the memory over, which a busy machine slows for both alike.
TEST_F(KImageHandlerGifTest, TinyFilesAskingForTheLargestCanvasCostLittleMoreThanItsMemory) {
    struct Case {
        const char* what;
        int screenWidth, screenHeight;
        GifFrame frame;
        int frameX, frameY;
    } cases[] = {
        {"large screen", 8192, 8192, {.left = 5, .top = 7, .indices = {1}}, 5, 7},
        {"frame far outside", 2, 2, {.left = 8191, .top = 8191, .indices = {1}}, 8191, 8191},
    };
    const size_t canvasBytes = size_t(8192) * 8192 * sizeof(uint32_t);
    const double writingTheMemory = fasterCpuSeconds([&] {
        KImage memory; // made and freed as the decoded picture is, so that no build leaves the writing out
        ASSERT_TRUE(memory.allocate(8192, 8192, false));
        std::memset(memory.getPixels(), 0x5A, canvasBytes);
    });
    for (const Case& c : cases) {
        Bytes file = ImageFixtures::gif(c.screenWidth, c.screenHeight, kGlobal, 2, c.frame);
        ASSERT_LT(file.size(), 100u) << c.what;
        KImage image;
        const double decoding = fasterCpuSeconds([&] {
            image.clear();
            ASSERT_TRUE(KImage::decode(K_IMAGE_GIF, file.data(), file.size(), image)) << c.what;
        });
        EXPECT_LT(decoding, 3 * writingTheMemory + 0.05) << c.what;
        EXPECT_EQ(image.getWidth(), 8192) << c.what;
        EXPECT_EQ(image.getHeight(), 8192) << c.what;
        EXPECT_EQ(image.getPixel(c.frameX, c.frameY), c1) << c.what;
        for (auto [x, y] : {std::pair{0, 0}, {8191, 0}, {4000, 4000}, {0, 8191}, {8190, 8191}}) {
            if (x != c.frameX || y != c.frameY) {
                EXPECT_EQ(image.getPixel(x, y), c2) << c.what << " at " << x << "," << y;
            }
        }
    }
}
