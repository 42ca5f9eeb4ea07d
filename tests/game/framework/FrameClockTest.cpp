// The frame clock: the step between two clock readings, clamped to 0.001 .. 0.05 s, across the 32-bit wrap.
#include "FrameClock.h"

#include <gtest/gtest.h>

TEST(FrameClock, StepsAreClampedAndTakenInUnsigned32BitArithmetic) {
    const struct {
        uint32_t last, now;
        double expected;
    } cases[] = {
        {1000, 1000, 0.001},         // two passes in the same millisecond never give a zero step
        {1000, 1001, 0.001},         //
        {1000, 1016, 0.016},         //
        {1000, 1050, 0.05},          //
        {1000, 1051, 0.05},          // a slow pass never steps further than 0.05 s
        {0, 60000, 0.05},            // the first pass after a long loading
        {0xFFFFFFF0u, 0x05u, 0.021}, // the clock wrapped between the readings
    };
    for (const auto& c : cases) {
        frameClockLastReading = c.last;
        totalGameTime = 1.0;
        stepFrameClock(c.now);
        EXPECT_DOUBLE_EQ(frameTime, c.expected) << c.last << " -> " << c.now;
        EXPECT_DOUBLE_EQ(totalGameTime, 1.0 + c.expected);
        EXPECT_EQ(frameClockLastReading, c.now);
    }
}

TEST(FrameClock, TotalTimeSumsTheSteps) {
    frameClockLastReading = 0;
    totalGameTime = 0.0;
    for (uint32_t now = 10; now <= 100; now += 10) stepFrameClock(now);
    EXPECT_NEAR(totalGameTime, 0.1, 1e-12);
}
