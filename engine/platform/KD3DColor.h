// Colours as Direct3D's packed 32-bit ARGB words, shared by the Direct3D window and the picture back ends.
#pragma once

#include "HostD3D8.h"

#include <algorithm>
#include <cstdint>

// Each channel trunc(value x 255); values outside 0..1 (and NaN, as 0) are held to it, as a float too large
// for an integer must never reach the conversion, nor spill into the neighbouring channel.
inline D3DCOLOR packColor(float r, float g, float b, float a) {
    auto channel = [](float value) { return uint32_t((value > 0.0f ? std::min(value, 1.0f) : 0.0f) * 255.0f); };
    return (channel(a) << 24) | (channel(r) << 16) | (channel(g) << 8) | channel(b);
}
