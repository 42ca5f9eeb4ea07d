// Helpers of the pixel tests that read the Direct3D stand-in's back buffer (0xAARRGGBB words): the 8 x 8 test
// picture's texels, colours in back-buffer form, a per-channel tolerance and a readable hexadecimal form.
#pragma once

#include "KImage.h"

#include <cstdint>
#include <cstdio>
#include <string>

// The colour of texel (x, y) of the 8 x 8 test picture: every texel differs from its neighbours.
inline uint32_t testTexel(int x, int y) {
    return KImage::pack(uint32_t(x * 32 + 15), uint32_t(y * 32 + 15), 90, 255);
}

// KImage pixel (R, G, B bytes) as the back buffer's 0xFFRRGGBB.
inline uint32_t asBackBuffer(uint32_t pixel) {
    return 0xFF000000u | (KImage::red(pixel) << 16) | (KImage::green(pixel) << 8) | KImage::blue(pixel);
}

inline uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) {
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

// Every colour channel of a and b within the tolerance.
inline bool near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        if (d > tolerance || d < -tolerance) return false;
    }
    return true;
}

inline std::string hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}
