// KGraphicGL render targets: a texture that a pbuffer is bound to, drawn into through the pbuffer's own
// rendering context, nested up to four deep; and the window's hook that sets up and tears down the drawing state.
#include "KGraphicGL.h"

#include "HostGL.h"
#include "KGraphicGLState.h"
#include "KGraphicGLWindow.h"
#include "KLog.h"
#include "KPixelShaderGL.h"

#include <algorithm>

namespace gl = host::ogl;

namespace {

void popTarget(KGraphicGLModule& module) {
    std::copy(module.targetStack + 1, module.targetStack + module.targetCount, module.targetStack);
    module.targetCount--;
    module.targetStack[module.targetCount] = nullptr;
}

} // namespace

void resetDrawingStateGL(KGraphicGLWindow* window) {
    KGraphicGLModule& module = graphicGL();
    if (!window) {
        // The context goes next: give back every texture, pbuffer and program while it is still there.
        if (module.window) {
            KGraphicGL::list().forEach([](KGraphicGL* picture) { picture->freePicture(); });
            releasePixelShadersGL();
        }
        module.window = nullptr;
    } else {
        module.window = window;
        resetDrawingStateGLShared();
    }
    module.targetCount = 0;
    std::fill(module.targetStack, module.targetStack + KGraphicGLModule::kTargetStackDepth, nullptr);
}

bool KGraphicGL::makeRenderTarget(long width, long height, bool trueColor, bool alpha, bool depth) {
    KGraphicGLModule& module = graphicGL();
    if (!module.window || !module.window->hasPbufferRenderTexture() || width <= 0 || height <= 0 ||
        !KImage::sizeAllowed(width, height))
        return false;
    freePicture();
    dropKeptPixels(); // a target is drawn into: it has no pixels of its own to reload
    trueColor_ = trueColor;
    alpha_ = alpha;

    int textureWidth, textureHeight;
    bool rectangles = module.window->hasRectangleTextures();
    if (rectangles) {
        textureWidth = powerOfTwoAtLeast(int(width));
        textureHeight = powerOfTwoAtLeast(int(height));
    } else {
        textureWidth = textureHeight = powerOfTwoAtLeast(std::max({int(width), int(height), 64}));
    }
    unsigned target = textureWidth == textureHeight ? gl::TEXTURE_2D : gl::TEXTURE_RECTANGLE;
    TextureSlot& slot = textures_[0];
    gl::genTextures(1, &slot.name);
    if (!slot.name) return false;
    int format = alpha ? gl::RGBA : gl::RGB;
    gl::bindTexture(target, slot.name);
    gl::texImage2D(target, 0, format, textureWidth, textureHeight, unsigned(format), gl::FLOAT, nullptr);
    gl::texParameteri(target, gl::TEXTURE_MAX_LEVEL, 0);
    slot.internalFormat = format;
    slot.width = textureWidth;
    slot.height = textureHeight;
    slot.target = target;
    slot.filterDirty = slot.wrapDirty = true;
    textureCount_ = 1;
    textureOffGL();

    const int formatAttributes[] = {WGL_SUPPORT_OPENGL_ARB,
                                    1,
                                    WGL_DRAW_TO_PBUFFER_ARB,
                                    1,
                                    WGL_BIND_TO_TEXTURE_RGBA_ARB,
                                    1,
                                    WGL_DOUBLE_BUFFER_ARB,
                                    0,
                                    WGL_PIXEL_TYPE_ARB,
                                    WGL_TYPE_RGBA_ARB,
                                    WGL_RED_BITS_ARB,
                                    8,
                                    WGL_GREEN_BITS_ARB,
                                    8,
                                    WGL_BLUE_BITS_ARB,
                                    8,
                                    WGL_ALPHA_BITS_ARB,
                                    alpha ? 8 : 0,
                                    WGL_DEPTH_BITS_ARB,
                                    depth ? 16 : 0,
                                    0};
    HDC windowDC = module.window->getGLDeviceContext();
    int pixelFormat = 0;
    unsigned formatCount = 0;
    if (!wglChoosePixelFormatARB(windowDC, formatAttributes, nullptr, 1, &pixelFormat, &formatCount) ||
        formatCount == 0) {
        logMessage("OpenGL: wglChoosePixelFormatARB ERROR");
        freePicture();
        return false;
    }
    const int pbufferAttributes[] = {WGL_TEXTURE_FORMAT_ARB,
                                     alpha ? WGL_TEXTURE_RGBA_ARB : WGL_TEXTURE_RGB_ARB,
                                     WGL_TEXTURE_TARGET_ARB,
                                     target == gl::TEXTURE_2D ? WGL_TEXTURE_2D_ARB : WGL_TEXTURE_RECTANGLE_NV,
                                     WGL_MIPMAP_TEXTURE_ARB,
                                     0,
                                     0};
    pbuffer_ = wglCreatePbufferARB(windowDC, pixelFormat, textureWidth, textureHeight, pbufferAttributes);
    if (!pbuffer_) {
        logMessage("OpenGL: wglCreatePbufferARB ERROR");
        freePicture();
        return false;
    }
    pbufferDC_ = wglGetPbufferDCARB(pbuffer_);
    pbufferContext_ = pbufferDC_ ? wglCreateContext(pbufferDC_) : nullptr;
    if (!pbufferContext_ || !wglShareLists(module.window->getGLRenderingContext(), pbufferContext_)) {
        freePicture();
        return false;
    }
    int realWidth = textureWidth, realHeight = textureHeight;
    wglQueryPbufferARB(pbuffer_, WGL_PBUFFER_WIDTH_ARB, &realWidth);
    wglQueryPbufferARB(pbuffer_, WGL_PBUFFER_HEIGHT_ARB, &realHeight);
    // Rectangle textures are addressed in texels, whatever the pbuffer's size.
    slot.coordWidth = target == gl::TEXTURE_RECTANGLE ? 1.0f : float(realWidth);
    slot.coordHeight = target == gl::TEXTURE_RECTANGLE ? 1.0f : float(realHeight);
    spliceCount_ = 0;
    width_ = float(width);
    height_ = float(height);
    scale_ = 1;
    clearOnBegin_ = true;
    return true;
}

// Ends drawing into the target if it is the current one, takes it off the target stack and gives back its
// rendering context, device context and pbuffer.
void KGraphicGL::destroyPbuffer() {
    KGraphicGLModule& module = graphicGL();
    if (!pbuffer_) return;
    if (module.targetCount > 0 && module.targetStack[0] == this) endRenderToTarget();
    for (int i = 0; i < module.targetCount; i++)
        if (module.targetStack[i] == this) {
            std::copy(module.targetStack + i + 1, module.targetStack + module.targetCount, module.targetStack + i);
            module.targetStack[--module.targetCount] = nullptr;
            i--;
        }
    if (pbufferContext_) {
        if (wglGetCurrentContext() == pbufferContext_ && module.window)
            wglMakeCurrent(module.window->getGLDeviceContext(), module.window->getGLRenderingContext());
        wglDeleteContext(pbufferContext_);
    }
    if (pbufferDC_) wglReleasePbufferDCARB(pbuffer_, pbufferDC_);
    wglDestroyPbufferARB(pbuffer_);
    pbuffer_ = nullptr;
    pbufferDC_ = nullptr;
    pbufferContext_ = nullptr;
}

void KGraphicGL::setClearOnBegin() {
    clearOnBegin_ = true;
}

void KGraphicGL::beginRenderToTarget() {
    KGraphicGLModule& module = graphicGL();
    if (!pbuffer_ || !module.window) return;
    int depth = std::min(module.targetCount, KGraphicGLModule::kTargetStackDepth - 1);
    std::copy_backward(module.targetStack, module.targetStack + depth, module.targetStack + depth + 1);
    module.targetStack[0] = this;
    module.targetCount = depth + 1;

    wglReleaseTexImageARB(pbuffer_, WGL_FRONT_LEFT_ARB);
    wglMakeCurrent(pbufferDC_, pbufferContext_);
    int width = textures_[0].width, height = textures_[0].height;
    wglQueryPbufferARB(pbuffer_, WGL_PBUFFER_WIDTH_ARB, &width);
    wglQueryPbufferARB(pbuffer_, WGL_PBUFFER_HEIGHT_ARB, &height);
    module.window->setTargetView(width, height);
    gl::viewport(0, 0, width, height);
    gl::disable(gl::SCISSOR_TEST);
    module.window->applyWorldView(0, 0, 0, 1, clearOnBegin_);
    clearOnBegin_ = false;
    resetDrawingStateGLShared();
}

void KGraphicGL::endRenderToTarget() {
    KGraphicGLModule& module = graphicGL();
    if (!pbuffer_ || !module.window) return;
    KGraphicGLWindow* window = module.window;
    gl::flush();
    wglMakeCurrent(window->getGLDeviceContext(), window->getGLRenderingContext());
    gl::activeTexture(gl::TEXTURE0);
    gl::bindTexture(textures_[0].target, textures_[0].name);
    wglBindTexImageARB(pbuffer_, WGL_FRONT_LEFT_ARB);
    window->restoreGameView();
    int x, y, width, height;
    window->getGameAreaViewport(x, y, width, height);
    gl::viewport(x, y, width, height);
    if (window->isClipping()) {
        window->getScissorRect(x, y, width, height);
        gl::scissor(x, y, width, height);
        gl::enable(gl::SCISSOR_TEST);
    } else {
        gl::disable(gl::SCISSOR_TEST);
    }
    window->applyWorldView(0, 0, 0, 1, false);
    resetDrawingStateGLShared();

    if (module.targetCount > 0) popTarget(module);
    if (module.targetCount > 0) {
        KGraphicGL* enclosing = module.targetStack[0];
        popTarget(module);
        enclosing->beginRenderToTarget();
    }
}

bool KGraphicGL::isRenderTargetLost() {
    int lost = 0;
    return pbuffer_ && wglQueryPbufferARB(pbuffer_, WGL_PBUFFER_LOST_ARB, &lost) && lost != 0;
}
