// KPixelShaderD3D9: a Direct3D 9 device pixel shader made from its function code, kept in its own class list so
// that it can be released before a device reset and made again after it. The game makes none.
#pragma once

#include "HostD3D9.h"
#include "KList.h"
#include "KObjectBase.h"
#include "KObjectListable.h"

#include <cstdint>

class KPixelShaderD3D9 : public KObjectListable, public KObjectBase {
public:
    explicit KPixelShaderD3D9(const uint32_t* function);
    ~KPixelShaderD3D9() override;

    static KList<KPixelShaderD3D9>& list();

    IDirect3DPixelShader9* shader = nullptr; // device shader (none when null)
    const uint32_t* function = nullptr;      // the shader's code, not owned

    // Deletes any old device shader and makes it again from the code; false (logged) on failure.
    bool create();
    void release();
};
