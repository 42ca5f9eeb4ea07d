// The frame-rate cap and the frame-time average.
#include "KFrameTiming.h"

#include <algorithm>

int KFrameTiming::capFrameRate(int rate, int now, const Clock& clock, const Sleep& sleep) {
    if (rate <= 0 || !hasPrevious) return now;
    float period = float(1000.0 / rate);
    int target = int(period + carry);
    lastTarget = target;
    int elapsed;
    for (;;) {
        elapsed = std::max(1, elapsedBetween(previous, now));
        if (elapsed >= target) break;
        sleep(1);
        now = clock();
    }
    // The carry stays within one period: after a stall (a level load, a message box) the frames that follow
    // must not run uncapped to catch up.
    carry = std::clamp(carry + period - float(elapsed), -period, period);
    return now;
}

void KFrameTiming::recordFrame(int now) {
    double frameTime = hasPrevious ? double(std::clamp(elapsedBetween(previous, now), 0, kLongestFrameMs)) : 0.0;
    previous = now;
    hasPrevious = true;
    std::copy(frameTimes + 1, frameTimes + kFrameTimes, frameTimes);
    frameTimes[kFrameTimes - 1] = frameTime;
    count = std::min(count + 1, kFrameTimes);
    double sum = 0;
    for (int i = kFrameTimes - count; i < kFrameTimes; ++i) sum += frameTimes[i];
    average = sum / count;
}

double KFrameTiming::getFrameTime() const {
    return average > 0 ? average : kDefaultFrameTime;
}

void KFrameTiming::reset() {
    hasPrevious = false;
    count = 0;
    average = 0;
}
