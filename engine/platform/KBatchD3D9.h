// KBatchD3D9: a Direct3D 9 device vertex buffer of one of the three vertex kinds of KBatchD3D, kept in its own
// class list so that it can be released before a device reset and made again after it. The game makes none.
#pragma once

#include "HostD3D9.h"
#include "KBatchD3D.h" // VertexKind
#include "KList.h"
#include "KObjectBase.h"
#include "KObjectListable.h"

class KBatchD3D9 : public KObjectListable, public KObjectBase {
public:
    KBatchD3D9(int vertexCount, int kind);
    ~KBatchD3D9() override;

    static KList<KBatchD3D9>& list();

    int vertexCount = 0;
    int kind = DYNL;
    IDirect3DVertexBuffer9* buffer = nullptr;
    bool locked = false;
    bool lost = false;

    // Unlocks and releases the device buffer.
    void releaseBuffer();
};
