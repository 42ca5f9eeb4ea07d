// The fixed-step loop's accumulator: the first pass updates and draws, an update each time a whole step has
// built up, a draw once the updates owed are done or the most per frame have run, a lag above 300 ms dropped
// to one step and a millisecond, and a clock that wraps around.
#include "FixedStepPacer.h"

#include <gtest/gtest.h>

namespace {

struct PassCase {
    uint32_t now;
    bool update, draw;
    int64_t accumulator;
    int updatesOwed;
};

void runPasses(FixedStepPacer& pacer, int stepMs, int maxUpdates, const std::vector<PassCase>& passes) {
    for (size_t i = 0; i < passes.size(); ++i) {
        const PassCase& c = passes[i];
        const FixedStepPacer::Pass pass = pacer.pass(c.now, stepMs, maxUpdates);
        EXPECT_EQ(pass.update, c.update) << "pass " << i << " at " << c.now;
        EXPECT_EQ(pass.draw, c.draw) << "pass " << i << " at " << c.now;
        EXPECT_EQ(pacer.accumulatorMs(), c.accumulator) << "pass " << i << " at " << c.now;
        EXPECT_EQ(pacer.updatesSinceDraw(), c.updatesOwed) << "pass " << i << " at " << c.now;
    }
}

} // namespace

TEST(FixedStepPacer, UpdatesByWholeStepsAndDrawsWhenCaughtUpOrAtTheMostUpdatesPerFrame) {
    FixedStepPacer pacer;
    runPasses(pacer, /*stepMs=*/10, /*maxUpdates=*/3,
              {
                  {1000, true, true, 0, 0},   // the first pass: an update at once (below zero is held at 0), drawn
                  {1005, false, false, 5, 0}, // half a step: nothing
                  {1012, true, true, 2, 0},   // a step built up: one update, caught up, drawn
                  {1047, true, false, 27, 1}, // three and a half steps behind: one update per pass...
                  {1047, true, false, 17, 2},
                  {1047, true, true, 7, 0},   // ...drawn once caught up
                  {1100, true, false, 50, 1}, // six steps behind, but at most three updates per frame
                  {1100, true, false, 40, 2},
                  {1100, true, true, 30, 0},
                  {1100, true, false, 20, 1},
                  {1100, true, true, 10, 0}, // one step left counts as caught up
                  {1100, true, true, 0, 0},
                  {1100, false, false, 0, 0}, // no time passed: nothing
              });
}

TEST(FixedStepPacer, ALagAboveThreeHundredMillisecondsIsDroppedToOneStepAndAMillisecond) {
    FixedStepPacer pacer;
    runPasses(pacer, 10, 3,
              {
                  {0, true, true, 0, 0},
                  {300, true, false, 290, 1}, // 300 behind is still caught up
                  {700, true, false, 11, 2},  // 680 behind: dropped to 11 after the update
                  {700, true, true, 1, 0},
              });
}

TEST(FixedStepPacer, TheClockMayWrapAround) {
    FixedStepPacer pacer;
    runPasses(pacer, 16, 4,
              {
                  {0xFFFFFFF8u, true, true, 0, 0}, {8, true, true, 0, 0}, // 16 ms later across the wrap
              });
}
