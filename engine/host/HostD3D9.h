// Stand-in for the Direct3D 9 interface the Direct3D 9 picture back end is written against: a thin facade over
// the Direct3D 8 stand-in (HostD3D8.h), whose device does the work in both modes (OpenGL and recording).
// Textures, surfaces and vertex buffers are the Direct3D 8 stand-in's own objects; the device takes the
// Direct3D 9 forms of the calls: filters and address modes as sampler states, the vertex format through SetFVF,
// render target and depth surface set apart, render-target contents read with GetRenderTargetData, and the
// extra arguments of creation calls. In the recording mode the facade keeps its own list of the calls made to it.
#pragma once

#include "HostD3D8.h"

#include <vector>

constexpr unsigned D3D9_SDK_VERSION = 32;

using IDirect3DTexture9 = IDirect3DTexture8;
using IDirect3DSurface9 = IDirect3DSurface8;
using IDirect3DVertexBuffer9 = IDirect3DVertexBuffer8;
using D3DVIEWPORT9 = D3DVIEWPORT8;
using D3DCAPS9 = D3DCAPS8;

enum D3DSAMPLERSTATETYPE : int {
    D3DSAMP_ADDRESSU = 1,
    D3DSAMP_ADDRESSV = 2,
    D3DSAMP_MAGFILTER = 5,
    D3DSAMP_MINFILTER = 6,
    D3DSAMP_MIPFILTER = 7,
};

class IDirect3D9;
class IDirect3DDevice9;

// The Direct3D 9 object. Null when OpenGL cannot be used (or for another SDK version).
IDirect3D9* Direct3DCreate9(unsigned sdkVersion);
IDirect3D9* Direct3DCreate9Recording(const D3D8RecordingSetup& setup = {});

class IDirect3D9 : public D3D8Unknown {
public:
    D3D8Mode mode() const { return core_->mode(); }
    HRESULT CheckDeviceFormat(uint32_t adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, uint32_t usage,
                              D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat);
    HRESULT GetDeviceCaps(uint32_t adapter, D3DDEVTYPE type, D3DCAPS9* caps);
    HRESULT CreateDevice(uint32_t adapter, D3DDEVTYPE type, SDL_Window* focusWindow, uint32_t behaviorFlags,
                         D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device);

private:
    friend IDirect3D9* Direct3DCreate9(unsigned);
    friend IDirect3D9* Direct3DCreate9Recording(const D3D8RecordingSetup&);
    explicit IDirect3D9(IDirect3D8* core) : core_(core) {}
    ~IDirect3D9() override;

    IDirect3D8* core_; // owned reference
};

// A pixel shader object (Direct3D 9 hands out objects where Direct3D 8 hands out numbers).
class IDirect3DPixelShader9 : public D3D8Unknown {
private:
    friend class IDirect3DDevice9;
    IDirect3DPixelShader9(IDirect3DDevice8* device, uint32_t handle);
    ~IDirect3DPixelShader9() override;

    IDirect3DDevice8* device_; // owned reference
    uint32_t handle_;
};

// Every call the facade keeps in the recording mode, in order (arguments a, b, c as listed).
enum class D3D9Call {
    SetSamplerState,        // sampler, type, value
    SetTextureStageState,   // stage, type, value
    SetFVF,                 // fvf
    SetRenderTarget,        // index, 1 when the back buffer (0 for a texture surface)
    SetDepthStencilSurface, // 1 when a surface (0 for none)
    GetRenderTargetData,    // result
    SetTexture,             // stage, 1 when a texture
    DrawPrimitiveUP,        // primitive type, primitive count, result
};
struct D3D9RecordedCall {
    D3D9Call call;
    uint32_t a = 0, b = 0, c = 0;
};

class IDirect3DDevice9 : public D3D8Unknown {
public:
    // ----- Device state and frame (as Direct3D 8) -----
    HRESULT TestCooperativeLevel() { return core_->TestCooperativeLevel(); }
    HRESULT Reset(D3DPRESENT_PARAMETERS* parameters) { return core_->Reset(parameters); }
    HRESULT GetDeviceCaps(D3DCAPS9* caps) { return core_->GetDeviceCaps(caps); }
    HRESULT BeginScene() { return core_->BeginScene(); }
    HRESULT EndScene() { return core_->EndScene(); }
    HRESULT Clear(uint32_t count, const D3DRECT* rects, uint32_t flags, D3DCOLOR color, float z, uint32_t stencil) {
        return core_->Clear(count, rects, flags, color, z, stencil);
    }
    HRESULT Present(const D3DRECT* sourceRect, const D3DRECT* destRect, SDL_Window* overrideWindow,
                    const void* dirtyRegion) {
        return core_->Present(sourceRect, destRect, overrideWindow, dirtyRegion);
    }
    // The swap chain comes first; there is one (0).
    HRESULT GetBackBuffer(uint32_t swapChain, uint32_t index, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** surface);

    // ----- States -----
    HRESULT SetViewport(const D3DVIEWPORT9* viewport) { return core_->SetViewport(viewport); }
    HRESULT GetViewport(D3DVIEWPORT9* viewport) { return core_->GetViewport(viewport); }
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE type, const D3DMATRIX* matrix) {
        return core_->SetTransform(type, matrix);
    }
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) { return core_->SetRenderState(state, value); }
    // Colour and alpha operations and arguments and the coordinate index; filters and address modes are sampler
    // states here and are refused.
    HRESULT SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type, uint32_t value);
    HRESULT SetSamplerState(uint32_t sampler, D3DSAMPLERSTATETYPE type, uint32_t value); // samplers 0, 1
    HRESULT SetTexture(uint32_t stage, IDirect3DTexture9* texture);
    HRESULT SetFVF(uint32_t fvf);
    HRESULT SetPixelShader(IDirect3DPixelShader9* shader); // only none is accepted
    HRESULT CreatePixelShader(const uint32_t* function, IDirect3DPixelShader9** shader);

    // ----- Resources (the shared handle must be null) -----
    HRESULT CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, D3DFORMAT format,
                          D3DPOOL pool, IDirect3DTexture9** texture, void* sharedHandle);
    HRESULT CreateDepthStencilSurface(uint32_t width, uint32_t height, D3DFORMAT format,
                                      D3DMULTISAMPLE_TYPE multiSample, uint32_t multiSampleQuality, bool discard,
                                      IDirect3DSurface9** surface, void* sharedHandle);
    HRESULT CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, D3DPOOL pool,
                               IDirect3DVertexBuffer9** buffer, void* sharedHandle);
    // Index 0 only. The depth surface set stays, as long as it covers the new target.
    HRESULT SetRenderTarget(uint32_t index, IDirect3DSurface9* renderTarget);
    HRESULT SetDepthStencilSurface(IDirect3DSurface9* depthStencil);  // null for none; the viewport is kept
    HRESULT GetDepthStencilSurface(IDirect3DSurface9** depthStencil); // D3DERR_NOTFOUND when there is none
    // The whole render target (or back buffer) into a system-memory texture level of the same size and format.
    HRESULT GetRenderTargetData(IDirect3DSurface9* renderTarget, IDirect3DSurface9* destination);

    // ----- Drawing -----
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices, uint32_t stride);

    // ----- Beyond Direct3D -----
    // The Direct3D 8 stand-in device underneath: its test hooks, counters and recorded draws.
    IDirect3DDevice8* core() const { return core_; }
    // Recording mode: the Direct3D 9 calls kept since the last clearRecording() (which clears the core's too).
    const std::vector<D3D9RecordedCall>& recordedCalls() const { return calls_; }
    void clearRecording();

private:
    friend class IDirect3D9;
    explicit IDirect3DDevice9(IDirect3DDevice8* core);
    ~IDirect3DDevice9() override;
    void record(D3D9Call call, uint32_t a = 0, uint32_t b = 0, uint32_t c = 0);

    IDirect3DDevice8* core_; // owned reference
    std::vector<D3D9RecordedCall> calls_;
};
