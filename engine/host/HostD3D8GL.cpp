// The OpenGL side of the Direct3D 8 stand-in: the context on the SDL window, the back buffer and render
// targets as framebuffer objects in Direct3D row order (row 0 = top), or the back buffer in the window's own
// framebuffer when it may live there, textures with their upload mapping, the fixed-function stage emulation,
// and the gathering of draws into one vertex array per state.
#include "HostD3D8Backend.h"
#include "HostWindow.h"

#include <SDL.h>
#include <algorithm>
#include <cstring>

using namespace host;
using namespace host::d3d8;

namespace {

struct GLFormat {
    GLenum internal, format, type;
};

GLFormat glFormat(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_A8R8G8B8:
        return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV};
    case D3DFMT_X8R8G8B8:
        return {GL_RGB8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV}; // the X byte is not sampled
    case D3DFMT_R5G6B5:
        return {GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5};
    case D3DFMT_X1R5G5B5:
        return {GL_RGB5, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV};
    case D3DFMT_A1R5G5B5:
        return {GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV};
    case D3DFMT_A4R4G4B4:
        return {GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV};
    case D3DFMT_R8G8B8:
        return {GL_RGB8, GL_BGR, GL_UNSIGNED_BYTE};
    default:
        return {0, 0, 0};
    }
}

GLenum glDepthFormat(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_D16:
        return GL_DEPTH_COMPONENT16;
    case D3DFMT_D32:
        return GL_DEPTH_COMPONENT32;
    case D3DFMT_D24S8:
        return GL_DEPTH24_STENCIL8;
    default:
        return GL_DEPTH_COMPONENT24;
    }
}

GLenum glBlend(uint32_t blend) {
    switch (blend) {
    case D3DBLEND_ZERO:
        return GL_ZERO;
    case D3DBLEND_ONE:
        return GL_ONE;
    case D3DBLEND_SRCCOLOR:
        return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR:
        return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA:
        return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA:
        return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA:
        return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA:
        return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR:
        return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR:
        return GL_ONE_MINUS_DST_COLOR;
    default:
        return GL_SRC_ALPHA_SATURATE;
    }
}

GLint glAddress(uint32_t address) {
    return address == D3DTADDRESS_WRAP     ? GL_REPEAT
           : address == D3DTADDRESS_MIRROR ? GL_MIRRORED_REPEAT
                                           : GL_CLAMP_TO_EDGE;
}

GLint glMinFilter(uint32_t minFilter, uint32_t mipFilter) {
    bool linear = minFilter == D3DTEXF_LINEAR;
    if (mipFilter == D3DTEXF_NONE) return linear ? GL_LINEAR : GL_NEAREST;
    if (mipFilter == D3DTEXF_POINT) return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
}

GLint glSource(uint32_t argument) {
    return argument == D3DTA_TEXTURE ? GL_TEXTURE : argument == D3DTA_DIFFUSE ? GL_PRIMARY_COLOR : GL_PREVIOUS;
}

// The combiner of one stage operation: mode and its two sources.
void glCombine(uint32_t op, uint32_t arg1, uint32_t arg2, GLint* out) {
    switch (op) {
    case D3DTOP_SELECTARG1:
        out[0] = GL_REPLACE, out[1] = glSource(arg1), out[2] = GL_PREVIOUS;
        break;
    case D3DTOP_SELECTARG2:
        out[0] = GL_REPLACE, out[1] = glSource(arg2), out[2] = GL_PREVIOUS;
        break;
    case D3DTOP_MODULATE:
        out[0] = GL_MODULATE, out[1] = glSource(arg1), out[2] = glSource(arg2);
        break;
    default:
        out[0] = GL_REPLACE, out[1] = GL_PREVIOUS, out[2] = GL_PREVIOUS;
        break;
    }
}

SDL_GLContext makeContext(SDL_Window* window) {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context && !loadGLFunctions()) {
        SDL_GL_DeleteContext(context);
        return nullptr;
    }
    return context;
}

} // namespace

// ----- The one look at OpenGL --------------------------------------------------------------------------------

const GLProbe& host::d3d8::probeOpenGL() {
    static GLProbe probe;
    static bool done = false;
    if (done) return probe;
    done = true;
    if (!startVideo()) return probe;
    SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext previousContext = SDL_GL_GetCurrentContext();
    SDL_Window* window = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    SDL_GLContext context = window ? makeContext(window) : nullptr;
    if (context) {
        probe.usable = true;
        auto text = [](GLenum name) {
            const GLubyte* value = glGetString(name);
            return std::string(value ? reinterpret_cast<const char*>(value) : "");
        };
        probe.renderer = text(GL_RENDERER);
        probe.vendor = text(GL_VENDOR);
        probe.version = text(GL_VERSION);
        GLint size = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
        probe.maxTextureSize = uint32_t(size);
        GLuint framebuffer = 0;
        gl.genFramebuffers(1, &framebuffer);
        gl.bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        for (int f = D3DFMT_A8R8G8B8; f <= D3DFMT_A4R4G4B4; ++f) {
            GLFormat format = glFormat(D3DFORMAT(f));
            GLuint texture = 0;
            glGenTextures(1, &texture);
            glBindTexture(GL_TEXTURE_2D, texture);
            glTexImage2D(GL_TEXTURE_2D, 0, GLint(format.internal), 64, 64, 0, format.format, format.type, nullptr);
            gl.framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
            probe.renderTargetFormat[f] = gl.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
            gl.framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
            glDeleteTextures(1, &texture);
        }
        gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
        gl.deleteFramebuffers(1, &framebuffer);
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(context);
    }
    if (window) SDL_DestroyWindow(window);
    if (previousContext) SDL_GL_MakeCurrent(previousWindow, previousContext);
    return probe;
}

// ----- Context, back buffer, window --------------------------------------------------------------------------

std::unique_ptr<D3D8Backend> D3D8Backend::create(IDirect3DDevice8& device, SDL_Window* window, std::string& error) {
    SDL_GLContext context = makeContext(window);
    if (!context) {
        error = SDL_GetError();
        return nullptr;
    }
    std::unique_ptr<D3D8Backend> backend(new D3D8Backend(device));
    backend->window = window;
    backend->context = context;
    SDL_GL_MakeCurrent(window, context);
    glDisable(GL_DITHER);
    glDisable(GL_LIGHTING);
    glAlphaFunc(GL_GREATER, 0.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glDepthFunc(GL_LEQUAL);
    glPointSize(1.0f);
    glLineWidth(1.0f);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    for (int unit = 0; unit < 2; ++unit) {
        gl.activeTexture(GL_TEXTURE0 + unit);
        gl.clientActiveTexture(GL_TEXTURE0 + unit);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA, GL_SRC_ALPHA);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_ALPHA, GL_SRC_ALPHA);
        glDisable(GL_TEXTURE_2D);
    }
    backend->activeUnit = 1;
    // The pixel layout of the window's own framebuffer, which may hold the back buffer.
    glGetIntegerv(GL_RED_BITS, &backend->windowRedBits);
    glGetIntegerv(GL_GREEN_BITS, &backend->windowGreenBits);
    glGetIntegerv(GL_BLUE_BITS, &backend->windowBlueBits);
    glGetIntegerv(GL_ALPHA_BITS, &backend->windowAlphaBits);
    gl.genFramebuffers(1, &backend->backFramebuffer);
    gl.genRenderbuffers(1, &backend->backColor);
    backend->vertices.reserve(16384);
    backend->indices.reserve(24576);
    return backend;
}

D3D8Backend::~D3D8Backend() {
    makeCurrent();
    flush();
    gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
    gl.deleteFramebuffers(1, &backFramebuffer);
    gl.deleteRenderbuffers(1, &backColor);
    SDL_GL_MakeCurrent(window, nullptr);
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
}

void D3D8Backend::makeCurrent() {
    if (SDL_GL_GetCurrentContext() != context) {
        SDL_GL_MakeCurrent(window, static_cast<SDL_GLContext>(context));
        forgetAppliedState();
    }
}

void D3D8Backend::forgetAppliedState() {
    applied.valid = false;
    activeUnit = -1;
}

void D3D8Backend::setBackBuffer(uint32_t width, uint32_t height, D3DFORMAT format) {
    makeCurrent();
    flush();
    if (width != backWidth || height != backHeight || format != backFormat) {
        backWidth = width;
        backHeight = height;
        backFormat = format;
        gl.bindRenderbuffer(GL_RENDERBUFFER, backColor);
        gl.renderbufferStorage(GL_RENDERBUFFER, glFormat(format).internal, GLsizei(width), GLsizei(height));
        gl.bindFramebuffer(GL_FRAMEBUFFER, backFramebuffer);
        gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, backColor);
        glDisable(GL_SCISSOR_TEST);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    targetIsBackBuffer = true;
    targetFramebuffer = backBufferFramebuffer();
    gl.bindFramebuffer(GL_FRAMEBUFFER, targetFramebuffer);
    forgetAppliedState();
}

void D3D8Backend::applyWindowMode(bool windowed, uint32_t interval, D3DSWAPEFFECT effect) {
    makeCurrent();
    bool fullScreen = (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0;
    if (!windowed && !fullScreen) SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (windowed && fullScreen) SDL_SetWindowFullscreen(window, 0);
    SDL_GL_SetSwapInterval(windowed || interval == D3DPRESENT_INTERVAL_IMMEDIATE ? 0 : 1);
    swapEffect = effect;
    placeBackBuffer();
}

void D3D8Backend::allowBackBufferInWindow(bool allowed) {
    makeCurrent();
    backInWindowAllowed = allowed;
    placeBackBuffer();
}

bool D3D8Backend::windowCanHoldBackBuffer() const {
    if (!backInWindowAllowed || !gl.clipControl || swapEffect == D3DSWAPEFFECT_COPY || depthOnBackBuffer) return false;
    int width = 0, height = 0;
    host::getDrawableSize(window, width, height);
    if (width != int(backWidth) || height != int(backHeight)) return false;
    // The same bits per channel, and an alpha channel exactly when the format has one: blends that read the
    // destination's alpha then see what the back buffer's own surface would give them.
    const int alphaBits = backFormat == D3DFMT_A8R8G8B8 ? 8 : 0;
    return (backFormat == D3DFMT_X8R8G8B8 || backFormat == D3DFMT_A8R8G8B8) && windowRedBits == 8 &&
           windowGreenBits == 8 && windowBlueBits == 8 && windowAlphaBits == alphaBits;
}

void D3D8Backend::placeBackBuffer() {
    const bool wanted = windowCanHoldBackBuffer();
    if (wanted == backInWindow || backWidth == 0) return;
    flush();
    // The frame drawn so far moves along, so a move between presents loses nothing.
    const GLuint from = backBufferFramebuffer();
    backInWindow = wanted;
    copyBackBuffer(from, backBufferFramebuffer());
    if (targetIsBackBuffer) targetFramebuffer = backBufferFramebuffer();
    gl.bindFramebuffer(GL_FRAMEBUFFER, targetFramebuffer);
    forgetAppliedState();
}

void D3D8Backend::copyBackBuffer(GLuint from, GLuint to) {
    // One holds rows top down, the other bottom up.
    gl.bindFramebuffer(GL_READ_FRAMEBUFFER, from);
    gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, to);
    gl.blitFramebuffer(0, 0, GLint(backWidth), GLint(backHeight), 0, GLint(backHeight), GLint(backWidth), 0,
                       GL_COLOR_BUFFER_BIT, GL_NEAREST);
}

void D3D8Backend::setRenderTarget(IDirect3DSurface8* target, IDirect3DSurface8* depth) {
    makeCurrent();
    flush();
    targetIsBackBuffer = target->texture_ == nullptr;
    if (targetIsBackBuffer) {
        // The window's framebuffer takes no depth surface of ours: a back buffer drawn with one stays apart.
        depthOnBackBuffer = depth != nullptr;
        placeBackBuffer();
    }
    targetFramebuffer = targetIsBackBuffer ? backBufferFramebuffer() : target->texture_->glFramebuffer_;
    gl.bindFramebuffer(GL_FRAMEBUFFER, targetFramebuffer);
    if (targetFramebuffer != 0)
        gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                   depth ? depth->glRenderbuffer_ : 0);
    forgetAppliedState(); // the rows of the new target may run the other way
}

void D3D8Backend::clear(uint32_t flags, D3DCOLOR color, float z) {
    makeCurrent();
    flush();
    const D3DVIEWPORT8& vp = device.viewport_;
    glEnable(GL_SCISSOR_TEST);
    glScissor(GLint(vp.X), rowsUp() ? GLint(backHeight) - GLint(vp.Y + vp.Height) : GLint(vp.Y), GLsizei(vp.Width),
              GLsizei(vp.Height));
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET) {
        glClearColor(((color >> 16) & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f, (color & 0xFF) / 255.0f,
                     (color >> 24) / 255.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_ZBUFFER) {
        glDepthMask(GL_TRUE);
        applied.zWriteEnable = 1;
        glClearDepth(z);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    glClear(mask);
    glDisable(GL_SCISSOR_TEST);
}

void D3D8Backend::present() {
    makeCurrent();
    flush();
    if (backInWindow) {
        SDL_GL_SwapWindow(window);
        placeBackBuffer(); // the window may have changed its size
        return;
    }
    // Into the window's real size, whatever the window manager (or the lack of one) made of it.
    int width = 0, height = 0;
    host::getDrawableSize(window, width, height, /*refresh=*/true);
    D3D8PresentArea area = letterboxArea(int(backWidth), int(backHeight), width, height);
    gl.bindFramebuffer(GL_READ_FRAMEBUFFER, backFramebuffer);
    gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    // The bars beside and above or below the picture, each pixel of the window filled once.
    const int bottom = height - area.y - area.height, right = width - area.x - area.width;
    const GLint bars[4][4] = {{0, 0, area.x, height},
                              {area.x + area.width, 0, right, height},
                              {area.x, 0, area.width, bottom},
                              {area.x, height - area.y, area.width, area.y}};
    glClearColor(0, 0, 0, 1);
    glEnable(GL_SCISSOR_TEST);
    for (const GLint* bar : bars) {
        if (bar[2] <= 0 || bar[3] <= 0) continue;
        glScissor(bar[0], bar[1], bar[2], bar[3]);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glDisable(GL_SCISSOR_TEST);
    bool exact = area.width == int(backWidth) && area.height == int(backHeight);
    // Row 0 of the back buffer is its top line, which goes to the top of the window.
    gl.blitFramebuffer(0, 0, GLint(backWidth), GLint(backHeight), area.x, height - area.y, area.x + area.width,
                       height - area.y - area.height, GL_COLOR_BUFFER_BIT, exact ? GL_NEAREST : GL_LINEAR);
    SDL_GL_SwapWindow(window);
    gl.bindFramebuffer(GL_FRAMEBUFFER, targetFramebuffer);
    placeBackBuffer();
}

void D3D8Backend::readSurface(IDirect3DSurface8* surface, const D3DRECT& area, D3DFORMAT format, uint8_t* pixels,
                              int pitch) {
    makeCurrent();
    flush();
    const bool fromWindow = !surface->texture_ && backInWindow;
    GLuint framebuffer = surface->texture_ ? surface->texture_->glFramebuffer_ : backBufferFramebuffer();
    GLFormat f = glFormat(format);
    const int rows = area.y2 - area.y1;
    gl.bindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glPixelStorei(GL_PACK_ROW_LENGTH, GLint(uint32_t(pitch) / formatBytes(format)));
    glReadPixels(area.x1, fromWindow ? GLint(backHeight) - area.y2 : area.y1, area.x2 - area.x1, rows, f.format, f.type,
                 pixels);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    gl.bindFramebuffer(GL_READ_FRAMEBUFFER, targetFramebuffer);
    if (!fromWindow) return;
    // The window's rows come bottom up.
    const size_t rowBytes = size_t(area.x2 - area.x1) * formatBytes(format);
    std::vector<uint8_t> row(rowBytes);
    for (int top = 0, bottom = rows - 1; top < bottom; top++, bottom--) {
        uint8_t* a = pixels + size_t(top) * size_t(pitch);
        uint8_t* b = pixels + size_t(bottom) * size_t(pitch);
        std::memcpy(row.data(), a, rowBytes);
        std::memcpy(a, b, rowBytes);
        std::memcpy(b, row.data(), rowBytes);
    }
}

void D3D8Backend::finish() {
    makeCurrent();
    flush();
    glFinish();
}

// ----- Textures and depth surfaces ---------------------------------------------------------------------------

void D3D8Backend::bindTextureForUpdate(GLuint texture) {
    if (activeUnit != 0) {
        gl.activeTexture(GL_TEXTURE0);
        activeUnit = 0;
    }
    glBindTexture(GL_TEXTURE_2D, texture);
    applied.texture[0] = texture;
}

void D3D8Backend::createTexture(IDirect3DTexture8& texture) {
    makeCurrent();
    GLFormat f = glFormat(texture.format_);
    glGenTextures(1, &texture.glTexture_);
    bindTextureForUpdate(texture.glTexture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(texture.levels_.size()) - 1);
    texture.glMinFilter_ = texture.glMagFilter_ = GL_NEAREST;
    texture.glWrapS_ = texture.glWrapT_ = GL_REPEAT;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    for (size_t i = 0; i < texture.levels_.size(); ++i) {
        const IDirect3DTexture8::Level& level = texture.levels_[i];
        glTexImage2D(GL_TEXTURE_2D, GLint(i), GLint(f.internal), GLsizei(level.width), GLsizei(level.height), 0,
                     f.format, f.type, level.pixels.empty() ? nullptr : level.pixels.data());
    }
    if (!(texture.usage_ & D3DUSAGE_RENDERTARGET)) return;
    gl.genFramebuffers(1, &texture.glFramebuffer_);
    gl.bindFramebuffer(GL_FRAMEBUFFER, texture.glFramebuffer_);
    gl.framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture.glTexture_, 0);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    gl.bindFramebuffer(GL_FRAMEBUFFER, targetFramebuffer);
}

void D3D8Backend::uploadLevel(IDirect3DTexture8& texture, uint32_t level) {
    makeCurrent();
    if (texture.pendingDraws_) flush();
    GLFormat f = glFormat(texture.format_);
    const IDirect3DTexture8::Level& l = texture.levels_[level];
    bindTextureForUpdate(texture.glTexture_);
    glTexSubImage2D(GL_TEXTURE_2D, GLint(level), 0, 0, GLsizei(l.width), GLsizei(l.height), f.format, f.type,
                    l.pixels.data());
}

void D3D8Backend::destroyTexture(IDirect3DTexture8& texture) {
    makeCurrent();
    if (texture.pendingDraws_) flush();
    for (GLuint& bound : applied.texture)
        if (bound == texture.glTexture_) bound = 0; // deleting unbinds it
    if (texture.glFramebuffer_) gl.deleteFramebuffers(1, &texture.glFramebuffer_);
    if (texture.glTexture_) glDeleteTextures(1, &texture.glTexture_);
    texture.glFramebuffer_ = texture.glTexture_ = 0;
}

void D3D8Backend::createDepthSurface(IDirect3DSurface8& surface) {
    makeCurrent();
    gl.genRenderbuffers(1, &surface.glRenderbuffer_);
    gl.bindRenderbuffer(GL_RENDERBUFFER, surface.glRenderbuffer_);
    gl.renderbufferStorage(GL_RENDERBUFFER, glDepthFormat(surface.desc_.Format), GLsizei(surface.desc_.Width),
                           GLsizei(surface.desc_.Height));
}

void D3D8Backend::destroyDepthSurface(IDirect3DSurface8& surface) {
    if (!surface.glRenderbuffer_) return;
    makeCurrent();
    flush();
    gl.deleteRenderbuffers(1, &surface.glRenderbuffer_);
    surface.glRenderbuffer_ = 0;
}

// ----- Drawing -----------------------------------------------------------------------------------------------

void D3D8Backend::buildKey(Key& next, uint32_t primitive) const {
    std::memset(&next, 0, sizeof next); // padding too: keys are compared as bytes
    const uint32_t* rs = device.renderStates_;
    next.primitive = primitive;
    next.alphaBlend = rs[D3DRS_ALPHABLENDENABLE];
    next.srcBlend = rs[D3DRS_SRCBLEND];
    next.destBlend = rs[D3DRS_DESTBLEND];
    next.cullMode = rs[D3DRS_CULLMODE];
    next.zEnable = rs[D3DRS_ZENABLE];
    next.zWriteEnable = rs[D3DRS_ZWRITEENABLE];
    const D3DVIEWPORT8& vp = device.viewport_;
    next.viewportX = vp.X;
    next.viewportY = vp.Y;
    next.viewportWidth = vp.Width;
    next.viewportHeight = vp.Height;
    next.minZ = vp.MinZ;
    next.maxZ = vp.MaxZ;
    bool previousOn = true;
    for (int i = 0; i < 2; ++i) {
        const D3D8StageState& s = device.stages_[i];
        Key::Stage& k = next.stage[i];
        // A stage samples only with a texture and when it and every stage before it are on.
        bool on = previousOn && s.colorOp != D3DTOP_DISABLE;
        previousOn = on;
        if (!on || !s.texture) continue;
        k.texture = s.texture;
        k.colorOp = s.colorOp;
        k.colorArg1 = s.colorArg1;
        k.colorArg2 = s.colorArg2;
        k.alphaOp = s.alphaOp;
        k.alphaArg1 = s.alphaArg1;
        k.alphaArg2 = s.alphaArg2;
        k.addressU = s.addressU;
        k.addressV = s.addressV;
        k.magFilter = s.magFilter;
        k.minFilter = s.minFilter;
        k.mipFilter = s.mipFilter;
    }
}

void D3D8Backend::draw(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const uint8_t* data, uint32_t stride,
                       uint32_t fvf, const D3DMATRIX& m) {
    GLenum primitive = type == D3DPT_POINTLIST                             ? GL_POINTS
                       : type == D3DPT_LINELIST || type == D3DPT_LINESTRIP ? GL_LINES
                                                                           : GL_TRIANGLES;
    if (keyDirty || !keyValid || key.primitive != primitive) {
        Key next;
        buildKey(next, primitive);
        if (!keyValid || std::memcmp(&next, &key, sizeof key) != 0) {
            flush();
            key = next;
            keyValid = true;
        }
        keyDirty = false;
    }
    for (const Key::Stage& stage : key.stage)
        if (stage.texture) stage.texture->pendingDraws_ = true;

    uint32_t pairs = (fvf & 0xF00) >> 8;
    bool diffuse = (fvf & D3DFVF_DIFFUSE) != 0;
    uint32_t uvOffset = 12 + (diffuse ? 4 : 0);
    uint32_t uvSet[2];
    for (int i = 0; i < 2; ++i) uvSet[i] = device.stages_[i].texCoordIndex;
    // The half-pixel rule: Direct3D samples pixel centres at integer coordinates, OpenGL half a pixel further
    // right and down. Then y turns over, so that the top line lands in row 0 of every surface.
    float halfX = 1.0f / float(device.viewport_.Width), halfY = 1.0f / float(device.viewport_.Height);
    auto vertexAt = [&](uint32_t index) {
        const uint8_t* v = data + size_t(index) * stride;
        float p[3];
        std::memcpy(p, v, sizeof p);
        Vertex out;
        float cx = p[0] * m.m[0][0] + p[1] * m.m[1][0] + p[2] * m.m[2][0] + m.m[3][0];
        float cy = p[0] * m.m[0][1] + p[1] * m.m[1][1] + p[2] * m.m[2][1] + m.m[3][1];
        float cz = p[0] * m.m[0][2] + p[1] * m.m[1][2] + p[2] * m.m[2][2] + m.m[3][2];
        float cw = p[0] * m.m[0][3] + p[1] * m.m[1][3] + p[2] * m.m[2][3] + m.m[3][3];
        out.x = cx + cw * halfX;
        out.y = cw * halfY - cy;
        out.z = 2.0f * cz - cw; // Direct3D's depth runs 0..w, OpenGL's -w..w
        out.w = cw;
        out.color = 0xFFFFFFFFu;
        if (diffuse) std::memcpy(&out.color, v + 12, 4);
        float uv[2][2] = {{0, 0}, {0, 0}};
        for (int i = 0; i < 2; ++i)
            if (uvSet[i] < pairs) std::memcpy(uv[i], v + uvOffset + uvSet[i] * 8, 8);
        out.u0 = uv[0][0];
        out.v0 = uv[0][1];
        out.u1 = uv[1][0];
        out.v1 = uv[1][1];
        return out;
    };
    // Each vertex is transformed once; the primitives are gathered as indices into them.
    uint32_t base = uint32_t(vertices.size());
    uint32_t count = type == D3DPT_POINTLIST      ? primitiveCount
                     : type == D3DPT_LINELIST     ? primitiveCount * 2
                     : type == D3DPT_TRIANGLELIST ? primitiveCount * 3
                     : type == D3DPT_LINESTRIP    ? primitiveCount + 1
                                                  : primitiveCount + 2;
    for (uint32_t i = 0; i < count; ++i) vertices.push_back(vertexAt(i));
    switch (type) {
    case D3DPT_POINTLIST:
    case D3DPT_LINELIST:
    case D3DPT_TRIANGLELIST:
        for (uint32_t i = 0; i < count; ++i) indices.push_back(base + i);
        break;
    case D3DPT_LINESTRIP:
        for (uint32_t i = 0; i < primitiveCount; ++i) indices.insert(indices.end(), {base + i, base + i + 1});
        break;
    case D3DPT_TRIANGLESTRIP:
        // Odd triangles of a strip swap their first two corners, keeping every triangle's winding.
        for (uint32_t i = 0; i < primitiveCount; ++i) {
            uint32_t v = base + i;
            if (i % 2 == 0)
                indices.insert(indices.end(), {v, v + 1, v + 2});
            else
                indices.insert(indices.end(), {v + 1, v, v + 2});
        }
        break;
    case D3DPT_TRIANGLEFAN:
        for (uint32_t i = 0; i < primitiveCount; ++i) indices.insert(indices.end(), {base, base + i + 1, base + i + 2});
        break;
    }
    if (!batching) flush();
}

void D3D8Backend::applyStage(int unit, const Key::Stage& stage) {
    GLuint texture = stage.texture ? stage.texture->glTexture_ : 0;
    bool enable = texture != 0;
    bool unitChanges = !applied.valid || applied.unitEnabled[unit] != enable || applied.texture[unit] != texture;
    GLint env[8] = {};
    if (enable) {
        glCombine(stage.colorOp, stage.colorArg1, stage.colorArg2, env);
        glCombine(stage.alphaOp, stage.alphaArg1, stage.alphaArg2, env + 3);
    }
    IDirect3DTexture8* t = stage.texture;
    GLint minFilter = enable ? glMinFilter(stage.minFilter, stage.mipFilter) : 0;
    GLint magFilter = stage.magFilter == D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST;
    GLint wrapS = glAddress(stage.addressU), wrapT = glAddress(stage.addressV);
    bool parametersChange =
        enable && (GLuint(t->glMinFilter_) != GLuint(minFilter) || GLuint(t->glMagFilter_) != GLuint(magFilter) ||
                   GLuint(t->glWrapS_) != GLuint(wrapS) || GLuint(t->glWrapT_) != GLuint(wrapT));
    bool envChanges = enable && (!applied.valid || std::memcmp(env, applied.env[unit], sizeof env) != 0);
    if (!unitChanges && !parametersChange && !envChanges) return;
    if (activeUnit != unit) {
        gl.activeTexture(GL_TEXTURE0 + unit);
        activeUnit = unit;
    }
    if (!applied.valid || applied.unitEnabled[unit] != enable) {
        if (enable)
            glEnable(GL_TEXTURE_2D);
        else
            glDisable(GL_TEXTURE_2D);
        applied.unitEnabled[unit] = enable;
    }
    if (!enable) return;
    if (!applied.valid || applied.texture[unit] != texture) {
        glBindTexture(GL_TEXTURE_2D, texture);
        applied.texture[unit] = texture;
    }
    if (parametersChange) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapS);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapT);
        t->glMinFilter_ = uint32_t(minFilter);
        t->glMagFilter_ = uint32_t(magFilter);
        t->glWrapS_ = uint32_t(wrapS);
        t->glWrapT_ = uint32_t(wrapT);
    }
    if (envChanges) {
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, env[0]);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, env[1]);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB, env[2]);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, env[3]);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA, env[4]);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_ALPHA, env[5]);
        std::memcpy(applied.env[unit], env, sizeof env);
    }
}

void D3D8Backend::applyKey() {
    const Key& k = key;
    bool all = !applied.valid;
    if (all || applied.viewportX != k.viewportX || applied.viewportY != k.viewportY ||
        applied.viewportWidth != k.viewportWidth || applied.viewportHeight != k.viewportHeight ||
        applied.minZ != k.minZ || applied.maxZ != k.maxZ || applied.rowsUp != rowsUp()) {
        // Surfaces of ours are kept in Direct3D row order, so the viewport's top-left origin maps unchanged.
        // The window's framebuffer counts rows from the bottom: there the viewport is placed from the bottom and
        // the upper-left clip origin turns the rows over within it, with the same rule for pixels on an edge.
        const GLint y = rowsUp() ? GLint(backHeight) - GLint(k.viewportY + k.viewportHeight) : GLint(k.viewportY);
        glViewport(GLint(k.viewportX), y, GLsizei(k.viewportWidth), GLsizei(k.viewportHeight));
        if (gl.clipControl) gl.clipControl(rowsUp() ? GL_UPPER_LEFT : GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
        applied.rowsUp = rowsUp();
        glDepthRange(k.minZ, k.maxZ);
        applied.viewportX = k.viewportX;
        applied.viewportY = k.viewportY;
        applied.viewportWidth = k.viewportWidth;
        applied.viewportHeight = k.viewportHeight;
        applied.minZ = k.minZ;
        applied.maxZ = k.maxZ;
    }
    if (all || applied.alphaBlend != k.alphaBlend) {
        if (k.alphaBlend)
            glEnable(GL_BLEND);
        else
            glDisable(GL_BLEND);
        applied.alphaBlend = k.alphaBlend;
    }
    if (k.alphaBlend && (all || applied.srcBlend != k.srcBlend || applied.destBlend != k.destBlend)) {
        glBlendFunc(glBlend(k.srcBlend), glBlend(k.destBlend));
        applied.srcBlend = k.srcBlend;
        applied.destBlend = k.destBlend;
    }
    // With these factors a fragment of alpha 0 leaves the destination exactly as it was, so it can be
    // dropped before blending: the same pixels for less work on a software renderer.
    bool dropClear = k.alphaBlend && k.srcBlend == D3DBLEND_SRCALPHA &&
                     (k.destBlend == D3DBLEND_INVSRCALPHA || k.destBlend == D3DBLEND_ONE);
    if (all || applied.dropClear != dropClear) {
        if (dropClear)
            glEnable(GL_ALPHA_TEST);
        else
            glDisable(GL_ALPHA_TEST);
        applied.dropClear = dropClear;
    }
    if (all || applied.cullMode != k.cullMode) {
        // Direct3D's clockwise front faces are counter-clockwise in the turned-over rows of the surfaces (the
        // window's upper-left clip origin turns its rows and the faces the same way).
        if (k.cullMode == D3DCULL_NONE)
            glDisable(GL_CULL_FACE);
        else {
            glEnable(GL_CULL_FACE);
            glCullFace(k.cullMode == D3DCULL_CCW ? GL_BACK : GL_FRONT);
        }
        applied.cullMode = k.cullMode;
    }
    if (all || applied.zEnable != k.zEnable) {
        if (k.zEnable)
            glEnable(GL_DEPTH_TEST);
        else
            glDisable(GL_DEPTH_TEST);
        applied.zEnable = k.zEnable;
    }
    if (all || applied.zWriteEnable != k.zWriteEnable) {
        glDepthMask(k.zWriteEnable ? GL_TRUE : GL_FALSE);
        applied.zWriteEnable = k.zWriteEnable;
    }
    applyStage(0, k.stage[0]);
    applyStage(1, k.stage[1]);
    applied.valid = true;
}

void D3D8Backend::flush() {
    if (vertices.empty()) return;
    makeCurrent();
    applyKey();
    const Vertex* v = vertices.data();
    GLsizei stride = sizeof(Vertex);
    glVertexPointer(4, GL_FLOAT, stride, &v->x);
    glColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, stride, &v->color);
    gl.clientActiveTexture(GL_TEXTURE0);
    glTexCoordPointer(2, GL_FLOAT, stride, &v->u0);
    gl.clientActiveTexture(GL_TEXTURE1);
    glTexCoordPointer(2, GL_FLOAT, stride, &v->u1);
    glDrawElements(key.primitive, GLsizei(indices.size()), GL_UNSIGNED_INT, indices.data());
    ++device.glDrawCalls_;
    vertices.clear();
    indices.clear();
    for (const Key::Stage& stage : key.stage)
        if (stage.texture) stage.texture->pendingDraws_ = false;
}
