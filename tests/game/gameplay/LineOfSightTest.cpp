// Line of sight: the prepared segment, segments against a rectangle, and sight through small collision maps,
// including a segment that clips a solid corner by less than one sampling step.
#include "LineOfSight.h"
#include "TerrainCodes.h"
#include "TerrainFixture.h"

TEST(SightLine, OrdersItsEndpointsByYAndFlagsNearVerticalLines) {
    SightLine line;
    line.set(10, 50, 20, 10);
    EXPECT_EQ(line.ax, 20);
    EXPECT_EQ(line.ay, 10);
    EXPECT_EQ(line.minX, 10);
    EXPECT_EQ(line.maxY, 50);
    EXPECT_DOUBLE_EQ(line.slope, -4);
    EXPECT_DOUBLE_EQ(line.intercept, 90);

    line.set(0, 5, 10, 5);
    EXPECT_EQ(line.ax, 10) << "on equal y the second point comes first";

    line.set(100, 0, 100.5, 300);
    EXPECT_TRUE(line.vertical);
    EXPECT_EQ(line.sideOf(99, 10), 1);
    EXPECT_EQ(line.sideOf(101, 10), 2);
}

TEST(SightLine, SegmentsAgainstARectangle) {
    CollisionRect rect(0, 32, 64, 64); // a bottom half
    rect.setPosition(64, 64);          // world box 64..128 x 96..128
    struct Case {
        double x1, y1, x2, y2;
        bool crosses;
        const char* what;
    };
    const Case cases[] = {
        {0, 84, 200, 84, false, "horizontal above the box (y = 20 in the cell)"},
        {0, 104, 200, 104, true, "horizontal through the box (y = 40 in the cell)"},
        {96, 0, 96, 200, true, "vertical through it"},
        {40, 0, 40, 200, false, "vertical beside it"},
        {0, 0, 200, 200, true, "diagonal through its middle"},
        {0, 100, 50, 100, false, "stops short of it"},
        {40, 110, 100, 170, false, "bounding boxes overlap, the line passes below the corner"},
        {40, 100, 100, 160, true, "the same slope, clipping the corner"},
        {70, 100, 80, 110, true, "wholly inside"},
    };
    for (const Case& c : cases) {
        SightLine line;
        line.set(c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(rectCrossesLine(rect, line), c.crosses) << c.what;
        line.set(c.x2, c.y2, c.x1, c.y1);
        EXPECT_EQ(rectCrossesLine(rect, line), c.crosses) << c.what << ", reversed";
    }
}

TEST_F(TerrainTest, SightWithinOneCell) {
    EXPECT_TRUE(hasLineOfSight(10, 10, 50, 50)) << "an empty cell";
    EXPECT_TRUE(hasLineOfSight(30, 30, 30, 30)) << "a point sees itself";
    solid(0, 0, kShapeFull);
    EXPECT_FALSE(hasLineOfSight(10, 10, 50, 50)) << "inside one full cell";
    EXPECT_FALSE(hasLineOfSight(30, 30, 30, 30));
}

TEST_F(TerrainTest, SightAcrossCells) {
    solid(3, 2, kShapeBottomHalf); // world 192..256 x 160..192 solid
    EXPECT_TRUE(hasLineOfSight(100, 128 + 20, 400, 128 + 20)) << "along y = 20 of the cell, above its solid half";
    EXPECT_FALSE(hasLineOfSight(100, 128 + 40, 400, 128 + 40)) << "along y = 40, through it";
    EXPECT_FALSE(hasLineOfSight(400, 128 + 40, 100, 128 + 40)) << "the same from the other side";
    EXPECT_FALSE(hasLineOfSight(224, 100, 224, 300)) << "straight down through it";
    EXPECT_TRUE(hasLineOfSight(300, 100, 300, 300)) << "straight down beside it";

    // A solid target cell hides a point inside its open part only when the segment meets the solid part.
    EXPECT_TRUE(hasLineOfSight(100, 140, 224, 140)) << "into the open upper half";
    EXPECT_FALSE(hasLineOfSight(100, 180, 224, 180)) << "into the solid lower half";
}

TEST_F(TerrainTest, ASegmentClippingASolidCornerIsBlocked) {
    solid(1, 1, kShapeFull); // world 64..128 x 64..128
    // y = x + 62 cuts the full cell's bottom-left corner in a triangle 2 pixels on a side: 2.8 pixels of the
    // segment, fewer than a 5-pixel sampling step, between two open cells.
    EXPECT_FALSE(hasLineOfSight(0, 62, 100, 162));
    EXPECT_FALSE(hasLineOfSight(100, 162, 0, 62));
    // Past the corner it sees.
    EXPECT_TRUE(hasLineOfSight(0, 65, 100, 165));
}

TEST_F(TerrainTest, SightEndsAtItsRange) {
    fillSubstance(kSubstanceWater);
    EXPECT_FALSE(hasLineOfSight(100, 300, 2200, 300)) << "2100 pixels apart over open water";
    EXPECT_TRUE(hasLineOfSight(100, 300, 1990, 300));
    EXPECT_TRUE(hasLineOfSight(100, 100, 1400, 1400)) << "about 1840 pixels on a diagonal";
    solid(15, 4, kShapeFull);
    EXPECT_FALSE(hasLineOfSight(100, 300, 1990, 300)) << "a wall on the way";
    EXPECT_TRUE(hasLineOfSight(-300, -50, 500, -20)) << "points above the level take the top row of cells";
    EXPECT_FALSE(hasLineOfSight(NAN, 10, 10, 10));
    EXPECT_FALSE(hasLineOfSight(1e300, 10, 10, 10)) << "a point far past any level";
}
