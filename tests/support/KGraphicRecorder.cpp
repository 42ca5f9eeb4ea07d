// The recording picture: drawing settings and sizes kept as a real back end keeps them, every drawing call
// appended to one shared call list.
#include "KGraphicRecorder.h"

#include "KResource.h"

#include <cstring>
#include <new>

namespace {
KGraphic* makeRecorder() {
    return new (std::nothrow) KGraphicRecorder();
}
} // namespace

ScopedGraphicRecording::ScopedGraphicRecording() : previous(getGraphicMaker()) {
    setGraphicMaker(makeRecorder);
}

ScopedGraphicRecording::~ScopedGraphicRecording() {
    setGraphicMaker(previous);
}

bool ScopedGraphicRecording::isOn() {
    return getGraphicMaker() == makeRecorder;
}

KList<KGraphicRecorder>& KGraphicRecorder::instances() {
    static KList<KGraphicRecorder>& list = *new KList<KGraphicRecorder>(); // never destroyed (see KList.h)
    return list;
}

std::vector<RecordedDraw>& KGraphicRecorder::calls() {
    static std::vector<RecordedDraw> list;
    return list;
}

std::vector<RecordedDraw> KGraphicRecorder::callsOn(const KGraphicRecorder* picture) {
    std::vector<RecordedDraw> result;
    for (const RecordedDraw& call : calls())
        if (call.picture == picture) result.push_back(call);
    return result;
}

void KGraphicRecorder::clearCalls() {
    calls().clear();
}

KGraphicRecorder::KGraphicRecorder() {
    instances().link(this);
}

KGraphicRecorder::~KGraphicRecorder() {
    instances().unlink(this);
}

void KGraphicRecorder::record(const char* operation, std::initializer_list<float> args) {
    RecordedDraw call;
    call.picture = this;
    call.operation = operation;
    call.args = args;
    std::memcpy(call.color, color, sizeof color);
    call.sourceFactor = sourceFactor;
    call.destFactor = destFactor;
    call.linear = linear;
    calls().push_back(std::move(call));
}

namespace {
uint32_t readBigEndian32(const unsigned char* bytes) {
    return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
}
} // namespace

// The recorder decodes nothing: a PNG gives its size from its header, any other non-empty data loads as 0 x 0.
bool KGraphicRecorder::takePicture(const char* name, const unsigned char* data, size_t size, int loadKind) {
    if (loadKind == K_LOAD_UPLOAD_KEPT) {
        if (!decodedKept) return false;
        decodedKept = false;
        loaded = true;
        return true;
    }
    if (loadKind != K_LOAD_NOW && loadKind != K_LOAD_DECODE_ONLY) return false;
    freePicture();
    if (!data || size == 0) return false;
    static const unsigned char pngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    width = height = 0;
    if (size >= 24 && std::memcmp(data, pngSignature, 8) == 0 && std::memcmp(data + 12, "IHDR", 4) == 0) {
        width = float(readBigEndian32(data + 16));
        height = float(readBigEndian32(data + 20));
    }
    pictureName = name ? name : "";
    maskName.clear();
    decodedKept = loadKind == K_LOAD_DECODE_ONLY;
    loaded = loadKind == K_LOAD_NOW;
    return true;
}

void KGraphicRecorder::setColorKey(bool, int, int, int) {}
void KGraphicRecorder::setOneBitAlpha(bool) {}
void KGraphicRecorder::setMipmapping(bool) {}
void KGraphicRecorder::setHalfSizeLoading(bool) {}

bool KGraphicRecorder::loadPicture(const char* fileName, bool trueColor, bool alpha, bool splice, int loadKind,
                                   const PictureSplice* spliceTable) {
    if (!fileName) return false;
    if (loadKind == K_LOAD_UPLOAD_KEPT)
        return loadPictureFromMemory(fileName, nullptr, 0, trueColor, alpha, splice, loadKind, spliceTable);
    unsigned char* bytes = nullptr;
    size_t size = 0;
    if (!KResource::loadWholeFile(fileName, bytes, size)) return false;
    bool ok = loadPictureFromMemory(fileName, bytes, size, trueColor, alpha, splice, loadKind, spliceTable);
    delete[] bytes;
    return ok;
}

bool KGraphicRecorder::loadPictureFromMemory(const char* name, const unsigned char* data, size_t size, bool, bool, bool,
                                             int loadKind, const PictureSplice*) {
    return takePicture(name, data, size, loadKind);
}

bool KGraphicRecorder::loadPictureWithMask(const char* fileName, const char* maskFileName, bool trueColor, bool splice,
                                           int loadKind, const PictureSplice* spliceTable) {
    if (!fileName || !maskFileName) return false;
    if (loadKind == K_LOAD_UPLOAD_KEPT) return takePicture(fileName, nullptr, 0, loadKind);
    unsigned char* bytes = nullptr;
    unsigned char* maskBytes = nullptr;
    size_t size = 0, maskSize = 0;
    bool ok = KResource::loadWholeFile(fileName, bytes, size) &&
              KResource::loadWholeFile(maskFileName, maskBytes, maskSize) &&
              loadPictureWithMaskFromMemory(fileName, bytes, size, maskFileName, maskBytes, maskSize, trueColor, splice,
                                            loadKind, spliceTable);
    delete[] bytes;
    delete[] maskBytes;
    return ok;
}

bool KGraphicRecorder::loadPictureWithMaskFromMemory(const char* name, const unsigned char* data, size_t size,
                                                     const char* mask, const unsigned char* maskData, size_t maskSize,
                                                     bool, bool, int loadKind, const PictureSplice*) {
    if (loadKind != K_LOAD_UPLOAD_KEPT && (!maskData || maskSize == 0)) return false;
    if (!takePicture(name, data, size, loadKind)) return false;
    maskName = mask ? mask : "";
    return true;
}

bool KGraphicRecorder::makePictureFromPixels(const uint32_t* pixels, long w, long h, bool, bool, bool,
                                             const PictureSplice*) {
    if (!pixels || w <= 0 || h <= 0) return false;
    freePicture();
    keptPixels.assign(pixels, pixels + size_t(w) * size_t(h));
    callerPixels = pixels;
    width = float(w);
    height = float(h);
    loaded = true;
    return true;
}

void KGraphicRecorder::reloadPicture() {
    if (callerPixels && !keptPixels.empty()) keptPixels.assign(callerPixels, callerPixels + keptPixels.size());
}

void KGraphicRecorder::freePicture() {
    loaded = false;
    decodedKept = false;
    if (renderTarget) targetLost = true;
    renderTarget = false;
}

bool KGraphicRecorder::makeRenderTarget(long w, long h, bool, bool, bool) {
    if (w <= 0 || h <= 0) return false;
    freePicture();
    width = float(w);
    height = float(h);
    loaded = renderTarget = true;
    targetLost = false;
    return true;
}

void KGraphicRecorder::setClearOnBegin() {
    record("setClearOnBegin", {});
}

void KGraphicRecorder::beginRenderToTarget() {
    if (renderTarget) record("beginRenderToTarget", {});
}

void KGraphicRecorder::endRenderToTarget() {
    if (renderTarget) record("endRenderToTarget", {});
}

bool KGraphicRecorder::isRenderTargetLost() {
    bool lost = renderTarget && targetLost;
    targetLost = false;
    return lost;
}

bool KGraphicRecorder::grabBackBuffer(void*, bool, const PictureSplice*) {
    return false; // there is no back buffer to grab
}

namespace {
float powerOfTwoAtLeast(float size) {
    float side = 1;
    while (side < size) side *= 2;
    return side;
}
} // namespace

float KGraphicRecorder::getTextureWidth() {
    return loaded ? powerOfTwoAtLeast(width) : 0;
}

float KGraphicRecorder::getTextureHeight() {
    return loaded ? powerOfTwoAtLeast(height) : 0;
}

void KGraphicRecorder::setLinearFiltering(bool on) {
    linear = on;
}

void KGraphicRecorder::setBlendMode(int mode) {
    blendModeFactors(mode, sourceFactor, destFactor);
}

void KGraphicRecorder::setBlendFactors(int source, int dest) {
    sourceFactor = validSourceFactor(source);
    destFactor = validDestFactor(dest);
}

void KGraphicRecorder::setTextureWrap(int mode) {
    if (mode >= K_WRAP_CLAMP && mode <= K_WRAP_MIRROR) wrap = mode;
}

void KGraphicRecorder::setBlitColor(float r, float g, float b, float a) {
    color[0] = clampColorChannel(r);
    color[1] = clampColorChannel(g);
    color[2] = clampColorChannel(b);
    color[3] = clampColorChannel(a);
}

void KGraphicRecorder::plotPixel(float x, float y, float r, float g, float b, float a) {
    record("plotPixel", {x, y, r, g, b, a});
}

void KGraphicRecorder::drawLine(float x1, float y1, float x2, float y2, float r, float g, float b, float a) {
    record("drawLine", {x1, y1, x2, y2, r, g, b, a});
}

void KGraphicRecorder::fillRect(float x1, float y1, float x2, float y2, float r, float g, float b, float a) {
    record("fillRect", {x1, y1, x2, y2, r, g, b, a});
}

void KGraphicRecorder::fillGradientQuad(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                                        float r1, float g1, float b1, float a1, float r2, float g2, float b2, float a2,
                                        float r3, float g3, float b3, float a3, float r4, float g4, float b4,
                                        float a4) {
    record("fillGradientQuad",
           {x1, y1, x2, y2, x3, y3, x4, y4, r1, g1, b1, a1, r2, g2, b2, a2, r3, g3, b3, a3, r4, g4, b4, a4});
}

void KGraphicRecorder::fillQuad(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4, float r,
                                float g, float b, float a) {
    record("fillQuad", {x1, y1, x2, y2, x3, y3, x4, y4, r, g, b, a});
}

void KGraphicRecorder::blitRect(float sx1, float sy1, float sx2, float sy2, short dx, short dy, bool flipX,
                                bool flipY) {
    record("blitRect", {sx1, sy1, sx2, sy2, float(dx), float(dy), float(flipX), float(flipY)});
}

void KGraphicRecorder::blitRectFx(float sx1, float sy1, float sx2, float sy2, short dx, short dy, float angle,
                                  float zoom, bool flipX, bool flipY, float px, float py) {
    record("blitRectFx", {sx1, sy1, sx2, sy2, float(dx), float(dy), angle, zoom, float(flipX), float(flipY), px, py});
}

void KGraphicRecorder::blitAlphaRect(float sx1, float sy1, float sx2, float sy2, short dx, short dy, bool flipX,
                                     bool flipY) {
    record("blitAlphaRect", {sx1, sy1, sx2, sy2, float(dx), float(dy), float(flipX), float(flipY)});
}

void KGraphicRecorder::blitAlphaRectFx(float sx1, float sy1, float sx2, float sy2, short dx, short dy, float angle,
                                       float zoom, float alpha, bool flipX, bool flipY, float px, float py) {
    record("blitAlphaRectFx",
           {sx1, sy1, sx2, sy2, float(dx), float(dy), angle, zoom, alpha, float(flipX), float(flipY), px, py});
}

void KGraphicRecorder::blitArbitraryQuad(float sx1, float sy1, float sx2, float sy2, float sx3, float sy3, float sx4,
                                         float sy4, float dx1, float dy1, float dx2, float dy2, float dx3, float dy3,
                                         float dx4, float dy4) {
    record("blitArbitraryQuad", {sx1, sy1, sx2, sy2, sx3, sy3, sx4, sy4, dx1, dy1, dx2, dy2, dx3, dy3, dx4, dy4});
}

void KGraphicRecorder::stretchAlphaRect(float sx1, float sy1, float sx2, float sy2, float dx1, float dy1, float dx2,
                                        float dy2, float alpha, float angle, bool flipX, bool flipY, float px,
                                        float py) {
    record("stretchAlphaRect",
           {sx1, sy1, sx2, sy2, dx1, dy1, dx2, dy2, alpha, angle, float(flipX), float(flipY), px, py});
}

void KGraphicRecorder::blitRectF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, bool flipX,
                                 bool flipY) {
    record("blitRectF", {sx1, sy1, sx2, sy2, dx, dy, float(flipX), float(flipY)});
}

void KGraphicRecorder::blitRectFxF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle,
                                   float zoom, bool flipX, bool flipY, float px, float py) {
    record("blitRectFxF", {sx1, sy1, sx2, sy2, dx, dy, angle, zoom, float(flipX), float(flipY), px, py});
}

void KGraphicRecorder::blitAlphaRectF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, bool flipX,
                                      bool flipY) {
    record("blitAlphaRectF", {sx1, sy1, sx2, sy2, dx, dy, float(flipX), float(flipY)});
}

void KGraphicRecorder::blitAlphaRectFxF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle,
                                        float zoom, float alpha, bool flipX, bool flipY, float px, float py) {
    record("blitAlphaRectFxF", {sx1, sy1, sx2, sy2, dx, dy, angle, zoom, alpha, float(flipX), float(flipY), px, py});
}

void KGraphicRecorder::blitAlphaRectFxXY(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle,
                                         float zoomX, float zoomY, float alpha, bool flipX, bool flipY, float px,
                                         float py) {
    record("blitAlphaRectFxXY",
           {sx1, sy1, sx2, sy2, dx, dy, angle, zoomX, zoomY, alpha, float(flipX), float(flipY), px, py});
}

void KGraphicRecorder::blitTransformedEx(float sx1, float sy1, float sx2, float sy2, float xx, float xy, float tx,
                                         float yx, float yy, float ty, float alpha, const KGraphicColor*,
                                         const KGraphicColor*, const KGraphicColor*, const KGraphicColor*) {
    record("blitTransformedEx", {sx1, sy1, sx2, sy2, xx, xy, tx, yx, yy, ty, alpha});
}

void KGraphicRecorder::blitAlphaRectAffine(float sx1, float sy1, float sx2, float sy2, float xx, float xy, float tx,
                                           float yx, float yy, float ty, float alpha) {
    record("blitAlphaRectAffine", {sx1, sy1, sx2, sy2, xx, xy, tx, yx, yy, ty, alpha});
}

void KGraphicRecorder::drawTransformedEx(float sx1, float sy1, float sx2, float sy2, float xx, float xy, float tx,
                                         float yx, float yy, float ty, float x1, float y1, float x2, float y2, float x3,
                                         float y3, float x4, float y4, float r, float g, float b, float a) {
    record("drawTransformedEx",
           {sx1, sy1, sx2, sy2, xx, xy, tx, yx, yy, ty, x1, y1, x2, y2, x3, y3, x4, y4, r, g, b, a});
}

void KGraphicRecorder::drawBatchTransformed(KBatch*, float xx, float xy, float tx, float yx, float yy, float ty) {
    record("drawBatchTransformed", {xx, xy, tx, yx, yy, ty});
}

void KGraphicRecorder::blitAlphaRectMasked(float sx1, float sy1, float sx2, float sy2, KGraphic*, float mx1, float my1,
                                           float mx2, float my2, float dx1, float dy1, float dx2, float dy2, bool flipX,
                                           bool flipY) {
    record("blitAlphaRectMasked",
           {sx1, sy1, sx2, sy2, mx1, my1, mx2, my2, dx1, dy1, dx2, dy2, float(flipX), float(flipY)});
}

bool KGraphicRecorder::savePicture(const char*, int) {
    return false; // nothing was decoded, so there is nothing to encode
}

void KGraphicRecorder::copyToImage(KImage*) {}

void KGraphicRecorder::blitSplicedRectInt(float sx1, float sy1, float sx2, float sy2, short dx, short dy, float angle,
                                          float zoom, bool flipX, bool flipY, float px, float py) {
    blitSplicedRect(sx1, sy1, sx2, sy2, dx, dy, angle, zoom, flipX, flipY, px, py);
}

void KGraphicRecorder::blitSplicedAlphaRectInt(float sx1, float sy1, float sx2, float sy2, short dx, short dy,
                                               float angle, float zoom, float alpha, bool flipX, bool flipY, float px,
                                               float py) {
    blitSplicedAlphaRect(sx1, sy1, sx2, sy2, dx, dy, angle, zoom, alpha, flipX, flipY, px, py);
}

void KGraphicRecorder::blitSplicedRect(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle,
                                       float zoom, bool flipX, bool flipY, float px, float py) {
    record("blitSplicedRect", {sx1, sy1, sx2, sy2, dx, dy, angle, zoom, float(flipX), float(flipY), px, py});
}

void KGraphicRecorder::blitSplicedAlphaRect(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle,
                                            float zoom, float alpha, bool flipX, bool flipY, float px, float py) {
    record("blitSplicedAlphaRect",
           {sx1, sy1, sx2, sy2, dx, dy, angle, zoom, alpha, float(flipX), float(flipY), px, py});
}
