// Steady play must not allocate every frame: the main menu, the level select and every shipped level are run
// on the real window with scripted input, and after a warm-up the main thread's heap allocations per pass are
// held to a small budget. Spawned entities (shots) own their parts on the heap, so a pass that spawns may
// allocate; most passes must allocate nothing, and the mean stays under the budget. The play is the same on
// every run (fixed frame step, fixed seed), so the counts are too.
// This binary counts allocations by replacing the global operator new.
#include "../game/framework/SteadyPlay.h"
#include "../game/framework/TempUserFolder.h"
#include "CountedAllocationOperators.h"
#include "GameOptions.h"
#include "HostSystem.h"

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

} // namespace

TEST(SteadyPlayAllocations, MenusAndEveryShippedLevelStayWithinTheBudget) {
    using namespace steady_play;
    TempUserFolder home;
    GameOptions = GameOptionsRecord();
    host::setMessageBoxHandler([](const std::string&, const std::string&) {});
    ASSERT_TRUE(initGame());
    const std::vector<Scene> scenes = everyScene();
    ASSERT_GE(scenes.size(), 5u);

    for (const Scene& scene : scenes) {
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
    stopScripting();
    requestProgramState(kQuitProgram, kLeaveAndEnter);
    runMainLoopPass();
    shutdownGame();
    host::setMessageBoxHandler(nullptr);
}
