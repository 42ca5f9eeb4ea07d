// The OpenGL entry points beyond OpenGL 1.1 that the Direct3D 8 stand-in uses (framebuffer objects,
// multitexturing), looked up once through SDL after a context is current. Only engine/host includes this.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

namespace host {

struct GLFunctions {
    PFNGLACTIVETEXTUREPROC activeTexture = nullptr;
    void(APIENTRY* clientActiveTexture)(GLenum texture) = nullptr;
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DPROC framebufferTexture2D = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLBLITFRAMEBUFFERPROC blitFramebuffer = nullptr;
    PFNGLCLIPCONTROLPROC clipControl = nullptr; // optional: null when the context has no clip control
};

// The entry points, valid after a successful loadGLFunctions().
extern GLFunctions gl;

// Looks the entry points up in the current context; false when a required one is missing.
bool loadGLFunctions();

} // namespace host
