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
    for (const ImageFixtures::SampleFile& fixture : ImageFixtures::sampleFiles()) {
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
