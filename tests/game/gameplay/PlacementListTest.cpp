// The placement list: edits, the Gold Radudod limit, picking, pruning, the player start and spawning.
#include "EntityWorld.h"

#include "CheatList.h"
#include "EntityType.h"
#include "PlacementList.h"
#include "SpatialGrid.h"

#include <utility>
#include <vector>

using PlacementListTest = EntityWorld;

TEST_F(PlacementListTest, FieldsRoundTripInFileOrder) {
    const PlacementFields fields{3, 10, 20, -5, 6, 270, 1, 2, 3, 4, 5, 6, 7, -8};
    const EntityPlacement record = EntityPlacement::fromFields(fields);
    EXPECT_EQ(record.type, 3);
    EXPECT_EQ(record.rotation, 270);
    EXPECT_EQ(record.vars[7], -8);
    EXPECT_EQ(record.fields(), fields);
    PlacementList list;
    list.addPlacement(kEntityMine, 1, 2);
    list.assignFields({fields, PlacementFields{}});
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.fieldList()[0], fields);
    EXPECT_EQ(list.records()[1]->type, 0);
}

TEST_F(PlacementListTest, EditsLimitsAndPicking) {
    PlacementList list;
    for (int i = 0; i < 5; i++) EXPECT_NE(list.addPlacement(kEntityGoldFish, i * 100, 0), nullptr);
    EXPECT_EQ(list.addPlacement(kEntityGoldFish, 900, 0), nullptr);
    EXPECT_EQ(list.countGoldZuzevirPlacements(), 5);
    list.appendPlacement(EntityPlacement{kEntityGoldFish}); // a file may hold more
    EXPECT_EQ(list.countGoldZuzevirPlacements(), 6);
    EntityPlacement* first = list.addPlacement(kEntityHoop, 1000, 1000);
    list.addPlacement(kEntityHoop, 1010, 1000);
    EXPECT_EQ(list.countHoopPlacements(), 2);
    EXPECT_EQ(list.findPlacementNear(1005, 1000), first);
    EXPECT_EQ(list.findPlacementNear(1000, 1025), nullptr); // 25 is not closer than 25
    list.deletePlacement(first);
    EXPECT_EQ(list.countHoopPlacements(), 1);
    list.clearPlacements();
    EXPECT_EQ(list.count(), 0);
}

TEST_F(PlacementListTest, PruningKeepsTheLastCellOrigin) {
    const struct {
        double width, height;
        std::vector<std::pair<int32_t, int32_t>> spots, kept;
    } cases[] = {
        // x = width - 64 stays, width - 63 goes; nothing left of or above the level stays.
        {1000, 600, {{936, 536}, {937, 0}, {0, 537}, {-1, 0}, {0, -1}, {0, 0}}, {{936, 536}, {0, 0}}},
        {2000, 1000, {{2000 - 64, 1000 - 64}, {2000 - 63, 0}, {0, -1}}, {{2000 - 64, 1000 - 64}}},
        // A side shorter than a tile keeps what lies at its start.
        {40, 30, {{0, 0}, {1, 0}, {0, 1}, {-1, 0}}, {{0, 0}}},
    };
    for (const auto& c : cases) {
        PlacementList list;
        for (auto [x, y] : c.spots) list.addPlacement(kEntityMine, x, y);
        list.prunePlacements(c.width, c.height);
        std::vector<std::pair<int32_t, int32_t>> kept;
        for (const auto& record : list.records()) kept.emplace_back(record->x, record->y);
        EXPECT_EQ(kept, c.kept) << c.width << " x " << c.height;
    }
}

TEST_F(PlacementListTest, PlayerStartIsAddedOnlyWhenMissingAndWhereALevelKeepsIt) {
    const struct {
        double width, height;
        int32_t x, y;
    } cases[] = {
        {10000, 5000, 500, 1000}, {1064, 1064, 500, 1000}, {1063, 1063, 500, 999},
        {800, 600, 500, 536},     {500, 300, 436, 236},    {40, 30, 0, 0},
    };
    for (const auto& c : cases) {
        PlacementList list;
        list.ensurePlayerStart(c.width, c.height);
        ASSERT_EQ(list.count(), 1);
        EXPECT_EQ(list.records()[0]->type, kEntityZuzevir);
        EXPECT_EQ(list.records()[0]->x, c.x) << c.width << " x " << c.height;
        EXPECT_EQ(list.records()[0]->y, c.y) << c.width << " x " << c.height;
        list.prunePlacements(c.width, c.height);
        EXPECT_EQ(list.count(), 1) << "the start survives the save's pruning";
        list.ensurePlayerStart(c.width, c.height);
        EXPECT_EQ(list.count(), 1);
    }
}

TEST_F(PlacementListTest, SpawningFilesIntoCellsAndCountsEnemies) {
    PlacementList list;
    list.addPlacement(kEntityZuzevir, 500, 1000);
    list.addPlacement(kEntityLaserFish, 700, 300);
    list.addPlacement(kEntityDrone, 700, 300);
    list.addPlacement(kEntityMine, 800, 300); // not counted as an enemy
    list.addPlacement(30, 800, 300);          // no such kind
    SpatialGrid grid(10000, 5000, 800, 600);
    EXPECT_EQ(list.spawnAllPlacements(grid), 2);
    EXPECT_EQ(grid.cell(4, 2).size(), 2u);
    EXPECT_EQ(grid.cell(5, 2).size(), 1u);
    EXPECT_EQ(grid.countLivingEnemies(), 2);
    EXPECT_EQ(list.count(), 5); // spawning never changes the list
    // A second spawn empties the grid first.
    EXPECT_EQ(list.spawnAllPlacements(grid), 2);
    EXPECT_EQ(grid.cell(4, 2).size(), 2u);
}

TEST_F(PlacementListTest, NoEnemiesSpawnsOnlyThePlayerGoldAndOrnaments) {
    buildCheatList();
    setCheatOn(kCheatNoEnemies, true);
    PlacementList list;
    for (int i = 0; i < 40; i++) list.addPlacement(kEntityLaserFish, 100 + i * 10, 300);
    list.addPlacement(kEntityZuzevir, 500, 1000);
    list.addPlacement(kEntityGoldFish, 600, 1000);
    list.addPlacement(kEntityOrnament, 700, 1000);
    SpatialGrid grid(10000, 5000, 800, 600);
    EXPECT_EQ(list.spawnAllPlacements(grid), 0);
    EXPECT_EQ(grid.countLivingEnemies(), 0);
    int total = 0;
    for (int c = 0; c < grid.cols(); c++)
        for (int r = 0; r < grid.rows(); r++) total += int(grid.cell(c, r).size());
    EXPECT_EQ(total, 3);
    freeCheatList();
}
