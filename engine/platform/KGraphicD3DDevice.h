// How the Direct3D 8 window and the Direct3D 8 picture back end (KGraphicD3D) meet: what the back end reads
// from the window (KGraphicD3DWindow, which the window implements), and the functions the window calls when the
// device is made, every frame, and around every device reset.
#pragma once

#include "HostD3D8.h"

class KImage;
class KBatchD3D;

// The window as the picture back end sees it. The window hands itself over in resetDrawingState.
class KGraphicD3DWindow {
public:
    virtual ~KGraphicD3DWindow() = default;

    virtual IDirect3DDevice8* getD3DDevice() = 0;

    // The window's device-lost flag: set while the device must be reset. The drawing guard sets it when the
    // device's cooperative-level test fails, and the window clears it after a successful reset.
    virtual bool isD3DDeviceLost() = 0;
    virtual void setD3DDeviceLost() = 0;

    // Presents and waits for the device to come back (the window's flipBackBuffer(true)); the loaders call it
    // while the device is lost. False when the wait ended because the program is quitting.
    virtual bool waitForD3DDevice() = 0;

    // The window's per-format support, one byte per engine pixel format in the order X1R5G5B5, R5G6B5,
    // A1R5G5B5, A4R4G4B4, R8G8B8, X8R8G8B8, A8R8G8B8 (non-zero = supported).
    virtual const unsigned char* getTextureFormatSupport() = 0;
    virtual const unsigned char* getRenderTargetFormatSupport() = 0;
    virtual bool hasNonSquareTextures() = 0;
    virtual bool usesDepthBuffer() = 0;

    // The game size (800 x 600) and the game area's placement on the back buffer (offset and actual size).
    virtual int getGameAreaWidth() = 0;
    virtual int getGameAreaHeight() = 0;
    virtual void getGameAreaRect(int& x, int& y, int& width, int& height) = 0;

    // The window's back buffer, game area only, resized to width x height (the window's getBackBufferAsImage).
    virtual bool copyBackBufferToImage(int width, int height, KImage& image) = 0;

    // Drawing into a render target: view size = the target picture's size, render-surface texture size = the
    // target texture's size, the drawing-into-a-target mark set, game-area offset 0, 0 and scale 1.
    virtual void setTargetView(int viewWidth, int viewHeight, int textureWidth, int textureHeight) = 0;
    // Back to the game area: its placement and scale, view and texture size = the game size, mark cleared.
    virtual void restoreGameView() = 0;
    // The window's setWorldView (x, y, angle in degrees, zoom, clear with the clear colour).
    virtual void applyWorldView(float x, float y, float angle, float zoom, bool clear) = 0;
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
