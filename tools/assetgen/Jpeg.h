// JPEG encoding of cairo pictures with full-resolution (4:4:4) chroma, so colour never bleeds across the
// region borders that the game cuts the pictures at.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <vector>

std::vector<uint8_t> encodeJpeg(cairo_surface_t* picture, int quality);
