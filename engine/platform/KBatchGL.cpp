// KBatchGL: the vertex arrays of a batch, allocated once when it is made.
#include "KBatchGL.h"

#include <algorithm>

KBatchGL::KBatchGL(int vertexCount)
    : vertexCount_(std::max(vertexCount, 0)), positions_(size_t(vertexCount_) * 2),
      texCoords_(size_t(vertexCount_) * 2), colors_(size_t(vertexCount_) * 4, 1.0f) {
    list().link(this);
}

KBatchGL::~KBatchGL() {
    list().unlink(this);
}

KList<KBatchGL>& KBatchGL::list() {
    static KList<KBatchGL>& batches = *new KList<KBatchGL>(); // never destroyed (see KList.h)
    return batches;
}

void KBatchGL::setVertex(int i, float x, float y, float u, float v, float r, float g, float b, float a) {
    if (i < 0 || i >= vertexCount_) return;
    size_t at = size_t(i);
    positions_[at * 2] = x;
    positions_[at * 2 + 1] = -y;
    texCoords_[at * 2] = u;
    texCoords_[at * 2 + 1] = v;
    float* color = &colors_[at * 4];
    color[0] = r, color[1] = g, color[2] = b, color[3] = a;
}
