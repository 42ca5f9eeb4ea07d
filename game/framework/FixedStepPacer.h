// The pacing of the fixed-step loop: a millisecond accumulator that owes one update per pass once a whole step
// has built up, and a draw once the updates owed are done or the most updates a frame may take have run.
#pragma once

#include <cstdint>

class FixedStepPacer {
public:
    struct Pass {
        bool update = false;
        bool draw = false;
    };
    // A lag above this many milliseconds is dropped rather than caught up.
    static constexpr int64_t kMaxLagMs = 300;

    // One pass of the loop with the clock reading now (milliseconds; the difference is taken in unsigned
    // 32-bit arithmetic), the window's step and its most updates per drawn frame.
    Pass pass(uint32_t nowMs, int stepMs, int maxUpdatesPerDraw);

    int64_t accumulatorMs() const { return accumulator; }
    int updatesSinceDraw() const { return updates; }

private:
    bool firstPass = true;
    uint32_t lastReading = 0;
    int64_t accumulator = 0;
    int updates = 0;
};
