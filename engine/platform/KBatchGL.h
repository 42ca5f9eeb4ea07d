// KBatchGL: a batch of vertices (position, texture coordinates, colour) that a picture draws in one go as a
// triangle strip through KGraphic::drawBatchTransformed. Kept in its class list like every device resource;
// OpenGL loses nothing, so a batch lives in client memory and needs no rebuilding.
#pragma once

#include "KBatch.h"
#include "KList.h"
#include "KObjectBase.h"
#include "KObjectListable.h"

#include <vector>

class KBatchGL : public KBatch, public KObjectListable {
public:
    explicit KBatchGL(int vertexCount);
    ~KBatchGL() override;

    static KList<KBatchGL>& list();

    int getVertexCount() const { return vertexCount_; }
    // Vertex i: position (x, y) in the caller's transform space (y down, as every destination), texture
    // coordinates already divided by the picture's texture-coordinate size, colour 0 .. 1. Out-of-range
    // indices are ignored.
    void setVertex(int i, float x, float y, float u, float v, float r, float g, float b, float a);

    // The arrays as OpenGL reads them: positions with y negated (the drawing transform flips it back), two
    // floats each; texture coordinates two floats each; colours four floats each.
    const float* positions() const { return positions_.data(); }
    const float* texCoords() const { return texCoords_.data(); }
    const float* colors() const { return colors_.data(); }

private:
    int vertexCount_;
    std::vector<float> positions_, texCoords_, colors_;
};
