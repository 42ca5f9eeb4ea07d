// The fixed-step loop's accumulator rules.
#include "FixedStepPacer.h"

FixedStepPacer::Pass FixedStepPacer::pass(uint32_t nowMs, int stepMs, int maxUpdatesPerDraw) {
    Pass result;
    if (firstPass) lastReading = nowMs;
    accumulator += int64_t(uint32_t(nowMs - lastReading));
    lastReading = nowMs;
    // The first pass updates at once, so that the first frame has something to draw.
    if (accumulator >= stepMs || firstPass) {
        accumulator -= stepMs;
        result.update = true;
        ++updates;
    }
    if (accumulator < 0) accumulator = 0;
    if (accumulator > kMaxLagMs) accumulator = stepMs + 1;
    if (updates >= 1 && (accumulator <= stepMs || updates >= maxUpdatesPerDraw || firstPass)) {
        result.draw = true;
        updates = 0;
    }
    firstPass = false;
    return result;
}
