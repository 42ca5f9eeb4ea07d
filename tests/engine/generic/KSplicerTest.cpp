#include "KSplicer.h"
#include "SplicedUpload.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
struct Row {
    float x1, y1, x2, y2;
    int texture;
    float u, v;
};

void expectSplices(const PictureSplice* got, int count, const std::vector<Row>& want) {
    ASSERT_EQ(count, int(want.size()));
    for (int i = 0; i < count; i++) {
        SCOPED_TRACE("splice " + std::to_string(i));
        EXPECT_EQ(got[i].x1, want[i].x1);
        EXPECT_EQ(got[i].y1, want[i].y1);
        EXPECT_EQ(got[i].x2, want[i].x2);
        EXPECT_EQ(got[i].y2, want[i].y2);
        EXPECT_EQ(got[i].texture, want[i].texture);
        EXPECT_EQ(got[i].u, want[i].u);
        EXPECT_EQ(got[i].v, want[i].v);
    }
}

} // namespace

TEST(Splicer, FullScreenSizesUseTheirFixedLayouts) {
    PictureSplice out[kMaxPictureSplices];
    expectSplices(out, splicePicture(800, 600, out),
                  {{0, 0, 512, 512, 0, 0, 0},
                   {0, 511, 512, 600, 1, 0, 0},
                   {511, 0, 800, 422, 1, 0, 90},
                   {511, 421, 733, 600, 1, 290, 91},
                   {511, 421, 733, 422, 1, 290, 90},
                   {732, 421, 800, 600, 1, 290, 272},
                   {732, 421, 800, 422, 1, 290, 271}});
    expectSplices(out, splicePicture(1024, 768, out),
                  {{0, 0, 512, 512, 0, 0, 0},
                   {512, 0, 1024, 512, 1, 0, 0},
                   {0, 512, 512, 768, 2, 0, 0},
                   {512, 512, 1024, 768, 3, 0, 0}});
}

TEST(Splicer, PacksWorkedCases) {
    PictureSplice out[kMaxPictureSplices];
    // A whole texture is one piece with no room for strips.
    expectSplices(out, splicePicture(512, 512, out), {{0, 0, 512, 512, 0, 0, 0}});
    // A small picture: the piece at the corner, strips below and to the right.
    expectSplices(out, splicePicture(300, 200, out),
                  {{0, 0, 300, 200, 0, 0, 0}, {0, 199, 300, 200, 0, 0, 200}, {299, 0, 300, 200, 0, 300, 0}});
    // Wider than a texture: the left 512 columns across the top of texture 0, the rest (overlapping by one
    // column) below them, with strips on every side that has room.
    expectSplices(out, splicePicture(600, 100, out),
                  {{0, 0, 512, 100, 0, 0, 0},
                   {0, 99, 512, 100, 0, 0, 100},
                   {511, 0, 600, 100, 0, 0, 103},
                   {511, 0, 600, 1, 0, 0, 102},
                   {511, 99, 600, 100, 0, 0, 203},
                   {599, 0, 600, 100, 0, 89, 103}});
}

TEST(Splicer, PackedLayoutsCoverThePictureAndKeepFilteringInsideEachPiece) {
    const int sizes[][2] = {{600, 100}, {513, 513}, {1000, 300}, {2048, 64},  {64, 2048}, {1, 1},
                            {511, 1},   {300, 900}, {1023, 700}, {1280, 720}, {640, 480}, {1100, 1100}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(std::to_string(size[0]) + " x " + std::to_string(size[1]));
        KSplicer splicer;
        ASSERT_TRUE(splicer.splicerPack(size[0], size[1])) << splicer.lastError();
        SplicedUpload upload(size[0], size[1]);
        ASSERT_GE(upload.count, 1);
        ASSERT_LE(upload.count, kMaxPictureSplices);
        for (int i = 0; i < upload.count; i++) {
            const PictureSplice& s = upload.splices[i];
            ASSERT_TRUE(s.x1 >= 0 && s.y1 >= 0 && s.x1 < s.x2 && s.y1 < s.y2 && s.x2 <= size[0] && s.y2 <= size[1]);
            ASSERT_TRUE(s.texture >= 0 && s.texture < KSplicer::kMaxTextures);
            ASSERT_TRUE(s.u >= 0 && s.v >= 0 && s.u + (s.x2 - s.x1) <= kSpliceTextureSize &&
                        s.v + (s.y2 - s.y1) <= kSpliceTextureSize);
        }
        // No texel is written twice: splices never overlap inside a texture.
        for (const auto& texture : upload.writes)
            for (int count : texture) ASSERT_LE(count, 1);
        // Every picture pixel reaches a texture.
        std::vector<bool> covered(size_t(size[0]) * size[1], false);
        for (const auto& texture : upload.texel)
            for (int value : texture)
                if (value) covered[value - 1] = true;
        for (bool c : covered) ASSERT_TRUE(c);
        // Beside every splice, a texel is outside the texture, empty, or holds the splice's own edge pixel (its
        // border strip) or the picture's true neighbour: filtering at an edge never blends in a foreign pixel.
        int strips = 0;
        for (int i = 0; i < upload.count; i++) {
            const PictureSplice& s = upload.splices[i];
            int x1 = int(s.x1), y1 = int(s.y1), x2 = int(s.x2), y2 = int(s.y2), u = int(s.u), v = int(s.v);
            auto check = [&](int tx, int ty, int edgeX, int edgeY, int outX, int outY) {
                int value = upload.at(s.texture, tx, ty);
                if (value <= 0) return;
                bool neighbour =
                    outX >= 0 && outY >= 0 && outX < size[0] && outY < size[1] && value == upload.pixel(outX, outY);
                ASSERT_TRUE(value == upload.pixel(edgeX, edgeY) || neighbour)
                    << "splice " << i << " texel " << tx << "," << ty;
                if (value == upload.pixel(edgeX, edgeY)) strips++;
            };
            for (int y = y1; y < y2; y++) {
                check(u - 1, v + y - y1, x1, y, x1 - 1, y);
                check(u + x2 - x1, v + y - y1, x2 - 1, y, x2, y);
            }
            for (int x = x1; x < x2; x++) {
                check(u + x - x1, v - 1, x, y1, x, y1 - 1);
                check(u + x - x1, v + y2 - y1, x, y2 - 1, x, y2);
            }
        }
        if (size[0] < 512 || size[1] < 512) {
            EXPECT_GT(strips, 0);
        }
    }
}

TEST(Splicer, FallsBackToOneWholeSpliceWhenThePackerRunsOutOfRoom) {
    const struct { int width, height; } cases[] = {{4000, 4000}, {16384, 8}, {8, 16384}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        KSplicer splicer;
        EXPECT_FALSE(splicer.splicerPack(c.width, c.height));
        EXPECT_STRNE(splicer.lastError(), "");
        PictureSplice out[kMaxPictureSplices];
        expectSplices(out, splicePicture(c.width, c.height, out), {{0, 0, float(c.width), float(c.height), 0, 0, 0}});
    }
}

TEST(Splicer, AnEmptyPictureHasNoSplices) {
    PictureSplice out[kMaxPictureSplices];
    EXPECT_EQ(splicePicture(0, 100, out), 0);
    EXPECT_EQ(splicePicture(100, -1, out), 0);
}
