// The tile brushes: the table of 95 brushes and its weights, the seeded weighted pick, automatic collision on
// the front layers and the auto-tiling rules as a table of neighbourhoods.
#include "TileBrush.h"
#include "../gameplay/TerrainFixture.h"
#include "KRandom.h"
#include "TileLayer.h"

#include <gtest/gtest.h>

namespace {

class TileBrushTest : public TerrainTest {
protected:
    std::vector<std::unique_ptr<TileBrush>> brushes = buildTileBrushList();
    TilePainter painter{brushes};
    void SetUp() override {
        TerrainTest::SetUp();
        front3 = getTileLayer(kLayerFront3);
    }
    TileLayer* front3 = nullptr;

    int shapeOf(const TileLayer& layer, int col, int row) const {
        const TileBrush* brush = painter.findBrushOfTile(layer.grid.get(col, row));
        return brush ? brush->shape : -1;
    }
    int groupOf(const TileLayer& layer, int col, int row) const {
        const TileBrush* brush = painter.findBrushOfTile(layer.grid.get(col, row));
        return brush ? brush->group : -1;
    }
};

TEST_F(TileBrushTest, TableHoldsEveryTileCodeOnceWithNormalisedWeights) {
    ASSERT_EQ(brushes.size(), size_t(kTileBrushCount));
    std::vector<int> owners(kTileCodeCount, 0);
    for (const auto& brush : brushes) {
        ASSERT_EQ(brush->tiles.size(), brush->weights.size());
        double sum = 0;
        for (double weight : brush->weights) sum += weight;
        EXPECT_NEAR(sum, 1.0, 1e-12);
        for (int32_t tile : brush->tiles) {
            ASSERT_GE(tile, 0);
            ASSERT_LT(tile, kTileCodeCount);
            owners[size_t(tile)]++;
        }
    }
    for (int code = 0; code < kTileCodeCount; code++) EXPECT_EQ(owners[size_t(code)], 1) << "tile " << code;

    // Brush 4: sand's bottom half, two tiles at 1.0 and two at 0.4.
    const TileBrush& bottomSand = *brushes[4];
    EXPECT_EQ(bottomSand.shape, kShapeBottomHalf);
    EXPECT_EQ(bottomSand.group, 1);
    EXPECT_EQ(bottomSand.tiles, (std::vector<int32_t>{11, 15, 19, 23}));
    EXPECT_DOUBLE_EQ(bottomSand.weights[0], 1 / 2.8);
    EXPECT_DOUBLE_EQ(bottomSand.weights[3], 0.4 / 2.8);
    // Sand's full brush weighs its last eight tiles 0.2, rock's all alike.
    EXPECT_DOUBLE_EQ(brushes[3]->weights[0], 1 / 9.6);
    EXPECT_DOUBLE_EQ(brushes[3]->weights[15], 0.2 / 9.6);
    EXPECT_DOUBLE_EQ(brushes[23]->weights[15], 1 / 16.0);
    // Every group has one brush of each of the 13 shapes.
    for (int group = 1; group <= 5; group++)
        for (int shape = 1; shape < kCollisionShapeCount; shape++)
            EXPECT_NE(painter.findShapedBrush(group, shape), nullptr) << group << " " << shape;
    EXPECT_EQ(brushes[82]->tiles.front(), 269);
    EXPECT_EQ(brushes[94]->shape, kShapeNoTopRight);
}

TEST_F(TileBrushTest, PickTileFollowsTheWeightsOfOneSeededDraw) {
    const TileBrush& brush = *brushes[4]; // running sums 0.357, 0.714, 0.857, 1
    kSrand(12345);
    std::vector<double> draws;
    for (int i = 0; i < 200; i++) draws.push_back(double(kRand()) / 32767);
    kSrand(12345);
    for (double r : draws) {
        const int32_t expected = r <= 1 / 2.8 ? 11 : r <= 2 / 2.8 ? 15 : r <= 2.4 / 2.8 ? 19 : 23;
        ASSERT_EQ(brush.pickTile(), expected) << r;
    }
    // A one-tile brush always gives its tile, and still takes one draw.
    kSrand(1);
    const int first = kRand();
    kSrand(1);
    EXPECT_EQ(brushes[1]->pickTile(), 1);
    EXPECT_NE(kRand(), first);
}

TEST_F(TileBrushTest, AutoCollisionWritesTheBrushShapeOnFrontLayersOnly) {
    TileLayer& midWater = *getTileLayer(kLayerMidWater);
    ASSERT_FALSE(std::fabs(midWater.scrollX - 1) < 0.01 && std::fabs(midWater.scrollY - 1) < 0.01);
    painter.autoTile = false;
    tileMap.collisionGrid.set(2, 2, kShapeFull);
    painter.paintTile(midWater, 2, 2, *brushes[0]);
    EXPECT_EQ(tileMap.collisionGrid.get(2, 2), kShapeFull); // parallax layers leave collision alone
    painter.paintTile(*front3, 2, 2, *brushes[0]);
    EXPECT_EQ(tileMap.collisionGrid.get(2, 2), kShapeNone); // the empty brush clears it
    painter.paintTile(*front3, 3, 2, *brushes[5]);          // sand right half
    EXPECT_EQ(tileMap.collisionGrid.get(3, 2), kShapeRightHalf);
    painter.paintTile(*front3, 4, 2, *brushes[16]); // water of group 0
    EXPECT_EQ(tileMap.collisionGrid.get(4, 2), kShapeNone);
    painter.autoCollision = false;
    painter.paintTile(*front3, 5, 2, *brushes[3]);
    EXPECT_EQ(tileMap.collisionGrid.get(5, 2), kShapeNone);
}

// The cell in the middle of a 3 x 3 neighbourhood, reshaped for sand: 'X' marks full sand cells.
struct Neighbourhood {
    const char* rows[3];
    int shape; // the centre's new shape, -1 = left as it was (empty)
};

TEST_F(TileBrushTest, ReshapeNeighbourPicksTheFirstMatchingRule) {
    const Neighbourhood cases[] = {
        {{"...", "...", "..."}, -1},
        {{".X.", "...", ".X."}, -1},                 // solid above and below
        {{"...", "X.X", "..."}, -1},                 // solid left and right
        {{".X.", "..X", "..."}, kShapeNoBottomLeft}, // up and right
        {{".X.", "X..", "..."}, kShapeNoBottomRight},
        {{"...", "..X", ".X."}, kShapeNoTopLeft},
        {{"...", "X..", ".X."}, kShapeNoTopRight},
        {{"XXX", "...", "..."}, kShapeTopHalf}, // the diagonals lose to the sides
        {{"...", "..X", "..."}, kShapeRightHalf},
        {{"...", "...", "X.X"}, kShapeBottomRight}, // only diagonals below: down-right comes first
        {{"...", "...", ".X."}, kShapeBottomHalf},
        {{"...", "X..", "..."}, kShapeLeftHalf},
        {{"X..", "...", "..."}, kShapeTopLeft},
        {{"..X", "...", "..."}, kShapeTopRight},
        {{"...", "...", "..X"}, kShapeBottomRight},
        {{"...", "...", "X.."}, kShapeBottomLeft},
        {{"X.X", "...", "X.X"}, kShapeTopLeft},
    };
    for (const Neighbourhood& c : cases) {
        front3->grid.clear();
        for (int r = 0; r < 3; r++)
            for (int col = 0; col < 3; col++)
                if (c.rows[r][col] == 'X') front3->grid.set(4 + col, 4 + r, 3);
        painter.reshapeNeighbour(1, *front3, 5, 5);
        const std::string where = std::string(c.rows[0]) + "/" + c.rows[1] + "/" + c.rows[2];
        const int expected = c.shape;
        if (expected < 0) {
            EXPECT_EQ(front3->grid.get(5, 5), 0) << where;
        } else {
            EXPECT_EQ(shapeOf(*front3, 5, 5), expected) << where;
            EXPECT_EQ(groupOf(*front3, 5, 5), 1) << where;
            EXPECT_EQ(tileMap.collisionGrid.get(5, 5), expected) << where;
        }
    }
}

TEST_F(TileBrushTest, PaintingAFullTileReshapesTheCellsAroundIt) {
    painter.paintTile(*front3, 5, 5, *brushes[3]); // full sand into an empty area
    EXPECT_EQ(shapeOf(*front3, 5, 5), kShapeFull);
    EXPECT_EQ(shapeOf(*front3, 5, 4), kShapeBottomHalf); // above
    EXPECT_EQ(shapeOf(*front3, 6, 5), kShapeLeftHalf);   // right
    EXPECT_EQ(shapeOf(*front3, 6, 4), kShapeBottomLeft); // upper right
    EXPECT_EQ(shapeOf(*front3, 4, 6), kShapeTopRight);   // lower left
    EXPECT_EQ(tileMap.collisionGrid.get(5, 4), kShapeBottomHalf);
    EXPECT_EQ(tileMap.collisionGrid.get(5, 5), kShapeFull);
    EXPECT_EQ(shapeOf(*front3, 7, 5), 0); // two cells away: untouched, still empty
    EXPECT_EQ(front3->grid.get(7, 5), 0);

    // A full rock tile beside the sand turns the sand cell into a rock edge: only rock stays solid.
    painter.paintTile(*front3, 6, 5, *brushes[23]);
    EXPECT_EQ(groupOf(*front3, 5, 5), 2);
    EXPECT_EQ(shapeOf(*front3, 5, 5), kShapeRightHalf);

    // Without auto-tiling the neighbours stay as they are.
    front3->grid.clear();
    painter.autoTile = false;
    painter.paintTile(*front3, 5, 5, *brushes[3]);
    EXPECT_EQ(front3->grid.get(5, 4), 0);
}

TEST_F(TileBrushTest, AutoTilingStaysInsideTheGrid) {
    painter.paintTile(*front3, 0, 0, *brushes[69]); // coral in the corner
    EXPECT_EQ(shapeOf(*front3, 1, 0), kShapeLeftHalf);
    EXPECT_EQ(shapeOf(*front3, 0, 1), kShapeTopHalf);
    const int lastCol = front3->grid.cols() - 1, lastRow = front3->grid.rows() - 1;
    painter.paintTile(*front3, lastCol, lastRow, *brushes[82]);
    EXPECT_EQ(groupOf(*front3, lastCol - 1, lastRow - 1), 5);
    EXPECT_EQ(shapeOf(*front3, lastCol - 1, lastRow - 1), kShapeBottomRight);
}

} // namespace
