// KPixelShaderD3D: a device pixel shader made from its function code, kept in a class list so that it can be
// deleted before a device reset and made again after it. The window makes one current with setPixelShader.
// The game makes none.
#pragma once

#include "KList.h"
#include "KObjectBase.h"
#include "KObjectListable.h"

#include <cstdint>

class KPixelShaderD3D : public KObjectListable, public KObjectBase {
public:
    explicit KPixelShaderD3D(const uint32_t* function);
    ~KPixelShaderD3D() override;

    static KList<KPixelShaderD3D>& list();

    uint32_t handle = 0;                // device shader, 0 = none
    const uint32_t* function = nullptr; // the shader's code, not owned

    // Deletes any old device shader and makes it again from the code; false (logged) on failure.
    bool create();
    void release();
};
