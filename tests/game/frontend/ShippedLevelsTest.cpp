// The levels shipped in the data folder: each list holds its levels, every file loads, and every level is
// playable in its mode: one player start in open water, placements inside the level, and the end marker
// (Action) or every hoop (Race) reachable from the start through cells free of rock.
#include "CollisionShape.h"
#include "EntityType.h"
#include "FolderPaths.h"
#include "GF_Entity.h"
#include "LevelCatalogue.h"
#include "LevelFile.h"
#include "PlacementList.h"
#include "SpatialGrid.h"
#include "TileLayer.h"
#include "TileMap.h"

#include <gtest/gtest.h>
#include <queue>

namespace {

struct Cell {
    int32_t col, row;
};

Cell cellOf(double x, double y) {
    return {int32_t(x) / kTileSize, int32_t(y) / kTileSize};
}

// The cells free of rock that a swimmer can reach from the start, moving between side neighbours.
std::vector<bool> reachable(const LevelData& level, Cell start) {
    const ByteGrid& solid = level.collision;
    std::vector<bool> seen(size_t(solid.cols()) * size_t(solid.rows()), false);
    std::queue<Cell> open;
    auto visit = [&](Cell c) {
        if (!solid.contains(c.col, c.row) || solid.get(c.col, c.row) != kShapeNone) return;
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

void expectPlayable(const LevelEntry& entry, int32_t mode) {
    SCOPED_TRACE(entry.path);
    LevelData level;
    ASSERT_TRUE(readLevelData(entry.path, level));
    EXPECT_EQ(level.goals.gameMode, mode);
    ASSERT_EQ(level.collision.cols(), level.layers[kLayerFront4].tiles.cols());

    int players = 0;
    Cell start{};
    std::vector<Cell> hoops;
    for (const PlacementFields& p : level.placements) {
        EXPECT_TRUE(p[1] >= 0 && p[1] <= level.levelWidth - 64 && p[2] >= 0 && p[2] <= level.levelHeight - 64);
        if (p[0] == kEntityZuzevir) ++players, start = cellOf(p[1], p[2]);
        if (p[0] == kEntityHoop) hoops.push_back(cellOf(p[1], p[2]));
    }
    ASSERT_EQ(players, 1);
    EXPECT_EQ(level.substance.get(start.col, start.row), kSubstanceWater);
    const std::vector<bool> open = reachable(level, start);
    auto canReach = [&](Cell c) {
        return level.collision.contains(c.col, c.row) &&
               open[size_t(c.col) + size_t(c.row) * size_t(level.collision.cols())];
    };
    if (mode == kGameModeAction) {
        EXPECT_TRUE(canReach(cellOf(level.endLevelX, level.endLevelY)));
    }
    if (mode == kGameModeRace) {
        EXPECT_GE(hoops.size(), 3u);
        for (Cell hoop : hoops) EXPECT_TRUE(canReach(hoop)) << hoop.col << ", " << hoop.row;
    }
}

TEST(ShippedLevels, EveryListHoldsPlayableLevelsOfItsMode) {
    setUpFolders();
    buildLevelCatalogue();
    const std::pair<int32_t, int32_t> lists[] = {
        {kListAction, kGameModeAction}, {kListStunt, kGameModeStunt}, {kListRace, kGameModeRace}};
    for (auto [kind, mode] : lists) {
        EXPECT_GE(LevelCatalogue.list(kind).size(), 2u) << kind;
        for (const LevelEntry& entry : LevelCatalogue.list(kind)) expectPlayable(entry, mode);
    }
    expectPlayable({"default.lvl", getLevelsFolder() + "default.lvl"}, kGameModeAction);
    clearLevelCatalogue();
}

TEST(ShippedLevels, EveryLevelLoadsForPlayWithItsPlayerAndEnemies) {
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
            // The first Action level teaches swimming only; the others hold enemies.
            if (kind == kListAction && &entry != &LevelCatalogue.list(kind).front()) {
                EXPECT_GE(LevelEnemyTotal, 3);
            }
            if (kind == kListRace) {
                EXPECT_EQ(RequiredHoops, 8);
            }
        }
    destroySpatialGrid();
    freeRetiredPlayer();
    Placements.clearPlacements();
    freeCollisionShapes();
    releaseTileMap();
    clearLevelCatalogue();
}

} // namespace
