// Frame pacing and frame-time statistics of the game window: the frame-rate cap that sleeps in 1 ms steps
// and carries the fraction of the period over to the next frame (60 per second alternate 16 and 17 ms
// frames), and the average of the last eight frame times. The clock and the sleep are handed in, so that
// tests can drive them.
#pragma once

#include <cstdint>
#include <functional>

class KFrameTiming {
public:
    using Clock = std::function<int()>; // milliseconds
    using Sleep = std::function<void(int ms)>;

    static constexpr double kDefaultFrameTime = 16.666666666666668;
    static constexpr int kLongestFrameMs = 2000;
    static constexpr int kFrameTimes = 8;

    // Waits until the frame has lasted its share of `rate` frames per second since the previous frame (no
    // wait when rate <= 0 or there was no previous frame). Returns the clock after the wait.
    int capFrameRate(int rate, int now, const Clock& clock, const Sleep& sleep);
    // Records the frame that ends at `now`: 0 for the first one since reset, else its length up to 2000 ms.
    void recordFrame(int now);
    // The average frame time in ms, or 16.666666666666668 when none is known yet.
    double getFrameTime() const;
    void reset(); // previous frame none, no frame times (the carry stays)

    // The clock value of the previous frame, or -1 when there is none since the reset.
    int getPreviousFrameTime() const { return hasPrevious ? previous : -1; }
    // The milliseconds since the previous frame, 0 when there is none.
    int millisecondsSincePrevious(int now) const { return hasPrevious ? elapsedBetween(previous, now) : 0; }
    // The millisecond clock wraps after 24.8 days; the time between two readings is taken modulo 2^32, so it stays
    // right (and defined) across the wrap.
    float getCarry() const { return carry; }
    int getLastTarget() const { return lastTarget; }

    static int elapsedBetween(int since, int now) { return int(uint32_t(now) - uint32_t(since)); }

private:
    bool hasPrevious = false;
    int previous = 0;
    float carry = 0;
    int lastTarget = 0;
    double frameTimes[kFrameTimes] = {};
    int count = 0;
    double average = 0;
};
