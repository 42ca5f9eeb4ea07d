// The ".lvl" file: a written level compared byte for byte with one built by hand, read-back round trips,
// version 0 files, the widening of the back layers, damaged and mutated files failing cleanly, and the
// level model changing only after a whole file has been read.
#include "LevelFile.h"
#include "../framework/TempUserFolder.h"
#include "Camera.h"
#include "CollisionShape.h"
#include "EntityType.h"
#include "FileBuilder.h"
#include "GF_Entity.h"
#include "GoldZuzevirMeter.h"
#include "KRandom.h"
#include "LevelCatalogue.h"
#include "PlacementList.h"
#include "SaveFiles.h"
#include "SpatialGrid.h"
#include "TargetLockList.h"
#include "TileLayer.h"
#include "TileMap.h"
#include "TileSetTable.h"
#include "TrickEvents.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

template <typename Code> bool sameGrid(const CellGrid<Code>& a, const CellGrid<Code>& b) {
    return a.cols() == b.cols() && a.rows() == b.rows() &&
           std::equal(a.data(), a.data() + size_t(a.cols()) * size_t(a.rows()), b.data());
}

// Field by field, so that a failure names what differs.
::testing::AssertionResult sameLevel(const LevelData& a, const LevelData& b) {
    auto differs = [](const char* what) { return ::testing::AssertionFailure() << what << " differs"; };
    if (a.version != b.version) return differs("version");
    if (a.tileSet != b.tileSet) return differs("tile set");
    for (size_t i = 0; i < a.layers.size(); ++i)
        if (!sameGrid(a.layers[i].tiles, b.layers[i].tiles) || a.layers[i].clipBelowY != b.layers[i].clipBelowY ||
            a.layers[i].clipAboveY != b.layers[i].clipAboveY)
            return differs("a tile layer");
    if (!sameGrid(a.collision, b.collision)) return differs("collision grid");
    if (!sameGrid(a.substance, b.substance)) return differs("substance grid");
    if (a.levelWidth != b.levelWidth || a.levelHeight != b.levelHeight || a.clipLevel != b.clipLevel)
        return differs("size or clip level");
    if (a.boundsLeft != b.boundsLeft || a.boundsRight != b.boundsRight || a.boundsTop != b.boundsTop ||
        a.boundsBottom != b.boundsBottom)
        return differs("bounds");
    if (a.placements != b.placements) return differs("placement list");
    if (a.endLevelX != b.endLevelX || a.endLevelY != b.endLevelY) return differs("end marker");
    if (!(a.goals == b.goals)) return differs("goals");
    return ::testing::AssertionSuccess();
}

// Layer i is (18 wide for the two back layers, 3 otherwise) x 2, with code 10 + i at (0, 0) and 5 in the last
// column of row 1; back-layer rows end in a tile at column 17 so that reading them back widens nothing.
constexpr int32_t layerCols(int layer) {
    return layer < 2 ? 18 : 3;
}

LevelData sampleLevel() {
    LevelData level;
    level.tileSet = 2;
    for (int i = 0; i < kTileLayerCount; ++i) {
        LevelLayerData& layer = level.layers[size_t(i)];
        layer.tiles.reset(layerCols(i), 2);
        layer.tiles.set(0, 0, uint16_t(10 + i));
        layer.tiles.set(layerCols(i) - 1, 0, uint16_t(i < 2 ? 214 : 0));
        layer.tiles.set(layerCols(i) - 1, 1, 5);
        layer.clipBelowY = 100.0 + i;
        layer.clipAboveY = i == 3 ? 250.5 : -1.0;
    }
    level.collision.reset(2, 1);
    level.collision.set(0, 0, 1);
    level.collision.set(1, 0, 13);
    level.substance.reset(2, 1);
    level.substance.set(1, 0, 2);
    level.levelWidth = 1280.0;
    level.levelHeight = 640.0;
    level.clipLevel = 320.0;
    level.boundsLeft = -5;
    level.boundsRight = 1200;
    level.boundsTop = 7;
    level.boundsBottom = 600;
    level.placements.push_back({0, 500, 300, 1, 2, 90, 1, 2, 3, 4, 5, 6, 7, -8});
    level.placements.push_back({24, 700, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    level.endLevelX = 1100.25;
    level.endLevelY = 400.0;
    level.goals.medalTimes = {30.0, 25.5, 21.0};
    level.goals.medalScores = {500, 1500, 4000};
    level.goals.timeLimit = 90.0;
    level.goals.gameMode = kGameModeRace;
    return level;
}

// The same level, written field by field. Version 0 stops after the end marker.
FileBuilder sampleFile(int32_t version = 1) {
    FileBuilder file;
    file.int32(version).int32(2);
    for (int i = 0; i < kTileLayerCount; ++i) {
        const int32_t cols = layerCols(i);
        file.int32(cols).int32(2);
        for (int32_t col = 0; col < cols; ++col)
            file.uint16(col == 0 ? uint16_t(10 + i) : col == cols - 1 && i < 2 ? 214 : 0);
        for (int32_t col = 0; col < cols; ++col) file.uint16(col == cols - 1 ? 5 : 0);
        file.real(100.0 + i).real(i == 3 ? 250.5 : -1.0);
    }
    file.int32(2).int32(1).uint8(1).uint8(13);
    file.int32(2).int32(1).uint8(0).uint8(2);
    file.real(1280.0).real(640.0).real(320.0);
    file.int32(-5).int32(1200).int32(7).int32(600);
    file.int32(2);
    for (int32_t v : {0, 500, 300, 1, 2, 90, 1, 2, 3, 4, 5, 6, 7, -8}) file.int32(v);
    for (int32_t v : {24, 700, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}) file.int32(v);
    file.real(1100.25).real(400.0);
    if (version >= 1) file.real(30.0).real(25.5).real(21.0).int32(500).int32(1500).int32(4000).real(90.0).int32(2);
    return file;
}

bool parse(const Bytes& bytes, LevelData& out, std::string& error) {
    return parseLevelFile(bytes.data(), bytes.size(), out, error);
}

TEST(LevelFile, WrittenLevelMatchesTheFileBuiltByHand) {
    TempUserFolder user;
    const Bytes expected = sampleFile().bytes;
    EXPECT_EQ(encodeLevelFile(sampleLevel()), expected);

    LevelData level = sampleLevel();
    level.version = 0;
    const std::string path = getCustomLevelsFolder() + "Golden.lvl";
    ASSERT_TRUE(writeLevelData(path, level));
    EXPECT_EQ(fileBytes(path), expected);
    EXPECT_EQ(level.version, 1);
    EXPECT_TRUE(temporariesBeside(path).empty());
}

TEST(LevelFile, ReadBackGivesTheSameLevelAndTheSizeFollowsTheCounts) {
    const LevelData original = sampleLevel();
    const Bytes bytes = encodeLevelFile(original);
    // 8 + the layers (each 8 + 2 x cells + 16) + the byte grids (each 8 + cells) + 24 + 16 + 4 + 56 x 2
    // + 16 + 48.
    const size_t layers = 2 * (8 + 2 * 36 + 16) + 6 * (8 + 2 * 6 + 16);
    EXPECT_EQ(bytes.size(), 8 + layers + 2 * (8 + 2) + 24 + 16 + 4 + 56 * 2 + 16 + 48);

    LevelData read;
    std::string error;
    ASSERT_TRUE(parse(bytes, read, error)) << error;
    EXPECT_TRUE(sameLevel(read, original));
    EXPECT_EQ(encodeLevelFile(read), bytes);
}

TEST(LevelFile, VersionZeroFileLoadsWithDefaultGoalsAndIsSavedFortyEightBytesLonger) {
    const Bytes old = sampleFile(/*version=*/0).bytes;
    LevelData read;
    read.goals.gameMode = kGameModeStunt; // replaced by the defaults, not kept
    std::string error;
    ASSERT_TRUE(parse(old, read, error)) << error;
    EXPECT_EQ(read.version, 0);
    EXPECT_EQ(read.goals, LevelGoals{});
    EXPECT_EQ(read.goals.medalTimes, (std::array<double, 3>{20.0, 18.0, 17.0}));
    EXPECT_EQ(read.goals.medalScores, (std::array<int32_t, 3>{1000, 2000, 3000}));
    EXPECT_EQ(read.goals.timeLimit, 60.0);
    EXPECT_EQ(read.goals.gameMode, kGameModeAction);
    EXPECT_EQ(encodeLevelFile(read).size(), old.size() + 48);

    // Any version above 1 reads like 1, any below 0 like 0.
    Bytes later = sampleFile(7).bytes, earlier = sampleFile(-2).bytes;
    ASSERT_TRUE(parse(later, read, error)) << error;
    EXPECT_EQ(read.goals.gameMode, kGameModeRace);
    ASSERT_TRUE(parse(earlier, read, error)) << error;
    EXPECT_EQ(read.goals.gameMode, kGameModeAction);
}

// Builds a file whose Back Air layer (or, with midLayer, its Mid Water layer) is 10 x 3 with the given rows.
Bytes fileWithNarrowLayer(const std::array<std::array<uint16_t, 10>, 3>& rows, int narrowLayer) {
    FileBuilder file;
    file.int32(1).int32(4);
    for (int i = 0; i < kTileLayerCount; ++i) {
        if (i == narrowLayer) {
            file.int32(10).int32(3);
            for (const auto& row : rows)
                for (uint16_t code : row) file.uint16(code);
        } else {
            file.int32(0).int32(0);
        }
        file.real(-1.0).real(-1.0);
    }
    file.int32(0).int32(0).int32(0).int32(0);
    file.real(10000.0).real(5000.0).real(1500.0).int32(0).int32(10000).int32(0).int32(5000);
    file.int32(0).real(0.0).real(0.0);
    file.real(20.0).real(18.0).real(17.0).int32(1000).int32(2000).int32(3000).real(60.0).int32(0);
    return file.bytes;
}

TEST(LevelFile, NarrowBackLayersAreWidenedAndTheirRowsContinued) {
    const std::array<std::array<uint16_t, 10>, 3> rows = {{
        {1, 0, 0, 0, 0, 0, 0, 0, 215, 214}, // an alternating sky strip keeps alternating
        {0, 0, 0, 7, 0, 0, 0, 0, 0, 0},     // the last tile repeats to the edge
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},     // an empty row stays empty
    }};
    LevelData read;
    std::string error;
    ASSERT_TRUE(parse(fileWithNarrowLayer(rows, /*Back Air*/ 1), read, error)) << error;
    const auto& tiles = read.layers[1].tiles;
    ASSERT_EQ(tiles.cols(), 18);
    ASSERT_EQ(tiles.rows(), 3);
    EXPECT_EQ(tiles.get(8, 0), 215);
    EXPECT_EQ(tiles.get(9, 0), 214);
    for (int32_t col = 10; col < 18; ++col) EXPECT_EQ(tiles.get(col, 0), col % 2 == 0 ? 215 : 214) << col;
    for (int32_t col = 3; col < 18; ++col) EXPECT_EQ(tiles.get(col, 1), 7) << col;
    for (int32_t col = 0; col < 18; ++col) EXPECT_EQ(tiles.get(col, 2), 0) << col;
    EXPECT_EQ(read.layers[0].tiles.cols(), 18); // an empty Back Water layer is widened too, with no rows

    ASSERT_TRUE(parse(fileWithNarrowLayer(rows, /*Mid Water*/ 2), read, error)) << error;
    EXPECT_EQ(read.layers[2].tiles.cols(), 10);
    EXPECT_EQ(read.layers[2].tiles.get(9, 0), 214);
}

TEST(LevelFile, NegativePlacementCountMeansNoPlacements) {
    FileBuilder file;
    file.int32(/*version=*/0).int32(0);
    for (int i = 0; i < kTileLayerCount; ++i) file.int32(0).int32(0).real(-1.0).real(-1.0);
    file.int32(0).int32(0).int32(0).int32(0);
    file.real(640.0).real(640.0).real(0.0).int32(0).int32(640).int32(0).int32(640);
    file.int32(-3).real(64.0).real(128.0);
    LevelData read;
    std::string error;
    ASSERT_TRUE(parse(file.bytes, read, error)) << error;
    EXPECT_TRUE(read.placements.empty());
    EXPECT_EQ(read.endLevelX, 64.0);
    EXPECT_EQ(read.endLevelY, 128.0);
}

// The offset of each section of the sample file, for the damage table.
constexpr size_t kFirstLayerOffset = 8;
size_t collisionOffset() {
    return 8 + 2 * (8 + 72 + 16) + 6 * (8 + 12 + 16);
}
size_t sizeOffset() {
    return collisionOffset() + 2 * (8 + 2);
}
size_t placementsOffset() {
    return sizeOffset() + 24 + 16;
}

void poke32(Bytes& bytes, size_t at, int32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = static_cast<unsigned char>(uint32_t(value) >> (8 * i));
}
void pokeReal(Bytes& bytes, size_t at, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, 8);
    for (int i = 0; i < 8; ++i) bytes[at + size_t(i)] = static_cast<unsigned char>(bits >> (8 * i));
}

TEST(LevelFile, EveryTruncationFailsAndLeavesTheLevelAlone) {
    const Bytes whole = sampleFile().bytes;
    const LevelData sentinel = sampleLevel();
    for (size_t size = 0; size < whole.size(); ++size) {
        LevelData out = sentinel;
        std::string error;
        const Bytes cut(whole.begin(), whole.begin() + std::ptrdiff_t(size));
        ASSERT_FALSE(parse(cut, out, error)) << "cut at " << size;
        EXPECT_NE(error.find("ends early"), std::string::npos) << size << ": " << error;
        EXPECT_TRUE(sameLevel(out, sentinel)) << size;
    }
}

TEST(LevelFile, DamagedFieldsFailWithTheirReason) {
    struct Case {
        const char* name;
        std::function<void(Bytes&)> damage;
        const char* reason;
    };
    const size_t midWaterSize = kFirstLayerOffset + 2 * (8 + 72 + 16);
    const std::vector<Case> cases = {
        {"tile set 5", [](Bytes& b) { poke32(b, 4, 5); }, "unknown tile set at byte 4"},
        {"tile set -1", [](Bytes& b) { poke32(b, 4, -1); }, "unknown tile set"},
        {"negative columns", [](Bytes& b) { poke32(b, kFirstLayerOffset, -1); }, "bad grid size"},
        {"negative rows", [&](Bytes& b) { poke32(b, midWaterSize + 4, -2); }, "bad grid size"},
        {"huge columns", [](Bytes& b) { poke32(b, kFirstLayerOffset, INT32_MAX); }, "bad grid size"},
        {"more columns than a grid holds", [](Bytes& b) { poke32(b, kFirstLayerOffset, 2049); }, "bad grid size"},
        {"grid larger than the file",
         [&](Bytes& b) {
             poke32(b, midWaterSize, 2048);
             poke32(b, midWaterSize + 4, 2048);
         },
         "ends early"},
        {"tile code 301", [](Bytes& b) { b[kFirstLayerOffset + 8] = 0x2d, b[kFirstLayerOffset + 9] = 0x01; },
         "tile code out of range"},
        {"collision code 14", [](Bytes& b) { b[collisionOffset() + 8] = 14; }, "collision code"},
        {"substance code 3", [](Bytes& b) { b[collisionOffset() + 10 + 8] = 3; }, "substance code"},
        {"clip line not a number",
         [](Bytes& b) { pokeReal(b, kFirstLayerOffset + 8 + 72, std::numeric_limits<double>::quiet_NaN()); },
         "clip line"},
        {"infinite level width", [](Bytes& b) { pokeReal(b, sizeOffset(), std::numeric_limits<double>::infinity()); },
         "level width"},
        {"negative level height", [](Bytes& b) { pokeReal(b, sizeOffset() + 8, -64.0); }, "level size"},
        {"level wider than the grids hold", [](Bytes& b) { pokeReal(b, sizeOffset(), 131072.5); }, "level size"},
        {"huge placement count", [](Bytes& b) { poke32(b, placementsOffset(), INT32_MAX); }, "ends early"},
        {"one placement too many", [](Bytes& b) { poke32(b, placementsOffset(), 3); }, "ends early"},
        {"game mode 3", [](Bytes& b) { poke32(b, b.size() - 4, 3); }, "unknown game mode"},
        {"time limit not a number",
         [](Bytes& b) { pokeReal(b, b.size() - 12, std::numeric_limits<double>::quiet_NaN()); }, "time limit"},
    };
    const LevelData sentinel = sampleLevel();
    for (const Case& c : cases) {
        Bytes bytes = sampleFile().bytes;
        c.damage(bytes);
        LevelData out = sentinel;
        std::string error;
        EXPECT_FALSE(parse(bytes, out, error)) << c.name;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
        EXPECT_TRUE(sameLevel(out, sentinel)) << c.name;
    }
}

TEST(LevelFile, MutatedFilesNeverCrashAndWhatParsesWritesBackTheSame) {
    const Bytes original = sampleFile().bytes;
    kSrand(20261210);
    int parsed = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes bytes = original;
        const int flips = 1 + kRand() % 4;
        for (int i = 0; i < flips; ++i) bytes[size_t(kRand()) * 7919 % bytes.size()] = uint8_t(kRand() & 0xff);
        if (kRand() % 8 == 0) bytes.resize(size_t(kRand()) % bytes.size());
        LevelData level;
        std::string error;
        if (!parse(bytes, level, error)) {
            EXPECT_FALSE(error.empty());
            continue;
        }
        ++parsed;
        level.version = 1; // the writer always writes version 1
        const Bytes again = encodeLevelFile(level);
        LevelData reread;
        ASSERT_TRUE(parse(again, reread, error)) << "round " << round << ": " << error;
        EXPECT_TRUE(sameLevel(reread, level)) << "round " << round;
    }
    EXPECT_GT(parsed, 100); // most single-byte changes fall on values any level may hold
}

class LevelModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        currentTileSet = kTileSetAlien;
        createTileMap();
        buildCollisionShapes();
        createSpatialGrid();
        Placements.clearPlacements();
        good = getCustomLevelsFolder() + "Good.lvl";
        const Bytes bytes = sampleFile().bytes;
        std::ofstream(good, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
    }
    void TearDown() override {
        destroySpatialGrid();
        freeRetiredPlayer();
        Placements.clearPlacements();
        freeCollisionShapes();
        releaseTileMap();
        currentTileSet = kTileSetAlien;
        CurrentLevelGoals = LevelGoals{};
        clearLevelCatalogue();
        resetGoldZuzevirMeter();
    }
    TempUserFolder user;
    std::string good;
};

TEST_F(LevelModelTest, LoadFillsTheModelAndADamagedFileChangesNothing) {
    const std::string bad = getCustomLevelsFolder() + "Bad.lvl";
    const Bytes bytes = sampleFile().bytes;
    std::ofstream(bad, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size() - 3));

    PassedHoops = 5;
    goldZuzevirMeter.count = 3; // the last level's meter, still in view
    goldZuzevirMeter.showing = 1;
    goldZuzevirMeter.slide = goldZuzevirMeter.drawnY = GoldZuzevirMeter::kShownY;
    ASSERT_TRUE(loadLevel(good));
    EXPECT_EQ(PassedHoops, 0);
    EXPECT_EQ(goldZuzevirMeter.count, 0);
    EXPECT_FALSE(goldZuzevirMeter.showing);
    EXPECT_EQ(goldZuzevirMeter.slide, GoldZuzevirMeter::kHiddenY);
    EXPECT_EQ(RequiredHoops, 1);
    EXPECT_EQ(currentTileSet, kTileSetSnow);
    EXPECT_EQ(tileMap.levelWidth, 1280.0);
    EXPECT_EQ(tileMap.levelHeight, 640.0);
    EXPECT_EQ(tileMap.clipLevel, 320.0);
    EXPECT_EQ(tileMap.boundsLeft, -5);
    EXPECT_EQ(tileMap.boundsBottom, 600);
    EXPECT_TRUE(tileMap.levelLoaded);
    // Front 1 is fitted to the level (20 x 10 cells, at least the screen's 14 x 11) keeping the file's cells.
    const TileLayer& front = *getTileLayer(kLayerFront1);
    EXPECT_EQ(front.grid.cols(), 20);
    EXPECT_EQ(front.grid.rows(), 11);
    EXPECT_EQ(front.grid.get(0, 0), 14);
    EXPECT_EQ(front.grid.get(2, 1), 5);
    EXPECT_EQ(front.clipBelowY, 104.0);
    EXPECT_EQ(getTileLayer(kLayerMidAir)->clipAboveY, 250.5);
    EXPECT_EQ(tileMap.collisionGrid.get(1, 0), 13);
    EXPECT_EQ(tileMap.substanceGrid.get(1, 0), 2);
    EXPECT_EQ(Placements.fieldList(), sampleLevel().placements);
    EXPECT_EQ(CurrentLevelGoals, sampleLevel().goals);
    EXPECT_EQ(EndLevelX, 1100.25);
    // The player and the hoop are spawned; neither counts as an enemy.
    ASSERT_NE(playerEntity, nullptr);
    EXPECT_EQ(playerEntity->x, 500.0);
    EXPECT_EQ(LevelEnemyTotal, 0);

    goldZuzevirMeter.count = 2;
    EXPECT_FALSE(loadLevel(bad));
    EXPECT_FALSE(loadLevel(getCustomLevelsFolder() + "Missing.lvl"));
    EXPECT_EQ(tileMap.levelWidth, 1280.0);
    EXPECT_EQ(getTileLayer(kLayerFront1)->grid.get(0, 0), 14);
    EXPECT_EQ(Placements.count(), 2);
    EXPECT_EQ(CurrentLevelGoals.gameMode, kGameModeRace);
    EXPECT_EQ(goldZuzevirMeter.count, 2) << "a level that does not load leaves the running one's count";

    // The editor's load spawns nothing: the spatial grid keeps what it had.
    GF_Entity* player = playerEntity;
    ASSERT_TRUE(loadLevelFileForEditor(good));
    EXPECT_EQ(playerEntity, player);
}

TEST_F(LevelModelTest, ALoadLetsGoOfTheCameraSubjectAndTheLocksOfTheLastLevel) {
    ASSERT_TRUE(loadLevel(good));
    ASSERT_NE(playerEntity, nullptr);
    EXPECT_EQ(getCameraTarget(), playerEntity);
    addTargetLock(playerEntity, playerEntity); // any two entities of this level

    // A level without a player: nothing is followed any more and no lock names an entity of the last level.
    LevelData level = sampleLevel();
    level.placements.erase(level.placements.begin());
    const std::string empty = getCustomLevelsFolder() + "NoPlayer.lvl";
    ASSERT_TRUE(writeLevelData(empty, level));
    ASSERT_TRUE(loadLevel(empty));
    EXPECT_EQ(playerEntity, nullptr);
    EXPECT_EQ(getCameraTarget(), nullptr);
    EXPECT_TRUE(targetLocks.locks().empty());
    updateCamera(1.0 / 60, 400, 300);
}

TEST_F(LevelModelTest, SavingWritesTheModelPrunesItAndListsTheLevelAtOnce) {
    ASSERT_TRUE(loadLevelFileForEditor(good));
    Placements.addPlacement(kEntityMine, 1280 - 63, 10);
    getTileLayer(kLayerFront4)->grid.set(19, 10, 77);
    buildLevelCatalogue();
    ASSERT_EQ(LevelCatalogue.list(kListCustom).size(), 1u); // Good.lvl

    const std::string path = getCustomLevelsFolder() + "05.New.lvl";
    ASSERT_TRUE(saveLevelFileForEditor(path));
    LevelData written;
    ASSERT_TRUE(readLevelData(path, written));
    EXPECT_EQ(written.tileSet, kTileSetSnow);
    EXPECT_EQ(written.levelWidth, 1280.0);
    EXPECT_EQ(written.layers[kLayerFront4].tiles.cols(), 20); // the size the tile map gave the layer
    EXPECT_EQ(written.layers[kLayerFront4].tiles.get(19, 10), 77);
    EXPECT_EQ(written.collision.cols(), 20);
    EXPECT_EQ(written.goals, sampleLevel().goals);
    EXPECT_EQ(written.endLevelX, 1100.25);
    EXPECT_EQ(written.placements, sampleLevel().placements);
    EXPECT_EQ(Placements.fieldList(), sampleLevel().placements); // the list lost the outside record too
    ASSERT_EQ(LevelCatalogue.list(kListCustom).size(), 2u);
    EXPECT_EQ(LevelCatalogue.list(kListCustom)[0].fileName, "05.New.lvl");
    EXPECT_EQ(LevelCatalogue.list(kListCustom)[0].path, path);

    EXPECT_FALSE(writeLevelFile(getCustomLevelsFolder() + "no such folder/x.lvl"));
}

} // namespace
