// How an OpenGL game window and the OpenGL picture back end (KGraphicGL) meet: what the back end reads from the
// window, and the calls the window makes when its context is ready and before it goes. The game runs the
// Direct3D 8 window, so only tests implement this window.
#pragma once

#include "HostWGL.h"

class KGraphicGLWindow {
public:
    virtual ~KGraphicGLWindow() = default;

    // The window's device context and rendering context (the context pictures are drawn with).
    virtual HDC getGLDeviceContext() = 0;
    virtual HGLRC getGLRenderingContext() = 0;

    // The height of the current view: the back end turns every destination y into view height - y. While a
    // render target is drawn into it is the target's height.
    virtual int getViewHeight() = 0;
    // The game area on the window's framebuffer as glViewport takes it (x, y from the bottom-left corner), and
    // the game size it shows.
    virtual void getGameAreaViewport(int& x, int& y, int& width, int& height) = 0;
    virtual int getGameWidth() = 0;
    virtual int getGameHeight() = 0;
    // Clipping on: the game area is shown inset and drawing is scissored to this rectangle (glScissor terms).
    virtual bool isClipping() = 0;
    virtual void getScissorRect(int& x, int& y, int& width, int& height) = 0;

    // Capabilities: pbuffers that bind to textures, rectangle (non-power-of-two) textures, two texture units.
    virtual bool hasPbufferRenderTexture() = 0;
    virtual bool hasRectangleTextures() = 0;
    virtual bool hasMultitexture() = 0;

    // Drawing into a render target of width x height texels: the view becomes that size, and its projection maps
    // y = 0 (after the back end's flip) to the target's first row, so a target holds its picture top row first
    // like every uploaded picture.
    virtual void setTargetView(int width, int height) = 0;
    // Back to the window: its view and projection over the game area.
    virtual void restoreGameView() = 0;
    // KWindow::setWorldView (x, y, angle in degrees, zoom; clear the current view with the clear colour).
    virtual void applyWorldView(float x, float y, float angle, float zoom, bool clear) = 0;
    // KWindow::getResolutionScale.
    virtual float getResolutionScale() = 0;
};

// When the window's context is made: remembers the window and resets the shared drawing state and the target
// stack. With null (before the window's context goes) every picture's textures and pbuffers and every pixel
// shader's program are given back first.
void resetDrawingStateGL(KGraphicGLWindow* window);
