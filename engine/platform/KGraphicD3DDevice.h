// How the Direct3D 8 window and the Direct3D 8 picture back end (KGraphicD3D) meet: what the back end reads
// from the window (KGraphicD3DWindow, which the window implements), and the functions the window calls when the
// device is made, every frame, and around every device reset.
#pragma once

#include "HostD3D8.h"
#include "KGraphicD3DWindowBase.h"

class KImage;
class KBatchD3D;

// The window as the picture back end sees it. The window hands itself over in resetDrawingState.
class KGraphicD3DWindow : public KGraphicD3DWindowBase {
public:
    virtual IDirect3DDevice8* getD3DDevice() = 0;

    // The window's back buffer, game area only, resized to width x height (the window's getBackBufferAsImage).
    virtual bool copyBackBufferToImage(int width, int height, KImage& image) = 0;
};

// After the device is made and after every reset: remembers the window and its device, resets the drawing
// state cache, empties the render-target stack and fetches the back buffer (and depth surface).
void resetDrawingState(KGraphicD3DWindow* window);
// Each frame before the scene ends: ends any render target left open ("D3D8: missing endRenderToTarget").
void closeRenderTargets();
// Before a reset (releaseAll false: only render targets) and at clean-up (releaseAll true: every picture).
void releaseDeviceTextures(bool releaseAll);
// After a reset: rebuilds every render target (their contents are lost; the owners redraw them).
void restoreRenderTargets();
void releaseVertexBuffers();
void restoreVertexBuffers();
void releasePixelShaders();
void restorePixelShaders();
bool createVertexBuffer(KBatchD3D* batch);

// A filled rectangle with normal blending whatever picture drew last (letterbox bars, brightness veil); nothing
// when a is at or below 0.
void fillRectBlended(float x1, float y1, float x2, float y2, float r, float g, float b, float a);
