// Inside the Direct3D 8 stand-in: the OpenGL side of a device (context, framebuffers, texture objects and
// the gathering of draws) and the format facts both sides share. Only HostD3D8*.cpp include this.
#pragma once

#include "HostD3D8.h"
#include "HostGLFunctions.h"

#include <string>

namespace host::d3d8 {

// Bytes per pixel of a colour format, 0 for formats that are not colour formats here.
uint32_t formatBytes(D3DFORMAT format);
bool hasAlpha(D3DFORMAT format);
// The pixel of an ARGB colour in a format's memory layout (up to 4 bytes).
uint32_t packColor(D3DFORMAT format, D3DCOLOR color);

// What one look at OpenGL found (made once per process, on a hidden window).
struct GLProbe {
    bool usable = false;
    std::string renderer, vendor, version;
    uint32_t maxTextureSize = 0;
    bool renderTargetFormat[32] = {}; // by format number: colour-renderable in a framebuffer object
};
const GLProbe& probeOpenGL();

} // namespace host::d3d8

// One device's OpenGL state. Vertices are transformed to clip space as they arrive (world, view, projection,
// the half-pixel rule and the row order of the surfaces), so a change of transform does not break a batch.
struct D3D8Backend {
    struct Vertex {
        float x, y, z, w;
        uint32_t color; // bytes B, G, R, A
        float u0, v0, u1, v1;
    };
    // Everything a gathered draw depends on besides its vertices.
    struct Key {
        uint32_t primitive; // GL_TRIANGLES, GL_LINES or GL_POINTS
        uint32_t alphaBlend, srcBlend, destBlend, cullMode, zEnable, zWriteEnable;
        uint32_t viewportX, viewportY, viewportWidth, viewportHeight;
        float minZ, maxZ;
        struct Stage {
            IDirect3DTexture8* texture;
            uint32_t colorOp, colorArg1, colorArg2, alphaOp, alphaArg1, alphaArg2;
            uint32_t addressU, addressV, magFilter, minFilter, mipFilter;
        } stage[2];
    };

    // Makes the context on the window, the back buffer and the default states; null with the reason in error.
    static std::unique_ptr<D3D8Backend> create(IDirect3DDevice8& device, SDL_Window* window, std::string& error);
    ~D3D8Backend();

    void makeCurrent();
    void setBackBuffer(uint32_t width, uint32_t height, D3DFORMAT format);
    void applyWindowMode(bool windowed, uint32_t interval, D3DSWAPEFFECT swapEffect);
    // Whether the back buffer may live in the window's own framebuffer (see backInWindow).
    void allowBackBufferInWindow(bool allowed);
    bool isBackBufferInWindow() const { return backInWindow; }
    void setRenderTarget(IDirect3DSurface8* target, IDirect3DSurface8* depth);
    void clear(uint32_t flags, D3DCOLOR color, float z);
    void present();
    void readSurface(IDirect3DSurface8* surface, const D3DRECT& area, D3DFORMAT format, uint8_t* pixels, int pitch);

    void createTexture(IDirect3DTexture8& texture);
    void uploadLevel(IDirect3DTexture8& texture, uint32_t level);
    void destroyTexture(IDirect3DTexture8& texture);
    void createDepthSurface(IDirect3DSurface8& surface);
    void destroyDepthSurface(IDirect3DSurface8& surface);

    void stateChanged() { keyDirty = true; }
    void draw(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const uint8_t* vertices, uint32_t stride, uint32_t fvf,
              const D3DMATRIX& combined);
    void flush();
    void finish();

    IDirect3DDevice8& device;
    SDL_Window* window = nullptr;
    void* context = nullptr;
    GLuint backFramebuffer = 0, backColor = 0; // the back buffer when it does not live in the window
    GLuint targetFramebuffer = 0;              // the framebuffer draws and clears go to
    bool targetIsBackBuffer = true;
    uint32_t backWidth = 0, backHeight = 0;
    D3DFORMAT backFormat = D3DFMT_UNKNOWN;
    bool batching = true;

private:
    explicit D3D8Backend(IDirect3DDevice8& owner) : device(owner) {}
    // The window's framebuffer holds rows bottom up: draws into it are turned over on the way.
    bool rowsUp() const { return targetIsBackBuffer && backInWindow; }
    GLuint backBufferFramebuffer() const { return backInWindow ? 0 : backFramebuffer; }
    bool windowCanHoldBackBuffer() const;
    void placeBackBuffer();
    void copyBackBuffer(GLuint from, GLuint to);
    void buildKey(Key& key, uint32_t primitive) const;
    void applyKey();
    void applyStage(int unit, const Key::Stage& stage);
    void bindTextureForUpdate(GLuint texture);
    void forgetAppliedState();

    std::vector<Vertex> vertices;
    std::vector<uint32_t> indices;
    Key key = {};
    bool keyValid = false, keyDirty = true;

    // When the back buffer's contents need not survive a present (any swap effect but COPY) and the window's
    // drawable has the back buffer's size and pixel layout, the window's own framebuffer is the back buffer:
    // the present is the window's swap alone, with no copy of the whole frame before it.
    bool backInWindow = false;
    bool backInWindowAllowed = true;
    bool depthOnBackBuffer = false;
    D3DSWAPEFFECT swapEffect = D3DSWAPEFFECT_DISCARD;
    int windowRedBits = 0, windowGreenBits = 0, windowBlueBits = 0, windowAlphaBits = 0;

    // OpenGL state as last set, so a flush changes only what differs.
    struct Applied {
        bool valid = false;
        bool dropClear;
        bool rowsUp;
        uint32_t alphaBlend, srcBlend, destBlend, cullMode, zEnable, zWriteEnable;
        uint32_t viewportX, viewportY, viewportWidth, viewportHeight;
        float minZ, maxZ;
        GLuint texture[2];
        bool unitEnabled[2];
        GLint env[2][8];
    } applied;
    int activeUnit = -1;
};
