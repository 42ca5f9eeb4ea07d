// KPixelShaderD3D: a Direct3D 8 device pixel shader (KPixelShaderD3DCore.h), in the Direct3D 8 class list; the
// window makes one current with setPixelShader.
#pragma once

#include "KPixelShaderD3DCore.h"

class KPixelShaderD3D : public KPixelShaderD3DCore<D3D8Api> {
public:
    using KPixelShaderD3DCore::KPixelShaderD3DCore;
};
