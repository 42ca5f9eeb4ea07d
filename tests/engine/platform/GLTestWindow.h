// A stand-in OpenGL game window for the OpenGL picture back end's tests: a hidden SDL window with a real OpenGL
// context made through the WGL stand-in, the view and projection the back end expects (game area or render
// target), settable capability flags and game-area placement, and read-back of the window's pixels.
#pragma once

#include "HostGL.h"
#include "HostWGL.h"
#include "HostWindow.h"
#include "KGraphicGLWindow.h"
#include "KImage.h"

#include <SDL2/SDL.h>
#include <vector>

class GLTestWindow : public KGraphicGLWindow {
public:
    explicit GLTestWindow(int width = 256, int height = 192) : gameWidth(width), gameHeight(height) {
        viewport = {0, 0, width, height};
        if (!host::startVideo() || SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return;
        sdlStarted = true;
        window = SDL_CreateWindow("opengl test", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (!window) return;
        dc = GetDC(window);
        context = wglCreateContext(dc);
        if (!context || !wglMakeCurrent(dc, context)) return;
        rectangles = host::ogl::hasExtension("GL_ARB_texture_rectangle");
        host::ogl::viewport(0, 0, width, height);
        restoreGameView();
        resetDrawingStateGL(this);
        ready = true;
    }

    ~GLTestWindow() override {
        if (ready) resetDrawingStateGL(nullptr);
        if (context) {
            wglMakeCurrent(nullptr, nullptr);
            wglDeleteContext(context);
        }
        if (dc) ReleaseDC(window, dc);
        if (window) SDL_DestroyWindow(window);
        if (sdlStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    bool ok() const { return ready; }

    void clear(float r, float g, float b) {
        clearR = r, clearG = g, clearB = b;
        applyWorldView(0, 0, 0, 1, true);
    }

    // The window's pixels, top row first, each as KImage packs them (R, G, B bytes; alpha 255).
    std::vector<uint32_t> frame() {
        std::vector<uint32_t> bottomUp(size_t(gameWidth) * size_t(gameHeight));
        host::ogl::pixelStorei(host::ogl::PACK_ALIGNMENT, 1);
        host::ogl::readPixels(0, 0, gameWidth, gameHeight, host::ogl::RGBA, host::ogl::UNSIGNED_BYTE, bottomUp.data());
        std::vector<uint32_t> topDown(bottomUp.size());
        for (int y = 0; y < gameHeight; y++)
            for (int x = 0; x < gameWidth; x++)
                topDown[size_t(y) * size_t(gameWidth) + size_t(x)] =
                    bottomUp[size_t(gameHeight - 1 - y) * size_t(gameWidth) + size_t(x)] | 0xFF000000u;
        return topDown;
    }
    uint32_t pixel(int x, int y) { return frame()[size_t(y) * size_t(gameWidth) + size_t(x)]; }

    HDC getGLDeviceContext() override { return dc; }
    HGLRC getGLRenderingContext() override { return context; }
    int getViewHeight() override { return viewHeight; }
    void getGameAreaViewport(int& x, int& y, int& width, int& height) override {
        x = viewport.x, y = viewport.y, width = viewport.width, height = viewport.height;
    }
    int getGameWidth() override { return gameWidth; }
    int getGameHeight() override { return gameHeight; }
    bool isClipping() override { return clipping; }
    void getScissorRect(int& x, int& y, int& width, int& height) override { getGameAreaViewport(x, y, width, height); }
    bool hasPbufferRenderTexture() override { return pbuffers; }
    bool hasRectangleTextures() override { return rectangles; }
    bool hasMultitexture() override { return multitexture; }

    void setTargetView(int width, int height) override {
        viewHeight = height;
        // The back end's y flip puts the top of the picture at y = height: that line is the target's first row.
        project(0, width, height, 0);
    }
    void restoreGameView() override {
        viewHeight = gameHeight;
        project(0, gameWidth, 0, gameHeight);
    }
    void applyWorldView(float, float, float, float, bool clear) override {
        if (!clear) return;
        host::ogl::clearColor(clearR, clearG, clearB, 1);
        host::ogl::clear(host::ogl::COLOR_BUFFER_BIT);
    }
    float getResolutionScale() override { return resolutionScale; }

    int gameWidth, gameHeight;
    struct Rect {
        int x, y, width, height;
    } viewport;
    bool clipping = false;
    bool pbuffers = true, rectangles = false, multitexture = true;
    float resolutionScale = 1;
    float clearR = 0, clearG = 0, clearB = 0;

private:
    static void project(double left, double right, double bottom, double top) {
        host::ogl::matrixMode(host::ogl::PROJECTION);
        host::ogl::loadIdentity();
        host::ogl::ortho(left, right, bottom, top, -1, 1);
        host::ogl::matrixMode(host::ogl::MODELVIEW);
        host::ogl::loadIdentity();
    }

    bool sdlStarted = false, ready = false;
    SDL_Window* window = nullptr;
    HDC dc = nullptr;
    HGLRC context = nullptr;
    int viewHeight = 0;
};
