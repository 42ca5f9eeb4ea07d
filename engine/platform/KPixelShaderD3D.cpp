// KPixelShaderD3D: making and deleting device pixel shaders, and their release and re-creation around a device
// reset.
#include "KPixelShaderD3D.h"

#include "KGraphicD3DDevice.h"
#include "KGraphicD3DState.h"
#include "KLog.h"

KPixelShaderD3D::KPixelShaderD3D(const uint32_t* function) : function(function) {
    list().link(this);
}

KPixelShaderD3D::~KPixelShaderD3D() {
    release();
    list().unlink(this);
}

KList<KPixelShaderD3D>& KPixelShaderD3D::list() {
    static KList<KPixelShaderD3D> shaders;
    return shaders;
}

void KPixelShaderD3D::release() {
    IDirect3DDevice8* device = graphicD3D().device;
    if (handle && device) device->DeletePixelShader(handle);
    handle = 0;
}

bool KPixelShaderD3D::create() {
    release();
    IDirect3DDevice8* device = graphicD3D().device;
    if (!function || !device) return false;
    HRESULT result = device->CreatePixelShader(function, &handle);
    if (FAILED(result)) {
        handle = 0;
        logMessage("D3D8: CreatePixelShader returned 0x%X, ERROR", unsigned(result));
        return false;
    }
    return true;
}

void releasePixelShaders() {
    KPixelShaderD3D::list().forEach([](KPixelShaderD3D* shader) { shader->release(); });
}

void restorePixelShaders() {
    KPixelShaderD3D::list().forEach([](KPixelShaderD3D* shader) {
        if (shader->function) shader->create();
    });
}
