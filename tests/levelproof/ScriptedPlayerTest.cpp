// The scripted player on small levels of its own, built from their text as the shipped ones are: it fights its
// way to the end of an Action level (charged shots at a Missile Fish, clicks at a TNT Turtle) with every Gold
// Radudod; it says where it is held when terrain stands in its way or an enemy it must clear stays out of sight;
// and its leaps, flips and dives earn a double flip with a perfect entry. The rushers of the rush check find the
// short way round a wall that the straight line runs into.
#include "LevelBuilder.h"
#include "LevelProof.h"
#include "ProofWorld.h"
#include "RushRoutes.h"

#include "GF_GameEngine.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// A pen of open water, 20 x 14 cells, with a wall of rock down column 9 from row 6 to row 11.
const std::string kPen = R"(name Test Pen
tileset plain

terrain
s..................s
s..................s
s~~~~~~~~~~~~~~~~~~s
s..................s
s..................s
s..................s
s........r.........s
s........r.........s
s........r.........s
s........r.........s
s........r.........s
s........r.........s
s..................s
ssssssssssssssssssss
)";

// A deep pool for leaps: 24 x 18 cells, the surface in row 6 (a leap rises about 4 cells).
const std::string kPool = R"(name Test Pool
tileset plain
scores 100 200 300
timelimit 8

terrain
s......................s
s......................s
s......................s
s......................s
s......................s
s......................s
s~~~~~~~~~~~~~~~~~~~~~~s
s......................s
s......................s
s......................s
s......................s
s......................s
s......................s
s......................s
s......................s
s......................s
s......................s
ssssssssssssssssssssssss

player 4 10
leap 10
flip 2
dive
repeat
)";

class ScriptedPlayerRun : public ProofWorld {
protected:
    // Writes the level file into the folder, builds its level and starts it (no catalogue entry: nothing is
    // recorded), then plays it with the scripted player.
    ProofResult play(const std::string& text, const std::string& file = "action/01-test.txt", bool fights = true) {
        const std::string path = folder.file(file);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path) << text;
        std::string error;
        const std::string built = folder.file("test.lvl");
        if (!parseLevelText(path, level, error) || !buildLevel(level, built)) {
            ADD_FAILURE() << error;
            return {};
        }
        clearLevelCatalogue();
        LevelCatalogue.currentIndex = -1;
        EXPECT_TRUE(startProofLevelFile(built, error)) << error;
        return playProofLevel(level, {}, 0, 0, fights);
    }

    TempFolder folder;
    LevelText level;
};

} // namespace

TEST_F(ScriptedPlayerRun, FightsItsWayToTheEndWithEveryGoldRadudod) {
    const ProofResult run = play(kPen + R"(
player 3 3
gold 6 3
gold 7 3
gold 11 3
gold 12 3
gold 16 8
missilefish 14 9 path 13 9 15 9
turtle 16 12 path 15 12 17 12
endmarker 17 4

go 7 3
go 12 3
clear 13 6 7
go 16 8
)");
    EXPECT_EQ(proofShortfall(level, run), "") << run.status;
    EXPECT_EQ(run.goldZuzevirs, 5);
    EXPECT_EQ(run.enemyPercent, 100);
}

TEST_F(ScriptedPlayerRun, SaysWhereTerrainHoldsItAndWhichEnemiesStayOutOfSight) {
    const std::string goThroughTheWall = "\nplayer 4 8\nendmarker 17 4\ngo 15 8\n";
    ProofResult run = play(kPen + goThroughTheWall);
    EXPECT_EQ(run.overlay, -1);
    EXPECT_NE(run.stopReason.find("blocked at"), std::string::npos) << run.stopReason;
    EXPECT_NE(run.stopReason.find("'go 15 8' (line 22)"), std::string::npos) << run.stopReason;
    EXPECT_NE(run.status.find("health 4000.0/4000.0"), std::string::npos) << run.status;
    EXPECT_NE(run.status.find("Gold Radudods 0/5"), std::string::npos) << run.status;

    // A turret behind the wall, in the clear's reach but never in sight from its point.
    run = play(kPen + "\nplayer 4 8\nturret 14 12\nendmarker 17 4\nclear 4 8 12\n");
    EXPECT_NE(run.stopReason.find("stuck for 90 s on 'clear 4 8 12' (line 23): enemies left 1: turret at 14.0 12.0"),
              std::string::npos)
        << run.stopReason;
    EXPECT_NEAR(run.levelTime, 90, 0.1);
}

TEST_F(ScriptedPlayerRun, LeapsFlipsAndDivesForADoubleFlipWithAPerfectEntry) {
    const ProofResult run = play(kPool, "stunt/01-test-pool.txt");
    EXPECT_EQ(run.overlay, kOverlayComplete) << run.stopReason;
    // Each leap: a double flip (4900) times five for the perfect entry.
    EXPECT_GE(run.score, 24500) << run.status;
    EXPECT_EQ(run.score % 24500, 0) << run.status;
}

TEST_F(ScriptedPlayerRun, ARusherFindsTheShortWayRoundTheWallThatTheStraightLineMeets) {
    // The end marker lies behind the wall; a Missile Fish waits on the way and is left alone.
    const std::string level = kPen + "\nplayer 4 10\nmissilefish 13 4 path 12 4 14 4\nendmarker 16 10\n";
    std::string error;
    const std::string path = folder.file("action/01-test.txt");
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << level;
    LevelText parsed;
    ASSERT_TRUE(parseLevelText(path, parsed, error)) << error;
    const std::vector<RushRoute> rushes = rushRoutes(parsed);
    ASSERT_GE(rushes.size(), 3u);
    EXPECT_TRUE(rushes.front().route.empty()) << "the first rusher swims straight at the end marker";
    double best = 0;
    for (const RushRoute& rush : rushes) {
        SCOPED_TRACE(rush.name);
        std::string text = level;
        for (const RouteCommand& leg : rush.route) text += leg.text + "\n";
        const ProofResult run = play(text, "action/01-test.txt", false);
        if (run.overlay == kOverlayComplete && (best == 0 || run.levelTime < best)) best = run.levelTime;
        EXPECT_EQ(run.enemyPercent, 0) << "a rusher fires nothing";
    }
    EXPECT_GT(best, 0) << "no rusher found the way over the wall";
    EXPECT_LT(best, 4);
}
