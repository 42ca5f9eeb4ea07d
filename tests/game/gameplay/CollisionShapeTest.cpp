// The collision shapes as a table: points against every shape placed in a cell, edges outside, and the
// cell lookup held to the grid.
#include "CollisionShape.h"
#include "TerrainCodes.h"
#include "TerrainFixture.h"

#include <cmath>

namespace {

// Probe points inside a cell (local pixels): the centres of its four quarters.
struct Probe {
    double x, y;
};
constexpr Probe kProbes[4] = {{16, 16}, {48, 16}, {16, 48}, {48, 48}}; // top-left, top-right, bottom-left, -right

struct ShapeCase {
    int code;
    const char* name;
    int angle;
    bool solid[4]; // at the four probes, in kProbes order
};

const ShapeCase kShapes[kCollisionShapeCount] = {
    {kShapeNone, "No Collision", -1, {false, false, false, false}},
    {kShapeFull, "Full Collision", -1, {true, true, true, true}},
    {kShapeLeftHalf, "Left Half", 0, {true, false, true, false}},
    {kShapeRightHalf, "Right Half", 180, {false, true, false, true}},
    {kShapeTopHalf, "Top Half", 270, {true, true, false, false}},
    {kShapeBottomHalf, "Bottom Half", 90, {false, false, true, true}},
    {kShapeTopLeft, "Top Left", 315, {true, false, false, false}},
    {kShapeTopRight, "Top Right", 225, {false, true, false, false}},
    {kShapeBottomLeft, "Bottom Left", 45, {false, false, true, false}},
    {kShapeBottomRight, "Bottom Right", 135, {false, false, false, true}},
    {kShapeNoTopLeft, "No Top Left", 135, {false, true, true, true}},
    {kShapeNoTopRight, "No Top Right", 45, {true, false, true, true}},
    {kShapeNoBottomLeft, "No Bottom Left", 225, {true, true, false, true}},
    {kShapeNoBottomRight, "No Bottom Right", 315, {true, true, true, false}},
};

} // namespace

TEST_F(TerrainTest, EveryShapeIsSolidExactlyWhereItsRectanglesLie) {
    const int col = 5, row = 7;
    for (const ShapeCase& c : kShapes) {
        SCOPED_TRACE(c.name);
        solid(col, row, uint8_t(c.code));
        EXPECT_STREQ(getCollisionShapeName(c.code), c.name);
        EXPECT_EQ(getCollisionShape(c.code)->angle, c.angle);
        for (int p = 0; p < 4; p++)
            EXPECT_EQ(isSolidAt(col * 64 + kProbes[p].x, row * 64 + kProbes[p].y), c.solid[p]) << "probe " << p;
        // The cells around stay open.
        EXPECT_FALSE(isSolidAt((col + 1) * 64 + 16, row * 64 + 16));
        EXPECT_FALSE(isSolidAt(col * 64 + 16, (row - 1) * 64 + 48));
    }
    EXPECT_EQ(getCollisionShape(kCollisionShapeCount), nullptr);
    EXPECT_STREQ(getCollisionShapeName(-1), "");
}

TEST_F(TerrainTest, PointsOnARectangleEdgeAreOutside) {
    solid(2, 2, kShapeLeftHalf);
    const double ox = 128, oy = 128;
    EXPECT_FALSE(isSolidAt(ox + 32, oy + 20)) << "the inner edge x = 32";
    EXPECT_TRUE(isSolidAt(ox + 31.99, oy + 20));
    EXPECT_FALSE(isSolidAt(ox + 0, oy + 20)) << "the cell's own left edge";
    EXPECT_FALSE(isSolidAt(ox + 10, oy + 0)) << "the top edge";
    EXPECT_TRUE(isSolidAt(ox + 0.5, oy + 63.5));

    // The two rectangles of a corner shape meet along a line that is inside neither.
    solid(3, 2, kShapeNoTopLeft);
    EXPECT_FALSE(isSolidAt(192 + 48, 128 + 32)) << "y = 32 is the edge of both rectangles";
    EXPECT_TRUE(isSolidAt(192 + 48, 128 + 31));
    EXPECT_TRUE(isSolidAt(192 + 48, 128 + 33));
}

TEST_F(TerrainTest, CellLookupIsHeldToTheGrid) {
    struct Case {
        double x, y;
        int col, row;
    };
    const int lastCol = tileMap.collisionGrid.cols() - 1, lastRow = tileMap.collisionGrid.rows() - 1;
    const Case cases[] = {
        {-10, 70, 0, 1},      {63.9, 64, 0, 1},
        {-1000, -1000, 0, 0}, {1e7, 1e7, lastCol, lastRow},
        {NAN, 100, 0, 1},     {64 * 155 + 1, 10, lastCol, 0},
    };
    for (const Case& c : cases) {
        int32_t col = -1, row = -1;
        EXPECT_TRUE(cellAt(c.x, c.y, col, row));
        EXPECT_EQ(col, c.col) << c.x << ", " << c.y;
        EXPECT_EQ(row, c.row) << c.x << ", " << c.y;
    }
    EXPECT_EQ(lastCol, 155);

    // Points past the level's edge take the edge cell's shape, placed where that cell lies.
    solid(0, 3, kShapeFull);
    EXPECT_FALSE(isSolidAt(-10, 3 * 64 + 10)) << "outside the cell's rectangle although the cell is taken";
    EXPECT_TRUE(isSolidAt(10, 3 * 64 + 10));
}

TEST_F(TerrainTest, DamagedShapeCodesAndAMissingGridAreOpen) {
    solid(4, 4, 200);
    EXPECT_FALSE(isSolidAt(4 * 64 + 32, 4 * 64 + 32));
    releaseTileMap();
    int32_t col = 7, row = 7;
    EXPECT_FALSE(cellAt(10, 10, col, row));
    EXPECT_EQ(col, 0);
    EXPECT_FALSE(isSolidAt(10, 10));
}

TEST(CollisionShape, ATwoRectangleShapeIgnoresAThird) {
    CollisionShape shape;
    shape.addRect(0, 0, 10, 10);
    shape.addRect(20, 20, 30, 30);
    shape.addRect(40, 40, 50, 50);
    shape.setPosition(100, 200);
    EXPECT_TRUE(shape.contains(105, 205));
    EXPECT_TRUE(shape.contains(125, 225));
    EXPECT_FALSE(shape.contains(145, 245));
    EXPECT_EQ(shape.second->worldX1, 120);
    EXPECT_EQ(shape.second->worldY2, 230);
}
