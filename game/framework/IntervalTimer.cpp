// The repeating frame-time timer.
#include "IntervalTimer.h"

#include "FrameClock.h"

void IntervalTimer::update() {
    elapsed += frameTime;
    if (elapsed >= interval) {
        fired = true;
        elapsed = 0.0;
    } else {
        fired = false;
    }
}
