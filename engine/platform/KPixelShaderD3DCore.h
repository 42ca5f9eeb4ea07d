// KPixelShaderD3DCore: a device pixel shader made from its function code, kept in its version's class list so that
// it can be deleted before a device reset and made again after it; KPixelShaderD3D (Direct3D 8, made current by the
// window's setPixelShader) and KPixelShaderD3D9 are its two forms. The game makes none.
#pragma once

#include "KGraphicD3DApi.h"
#include "KList.h"
#include "KObjectBase.h"
#include "KObjectListable.h"

#include <cstdint>

template <class Api> class KPixelShaderD3DCore : public KObjectListable, public KObjectBase {
public:
    explicit KPixelShaderD3DCore(const uint32_t* function);
    ~KPixelShaderD3DCore() override;

    static KList<KPixelShaderD3DCore>& list();

    typename Api::PixelShader handle{}; // device shader, none when empty
    const uint32_t* function = nullptr; // the shader's code, not owned

    // Deletes any old device shader and makes it again from the code; false (logged) on failure.
    bool create();
    void release();
};

namespace d3dcore {
template <class Api> void releasePixelShaders();
template <class Api> void restorePixelShaders();
} // namespace d3dcore

extern template class KPixelShaderD3DCore<D3D8Api>;
extern template class KPixelShaderD3DCore<D3D9Api>;
