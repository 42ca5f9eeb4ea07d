// Frame pacing and frame-time statistics of the game window: the frame-rate cap that sleeps in 1 ms steps
// and carries the fraction of the period over to the next frame (60 per second alternate 16 and 17 ms
// frames), and the average of the last eight frame times. The clock and the sleep are handed in, so that
// tests can drive them.
#pragma once

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

    int getPreviousFrameTime() const { return previous; }
    float getCarry() const { return carry; }
    int getLastTarget() const { return lastTarget; }

private:
    int previous = -1;
    float carry = 0;
    int lastTarget = 0;
    double frameTimes[kFrameTimes] = {};
    int count = 0;
    double average = 0;
};
