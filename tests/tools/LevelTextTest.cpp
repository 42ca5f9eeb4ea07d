// The level text format: a whole level file read into its parts, a table of faults each stopping the reader with
// the file, the line and what is wrong, and the level the builder makes of a file (terrain with its edges and
// collision shapes, water and sky, decoration, placements, goals) read back from the ".lvl" it writes.
#include "LevelText.h"
#include "LevelBuilder.h"

#include "EntityType.h"
#include "LevelCatalogue.h"
#include "LevelFile.h"
#include "PlacementList.h"
#include "TempFolder.h"
#include "TerrainCodes.h"
#include "TileMap.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// A small Action level that uses every part of the format.
const std::string kReef = R"(# A test level.
name Test Reef
tileset snow
seed 7

terrain
s..............s
s..............s
s..............s
s~~~~~~~~~~~~~~s
s..............s
s....rr........s
s....rr........s
s..............s
s..............s
s..............s
s........ddd...s
ssssssssssssssss

decor behind
................
................
................
................
................
................
................
................
................
.........p......
................
................

player 2 5
gold 3.5 6
missilefish 8 6 path 8 6 12 7
mine 12 5 armoured
powerup 7 8 sword length 20
ornament 13 10 rocks
bird 2 1 to 12 angle 180
endmarker 14 8

go 6 4   # a comment after a command
clear 8 6 3
wait 1.5
leap 10
flip 2
dive
repeat
)";

class LevelTextFile : public testing::Test {
protected:
    // Writes the text as a file of the folder ("action/07-test-reef.txt") and reads it.
    bool parse(const std::string& text, const std::string& name = "action/07-test-reef.txt") {
        path = folder.file(name);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path) << text;
        return parseLevelText(path, level, error);
    }
    static int lineOf(const std::string& text, const std::string& line) {
        const size_t at = text.find(line);
        return at == std::string::npos ? -1 : 1 + int(std::count(text.begin(), text.begin() + long(at), '\n'));
    }

    TempFolder folder;
    std::string path, error;
    LevelText level;
};

} // namespace

TEST_F(LevelTextFile, ReadsEveryPartOfALevel) {
    ASSERT_TRUE(parse(kReef)) << error;
    EXPECT_EQ(level.kind, LevelTextKind::Action);
    EXPECT_EQ(level.number, 7);
    EXPECT_EQ(level.name, "Test Reef");
    EXPECT_EQ(level.outputPath(), "levels/07.Test Reef.lvl");
    EXPECT_EQ(level.tileSet, 2);
    EXPECT_EQ(level.seed, 7u);
    EXPECT_EQ(level.cols(), 16);
    EXPECT_EQ(level.rows(), 12);
    EXPECT_EQ(level.surfaceRow, 3);
    EXPECT_EQ(level.decorBehind.size(), 12u);
    EXPECT_TRUE(level.decorFront.empty());
    EXPECT_TRUE(level.hasEndMarker);
    EXPECT_EQ(cellCentre(level.endCol), 14 * 64 + 32);

    // Cells become pixel centres (half cells too); the options fill their kind's Vars.
    ASSERT_EQ(level.entities.size(), 7u);
    const auto& e = level.entities;
    EXPECT_EQ(e[1].type, kEntityGoldFish);
    EXPECT_EQ(e[1].x, 3 * 64 + 64);
    EXPECT_EQ(e[1].y, 6 * 64 + 32);
    EXPECT_EQ(e[2].type, kEntityLaserFish);
    EXPECT_EQ(e[2].vars, (EntityVars{8 * 64 + 32, 6 * 64 + 32, 12 * 64 + 32, 7 * 64 + 32, 0, 0, 0, 0}));
    EXPECT_EQ(e[3].vars[0], 1); // armoured
    EXPECT_EQ(e[4].vars[0], 2); // the sword
    EXPECT_EQ(e[4].vars[1], 20);
    EXPECT_EQ(e[5].vars[0], 3); // two rocks
    EXPECT_EQ(e[6].vars[0], 12 * 64 + 32);
    EXPECT_EQ(e[6].rotation, 180);
    EXPECT_EQ(level.entityLines[0], lineOf(kReef, "player 2 5"));

    ASSERT_EQ(level.route.size(), 7u);
    const RouteCommand::Kind kinds[] = {RouteCommand::Go,    RouteCommand::Clear, RouteCommand::Wait,
                                        RouteCommand::Leap,  RouteCommand::Flip,  RouteCommand::Dive,
                                        RouteCommand::Repeat};
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(level.route[i].kind, kinds[i]) << i;
    EXPECT_EQ(level.route[0].text, "go 6 4");
    EXPECT_EQ(level.route[1].amount, 3);
    EXPECT_EQ(level.route[2].amount, 1.5);
    EXPECT_EQ(level.route[3].col, 10);
    EXPECT_EQ(level.route[4].amount, 2);
    EXPECT_EQ(level.route[1].line, lineOf(kReef, "clear 8 6 3"));
}

TEST_F(LevelTextFile, StuntsAndRacesKeepTheirGoalsAndTheDefaultLevelItsPlace) {
    std::string stunt = kReef;
    stunt.replace(stunt.find("endmarker 14 8"), 14, "scores 100 200 300\ntimelimit 45");
    ASSERT_TRUE(parse(stunt, "stunt/02-test-pool.txt")) << error;
    EXPECT_EQ(level.outputPath(), "stuntlevels/02.Test Reef.lvl");
    EXPECT_EQ(level.medalScores, (std::array<int32_t, 3>{100, 200, 300}));
    EXPECT_EQ(level.timeLimit, 45);

    std::string race = kReef;
    race.replace(race.find("endmarker 14 8"), 14, "times 30 25 20.5");
    ASSERT_TRUE(parse(race, "race/10-test-course.txt")) << error;
    EXPECT_EQ(level.outputPath(), "racelevels/10.Test Reef.lvl");
    EXPECT_EQ(level.medalTimes, (std::array<double, 3>{30, 25, 20.5}));

    ASSERT_TRUE(parse(kReef, "default.txt")) << error;
    EXPECT_EQ(level.outputPath(), "levels/default.lvl");
}

// Each fault stops the reader with the file, the line (when the fault has one) and what is wrong.
TEST_F(LevelTextFile, EveryFaultNamesItsLine) {
    struct Case {
        const char* find;    // a line of the level (first match)
        const char* replace; // what it becomes
        const char* message; // the start of the error after "path:line: "
        bool onLine;         // the error names the line of find
        const char* file = "action/07-test-reef.txt";
    };
    const Case cases[] = {
        {"s....rr........s", "s....rx........s", "unknown terrain character 'x' in column 6", true},
        {"s....rr........s", "s....rr.......s", "terrain row of 15 cells where the first has 16", true},
        {".........p......", ".........P......", "unknown decor character 'P' in column 9", true},
        {"gold 3.5 6", "golf 3.5 6", "unknown keyword or kind 'golf'", true},
        {"mine 12 5 armoured", "mine 12 5 armored", "unknown option 'armored' for mine", true},
        {"powerup 7 8 sword length 20", "powerup 7 8 length 20", "a powerup gives one of torpedo, rapid", true},
        {"player 2 5", "player 2 five", "row: 'five' is not a number", true},
        {"player 2 5", "player 20 5", "the player at 20 5 lies outside the level", true},
        {"gold 3.5 6", "gold 5 5", "the gold at 5 5 lies inside terrain", true},
        {"missilefish 8 6 path 8 6 12 7", "missilefish 8 6 path 8 6 12", "'path' takes two cells", true},
        {"clear 8 6 3", "clear 8 6", "'clear' takes the cell COL ROW and a radius", true},
        {"go 6 4", "go 6 40", "the route's point at 6 40 lies outside the level", true},
        {"endmarker 14 8", "endmarker 14 8\nscores 1 2 3", "'scores' belongs to Stunt levels", false},
        {"player 2 5", "", "no 'player' line", false},
        {"endmarker 14 8", "", "no 'endmarker' line", false},
        {"s..............s\ns..............s\ns~", "s~~~~~~~~~~~~~~s\ns..............s\ns~",
         "a second water surface row", false},
        {"s..............s", "...............s", "the first and last columns are terrain in every row", true},
        {"ssssssssssssssss", "sssssss.ssssssss", "the bottom row is terrain in every column", true},
        {"................\n.........p", ".........p", "a decor grid has the terrain's size", false},
        {"tileset snow", "tileset ice", "unknown tile set 'ice'", true},
        {"name Test Reef", "name Test/Reef", "the name may hold letters", true},
        {"name Test Reef", "name Test Reef", "a level file is named NN-words.txt", false, "action/7-test-reef.txt"},
        {"endmarker 14 8", "scores 1 2 3", "a Stunt level needs its 'scores' and 'timelimit' lines", false,
         "stunt/01-test-pool.txt"},
        {"endmarker 14 8", "times 20 25 30", "the times run bronze >= silver >= gold", true, "race/01-test.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        std::string text = kReef;
        const size_t at = text.find(c.find);
        ASSERT_NE(at, std::string::npos);
        text.replace(at, std::string(c.find).size(), c.replace);
        EXPECT_FALSE(parse(text, c.file));
        const std::string where = c.onLine ? path + ":" + std::to_string(lineOf(text, c.replace)) + ": " : path;
        EXPECT_EQ(error.rfind(where, 0), 0u) << error;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

// The builder's level read back: the terrain drawn and felt alike, the edges shaped around it, the water under
// the surface row and the sky above it, the decoration on its layer, the placements and goals as written.
TEST_F(LevelTextFile, BuildsTheLevelThroughTheGamesLevelModel) {
    ASSERT_TRUE(parse(kReef)) << error;
    const std::string out = folder.file("reef.lvl");
    ASSERT_TRUE(buildLevel(level, out));
    Placements.clearPlacements();
    releaseTileMap();
    clearLevelCatalogue(); // the writer lists what it saves
    LevelData built;
    ASSERT_TRUE(readLevelData(out, built));
    EXPECT_EQ(built.tileSet, 2);
    EXPECT_EQ(built.levelWidth, 16 * 64);
    EXPECT_EQ(built.levelHeight, 12 * 64);
    EXPECT_EQ(built.clipLevel, 3 * 64 + 32);
    EXPECT_EQ(built.boundsRight, 16 * 64);
    EXPECT_EQ(built.goals.gameMode, kGameModeAction);
    EXPECT_EQ(built.endLevelX, 14 * 64 + 32);
    EXPECT_EQ(built.endLevelY, 8 * 64 + 32);
    ASSERT_EQ(built.placements.size(), level.entities.size());
    for (size_t i = 0; i < built.placements.size(); ++i)
        EXPECT_EQ(built.placements[i], level.entities[i].fields()) << i;

    // Solid cells are full; the cells around the block of rock at 5..6, 5..6 take its edges and corners.
    const ByteGrid& shapes = built.collision;
    for (int row = 0; row < level.rows(); ++row)
        for (int col = 0; col < level.cols(); ++col)
            if (terrainGroupOfChar(level.terrain[size_t(row)][size_t(col)]) > 0) {
                EXPECT_EQ(shapes.get(col, row), kShapeFull) << col << ", " << row;
            }
    EXPECT_EQ(shapes.get(5, 4), kShapeBottomHalf);
    EXPECT_EQ(shapes.get(7, 5), kShapeLeftHalf);
    EXPECT_EQ(shapes.get(4, 4), kShapeBottomRight);
    EXPECT_EQ(shapes.get(7, 7), kShapeTopLeft);
    EXPECT_EQ(shapes.get(3, 8), kShapeNone);

    for (int col = 0; col < 16; ++col) {
        EXPECT_EQ(built.substance.get(col, 2), kSubstanceAir);
        EXPECT_EQ(built.substance.get(col, 3), kSubstanceTransition);
        EXPECT_EQ(built.substance.get(col, 4), kSubstanceWater);
        // Waves along the surface row, but not over the rock of the sides.
        EXPECT_EQ(built.layers[kLayerFront3].tiles.get(col, 3), col == 0 || col == 15 ? 0 : 1) << col;
    }
    const uint16_t crown = built.layers[kLayerFront1].tiles.get(9, 9);
    EXPECT_TRUE(crown == 225 || crown == 226) << crown;
    EXPECT_EQ(built.layers[kLayerFront4].tiles.get(9, 9), 0);
}
