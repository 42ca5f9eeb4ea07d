// Steady play allocates nothing: the main menu, the level select and each shipped level (a test of its own) are
// run on the real window with scripted input, and after a warm-up of a fixed number of passes no pass makes a
// heap allocation on the main thread, in its update or its draw. The shots fired take their parts from storage
// made when the level loaded. The play is the same on every run (fixed frame step, fixed seed), so the counts are
// too.
// This binary counts allocations by replacing the global operator new.
#include "../game/framework/SteadyShell.h"
#include "CountedAllocationOperators.h"
#include "ShippedLevelFiles.h"

#include <gtest/gtest.h>

namespace {

// The passes after the entry in which the scene may still make what it keeps from then on (a cell of the grid that
// grows for a crowd).
constexpr int kWarmUpPasses = 40;
constexpr int kMeasuredPasses = 120;

// The shell on the real window for one test, shut down after it. The music is silent: a track that ends, at a
// moment of real time (minutes apart, sooner on a slow build), opens the next file.
class SteadyPlay : public SteadyShell {
protected:

    // Warms the scene up, then holds every measured pass to no allocation at all.
    static void expectNoAllocation(const steady_play::Scene& scene) {
        using namespace steady_play;
        SCOPED_TRACE(scene.name());
        ASSERT_TRUE(enterScene(scene));
        uint64_t total = 0;
        int firstPass = -1;
        for (int pass = 0; pass < kWarmUpPasses + kMeasuredPasses; ++pass) {
            const PassCost cost = timedPass(scene, pass);
            const uint64_t made = cost.updateAllocations + cost.drawAllocations;
            if (pass < kWarmUpPasses || made == 0) continue;
            total += made;
            if (firstPass < 0) firstPass = pass;
        }
        EXPECT_EQ(total, 0u) << total << " allocations in " << kMeasuredPasses << " passes, the first in pass "
                             << firstPass;
    }

};

class SteadyPlayLevel : public SteadyPlay, public testing::WithParamInterface<std::string> {};

} // namespace

TEST_F(SteadyPlay, MenusAllocateNothing) {
    expectNoAllocation({steady_play::kSceneMainMenu});
    expectNoAllocation({steady_play::kSceneLevelSelect});
}

// Each shipped level, a test of its own.
TEST_P(SteadyPlayLevel, AllocatesNothing) {
    int32_t kind = 0, index = 0;
    std::string error;
    ASSERT_TRUE(findShippedLevel(GetParam(), kind, index, error)) << error;
    expectNoAllocation({steady_play::kSceneLevel, kind, index});
}

INSTANTIATE_TEST_SUITE_P(Shipped, SteadyPlayLevel, testing::ValuesIn(shippedLevelFiles()), shippedLevelTestName);
