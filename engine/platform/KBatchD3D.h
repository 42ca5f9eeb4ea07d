// KBatchD3D: a device vertex buffer of one of three vertex kinds, kept in a class list so that it can be
// released before a device reset and made again after it. The game makes none; the reset walks an empty list.
#pragma once

#include "HostD3D8.h"
#include "KList.h"
#include "KObjectBase.h"
#include "KObjectListable.h"

enum VertexKind : int {
    DYNTL = 0,  // transformed, lit: XYZRHW, DIFFUSE, TEX1 (28 bytes), write-only, dynamic
    DYNL = 1,   // lit: XYZ, DIFFUSE, TEX1 (24 bytes), write-only, dynamic
    STAT3D = 2, // XYZ, NORMAL, TEX1 (32 bytes), write-only
};

class KBatchD3D : public KObjectListable, public KObjectBase {
public:
    KBatchD3D(int vertexCount, int kind);
    ~KBatchD3D() override;

    static KList<KBatchD3D>& list();

    int vertexCount = 0;
    int kind = DYNL;
    IDirect3DVertexBuffer8* buffer = nullptr;
    bool locked = false;
    bool lost = false;

    // Unlocks and releases the device buffer.
    void releaseBuffer();
};
