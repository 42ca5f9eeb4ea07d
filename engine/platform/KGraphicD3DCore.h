// KGraphicD3DCore: the Direct3D back end of KGraphic, written once for both device interfaces (KGraphicD3DApi.h):
// KGraphicD3D is its Direct3D 8 form, KGraphicD3D9 its Direct3D 9 form. One object holds one picture (up to 32
// managed textures, or one render-target texture) and its drawing settings. Pictures are loaded through
// KGraphicBase and uploaded in KGraphicD3DCorePictures.inl, drawn in KGraphicD3DCoreDraw.inl, and made render targets
// and rebuilt around device resets in KGraphicD3DCoreTarget.inl; KGraphicD3DCore.cpp makes both forms. Where the
// versions differ in behaviour (the high-resolution probe, the FxXY checks, the transformed blits, quads and batches,
// copyToImage and the back-buffer grab), the code says so by the version number.
#pragma once

#include "KGraphicBase.h"
#include "KGraphicD3DApi.h"
#include "KImage.h"
#include "KList.h"
#include "KObjectListable.h"
#include "KSplicer.h"

#include <cstdint>
#include <string>
#include <vector>

// The engine's pixel formats, in the order of the window's support bytes.
enum KPixelFormatD3D : int {
    K_PF_X1R5G5B5 = 0,
    K_PF_R5G6B5 = 1,
    K_PF_A1R5G5B5 = 2,
    K_PF_A4R4G4B4 = 3,
    K_PF_R8G8B8 = 4,
    K_PF_X8R8G8B8 = 5,
    K_PF_A8R8G8B8 = 6,
};

template <class Api> class KGraphicD3DCore : public KGraphicBase, public KObjectListable {
public:
    KGraphicD3DCore();
    ~KGraphicD3DCore() override;

    // Every live picture, oldest first (walked to release and rebuild textures around a device reset).
    static KList<KGraphicD3DCore>& list();

    void setHalfSizeLoading(bool halfSize) override;
    void freePicture() override;

    bool makeRenderTarget(long width, long height, bool trueColor, bool alpha, bool depth) override;
    void setClearOnBegin() override;
    void beginRenderToTarget() override;
    void endRenderToTarget() override;
    bool isRenderTargetLost() override;
    // Direct3D 8 takes the back buffer from the window; Direct3D 9 reads it through the device.
    bool grabBackBuffer(void* reserved = nullptr, bool splice = false,
                        const PictureSplice* spliceTable = nullptr) override;

    float getWidth() override { return width_; }
    float getHeight() override { return height_; }
    float getTextureWidth() override { return textures_[0].coordWidth; }
    float getTextureHeight() override { return textures_[0].coordHeight; }

    void setLinearFiltering(bool linear) override;
    void setBlendMode(int mode) override;
    void setBlendFactors(int sourceFactor, int destFactor) override;
    void setTextureWrap(int wrap) override;
    void setBlitColor(float r, float g, float b, float a) override;

    void plotPixel(float x, float y, float r, float g, float b, float a) override;
    void drawLine(float x1, float y1, float x2, float y2, float r, float g, float b, float a) override;
    void fillRect(float x1, float y1, float x2, float y2, float r, float g, float b, float a) override;
    void fillGradientQuad(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4, float r1,
                          float g1, float b1, float a1, float r2, float g2, float b2, float a2, float r3, float g3,
                          float b3, float a3, float r4, float g4, float b4, float a4) override;
    void fillQuad(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4, float r, float g,
                  float b, float a) override;

    void blitRect(float sx1, float sy1, float sx2, float sy2, short dx, short dy, bool flipX = false,
                  bool flipY = false) override;
    void blitRectFx(float sx1, float sy1, float sx2, float sy2, short dx, short dy, float angle, float zoom,
                    bool flipX = false, bool flipY = false, float px = 0, float py = 0) override;
    void blitAlphaRect(float sx1, float sy1, float sx2, float sy2, short dx, short dy, bool flipX = false,
                       bool flipY = false) override;
    void blitAlphaRectFx(float sx1, float sy1, float sx2, float sy2, short dx, short dy, float angle, float zoom,
                         float alpha, bool flipX = false, bool flipY = false, float px = 0, float py = 0) override;
    void blitArbitraryQuad(float sx1, float sy1, float sx2, float sy2, float sx3, float sy3, float sx4, float sy4,
                           float dx1, float dy1, float dx2, float dy2, float dx3, float dy3, float dx4,
                           float dy4) override;
    void stretchAlphaRect(float sx1, float sy1, float sx2, float sy2, float dx1, float dy1, float dx2, float dy2,
                          float alpha = 1, float angle = 0, bool flipX = false, bool flipY = false, float px = 0,
                          float py = 0) override;
    void blitRectF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, bool flipX = false,
                   bool flipY = false) override;
    void blitRectFxF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle, float zoom,
                     bool flipX = false, bool flipY = false, float px = 0, float py = 0) override;
    void blitAlphaRectF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, bool flipX = false,
                        bool flipY = false) override;
    void blitAlphaRectFxF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle, float zoom,
                          float alpha, bool flipX = false, bool flipY = false, float px = 0, float py = 0) override;
    void blitAlphaRectFxXY(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle, float zoomX,
                           float zoomY, float alpha, bool flipX = false, bool flipY = false, float px = 0,
                           float py = 0) override;
    // blitTransformedEx, drawTransformedEx and drawBatchTransformed draw only under Direct3D 9.
    void blitTransformedEx(float sx1, float sy1, float sx2, float sy2, float xx, float xy, float tx, float yx, float yy,
                           float ty, float alpha, const KGraphicColor* topLeft, const KGraphicColor* topRight,
                           const KGraphicColor* bottomLeft, const KGraphicColor* bottomRight) override;
    void blitAlphaRectAffine(float sx1, float sy1, float sx2, float sy2, float xx, float xy, float tx, float yx,
                             float yy, float ty, float alpha) override;
    void drawTransformedEx(float sx1, float sy1, float sx2, float sy2, float xx, float xy, float tx, float yx, float yy,
                           float ty, float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                           float r, float g, float b, float a) override;
    void drawBatchTransformed(KBatch* batch, float xx, float xy, float tx, float yx, float yy, float ty) override;
    void blitAlphaRectMasked(float sx1, float sy1, float sx2, float sy2, KGraphic* mask, float mx1, float my1,
                             float mx2, float my2, float dx1, float dy1, float dx2, float dy2, bool flipX = false,
                             bool flipY = false) override;

    bool savePicture(const char* fileName, int imageFormat) override;
    void copyToImage(KImage* image) override; // as savePicture reads it; nothing under Direct3D 8

    float getTextureCoordWidth() override { return textures_[0].coordWidth; }
    float getTextureCoordHeight() override { return textures_[0].coordHeight; }

    void blitSplicedRectInt(float sx1, float sy1, float sx2, float sy2, short dx, short dy, float angle, float zoom,
                            bool flipX = false, bool flipY = false, float px = 0, float py = 0) override;
    void blitSplicedAlphaRectInt(float sx1, float sy1, float sx2, float sy2, short dx, short dy, float angle,
                                 float zoom, float alpha, bool flipX = false, bool flipY = false, float px = 0,
                                 float py = 0) override;
    void blitSplicedRect(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle, float zoom,
                         bool flipX = false, bool flipY = false, float px = 0, float py = 0) override;
    void blitSplicedAlphaRect(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle, float zoom,
                              float alpha, bool flipX = false, bool flipY = false, float px = 0, float py = 0) override;

    // Rebuilds a picture whose textures were released: a render target is made again (contents lost), a picture
    // with a kept pixel copy is uploaded again, else one with a file name is loaded again.
    void restorePicture();
    bool isRenderTarget() const { return renderTarget_; }

    // Texture slot access for tests and the render-target code.
    IDirect3DTexture8* getTexture(int slot) const { return textures_[slot].texture; }
    int getTextureFormat(int slot) const { return textures_[slot].format; }
    int getTextureCount() const { return textureCount_; }

    // The Direct3D format the format tables choose from the window's support bytes (-1 when none).
    static int chooseTextureFormat(bool trueColor, bool alpha, bool oneBitAlpha, const unsigned char* support);
    static int chooseRenderTargetFormat(bool trueColor, bool alpha, bool oneBitAlpha, const unsigned char* support);
    // Mip levels of an unspliced side: 1 up to 64, then one more per halving down to 64.
    static int mipLevelsFor(int side);

protected:
    bool uploadTextures(const PictureSplice* spliceTable, const uint32_t* pixels, const uint32_t* mask, int width,
                        int height, bool splice) override;
    const char* logPrefix() const override { return Api::kLogPrefix; }
    // Direct3D 8 always looks for the high-resolution variant, Direct3D 9 only at a resolution scale of 2.
    bool wantsHighResolutionVariant() override;
    // While the device is lost: waits for the window to reset it.
    void waitForDevice() override;

private:
    struct TextureSlot {
        IDirect3DTexture8* texture = nullptr;
        int format = -1; // Direct3D format, -1 when the slot is empty
        int levels = 0;
        float coordWidth = 0, coordHeight = 0;
    };

    bool createRenderTargetTexture(int slot, int width, int height, bool renderTarget, int levels);
    // A render target's colour and depth surfaces (its contents are lost); nothing for other pictures.
    void releaseTargetSurfaces();
    // Hands drawing back to the enclosing target or the back buffer while this target is current, and takes it off
    // the target stack wherever it stands.
    void leaveTargetStack();
    void releaseTexture(int slot);
    void releaseTexturesFrom(int slot);
    bool preparePixels(IDirect3DTexture8* texture, int level, const uint32_t* pixels, int width, int height, int x1,
                       int y1, int x2, int y2, int x, int y);
    bool preparePixelsWithMask(IDirect3DTexture8* texture, int level, const uint32_t* pixels, const uint32_t* mask,
                               int width, int height, int x1, int y1, int x2, int y2, int x, int y);
    bool fillTexture(const char* who, IDirect3DTexture8* texture, int level, const uint32_t* pixels,
                     const uint32_t* mask, int width, int height, int x1, int y1, int x2, int y2, int x, int y);
    // Texels from (x, y) of level 0 into the rectangle x1, y1 .. x2, y2 of an outWidth x outHeight RGBA buffer.
    bool getPixels(IDirect3DTexture8* texture, uint32_t* out, int outWidth, int outHeight, int x1, int y1, int x2,
                   int y2, int x, int y);
    // The picture read back from its textures into a zeroed picture of its size with alpha.
    bool readPicture(KImage& picture);
    bool createRenderTarget(int width, int height, bool trueColor, bool alpha, bool depth);

    // Drawing (KGraphicD3DCoreDraw.inl).
    bool prepareTextured(int slot, bool blended);
    void setAffineWorld(float xx, float xy, float tx, float yx, float yy, float ty);
    void setRotateZoomWorld(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle, float zoomX,
                            float zoomY, float px, float py, float& cx, float& cy);
    void drawQuad(float sx1, float sy1, float sx2, float sy2, float x0, float y0, bool flipX, bool flipY,
                  float alphaFactor);
    // The same quad with one colour per corner (top-left, top-right, bottom-left, bottom-right).
    void drawQuadColored(float sx1, float sy1, float sx2, float sy2, float x0, float y0, bool flipX, bool flipY,
                         const D3DCOLOR corners[4]);
    void blitPlain(float sx1, float sy1, float sx2, float sy2, float dx, float dy, bool flipX, bool flipY,
                   bool blended);
    void blitFx(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle, float zoomX, float zoomY,
                float alpha, bool flipX, bool flipY, float px, float py, bool blended);
    void blitSpliced(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle, float zoom,
                     float alpha, bool flipX, bool flipY, float px, float py, bool blended);

    int filter_;
    int srcBlend_, dstBlend_;
    int address_;
    float colorR_ = 1, colorG_ = 1, colorB_ = 1, colorA_ = 1;
    int textureCount_ = 0;
    TextureSlot textures_[kMaxTextures];
    bool renderTarget_ = false, clearOnBegin_ = false;
    IDirect3DSurface8* targetSurface_ = nullptr;
    IDirect3DSurface8* depthSurface_ = nullptr;
    bool depthWanted_ = false, contentsLost_ = false;
    HRESULT lastCreateResult_ = D3D_OK; // of the last texture creation, for the render-target flush
};

// What a version's window calls (KGraphicD3DDevice.h and KGraphicD3D9Device.h name them for each version).
namespace d3dcore {
template <class Api> void resetDrawingState(typename Api::Window* window);
template <class Api> void closeRenderTargets();
template <class Api> void releaseDeviceTextures(bool releaseAll);
template <class Api> void restoreRenderTargets();
template <class Api> void fillRectBlended(float x1, float y1, float x2, float y2, float r, float g, float b, float a);
// All cache entries unknown, stage 0 unbound, blending off and the world identity, on the device as well.
template <class Api> void resetTextureStateCache();
} // namespace d3dcore

extern template class KGraphicD3DCore<D3D8Api>;
extern template class KGraphicD3DCore<D3D9Api>;
