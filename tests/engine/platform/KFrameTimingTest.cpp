// Frame pacing with a hand-driven clock: the 16/17 ms rhythm of a 60 cap, the bounded carry after a stall,
// and the frame-time average over the last eight frames.
#include "KFrameTiming.h"

#include <gtest/gtest.h>

namespace {
// Clock arithmetic that wraps as the millisecond clock does.
int later(int now, int ms) {
    return int(uint32_t(now) + uint32_t(ms));
}

struct ManualClock {
    int now = 0;
    int sleeps = 0;
    KFrameTiming::Clock clock() {
        return [this] { return now; };
    }
    KFrameTiming::Sleep sleep() {
        return [this](int ms) {
            now = later(now, ms);
            ++sleeps;
        };
    }
};

// One frame that did `work` ms of drawing, then the cap and the record, as the window does it.
int frame(KFrameTiming& timing, ManualClock& clock, int rate, int work) {
    clock.now = later(clock.now, work);
    int end = timing.capFrameRate(rate, clock.now, clock.clock(), clock.sleep());
    int length = timing.millisecondsSincePrevious(end);
    clock.now = end;
    timing.recordFrame(end);
    return length;
}
} // namespace

TEST(KFrameTiming, FirstFrameNeitherWaitsNorRecords) {
    KFrameTiming timing;
    ManualClock clock;
    EXPECT_DOUBLE_EQ(timing.getFrameTime(), 16.666666666666668);
    clock.now = 1000;
    EXPECT_EQ(frame(timing, clock, 60, 0), 0);
    EXPECT_EQ(clock.sleeps, 0);
    EXPECT_DOUBLE_EQ(timing.getFrameTime(), 16.666666666666668);
}

TEST(KFrameTiming, SixtyAlternatesSixteenAndSeventeen) {
    KFrameTiming timing;
    ManualClock clock;
    frame(timing, clock, 60, 0);
    EXPECT_EQ(frame(timing, clock, 60, 3), 16);
    EXPECT_NEAR(timing.getCarry(), 0.666666f, 1e-5);
    EXPECT_EQ(frame(timing, clock, 60, 3), 17);
    EXPECT_EQ(timing.getLastTarget(), 17);
    int total = 0;
    for (int i = 0; i < 60; ++i) total += frame(timing, clock, 60, 2);
    EXPECT_NEAR(total / 60.0, 1000.0 / 60, 0.05);
    EXPECT_NEAR(timing.getFrameTime(), 1000.0 / 60, 0.5);
}

TEST(KFrameTiming, SlowFramesAreNotHeldAndCountAtLeastOneMillisecond) {
    KFrameTiming timing;
    ManualClock clock;
    frame(timing, clock, 60, 0);
    EXPECT_EQ(frame(timing, clock, 60, 40), 40);
    EXPECT_EQ(clock.sleeps, 0);
    EXPECT_EQ(frame(timing, clock, 0, 0), 0); // no cap: nothing waits
    EXPECT_EQ(clock.sleeps, 0);
}

TEST(KFrameTiming, CarryAfterAStallStaysWithinOnePeriod) {
    KFrameTiming timing;
    ManualClock clock;
    frame(timing, clock, 60, 0);
    frame(timing, clock, 60, 2000); // a level load
    EXPECT_GE(timing.getCarry(), -16.67f);
    // The frames after the stall are held again at once instead of running uncapped to catch up.
    EXPECT_EQ(frame(timing, clock, 60, 1), 1);
    EXPECT_EQ(frame(timing, clock, 60, 1), 15);
    EXPECT_EQ(frame(timing, clock, 60, 1), 17);
}

TEST(KFrameTiming, LongFramesClampAndTheAverageUsesTheLastEight) {
    KFrameTiming timing;
    ManualClock clock;
    frame(timing, clock, 0, 0);
    frame(timing, clock, 0, 5000);
    EXPECT_DOUBLE_EQ(timing.getFrameTime(), 1000.0); // (0 + 2000) / 2
    for (int i = 0; i < 8; ++i) frame(timing, clock, 0, 10);
    EXPECT_DOUBLE_EQ(timing.getFrameTime(), 10.0);
    timing.reset();
    EXPECT_EQ(timing.getPreviousFrameTime(), -1);
    EXPECT_DOUBLE_EQ(timing.getFrameTime(), 16.666666666666668);
    frame(timing, clock, 0, 10);
    frame(timing, clock, 0, 30);
    EXPECT_DOUBLE_EQ(timing.getFrameTime(), 15.0); // only the frames since the reset: (0 + 30) / 2
}

TEST(KFrameTiming, PacingCarriesOnAcrossTheClockWrap) {
    // After 24.8 days the millisecond clock wraps from INT32_MAX to INT32_MIN; frames go on being held.
    KFrameTiming timing;
    ManualClock clock;
    clock.now = INT32_MAX - 20;
    frame(timing, clock, 60, 0);
    EXPECT_EQ(frame(timing, clock, 60, 3), 16);
    EXPECT_EQ(frame(timing, clock, 60, 3), 17); // this one ends past the wrap
    EXPECT_LT(clock.now, 0);
    EXPECT_EQ(timing.getPreviousFrameTime(), clock.now);
    EXPECT_EQ(timing.millisecondsSincePrevious(later(clock.now, 5)), 5);
    int total = 0;
    for (int i = 0; i < 60; ++i) total += frame(timing, clock, 60, 2);
    EXPECT_NEAR(total / 60.0, 1000.0 / 60, 0.05);
    EXPECT_NEAR(timing.getFrameTime(), 1000.0 / 60, 0.5);
}
