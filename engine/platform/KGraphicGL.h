// KGraphicGL: the OpenGL 1.x back end of KGraphic. One object holds one picture (up to 32 textures, 2-D or
// rectangle, or one render target drawn through a pbuffer) and its drawing settings. Pictures are loaded through
// KGraphicBase and uploaded in KGraphicGL.cpp, drawn in KGraphicGLDraw.cpp and made render targets in
// KGraphicGLTarget.cpp.
#pragma once

#include "HostWGL.h"
#include "KGraphicBase.h"
#include "KImage.h"
#include "KList.h"
#include "KObjectListable.h"
#include "KSplicer.h"

#include <cstdint>
#include <string>
#include <vector>

// The per-pixel function grabBackBuffer takes in its first argument: pixel (x, y) of the grabbed picture, its
// colour bytes changed in place.
using KGrabPixelFunction = void (*)(long x, long y, unsigned char& r, unsigned char& g, unsigned char& b);

class KGraphicGL : public KGraphicBase, public KObjectListable {
public:
    KGraphicGL();
    ~KGraphicGL() override;

    // Every live picture, oldest first.
    static KList<KGraphicGL>& list();

    void setMipmapping(bool mipmapping) override;
    void setHalfSizeLoading(bool halfSize) override;
    void freePicture() override;

    bool makeRenderTarget(long width, long height, bool trueColor, bool alpha, bool depth) override;
    void setClearOnBegin() override;
    void beginRenderToTarget() override;
    void endRenderToTarget() override;
    bool isRenderTargetLost() override;
    // reserved: a KGrabPixelFunction (or null) applied to every grabbed pixel.
    bool grabBackBuffer(void* reserved = nullptr, bool splice = false,
                        const PictureSplice* spliceTable = nullptr) override;

    float getWidth() override { return width_ / scale_; }
    float getHeight() override { return height_ / scale_; }
    float getTextureWidth() override { return float(textures_[0].width); }
    float getTextureHeight() override { return float(textures_[0].height); }

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
    void blitTransformedEx(float sx1, float sy1, float sx2, float sy2, float xx, float xy, float tx, float yx, float yy,
                           float ty, float alpha, const KGraphicColor* topLeft, const KGraphicColor* topRight,
                           const KGraphicColor* bottomLeft, const KGraphicColor* bottomRight) override;
    void blitAlphaRectAffine(float sx1, float sy1, float sx2, float sy2, float xx, float xy, float tx, float yx,
                             float yy, float ty, float alpha) override;
    void drawTransformedEx(float sx1, float sy1, float sx2, float sy2, float xx, float xy, float tx, float yx, float yy,
                           float ty, float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                           float r, float g, float b, float a) override;
    // batch: a KBatchGL.
    void drawBatchTransformed(KBatch* batch, float xx, float xy, float tx, float yx, float yy, float ty) override;
    void blitAlphaRectMasked(float sx1, float sy1, float sx2, float sy2, KGraphic* mask, float mx1, float my1,
                             float mx2, float my2, float dx1, float dy1, float dx2, float dy2, bool flipX = false,
                             bool flipY = false) override;

    bool savePicture(const char* fileName, int imageFormat) override;
    void copyToImage(KImage* image) override; // nothing in this back end

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

    // Texture slots, for tests.
    unsigned getTextureName(int slot) const { return textures_[slot].name; }
    unsigned getTextureTarget(int slot) const { return textures_[slot].target; }
    int getTextureInternalFormat(int slot) const { return textures_[slot].internalFormat; }
    int getTextureCount() const { return textureCount_; }
    bool isRenderTarget() const { return pbuffer_ != nullptr; }
    HPBUFFERARB getPbuffer() const { return pbuffer_; }

protected:
    bool uploadTextures(const PictureSplice* spliceTable, const uint32_t* pixels, const uint32_t* mask, int width,
                        int height, bool splice) override;
    const char* logPrefix() const override { return "OpenGL"; }
    // The double-size variant is only wanted on a display that shows two pixels per game pixel.
    bool wantsHighResolutionVariant() override;
    // Half-size loading: the decoded pictures go up at half their size, and the picture scale halves with them.
    void adjustDecoded() override;

private:
    struct TextureSlot {
        unsigned name = 0; // 0 = none
        int internalFormat = 0;
        int width = 0, height = 0;
        float coordWidth = 0, coordHeight = 0;
        unsigned target = 0;
        bool filterDirty = true, wrapDirty = true;
    };

    bool specifyTexture(int slot, int width, int height, unsigned target, const uint32_t* rgba);
    void fillLevel(int width, int height, const uint32_t* rgba, int level, unsigned target);
    void preparePixels(uint32_t* out, int outWidth, int outHeight, const uint32_t* pixels, const uint32_t* mask,
                       int width, int height, int x1, int y1, int x2, int y2, int x, int y) const;
    void deleteTexture(int slot);
    void deleteTexturesFrom(int slot);
    void markParameters();
    void destroyPbuffer();

    // Drawing (KGraphicGLDraw.cpp).
    bool bindSlot(int slot, bool blended);
    void untexturedState();
    void applyParameters(TextureSlot& slot);
    void emitQuad(float sx1, float sy1, float sx2, float sy2, float left, float top, bool flipX, bool flipY,
                  float alpha);
    void blitPlain(float sx1, float sy1, float sx2, float sy2, float dx, float dy, bool flipX, bool flipY,
                   bool blended);
    void blitFx(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle, float zoomX, float zoomY,
                float alpha, bool flipX, bool flipY, float px, float py, bool blended);
    void blitSpliced(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle, float zoom,
                     float alpha, bool flipX, bool flipY, float px, float py, bool blended);
    void multiplyAffine(float xx, float xy, float tx, float yx, float yy, float ty);

    bool halfSize_ = false;
    int minFilter_;
    bool linear_ = false;
    int srcBlend_, dstBlend_;
    int wrap_;
    float colorR_ = 1, colorG_ = 1, colorB_ = 1, colorA_ = 1;
    int textureCount_ = 0;
    TextureSlot textures_[kMaxTextures];
    bool clearOnBegin_ = false;
    HPBUFFERARB pbuffer_ = nullptr;
    HDC pbufferDC_ = nullptr;
    HGLRC pbufferContext_ = nullptr;
};
