// Angle arithmetic: the difference's one correction, the halfway angle across 0, pushing away, random angles.
#include "AngleTools.h"
#include "KRandom.h"

#include <gtest/gtest.h>

TEST(AngleTools, DifferenceAndWithin) {
    const struct {
        double a, b, difference;
    } cases[] = {
        {10, 350, 20}, {350, 10, -20}, {180, 0, 180}, {0, 180, -180}, {190, 0, -170}, {90, 45, 45},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(angleDifference(c.a, c.b), c.difference) << c.a << ", " << c.b;
    EXPECT_TRUE(isAngleWithin(350, 10, 20.5));
    EXPECT_FALSE(isAngleWithin(350, 10, 20)); // strictly below the limit
}

TEST(AngleTools, MidAngleGoesTheShorterWayAndWrapsIntoOneTurn) {
    const struct {
        double a, b, mid;
    } cases[] = {
        {350, 10, 0}, {10, 350, 0}, {0, 90, 45}, {90, 0, 45}, {300, 350, 325}, {359, 3, 1}, {0, 180, 90}, {180, 0, 90},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(midAngle(c.a, c.b), c.mid) << c.a << ", " << c.b;
}

TEST(AngleTools, PushAwayMovesFurtherFromTheOtherAngle) {
    const struct {
        double a, b, pushed;
    } cases[] = {
        {10, 0, 15},   // 20 away, then halfway back toward 10
        {355, 5, 350}, // across 0
        {100, 0, 100}, // 90 or more apart: unchanged
        {270, 180, 270},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(pushAngleAway(c.a, c.b), c.pushed) << c.a << ", " << c.b;
}

TEST(AngleTools, RandomAngleAroundUsesOneDrawAndWraps) {
    kSrand(1); // the first draw of seed 1 is 41
    EXPECT_NEAR(randomAngleAround(10, 20), 350.0 + 41.0 / 32767.0 * 40.0, 1e-9);
    for (int i = 0; i < 500; ++i) {
        const double a = randomAngleAround(10, 20);
        EXPECT_GE(a, 0.0);
        EXPECT_LT(a, 360.0);
        EXPECT_LE(std::abs(angleDifference(a, 10)), 20.0 + 1e-9);
    }
}

TEST(AngleTools, RotateVectorTurnsCounterClockwiseInDegrees) {
    double x = 1, y = 0;
    rotateVector(90, x, y);
    EXPECT_NEAR(x, 0, 1e-12);
    EXPECT_NEAR(y, 1, 1e-12);
    x = 1, y = 2;
    rotateVector(180, x, y);
    EXPECT_NEAR(x, -1, 1e-12);
    EXPECT_NEAR(y, -2, 1e-12);
}
