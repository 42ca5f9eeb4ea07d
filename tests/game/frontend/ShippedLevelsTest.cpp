// The levels shipped in the data folder: the lists hold exactly the levels of the level files, every file
// loads, and every level is playable in its mode: one player start in open water, placements inside the level,
// the end marker (Action) or every hoop (Race) and every Gold Radudod reachable from the start by swimming and
// leaping, and the collision shapes and substances matching the terrain drawn. An Action level holds exactly
// five Gold Radudods and its end marker inside the level, and every enemy it counts can be destroyed.
#include "CollisionShape.h"
#include "EntityType.h"
#include "FolderPaths.h"
#include "GF_Entity.h"
#include "LevelCatalogue.h"
#include "LevelFile.h"
#include "PlacementList.h"
#include "ShippedLevelFiles.h"
#include "SpatialGrid.h"
#include "TileBrush.h"
#include "TileLayer.h"
#include "TileMap.h"

#include <array>
#include <gtest/gtest.h>
#include <memory>
#include <queue>

namespace {

struct Cell {
    int32_t col, row;
};

Cell cellOf(double x, double y) {
    return {int32_t(x) / kTileSize, int32_t(y) / kTileSize};
}

// How far a leaping swimmer gets above the water, in cells: no route may need a higher leap.
constexpr int32_t kLeapRows = 2;

// Whether a swimmer can be in the cell: free of terrain, and in the water or no higher above it than a leap.
bool swimmable(const LevelData& level, Cell c) {
    if (!level.collision.contains(c.col, c.row) || level.collision.get(c.col, c.row) != kShapeNone) return false;
    for (int32_t below = 0; below <= kLeapRows; ++below)
        if (level.substance.contains(c.col, c.row + below) &&
            level.substance.get(c.col, c.row + below) != kSubstanceAir)
            return true;
    return false;
}

// The cells a swimmer can reach from the start, moving between side neighbours.
std::vector<bool> reachable(const LevelData& level, Cell start) {
    const ByteGrid& solid = level.collision;
    std::vector<bool> seen(size_t(solid.cols()) * size_t(solid.rows()), false);
    std::queue<Cell> open;
    auto visit = [&](Cell c) {
        if (!swimmable(level, c)) return;
        const size_t at = size_t(c.col) + size_t(c.row) * size_t(solid.cols());
        if (seen[at]) return;
        seen[at] = true;
        open.push(c);
    };
    visit(start);
    while (!open.empty()) {
        const Cell c = open.front();
        open.pop();
        visit({c.col + 1, c.row});
        visit({c.col - 1, c.row});
        visit({c.col, c.row + 1});
        visit({c.col, c.row - 1});
    }
    return seen;
}

// What is drawn is what is felt: every terrain tile of the front layers carries its own collision shape, no
// collision cell lies where nothing is drawn, and the water under the drawn surface row is water.
void expectTerrainMatchesPicture(const LevelData& level, const TilePainter& painter) {
    const ByteGrid& shapes = level.collision;
    int mismatches = 0;
    for (int32_t row = 0; row < shapes.rows(); ++row)
        for (int32_t col = 0; col < shapes.cols(); ++col) {
            int32_t drawn = kShapeNone;
            for (int id : {kLayerFront1, kLayerFront2, kLayerFront3, kLayerFront4}) {
                const TileGrid& tiles = level.layers[size_t(id)].tiles;
                const TileBrush* brush =
                    tiles.contains(col, row) ? painter.findBrushOfTile(tiles.get(col, row)) : nullptr;
                if (brush && brush->group != 0) drawn = brush->shape;
            }
            if (shapes.get(col, row) != drawn && mismatches++ < 5)
                ADD_FAILURE() << "cell " << col << ", " << row << ": shape " << int(shapes.get(col, row)) << ", drawn "
                              << drawn;
        }
    const TileGrid& surface = level.layers[kLayerFront3].tiles;
    for (int32_t col = 0; col < surface.cols(); ++col)
        for (int32_t row = 0; row < surface.rows(); ++row)
            if (surface.get(col, row) == 1) {
                EXPECT_EQ(level.substance.get(col, row), kSubstanceTransition) << col << ", " << row;
                if (level.substance.contains(col, row + 1)) {
                    EXPECT_EQ(level.substance.get(col, row + 1), kSubstanceWater) << col << ", " << row + 1;
                }
                if (row > 0) {
                    EXPECT_EQ(level.substance.get(col, row - 1), kSubstanceAir) << col << ", " << row - 1;
                }
            }
}

// shipped: a level of the lists (the editor's default level is an Action level without Gold Radudods).
void expectPlayable(const LevelEntry& entry, int32_t mode, bool shipped = true) {
    SCOPED_TRACE(entry.path);
    LevelData level;
    ASSERT_TRUE(readLevelData(entry.path, level));
    EXPECT_EQ(level.goals.gameMode, mode);
    ASSERT_EQ(level.collision.cols(), level.layers[kLayerFront4].tiles.cols());
    const std::vector<std::unique_ptr<TileBrush>> brushes = buildTileBrushList();
    expectTerrainMatchesPicture(level, TilePainter(brushes));

    int players = 0;
    Cell start{};
    std::vector<Cell> hoops, gold;
    for (const PlacementFields& p : level.placements) {
        EXPECT_TRUE(p[1] >= 0 && p[1] <= level.levelWidth - 64 && p[2] >= 0 && p[2] <= level.levelHeight - 64);
        // Nothing is buried in rock: every placement stands in a cell that is at most partly solid.
        const Cell at = cellOf(p[1], p[2]);
        EXPECT_NE(level.collision.get(at.col, at.row), kShapeFull)
            << "kind " << p[0] << " at " << at.col << ", " << at.row;
        if (p[0] == kEntityZuzevir) ++players, start = cellOf(p[1], p[2]);
        if (p[0] == kEntityHoop) hoops.push_back(cellOf(p[1], p[2]));
        if (p[0] == kEntityGoldFish) gold.push_back(cellOf(p[1], p[2]));
    }
    ASSERT_EQ(players, 1);
    EXPECT_EQ(level.substance.get(start.col, start.row), kSubstanceWater);
    const std::vector<bool> open = reachable(level, start);
    auto canReach = [&](Cell c) {
        return level.collision.contains(c.col, c.row) &&
               open[size_t(c.col) + size_t(c.row) * size_t(level.collision.cols())];
    };
    // Walls close both sides: a swimmer that left the level would fall for ever outside its ground.
    for (int32_t row = 0; row < level.collision.rows(); ++row)
        EXPECT_FALSE(canReach({0, row}) || canReach({level.collision.cols() - 1, row})) << "open side at row " << row;
    if (mode == kGameModeAction) {
        EXPECT_TRUE(level.endLevelX >= 0 && level.endLevelX <= level.levelWidth - 64 && level.endLevelY >= 0 &&
                    level.endLevelY <= level.levelHeight - 64)
            << "the end marker lies outside the level";
        EXPECT_TRUE(canReach(cellOf(level.endLevelX, level.endLevelY)));
        if (shipped) {
            EXPECT_EQ(gold.size(), 5u) << "an Action level holds five Gold Radudods";
        }
        // Every Gold Radudod can be collected, so the all-Gold-Radudods mark can be earned.
        for (Cell g : gold) EXPECT_TRUE(canReach(g)) << "Gold Radudod at " << g.col << ", " << g.row;
    }
    if (mode == kGameModeRace) {
        EXPECT_GE(hoops.size(), 3u);
        for (Cell hoop : hoops) EXPECT_TRUE(canReach(hoop)) << hoop.col << ", " << hoop.row;
    }
}

// Each level file made its level, and the lists hold nothing else.
TEST(ShippedLevels, ListsHoldTheLevelOfEveryLevelFile) {
    setUpFolders();
    std::array<size_t, kLevelListKinds> files{};
    for (const std::string& file : shippedLevelFiles()) {
        int32_t kind = 0, index = 0;
        std::string error;
        ASSERT_TRUE(findShippedLevel(file, kind, index, error)) << error;
        ++files[size_t(kind)];
    }
    for (int32_t kind : {kListAction, kListStunt, kListRace}) {
        EXPECT_GE(files[size_t(kind)], 1u) << kind;
        EXPECT_EQ(LevelCatalogue.list(kind).size(), files[size_t(kind)]) << kind;
    }
    clearLevelCatalogue();
}

TEST(ShippedLevels, EveryListHoldsPlayableLevelsOfItsMode) {
    setUpFolders();
    buildLevelCatalogue();
    const std::pair<int32_t, int32_t> lists[] = {
        {kListAction, kGameModeAction}, {kListStunt, kGameModeStunt}, {kListRace, kGameModeRace}};
    for (auto [kind, mode] : lists)
        for (const LevelEntry& entry : LevelCatalogue.list(kind)) expectPlayable(entry, mode);
    expectPlayable({"default.lvl", getLevelsFolder() + "default.lvl"}, kGameModeAction, false);
    clearLevelCatalogue();
}

// Every level loads for play with its player; every entity it counts as an enemy can be destroyed, so that
// every enemy destroyed (100 %) can be earned.
TEST(ShippedLevels, EveryLevelLoadsForPlayWithEnemiesThatCanBeDestroyed) {
    setUpFolders();
    buildLevelCatalogue();
    createTileMap();
    buildCollisionShapes();
    createSpatialGrid();
    for (int32_t kind : {kListAction, kListStunt, kListRace})
        for (const LevelEntry& entry : LevelCatalogue.list(kind)) {
            SCOPED_TRACE(entry.path);
            ASSERT_TRUE(loadLevel(entry.path));
            ASSERT_NE(playerEntity, nullptr);
            EXPECT_EQ(tileMap.levelWidth, getTileLayer(kLayerFront4)->grid.cols() * 64.0);
            int enemies = 0;
            for (int32_t row = 0; row < spatialGrid->rows(); ++row)
                for (int32_t col = 0; col < spatialGrid->cols(); ++col)
                    for (const GF_Entity* e : spatialGrid->cell(col, row)) {
                        if (!e->countsAsEnemy) continue;
                        ++enemies;
                        // Kinds made to last (a health of 100000 or more, as the Robo Shark has) are never
                        // destroyed by damage.
                        EXPECT_LT(e->maxHealth, 100000) << "kind " << e->type << " counts as an enemy but never dies";
                    }
            EXPECT_EQ(enemies, LevelEnemyTotal);
        }
    destroySpatialGrid();
    freeRetiredPlayer();
    Placements.clearPlacements();
    freeCollisionShapes();
    releaseTileMap();
    clearLevelCatalogue();
}

} // namespace
