// The spatial grid: sizes and windows, filing, the pending list, clean-up, draw passes, contact pairs and the
// nearest-entity query.
#include "EntityWorld.h"

#include "EntityType.h"
#include "GF_EntityKinds.h"
#include "SpatialGrid.h"
#include "TargetLockList.h"
#include "TrickEvents.h"

#include <algorithm>
#include <cmath>

using SpatialGridTest = EntityWorld;

namespace {

bool has(const std::vector<std::string>& journal, const std::string& line) {
    return std::find(journal.begin(), journal.end(), line) != journal.end();
}

} // namespace

TEST_F(SpatialGridTest, SizesAndWindows) {
    SpatialGrid grid(10000, 5000, 800, 600);
    EXPECT_EQ(grid.cols(), 70);
    EXPECT_EQ(grid.rows(), 35);
    const GridWindow d = grid.drawWindow(), a = grid.activeWindow();
    EXPECT_EQ(d.firstCol, 0);
    EXPECT_EQ(d.lastCol, 7);
    EXPECT_EQ(d.firstRow, 0);
    EXPECT_EQ(d.lastRow, 6);
    EXPECT_EQ(a.lastCol, 13);
    EXPECT_EQ(a.lastRow, 11);
    SpatialGrid small(144, 144, 800, 600);
    EXPECT_EQ(small.cols(), 2);
    EXPECT_EQ(small.rows(), 2);
}

TEST_F(SpatialGridTest, AShotOutsideTheGridIsFlaggedAndDeletedAtUpkeep) {
    std::vector<std::string> journal;
    SpatialGrid grid(10000, 5000, 800, 600);
    auto* shot = new RecordingEntity(kEntityLaser1, -50, 300, &journal, "shot");
    grid.addEntityToCell(shot);
    EXPECT_EQ(grid.cell(0, 2).size(), 1u);
    EXPECT_TRUE(shot->removed);
    auto* fish = new RecordingEntity(kEntityLaserFish, -50, 300, &journal, "fish");
    grid.addEntityToCell(fish);
    EXPECT_FALSE(fish->removed); // only shots are flagged
    grid.maintainGrid();
    EXPECT_EQ(journal, (std::vector<std::string>{"shot deleted"}));
    EXPECT_EQ(grid.cell(0, 2).size(), 1u);
}

// A torpedo that leaves the grid's edge leaves the world at the upkeep: its lock on a target goes with it.
TEST_F(SpatialGridTest, AShotLeavingTheGridDropsItsTargetLock) {
    SpatialGrid grid(10000, 5000, 800, 600);
    targetLocks.clear();
    auto* fish = new RecordingEntity(kEntityLaserFish, 300, 300, nullptr, "fish");
    auto* torpedo = new GF_EntityTorpedo1(-50, 300, EntityVars{}, 0, 0, 0);
    grid.addEntityToCell(fish);
    grid.addEntityToCell(torpedo);
    addTargetLock(torpedo, fish);
    ASSERT_TRUE(torpedo->removed);
    grid.maintainGrid();
    EXPECT_TRUE(targetLocks.locks().empty());
}

// An entity flung far past the world (a placed velocity of millions of pixels per second), or to no number
// at all, still files into an edge cell and meets the terrain test without an undefined conversion.
TEST_F(SpatialGridTest, FarFlungPositionsFileIntoTheEdgeCells) {
    SpatialGrid grid(10000, 5000, 800, 600);
    const double far = 1e12, nan = std::nan("");
    struct Case {
        double x, y;
        int32_t col, row;
    } cases[] = {{far, far, 69, 34}, {-far, 300, 0, 2}, {nan, nan, 0, 0}, {300, -far, 2, 0}};
    for (const Case& c : cases) {
        auto* fish = new RecordingEntity(kEntityLaserFish, 0, 0, nullptr, "fish");
        fish->x = c.x;
        fish->y = c.y;
        grid.addEntityToCell(fish);
        EXPECT_EQ(grid.cell(c.col, c.row).back(), fish) << c.x << ", " << c.y;
        terrainContact(fish);
    }
    grid.setGridView(far, nan);
    EXPECT_EQ(grid.drawWindow().lastCol, 69);
    EXPECT_EQ(grid.drawWindow().firstRow, 0);
}

TEST_F(SpatialGridTest, PendingEntitiesAreFiledOnlyByTheFlush) {
    std::vector<std::string> journal;
    SpatialGrid grid(10000, 5000, 800, 600);
    auto* laser = new RecordingEntity(kEntityLaser1, 500, 500, &journal, "laser");
    grid.queueEntity(laser);
    EXPECT_TRUE(grid.cell(3, 3).empty());
    grid.updateGridEntities();
    EXPECT_DOUBLE_EQ(laser->age, 0); // not updated while pending
    grid.flushPendingEntities();
    EXPECT_TRUE(grid.pending().empty());
    ASSERT_EQ(grid.cell(3, 3).size(), 1u);
    grid.clear();
    EXPECT_TRUE(has(journal, "laser deleted"));
}

TEST_F(SpatialGridTest, EntitiesMoveToTheirNewCellAndTheRemovedPlayerIsOnlyLetGo) {
    std::vector<std::string> journal;
    SpatialGrid grid(10000, 5000, 800, 600);
    auto* fish = new RecordingEntity(kEntityLaserFish, 500, 500, &journal, "fish");
    grid.addEntityToCell(fish);
    fish->setPosition(700, 500);
    auto* player = new RecordingEntity(kEntityZuzevir, 300, 300, &journal, "player");
    setPlayerEntity(player);
    grid.addEntityToCell(player);
    player->removed = 1;
    grid.maintainGrid();
    EXPECT_TRUE(grid.cell(3, 3).empty());
    EXPECT_EQ(grid.cell(4, 3).size(), 1u);
    EXPECT_TRUE(grid.cell(2, 2).empty());
    EXPECT_FALSE(has(journal, "player deleted"));
    EXPECT_EQ(playerEntity, player);
    freeRetiredPlayer();
    EXPECT_TRUE(has(journal, "player deleted"));
    EXPECT_EQ(playerEntity, nullptr);
}

TEST_F(SpatialGridTest, ShotsLeavingTheActiveWindowGoEnemiesFreeze) {
    std::vector<std::string> journal;
    SpatialGrid grid(10000, 5000, 800, 600);
    grid.setGridView(3000, 1000); // active columns 20 - 1 - 6 = 13 ..
    const int ringCol = grid.activeWindow().firstCol - 1, row = grid.activeWindow().firstRow + 1;
    const double x = ringCol * 144 + 70, y = row * 144 + 70;
    grid.addEntityToCell(new RecordingEntity(kEntityLaser1, x, y, &journal, "shot"));
    grid.addEntityToCell(new RecordingEntity(kEntityLaserFish, x, y, &journal, "fish"));
    grid.maintainGrid();
    EXPECT_EQ(journal, (std::vector<std::string>{"shot deleted"}));
    EXPECT_EQ(grid.cell(ringCol, row).size(), 1u);
}

TEST_F(SpatialGridTest, DrawPassesSplitByTheFrontFlag) {
    std::vector<std::string> journal;
    SpatialGrid grid(10000, 5000, 800, 600);
    grid.addEntityToCell(new RecordingEntity(kEntityTurret, 100, 100, &journal, "turret")); // drawn in front
    grid.addEntityToCell(new RecordingEntity(kEntityLaserFish, 100, 100, &journal, "fish"));
    grid.addEntityToCell(new RecordingEntity(kEntityLaserFish, 5000, 100, &journal, "far"));
    grid.drawGridEntitiesBehind(0, 0);
    journal.push_back("-");
    grid.drawGridEntitiesInFront(0, 0);
    EXPECT_EQ(journal, (std::vector<std::string>{"fish draw", "-", "turret draw"}));
}

TEST_F(SpatialGridTest, NeighbouringCellsArePairedOnceWithTheNeighbourFirst) {
    std::vector<std::string> journal;
    SpatialGrid grid(10000, 5000, 800, 600);
    // Cells (3, 4) and (4, 3), touching at their shared corner.
    auto* fish = new RecordingEntity(kEntityLaserFish, 3 * 144 + 140, 4 * 144 + 4, &journal, "fish");
    auto* laser = new RecordingEntity(kEntityLaser1, 4 * 144 + 2, 4 * 144 - 2, &journal, "laser");
    grid.addEntityToCell(fish);
    grid.addEntityToCell(laser);
    ASSERT_EQ(&grid.cellOfEntity(laser), &grid.cell(4, 3));
    grid.collideGridEntities();
    EXPECT_EQ(journal, (std::vector<std::string>{"fish contact", "laser contact", "fish damage", "laser damage"}));
    journal.clear();
    grid.clear();
}

TEST_F(SpatialGridTest, PairsWithinACellHandTheLaterEntityFirst) {
    std::vector<std::string> journal;
    SpatialGrid grid(10000, 5000, 800, 600);
    grid.addEntityToCell(new RecordingEntity(kEntityLaserFish, 500, 500, &journal, "first"));
    grid.addEntityToCell(new RecordingEntity(kEntityLaser1, 500, 500, &journal, "second"));
    grid.collideGridEntities();
    EXPECT_EQ(journal.front(), "first contact");
    EXPECT_EQ(journal[2], "first damage");
}

TEST_F(SpatialGridTest, AllPairsInsideACellComeBeforeThePairsWithItsNeighbours) {
    // Enemy fish touch the player's kind and not each other; the player's kind does not touch itself. Three
    // in cell (3, 3), one in the cell to the right: the pairs inside the cell are each reported by the
    // earlier entity, then the neighbour, then the later one.
    std::vector<std::string> journal;
    SpatialGrid grid(10000, 5000, 800, 600);
    for (const auto& [type, name] : {std::pair{kEntityLaserFish, "fish1"}, std::pair{kEntityZuzevir, "dolphin1"},
                                     std::pair{kEntityLaserFish, "fish2"}})
        grid.addEntityToCell(new RecordingEntity(type, 3 * 144 + 100, 3 * 144 + 50, &journal, name));
    grid.addEntityToCell(new RecordingEntity(kEntityZuzevir, 4 * 144 + 10, 3 * 144 + 50, &journal, "dolphin2"));
    ASSERT_EQ(grid.cell(3, 3).size(), 3u);
    ASSERT_EQ(grid.cell(4, 3).size(), 1u);
    grid.collideGridEntities();
    std::vector<std::string> contacts;
    for (const std::string& line : journal)
        if (line.ends_with(" contact")) contacts.push_back(line.substr(0, line.size() - 8));
    EXPECT_EQ(contacts, (std::vector<std::string>{"fish1", "dolphin1",    // inside the cell
                                                  "dolphin1", "fish2",    // inside the cell
                                                  "fish1", "dolphin2",    // with the neighbour
                                                  "fish2", "dolphin2"})); // with the neighbour
    grid.clear();
}

TEST_F(SpatialGridTest, NearestTargetableEntity) {
    SpatialGrid grid(10000, 5000, 800, 600);
    EXPECT_EQ(grid.findNearestEntity(0, 0), nullptr);
    auto* a = new RecordingEntity(kEntityLaserFish, 400, 300, nullptr, "a");
    auto* b = new RecordingEntity(kEntityLaserFish, 200, 300, nullptr, "b");
    auto* tie = new RecordingEntity(kEntityLaserFish, 400, 500, nullptr, "tie");
    auto* notTarget = new RecordingEntity(kEntityGoldFish, 300, 300, nullptr, "gold");
    for (GF_Entity* e : {static_cast<GF_Entity*>(a), static_cast<GF_Entity*>(b), static_cast<GF_Entity*>(tie),
                         static_cast<GF_Entity*>(notTarget)})
        grid.addEntityToCell(e);
    EXPECT_EQ(grid.findNearestEntity(290, 300), b);
    b->dead = 1;
    EXPECT_EQ(grid.findNearestEntity(400, 400), a); // equal distances: the first met (column 2, row 2)
    EXPECT_EQ(grid.countLivingEnemies(), 3);
}

TEST_F(SpatialGridTest, ResizingKeepsTheSharedCells) {
    std::vector<std::string> journal;
    SpatialGrid grid(10000, 5000, 800, 600);
    grid.addEntityToCell(new RecordingEntity(kEntityLaserFish, 49 * 144 + 10, 34 * 144 + 10, &journal, "kept"));
    grid.addEntityToCell(new RecordingEntity(kEntityLaserFish, 50 * 144 + 10, 100, &journal, "lost"));
    grid.resize(50 * 144 - 1, 50 * 144 - 1);
    EXPECT_EQ(grid.cols(), 50);
    EXPECT_EQ(grid.rows(), 50);
    EXPECT_EQ(journal, (std::vector<std::string>{"lost deleted"}));
    EXPECT_EQ(grid.cell(49, 34).size(), 1u);
}

TEST_F(SpatialGridTest, AtTheGridsEdgeOnlyShotsOutsideTheLevelGo) {
    std::vector<std::string> journal;
    setLevelSize(2000, 1000);
    SpatialGrid grid(2000, 1000, 800, 600); // the active window reaches every edge
    grid.addEntityToCell(new RecordingEntity(kEntityLaser1, 100, 100, &journal, "inside"));
    grid.addEntityToCell(new RecordingEntity(kEntityLaser1, 1990, 100, &journal, "outside"));
    grid.maintainGrid();
    EXPECT_EQ(journal, (std::vector<std::string>{"outside deleted"}));
}
