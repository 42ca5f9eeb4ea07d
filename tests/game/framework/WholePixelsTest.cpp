// Whole pixels from doubles: truncation toward zero inside the 32-bit range, the range's ends beyond it, and the
// low end for no number.
#include "WholePixels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

TEST(WholePixelsTest, TruncatesInsideTheRangeAndHoldsBeyondIt) {
    constexpr int32_t low = std::numeric_limits<int32_t>::min(), high = std::numeric_limits<int32_t>::max();
    constexpr double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        int32_t pixels;
    } cases[] = {
        {0.0, 0},
        {1.9, 1},
        {-1.9, -1},
        {-0.5, 0},
        {2147483647.0, high},
        {2147483647.75, high},
        {2147483648.0, high},
        {1e300, high},
        {inf, high},
        {-2147483648.0, low},
        {-2147483648.75, low},
        {-2147483649.0, low},
        {-1e300, low},
        {-inf, low},
        {std::nan(""), low},
    };
    for (const auto& c : cases) EXPECT_EQ(wholePixels(c.value), c.pixels) << c.value;
}
