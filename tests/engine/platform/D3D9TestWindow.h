// A stand-in Direct3D 9 window for the Direct3D 9 picture back end's tests (the program has none): it owns a
// device of the Direct3D 9 facade (recording, or OpenGL on a hidden SDL window) and runs the reset sequence a window
// would; the answers, view and projection are D3DTestWindowCommon's.
#pragma once

#include "D3DTestWindowCommon.h"
#include "HostD3D9.h"
#include "HostWindow.h"
#include "KGraphicD3D9Device.h"

#include <SDL2/SDL.h>
#include <cstring>
#include <vector>

class D3D9TestWindow : public D3DTestWindowCommon<KGraphicD3D9Window, IDirect3DDevice9> {
public:
    // recording: no GL at all. Otherwise an OpenGL device on a hidden offscreen window; check ok().
    // backWidth, backHeight: the back buffer when it is larger than the game area (placed at gameX, gameY).
    explicit D3D9TestWindow(bool recording, int width = 800, int height = 600, int backWidth = 0, int backHeight = 0,
                            int gameX = 0, int gameY = 0, D3D8RecordingSetup setup = {},
                            D3DFORMAT backFormat = D3DFMT_X8R8G8B8)
        : D3DTestWindowCommon(width, height) {
        areaX = gameX;
        areaY = gameY;
        backWidth = backWidth ? backWidth : width;
        backHeight = backHeight ? backHeight : height;
        if (recording) {
            d3d = Direct3DCreate9Recording(setup);
        } else {
            if (!host::startVideo() || SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return;
            sdlStarted = true;
            sdlWindow =
                SDL_CreateWindow("graphics test", 0, 0, backWidth, backHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
            if (!sdlWindow) return;
            d3d = Direct3DCreate9(D3D9_SDK_VERSION);
        }
        if (!d3d) return;
        D3DPRESENT_PARAMETERS parameters;
        parameters.BackBufferWidth = uint32_t(backWidth);
        parameters.BackBufferHeight = uint32_t(backHeight);
        parameters.BackBufferFormat = backFormat;
        parameters.hDeviceWindow = sdlWindow;
        parameters.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
        if (FAILED(d3d->CreateDevice(0, D3DDEVTYPE_HAL, sdlWindow, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters,
                                     &device)))
            device = nullptr;
        if (!device) return;
        presentation = parameters;
        resetRenderStates();
        device->BeginScene();
        setGameViewport();
        applyWorldView(0, 0, 0, 1, true);
        d3d9::resetDrawingState(this);
    }

    ~D3D9TestWindow() override {
        d3d9::releasePixelShaders();
        d3d9::releaseVertexBuffers();
        d3d9::releaseDeviceTextures(true);
        d3d9::resetDrawingState(nullptr);
        if (device) device->Release();
        if (d3d) d3d->Release();
        if (sdlWindow) SDL_DestroyWindow(sdlWindow);
        if (sdlStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    bool ok() const { return device != nullptr; }
    IDirect3DDevice8* core() const { return device->core(); }

    // The window's reset sequence: release, Reset, restore.
    HRESULT resetDevice() {
        device->EndScene();
        d3d9::releasePixelShaders();
        d3d9::releaseVertexBuffers();
        d3d9::releaseDeviceTextures(false);
        HRESULT result = device->Reset(&presentation);
        if (SUCCEEDED(result)) {
            lost = false;
            resetRenderStates();
            d3d9::resetDrawingState(this);
            d3d9::restoreRenderTargets();
            d3d9::restoreVertexBuffers();
            d3d9::restorePixelShaders();
            setGameViewport();
            applyWorldView(0, 0, 0, 1, false);
        }
        device->BeginScene();
        return result;
    }

    void resetRenderStates() {
        device->SetRenderState(D3DRS_LIGHTING, 0);
        device->SetRenderState(D3DRS_ZENABLE, 0);
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
        device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
        device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
        device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
        device->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, 1);
    }

    void setGameViewport() {
        D3DVIEWPORT9 viewport = {uint32_t(areaX), uint32_t(areaY), uint32_t(areaWidth), uint32_t(areaHeight), 0, 1};
        device->SetViewport(&viewport);
    }

    // The back buffer's pixel at (x, y) of the whole buffer as 0xFFRRGGBB (an X8R8G8B8 back buffer).
    uint32_t pixel(int x, int y) {
        readBackBuffer();
        return frame[size_t(y) * size_t(presentation.BackBufferWidth) + size_t(x)] | 0xFF000000u;
    }
    const std::vector<uint32_t>& readBackBuffer() {
        int width = int(presentation.BackBufferWidth), height = int(presentation.BackBufferHeight);
        frame.assign(size_t(width) * size_t(height), 0);
        IDirect3DSurface9* back = nullptr;
        if (FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back))) return frame;
        D3DLOCKED_RECT locked;
        if (SUCCEEDED(back->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
            for (int y = 0; y < height; y++)
                std::memcpy(&frame[size_t(y) * size_t(width)],
                            static_cast<const unsigned char*>(locked.pBits) + size_t(y) * locked.Pitch,
                            size_t(width) * 4);
            back->UnlockRect();
        }
        back->Release();
        return frame;
    }

    // KGraphicD3D9Window
    IDirect3DDevice9* getD3DDevice() override { return device; }
    bool waitForD3DDevice() override {
        waits++;
        if (device->TestCooperativeLevel() == D3DERR_DEVICENOTRESET) resetDevice();
        return true;
    }
    float getResolutionScale() override { return resolutionScale; }

    IDirect3D9* d3d = nullptr;
    SDL_Window* sdlWindow = nullptr;
    bool sdlStarted = false;
    D3DPRESENT_PARAMETERS presentation;
    float resolutionScale = 1;
};
