// KPixelShaderD3D9: making and deleting device pixel shaders, and their release and re-creation around a device
// reset.
#include "KPixelShaderD3D9.h"

#include "KGraphicD3D9Device.h"
#include "KGraphicD3D9State.h"
#include "KLog.h"

KPixelShaderD3D9::KPixelShaderD3D9(const uint32_t* function) : function(function) {
    list().link(this);
}

KPixelShaderD3D9::~KPixelShaderD3D9() {
    release();
    list().unlink(this);
}

KList<KPixelShaderD3D9>& KPixelShaderD3D9::list() {
    static KList<KPixelShaderD3D9> shaders;
    return shaders;
}

void KPixelShaderD3D9::release() {
    if (shader) shader->Release();
    shader = nullptr;
}

bool KPixelShaderD3D9::create() {
    release();
    IDirect3DDevice9* device = graphicD3D9().device;
    if (!function || !device) return false;
    HRESULT result = device->CreatePixelShader(function, &shader);
    if (FAILED(result)) {
        shader = nullptr;
        logMessage("D3D9: CreatePixelShader returned 0x%X, ERROR", unsigned(result));
        return false;
    }
    return true;
}

void d3d9::releasePixelShaders() {
    KPixelShaderD3D9::list().forEach([](KPixelShaderD3D9* shader) { shader->release(); });
}

void d3d9::restorePixelShaders() {
    KPixelShaderD3D9::list().forEach([](KPixelShaderD3D9* shader) {
        if (shader->function) shader->create();
    });
}
