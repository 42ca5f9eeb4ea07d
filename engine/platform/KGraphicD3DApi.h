// The two device interfaces the shared Direct3D picture core (KGraphicD3DCore) is built for: Direct3D 8
// (KGraphicD3D, the game's renderer) and Direct3D 9 (KGraphicD3D9). Each says which device and window it talks to,
// the calls whose forms differ between the versions, its log prefix, and where its module-wide state lives: each
// version has its own picture list, state cache, render-target stack and window.
#pragma once

#include "HostD3D8.h"
#include "HostD3D9.h"

class KGraphicD3DWindow;
class KGraphicD3D9Window;
template <class Api> class KGraphicD3DCore;

// The device states drawing last set; -1 means unknown (the next draw sets it).
struct TextureStateCache {
    IDirect3DTexture8* texture = nullptr; // bound on stage 0
    float coordWidth = 1, coordHeight = 1;
    int filter = -1;
    int address = -1;
    int srcBlend = -1;
    int dstBlend = -1;
    bool blending = false;
    bool worldNotIdentity = false;
    D3DMATRIX identity{};
};

// The state one version's pictures share: the window and its device, the state cache, the render-target stack
// and the held back buffer. Main thread only.
template <class Api> struct KGraphicD3DModuleOf {
    static constexpr int kTargetStackDepth = 4;

    typename Api::Window* window = nullptr;
    typename Api::Device* device = nullptr;
    TextureStateCache cache;
    KGraphicD3DCore<Api>* targetStack[kTargetStackDepth] = {}; // the current target first
    int targetCount = 0;
    IDirect3DSurface8* backBuffer = nullptr;
    IDirect3DSurface8* backDepth = nullptr;
    // Above 0 while pictures are rebuilt (after a reset, or around a video-memory flush): the device is known to
    // be usable then, even while the window still has its lost flag up, so uploads do not wait for it.
    int rebuilding = 0;
};

struct D3D8Api {
    static constexpr int kVersion = 8;
    static constexpr const char* kLogPrefix = "D3D8";
    static constexpr const char* kCopyCall = "CopyRects"; // named in the read-back error line
    using Device = IDirect3DDevice8;
    using Window = KGraphicD3DWindow;

    static KGraphicD3DModuleOf<D3D8Api>& module();

    // Magnification, minification and (withMip) mip filter of a stage.
    static void setFilter(Device* device, uint32_t stage, int filter, bool withMip) {
        device->SetTextureStageState(stage, D3DTSS_MAGFILTER, uint32_t(filter));
        device->SetTextureStageState(stage, D3DTSS_MINFILTER, uint32_t(filter));
        if (withMip) device->SetTextureStageState(stage, D3DTSS_MIPFILTER, uint32_t(filter));
    }
    static void setAddress(Device* device, uint32_t stage, int address) {
        device->SetTextureStageState(stage, D3DTSS_ADDRESSU, uint32_t(address));
        device->SetTextureStageState(stage, D3DTSS_ADDRESSV, uint32_t(address));
    }
    static void setFvf(Device* device, uint32_t fvf) { device->SetVertexShader(fvf); }
    static HRESULT createTexture(Device* device, uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                 D3DFORMAT format, D3DPOOL pool, IDirect3DTexture8** texture) {
        return device->CreateTexture(width, height, levels, usage, format, pool, texture);
    }
    static HRESULT createDepthSurface(Device* device, uint32_t width, uint32_t height, D3DFORMAT format,
                                      IDirect3DSurface8** surface) {
        return device->CreateDepthStencilSurface(width, height, format, D3DMULTISAMPLE_NONE, surface);
    }
    static HRESULT copyRenderTarget(Device* device, IDirect3DSurface8* from, IDirect3DSurface8* to) {
        return device->CopyRects(from, nullptr, 0, to, nullptr);
    }
    static HRESULT getBackBuffer(Device* device, IDirect3DSurface8** surface) {
        return device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, surface);
    }
    static void setRenderTarget(Device* device, IDirect3DSurface8* target, IDirect3DSurface8* depth) {
        device->SetRenderTarget(target, depth);
    }
    static HRESULT createVertexBuffer(Device* device, uint32_t length, uint32_t usage, uint32_t fvf,
                                      IDirect3DVertexBuffer8** buffer) {
        return device->CreateVertexBuffer(length, usage, fvf, D3DPOOL_DEFAULT, buffer);
    }
    // Pixel shaders are numbers (0 = none), which mean nothing without their device.
    using PixelShader = uint32_t;
    static void deletePixelShader(Device* device, PixelShader shader) {
        if (device) device->DeletePixelShader(shader);
    }
};

struct D3D9Api {
    static constexpr int kVersion = 9;
    static constexpr const char* kLogPrefix = "D3D9";
    static constexpr const char* kCopyCall = "GetRenderTargetData";
    using Device = IDirect3DDevice9;
    using Window = KGraphicD3D9Window;

    static KGraphicD3DModuleOf<D3D9Api>& module();

    // Filters and address modes are sampler states.
    static void setFilter(Device* device, uint32_t stage, int filter, bool withMip) {
        device->SetSamplerState(stage, D3DSAMP_MAGFILTER, uint32_t(filter));
        device->SetSamplerState(stage, D3DSAMP_MINFILTER, uint32_t(filter));
        if (withMip) device->SetSamplerState(stage, D3DSAMP_MIPFILTER, uint32_t(filter));
    }
    static void setAddress(Device* device, uint32_t stage, int address) {
        device->SetSamplerState(stage, D3DSAMP_ADDRESSU, uint32_t(address));
        device->SetSamplerState(stage, D3DSAMP_ADDRESSV, uint32_t(address));
    }
    static void setFvf(Device* device, uint32_t fvf) { device->SetFVF(fvf); }
    static HRESULT createTexture(Device* device, uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                 D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture) {
        return device->CreateTexture(width, height, levels, usage, format, pool, texture, nullptr);
    }
    static HRESULT createDepthSurface(Device* device, uint32_t width, uint32_t height, D3DFORMAT format,
                                      IDirect3DSurface9** surface) {
        return device->CreateDepthStencilSurface(width, height, format, D3DMULTISAMPLE_NONE, 0, false, surface,
                                                 nullptr);
    }
    static HRESULT copyRenderTarget(Device* device, IDirect3DSurface9* from, IDirect3DSurface9* to) {
        return device->GetRenderTargetData(from, to);
    }
    static HRESULT getBackBuffer(Device* device, IDirect3DSurface9** surface) {
        return device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, surface);
    }
    static void setRenderTarget(Device* device, IDirect3DSurface9* target, IDirect3DSurface9* depth) {
        device->SetRenderTarget(0, target);
        device->SetDepthStencilSurface(depth);
    }
    static HRESULT createVertexBuffer(Device* device, uint32_t length, uint32_t usage, uint32_t fvf,
                                      IDirect3DVertexBuffer9** buffer) {
        return device->CreateVertexBuffer(length, usage, fvf, D3DPOOL_DEFAULT, buffer, nullptr);
    }
    // Pixel shaders are objects (null = none), released on their own.
    using PixelShader = IDirect3DPixelShader9*;
    static void deletePixelShader(Device*, PixelShader shader) { shader->Release(); }
};
