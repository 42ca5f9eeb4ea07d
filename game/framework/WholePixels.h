// Whole pixels from a position held in doubles, defined for every value. A level file may place and send its
// entities anywhere, so a screen or world position may lie far beyond what a 32-bit integer holds: such a
// position is held at the nearest end of the range (one that is not a number at the low end), which is far off
// any screen and past the edge of any grid.
#pragma once

#include <cstdint>
#include <limits>

// Truncated toward zero, like a plain conversion, for every value that fits.
inline int32_t wholePixels(double v) {
    constexpr double kLow = double(std::numeric_limits<int32_t>::min());
    constexpr double kHigh = double(std::numeric_limits<int32_t>::max());
    if (!(v >= kLow)) return std::numeric_limits<int32_t>::min(); // below the range, or not a number
    if (v >= kHigh) return std::numeric_limits<int32_t>::max();
    return int32_t(v);
}
