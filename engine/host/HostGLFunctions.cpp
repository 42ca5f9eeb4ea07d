// Looks up the OpenGL entry points of HostGLFunctions.h through SDL.
#include "HostGLFunctions.h"

#include <SDL.h>

namespace host {

GLFunctions gl;

namespace {
template <typename F> bool lookUp(F& function, const char* name) {
    function = reinterpret_cast<F>(SDL_GL_GetProcAddress(name));
    return function != nullptr;
}
} // namespace

bool loadGLFunctions() {
    GLFunctions f;
    bool ok =
        lookUp(f.activeTexture, "glActiveTexture") && lookUp(f.clientActiveTexture, "glClientActiveTexture") &&
        lookUp(f.genFramebuffers, "glGenFramebuffers") && lookUp(f.deleteFramebuffers, "glDeleteFramebuffers") &&
        lookUp(f.bindFramebuffer, "glBindFramebuffer") && lookUp(f.framebufferTexture2D, "glFramebufferTexture2D") &&
        lookUp(f.framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
        lookUp(f.checkFramebufferStatus, "glCheckFramebufferStatus") &&
        lookUp(f.genRenderbuffers, "glGenRenderbuffers") && lookUp(f.deleteRenderbuffers, "glDeleteRenderbuffers") &&
        lookUp(f.bindRenderbuffer, "glBindRenderbuffer") && lookUp(f.renderbufferStorage, "glRenderbufferStorage") &&
        lookUp(f.blitFramebuffer, "glBlitFramebuffer");
    if (SDL_GL_ExtensionSupported("GL_ARB_clip_control")) lookUp(f.clipControl, "glClipControl");
    if (ok) gl = f;
    return ok;
}

} // namespace host
