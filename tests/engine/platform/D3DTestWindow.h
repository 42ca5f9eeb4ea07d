// A stand-in game window for the Direct3D 8 picture back end's tests: it owns a device of the Direct3D stand-in
// (recording, or OpenGL on a hidden SDL window); the answers, view and projection are D3DTestWindowCommon's.
#pragma once

#include "D3DTestWindowCommon.h"
#include "HostD3D8.h"
#include "HostWindow.h"
#include "KGraphicD3DDevice.h"
#include "KImage.h"
#include "KWindowD3DRenderStates.h"

#include <SDL2/SDL.h>
#include <cstring>
#include <vector>

class D3DTestWindow : public D3DTestWindowCommon<KGraphicD3DWindow, IDirect3DDevice8> {
public:
    // recording: no GL at all. Otherwise an OpenGL device on a hidden offscreen window; check ok().
    explicit D3DTestWindow(bool recording, int width = 800, int height = 600, D3D8RecordingSetup setup = {})
        : D3DTestWindowCommon(width, height) {
        if (recording) {
            d3d = Direct3DCreate8Recording(setup);
        } else {
            if (!host::startVideo() || SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return;
            sdlStarted = true;
            sdlWindow = SDL_CreateWindow("graphics test", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
            if (!sdlWindow) return;
            d3d = Direct3DCreate8(D3D_SDK_VERSION);
        }
        if (!d3d) return;
        D3DPRESENT_PARAMETERS parameters;
        parameters.BackBufferWidth = uint32_t(width);
        parameters.BackBufferHeight = uint32_t(height);
        parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
        parameters.hDeviceWindow = sdlWindow;
        parameters.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
        if (FAILED(d3d->CreateDevice(0, D3DDEVTYPE_HAL, sdlWindow, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters,
                                     &device)))
            device = nullptr;
        if (!device) return;
        presentation = parameters;
        resetRenderStates();
        device->BeginScene();
        applyWorldView(0, 0, 0, 1, true);
        D3DVIEWPORT8 viewport = {0, 0, uint32_t(width), uint32_t(height), 0, 1};
        device->SetViewport(&viewport);
        resetDrawingState(this);
    }

    ~D3DTestWindow() override {
        releasePixelShaders();
        releaseVertexBuffers();
        releaseDeviceTextures(true);
        resetDrawingState(nullptr);
        if (device) device->Release();
        if (d3d) d3d->Release();
        if (sdlWindow) SDL_DestroyWindow(sdlWindow);
        if (sdlStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    bool ok() const { return device != nullptr; }

    // The window's reset sequence: release, Reset, restore.
    HRESULT resetDevice() {
        device->EndScene();
        releasePixelShaders();
        releaseVertexBuffers();
        releaseDeviceTextures(false);
        HRESULT result = device->Reset(&presentation);
        if (SUCCEEDED(result)) {
            lost = false;
            resetRenderStates();
            resetDrawingState(this);
            restoreRenderTargets();
            restoreVertexBuffers();
            restorePixelShaders();
            D3DVIEWPORT8 viewport = {0, 0, uint32_t(gameWidth), uint32_t(gameHeight), 0, 1};
            device->SetViewport(&viewport);
            applyWorldView(0, 0, 0, 1, false);
        }
        device->BeginScene();
        return result;
    }

    // The render states the game window sets after making or resetting the device.
    void resetRenderStates() { applyWindowRenderStates(device); }

    // The back buffer's pixel at (x, y) as 0xAARRGGBB (alpha forced to 0xFF).
    uint32_t pixel(int x, int y) {
        readBackBuffer();
        return frame[size_t(y) * size_t(gameWidth) + size_t(x)] | 0xFF000000u;
    }
    const std::vector<uint32_t>& readBackBuffer() {
        frame.assign(size_t(gameWidth) * size_t(gameHeight), 0);
        IDirect3DSurface8* back = nullptr;
        if (FAILED(device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back))) return frame;
        D3DLOCKED_RECT locked;
        if (SUCCEEDED(back->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
            for (int y = 0; y < gameHeight; y++)
                std::memcpy(&frame[size_t(y) * size_t(gameWidth)],
                            static_cast<const unsigned char*>(locked.pBits) + size_t(y) * locked.Pitch,
                            size_t(gameWidth) * 4);
            back->UnlockRect();
        }
        back->Release();
        return frame;
    }

    // KGraphicD3DWindow
    IDirect3DDevice8* getD3DDevice() override { return device; }
    bool waitForD3DDevice() override {
        waits++;
        if (quitDuringWait) return false;
        if (device->TestCooperativeLevel() == D3DERR_DEVICENOTRESET) resetDevice();
        return true;
    }
    bool copyBackBufferToImage(int width, int height, KImage& image) override {
        readBackBuffer();
        if (!image.allocate(gameWidth, gameHeight, false)) return false;
        for (size_t i = 0; i < frame.size(); i++) {
            uint32_t word = frame[i];
            image.getPixels()[i] = KImage::pack((word >> 16) & 0xFF, (word >> 8) & 0xFF, word & 0xFF, 255);
        }
        image.resample(width, height);
        return true;
    }

    IDirect3D8* d3d = nullptr;
    SDL_Window* sdlWindow = nullptr;
    bool sdlStarted = false;
    D3DPRESENT_PARAMETERS presentation;
    bool quitDuringWait = false; // the wait for a lost device ends with the program quitting
};
