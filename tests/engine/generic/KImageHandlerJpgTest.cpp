#include "KImage.h"

#include "ImageFixtures.h"
#include "KJpegMemory.h"
#include "KLog.h"

#include <csetjmp>
#include <cstdlib>
#include <gtest/gtest.h>

using ImageFixtures::Bytes;

namespace {
// JPEG decoders may differ by a unit or two between builds; flat 16x16 areas keep the error small.
constexpr int kTolerance = 3;

void expectNear(uint32_t pixel, int r, int g, int b, const char* what) {
    EXPECT_NEAR(int(KImage::red(pixel)), r, kTolerance) << what;
    EXPECT_NEAR(int(KImage::green(pixel)), g, kTolerance) << what;
    EXPECT_NEAR(int(KImage::blue(pixel)), b, kTolerance) << what;
    EXPECT_EQ(KImage::alpha(pixel), 255u) << what;
}

// Samples of a picture made of flat 16x16 tiles, tile colours given row by row.
Bytes tiles(int columns, int rows, int components, const std::vector<std::vector<int>>& colours) {
    Bytes out;
    for (int y = 0; y < rows * 16; y++)
        for (int x = 0; x < columns * 16; x++)
            for (int c = 0; c < components; c++) out.push_back(uint8_t(colours[(y / 16) * columns + x / 16][c]));
    return out;
}

class KImageHandlerJpgTest : public ImageFixtures::CodecTest {};
} // namespace

TEST_F(KImageHandlerJpgTest, DecodesGreyAndColourToOpaqueRgb) {
    struct Case {
        const char* what;
        int components;
        std::vector<std::vector<int>> colours;
    } cases[] = {
        {"grey", 1, {{0}, {80}, {160}, {240}}},
        {"colour", 3, {{200, 30, 40}, {20, 60, 220}, {250, 250, 250}, {90, 180, 60}}},
    };
    for (const Case& c : cases) {
        Bytes file = ImageFixtures::jpeg(32, 32, c.components, tiles(2, 2, c.components, c.colours));
        KImage image;
        ASSERT_TRUE(KImage::decode(K_IMAGE_JPG, file.data(), file.size(), image)) << c.what;
        EXPECT_EQ(image.getWidth(), 32);
        EXPECT_EQ(image.getHeight(), 32);
        EXPECT_FALSE(image.getHasAlpha());
        for (int tile = 0; tile < 4; tile++) {
            const std::vector<int>& v = c.colours[tile];
            uint32_t centre = image.getPixel((tile % 2) * 16 + 8, (tile / 2) * 16 + 8);
            if (c.components == 1)
                expectNear(centre, v[0], v[0], v[0], c.what);
            else
                expectNear(centre, v[0], v[1], v[2], c.what);
        }
    }
}

TEST_F(KImageHandlerJpgTest, CmykAndDamagedHeadersFailAndLeaveThePictureUntouched) {
    Bytes cmyk = ImageFixtures::jpeg(16, 16, 4, Bytes(16 * 16 * 4, 100));
    Bytes colour = ImageFixtures::jpeg(16, 16, 3, Bytes(16 * 16 * 3, 100));
    Bytes headerCut(colour.begin(), colour.begin() + 100);
    Bytes notJpeg = colour;
    notJpeg[1] = 0x00;
    struct Case {
        const char* what;
        const Bytes* file;
        const char* message;
    } cases[] = {
        {"cmyk", &cmyk, "Jpeg: unsupported number of color components (4)"},
        {"header cut", &headerCut, "Jpeg: library error: "},
        {"no start marker", &notJpeg, "Jpeg: library error: "},
    };
    for (const Case& c : cases) {
        KImage image;
        ASSERT_TRUE(image.allocate(1, 1, true));
        image.getPixels()[0] = 0x12345678;
        KLog::clearMemoryBuffer();
        EXPECT_FALSE(KImage::decode(K_IMAGE_JPG, c.file->data(), c.file->size(), image)) << c.what;
        EXPECT_EQ(image.getWidth(), 1) << c.what;
        EXPECT_TRUE(image.getHasAlpha()) << c.what;
        EXPECT_EQ(image.getPixel(0, 0), 0x12345678u) << c.what;
        EXPECT_NE(ImageFixtures::loggedText().find(c.message), std::string::npos)
            << c.what << ImageFixtures::loggedText();
    }
}

TEST_F(KImageHandlerJpgTest, DataCutInsideTheImageStillDecodesWithAnEndMarkerSupplied) {
    Bytes file = ImageFixtures::jpeg(32, 32, 3, tiles(2, 2, 3, {{200, 30, 40}, {20, 60, 220}, {0, 0, 0}, {9, 9, 9}}));
    // Keep the headers and the first half of the entropy-coded data after the start-of-scan marker.
    size_t scan = 0;
    while (scan + 1 < file.size() && !(file[scan] == 0xFF && file[scan + 1] == 0xDA)) scan++;
    ASSERT_LT(scan + 1, file.size());
    Bytes cut(file.begin(), file.begin() + scan + (file.size() - scan) / 2);
    KImage image;
    ASSERT_TRUE(KImage::decode(K_IMAGE_JPG, cut.data(), cut.size(), image)) << ImageFixtures::loggedText();
    EXPECT_EQ(image.getWidth(), 32);
    EXPECT_EQ(image.getHeight(), 32);
    expectNear(image.getPixel(8, 8), 200, 30, 40, "first tile");
}

TEST_F(KImageHandlerJpgTest, EncodingDropsAlphaAndDecodesBackClose) {
    KImage picture;
    ASSERT_TRUE(picture.allocate(32, 16, true));
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 32; x++)
            picture.getPixels()[y * 32 + x] = x < 16 ? KImage::pack(200, 30, 40, 0) : KImage::pack(20, 60, 220, 128);
    unsigned char* data = nullptr;
    size_t size = 0;
    ASSERT_TRUE(KImage::encode(K_IMAGE_JPG, data, size, picture));
    ASSERT_GT(size, 4u);
    EXPECT_EQ(data[0], 0xFF);
    EXPECT_EQ(data[1], 0xD8);
    EXPECT_EQ(data[size - 2], 0xFF);
    EXPECT_EQ(data[size - 1], 0xD9);

    KImage decoded;
    ASSERT_TRUE(KImage::decode(K_IMAGE_JPG, data, size, decoded));
    delete[] data;
    EXPECT_FALSE(decoded.getHasAlpha());
    // Quality 94 with chroma subsampling: a little further off than the fixtures at quality 100.
    for (auto [x, r, g, b] : {std::tuple{8, 200, 30, 40}, std::tuple{24, 20, 60, 220}}) {
        uint32_t p = decoded.getPixel(x, 8);
        EXPECT_NEAR(int(KImage::red(p)), r, 6);
        EXPECT_NEAR(int(KImage::green(p)), g, 6);
        EXPECT_NEAR(int(KImage::blue(p)), b, 6);
        EXPECT_EQ(KImage::alpha(p), 255u);
    }
}

TEST_F(KImageHandlerJpgTest, AnImpossibleEncodeFailsInsteadOfEndingTheProgram) {
    KImage empty;
    unsigned char* data = nullptr;
    size_t size = 0;
    EXPECT_FALSE(KImage::encode(K_IMAGE_JPG, data, size, empty));
    EXPECT_EQ(data, nullptr);
    EXPECT_NE(ImageFixtures::loggedText().find("Jpeg: library error: "), std::string::npos);
}

namespace {
struct TestErrors {
    jpeg_error_mgr pub;
    jmp_buf recovery;
};

void testErrorExit(j_common_ptr cinfo) {
    longjmp(reinterpret_cast<TestErrors*>(cinfo->err)->recovery, 1);
}
} // namespace

TEST_F(KImageHandlerJpgTest, MemoryManagersAreMadeOnceAndAFullDestinationIsFatal) {
    Bytes file = ImageFixtures::jpeg(16, 16, 1, Bytes(256, 7));
    jpeg_decompress_struct decompressor;
    TestErrors errors;
    decompressor.err = jpeg_std_error(&errors.pub);
    jpeg_create_decompress(&decompressor);
    jpeg_memory_src(&decompressor, file.data(), file.size());
    jpeg_source_mgr* first = decompressor.src;
    jpeg_memory_src(&decompressor, file.data(), file.size());
    EXPECT_EQ(decompressor.src, first);
    ASSERT_EQ(jpeg_read_header(&decompressor, TRUE), JPEG_HEADER_OK);
    EXPECT_EQ(decompressor.image_width, 16u);
    jpeg_destroy_decompress(&decompressor);

    jpeg_compress_struct compressor;
    volatile bool failed = false;
    compressor.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = testErrorExit;
    jpeg_create_compress(&compressor);
    unsigned char tiny[16];
    if (setjmp(errors.recovery)) {
        failed = true;
    } else {
        jpeg_memory_dest(&compressor, tiny, sizeof tiny);
        compressor.image_width = 8;
        compressor.image_height = 8;
        compressor.input_components = 3;
        compressor.in_color_space = JCS_RGB;
        jpeg_set_defaults(&compressor);
        jpeg_start_compress(&compressor, TRUE); // the headers alone overflow 16 bytes
    }
    jpeg_destroy_compress(&compressor);
    EXPECT_TRUE(failed);
}
