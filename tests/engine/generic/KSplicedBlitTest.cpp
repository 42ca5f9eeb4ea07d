#include "KSplicedBlit.h"
#include "SplicedUpload.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
float area(const SpliceTriangle& t) {
    return std::fabs((t.p[1].x - t.p[0].x) * (t.p[2].y - t.p[0].y) - (t.p[2].x - t.p[0].x) * (t.p[1].y - t.p[0].y)) / 2;
}
} // namespace

TEST(SplicedBlit, RectanglePartsTileTheRectangleAndPointAtTheRightTexels) {
    const struct {
        int width, height;
        float x1, y1, x2, y2;
    } cases[] = {
        {800, 600, 0, 0, 800, 600},      {800, 600, 500, 500, 520, 520}, {800, 600, 700, 400, 800, 440},
        {1024, 768, 100, 100, 900, 700}, {600, 100, 0, 0, 600, 100},     {1280, 720, 1000, 490, 1280, 720},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + " rect at " + std::to_string(c.x1) +
                     "," + std::to_string(c.y1));
        SplicedUpload upload(c.width, c.height);
        PictureSplice parts[64];
        int count = findSplicesInRect(upload.count, upload.splices, c.x1, c.y1, c.x2, c.y2, 64, parts);
        ASSERT_GT(count, 0);
        ASSERT_LT(count, 64);
        // Every pixel of the rectangle lies in exactly one part, and the part's texture position reads it back.
        int w = int(c.x2 - c.x1), h = int(c.y2 - c.y1);
        std::vector<int> hits(size_t(w) * h, 0);
        for (int i = 0; i < count; i++) {
            const PictureSplice& part = parts[i];
            ASSERT_TRUE(part.x1 >= c.x1 && part.y1 >= c.y1 && part.x2 <= c.x2 && part.y2 <= c.y2 && part.x1 < part.x2 &&
                        part.y1 < part.y2);
            for (int y = int(part.y1); y < int(part.y2); y++)
                for (int x = int(part.x1); x < int(part.x2); x++) {
                    hits[size_t(y - int(c.y1)) * w + (x - int(c.x1))]++;
                    int tx = int(part.u) + x - int(part.x1), ty = int(part.v) + y - int(part.y1);
                    ASSERT_EQ(upload.at(part.texture, tx, ty), upload.pixel(x, y)) << "part " << i;
                }
        }
        for (int hit : hits) ASSERT_EQ(hit, 1);
    }
}

TEST(SplicedBlit, RectanglePartsStopAtTheGivenCount) {
    SplicedUpload upload(800, 600);
    PictureSplice parts[3];
    EXPECT_EQ(findSplicesInRect(upload.count, upload.splices, 0, 0, 800, 600, 3, parts), 3);
    EXPECT_EQ(findSplicesInRect(upload.count, upload.splices, 10, 10, 10, 20, 3, parts), 0); // empty rectangle
}

TEST(SplicedBlit, ClippedTrianglesKeepTheirAreaAcrossTheSplices) {
    SplicedUpload upload(800, 600);
    const SpliceTriangle triangles[] = {
        {{{10, 20}, {790, 300}, {300, 590}}},   // across every splice
        {{{100, 100}, {200, 100}, {100, 200}}}, // inside one splice
        {{{505, 400}, {740, 430}, {520, 590}}}, // across the seams of texture 1
    };
    for (const SpliceTriangle& triangle : triangles) {
        SCOPED_TRACE(std::to_string(triangle.p[0].x) + "," + std::to_string(triangle.p[0].y));
        float x1 = std::min({triangle.p[0].x, triangle.p[1].x, triangle.p[2].x});
        float y1 = std::min({triangle.p[0].y, triangle.p[1].y, triangle.p[2].y});
        float x2 = std::max({triangle.p[0].x, triangle.p[1].x, triangle.p[2].x});
        float y2 = std::max({triangle.p[0].y, triangle.p[1].y, triangle.p[2].y});
        PictureSplice parts[64];
        int count = findSplicesInRect(upload.count, upload.splices, x1, y1, x2, y2, 64, parts);
        float total = 0;
        for (int i = 0; i < count; i++) {
            SpliceTriangle pieces[kMaxClippedTriangles];
            int n = clipTriangleToSplices(triangle, parts[i], pieces);
            ASSERT_LE(n, kMaxClippedTriangles);
            for (int k = 0; k < n; k++) {
                total += area(pieces[k]);
                for (const SplicePoint& p : pieces[k].p)
                    ASSERT_TRUE(p.x >= parts[i].x1 - 1e-3f && p.x <= parts[i].x2 + 1e-3f &&
                                p.y >= parts[i].y1 - 1e-3f && p.y <= parts[i].y2 + 1e-3f);
            }
        }
        EXPECT_NEAR(total, area(triangle), area(triangle) * 1e-4f);
    }
}

TEST(SplicedBlit, TriangleClipCases) {
    const PictureSplice splice = {0, 0, 100, 100, 0, 0, 0};
    SpliceTriangle out[kMaxClippedTriangles];
    // Inside: unchanged.
    SpliceTriangle inside = {{{10, 10}, {90, 10}, {10, 90}}};
    ASSERT_EQ(clipTriangleToSplices(inside, splice, out), 1);
    EXPECT_FLOAT_EQ(area(out[0]), area(inside));
    // Outside, and only touching the edge: nothing.
    EXPECT_EQ(clipTriangleToSplices({{{110, 10}, {190, 10}, {110, 90}}}, splice, out), 0);
    EXPECT_EQ(clipTriangleToSplices({{{100, 10}, {190, 10}, {100, 90}}}, splice, out), 0);
    // Covering the whole rectangle: the rectangle itself.
    int n = clipTriangleToSplices({{{-100, -100}, {400, -100}, {-100, 400}}}, splice, out);
    float total = 0;
    for (int i = 0; i < n; i++) total += area(out[i]);
    EXPECT_FLOAT_EQ(total, 100 * 100);
    // Cutting all four corners of the rectangle off a triangle gives the largest polygon.
    n = clipTriangleToSplices({{{50, -60}, {170, 130}, {-70, 130}}}, splice, out);
    EXPECT_GE(n, 3);
}

TEST(SplicedBlit, AffineMapTakesEachSourcePointToItsPartner) {
    const SpliceTriangle from = {{{0, 0}, {100, 0}, {0, 50}}};
    const SpliceTriangle to = {{{10, 20}, {210, 60}, {-30, 120}}};
    SplicePoint mapped;
    for (int i = 0; i < 3; i++) {
        ASSERT_TRUE(solveAffineTexCoords(from, to, from.p[i], mapped));
        EXPECT_NEAR(mapped.x, to.p[i].x, 1e-4f);
        EXPECT_NEAR(mapped.y, to.p[i].y, 1e-4f);
    }
    // Affine maps keep midpoints: the middle of an edge goes to the middle of the partner edge.
    ASSERT_TRUE(solveAffineTexCoords(from, to, {50, 25}, mapped));
    EXPECT_NEAR(mapped.x, (to.p[1].x + to.p[2].x) / 2, 1e-4f);
    EXPECT_NEAR(mapped.y, (to.p[1].y + to.p[2].y) / 2, 1e-4f);
    // A source triangle without area has no map.
    mapped = {7, 8};
    EXPECT_FALSE(solveAffineTexCoords({{{0, 0}, {10, 10}, {20, 20}}}, to, {1, 1}, mapped));
    EXPECT_EQ(mapped.x, 7);
}
