// A vertex batch record, drawn in one call by KGraphic::drawBatchTransformed of the back ends that draw batches:
// vertices of position, colour and one texture coordinate pair, taken as one triangle strip.
#pragma once

#include <cstdint>

// 24 bytes: x, y, z (game-area pixels with y negated, as the back ends' device space has them; z is 0),
// colour (0xAARRGGBB), u, v (texture coordinates of the picture's first texture).
struct KBatchVertex {
    float x, y, z;
    uint32_t color;
    float u, v;
};
static_assert(sizeof(KBatchVertex) == 24);

class KBatch {
public:
    const KBatchVertex* vertices = nullptr; // not owned
    int vertexCount = 0;
};
