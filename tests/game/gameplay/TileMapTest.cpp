// The tile map: layer sizes by their scroll factors, resizing that keeps the overlapping cells, the clip
// level, the substance and water-surface queries, gravity under the cheats, and grid edits held to bounds.
#include "TileMap.h"
#include "CheatList.h"
#include "TerrainCodes.h"
#include "TerrainFixture.h"

#include <cmath>

namespace {

struct Size {
    int cols, rows;
};

Size sizeOf(int layer) {
    return {getTileLayer(layer)->grid.cols(), getTileLayer(layer)->grid.rows()};
}

} // namespace

TEST_F(TerrainTest, TheDefaultLevelSizesEveryLayerByItsScrollFactors) {
    const Size expected[kTileLayerCount] = {{14, 11},  {14, 78},  {78, 39},  {78, 78},
                                            {156, 78}, {156, 78}, {156, 78}, {156, 78}};
    const double scroll[kTileLayerCount][2] = {{0, 0}, {0, 1}, {0.5, 0.5}, {0.5, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}};
    for (int id = 0; id < kTileLayerCount; id++) {
        SCOPED_TRACE(id);
        EXPECT_EQ(sizeOf(id).cols, expected[id].cols);
        EXPECT_EQ(sizeOf(id).rows, expected[id].rows);
        EXPECT_EQ(getTileLayer(id)->scrollX, scroll[id][0]);
        EXPECT_EQ(getTileLayer(id)->scrollY, scroll[id][1]);
        const bool water = id == kLayerBackWater || id == kLayerMidWater;
        EXPECT_EQ(getTileLayer(id)->clipAboveY, water ? 1500 : -1);
        EXPECT_EQ(getTileLayer(id)->clipBelowY, -1);
    }
    EXPECT_EQ(getTileLayer(kTileLayerCount), nullptr);
    EXPECT_EQ(tileMap.collisionGrid.cols(), 156);
    EXPECT_EQ(tileMap.substanceGrid.rows(), 78);
    EXPECT_EQ(tileMap.boundsRight, 10000);
    EXPECT_EQ(tileMap.boundsBottom, 5000);
}

TEST_F(TerrainTest, ResizingKeepsTheOverlappingCellsAndNeverGoesBelowTheScreen) {
    TileGrid& front = getTileLayer(kLayerFront1)->grid;
    front.set(10, 5, 81);
    front.set(100, 5, 82); // falls outside the smaller level
    tileMap.collisionGrid.set(10, 5, kShapeFull);
    tileMap.substanceGrid.set(20, 30, kSubstanceTransition);

    setLevelSize(700, 400); // smaller than the screen: the screen's 14 x 11 cells remain
    EXPECT_EQ(tileMap.levelWidth, 700);
    for (int id = 0; id < kTileLayerCount; id++) {
        EXPECT_EQ(sizeOf(id).cols, 14) << id;
        EXPECT_EQ(sizeOf(id).rows, 11) << id;
    }
    EXPECT_EQ(front.get(10, 5), 81);
    EXPECT_EQ(tileMap.collisionGrid.cols(), 14);
    EXPECT_EQ(tileMap.collisionGrid.get(10, 5), kShapeFull);

    setLevelSize(10000, 5000);
    EXPECT_EQ(front.get(10, 5), 81);
    EXPECT_EQ(front.get(100, 5), 0) << "what fell outside is lost";
    EXPECT_EQ(tileMap.substanceGrid.get(20, 30), kSubstanceWater);

    setLevelSize(6432, 3232); // 100.5 and 50.5 cells: rounded half away from zero
    EXPECT_EQ(sizeOf(kLayerFront4).cols, 101);
    EXPECT_EQ(sizeOf(kLayerFront4).rows, 51);
    EXPECT_EQ(sizeOf(kLayerMidWater).cols, 50) << "50.25 cells";
    EXPECT_EQ(tileMap.collisionGrid.cols(), 101);
}

TEST_F(TerrainTest, ADamagedLevelSizeAsksForNoMoreThanAGridCanHold) {
    setLevelSize(1e12, NAN);
    EXPECT_EQ(sizeOf(kLayerFront1).cols, kMaxGridSide);
    EXPECT_EQ(sizeOf(kLayerFront1).rows, 11);
    EXPECT_EQ(tileMap.collisionGrid.cols(), kMaxGridSide);
    EXPECT_EQ(getSubstanceAt(1e11, 100), kSubstanceAir);
    setLevelSize(-5000, -1);
    EXPECT_EQ(sizeOf(kLayerFront1).cols, 14);
}

TEST_F(TerrainTest, GridEditsOutsideTheGridChangeNothing) {
    TileGrid& grid = getTileLayer(kLayerFront2)->grid;
    grid.set(-1, 0, 5);
    grid.set(156, 0, 5);
    grid.set(0, 78, 5);
    for (int row = 0; row < grid.rows(); row++)
        for (int col = 0; col < grid.cols(); col++) ASSERT_EQ(grid.get(col, row), 0);
    EXPECT_EQ(grid.get(-1, 0), 0);
    grid.set(155, 77, 300);
    EXPECT_EQ(grid.data()[155 + 77 * 156], 300) << "row-major";
    grid.clear();
    EXPECT_EQ(grid.get(155, 77), 0);
    EXPECT_EQ(grid.cols(), 156);
}

TEST_F(TerrainTest, TheClipLevelMovesOnlyTheLinesThatAreOn) {
    getTileLayer(kLayerFront3)->clipBelowY = 900;
    setClipLevel(1200.75);
    EXPECT_EQ(tileMap.clipLevel, 1200.75);
    EXPECT_EQ(getTileLayer(kLayerBackWater)->clipAboveY, 1200);
    EXPECT_EQ(getTileLayer(kLayerMidWater)->clipAboveY, 1200);
    EXPECT_EQ(getTileLayer(kLayerFront3)->clipBelowY, 1200);
    EXPECT_EQ(getTileLayer(kLayerBackAir)->clipAboveY, -1);
    EXPECT_EQ(getTileLayer(kLayerBackWater)->clipBelowY, -1);
    EXPECT_EQ(getTileLayer(kLayerFront4)->clipBelowY, -1);
}

TEST_F(TerrainTest, SubstanceQueries) {
    fillSubstance(kSubstanceWater);
    substance(3, 20, kSubstanceTransition);
    substance(4, 20, kSubstanceAir);
    substance(5, 20, 9); // a code the editor never paints
    struct Case {
        double x, y;
        int expected;
        const char* what;
    };
    const Case cases[] = {
        {3 * 64 + 5, 1280, kSubstanceAir, "transition cell, top row"},
        {3 * 64 + 5, 1311.9, kSubstanceAir, "transition cell, last pixel of the upper half"},
        {3 * 64 + 5, 1312, kSubstanceWater, "transition cell, lower half"},
        {3 * 64 + 5, 1343, kSubstanceWater, "transition cell, bottom row"},
        {4 * 64 + 5, 1300, kSubstanceAir, "air cell"},
        {5 * 64 + 5, 1300, kSubstanceAir, "unknown code"},
        {100, 100, kSubstanceWater, "water"},
        {10000 - 64, 100, kSubstanceWater, "the last cell's origin is inside"},
        {10000 - 63, 100, kSubstanceAir, "past it, whatever the grid holds"},
        {-0.5, 100, kSubstanceAir, "left of the level"},
        {100, 5000 - 63, kSubstanceAir, "below the last cell's origin"},
        {NAN, 100, kSubstanceAir, "not a number"},
    };
    for (const Case& c : cases) EXPECT_EQ(getSubstanceAt(c.x, c.y), c.expected) << c.what;
    EXPECT_TRUE(isInsideLevel(0, 0));
    EXPECT_TRUE(isInsideLevel(9936, 4936));
    EXPECT_FALSE(isInsideLevel(9936.5, 0));
}

TEST_F(TerrainTest, TheWaterSurfaceIsFoundWithinThreeCellsOfItsColumn) {
    fillSubstance(kSubstanceWater);
    for (int col = 0; col < 20; col++) {
        for (int row = 0; row < 20; row++) substance(col, row, kSubstanceAir);
        substance(col, 20, kSubstanceTransition);
    }
    double x = 0, y = 0;
    findWaterSurface(100, 21 * 64 + 10, x, y); // one cell below the surface
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 20 * 64 + 32);
    findWaterSurface(100, 18 * 64 + 10, x, y); // two cells above it
    EXPECT_EQ(y, 20 * 64 + 32);
    findWaterSurface(100, 20 * 64 + 50, x, y); // in the surface cell
    EXPECT_EQ(y, 20 * 64 + 32);
    findWaterSurface(100, 24 * 64 + 10, x, y); // four cells below: too far
    EXPECT_EQ(y, 24 * 64 + 10);
    findWaterSurface(100, 16 * 64 + 10, x, y); // four cells above: too far
    EXPECT_EQ(y, 16 * 64 + 10);

    // Water in the top row walks up off the grid; air in the bottom row walks down off it.
    substance(30, 0, kSubstanceWater);
    findWaterSurface(30 * 64, 10, x, y);
    EXPECT_EQ(y, 10);
    substance(30, 77, kSubstanceAir);
    findWaterSurface(30 * 64, 77 * 64 + 10, x, y);
    EXPECT_EQ(y, 77 * 64 + 10);
    findWaterSurface(-1e300, NAN, x, y);
    EXPECT_EQ(x, -1e300);
}

TEST_F(TerrainTest, GravityFollowsTheGravityCheats) {
    buildCheatList();
    EXPECT_EQ(getGravity(), 800);
    setCheatOn(kCheatHighGravity, true);
    EXPECT_EQ(getGravity(), 1600);
    setCheatOn(kCheatLowGravity, true);
    EXPECT_EQ(getGravity(), 400) << "low gravity wins when both are on";
    setCheatOn(kCheatHighGravity, false);
    EXPECT_EQ(getGravity(), 400);
    freeCheatList();
    EXPECT_EQ(getGravity(), 800) << "no cheat list, no cheat on";
}
