// KBatchD3D9: a Direct3D 9 device vertex buffer (KBatchD3DCore.h), in the Direct3D 9 class list.
#pragma once

#include "KBatchD3DCore.h"

class KBatchD3D9 : public KBatchD3DCore<D3D9Api> {
public:
    using KBatchD3DCore::KBatchD3DCore;
};
