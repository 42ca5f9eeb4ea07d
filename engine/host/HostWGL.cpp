// The WGL stand-in of HostWGL.h: window contexts are SDL OpenGL contexts, pbuffers are framebuffer objects with a
// colour (and depth) renderbuffer, and binding a pbuffer to a texture copies its colour into the bound texture.
#include "HostWGL.h"

#include "HostGLFunctions.h"

#include <SDL.h>

struct WGLDeviceContext {
    SDL_Window* window = nullptr;  // a window's device context
    WGLPbuffer* pbuffer = nullptr; // or a pbuffer's
};

struct WGLRenderingContext {
    SDL_GLContext real = nullptr;        // a window context owns a real context
    SDL_Window* window = nullptr;        // the window it was made on
    WGLRenderingContext* base = nullptr; // a pbuffer context runs on a window context
    WGLRenderingContext* root() { return base ? base : this; }
};

struct WGLPbuffer {
    int width = 0, height = 0;
    int format = 0;
    int textureTarget = WGL_TEXTURE_2D_ARB;
    GLuint framebuffer = 0, color = 0, depth = 0;
    bool lost = false;
    WGLDeviceContext dc;
};

namespace {

HDC currentDC = nullptr;
HGLRC currentContext = nullptr;
WGLFault pendingFault = WGLFault::None;

// Pixel formats: 1 + 1 with alpha + 2 with depth.
constexpr int kFormatAlpha = 1, kFormatDepth = 2, kFormatCount = 4;

bool takeFault(WGLFault fault) {
    if (pendingFault != fault) return false;
    pendingFault = WGLFault::None;
    return true;
}

// The window context whose real context is current, or null.
HGLRC currentRoot() {
    if (!currentContext) return nullptr;
    HGLRC root = currentContext->root();
    return SDL_GL_GetCurrentContext() == root->real ? root : nullptr;
}

struct FramebufferBindings {
    GLint draw = 0, read = 0, renderbuffer = 0;
    FramebufferBindings() {
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &draw);
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read);
        glGetIntegerv(GL_RENDERBUFFER_BINDING, &renderbuffer);
    }
    ~FramebufferBindings() {
        host::gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, GLuint(draw));
        host::gl.bindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(read));
        host::gl.bindRenderbuffer(GL_RENDERBUFFER, GLuint(renderbuffer));
    }
};

void deletePbufferObjects(WGLPbuffer& pbuffer) {
    if (pbuffer.framebuffer) host::gl.deleteFramebuffers(1, &pbuffer.framebuffer);
    if (pbuffer.color) host::gl.deleteRenderbuffers(1, &pbuffer.color);
    if (pbuffer.depth) host::gl.deleteRenderbuffers(1, &pbuffer.depth);
    pbuffer.framebuffer = pbuffer.color = pbuffer.depth = 0;
}

} // namespace

HDC GetDC(SDL_Window* window) {
    if (!window) return nullptr;
    HDC dc = new WGLDeviceContext;
    dc->window = window;
    return dc;
}

void ReleaseDC(SDL_Window*, HDC dc) {
    if (dc && !dc->pbuffer) {
        if (currentDC == dc) currentDC = nullptr;
        delete dc;
    }
}

HGLRC wglCreateContext(HDC dc) {
    if (!dc) return nullptr;
    if (dc->pbuffer) {
        HGLRC root = currentRoot();
        if (!root) return nullptr;
        HGLRC context = new WGLRenderingContext;
        context->base = root;
        return context;
    }
    SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext previous = SDL_GL_GetCurrentContext();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GLContext real = SDL_GL_CreateContext(dc->window); // SDL makes it current
    if (real && !host::loadGLFunctions()) {
        SDL_GL_DeleteContext(real);
        real = nullptr;
    }
    SDL_GL_MakeCurrent(previous ? previousWindow : dc->window, previous);
    if (!real) return nullptr;
    HGLRC context = new WGLRenderingContext;
    context->real = real;
    context->window = dc->window;
    return context;
}

bool wglDeleteContext(HGLRC context) {
    if (!context) return false;
    if (currentContext == context) wglMakeCurrent(nullptr, nullptr);
    if (context->real) SDL_GL_DeleteContext(context->real);
    delete context;
    return true;
}

bool wglShareLists(HGLRC first, HGLRC second) {
    return first && second && first->root() == second->root();
}

bool wglMakeCurrent(HDC dc, HGLRC context) {
    if (!context) {
        if (currentContext) SDL_GL_MakeCurrent(currentContext->root()->window, nullptr);
        currentContext = nullptr;
        currentDC = nullptr;
        return true;
    }
    if (!dc) return false;
    HGLRC root = context->root();
    // A window context draws into a window, a pbuffer context into a pbuffer.
    if ((context->base != nullptr) != (dc->pbuffer != nullptr)) return false;
    if (SDL_GL_GetCurrentContext() != root->real &&
        SDL_GL_MakeCurrent(dc->window ? dc->window : root->window, root->real) != 0)
        return false;
    host::gl.bindFramebuffer(GL_FRAMEBUFFER, dc->pbuffer ? dc->pbuffer->framebuffer : 0);
    currentContext = context;
    currentDC = dc;
    return true;
}

HGLRC wglGetCurrentContext() {
    return currentContext;
}

HDC wglGetCurrentDC() {
    return currentDC;
}

bool wglChoosePixelFormatARB(HDC dc, const int* attributes, const float*, unsigned maxFormats, int* formats,
                             unsigned* formatCount) {
    if (!dc || !formatCount || (maxFormats > 0 && !formats)) return false;
    *formatCount = 0;
    if (takeFault(WGLFault::NoPixelFormat)) return true;
    int alphaBits = 0, depthBits = 0;
    bool fits = true;
    for (const int* at = attributes; at && at[0] != 0; at += 2) {
        int value = at[1];
        switch (at[0]) {
        case WGL_SUPPORT_OPENGL_ARB:
        case WGL_DRAW_TO_PBUFFER_ARB:
        case WGL_BIND_TO_TEXTURE_RGBA_ARB:
            break; // every format offers these
        case WGL_DOUBLE_BUFFER_ARB:
            fits = fits && value == 0;
            break;
        case WGL_PIXEL_TYPE_ARB:
            fits = fits && value == WGL_TYPE_RGBA_ARB;
            break;
        case WGL_RED_BITS_ARB:
        case WGL_GREEN_BITS_ARB:
        case WGL_BLUE_BITS_ARB:
            fits = fits && value <= 8;
            break;
        case WGL_ALPHA_BITS_ARB:
            fits = fits && value <= 8;
            alphaBits = value;
            break;
        case WGL_DEPTH_BITS_ARB:
            fits = fits && value <= 24;
            depthBits = value;
            break;
        default:
            fits = false; // an attribute no format offers
        }
    }
    if (!fits || maxFormats == 0) return true;
    formats[0] = 1 + (alphaBits > 0 ? kFormatAlpha : 0) + (depthBits > 0 ? kFormatDepth : 0);
    *formatCount = 1;
    return true;
}

HPBUFFERARB wglCreatePbufferARB(HDC dc, int format, int width, int height, const int* attributes) {
    if (!dc || format < 1 || format > kFormatCount || width <= 0 || height <= 0 || !currentRoot()) return nullptr;
    if (takeFault(WGLFault::PbufferFails)) return nullptr;
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxSize);
    if (width > maxSize || height > maxSize) return nullptr;
    int target = WGL_TEXTURE_2D_ARB;
    for (const int* at = attributes; at && at[0] != 0; at += 2) {
        if (at[0] == WGL_TEXTURE_TARGET_ARB) {
            if (at[1] != WGL_TEXTURE_2D_ARB && at[1] != WGL_TEXTURE_RECTANGLE_NV) return nullptr;
            target = at[1];
        } else if (at[0] == WGL_MIPMAP_TEXTURE_ARB) {
            if (at[1] != 0) return nullptr;
        } else if (at[0] == WGL_TEXTURE_FORMAT_ARB) {
            if (at[1] != WGL_TEXTURE_RGB_ARB && at[1] != WGL_TEXTURE_RGBA_ARB && at[1] != WGL_NO_TEXTURE_ARB)
                return nullptr;
        } else {
            return nullptr;
        }
    }
    auto* pbuffer = new WGLPbuffer;
    pbuffer->width = width;
    pbuffer->height = height;
    pbuffer->format = format;
    pbuffer->textureTarget = target;
    pbuffer->dc.pbuffer = pbuffer;
    {
        FramebufferBindings keep;
        host::gl.genRenderbuffers(1, &pbuffer->color);
        host::gl.bindRenderbuffer(GL_RENDERBUFFER, pbuffer->color);
        host::gl.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        if ((format - 1) & kFormatDepth) {
            host::gl.genRenderbuffers(1, &pbuffer->depth);
            host::gl.bindRenderbuffer(GL_RENDERBUFFER, pbuffer->depth);
            host::gl.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width, height);
        }
        host::gl.genFramebuffers(1, &pbuffer->framebuffer);
        host::gl.bindFramebuffer(GL_FRAMEBUFFER, pbuffer->framebuffer);
        host::gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, pbuffer->color);
        if (pbuffer->depth)
            host::gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, pbuffer->depth);
        if (host::gl.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
            deletePbufferObjects(*pbuffer);
            delete pbuffer;
            return nullptr;
        }
    }
    return pbuffer;
}

HDC wglGetPbufferDCARB(HPBUFFERARB pbuffer) {
    return pbuffer ? &pbuffer->dc : nullptr;
}

int wglReleasePbufferDCARB(HPBUFFERARB pbuffer, HDC dc) {
    return pbuffer && dc == &pbuffer->dc ? 1 : 0;
}

bool wglDestroyPbufferARB(HPBUFFERARB pbuffer) {
    if (!pbuffer) return false;
    if (currentDC == &pbuffer->dc) {
        // Its context stays current with nothing to draw into: back to the window's framebuffer.
        host::gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
        currentDC = nullptr;
    }
    if (currentRoot()) deletePbufferObjects(*pbuffer);
    delete pbuffer;
    return true;
}

bool wglQueryPbufferARB(HPBUFFERARB pbuffer, int attribute, int* value) {
    if (!pbuffer || !value) return false;
    switch (attribute) {
    case WGL_PBUFFER_WIDTH_ARB:
        *value = pbuffer->width;
        return true;
    case WGL_PBUFFER_HEIGHT_ARB:
        *value = pbuffer->height;
        return true;
    case WGL_PBUFFER_LOST_ARB:
        *value = pbuffer->lost ? 1 : 0;
        return true;
    default:
        return false;
    }
}

bool wglBindTexImageARB(HPBUFFERARB pbuffer, int buffer) {
    if (!pbuffer || buffer != WGL_FRONT_LEFT_ARB || currentDC == &pbuffer->dc || !currentRoot()) return false;
    GLenum target = pbuffer->textureTarget == WGL_TEXTURE_RECTANGLE_NV ? GL_TEXTURE_RECTANGLE_ARB : GL_TEXTURE_2D;
    while (glGetError() != GL_NO_ERROR) {
    }
    FramebufferBindings keep;
    host::gl.bindFramebuffer(GL_READ_FRAMEBUFFER, pbuffer->framebuffer);
    glCopyTexSubImage2D(target, 0, 0, 0, 0, 0, pbuffer->width, pbuffer->height);
    return glGetError() == GL_NO_ERROR;
}

bool wglReleaseTexImageARB(HPBUFFERARB pbuffer, int buffer) {
    return pbuffer && buffer == WGL_FRONT_LEFT_ARB;
}

void wglSimulateFault(WGLFault fault) {
    pendingFault = fault;
}

void wglSimulatePbufferLost(HPBUFFERARB pbuffer) {
    if (pbuffer) pbuffer->lost = true;
}
