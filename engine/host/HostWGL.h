// Stand-in for the WGL context, pixel-format, pbuffer and render-texture calls the OpenGL picture back end makes.
// A window device context wraps an SDL window and its rendering context is a real OpenGL (compatibility) context;
// a pbuffer is a framebuffer object of that context, and the rendering context made on a pbuffer's device context
// runs on the window's real context with the pbuffer's framebuffer bound. Because both share one real context,
// they share its objects and also its state: whoever switches sets the view, viewport, scissor and drawing states
// again (the picture back end does at every switch). A window context must outlive the pbuffer contexts made on
// it. Main thread only.
#pragma once

#include <cstdint>

struct SDL_Window;

struct WGLDeviceContext;
struct WGLRenderingContext;
struct WGLPbuffer;
using HDC = WGLDeviceContext*;
using HGLRC = WGLRenderingContext*;
using HPBUFFERARB = WGLPbuffer*;

// Pixel-format attributes (wglChoosePixelFormatARB) and their values.
enum : int {
    WGL_SUPPORT_OPENGL_ARB = 0x2010,
    WGL_DOUBLE_BUFFER_ARB = 0x2011,
    WGL_PIXEL_TYPE_ARB = 0x2013,
    WGL_RED_BITS_ARB = 0x2015,
    WGL_GREEN_BITS_ARB = 0x2017,
    WGL_BLUE_BITS_ARB = 0x2019,
    WGL_ALPHA_BITS_ARB = 0x201B,
    WGL_DEPTH_BITS_ARB = 0x2022,
    WGL_TYPE_RGBA_ARB = 0x202B,
    WGL_DRAW_TO_PBUFFER_ARB = 0x202D,
    WGL_BIND_TO_TEXTURE_RGBA_ARB = 0x2071,
};
// Pbuffer attributes (wglCreatePbufferARB, wglQueryPbufferARB) and their values.
enum : int {
    WGL_PBUFFER_WIDTH_ARB = 0x2034,
    WGL_PBUFFER_HEIGHT_ARB = 0x2035,
    WGL_PBUFFER_LOST_ARB = 0x2036,
    WGL_TEXTURE_FORMAT_ARB = 0x2072,
    WGL_TEXTURE_TARGET_ARB = 0x2073,
    WGL_MIPMAP_TEXTURE_ARB = 0x2074,
    WGL_TEXTURE_RGB_ARB = 0x2075,
    WGL_TEXTURE_RGBA_ARB = 0x2076,
    WGL_NO_TEXTURE_ARB = 0x2077,
    WGL_TEXTURE_2D_ARB = 0x207A,
    WGL_TEXTURE_RECTANGLE_NV = 0x20A2,
    WGL_FRONT_LEFT_ARB = 0x2083,
};

// The device context of a window, and its release.
HDC GetDC(SDL_Window* window);
void ReleaseDC(SDL_Window* window, HDC dc);

// On a window's device context: a new real OpenGL context (not made current; the one current before stays).
// On a pbuffer's device context: a context running on the real context current now (null when none is).
HGLRC wglCreateContext(HDC dc);
// Deletes a context; a current one is made not current first.
bool wglDeleteContext(HGLRC context);
// Contexts share display lists and textures when they run on the same real context; false otherwise.
bool wglShareLists(HGLRC first, HGLRC second);
// Makes the context current with the device context's drawable (window or pbuffer); (null, null) releases.
bool wglMakeCurrent(HDC dc, HGLRC context);
HGLRC wglGetCurrentContext();
HDC wglGetCurrentDC();

// Attribute lists are pairs ending at 0. Formats on offer: single-buffered RGBA with 8-bit red, green and blue,
// alpha 0 or 8 bits, depth 0 to 24 bits, drawing to pbuffers and binding to RGBA textures. True with the count
// of formats written (0 when none fits); false on a bad argument.
bool wglChoosePixelFormatARB(HDC dc, const int* attributes, const float* floatAttributes, unsigned maxFormats,
                             int* formats, unsigned* formatCount);
// A pbuffer of a chosen format; attributes WGL_TEXTURE_FORMAT_ARB (RGB, RGBA or none), WGL_TEXTURE_TARGET_ARB
// (2D or rectangle) and WGL_MIPMAP_TEXTURE_ARB (only false is offered). Null on failure. A context must be current.
HPBUFFERARB wglCreatePbufferARB(HDC dc, int format, int width, int height, const int* attributes);
HDC wglGetPbufferDCARB(HPBUFFERARB pbuffer);
int wglReleasePbufferDCARB(HPBUFFERARB pbuffer, HDC dc);
bool wglDestroyPbufferARB(HPBUFFERARB pbuffer);
bool wglQueryPbufferARB(HPBUFFERARB pbuffer, int attribute, int* value);
// The pbuffer's colour becomes the contents of the texture bound to the pbuffer's texture target on the active
// texture unit (its level 0, from texel 0, 0); the pbuffer must not be the current drawable.
bool wglBindTexImageARB(HPBUFFERARB pbuffer, int buffer);
bool wglReleaseTexImageARB(HPBUFFERARB pbuffer, int buffer);

// Test hooks: the next wglChoosePixelFormatARB finds no format, or the next wglCreatePbufferARB fails; a pbuffer's
// contents are marked lost (as when the display mode changes).
enum class WGLFault { None, NoPixelFormat, PbufferFails };
void wglSimulateFault(WGLFault fault);
void wglSimulatePbufferLost(HPBUFFERARB pbuffer);
