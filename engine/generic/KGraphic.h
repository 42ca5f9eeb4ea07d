// The engine's one interface for pictures and 2-D drawing. One KGraphic holds one picture (device
// textures or a render target) with its drawing settings; every back end (and the test recorder) derives from it.
#pragma once

#include "KObjectBase.h"

#include <cstddef>
#include <cstdint>

class KImage;         // decoded picture (image codecs)
class KBatch;         // a vertex batch (back ends that draw batches define it)
struct PictureSplice; // one piece of a picture cut into textures (KSplicer.h)

// Blend presets taken by KGraphic::setBlendMode. Other numbers leave the factors unchanged.
enum BlendMode : int {
    K_BLEND_ADDITIVE = 0,      // source alpha, one
    K_BLEND_NORMAL = 1,        // source alpha, inverse source alpha (a new picture's default)
    K_BLEND_PREMULTIPLIED = 2, // one, inverse source alpha
    K_BLEND_ERASE = 3,         // zero, inverse source alpha
    K_BLEND_ADDITIVE_2 = 4,    // as 0
    K_BLEND_MULTIPLY = 5,      // zero, source colour
};

// Blend factors taken by KGraphic::setBlendFactors. An unknown source number means source alpha,
// an unknown destination number means one.
enum BlendFactor : int {
    K_FACTOR_ZERO = 0,
    K_FACTOR_ONE = 1,
    K_FACTOR_DST_COLOR = 2,
    K_FACTOR_INV_DST_COLOR = 3,
    K_FACTOR_SRC_ALPHA = 4,
    K_FACTOR_INV_SRC_ALPHA = 5,
    K_FACTOR_DST_ALPHA = 6,
    K_FACTOR_INV_DST_ALPHA = 7,
    K_FACTOR_SRC_ALPHA_SAT = 8,
    K_FACTOR_SRC_COLOR = 9,
    K_FACTOR_INV_SRC_COLOR = 10,
};

// Texture address modes taken by KGraphic::setTextureWrap; other numbers leave the mode unchanged.
enum TextureWrap : int {
    K_WRAP_CLAMP = 0, // the default
    K_WRAP_REPEAT = 1,
    K_WRAP_MIRROR = 2,
};

// Loading kinds of the picture loaders; other values fail.
enum PictureLoadKind : int {
    K_LOAD_NOW = 0,         // decode and upload at once
    K_LOAD_DECODE_ONLY = 1, // decode and keep the decoded picture, upload nothing
    K_LOAD_UPLOAD_KEPT = 2, // upload what an earlier kind-1 load kept, then drop it
};

// The source and destination factors a blend preset selects; false for a number that is no preset.
bool blendModeFactors(int mode, int& sourceFactor, int& destFactor);
// A blend factor number made valid: unknown source numbers become source alpha, unknown destination numbers one.
int validSourceFactor(int factor);
int validDestFactor(int factor);
// A blit colour channel clamped to 0 .. 1.
float clampColorChannel(float value);

// One corner colour of KGraphic::blitTransformedEx.
struct KGraphicColor {
    float r = 1, g = 1, b = 1, a = 1;
};

// Drawing conventions shared by every back end: destination coordinates are game-area pixels (x right,
// y down); a blit's destination point is the source rectangle's top-left; rotation (degrees, positive
// counter-clockwise on screen) and zoom act about the centre of the source rectangle plus (px, py);
// flips mirror inside the destination rectangle; textured blits multiply the blit colour into the texels
// and the Alpha variants also the alpha argument; operations without "Alpha" draw unblended; zoom and
// alpha at or below 0 draw nothing; untextured operations take their own colour and blend with the
// picture's factors. Source rectangles are sx1, sy1 (top-left) to sx2, sy2 (exclusive).
//
// Pixels handed to makePictureFromPixels are width x height 32-bit values whose bytes in memory are
// R, G, B, A (on this little-endian machine the value 0xAABBGGRR).
class KGraphic : public KObjectBase {
public:
    ~KGraphic() override = default;

    virtual void setColorKey(bool enable, int c1, int c2, int c3) = 0;
    virtual void setOneBitAlpha(bool oneBitAlpha) = 0;
    virtual void setMipmapping(bool mipmapping) = 0;
    virtual void setHalfSizeLoading(bool halfSize) = 0;

    virtual bool loadPicture(const char* fileName, bool trueColor, bool alpha, bool splice = false,
                             int loadKind = K_LOAD_NOW, const PictureSplice* spliceTable = nullptr) = 0;
    virtual bool loadPictureFromMemory(const char* name, const unsigned char* data, size_t size, bool trueColor,
                                       bool alpha, bool splice = false, int loadKind = K_LOAD_NOW,
                                       const PictureSplice* spliceTable = nullptr) = 0;
    virtual bool loadPictureWithMask(const char* fileName, const char* maskFileName, bool trueColor,
                                     bool splice = false, int loadKind = K_LOAD_NOW,
                                     const PictureSplice* spliceTable = nullptr) = 0;
    virtual bool loadPictureWithMaskFromMemory(const char* name, const unsigned char* data, size_t size,
                                               const char* maskName, const unsigned char* maskData, size_t maskSize,
                                               bool trueColor, bool splice = false, int loadKind = K_LOAD_NOW,
                                               const PictureSplice* spliceTable = nullptr) = 0;
    // Keeps a copy of the pixels and remembers the caller's buffer (for reloadPicture).
    virtual bool makePictureFromPixels(const uint32_t* pixels, long width, long height, bool trueColor, bool alpha,
                                       bool splice = false, const PictureSplice* spliceTable = nullptr) = 0;
    // Copies the remembered caller buffer again and re-uploads it; the buffer must still be alive.
    virtual void reloadPicture() = 0;
    virtual void freePicture() = 0;

    virtual bool makeRenderTarget(long width, long height, bool trueColor, bool alpha, bool depth) = 0;
    virtual void setClearOnBegin() = 0;
    virtual void beginRenderToTarget() = 0;
    virtual void endRenderToTarget() = 0;
    virtual bool isRenderTargetLost() = 0; // clears the flag
    virtual bool grabBackBuffer(void* reserved = nullptr, bool splice = false,
                                const PictureSplice* spliceTable = nullptr) = 0;

    virtual float getWidth() = 0;
    virtual float getHeight() = 0;
    virtual float getTextureWidth() = 0;
    virtual float getTextureHeight() = 0;

    virtual void setLinearFiltering(bool linear) = 0;
    virtual void setBlendMode(int mode) = 0;                            // a BlendMode
    virtual void setBlendFactors(int sourceFactor, int destFactor) = 0; // BlendFactor numbers
    virtual void setTextureWrap(int wrap) = 0;                          // a TextureWrap
    virtual void setBlitColor(float r, float g, float b, float a) = 0;

    virtual void plotPixel(float x, float y, float r, float g, float b, float a) = 0;
    virtual void drawLine(float x1, float y1, float x2, float y2, float r, float g, float b, float a) = 0;
    virtual void fillRect(float x1, float y1, float x2, float y2, float r, float g, float b, float a) = 0;
    virtual void fillGradientQuad(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                                  float r1, float g1, float b1, float a1, float r2, float g2, float b2, float a2,
                                  float r3, float g3, float b3, float a3, float r4, float g4, float b4, float a4) = 0;
    virtual void fillQuad(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4, float r,
                          float g, float b, float a) = 0;

    virtual void blitRect(float sx1, float sy1, float sx2, float sy2, short dx, short dy, bool flipX = false,
                          bool flipY = false) = 0;
    virtual void blitRectFx(float sx1, float sy1, float sx2, float sy2, short dx, short dy, float angle, float zoom,
                            bool flipX = false, bool flipY = false, float px = 0, float py = 0) = 0;
    virtual void blitAlphaRect(float sx1, float sy1, float sx2, float sy2, short dx, short dy, bool flipX = false,
                               bool flipY = false) = 0;
    virtual void blitAlphaRectFx(float sx1, float sy1, float sx2, float sy2, short dx, short dy, float angle,
                                 float zoom, float alpha, bool flipX = false, bool flipY = false, float px = 0,
                                 float py = 0) = 0;
    virtual void blitArbitraryQuad(float sx1, float sy1, float sx2, float sy2, float sx3, float sy3, float sx4,
                                   float sy4, float dx1, float dy1, float dx2, float dy2, float dx3, float dy3,
                                   float dx4, float dy4) = 0;
    virtual void stretchAlphaRect(float sx1, float sy1, float sx2, float sy2, float dx1, float dy1, float dx2,
                                  float dy2, float alpha = 1, float angle = 0, bool flipX = false, bool flipY = false,
                                  float px = 0, float py = 0) = 0;
    virtual void blitRectF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, bool flipX = false,
                           bool flipY = false) = 0;
    virtual void blitRectFxF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle, float zoom,
                             bool flipX = false, bool flipY = false, float px = 0, float py = 0) = 0;
    virtual void blitAlphaRectF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, bool flipX = false,
                                bool flipY = false) = 0;
    virtual void blitAlphaRectFxF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle,
                                  float zoom, float alpha, bool flipX = false, bool flipY = false, float px = 0,
                                  float py = 0) = 0;
    virtual void blitAlphaRectFxXY(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle,
                                   float zoomX, float zoomY, float alpha, bool flipX = false, bool flipY = false,
                                   float px = 0, float py = 0) = 0;
    // Corner colours: top-left, top-right, bottom-left, bottom-right.
    virtual void blitTransformedEx(float sx1, float sy1, float sx2, float sy2, float xx, float xy, float tx, float yx,
                                   float yy, float ty, float alpha, const KGraphicColor* topLeft,
                                   const KGraphicColor* topRight, const KGraphicColor* bottomLeft,
                                   const KGraphicColor* bottomRight) = 0;
    virtual void blitAlphaRectAffine(float sx1, float sy1, float sx2, float sy2, float xx, float xy, float tx, float yx,
                                     float yy, float ty, float alpha) = 0;
    virtual void drawTransformedEx(float sx1, float sy1, float sx2, float sy2, float xx, float xy, float tx, float yx,
                                   float yy, float ty, float x1, float y1, float x2, float y2, float x3, float y3,
                                   float x4, float y4, float r, float g, float b, float a) = 0;
    virtual void drawBatchTransformed(KBatch* batch, float xx, float xy, float tx, float yx, float yy, float ty) = 0;
    virtual void blitAlphaRectMasked(float sx1, float sy1, float sx2, float sy2, KGraphic* mask, float mx1, float my1,
                                     float mx2, float my2, float dx1, float dy1, float dx2, float dy2,
                                     bool flipX = false, bool flipY = false) = 0;

    virtual bool savePicture(const char* fileName, int imageFormat) = 0; // an ImageFormat of the image codecs
    virtual void copyToImage(KImage* image) = 0;

    virtual float getTextureCoordWidth() = 0;
    virtual float getTextureCoordHeight() = 0;
    virtual bool isSpliced() = 0;

    virtual void blitSplicedRectInt(float sx1, float sy1, float sx2, float sy2, short dx, short dy, float angle,
                                    float zoom, bool flipX = false, bool flipY = false, float px = 0, float py = 0) = 0;
    virtual void blitSplicedAlphaRectInt(float sx1, float sy1, float sx2, float sy2, short dx, short dy, float angle,
                                         float zoom, float alpha, bool flipX = false, bool flipY = false, float px = 0,
                                         float py = 0) = 0;
    virtual void blitSplicedRect(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle,
                                 float zoom, bool flipX = false, bool flipY = false, float px = 0, float py = 0) = 0;
    virtual void blitSplicedAlphaRect(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle,
                                      float zoom, float alpha, bool flipX = false, bool flipY = false, float px = 0,
                                      float py = 0) = 0;
};
