// The proof that every shipped level can be played to the full: one test per level file and difficulty (Very
// Easy, and Easy, where a new player starts), in which the scripted player follows the level's route through the
// real game state. An Action level ends at its end marker with all
// five Gold Radudods and every enemy destroyed; a Stunt run scores gold within the time; a Race passes every
// hoop within the gold time; each is recorded in the progress table as won. A failure says where the player got
// stuck. With GF_PROOF_TRACE set, each second of play prints a line of where the player is.
#include "LevelProof.h"
#include "ProofWorld.h"
#include "ShippedLevelFiles.h"

#include "GF_GameEngine.h"
#include "Medals.h"
#include "ProgressTable.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

class LevelProof : public ProofWorld, public testing::WithParamInterface<std::string> {
protected:
    void prove(int difficulty);
};

void LevelProof::prove(int difficulty) {
    LevelText level;
    std::string error;
    ASSERT_TRUE(parseLevelText(GetParam(), level, error)) << error;
    ASSERT_TRUE(startProofLevel(level, error, difficulty)) << error;
    ProofObserver trace;
    if (std::getenv("GF_PROOF_TRACE"))
        trace = [](const ProofFrame& frame) {
            if (frame.status) std::printf("%s\n", frame.status->c_str());
        };
    const ProofResult run = playProofLevel(level, trace, trace ? 64 : 0);
    const std::string where = "\n  " + run.stopReason + "\n  at " + run.status;
    std::printf("%s: overlay %d after %.1f s, Gold Radudods %d/5, enemies destroyed %d %%, score %d\n",
                level.outputPath().c_str(), run.overlay, run.levelTime, run.goldZuzevirs, run.enemyPercent, run.score);
    ASSERT_EQ(proofShortfall(level, run), "") << where;
    // The run is recorded as a player's won run is.
    const LevelRecord record = findCurrentLevelRecord();
    EXPECT_TRUE(record.completed);
    EXPECT_EQ(record.highestDifficulty, difficulty);
    if (level.kind == LevelTextKind::Action) {
        EXPECT_EQ(record.goldZuzevirs, 5);
        EXPECT_EQ(record.enemiesPercent, 100);
    } else {
        EXPECT_EQ(record.medal, kMedalGold);
    }
}

TEST_P(LevelProof, ScriptedPlayerReachesTheLevelsGoalAtVeryEasy) {
    prove(kDifficultyVeryEasy);
}

TEST_P(LevelProof, ScriptedPlayerReachesTheLevelsGoalAtEasy) {
    prove(kDifficultyEasy);
}

INSTANTIATE_TEST_SUITE_P(Shipped, LevelProof, testing::ValuesIn(shippedLevelFiles()), shippedLevelTestName);
