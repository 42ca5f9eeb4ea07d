// The Direct3D 9 facade: each call in its Direct3D 9 form, checked and handed to the Direct3D 8 stand-in's
// device, which draws, keeps the textures and records the draws.
#include "HostD3D9.h"

namespace {

bool isSamplerOnlyState(D3DTEXTURESTAGESTATETYPE type) {
    return type == D3DTSS_ADDRESSU || type == D3DTSS_ADDRESSV || type == D3DTSS_MAGFILTER || type == D3DTSS_MINFILTER ||
           type == D3DTSS_MIPFILTER;
}

} // namespace

// ----- The Direct3D object -----------------------------------------------------------------------------------

IDirect3D9* Direct3DCreate9(unsigned sdkVersion) {
    if (sdkVersion != D3D9_SDK_VERSION) return nullptr;
    IDirect3D8* core = Direct3DCreate8(D3D_SDK_VERSION);
    return core ? new IDirect3D9(core) : nullptr;
}

IDirect3D9* Direct3DCreate9Recording(const D3D8RecordingSetup& setup) {
    return new IDirect3D9(Direct3DCreate8Recording(setup));
}

IDirect3D9::~IDirect3D9() {
    core_->Release();
}

HRESULT IDirect3D9::CheckDeviceFormat(uint32_t adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, uint32_t usage,
                                      D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat) {
    return core_->CheckDeviceFormat(adapter, type, adapterFormat, usage, resourceType, checkFormat);
}

HRESULT IDirect3D9::GetDeviceCaps(uint32_t adapter, D3DDEVTYPE type, D3DCAPS9* caps) {
    return core_->GetDeviceCaps(adapter, type, caps);
}

HRESULT IDirect3D9::CreateDevice(uint32_t adapter, D3DDEVTYPE type, SDL_Window* focusWindow, uint32_t behaviorFlags,
                                 D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) {
    if (!device) return D3DERR_INVALIDCALL;
    *device = nullptr;
    IDirect3DDevice8* core = nullptr;
    HRESULT result = core_->CreateDevice(adapter, type, focusWindow, behaviorFlags, parameters, &core);
    if (FAILED(result)) return result;
    *device = new IDirect3DDevice9(core);
    return D3D_OK;
}

// ----- Pixel shaders -----------------------------------------------------------------------------------------

IDirect3DPixelShader9::IDirect3DPixelShader9(IDirect3DDevice8* device, uint32_t handle)
    : device_(device), handle_(handle) {
    device_->AddRef();
}

IDirect3DPixelShader9::~IDirect3DPixelShader9() {
    device_->DeletePixelShader(handle_);
    device_->Release();
}

// ----- The device --------------------------------------------------------------------------------------------

IDirect3DDevice9::IDirect3DDevice9(IDirect3DDevice8* core) : core_(core) {}

IDirect3DDevice9::~IDirect3DDevice9() {
    core_->Release();
}

void IDirect3DDevice9::record(D3D9Call call, uint32_t a, uint32_t b, uint32_t c) {
    if (core_->mode() == D3D8Mode::Recording) calls_.push_back({call, a, b, c});
}

void IDirect3DDevice9::clearRecording() {
    calls_.clear();
    core_->clearRecording();
}

HRESULT IDirect3DDevice9::GetBackBuffer(uint32_t swapChain, uint32_t index, D3DBACKBUFFER_TYPE type,
                                        IDirect3DSurface9** surface) {
    if (swapChain != 0) {
        if (surface) *surface = nullptr;
        return D3DERR_INVALIDCALL;
    }
    return core_->GetBackBuffer(index, type, surface);
}

HRESULT IDirect3DDevice9::SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type, uint32_t value) {
    record(D3D9Call::SetTextureStageState, stage, uint32_t(type), value);
    if (isSamplerOnlyState(type)) return D3DERR_INVALIDCALL;
    return core_->SetTextureStageState(stage, type, value);
}

HRESULT IDirect3DDevice9::SetSamplerState(uint32_t sampler, D3DSAMPLERSTATETYPE type, uint32_t value) {
    record(D3D9Call::SetSamplerState, sampler, uint32_t(type), value);
    D3DTEXTURESTAGESTATETYPE stageState;
    switch (type) {
    case D3DSAMP_ADDRESSU:
        stageState = D3DTSS_ADDRESSU;
        break;
    case D3DSAMP_ADDRESSV:
        stageState = D3DTSS_ADDRESSV;
        break;
    case D3DSAMP_MAGFILTER:
        stageState = D3DTSS_MAGFILTER;
        break;
    case D3DSAMP_MINFILTER:
        stageState = D3DTSS_MINFILTER;
        break;
    case D3DSAMP_MIPFILTER:
        stageState = D3DTSS_MIPFILTER;
        break;
    default:
        return D3DERR_INVALIDCALL;
    }
    return core_->SetTextureStageState(sampler, stageState, value);
}

HRESULT IDirect3DDevice9::SetTexture(uint32_t stage, IDirect3DTexture9* texture) {
    record(D3D9Call::SetTexture, stage, texture ? 1 : 0);
    return core_->SetTexture(stage, texture);
}

HRESULT IDirect3DDevice9::SetFVF(uint32_t fvf) {
    record(D3D9Call::SetFVF, fvf);
    return core_->SetVertexShader(fvf);
}

HRESULT IDirect3DDevice9::SetPixelShader(IDirect3DPixelShader9* shader) {
    return core_->SetPixelShader(shader ? shader->handle_ : 0);
}

HRESULT IDirect3DDevice9::CreatePixelShader(const uint32_t* function, IDirect3DPixelShader9** shader) {
    if (!shader) return D3DERR_INVALIDCALL;
    *shader = nullptr;
    uint32_t handle = 0;
    HRESULT result = core_->CreatePixelShader(function, &handle);
    if (FAILED(result)) return result;
    *shader = new IDirect3DPixelShader9(core_, handle);
    return D3D_OK;
}

HRESULT IDirect3DDevice9::CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                        D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture,
                                        void* sharedHandle) {
    if (sharedHandle) {
        if (texture) *texture = nullptr;
        return D3DERR_INVALIDCALL;
    }
    return core_->CreateTexture(width, height, levels, usage, format, pool, texture);
}

HRESULT IDirect3DDevice9::CreateDepthStencilSurface(uint32_t width, uint32_t height, D3DFORMAT format,
                                                    D3DMULTISAMPLE_TYPE multiSample, uint32_t multiSampleQuality, bool,
                                                    IDirect3DSurface9** surface, void* sharedHandle) {
    if (sharedHandle || multiSampleQuality != 0) {
        if (surface) *surface = nullptr;
        return D3DERR_INVALIDCALL;
    }
    return core_->CreateDepthStencilSurface(width, height, format, multiSample, surface);
}

HRESULT IDirect3DDevice9::CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, D3DPOOL pool,
                                             IDirect3DVertexBuffer9** buffer, void* sharedHandle) {
    if (sharedHandle) {
        if (buffer) *buffer = nullptr;
        return D3DERR_INVALIDCALL;
    }
    return core_->CreateVertexBuffer(length, usage, fvf, pool, buffer);
}

HRESULT IDirect3DDevice9::SetRenderTarget(uint32_t index, IDirect3DSurface9* renderTarget) {
    IDirect3DSurface9* back = nullptr;
    core_->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back);
    record(D3D9Call::SetRenderTarget, index, renderTarget && renderTarget == back ? 1 : 0);
    if (back) back->Release();
    if (index != 0 || !renderTarget) return D3DERR_INVALIDCALL;
    IDirect3DSurface9* depth = nullptr;
    core_->GetDepthStencilSurface(&depth);
    D3DSURFACE_DESC targetDesc = {}, depthDesc = {};
    renderTarget->GetDesc(&targetDesc);
    if (depth) depth->GetDesc(&depthDesc);
    bool depthCovers = depth && depthDesc.Width >= targetDesc.Width && depthDesc.Height >= targetDesc.Height;
    HRESULT result = core_->SetRenderTarget(renderTarget, depthCovers ? depth : nullptr);
    if (depth) depth->Release();
    return result;
}

HRESULT IDirect3DDevice9::GetDepthStencilSurface(IDirect3DSurface9** depthStencil) {
    return core_->GetDepthStencilSurface(depthStencil);
}

HRESULT IDirect3DDevice9::SetDepthStencilSurface(IDirect3DSurface9* depthStencil) {
    record(D3D9Call::SetDepthStencilSurface, depthStencil ? 1 : 0);
    IDirect3DSurface9* target = nullptr;
    if (FAILED(core_->GetRenderTarget(&target)) || !target) return D3DERR_INVALIDCALL;
    D3DVIEWPORT9 viewport;
    core_->GetViewport(&viewport);
    HRESULT result = core_->SetRenderTarget(target, depthStencil);
    target->Release();
    if (SUCCEEDED(result)) core_->SetViewport(&viewport);
    return result;
}

HRESULT IDirect3DDevice9::GetRenderTargetData(IDirect3DSurface9* renderTarget, IDirect3DSurface9* destination) {
    HRESULT result = D3DERR_INVALIDCALL;
    D3DSURFACE_DESC from = {}, to = {};
    if (renderTarget && destination && SUCCEEDED(renderTarget->GetDesc(&from)) &&
        SUCCEEDED(destination->GetDesc(&to)) && (from.Usage & D3DUSAGE_RENDERTARGET) && to.Pool == D3DPOOL_SYSTEMMEM)
        result = core_->CopyRects(renderTarget, nullptr, 0, destination, nullptr);
    record(D3D9Call::GetRenderTargetData, uint32_t(result));
    return result;
}

HRESULT IDirect3DDevice9::DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices,
                                          uint32_t stride) {
    HRESULT result = core_->DrawPrimitiveUP(type, primitiveCount, vertices, stride);
    record(D3D9Call::DrawPrimitiveUP, uint32_t(type), primitiveCount, uint32_t(result));
    return result;
}
