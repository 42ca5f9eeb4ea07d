// KBatchD3DCore: a device vertex buffer of one of three vertex kinds, kept in its version's class list so that it
// can be released before a device reset and made again after it; KBatchD3D (Direct3D 8) and KBatchD3D9 are its two
// forms. The game makes none; the resets walk empty lists.
#pragma once

#include "KBatch.h"
#include "KGraphicD3DApi.h"
#include "KList.h"
#include "KObjectBase.h"
#include "KObjectListable.h"

enum VertexKind : int {
    DYNTL = 0,  // transformed, lit: XYZRHW, DIFFUSE, TEX1 (28 bytes), write-only, dynamic
    DYNL = 1,   // lit: XYZ, DIFFUSE, TEX1 (24 bytes), write-only, dynamic
    STAT3D = 2, // XYZ, NORMAL, TEX1 (32 bytes), write-only
};

template <class Api> class KBatchD3DCore : public KObjectListable, public KObjectBase {
public:
    KBatchD3DCore(int vertexCount, int kind);
    ~KBatchD3DCore() override;

    static KList<KBatchD3DCore>& list();

    int vertexCount = 0;
    int kind = DYNL;
    IDirect3DVertexBuffer8* buffer = nullptr;
    bool locked = false;
    bool lost = false;

    // Unlocks and releases the device buffer.
    void releaseBuffer();
};

// The Direct3D back ends' vertex batch record: 24-byte vertices of position, colour and one texture coordinate
// pair, drawn as one triangle strip by KGraphic::drawBatchTransformed (under Direct3D 9; Direct3D 8 draws none).
struct KBatchVertex {
    float x, y, z;  // game-area pixels with y negated (device space); z is 0
    uint32_t color; // 0xAARRGGBB
    float u, v;     // texture coordinates of the picture's first texture
};
static_assert(sizeof(KBatchVertex) == 24);

class KBatchD3DVertices : public KBatch {
public:
    const KBatchVertex* vertices = nullptr; // not owned
    int vertexCount = 0;
};

namespace d3dcore {
// A vertex count of 0 makes nothing (true); an unknown kind is refused; a failure is logged.
template <class Api> bool createVertexBuffer(KBatchD3DCore<Api>* batch);
template <class Api> void releaseVertexBuffers();
template <class Api> void restoreVertexBuffers();
} // namespace d3dcore

extern template class KBatchD3DCore<D3D8Api>;
extern template class KBatchD3DCore<D3D9Api>;
