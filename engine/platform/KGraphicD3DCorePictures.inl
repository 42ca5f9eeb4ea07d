// KGraphicD3DCore pictures (loaded through KGraphicBase): waiting for the device, the grab of the back buffer;
// texture sizes and formats; the conversion of 32-bit pixels into texture formats with colour key and edge
// bleeding; splicing; mipmaps; read-back into a file or a KImage. Included once, by KGraphicD3DCore.cpp.
#include "KGraphicD3DCore.h"

#include "KD3DPixels.h"
#include "KGraphicD3D9Device.h"
#include "KGraphicD3DDevice.h"
#include "KImageFile.h"
#include "KLog.h"
#include "KPictureTexels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

bool supported(const unsigned char* support, int engineFormat) {
    return support && support[engineFormat] != 0;
}

bool bleeds(int format) {
    return format == D3DFMT_A8R8G8B8 || format == D3DFMT_A1R5G5B5 || format == D3DFMT_A4R4G4B4;
}

} // namespace

template <class Api> KList<KGraphicD3DCore<Api>>& KGraphicD3DCore<Api>::list() {
    static KList<KGraphicD3DCore>& pictures = *new KList<KGraphicD3DCore>(); // never destroyed (see KList.h)
    return pictures;
}

template <class Api>
KGraphicD3DCore<Api>::KGraphicD3DCore()
    : filter_(D3DTEXF_POINT), srcBlend_(D3DBLEND_SRCALPHA), dstBlend_(D3DBLEND_INVSRCALPHA),
      address_(D3DTADDRESS_CLAMP) {
    list().link(this);
}

template <class Api> KGraphicD3DCore<Api>::~KGraphicD3DCore() {
    leaveTargetStack();
    freePicture();
    dropKeptPixels();
    list().unlink(this);
}

template <class Api> void KGraphicD3DCore<Api>::setHalfSizeLoading(bool) {}

template <class Api>
int KGraphicD3DCore<Api>::chooseTextureFormat(bool trueColor, bool alpha, bool oneBitAlpha,
                                              const unsigned char* support) {
    if (trueColor && alpha && supported(support, K_PF_A8R8G8B8)) return D3DFMT_A8R8G8B8;
    if (trueColor && !alpha) {
        if (supported(support, K_PF_R8G8B8)) return D3DFMT_R8G8B8;
        if (supported(support, K_PF_X8R8G8B8)) return D3DFMT_X8R8G8B8;
    }
    if (alpha) return oneBitAlpha && supported(support, K_PF_A1R5G5B5) ? D3DFMT_A1R5G5B5 : D3DFMT_A4R4G4B4;
    return supported(support, K_PF_R5G6B5) ? D3DFMT_R5G6B5 : D3DFMT_X1R5G5B5;
}

template <class Api>
int KGraphicD3DCore<Api>::chooseRenderTargetFormat(bool trueColor, bool alpha, bool oneBitAlpha,
                                                   const unsigned char* support) {
    // The render-target table chooses exactly as the texture table does, from the render-target support bytes.
    return chooseTextureFormat(trueColor, alpha, oneBitAlpha, support);
}

template <class Api> int KGraphicD3DCore<Api>::mipLevelsFor(int side) {
    int levels = 1;
    while (side > 64) {
        side >>= 1;
        levels++;
    }
    return levels;
}

template <class Api> void KGraphicD3DCore<Api>::waitForDevice() {
    auto& module = Api::module();
    if (!module.device || !module.window || module.rebuilding > 0) return;
    while (module.device->TestCooperativeLevel() != D3D_OK || module.window->isD3DDeviceLost()) {
        logMessage("%s: device lost, waiting for reset", Api::kLogPrefix);
        // Closing the window while it waits (minimised in full screen) must end the wait, not hang the program.
        if (!module.window->waitForD3DDevice()) return;
    }
}

template <class Api> bool KGraphicD3DCore<Api>::wantsHighResolutionVariant() {
    if constexpr (Api::kVersion == 9)
        return Api::module().window && std::fabs(Api::module().window->getResolutionScale() - 2.0f) <= 0.00001f;
    return true;
}

namespace {

// The window's back buffer, game area only, resized to the game size: copied into a system-memory texture of the
// back buffer's size and format and converted to R, G, B bytes with A = 255.
bool readBackBuffer(KGraphicD3DModuleOf<D3D9Api>& module, KImage& out) {
    IDirect3DDevice9* device = module.device;
    IDirect3DSurface9* back = nullptr;
    HRESULT result = device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
    if (FAILED(result) || !back) {
        logMessage("D3D9: GetBackBuffer returned 0x%X for getBackBufferAsImage, ERROR", unsigned(result));
        return false;
    }
    D3DSURFACE_DESC desc;
    result = back->GetDesc(&desc);
    if (FAILED(result)) {
        logMessage("D3D9: GetDesc returned 0x%X for getBackBufferAsImage, ERROR", unsigned(result));
        back->Release();
        return false;
    }
    IDirect3DTexture9* copy = nullptr;
    result = device->CreateTexture(desc.Width, desc.Height, 1, 0, desc.Format, D3DPOOL_SYSTEMMEM, &copy, nullptr);
    if (FAILED(result) || !copy) {
        logMessage("D3D9: CreateTexture returned 0x%X for getBackBufferAsImage, ERROR", unsigned(result));
        back->Release();
        return false;
    }
    IDirect3DSurface9* surface = nullptr;
    copy->GetSurfaceLevel(0, &surface);
    result = device->GetRenderTargetData(back, surface);
    if (surface) surface->Release();
    back->Release();
    if (FAILED(result)) {
        logMessage("D3D9: GetRenderTargetData returned 0x%X for getBackBufferAsImage, ERROR", unsigned(result));
        copy->Release();
        return false;
    }
    D3DLOCKED_RECT locked;
    result = copy->LockRect(0, &locked, nullptr, D3DLOCK_READONLY);
    if (FAILED(result)) {
        logMessage("D3D9: LockRect returned 0x%X for getBackBufferAsImage, ERROR", unsigned(result));
        copy->Release();
        return false;
    }
    int x0, y0, width, height;
    module.window->getGameAreaRect(x0, y0, width, height);
    x0 = std::clamp(x0, 0, int(desc.Width));
    y0 = std::clamp(y0, 0, int(desc.Height));
    width = std::min(width, int(desc.Width) - x0);
    height = std::min(height, int(desc.Height) - y0);
    bool made = false;
    if (width > 0 && height > 0 && out.allocate(width, height, false)) {
        if (convertBackBufferPixels(desc.Format, static_cast<const uint8_t*>(locked.pBits), locked.Pitch, x0, y0, width,
                                    height, out.getPixels())) {
            out.resample(module.window->getGameAreaWidth(), module.window->getGameAreaHeight());
            made = true;
        } else {
            logMessage("D3D9: unsupported backbuffer format 0x%X in getBackBufferAsImage, ERROR",
                       unsigned(desc.Format));
            out.clear();
        }
    }
    copy->UnlockRect(0);
    copy->Release();
    return made;
}

} // namespace

template <class Api> bool KGraphicD3DCore<Api>::grabBackBuffer(void*, bool splice, const PictureSplice* spliceTable) {
    auto& module = Api::module();
    if (!module.window) return false;
    KImage grabbed;
    if constexpr (Api::kVersion == 8) {
        int width = module.window->getGameAreaWidth(), height = module.window->getGameAreaHeight();
        if (!module.window->copyBackBufferToImage(width, height, grabbed)) return false;
    } else {
        if (!module.device || !readBackBuffer(module, grabbed)) return false;
    }
    if (!grabbed.getPixels()) return false;
    freePicture();
    return uploadGrabbed(grabbed, spliceTable, splice);
}

template <class Api> void KGraphicD3DCore<Api>::releaseTargetSurfaces() {
    if (!renderTarget_) return;
    if (targetSurface_) targetSurface_->Release();
    if (depthSurface_) depthSurface_->Release();
    targetSurface_ = nullptr;
    depthSurface_ = nullptr;
    contentsLost_ = true;
}

template <class Api> void KGraphicD3DCore<Api>::freePicture() {
    releaseTargetSurfaces();
    releaseTexturesFrom(0);
    textureCount_ = 0;
    spliceCount_ = 0;
    image_.clear();
    maskImage_.clear();
}

template <class Api> void KGraphicD3DCore<Api>::releaseTexture(int slot) {
    TextureSlot& entry = textures_[slot];
    if (entry.texture) {
        TextureStateCache& cache = Api::module().cache;
        // The cache compares raw pointers: forget a texture that is going away.
        if (cache.texture == entry.texture) {
            if (Api::module().device) Api::module().device->SetTexture(0, nullptr);
            cache.texture = nullptr;
        }
        entry.texture->Release();
    }
    entry = TextureSlot{};
}

template <class Api> void KGraphicD3DCore<Api>::releaseTexturesFrom(int slot) {
    for (int i = slot; i < kMaxTextures; i++) releaseTexture(i);
}

template <class Api>
bool KGraphicD3DCore<Api>::createRenderTargetTexture(int slot, int width, int height, bool renderTarget, int levels) {
    auto& module = Api::module();
    lastCreateResult_ = D3DERR_INVALIDCALL;
    if (!module.device || !module.window) return false;
    const unsigned char* support =
        renderTarget ? module.window->getRenderTargetFormatSupport() : module.window->getTextureFormatSupport();
    int format = renderTarget ? chooseRenderTargetFormat(trueColor_, alpha_, oneBitAlpha_, support)
                              : chooseTextureFormat(trueColor_, alpha_, oneBitAlpha_, support);
    TextureSlot& entry = textures_[slot];
    if (entry.texture && entry.format == format && int(entry.coordWidth) == width && int(entry.coordHeight) == height &&
        entry.levels == levels && !renderTarget)
        return true;
    releaseTexture(slot);
    IDirect3DTexture8* texture = nullptr;
    HRESULT result = Api::createTexture(module.device, width, height, levels, renderTarget ? D3DUSAGE_RENDERTARGET : 0,
                                        D3DFORMAT(format), renderTarget ? D3DPOOL_DEFAULT : D3DPOOL_MANAGED, &texture);
    lastCreateResult_ = result;
    if (FAILED(result) || !texture) return false;
    entry.texture = texture;
    entry.format = format;
    entry.levels = levels;
    entry.coordWidth = float(width);
    entry.coordHeight = float(height);
    if (!renderTarget) {
        D3DLOCKED_RECT locked;
        if (texture->LockRect(0, &locked, nullptr, D3DLOCK_NOSYSLOCK) == D3D_OK) {
            int rowBytes = width * bytesPerTexel(format);
            for (int y = 0; y < height; y++)
                std::memset(static_cast<unsigned char*>(locked.pBits) + size_t(y) * locked.Pitch, 0, rowBytes);
            texture->UnlockRect(0);
        }
    }
    return true;
}

template <class Api>
bool KGraphicD3DCore<Api>::preparePixels(IDirect3DTexture8* texture, int level, const uint32_t* pixels, int width,
                                         int height, int x1, int y1, int x2, int y2, int x, int y) {
    return fillTexture("preparePixels", texture, level, pixels, nullptr, width, height, x1, y1, x2, y2, x, y);
}

template <class Api>
bool KGraphicD3DCore<Api>::preparePixelsWithMask(IDirect3DTexture8* texture, int level, const uint32_t* pixels,
                                                 const uint32_t* mask, int width, int height, int x1, int y1, int x2,
                                                 int y2, int x, int y) {
    return fillTexture("preparePixelsWithMask", texture, level, pixels, mask, width, height, x1, y1, x2, y2, x, y);
}

// Converts the source rectangle x1, y1 .. x2, y2 of a width x height picture into the texture level at x, y
// (see convertPictureTexels). Transparent pixels bleed in the formats that bleeds() names.
template <class Api>
bool KGraphicD3DCore<Api>::fillTexture(const char* who, IDirect3DTexture8* texture, int level, const uint32_t* pixels,
                                       const uint32_t* mask, int width, int height, int x1, int y1, int x2, int y2,
                                       int x, int y) {
    D3DSURFACE_DESC desc;
    HRESULT result = texture->GetLevelDesc(level, &desc);
    if (FAILED(result)) {
        logMessage("%s: GetLevelDesc returned 0x%X for %s, ERROR", Api::kLogPrefix, unsigned(result), who);
        return false;
    }
    D3DLOCKED_RECT locked;
    result = texture->LockRect(level, &locked, nullptr, D3DLOCK_NOSYSLOCK);
    if (FAILED(result)) {
        logMessage("%s: LockRect returned 0x%X for %s, ERROR", Api::kLogPrefix, unsigned(result), who);
        return false;
    }
    int format = int(desc.Format);
    bool known = mask ? (format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8 || format == D3DFMT_X1R5G5B5 ||
                         format == D3DFMT_A1R5G5B5 || format == D3DFMT_A4R4G4B4)
                      : bytesPerTexel(format) != 0;
    if (!known) {
        logMessage("%s: unsupported texture format %d for %s, ERROR", Api::kLogPrefix, format, who);
        texture->UnlockRect(level);
        return false;
    }
    unsigned char* bits = static_cast<unsigned char*>(locked.pBits);
    const size_t pitch = size_t(locked.Pitch), texelBytes = size_t(bytesPerTexel(format));
    convertPictureTexels(pixels, mask, width, height, x1, y1, x2, y2, x, y, int(desc.Width), int(desc.Height),
                         {colorKeyEnabled_, colorKey_, bleeds(format)},
                         [=](int tx, int ty, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
                             writeTexel(bits + size_t(ty) * pitch + size_t(tx) * texelBytes, format, r, g, b, a);
                         });
    texture->UnlockRect(level);
    return true;
}

template <class Api>
bool KGraphicD3DCore<Api>::uploadTextures(const PictureSplice* spliceTable, const uint32_t* pixels,
                                          const uint32_t* mask, int width, int height, bool splice) {
    auto& module = Api::module();
    if (renderTarget_) {
        // A render target's texture cannot take pixels. The pixels being uploaded may be the decoded picture,
        // so only the device objects go here, not what freePicture drops.
        leaveTargetStack();
        releaseTargetSurfaces();
        releaseTexturesFrom(0);
        renderTarget_ = false;
    }
    if (!module.device || !module.window || !pixels || width <= 0 || height <= 0) return false;
    bool nonSquare = module.window->hasNonSquareTextures();
    bool withMask = mask && alpha_;

    PictureSplice pieces[kMaxPictureSplices];
    int count = collectSplices(spliceTable, splice, width, height, pieces);
    if (count > 0) {
        int needWidth[kMaxTextures], needHeight[kMaxTextures];
        int textures = measureSpliceTextures(pieces, count, needWidth, needHeight);
        if (textures < 0) return false;
        releaseTexturesFrom(textures);
        for (int t = 0; t < textures; t++) {
            int w = powerOfTwoAtLeast(needWidth[t], 64), h = powerOfTwoAtLeast(needHeight[t], 64);
            if (!nonSquare) w = h = std::max(w, h);
            if (!createRenderTargetTexture(t, w, h, false, 1)) {
                releaseTexturesFrom(0);
                textureCount_ = 0;
                return false;
            }
        }
        textureCount_ = textures;
        spliceCount_ = count;
        std::copy(pieces, pieces + count, splices_);
        for (int i = 0; i < count; i++) {
            const PictureSplice& piece = pieces[i];
            IDirect3DTexture8* texture = textures_[piece.texture].texture;
            if (withMask)
                preparePixelsWithMask(texture, 0, pixels, mask, width, height, int(piece.x1), int(piece.y1),
                                      int(piece.x2), int(piece.y2), int(piece.u), int(piece.v));
            else
                preparePixels(texture, 0, pixels, width, height, int(piece.x1), int(piece.y1), int(piece.x2),
                              int(piece.y2), int(piece.u), int(piece.v));
        }
        return true;
    }

    spliceCount_ = 0;
    releaseTexturesFrom(1);
    int w, h;
    if (!nonSquare || mipmapping_) {
        w = h = powerOfTwoAtLeast(std::max(width, height));
    } else {
        w = powerOfTwoAtLeast(width);
        h = powerOfTwoAtLeast(height);
    }
    int levels = mipmapping_ ? mipLevelsFor(w) : 1;
    if (!createRenderTargetTexture(0, w, h, false, levels)) {
        releaseTexturesFrom(0);
        textureCount_ = 0;
        return false;
    }
    textureCount_ = 1;
    IDirect3DTexture8* texture = textures_[0].texture;
    auto fill = [&](int level, const uint32_t* levelPixels, const uint32_t* levelMask, int levelWidth,
                    int levelHeight) {
        if (withMask)
            preparePixelsWithMask(texture, level, levelPixels, levelMask, levelWidth, levelHeight, 0, 0, levelWidth,
                                  levelHeight, 0, 0);
        else
            preparePixels(texture, level, levelPixels, levelWidth, levelHeight, 0, 0, levelWidth, levelHeight, 0, 0);
    };
    if (levels == 1) {
        fill(0, pixels, mask, width, height);
        return true;
    }
    KImage picture, maskPicture;
    if (!picture.allocate(width, height, true)) return false;
    std::copy(pixels, pixels + size_t(width) * size_t(height), picture.getPixels());
    if (withMask) {
        if (!maskPicture.allocate(width, height, true)) return false;
        std::copy(mask, mask + size_t(width) * size_t(height), maskPicture.getPixels());
    }
    fill(0, picture.getPixels(), maskPicture.getPixels(), width, height);
    for (int level = 1; level < levels; level++) {
        int halfWidth = picture.getWidth() / 2, halfHeight = picture.getHeight() / 2;
        picture.halve(halfWidth, halfHeight);
        if (withMask) maskPicture.halve(halfWidth, halfHeight);
        fill(level, picture.getPixels(), maskPicture.getPixels(), picture.getWidth(), picture.getHeight());
    }
    return true;
}

template <class Api>
bool KGraphicD3DCore<Api>::getPixels(IDirect3DTexture8* texture, uint32_t* out, int outWidth, int outHeight, int x1,
                                     int y1, int x2, int y2, int x, int y) {
    D3DSURFACE_DESC desc;
    HRESULT result = texture->GetLevelDesc(0, &desc);
    if (FAILED(result)) {
        logMessage("%s: GetLevelDesc returned 0x%X for getPixels, ERROR", Api::kLogPrefix, unsigned(result));
        return false;
    }
    IDirect3DTexture8* source = texture;
    IDirect3DTexture8* copy = nullptr;
    if (desc.Pool == D3DPOOL_DEFAULT) {
        typename Api::Device* device = Api::module().device;
        if (!device) return false;
        result = Api::createTexture(device, desc.Width, desc.Height, 1, 0, desc.Format, D3DPOOL_SYSTEMMEM, &copy);
        if (FAILED(result) || !copy) {
            logMessage("%s: CreateTexture returned 0x%X for getPixels, ERROR", Api::kLogPrefix, unsigned(result));
            return false;
        }
        IDirect3DSurface8* from = nullptr;
        IDirect3DSurface8* to = nullptr;
        texture->GetSurfaceLevel(0, &from);
        copy->GetSurfaceLevel(0, &to);
        result = Api::copyRenderTarget(device, from, to);
        if (from) from->Release();
        if (to) to->Release();
        if (FAILED(result)) {
            logMessage("%s: %s returned 0x%X for getPixels, ERROR", Api::kLogPrefix, Api::kCopyCall, unsigned(result));
            copy->Release();
            return false;
        }
        source = copy;
    }
    D3DLOCKED_RECT locked;
    result = source->LockRect(0, &locked, nullptr, D3DLOCK_READONLY);
    if (FAILED(result)) {
        logMessage("%s: LockRect returned 0x%X for getPixels, ERROR", Api::kLogPrefix, unsigned(result));
        if (copy) copy->Release();
        return false;
    }
    int format = int(desc.Format);
    bool known = isReadableTexelFormat(format);
    if (!known) {
        logMessage("%s: unsupported texture format 0x%X in getPixels, ERROR", Api::kLogPrefix, unsigned(format));
    } else {
        const size_t texelBytes = size_t(bytesPerTexel(format));
        // Texel (px + ox, py + oy) goes to pixel (px, py); clip to both.
        const int ox = x - x1, oy = y - y1;
        x1 = std::max({x1, 0, -ox});
        y1 = std::max({y1, 0, -oy});
        x2 = std::min({x2, outWidth, int(desc.Width) - ox});
        y2 = std::min({y2, outHeight, int(desc.Height) - oy});
        for (int py = y1; py < y2; py++) {
            const unsigned char* row = static_cast<const unsigned char*>(locked.pBits) + size_t(py + oy) * locked.Pitch;
            uint32_t* dest = out + size_t(py) * size_t(outWidth);
            for (int px = x1; px < x2; px++) dest[px] = readTexel(row + size_t(px + ox) * texelBytes, format);
        }
    }
    source->UnlockRect(0);
    if (copy) copy->Release();
    return known;
}

// Unspliced: texture 0 up to the smaller of picture and texture size; spliced: every splice's rectangle from its
// texture position.
template <class Api> bool KGraphicD3DCore<Api>::readPicture(KImage& picture) {
    int width = int(width_), height = int(height_);
    if (width <= 0 || height <= 0 || !picture.allocate(width, height, true)) return false;
    if (spliceCount_ == 0) {
        if (textures_[0].texture)
            getPixels(textures_[0].texture, picture.getPixels(), width, height, 0, 0,
                      std::min(width, int(textures_[0].coordWidth)), std::min(height, int(textures_[0].coordHeight)), 0,
                      0);
    } else {
        for (int i = 0; i < spliceCount_; i++) {
            const PictureSplice& piece = splices_[i];
            if (textures_[piece.texture].texture)
                getPixels(textures_[piece.texture].texture, picture.getPixels(), width, height, int(piece.x1),
                          int(piece.y1), std::min(int(piece.x2), width), std::min(int(piece.y2), height), int(piece.u),
                          int(piece.v));
        }
    }
    return true;
}

template <class Api> bool KGraphicD3DCore<Api>::savePicture(const char* fileName, int imageFormat) {
    KImage picture;
    if (!fileName || !readPicture(picture)) return false;
    return writeImageFile(fileName, picture, imageFormat, Api::kLogPrefix, "savePicture");
}

template <class Api> void KGraphicD3DCore<Api>::copyToImage(KImage* image) {
    if constexpr (Api::kVersion == 9)
        if (image) readPicture(*image);
}
