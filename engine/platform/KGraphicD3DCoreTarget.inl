// KGraphicD3DCore render targets (drawing into a texture, nested up to four deep) and what the window calls around
// device creation, every frame and every device reset: releasing default-pool textures before a reset and
// rebuilding pictures after it. Included once, by KGraphicD3DCore.cpp.
#include "KGraphicD3DCore.h"

#include "KGraphicD3D9Device.h"
#include "KGraphicD3DDevice.h"
#include "KLog.h"

#include <algorithm>
#include <vector>

namespace {

template <class Api> void releaseHeldSurfaces() {
    auto& module = Api::module();
    if (module.backBuffer) module.backBuffer->Release();
    if (module.backDepth) module.backDepth->Release();
    module.backBuffer = nullptr;
    module.backDepth = nullptr;
}

} // namespace

template <class Api> void d3dcore::resetTextureStateCache() {
    auto& module = Api::module();
    TextureStateCache fresh;
    for (int i = 0; i < 4; i++) fresh.identity.m[i][i] = 1;
    module.cache = fresh;
    if (!module.device) return;
    module.device->SetTexture(0, nullptr);
    module.device->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
    module.device->SetTransform(D3DTS_WORLD, &module.cache.identity);
}

// ----- Render targets -------------------------------------------------------------------------------------------

template <class Api>
bool KGraphicD3DCore<Api>::makeRenderTarget(long width, long height, bool trueColor, bool alpha, bool depth) {
    if (width <= 0 || height <= 0) return false;
    waitForDevice();
    return createRenderTarget(int(width), int(height), trueColor, alpha, depth);
}

template <class Api>
bool KGraphicD3DCore<Api>::createRenderTarget(int width, int height, bool trueColor, bool alpha, bool depth) {
    auto& module = Api::module();
    freePicture();
    dropKeptPixels(); // a target is drawn into: it has no pixels of its own to rebuild or reload from
    trueColor_ = trueColor;
    alpha_ = alpha;
    depthWanted_ = depth;
    if (!module.device || !module.window) return false;

    int textureWidth, textureHeight;
    if (module.window->hasNonSquareTextures()) {
        textureWidth = powerOfTwoAtLeast(width, 64);
        textureHeight = powerOfTwoAtLeast(height, 64);
    } else {
        textureWidth = textureHeight = powerOfTwoAtLeast(std::max(width, height), 64);
    }
    int format =
        chooseRenderTargetFormat(trueColor, alpha, oneBitAlpha_, module.window->getRenderTargetFormatSupport());

    if (!createRenderTargetTexture(0, textureWidth, textureHeight, true, 1)) {
        if (lastCreateResult_ != D3DERR_OUTOFVIDEOMEMORY) {
            logMessage("%s: CreateSurface returned 0x%08X for a render target, size %dx%d, pixel format %d, ERROR",
                       Api::kLogPrefix, unsigned(lastCreateResult_), textureWidth, textureHeight, format);
            return false;
        }
        // Free reloadable pictures, oldest first, until the target fits; then bring them back.
        logMessage("%s: out of VRAM for render target, size %dx%d, pixel format %d, flushing", Api::kLogPrefix,
                   textureWidth, textureHeight, format);
        std::vector<KGraphicD3DCore*> freed;
        bool created = false;
        for (KGraphicD3DCore* picture = list().head; picture && !created;
             picture = KList<KGraphicD3DCore>::next(picture)) {
            if (picture == this || picture->renderTarget_ || !picture->hasFileName() || picture->textureCount_ == 0)
                continue;
            picture->freePicture();
            freed.push_back(picture);
            created = createRenderTargetTexture(0, textureWidth, textureHeight, true, 1);
            if (!created && lastCreateResult_ != D3DERR_OUTOFVIDEOMEMORY) break;
        }
        for (KGraphicD3DCore* picture : freed) picture->restorePicture();
        if (!created) {
            logMessage("%s: CreateSurface (render target) returned 0x%X after flushing managed textures, size %dx%d, "
                       "pixel format %d, ERROR",
                       Api::kLogPrefix, unsigned(lastCreateResult_), textureWidth, textureHeight, format);
            return false;
        }
        logMessage("%s: render target created after flushing %d texture%s", Api::kLogPrefix, int(freed.size()),
                   freed.size() > 1 ? "s" : "");
    }

    if (FAILED(textures_[0].texture->GetSurfaceLevel(0, &targetSurface_)) || !targetSurface_) {
        targetSurface_ = nullptr;
        freePicture();
        return false;
    }
    if (depth && module.window->usesDepthBuffer()) {
        static constexpr D3DFORMAT kDepthFormats[6] = {D3DFMT_D16, D3DFMT_D15S1, D3DFMT_D24X8,
                                                       D3DFMT_D32, D3DFMT_D24S8, D3DFMT_D24X4S4};
        HRESULT result = D3DERR_NOTAVAILABLE;
        for (D3DFORMAT depthFormat : kDepthFormats) {
            result = Api::createDepthSurface(module.device, textureWidth, textureHeight, depthFormat, &depthSurface_);
            if (SUCCEEDED(result) && depthSurface_) break;
            depthSurface_ = nullptr;
        }
        if (!depthSurface_) {
            logMessage("%s: CreateDepthStencilSurface returned 0x%X while creating render target depth buffer, ERROR",
                       Api::kLogPrefix, unsigned(result));
            renderTarget_ = true; // so that freePicture releases the colour surface
            freePicture();
            renderTarget_ = false;
            return false;
        }
    }
    spliceCount_ = 0;
    textureCount_ = 1;
    renderTarget_ = true;
    clearOnBegin_ = true;
    width_ = float(width);
    height_ = float(height);
    return true;
}

template <class Api> void KGraphicD3DCore<Api>::setClearOnBegin() {
    clearOnBegin_ = true;
}

template <class Api> void KGraphicD3DCore<Api>::beginRenderToTarget() {
    auto& module = Api::module();
    if (!renderTarget_ || !targetSurface_ || !module.device || !module.window) return;
    int depth = std::min(module.targetCount, KGraphicD3DModuleOf<Api>::kTargetStackDepth - 1);
    std::copy_backward(module.targetStack, module.targetStack + depth, module.targetStack + depth + 1);
    module.targetStack[0] = this;
    module.targetCount = depth + 1;

    typename Api::Device* device = module.device;
    device->EndScene();
    Api::setRenderTarget(device, targetSurface_, depthSurface_);
    D3DVIEWPORT9 viewport = {0, 0, uint32_t(width_), uint32_t(height_), 0, 1};
    device->SetViewport(&viewport);
    device->BeginScene();
    module.window->setTargetView(int(width_), int(height_), int(textures_[0].coordWidth),
                                 int(textures_[0].coordHeight));
    module.window->applyWorldView(0, 0, 0, 1, clearOnBegin_);
    clearOnBegin_ = false;
    d3dcore::resetTextureStateCache<Api>();
}

template <class Api> void KGraphicD3DCore<Api>::endRenderToTarget() {
    auto& module = Api::module();
    if (!renderTarget_ || !module.device || !module.window) return;
    typename Api::Device* device = module.device;
    device->EndScene();
    Api::setRenderTarget(device, module.backBuffer, module.backDepth);
    int x, y, w, h;
    module.window->getGameAreaRect(x, y, w, h);
    D3DVIEWPORT9 viewport = {uint32_t(x), uint32_t(y), uint32_t(w), uint32_t(h), 0, 1};
    device->SetViewport(&viewport);
    device->BeginScene();
    d3dcore::resetTextureStateCache<Api>();
    module.window->restoreGameView();
    module.window->applyWorldView(0, 0, 0, 1, false);

    auto pop = [&module]() {
        std::copy(module.targetStack + 1, module.targetStack + module.targetCount, module.targetStack);
        module.targetCount--;
        module.targetStack[module.targetCount] = nullptr;
    };
    if (module.targetCount > 0) pop();
    if (module.targetCount > 0) {
        KGraphicD3DCore* enclosing = module.targetStack[0];
        pop();
        enclosing->beginRenderToTarget();
    }
}

template <class Api> void KGraphicD3DCore<Api>::leaveTargetStack() {
    auto& module = Api::module();
    while (module.targetCount > 0 && module.targetStack[0] == this) {
        int before = module.targetCount;
        endRenderToTarget();
        if (module.targetCount >= before) break; // it could not end itself (no window): it is only taken off
    }
    auto last = std::remove(module.targetStack, module.targetStack + module.targetCount, this);
    std::fill(last, module.targetStack + module.targetCount, nullptr);
    module.targetCount = int(last - module.targetStack);
}

template <class Api> bool KGraphicD3DCore<Api>::isRenderTargetLost() {
    if (!renderTarget_) return false;
    bool lost = contentsLost_;
    contentsLost_ = false;
    return lost;
}

// ----- Rebuilding -------------------------------------------------------------------------------------------------

template <class Api> void KGraphicD3DCore<Api>::restorePicture() {
    auto& module = Api::module();
    module.rebuilding++;
    if (renderTarget_) {
        // The contents-lost flag stays set, so the owner redraws the target.
        createRenderTarget(int(width_), int(height_), trueColor_, alpha_, depthWanted_);
        contentsLost_ = true;
    } else if (!keptPixels_.empty()) {
        uploadKept();
    } else if (!fileName_.empty()) {
        PictureSplice table[kMaxPictureSplices + 1];
        int count = copySplicesInto(table);
        std::string name = fileName_, maskName = maskFileName_;
        freePicture();
        if (!maskName.empty())
            loadPictureWithMask(name.c_str(), maskName.c_str(), trueColor_, count > 0, K_LOAD_NOW,
                                count > 0 ? table : nullptr);
        else
            loadPicture(name.c_str(), trueColor_, alpha_, count > 0, K_LOAD_NOW, count > 0 ? table : nullptr);
    }
    module.rebuilding--;
    if (module.device) module.device->SetTexture(0, nullptr);
    module.cache.texture = nullptr;
}

// ----- Window hooks -----------------------------------------------------------------------------------------------

template <class Api> void d3dcore::resetDrawingState(typename Api::Window* window) {
    auto& module = Api::module();
    module.window = window;
    module.device = window ? window->getD3DDevice() : nullptr;
    module.targetCount = 0;
    std::fill(module.targetStack, module.targetStack + KGraphicD3DModuleOf<Api>::kTargetStackDepth, nullptr);
    d3dcore::resetTextureStateCache<Api>();
    releaseHeldSurfaces<Api>();
    if (!module.device) return;
    HRESULT result = Api::getBackBuffer(module.device, &module.backBuffer);
    if (FAILED(result)) {
        module.backBuffer = nullptr;
        logMessage("%s: GetBackBuffer returned 0x%X, ERROR", Api::kLogPrefix, unsigned(result));
    }
    if (!window->usesDepthBuffer()) return;
    result = module.device->GetDepthStencilSurface(&module.backDepth);
    if (FAILED(result)) {
        module.backDepth = nullptr;
        logMessage("%s: GetStencilDepthBuffer returned 0x%X, ERROR", Api::kLogPrefix, unsigned(result));
    }
}

template <class Api> void d3dcore::closeRenderTargets() {
    auto& module = Api::module();
    while (module.targetCount > 0) {
        logMessage("%s: missing endRenderToTarget", Api::kLogPrefix);
        int before = module.targetCount;
        module.targetStack[0]->endRenderToTarget();
        if (module.targetCount >= before) module.targetCount = before - 1; // a target that could not end itself
    }
    module.targetCount = 0;
    std::fill(module.targetStack, module.targetStack + KGraphicD3DModuleOf<Api>::kTargetStackDepth, nullptr);
    d3dcore::resetTextureStateCache<Api>();
}

template <class Api> void d3dcore::releaseDeviceTextures(bool releaseAll) {
    releaseHeldSurfaces<Api>();
    auto& module = Api::module();
    // Textures bound to a stage are referenced by the device; a bound render target would outlive the reset.
    if (module.device) {
        module.device->SetTexture(0, nullptr);
        module.device->SetTexture(1, nullptr);
    }
    module.cache.texture = nullptr;
    KGraphicD3DCore<Api>::list().forEach([releaseAll](KGraphicD3DCore<Api>* picture) {
        if (releaseAll || picture->isRenderTarget()) picture->freePicture();
    });
    // Releasing everything is the window's clean-up: its device goes next, so forget it, and every target
    // still begun, until the next resetDrawingState.
    if (releaseAll) {
        module.device = nullptr;
        module.window = nullptr;
        module.targetCount = 0;
        std::fill(module.targetStack, module.targetStack + KGraphicD3DModuleOf<Api>::kTargetStackDepth, nullptr);
    }
}

template <class Api> void d3dcore::restoreRenderTargets() {
    KGraphicD3DCore<Api>::list().forEach([](KGraphicD3DCore<Api>* picture) {
        if (picture->isRenderTarget()) picture->restorePicture();
    });
}
