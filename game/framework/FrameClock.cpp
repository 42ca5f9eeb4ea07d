// The frame clock of the main loop.
#include "FrameClock.h"

#include "KMiscTools.h"

double frameTime = kMinFrameTime;
double totalGameTime = 0.0;
double gameSpeed = 1.0;
uint32_t frameClockLastReading = 0;

void stepFrameClock(uint32_t nowMs) {
    double raw = double(nowMs - frameClockLastReading) / 1000.0;
    if (raw < kMinFrameTime)
        raw = kMinFrameTime;
    else if (raw > kMaxFrameTime)
        raw = kMaxFrameTime;
    frameClockLastReading = nowMs;
    frameTime = raw * gameSpeed;
    totalGameTime += frameTime;
}

void startFrameClock() {
    frameClockLastReading = uint32_t(KMiscTools::getMilliseconds());
}
