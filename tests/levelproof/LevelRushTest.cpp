// No Action level can be rushed: a player in a hurry who only swims towards the end marker, firing nothing and
// taking whatever damage comes, by the quickest of a few ways (straight at it, along the waves, the shortest way
// round the terrain by water or with leaps), does not finish in under half the time the level's proven route
// takes at Very Easy, where the player lasts longest. One test per Action level; the route is proven first.
#include "LevelProof.h"
#include "ProofWorld.h"
#include "RushRoutes.h"
#include "ShippedLevelFiles.h"

#include "GF_GameEngine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

class LevelRush : public ProofWorld, public testing::WithParamInterface<std::string> {};

TEST_P(LevelRush, NoSwimmerInAHurryFinishesInHalfTheProvenTime) {
    LevelText level;
    std::string error;
    ASSERT_TRUE(parseLevelText(GetParam(), level, error)) << error;
    ASSERT_TRUE(startProofLevel(level, error)) << error;
    const ProofResult proof = playProofLevel(level);
    ASSERT_EQ(proofShortfall(level, proof), "") << "the route is not proven: " << proof.stopReason;
    const double half = proof.levelTime / 2;
    std::printf("%s: the proven route takes %.1f s\n", level.outputPath().c_str(), proof.levelTime);
    std::string rushed;
    for (const RushRoute& rush : rushRoutes(level)) {
        const LevelText rusher = withRoute(level, rush);
        ASSERT_TRUE(startProofLevel(rusher, error)) << error;
        const ProofResult run = playProofLevel(rusher, {}, 0, half, false);
        const bool finished = run.overlay == kOverlayComplete;
        std::printf("  %s: %s %.1f s\n", rush.name.c_str(), finished ? "finished in" : "not finished after",
                    run.levelTime);
        if (finished)
            rushed += "\n  " + rush.name + ": finished in " + std::to_string(run.levelTime) +
                      " s, under half of the proven " + std::to_string(proof.levelTime) + " s, with " +
                      std::to_string(run.goldZuzevirs) + " Gold Radudods and " + std::to_string(run.enemyPercent) +
                      " % of the enemies";
    }
    EXPECT_EQ(rushed, "");
}

INSTANTIATE_TEST_SUITE_P(Shipped, LevelRush, testing::ValuesIn(shippedActionLevelFiles()), shippedLevelTestName);
