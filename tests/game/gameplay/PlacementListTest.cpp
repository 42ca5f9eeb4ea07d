// The placement list: edits, the Gold Radudod limit, picking, pruning, the player start and spawning.
#include "EntityWorld.h"

#include "CheatList.h"
#include "EntityType.h"
#include "PlacementList.h"
#include "SpatialGrid.h"

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
    PlacementList list;
    list.addPlacement(kEntityMine, 2000 - 64, 1000 - 64);
    list.addPlacement(kEntityMine, 2000 - 63, 0);
    list.addPlacement(kEntityMine, 0, -1);
    list.prunePlacements(2000, 1000);
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.records()[0]->x, 2000 - 64);
}

TEST_F(PlacementListTest, PlayerStartIsAddedOnlyWhenMissing) {
    PlacementList list;
    list.ensurePlayerStart();
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.records()[0]->x, 500);
    EXPECT_EQ(list.records()[0]->y, 1000);
    list.ensurePlayerStart();
    EXPECT_EQ(list.count(), 1);
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
