// KGraphicD3DCore drawing: how every blit and untextured operation turns its arguments into device states and
// vertices. Draws are immediate (vertices on the stack, DrawPrimitiveUP); each version's module-wide
// TextureStateCache keeps repeated states away from the device. World matrices are built with the D3DX helpers.
// Included once, by KGraphicD3DCore.cpp.
#include "KGraphicD3DCore.h"

#include "HostD3DX.h"
#include "KBatchD3DCore.h"
#include "KD3DPixels.h"
#include "KGraphicD3D9Device.h"
#include "KGraphicD3DDevice.h"
#include "KSplicedBlit.h"

#include <algorithm>
#include <cmath>

namespace {

struct Vertex {
    float x, y, z;
    D3DCOLOR color;
    float u, v;
};
static_assert(sizeof(Vertex) == 24);

struct Vertex2 {
    float x, y, z;
    D3DCOLOR color;
    float u0, v0, u1, v1;
};
static_assert(sizeof(Vertex2) == 32);

constexpr uint32_t kFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;
constexpr uint32_t kFvf2 = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX2;

// Blend factor numbers of KGraphic to Direct3D blend values.
int d3dBlend(int factor) {
    static constexpr int kBlend[11] = {D3DBLEND_ZERO,         D3DBLEND_ONE,          D3DBLEND_DESTCOLOR,
                                       D3DBLEND_INVDESTCOLOR, D3DBLEND_SRCALPHA,     D3DBLEND_INVSRCALPHA,
                                       D3DBLEND_DESTALPHA,    D3DBLEND_INVDESTALPHA, D3DBLEND_SRCALPHASAT,
                                       D3DBLEND_SRCCOLOR,     D3DBLEND_INVSRCCOLOR};
    return kBlend[factor];
}

// True when the device may draw now. While the device is lost the window's flag is set and nothing is drawn;
// the window recovers at its next present.
template <class Api> bool drawGuard() {
    auto& module = Api::module();
    if (!module.device || !module.window) return false;
    if (module.device->TestCooperativeLevel() != D3D_OK || module.window->isD3DDeviceLost()) {
        module.window->setD3DDeviceLost();
        return false;
    }
    return true;
}

template <class Api> void setBlending(bool on) {
    auto& module = Api::module();
    if (module.cache.blending == on) return;
    module.device->SetRenderState(D3DRS_ALPHABLENDENABLE, on ? 1 : 0);
    module.cache.blending = on;
}

template <class Api> void setBlendFactorsOnDevice(int srcBlend, int dstBlend) {
    TextureStateCache& cache = Api::module().cache;
    if (cache.srcBlend == srcBlend && cache.dstBlend == dstBlend) return;
    Api::module().device->SetRenderState(D3DRS_SRCBLEND, uint32_t(srcBlend));
    Api::module().device->SetRenderState(D3DRS_DESTBLEND, uint32_t(dstBlend));
    cache.srcBlend = srcBlend;
    cache.dstBlend = dstBlend;
}

template <class Api> void unbindStage0() {
    TextureStateCache& cache = Api::module().cache;
    if (!cache.texture) return;
    Api::module().device->SetTexture(0, nullptr);
    cache.texture = nullptr;
}

template <class Api> void prepareUntexturedState(int srcBlend, int dstBlend) {
    unbindStage0<Api>();
    setBlending<Api>(true);
    setBlendFactorsOnDevice<Api>(srcBlend, dstBlend);
}

template <class Api> void setIdentityWorld() {
    TextureStateCache& cache = Api::module().cache;
    if (!cache.worldNotIdentity) return;
    Api::module().device->SetTransform(D3DTS_WORLD, &cache.identity);
    cache.worldNotIdentity = false;
}

template <class Api> void setWorld(const D3DMATRIX& world) {
    Api::module().device->SetTransform(D3DTS_WORLD, &world);
    Api::module().cache.worldNotIdentity = true;
}

template <class Api> void drawVertices(D3DPRIMITIVETYPE type, uint32_t primitives, const Vertex* vertices) {
    typename Api::Device* device = Api::module().device;
    Api::setFvf(device, kFvf);
    device->DrawPrimitiveUP(type, primitives, vertices, sizeof(Vertex));
}

// A strip of four vertices: top-left, top-right, bottom-left, bottom-right.
template <class Api>
void drawStrip(float left, float right, float top, float bottom, float uLeft, float uRight, float vTop, float vBottom,
               D3DCOLOR color) {
    const Vertex quad[4] = {{left, top, 0, color, uLeft, vTop},
                            {right, top, 0, color, uRight, vTop},
                            {left, bottom, 0, color, uLeft, vBottom},
                            {right, bottom, 0, color, uRight, vBottom}};
    drawVertices<Api>(D3DPT_TRIANGLESTRIP, 2, quad);
}

template <class Api> void fillRectWith(float x1, float y1, float x2, float y2, D3DCOLOR color) {
    setIdentityWorld<Api>();
    drawStrip<Api>(x1, x2, -y1, -y2, 0, 0, 0, 0, color);
}

} // namespace

template <class Api>
void d3dcore::fillRectBlended(float x1, float y1, float x2, float y2, float r, float g, float b, float a) {
    if (a <= 0 || !drawGuard<Api>()) return;
    prepareUntexturedState<Api>(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    fillRectWith<Api>(x1, y1, x2, y2, packColor(r, g, b, a));
}

// ----- Settings -----------------------------------------------------------------------------------------------

template <class Api> void KGraphicD3DCore<Api>::setLinearFiltering(bool linear) {
    filter_ = linear ? D3DTEXF_LINEAR : D3DTEXF_POINT;
    Api::module().cache.filter = -1;
}

template <class Api> void KGraphicD3DCore<Api>::setBlendMode(int mode) {
    int source, dest;
    if (!blendModeFactors(mode, source, dest)) return;
    srcBlend_ = d3dBlend(source);
    dstBlend_ = d3dBlend(dest);
    Api::module().cache.srcBlend = Api::module().cache.dstBlend = -1;
}

template <class Api> void KGraphicD3DCore<Api>::setBlendFactors(int sourceFactor, int destFactor) {
    srcBlend_ = d3dBlend(validSourceFactor(sourceFactor));
    dstBlend_ = d3dBlend(validDestFactor(destFactor));
    Api::module().cache.srcBlend = Api::module().cache.dstBlend = -1;
}

template <class Api> void KGraphicD3DCore<Api>::setTextureWrap(int wrap) {
    if (wrap == K_WRAP_CLAMP)
        address_ = D3DTADDRESS_CLAMP;
    else if (wrap == K_WRAP_REPEAT)
        address_ = D3DTADDRESS_WRAP;
    else if (wrap == K_WRAP_MIRROR)
        address_ = D3DTADDRESS_MIRROR;
}

template <class Api> void KGraphicD3DCore<Api>::setBlitColor(float r, float g, float b, float a) {
    colorR_ = clampColorChannel(r);
    colorG_ = clampColorChannel(g);
    colorB_ = clampColorChannel(b);
    colorA_ = clampColorChannel(a);
}

// ----- State preparation ----------------------------------------------------------------------------------------

template <class Api> bool KGraphicD3DCore<Api>::prepareTextured(int slot, bool blended) {
    auto& module = Api::module();
    TextureStateCache& cache = module.cache;
    const TextureSlot& entry = textures_[slot];
    if (!entry.texture) return false;
    if (cache.texture != entry.texture) {
        module.device->SetTexture(0, entry.texture);
        cache.texture = entry.texture;
        cache.coordWidth = entry.coordWidth;
        cache.coordHeight = entry.coordHeight;
    }
    if (cache.filter != filter_) {
        Api::setFilter(module.device, 0, filter_, true);
        cache.filter = filter_;
    }
    if (cache.address != address_) {
        Api::setAddress(module.device, 0, address_);
        cache.address = address_;
    }
    setBlending<Api>(blended);
    if (blended) setBlendFactorsOnDevice<Api>(srcBlend_, dstBlend_);
    return true;
}

template <class Api>
void KGraphicD3DCore<Api>::setRotateZoomWorld(float sx1, float sy1, float sx2, float sy2, float dx, float dy,
                                              float angle, float zoomX, float zoomY, float px, float py, float& cx,
                                              float& cy) {
    cx = (sx2 - sx1) / 2 + px;
    cy = (sy2 - sy1) / 2 + py;
    // scale (zoomX, zoomY) x rotation about z x translation, for row vectors.
    D3DXMATRIX scaling, rotation, translation, world;
    D3DXMatrixScaling(&scaling, zoomX, zoomY, 1);
    D3DXMatrixRotationZ(&rotation, angle * 3.1415927f / 180.0f);
    D3DXMatrixTranslation(&translation, dx + cx - 0.5f, 0.5f - (dy + cy), 0);
    D3DXMatrixMultiply(&world, &scaling, &rotation);
    D3DXMatrixMultiply(&world, &world, &translation);
    setWorld<Api>(world);
}

// The quad of a source rectangle with its top-left corner at the local origin (x0, y0) in device space.
template <class Api>
void KGraphicD3DCore<Api>::drawQuad(float sx1, float sy1, float sx2, float sy2, float x0, float y0, bool flipX,
                                    bool flipY, float alphaFactor) {
    D3DCOLOR color = packColor(colorR_, colorG_, colorB_, colorA_ * alphaFactor);
    const D3DCOLOR corners[4] = {color, color, color, color};
    drawQuadColored(sx1, sy1, sx2, sy2, x0, y0, flipX, flipY, corners);
}

template <class Api>
void KGraphicD3DCore<Api>::drawQuadColored(float sx1, float sy1, float sx2, float sy2, float x0, float y0, bool flipX,
                                           bool flipY, const D3DCOLOR corners[4]) {
    const TextureStateCache& cache = Api::module().cache;
    if (!cache.texture) return;
    float uLeft = sx1 / cache.coordWidth * scale_, uRight = sx2 / cache.coordWidth * scale_;
    float vTop = sy1 / cache.coordHeight * scale_, vBottom = sy2 / cache.coordHeight * scale_;
    float left = x0, right = x0 + (sx2 - sx1), top = y0, bottom = y0 - (sy2 - sy1);
    if (flipX) std::swap(left, right);
    if (flipY) std::swap(top, bottom);
    const Vertex quad[4] = {{left, top, 0, corners[0], uLeft, vTop},
                            {right, top, 0, corners[1], uRight, vTop},
                            {left, bottom, 0, corners[2], uLeft, vBottom},
                            {right, bottom, 0, corners[3], uRight, vBottom}};
    drawVertices<Api>(D3DPT_TRIANGLESTRIP, 2, quad);
}

// ----- Untextured operations ------------------------------------------------------------------------------------

template <class Api> void KGraphicD3DCore<Api>::plotPixel(float x, float y, float r, float g, float b, float a) {
    if (!drawGuard<Api>()) return;
    prepareUntexturedState<Api>(srcBlend_, dstBlend_);
    setIdentityWorld<Api>();
    const Vertex point = {x, -y, 0, packColor(r, g, b, a), 0, 0};
    drawVertices<Api>(D3DPT_POINTLIST, 1, &point);
}

template <class Api>
void KGraphicD3DCore<Api>::drawLine(float x1, float y1, float x2, float y2, float r, float g, float b, float a) {
    if (!drawGuard<Api>()) return;
    prepareUntexturedState<Api>(srcBlend_, dstBlend_);
    setIdentityWorld<Api>();
    D3DCOLOR color = packColor(r, g, b, a);
    const Vertex line[2] = {{x1, -y1, 0, color, 0, 0}, {x2, -y2, 0, color, 0, 0}};
    drawVertices<Api>(D3DPT_LINELIST, 1, line);
}

template <class Api>
void KGraphicD3DCore<Api>::fillRect(float x1, float y1, float x2, float y2, float r, float g, float b, float a) {
    if (!drawGuard<Api>()) return;
    prepareUntexturedState<Api>(srcBlend_, dstBlend_);
    fillRectWith<Api>(x1, y1, x2, y2, packColor(r, g, b, a));
}

template <class Api>
void KGraphicD3DCore<Api>::fillQuad(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                                    float r, float g, float b, float a) {
    if (!drawGuard<Api>()) return;
    prepareUntexturedState<Api>(srcBlend_, dstBlend_);
    setIdentityWorld<Api>();
    D3DCOLOR color = packColor(r, g, b, a);
    const Vertex quad[4] = {
        {x1, -y1, 0, color, 0, 0}, {x2, -y2, 0, color, 0, 0}, {x4, -y4, 0, color, 0, 0}, {x3, -y3, 0, color, 0, 0}};
    drawVertices<Api>(D3DPT_TRIANGLESTRIP, 2, quad);
}

template <class Api>
void KGraphicD3DCore<Api>::fillGradientQuad(float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                                            float y4, float r1, float g1, float b1, float a1, float r2, float g2,
                                            float b2, float a2, float r3, float g3, float b3, float a3, float r4,
                                            float g4, float b4, float a4) {
    if (!drawGuard<Api>()) return;
    prepareUntexturedState<Api>(srcBlend_, dstBlend_);
    setIdentityWorld<Api>();
    const Vertex quad[4] = {{x1, -y1, 0, packColor(r1, g1, b1, a1), 0, 0},
                            {x2, -y2, 0, packColor(r2, g2, b2, a2), 0, 0},
                            {x4, -y4, 0, packColor(r3, g3, b3, a3), 0, 0},
                            {x3, -y3, 0, packColor(r4, g4, b4, a4), 0, 0}};
    drawVertices<Api>(D3DPT_TRIANGLESTRIP, 2, quad);
}

// ----- Rectangle blits ------------------------------------------------------------------------------------------

template <class Api>
void KGraphicD3DCore<Api>::blitPlain(float sx1, float sy1, float sx2, float sy2, float dx, float dy, bool flipX,
                                     bool flipY, bool blended) {
    if (spliceCount_ > 0) {
        blitSpliced(sx1, sy1, sx2, sy2, dx, dy, 0, 1, 1, flipX, flipY, 0, 0, blended);
        return;
    }
    if (!drawGuard<Api>() || !prepareTextured(0, blended)) return;
    setIdentityWorld<Api>();
    drawQuad(sx1, sy1, sx2, sy2, dx - 0.5f, 0.5f - dy, flipX, flipY, 1);
}

template <class Api>
void KGraphicD3DCore<Api>::blitFx(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle,
                                  float zoomX, float zoomY, float alpha, bool flipX, bool flipY, float px, float py,
                                  bool blended) {
    if (!drawGuard<Api>() || !prepareTextured(0, blended)) return;
    float cx, cy;
    setRotateZoomWorld(sx1, sy1, sx2, sy2, dx, dy, angle, zoomX, zoomY, px, py, cx, cy);
    drawQuad(sx1, sy1, sx2, sy2, -cx, cy, flipX, flipY, alpha);
}

template <class Api>
void KGraphicD3DCore<Api>::blitRect(float sx1, float sy1, float sx2, float sy2, short dx, short dy, bool flipX,
                                    bool flipY) {
    blitPlain(sx1, sy1, sx2, sy2, dx, dy, flipX, flipY, false);
}

template <class Api>
void KGraphicD3DCore<Api>::blitRectF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, bool flipX,
                                     bool flipY) {
    blitPlain(sx1, sy1, sx2, sy2, dx, dy, flipX, flipY, false);
}

template <class Api>
void KGraphicD3DCore<Api>::blitAlphaRect(float sx1, float sy1, float sx2, float sy2, short dx, short dy, bool flipX,
                                         bool flipY) {
    blitPlain(sx1, sy1, sx2, sy2, dx, dy, flipX, flipY, true);
}

template <class Api>
void KGraphicD3DCore<Api>::blitAlphaRectF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, bool flipX,
                                          bool flipY) {
    blitPlain(sx1, sy1, sx2, sy2, dx, dy, flipX, flipY, true);
}

template <class Api>
void KGraphicD3DCore<Api>::blitRectFx(float sx1, float sy1, float sx2, float sy2, short dx, short dy, float angle,
                                      float zoom, bool flipX, bool flipY, float px, float py) {
    blitRectFxF(sx1, sy1, sx2, sy2, dx, dy, angle, zoom, flipX, flipY, px, py);
}

template <class Api>
void KGraphicD3DCore<Api>::blitRectFxF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle,
                                       float zoom, bool flipX, bool flipY, float px, float py) {
    if (zoom <= 0) return;
    if (spliceCount_ > 0) {
        blitSplicedRect(sx1, sy1, sx2, sy2, dx, dy, angle, zoom, flipX, flipY, px, py);
        return;
    }
    blitFx(sx1, sy1, sx2, sy2, dx, dy, angle, zoom, zoom, 1, flipX, flipY, px, py, false);
}

template <class Api>
void KGraphicD3DCore<Api>::blitAlphaRectFx(float sx1, float sy1, float sx2, float sy2, short dx, short dy, float angle,
                                           float zoom, float alpha, bool flipX, bool flipY, float px, float py) {
    blitAlphaRectFxF(sx1, sy1, sx2, sy2, dx, dy, angle, zoom, alpha, flipX, flipY, px, py);
}

template <class Api>
void KGraphicD3DCore<Api>::blitAlphaRectFxF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle,
                                            float zoom, float alpha, bool flipX, bool flipY, float px, float py) {
    if (zoom <= 0 || alpha <= 0) return;
    if (spliceCount_ > 0) {
        blitSplicedAlphaRect(sx1, sy1, sx2, sy2, dx, dy, angle, zoom, alpha, flipX, flipY, px, py);
        return;
    }
    blitFx(sx1, sy1, sx2, sy2, dx, dy, angle, zoom, zoom, alpha, flipX, flipY, px, py, true);
}

template <class Api>
void KGraphicD3DCore<Api>::blitAlphaRectFxXY(float sx1, float sy1, float sx2, float sy2, float dx, float dy,
                                             float angle, float zoomX, float zoomY, float alpha, bool flipX, bool flipY,
                                             float px, float py) {
    if constexpr (Api::kVersion == 8) {
        if (zoomX <= 0 || zoomY <= 0 || alpha <= 0 || spliceCount_ > 0) return;
    } else {
        // Only zoomX and alpha are checked (zoomY 0 draws a flat quad); a spliced picture takes the spliced walk.
        if (zoomX <= 0 || alpha <= 0) return;
        if (spliceCount_ > 0) {
            blitSplicedAlphaRect(sx1, sy1, sx2, sy2, dx, dy, angle, zoomX, alpha, flipX, flipY, px, py);
            return;
        }
    }
    blitFx(sx1, sy1, sx2, sy2, dx, dy, angle, zoomX, zoomY, alpha, flipX, flipY, px, py, true);
}

template <class Api>
void KGraphicD3DCore<Api>::stretchAlphaRect(float sx1, float sy1, float sx2, float sy2, float dx1, float dy1, float dx2,
                                            float dy2, float alpha, float angle, bool flipX, bool flipY, float px,
                                            float py) {
    if (!drawGuard<Api>() || !prepareTextured(0, true)) return;
    float w = dx2 - dx1, h = dy2 - dy1;
    float cx = w / 2 + px, cy = h / 2 + py;
    D3DXMATRIX rotation, translation, world;
    D3DXMatrixRotationZ(&rotation, angle * 3.1415927f / 180.0f);
    D3DXMatrixTranslation(&translation, dx1 + cx - 0.5f, 0.5f - (dy1 + cy), 0);
    D3DXMatrixMultiply(&world, &rotation, &translation);
    setWorld<Api>(world);
    const TextureStateCache& cache = Api::module().cache;
    float left = -cx, right = w - cx, top = cy, bottom = cy - h;
    if (flipX) std::swap(left, right);
    if (flipY) std::swap(top, bottom);
    drawStrip<Api>(left, right, top, bottom, sx1 / cache.coordWidth, sx2 / cache.coordWidth, sy1 / cache.coordHeight,
                   sy2 / cache.coordHeight, packColor(colorR_, colorG_, colorB_, colorA_ * alpha));
}

template <class Api>
void KGraphicD3DCore<Api>::blitAlphaRectAffine(float sx1, float sy1, float sx2, float sy2, float xx, float xy, float tx,
                                               float yx, float yy, float ty, float alpha) {
    if (alpha <= 0 || spliceCount_ > 0) return;
    if (!drawGuard<Api>() || !prepareTextured(0, true)) return;
    setAffineWorld(xx, xy, tx, yx, yy, ty);
    drawQuad(sx1, sy1, sx2, sy2, 0, 0, false, false, alpha);
}

// The caller's transform maps a picture-local point (x, y) to (xx x + xy y + tx, yx x + yy y + ty) in game-area
// pixels; in device space (y negated) that is this world matrix.
template <class Api>
void KGraphicD3DCore<Api>::setAffineWorld(float xx, float xy, float tx, float yx, float yy, float ty) {
    D3DXMATRIX world;
    D3DXMatrixIdentity(&world);
    world.m[0][0] = xx;
    world.m[0][1] = -yx;
    world.m[1][0] = -xy;
    world.m[1][1] = yy;
    world.m[3][0] = tx;
    world.m[3][1] = -ty;
    setWorld<Api>(world);
}

template <class Api>
void KGraphicD3DCore<Api>::blitTransformedEx(float sx1, float sy1, float sx2, float sy2, float xx, float xy, float tx,
                                             float yx, float yy, float ty, float alpha, const KGraphicColor* topLeft,
                                             const KGraphicColor* topRight, const KGraphicColor* bottomLeft,
                                             const KGraphicColor* bottomRight) {
    if (Api::kVersion == 8 || alpha <= 0 || spliceCount_ > 0) return;
    if (!drawGuard<Api>() || !prepareTextured(0, true)) return;
    setAffineWorld(xx, xy, tx, yx, yy, ty);
    // A corner without a colour record is drawn white and opaque.
    static const KGraphicColor kWhite;
    const KGraphicColor* records[4] = {topLeft ? topLeft : &kWhite, topRight ? topRight : &kWhite,
                                       bottomLeft ? bottomLeft : &kWhite, bottomRight ? bottomRight : &kWhite};
    D3DCOLOR corners[4];
    for (int i = 0; i < 4; i++)
        corners[i] = packColor(records[i]->r, records[i]->g, records[i]->b, records[i]->a * alpha);
    drawQuadColored(sx1, sy1, sx2, sy2, 0, 0, false, false, corners);
}

template <class Api>
void KGraphicD3DCore<Api>::drawTransformedEx(float sx1, float sy1, float sx2, float sy2, float xx, float xy, float tx,
                                             float yx, float yy, float ty, float x1, float y1, float x2, float y2,
                                             float x3, float y3, float x4, float y4, float r, float g, float b,
                                             float a) {
    if (Api::kVersion == 8 || a <= 0 || spliceCount_ > 0) return;
    if (!drawGuard<Api>() || !prepareTextured(0, true)) return;
    setAffineWorld(xx, xy, tx, yx, yy, ty);
    const TextureStateCache& cache = Api::module().cache;
    float uLeft = sx1 / cache.coordWidth * scale_, uRight = sx2 / cache.coordWidth * scale_;
    float vTop = sy1 / cache.coordHeight * scale_, vBottom = sy2 / cache.coordHeight * scale_;
    D3DCOLOR color = packColor(r, g, b, a);
    const Vertex strip[4] = {{x1, -y1, 0, color, uLeft, vTop},
                             {x2, -y2, 0, color, uRight, vTop},
                             {x4, -y4, 0, color, uLeft, vBottom},
                             {x3, -y3, 0, color, uRight, vBottom}};
    drawVertices<Api>(D3DPT_TRIANGLESTRIP, 2, strip);
}

template <class Api>
void KGraphicD3DCore<Api>::drawBatchTransformed(KBatch* batch, float xx, float xy, float tx, float yx, float yy,
                                                float ty) {
    const auto* record = dynamic_cast<const KBatchD3DVertices*>(batch);
    if (Api::kVersion == 8 || !record || !record->vertices || record->vertexCount < 3 || spliceCount_ > 0) return;
    if (!drawGuard<Api>() || !prepareTextured(0, true)) return;
    setAffineWorld(xx, xy, tx, yx, yy, ty);
    static_assert(sizeof(KBatchVertex) == sizeof(Vertex));
    typename Api::Device* device = Api::module().device;
    Api::setFvf(device, kFvf);
    device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, uint32_t(record->vertexCount - 2), record->vertices,
                            sizeof(KBatchVertex));
}

template <class Api>
void KGraphicD3DCore<Api>::blitArbitraryQuad(float sx1, float sy1, float sx2, float sy2, float sx3, float sy3,
                                             float sx4, float sy4, float dx1, float dy1, float dx2, float dy2,
                                             float dx3, float dy3, float dx4, float dy4) {
    D3DCOLOR color = packColor(colorR_, colorG_, colorB_, colorA_);
    if (spliceCount_ == 0) {
        if (!drawGuard<Api>() || !prepareTextured(0, true)) return;
        setIdentityWorld<Api>();
        const TextureStateCache& cache = Api::module().cache;
        float cw = cache.coordWidth, ch = cache.coordHeight;
        const Vertex strip[4] = {{dx1 - 0.5f, 0.5f - dy1, 0, color, sx1 / cw, sy1 / ch},
                                 {dx2 - 0.5f, 0.5f - dy2, 0, color, sx2 / cw, sy2 / ch},
                                 {dx4 - 0.5f, 0.5f - dy4, 0, color, sx4 / cw, sy4 / ch},
                                 {dx3 - 0.5f, 0.5f - dy3, 0, color, sx3 / cw, sy3 / ch}};
        drawVertices<Api>(D3DPT_TRIANGLESTRIP, 2, strip);
        return;
    }

    auto& module = Api::module();
    if (!module.window || module.window->isD3DDeviceLost()) return;
    const SplicePoint sources[4] = {{sx1, sy1}, {sx2, sy2}, {sx3, sy3}, {sx4, sy4}};
    const SplicePoint dests[4] = {{dx1, dy1}, {dx2, dy2}, {dx3, dy3}, {dx4, dy4}};
    walkSplicedQuad(
        spliceCount_, splices_, textureCount_, width_, height_, sources, dests, [] { return drawGuard<Api>(); },
        [&](const PictureSplice& part) {
            if (!prepareTextured(part.texture, true)) return false;
            setIdentityWorld<Api>();
            return true;
        },
        [&](const SplicePoint(&dest)[3], const SplicePoint(&texel)[3]) {
            const TextureStateCache& cache = module.cache;
            Vertex triangle[3];
            for (int k = 0; k < 3; k++)
                triangle[k] = {dest[k].x - 0.5f,
                               0.5f - dest[k].y,
                               0,
                               color,
                               texel[k].x / cache.coordWidth,
                               texel[k].y / cache.coordHeight};
            drawVertices<Api>(D3DPT_TRIANGLELIST, 1, triangle);
        });
}

template <class Api>
void KGraphicD3DCore<Api>::blitAlphaRectMasked(float sx1, float sy1, float sx2, float sy2, KGraphic* mask, float mx1,
                                               float my1, float mx2, float my2, float dx1, float dy1, float dx2,
                                               float dy2, bool flipX, bool flipY) {
    KGraphicD3DCore* maskPicture = dynamic_cast<KGraphicD3DCore*>(mask);
    if (!maskPicture || !maskPicture->textures_[0].texture) return;
    if (!drawGuard<Api>() || !prepareTextured(0, true)) return;
    setIdentityWorld<Api>();
    typename Api::Device* device = Api::module().device;
    const TextureStateCache& cache = Api::module().cache;
    const TextureSlot& maskSlot = maskPicture->textures_[0];
    D3DCOLOR color = packColor(colorR_, colorG_, colorB_, colorA_);
    float x1 = dx1 - 0.5f, x2 = dx2 - 0.5f, y1 = 0.5f - dy1, y2 = 0.5f - dy2;
    if (flipX) std::swap(x1, x2);
    if (flipY) std::swap(y1, y2);
    float u1 = sx1 / cache.coordWidth, u2 = sx2 / cache.coordWidth;
    float v1 = sy1 / cache.coordHeight, v2 = sy2 / cache.coordHeight;
    float mu1 = mx1 / maskSlot.coordWidth, mu2 = mx2 / maskSlot.coordWidth;
    float mv1 = my1 / maskSlot.coordHeight, mv2 = my2 / maskSlot.coordHeight;

    device->SetTexture(1, maskSlot.texture);
    Api::setFilter(device, 1, maskPicture->filter_, false);
    Api::setAddress(device, 1, maskPicture->address_);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_CURRENT);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(1, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(1, D3DTSS_ALPHAARG2, D3DTA_CURRENT);
    const Vertex2 quad[4] = {{x1, y1, 0, color, u1, v1, mu1, mv1},
                             {x2, y1, 0, color, u2, v1, mu2, mv1},
                             {x1, y2, 0, color, u1, v2, mu1, mv2},
                             {x2, y2, 0, color, u2, v2, mu2, mv2}};
    Api::setFvf(device, kFvf2);
    device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex2));
    device->SetTexture(1, nullptr);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
}

// ----- Spliced pictures -------------------------------------------------------------------------------------------

template <class Api>
void KGraphicD3DCore<Api>::blitSplicedRectInt(float sx1, float sy1, float sx2, float sy2, short dx, short dy,
                                              float angle, float zoom, bool flipX, bool flipY, float px, float py) {
    blitSplicedRect(sx1, sy1, sx2, sy2, dx, dy, angle, zoom, flipX, flipY, px, py);
}

template <class Api>
void KGraphicD3DCore<Api>::blitSplicedAlphaRectInt(float sx1, float sy1, float sx2, float sy2, short dx, short dy,
                                                   float angle, float zoom, float alpha, bool flipX, bool flipY,
                                                   float px, float py) {
    blitSplicedAlphaRect(sx1, sy1, sx2, sy2, dx, dy, angle, zoom, alpha, flipX, flipY, px, py);
}

template <class Api>
void KGraphicD3DCore<Api>::blitSplicedRect(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle,
                                           float zoom, bool flipX, bool flipY, float px, float py) {
    blitSpliced(sx1, sy1, sx2, sy2, dx, dy, angle, zoom, 1, flipX, flipY, px, py, false);
}

template <class Api>
void KGraphicD3DCore<Api>::blitSplicedAlphaRect(float sx1, float sy1, float sx2, float sy2, float dx, float dy,
                                                float angle, float zoom, float alpha, bool flipX, bool flipY, float px,
                                                float py) {
    if (alpha <= 0) return;
    blitSpliced(sx1, sy1, sx2, sy2, dx, dy, angle, zoom, alpha, flipX, flipY, px, py, true);
}

// Draws the source rectangle piece by piece over the splices (walkSplicedRect).
template <class Api>
void KGraphicD3DCore<Api>::blitSpliced(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle,
                                       float zoom, float alpha, bool flipX, bool flipY, float px, float py,
                                       bool blended) {
    if (spliceCount_ == 0 || zoom <= 0 || !drawGuard<Api>()) return;
    float cx, cy;
    setRotateZoomWorld(sx1, sy1, sx2, sy2, dx, dy, angle, zoom, zoom, px, py, cx, cy);
    walkSplicedRect(
        spliceCount_, splices_, sx1, sy1, sx2, sy2, cx, cy, flipX, flipY,
        [&](const PictureSplice& piece, float u1, float v1, float u2, float v2, float localX, float localY) {
            if (prepareTextured(piece.texture, blended)) drawQuad(u1, v1, u2, v2, localX, localY, flipX, flipY, alpha);
        });
}
