// Pixels in Direct3D's formats, shared by the Direct3D window and the picture back ends: colours packed into ARGB
// words, and the texels of the engine's seven texture formats written from and read back into R, G, B, A bytes
// (the KImage layout).
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

// Bytes of one texel of a format: 4, 3 or 2 for the engine's seven formats, 0 for any other.
int bytesPerTexel(int format);

// Writes one texel in the Direct3D memory layout of its format, from the top bits of each 8-bit channel.
void writeTexel(unsigned char* texel, int format, uint32_t r, uint32_t g, uint32_t b, uint32_t a);

// The formats whose texels read back: A8R8G8B8, X8R8G8B8, R8G8B8, R5G6B5, X1R5G5B5 and A1R5G5B5.
bool isReadableTexelFormat(int format);
// One texel of a readable format as a KImage pixel: each field moved to the top of its byte, alpha 255 but in
// A8R8G8B8 (0 for a format that does not read back).
uint32_t readTexel(const unsigned char* texel, int format);

// The back buffer's pixels (one of the five back-buffer formats, rows `pitch` bytes apart) from (x, y) as R, G, B,
// A bytes with A = 255; false for another format.
bool convertBackBufferPixels(D3DFORMAT format, const uint8_t* bits, int pitch, int x, int y, int width, int height,
                             uint32_t* out);
