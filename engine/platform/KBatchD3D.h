// KBatchD3D: a Direct3D 8 device vertex buffer (KBatchD3DCore.h), in the Direct3D 8 class list.
#pragma once

#include "KBatchD3DCore.h"

class KBatchD3D : public KBatchD3DCore<D3D8Api> {
public:
    using KBatchD3DCore::KBatchD3DCore;
};
