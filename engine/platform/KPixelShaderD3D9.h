// KPixelShaderD3D9: a Direct3D 9 device pixel shader object (KPixelShaderD3DCore.h), in the Direct3D 9 class list.
#pragma once

#include "KPixelShaderD3DCore.h"

class KPixelShaderD3D9 : public KPixelShaderD3DCore<D3D9Api> {
public:
    using KPixelShaderD3DCore::KPixelShaderD3DCore;
};
