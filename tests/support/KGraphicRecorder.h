// The recording picture: a KGraphic with no device that keeps its picture's size (and the pixels handed to
// makePictureFromPixels) and records every drawing call, so that text and game code can be checked without a
// renderer. ScopedGraphicRecording makes the renderer factory hand it out.
#pragma once

#include "KGraphic.h"
#include "KGraphicFactory.h"
#include "KList.h"
#include "KObjectListable.h"

#include <string>
#include <vector>

class KGraphicRecorder;

// One recorded drawing call: the operation's name, its numeric arguments in call order (flags as 0 or 1,
// pointers left out) and the picture's drawing settings at the time of the call.
struct RecordedDraw {
    KGraphicRecorder* picture = nullptr;
    std::string operation;
    std::vector<float> args;
    float color[4] = {1, 1, 1, 1}; // blit colour
    int sourceFactor = K_FACTOR_SRC_ALPHA;
    int destFactor = K_FACTOR_INV_SRC_ALPHA;
    bool linear = false;
};

class KGraphicRecorder : public KGraphic, public KObjectListable {
public:
    KGraphicRecorder();
    KGraphicRecorder(const KGraphicRecorder&) = delete; // each recorder is linked once into the instance list
    KGraphicRecorder& operator=(const KGraphicRecorder&) = delete;
    ~KGraphicRecorder() override;

    // Every live recorder, oldest first, and every call recorded on any of them since the last clear.
    static KList<KGraphicRecorder>& instances();
    static std::vector<RecordedDraw>& calls();
    static std::vector<RecordedDraw> callsOn(const KGraphicRecorder* picture);
    static void clearCalls();

    // What a test reads back.
    const std::vector<uint32_t>& pixels() const { return keptPixels; } // the copy made by makePictureFromPixels
    const std::string& fileName() const { return pictureName; }
    const std::string& maskFileName() const { return maskName; } // empty unless loaded with a mask
    bool hasPicture() const { return loaded; }
    bool isLinear() const { return linear; }
    const float* blitColor() const { return color; }
    int getSourceFactor() const { return sourceFactor; }
    int getDestFactor() const { return destFactor; }
    int getTextureWrap() const { return wrap; }

    void setColorKey(bool enable, int c1, int c2, int c3) override;
    void setOneBitAlpha(bool oneBitAlpha) override;
    void setMipmapping(bool mipmapping) override;
    void setHalfSizeLoading(bool halfSize) override;
    bool loadPicture(const char* fileName, bool trueColor, bool alpha, bool splice, int loadKind,
                     const PictureSplice* spliceTable) override;
    bool loadPictureFromMemory(const char* name, const unsigned char* data, size_t size, bool trueColor, bool alpha,
                               bool splice, int loadKind, const PictureSplice* spliceTable) override;
    bool loadPictureWithMask(const char* fileName, const char* maskFileName, bool trueColor, bool splice, int loadKind,
                             const PictureSplice* spliceTable) override;
    bool loadPictureWithMaskFromMemory(const char* name, const unsigned char* data, size_t size, const char* maskName,
                                       const unsigned char* maskData, size_t maskSize, bool trueColor, bool splice,
                                       int loadKind, const PictureSplice* spliceTable) override;
    bool makePictureFromPixels(const uint32_t* pixels, long width, long height, bool trueColor, bool alpha, bool splice,
                               const PictureSplice* spliceTable) override;
    void reloadPicture() override;
    void freePicture() override;
    bool makeRenderTarget(long width, long height, bool trueColor, bool alpha, bool depth) override;
    void setClearOnBegin() override;
    void beginRenderToTarget() override;
    void endRenderToTarget() override;
    bool isRenderTargetLost() override;
    bool grabBackBuffer(void* reserved, bool splice, const PictureSplice* spliceTable) override;
    float getWidth() override { return width; }
    float getHeight() override { return height; }
    float getTextureWidth() override;
    float getTextureHeight() override;
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
    void blitRect(float sx1, float sy1, float sx2, float sy2, short dx, short dy, bool flipX, bool flipY) override;
    void blitRectFx(float sx1, float sy1, float sx2, float sy2, short dx, short dy, float angle, float zoom, bool flipX,
                    bool flipY, float px, float py) override;
    void blitAlphaRect(float sx1, float sy1, float sx2, float sy2, short dx, short dy, bool flipX, bool flipY) override;
    void blitAlphaRectFx(float sx1, float sy1, float sx2, float sy2, short dx, short dy, float angle, float zoom,
                         float alpha, bool flipX, bool flipY, float px, float py) override;
    void blitArbitraryQuad(float sx1, float sy1, float sx2, float sy2, float sx3, float sy3, float sx4, float sy4,
                           float dx1, float dy1, float dx2, float dy2, float dx3, float dy3, float dx4,
                           float dy4) override;
    void stretchAlphaRect(float sx1, float sy1, float sx2, float sy2, float dx1, float dy1, float dx2, float dy2,
                          float alpha, float angle, bool flipX, bool flipY, float px, float py) override;
    void blitRectF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, bool flipX, bool flipY) override;
    void blitRectFxF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle, float zoom,
                     bool flipX, bool flipY, float px, float py) override;
    void blitAlphaRectF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, bool flipX,
                        bool flipY) override;
    void blitAlphaRectFxF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle, float zoom,
                          float alpha, bool flipX, bool flipY, float px, float py) override;
    void blitAlphaRectFxXY(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle, float zoomX,
                           float zoomY, float alpha, bool flipX, bool flipY, float px, float py) override;
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
                             float mx2, float my2, float dx1, float dy1, float dx2, float dy2, bool flipX,
                             bool flipY) override;
    bool savePicture(const char* fileName, int imageFormat) override;
    void copyToImage(KImage* image) override;
    float getTextureCoordWidth() override { return getTextureWidth(); }
    float getTextureCoordHeight() override { return getTextureHeight(); }
    bool isSpliced() override { return false; }
    void blitSplicedRectInt(float sx1, float sy1, float sx2, float sy2, short dx, short dy, float angle, float zoom,
                            bool flipX, bool flipY, float px, float py) override;
    void blitSplicedAlphaRectInt(float sx1, float sy1, float sx2, float sy2, short dx, short dy, float angle,
                                 float zoom, float alpha, bool flipX, bool flipY, float px, float py) override;
    void blitSplicedRect(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle, float zoom,
                         bool flipX, bool flipY, float px, float py) override;
    void blitSplicedAlphaRect(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle, float zoom,
                              float alpha, bool flipX, bool flipY, float px, float py) override;

private:
    void record(const char* operation, std::initializer_list<float> args);
    bool takePicture(const char* name, const unsigned char* data, size_t size, int loadKind);

    float width = 0, height = 0;
    bool loaded = false;
    bool decodedKept = false; // a kind-1 load waiting for its kind-2 upload
    bool renderTarget = false;
    bool targetLost = false;
    std::vector<uint32_t> keptPixels;
    const uint32_t* callerPixels = nullptr;
    std::string pictureName, maskName;
    float color[4] = {1, 1, 1, 1};
    int sourceFactor = K_FACTOR_SRC_ALPHA;
    int destFactor = K_FACTOR_INV_SRC_ALPHA;
    int wrap = K_WRAP_CLAMP;
    bool linear = false;
};

// While it lives, createGraphic() makes KGraphicRecorder objects whatever RendererKind holds; the factory's
// previous maker comes back after.
class ScopedGraphicRecording {
public:
    ScopedGraphicRecording();
    ~ScopedGraphicRecording();
    ScopedGraphicRecording(const ScopedGraphicRecording&) = delete;
    ScopedGraphicRecording& operator=(const ScopedGraphicRecording&) = delete;

    // Whether the factory makes recorders now.
    static bool isOn();

private:
    GraphicMaker previous;
};
