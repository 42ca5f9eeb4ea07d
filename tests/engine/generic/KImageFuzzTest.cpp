// Damaged pictures of every format, made by mutating good fixtures with a fixed seed: every decode
// must either fail and leave the picture as it was, or give a picture within the limits whose every
// pixel can be read. Set GF_IMAGE_FUZZ_ITERATIONS to fuzz longer than the suite does.
#include "KImage.h"

#include "ImageFixtures.h"
#include "KLog.h"
#include "KRandom.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <png.h>

using ImageFixtures::Bytes;

namespace {
struct Fixture {
    const char* name;
    ImageFormat format;
    Bytes bytes;
};

Bytes ramp(size_t count, int step) {
    Bytes out;
    for (size_t i = 0; i < count; i++) out.push_back(uint8_t(i * step));
    return out;
}

std::vector<Fixture> fixtures() {
    using namespace ImageFixtures;
    std::vector<Fixture> all;
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

int random(int limit) {
    return kRand() % limit;
}

// One to four damages: bit flips, byte overwrites (often with 0 or 0xFF, which make sizes and counts
// extreme), a cut, an inserted run, or a copy of another stretch of the file.
Bytes mutate(const Bytes& good) {
    Bytes out = good;
    const int damages = 1 + random(4);
    for (int d = 0; d < damages && !out.empty(); d++) {
        const size_t at = size_t(kRand() * 32768 + kRand()) % out.size();
        switch (random(6)) {
        case 0:
            out[at] ^= uint8_t(1 << random(8));
            break;
        case 1:
            out[at] = uint8_t(random(256));
            break;
        case 2:
            out[at] = random(2) ? 0xFF : 0x00;
            break;
        case 3:
            out.resize(at);
            break;
        case 4:
            out.insert(out.begin() + at, size_t(1 + random(16)), uint8_t(random(256)));
            break;
        default: {
            const size_t from = size_t(random(int(out.size())));
            const size_t length = std::min(out.size() - from, size_t(1 + random(32)));
            Bytes piece(out.begin() + from, out.begin() + from + length);
            std::copy(piece.begin(), piece.begin() + std::min(piece.size(), out.size() - at), out.begin() + at);
        }
        }
    }
    return out;
}
} // namespace

TEST(KImageFuzzTest, DamagedFilesOfEveryFormatDecodeSafely) {
    const char* configured = getenv("GF_IMAGE_FUZZ_ITERATIONS");
    const int iterations = configured ? atoi(configured) : 300;
    constexpr uint32_t kSentinel = 0x0BADF00D;
    kSrand(20261210);
    for (const Fixture& fixture : fixtures()) {
        KImage check;
        ASSERT_TRUE(KImage::decode(fixture.format, fixture.bytes.data(), fixture.bytes.size(), check)) << fixture.name;
        int decoded = 0;
        for (int i = 0; i < iterations; i++) {
            Bytes damaged = mutate(fixture.bytes);
            KImage image;
            ASSERT_TRUE(image.allocate(1, 1, true));
            image.getPixels()[0] = kSentinel;
            KLog::clearMemoryBuffer();
            if (!KImage::decode(fixture.format, damaged.data(), damaged.size(), image)) {
                ASSERT_EQ(image.getWidth(), 1) << fixture.name << " iteration " << i;
                ASSERT_EQ(image.getPixel(0, 0), kSentinel) << fixture.name << " iteration " << i;
                continue;
            }
            decoded++;
            ASSERT_GT(image.getWidth(), 0) << fixture.name << " iteration " << i;
            ASSERT_GT(image.getHeight(), 0) << fixture.name << " iteration " << i;
            ASSERT_TRUE(KImage::sizeAllowed(image.getWidth(), image.getHeight()));
            ASSERT_NE(image.getPixels(), nullptr);
            uint32_t mix = 0;
            const size_t count = size_t(image.getWidth()) * size_t(image.getHeight());
            for (size_t p = 0; p < count; p++) mix ^= image.getPixels()[p];
            (void)mix;
        }
        // Each format must still read some of its damaged files, or the mutations test nothing.
        EXPECT_GT(decoded, 0) << fixture.name;
    }
    KLog::clearMemoryBuffer();
}
