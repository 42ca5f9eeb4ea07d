// KPixelShaderD3DCore: making and deleting device pixel shaders, and their release and re-creation around a device
// reset, made for both versions; the window hooks of each.
#include "KPixelShaderD3DCore.h"

#include "KGraphicD3D9Device.h"
#include "KGraphicD3DDevice.h"
#include "KLog.h"

template <class Api> KPixelShaderD3DCore<Api>::KPixelShaderD3DCore(const uint32_t* function) : function(function) {
    list().link(this);
}

template <class Api> KPixelShaderD3DCore<Api>::~KPixelShaderD3DCore() {
    release();
    list().unlink(this);
}

template <class Api> KList<KPixelShaderD3DCore<Api>>& KPixelShaderD3DCore<Api>::list() {
    static KList<KPixelShaderD3DCore>& shaders = *new KList<KPixelShaderD3DCore>(); // never destroyed (see KList.h)
    return shaders;
}

template <class Api> void KPixelShaderD3DCore<Api>::release() {
    if (handle) Api::deletePixelShader(Api::module().device, handle);
    handle = {};
}

template <class Api> bool KPixelShaderD3DCore<Api>::create() {
    release();
    typename Api::Device* device = Api::module().device;
    if (!function || !device) return false;
    HRESULT result = device->CreatePixelShader(function, &handle);
    if (FAILED(result)) {
        handle = {};
        logMessage("%s: CreatePixelShader returned 0x%X, ERROR", Api::kLogPrefix, unsigned(result));
        return false;
    }
    return true;
}

template <class Api> void d3dcore::releasePixelShaders() {
    KPixelShaderD3DCore<Api>::list().forEach([](KPixelShaderD3DCore<Api>* shader) { shader->release(); });
}

template <class Api> void d3dcore::restorePixelShaders() {
    KPixelShaderD3DCore<Api>::list().forEach([](KPixelShaderD3DCore<Api>* shader) {
        if (shader->function) shader->create();
    });
}

template class KPixelShaderD3DCore<D3D8Api>;
template class KPixelShaderD3DCore<D3D9Api>;

void releasePixelShaders() {
    d3dcore::releasePixelShaders<D3D8Api>();
}
void restorePixelShaders() {
    d3dcore::restorePixelShaders<D3D8Api>();
}

void d3d9::releasePixelShaders() {
    d3dcore::releasePixelShaders<D3D9Api>();
}
void d3d9::restorePixelShaders() {
    d3dcore::restorePixelShaders<D3D9Api>();
}
