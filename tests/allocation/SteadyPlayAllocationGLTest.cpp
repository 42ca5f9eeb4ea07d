// Steady play must not allocate every frame: the main menu, the level select and each shipped level (a test
// of its own) are run on the real window with scripted input, and after a warm-up the main thread's heap
// allocations per pass are held to a small budget. Spawned entities (shots) own their parts on the heap, so a pass that
// spawns may allocate; most passes must allocate nothing, and the mean stays under the budget. The play is the same on
// every run (fixed frame step, fixed seed), so the counts are too.
// This binary counts allocations by replacing the global operator new.
#include "../game/framework/SteadyPlay.h"
#include "../game/framework/TempUserFolder.h"
#include "CountedAllocationOperators.h"
#include "GameOptions.h"
#include "HostSystem.h"
#include "ShippedLevelFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int kWarmUpPasses = 40;
constexpr int kMeasuredPasses = 120;
// Heap allocations per pass, update and draw together. The menus make none; in the levels the player's shot
// every 16 passes (an entity with its animation and circles, about 14 allocations) brings the busiest shipped
// level to about 1.2.
constexpr double kMeanBudget = 1.5;

// The shell on the real window for one test, shut down after it.
class SteadyPlay : public testing::Test {
protected:
    void SetUp() override {
        GameOptions = GameOptionsRecord();
        host::setMessageBoxHandler([](const std::string&, const std::string&) {});
        ASSERT_TRUE(initGame());
    }
    void TearDown() override {
        steady_play::stopScripting();
        requestProgramState(kQuitProgram, kLeaveAndEnter);
        runMainLoopPass();
        shutdownGame();
        host::setMessageBoxHandler(nullptr);
    }

    // Warms the scene up, then holds its measured passes to the budget.
    static void expectWithinBudget(const steady_play::Scene& scene) {
        using namespace steady_play;
        SCOPED_TRACE(scene.name());
        ASSERT_TRUE(enterScene(scene));
        std::vector<uint64_t> perPass;
        for (int pass = 0; pass < kWarmUpPasses + kMeasuredPasses; ++pass) {
            const PassCost cost = timedPass(scene, pass);
            if (pass >= kWarmUpPasses) perPass.push_back(cost.updateAllocations + cost.drawAllocations);
        }
        uint64_t total = 0;
        for (uint64_t n : perPass) total += n;
        std::vector<uint64_t> sorted = perPass;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted[sorted.size() / 2], 0u) << "the median pass allocates";
        EXPECT_LE(double(total) / double(perPass.size()), kMeanBudget)
            << total << " allocations in " << perPass.size() << " passes";
    }

    TempUserFolder home;
};

class SteadyPlayLevel : public SteadyPlay, public testing::WithParamInterface<std::string> {};

} // namespace

TEST_F(SteadyPlay, MenusStayWithinTheBudget) {
    expectWithinBudget({steady_play::kSceneMainMenu});
    expectWithinBudget({steady_play::kSceneLevelSelect});
}

// Each shipped level, a test of its own.
TEST_P(SteadyPlayLevel, StaysWithinTheBudget) {
    int32_t kind = 0, index = 0;
    std::string error;
    ASSERT_TRUE(findShippedLevel(GetParam(), kind, index, error)) << error;
    expectWithinBudget({steady_play::kSceneLevel, kind, index});
}

INSTANTIATE_TEST_SUITE_P(Shipped, SteadyPlayLevel, testing::ValuesIn(shippedLevelFiles()), shippedLevelTestName);
