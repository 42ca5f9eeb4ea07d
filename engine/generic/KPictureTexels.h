// The conversion of a picture's 32-bit pixels into texels that every picture back end shares: alpha from the
// mask, the colour key and edge bleeding. Each back end stores the texel in its own texture format.
#pragma once

#include "KImage.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

// What a picture's pixels are converted with: the colour key (0x00BBGGRR, used when keyEnabled) and whether
// transparent pixels borrow an opaque neighbour's colour.
struct PictureTexelRules {
    bool keyEnabled;
    uint32_t colorKey;
    bool bleed;
};

// Converts the source rectangle x1, y1 .. x2, y2 of a width x height picture into an outWidth x outHeight
// texture at x, y; the rectangle is clipped to the picture and to the texture. With a mask, alpha is the mask's
// G byte. A keyed colour is transparent. With bleeding, a transparent pixel takes the colour of an opaque
// neighbour (below, above, above-left, above-right, below-left, below-right, left, right: the first found), so
// that filtering at the edge of a shape does not pull in a dark fringe. Calls store(tx, ty, r, g, b, a) once for
// each texel, row by row.
template <class Store>
void convertPictureTexels(const uint32_t* pixels, const uint32_t* mask, int width, int height, int x1, int y1, int x2,
                          int y2, int x, int y, int outWidth, int outHeight, const PictureTexelRules& rules,
                          Store store) {
    static constexpr int kNeighbours[8][2] = {{0, 1}, {0, -1}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}, {-1, 0}, {1, 0}};
    // Source pixel (px, py) lands on texel (px + ox, py + oy).
    const int ox = x - x1, oy = y - y1;
    x1 = std::max({x1, 0, -ox});
    y1 = std::max({y1, 0, -oy});
    x2 = std::min({x2, width, outWidth - ox});
    y2 = std::min({y2, height, outHeight - oy});
    auto opaque = [&](int px, int py) {
        if (px < 0 || py < 0 || px >= width || py >= height) return false;
        size_t at = size_t(py) * size_t(width) + size_t(px);
        return mask ? KImage::green(mask[at]) != 0 : KImage::alpha(pixels[at]) != 0;
    };
    const uint32_t keyR = rules.colorKey & 0xFF, keyG = (rules.colorKey >> 8) & 0xFF,
                   keyB = (rules.colorKey >> 16) & 0xFF;
    for (int py = y1; py < y2; py++) {
        const uint32_t* source = pixels + size_t(py) * size_t(width);
        const uint32_t* maskRow = mask ? mask + size_t(py) * size_t(width) : nullptr;
        for (int px = x1; px < x2; px++) {
            uint32_t pixel = source[px];
            uint32_t r = KImage::red(pixel), g = KImage::green(pixel), b = KImage::blue(pixel);
            uint32_t a = mask ? KImage::green(maskRow[px]) : KImage::alpha(pixel);
            if (rules.keyEnabled && r == keyR && g == keyG && b == keyB) a = 0;
            if (a == 0 && rules.bleed) {
                for (const auto& step : kNeighbours) {
                    int nx = px + step[0], ny = py + step[1];
                    if (!opaque(nx, ny)) continue;
                    uint32_t neighbour = pixels[size_t(ny) * size_t(width) + size_t(nx)];
                    r = KImage::red(neighbour);
                    g = KImage::green(neighbour);
                    b = KImage::blue(neighbour);
                    break;
                }
            }
            store(px + ox, py + oy, r, g, b, a);
        }
    }
}
