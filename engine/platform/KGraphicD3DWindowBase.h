// What the Direct3D picture back end of either version reads from and sets on its window; KGraphicD3DWindow
// (Direct3D 8) and KGraphicD3D9Window add the device and what only their version asks.
#pragma once

class KGraphicD3DWindowBase {
public:
    virtual ~KGraphicD3DWindowBase() = default;

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

    // Drawing into a render target: view size = the target picture's size, render-surface texture size = the
    // target texture's size, the drawing-into-a-target mark set, game-area offset 0, 0 and scale 1.
    virtual void setTargetView(int viewWidth, int viewHeight, int textureWidth, int textureHeight) = 0;
    // Back to the game area: its placement and scale, view and texture size = the game size, mark cleared.
    virtual void restoreGameView() = 0;
    // The window's setWorldView (x, y, angle in degrees, zoom, clear with the clear colour).
    virtual void applyWorldView(float x, float y, float angle, float zoom, bool clear) = 0;
};
