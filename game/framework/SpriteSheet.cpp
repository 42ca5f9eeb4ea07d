// Sprite sheets: loading, cutting and the frame draws.
#include "SpriteSheet.h"

#include "FolderPaths.h"
#include "KGraphic.h"
#include "KGraphicBase.h"
#include "KGraphicFactory.h"
#include "KMiscTools.h"
#include "KPictureSource.h"
#include "PlatformTools.h"
#include "SpriteSheetLayouts.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

bool loadPlainPicture(KGraphic* graphic, const std::string& path) {
    return graphic && graphic->loadPicture(path.c_str(), true, true, false, K_LOAD_NOW, nullptr);
}

// The alpha of the texels a frame samples: its rectangle, and with linear filtering the ring of texels around
// it too, which the filter reaches at the frame's edges. Unknown when that ring leaves the picture.
FrameAlpha measureAlpha(const KImage& picture, const SpriteFrame& frame, bool linear) {
    const int32_t ring = linear ? 1 : 0;
    const int32_t left = frame.left - ring, top = frame.top - ring, right = frame.right + ring,
                  bottom = frame.bottom + ring;
    if (left < 0 || top < 0 || right > picture.getWidth() || bottom > picture.getHeight() || left >= right ||
        top >= bottom)
        return kFrameAlphaUnknown;
    bool anyOpaque = false, anyClear = false, anyBetween = false;
    for (int32_t y = top; y < bottom; y++)
        for (int32_t x = left; x < right; x++) {
            const uint32_t alpha = KImage::alpha(picture.getPixel(x, y));
            anyOpaque |= alpha == 255;
            anyClear |= alpha == 0;
            anyBetween |= alpha != 0 && alpha != 255;
        }
    if (anyBetween || (anyOpaque && anyClear)) return kFrameAlphaMixed;
    return anyOpaque ? kFrameAlphaOpaque : kFrameAlphaClear;
}

} // namespace

bool loadGraphicsPicture(KGraphic* graphic, const std::string& fileName) {
    const std::string path = getGraphicsFolder() + fileName;
    if (loadPlainPicture(graphic, path)) return true;
    KMiscTools::messageBox("Failed to Load Picture", "File \"" + path + "\" failed to load");
    return false;
}

SpriteSheet::SpriteSheet(const std::string& name, uint8_t blendFlag, uint8_t filterFlag)
    : graphic(createGraphic()), blend(blendFlag), filter(filterFlag) {
    load(name);
}

SpriteSheet::SpriteSheet(uint8_t filterFlag) : graphic(createGraphic()), blend(1), filter(filterFlag) {}

SpriteSheet::~SpriteSheet() {
    delete graphic;
}

void SpriteSheet::load(const std::string& name) {
    if (name == fileName) return;
    fileName = name;
    for (auto& frame : frames) frame->alpha = kFrameAlphaUnknown;
    measuredFileName.clear();
    loadPicture();
    if (!graphic) return;
    graphic->setBlendMode(blend ? K_BLEND_NORMAL : K_BLEND_ADDITIVE);
    graphic->setLinearFiltering(filter != 0);
}

void SpriteSheet::loadPicture() {
    if (loadMode != kLoadMasked) {
        if (!measuresOnLoad || !loadMeasuring(getGraphicsFolder() + fileName)) loadGraphicsPicture(graphic, fileName);
        return;
    }
    const std::string base = getGraphicsFolder() + fileName.substr(0, fileName.rfind('.'));
    bool ok = false;
    if (fileExists(base + ".png")) {
        ok = loadPlainPicture(graphic, base + ".png");
    } else if (fileExists(base + ".jpg")) {
        const std::string jpg = base + ".jpg";
        std::string mask;
        for (const char* suffix : {"mask.bmp", "mask.png", "mask.jpg"}) {
            if (fileExists(base + suffix)) {
                mask = base + suffix;
                break;
            }
        }
        if (mask.empty())
            ok = loadPlainPicture(graphic, jpg);
        else
            ok = graphic && graphic->loadPictureWithMask(jpg.c_str(), mask.c_str(), true, false, K_LOAD_NOW, nullptr);
    }
    if (!ok) KMiscTools::messageBox("Failed to Load Picture", "File \"" + base + "\" masked failed to load");
}

void SpriteSheet::addFrame(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    auto frame = std::make_unique<SpriteFrame>();
    frame->left = left;
    frame->top = top;
    frame->right = right;
    frame->bottom = bottom;
    frame->sheet = this;
    frames.push_back(std::move(frame));
}

void SpriteSheet::addLayoutFrames(const SheetLayout& layout) {
    for (const SheetFrame& r : layout.rects) addFrame(r.left, r.top, r.right, r.bottom);
    if (layout.gridWidth > 0) sliceGrid(layout.gridWidth, layout.gridHeight, layout.gridCount);
}

void SpriteSheet::sliceGrid(int32_t cellWidth, int32_t cellHeight, int32_t count) {
    if (!graphic || cellWidth <= 0 || cellHeight <= 0) return;
    int32_t width = int32_t(std::lround(graphic->getWidth()));
    int32_t height = int32_t(std::lround(graphic->getHeight()));
    int32_t added = 0;
    for (int32_t top = 0; top + cellHeight <= height; top += cellHeight) {
        for (int32_t left = 0; left + cellWidth <= width; left += cellWidth) {
            if (count != -1 && added >= count) return;
            addFrame(left, top, left + cellWidth, top + cellHeight);
            added++;
        }
    }
}

bool SpriteSheet::loadMeasuring(const std::string& path) {
    auto* steps = dynamic_cast<KGraphicBase*>(graphic);
    if (!steps || !steps->loadPicture(path.c_str(), true, true, false, K_LOAD_DECODE_ONLY, nullptr)) return false;
    // A picture loaded at another scale (the high-resolution variant, half size) is measured from its file.
    if (steps->getPictureScale() == 1) measureFramesFrom(steps->getDecodedPicture());
    return steps->loadPicture(path.c_str(), true, true, false, K_LOAD_UPLOAD_KEPT, nullptr);
}

void SpriteSheet::measureFramesFrom(const KImage& picture) {
    measuredFileName = fileName;
    // A picture loaded from another file (the high-resolution variant) has another size.
    if (float(picture.getWidth()) != graphic->getWidth() || float(picture.getHeight()) != graphic->getHeight()) return;
    for (auto& frame : frames)
        frame->alpha = picture.getHasAlpha() ? measureAlpha(picture, *frame, filter != 0) : kFrameAlphaOpaque;
}

void SpriteSheet::measureFrameAlpha() {
    if (!graphic || fileName.empty() || measuredFileName == fileName) return;
    measuredFileName = fileName;
    for (auto& frame : frames) frame->alpha = kFrameAlphaUnknown;
    if (loadMode == kLoadMasked) return; // the mask replaced the file's alpha
    measuresOnLoad = true;
    const std::string path = getGraphicsFolder() + fileName;
    KPictureFileBytes file;
    KImage picture;
    if (file.read(path) && decodePicture(path.c_str(), file.bytes, file.size, picture)) measureFramesFrom(picture);
}

void SpriteSheet::addHotspot(int frame, double x, double y, double angle, uint8_t flag) {
    SpriteFrame* target = getFrame(frame);
    if (target) target->hotspots.push_back(SpriteHotspot{x, y, angle, flag});
}

const SpriteFrame* SpriteSheet::drawable(int frame, int x, int y) const {
    // The picture's destination points are 16-bit. A point beyond them lies far off the screen, and cut to
    // 16 bits it would land on it (levels run to 131072 pixels).
    constexpr int kLow = std::numeric_limits<int16_t>::min(), kHigh = std::numeric_limits<int16_t>::max();
    if (!graphic || x < kLow || x > kHigh || y < kLow || y > kHigh) return nullptr;
    return getFrame(frame);
}

SpriteFrame* SpriteSheet::getFrame(int frame) const {
    if (frame < 0 || frame >= int(frames.size())) return nullptr;
    return frames[size_t(frame)].get();
}

void SpriteSheet::blitFrame(int frame, int x, int y, bool flipX, bool flipY) {
    const SpriteFrame* f = drawable(frame, x, y);
    if (!f) return;
    graphic->blitRect(float(f->left), float(f->top), float(f->right), float(f->bottom), short(x), short(y), flipX,
                      flipY);
}

void SpriteSheet::drawFrame(int frame, int x, int y, bool flipX, bool flipY) {
    const SpriteFrame* f = drawable(frame, x, y);
    if (!f) return;
    graphic->blitAlphaRect(float(f->left), float(f->top), float(f->right), float(f->bottom), short(x), short(y), flipX,
                           flipY);
}

void SpriteSheet::drawFrameStretched(int frame, int x, int y, double angle, double zoom, bool flipX, bool flipY) {
    const SpriteFrame* f = drawable(frame, x, y);
    if (!f) return;
    graphic->blitRectFx(float(f->left), float(f->top), float(f->right), float(f->bottom), short(x), short(y),
                        float(angle), float(zoom), flipX, flipY, 0, 0);
}

void SpriteSheet::drawFrameTransformed(int frame, int x, int y, double angle, double zoom, double alpha, bool flipX,
                                       bool flipY) {
    const SpriteFrame* f = drawable(frame, x, y);
    if (!f) return;
    graphic->blitAlphaRectFx(float(f->left), float(f->top), float(f->right), float(f->bottom), short(x), short(y),
                             float(angle), float(zoom), float(alpha), flipX, flipY, 0, 0);
}

void SpriteSheet::drawFrameClippedBottom(int frame, int x, int y, int limitY, double angle, double zoom, double alpha,
                                         bool flipX, bool flipY) {
    const SpriteFrame* f = drawable(frame, x, y);
    if (!f) return;
    int32_t cut = std::max(0, y + f->height() - limitY);
    if (cut > f->height()) return;
    graphic->blitAlphaRectFx(float(f->left), float(f->top), float(f->right), float(f->bottom - cut), short(x), short(y),
                             float(angle), float(zoom), float(alpha), flipX, flipY, 0, 0);
}

void SpriteSheet::drawFirstFrameClipped(int x, int y, int limitX, double angle, double zoom, double alpha) {
    const SpriteFrame* f = drawable(0, x, y);
    if (!f) return;
    int32_t cut = x + f->width() - limitX;
    if (cut > f->width()) return;
    int32_t right = cut >= 1 ? f->right - cut : f->right;
    graphic->blitAlphaRectFx(float(f->left), float(f->top), float(right), float(f->bottom), short(x), short(y),
                             float(angle), float(zoom), float(alpha), false, false, 0, 0);
}

namespace {

// Where a point of the frame (u, v from its top-left) lands on screen when the frame is drawn at (x, y),
// mirrored, then turned by quarter turns counter-clockwise about its centre, as the rotated blits do.
struct QuarterTurn {
    double x, y, w, h;
    int turns;
    bool flipX, flipY;

    void map(double u, double v, double& sx, double& sy) const {
        if (flipX) u = w - u;
        if (flipY) v = h - v;
        double dx = u - w / 2, dy = v - h / 2, rx = dx, ry = dy;
        if (turns == 1) {
            rx = dy;
            ry = -dx;
        } else if (turns == 2) {
            rx = -dx;
            ry = -dy;
        } else if (turns == 3) {
            rx = -dy;
            ry = dx;
        }
        sx = x + w / 2 + rx;
        sy = y + h / 2 + ry;
    }
};

} // namespace

void SpriteSheet::drawFrameClippedRotated(int frame, int x, int y, int limitY, double angle, double zoom, double alpha,
                                          bool flipX, bool flipY) {
    const SpriteFrame* f = drawable(frame, x, y);
    if (!f) return;
    int32_t cut = limitY - y;
    if (cut < 1) {
        drawFrameTransformed(frame, x, y, angle, zoom, alpha, flipX, flipY);
        return;
    }
    if (cut > f->height()) return;
    if (angle > -45 && angle <= 45) {
        graphic->blitAlphaRectFx(float(f->left), float(f->top + cut), float(f->right), float(f->bottom), short(x),
                                 short(limitY), float(angle), float(zoom), float(alpha), flipX, flipY, 0, 0);
        return;
    }
    int turns = angle > 45 && angle <= 135 ? 1 : angle > 135 && angle <= 225 ? 2 : 3;
    const double w = f->width(), h = f->height();
    QuarterTurn turn{double(x), double(y), w, h, turns, flipX, flipY};
    // Screen y is a function of one frame axis only; find which, and keep the part at or below the line.
    double sx0, sy0, sxU, syU, sxV, syV;
    turn.map(0, 0, sx0, sy0);
    turn.map(1, 0, sxU, syU);
    turn.map(0, 1, sxV, syV);
    double u1 = 0, u2 = w, v1 = 0, v2 = h;
    double du = syU - sy0, dv = syV - sy0;
    if (du > 0.5)
        u1 = std::max(u1, (limitY - sy0) / du);
    else if (du < -0.5)
        u2 = std::min(u2, (limitY - sy0) / du);
    else if (dv > 0.5)
        v1 = std::max(v1, (limitY - sy0) / dv);
    else if (dv < -0.5)
        v2 = std::min(v2, (limitY - sy0) / dv);
    if (u1 >= u2 || v1 >= v2) return;
    const double corners[4][2] = {{u1, v1}, {u2, v1}, {u2, v2}, {u1, v2}};
    float dest[4][2];
    for (int i = 0; i < 4; i++) {
        double dx, dy;
        turn.map(corners[i][0], corners[i][1], dx, dy);
        dest[i][0] = float(dx);
        dest[i][1] = float(dy);
    }
    float l = float(f->left), t = float(f->top);
    graphic->blitArbitraryQuad(l + float(u1), t + float(v1), l + float(u2), t + float(v1), l + float(u2), t + float(v2),
                               l + float(u1), t + float(v2), dest[0][0], dest[0][1], dest[1][0], dest[1][1], dest[2][0],
                               dest[2][1], dest[3][0], dest[3][1]);
}
