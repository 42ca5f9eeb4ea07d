// KGraphicGL drawing: every blit and untextured operation as OpenGL 1.x vertex arrays of four shared vertices,
// on the model-view matrix stack. Destination y becomes view height - y; textured rectangles need no half-pixel
// offset, points and line ends sit on pixel centres so that they light the pixels Direct3D 8 lights.
#include "KGraphicGL.h"

#include "HostGL.h"
#include "KBatchGL.h"
#include "KGraphicGLState.h"
#include "KGraphicGLWindow.h"
#include "KSplicedBlit.h"

#include <algorithm>

namespace gl = host::ogl;

namespace {

// Blend factor numbers of KGraphic to OpenGL factors of the same meaning.
int glBlendFactor(int factor) {
    static constexpr int kFactor[11] = {gl::ZERO,
                                        gl::ONE,
                                        gl::DST_COLOR,
                                        gl::ONE_MINUS_DST_COLOR,
                                        gl::SRC_ALPHA,
                                        gl::ONE_MINUS_SRC_ALPHA,
                                        gl::DST_ALPHA,
                                        gl::ONE_MINUS_DST_ALPHA,
                                        gl::SRC_ALPHA_SATURATE,
                                        gl::SRC_COLOR,
                                        gl::ONE_MINUS_SRC_COLOR};
    return kFactor[factor];
}

float viewHeight() {
    return float(graphicGL().window->getViewHeight());
}

void setBlending(bool on, int source, int dest) {
    KGraphicGLModule& module = graphicGL();
    if (module.blending != int(on)) {
        if (on)
            gl::enable(gl::BLEND);
        else
            gl::disable(gl::BLEND);
        module.blending = int(on);
    }
    if (on && (module.srcBlend != source || module.dstBlend != dest)) {
        gl::blendFunc(unsigned(source), unsigned(dest));
        module.srcBlend = source;
        module.dstBlend = dest;
    }
}

void setColorArray(bool on) {
    KGraphicGLModule& module = graphicGL();
    if (module.colorArray == on) return;
    if (on)
        gl::enableClientState(gl::COLOR_ARRAY);
    else
        gl::disableClientState(gl::COLOR_ARRAY);
    module.colorArray = on;
}

void setPosition(int i, float x, float y) {
    graphicGL().positions[i * 2] = x;
    graphicGL().positions[i * 2 + 1] = y;
}

void setTexCoord(int i, float u, float v) {
    graphicGL().texCoords[i * 2] = u;
    graphicGL().texCoords[i * 2 + 1] = v;
}

// A rectangle as a strip: top-left, top-right, bottom-left, bottom-right.
void setRectPositions(float left, float right, float top, float bottom) {
    setPosition(0, left, top);
    setPosition(1, right, top);
    setPosition(2, left, bottom);
    setPosition(3, right, bottom);
}

void setRectTexCoords(float uLeft, float uRight, float vTop, float vBottom) {
    setTexCoord(0, uLeft, vTop);
    setTexCoord(1, uRight, vTop);
    setTexCoord(2, uLeft, vBottom);
    setTexCoord(3, uRight, vBottom);
}

// Four points in perimeter order as a strip: 1, 2, 4, 3.
void setQuadPositions(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4) {
    setPosition(0, x1, y1);
    setPosition(1, x2, y2);
    setPosition(2, x4, y4);
    setPosition(3, x3, y3);
}

void setVertexColor(int i, float r, float g, float b, float a) {
    float* color = &graphicGL().colors[i * 4];
    color[0] = r, color[1] = g, color[2] = b, color[3] = a;
}

void setColorOf(int i, const KGraphicColor* corner, float alpha) {
    KGraphicColor color = corner ? *corner : KGraphicColor{};
    setVertexColor(i, color.r, color.g, color.b, color.a * alpha);
}

} // namespace

KGraphicGLModule& graphicGL() {
    static KGraphicGLModule& module = *new KGraphicGLModule(); // never destroyed (see KList.h)
    return module;
}

void textureOffGL() {
    KGraphicGLModule& module = graphicGL();
    if (!module.boundTexture) return;
    gl::disable(module.boundTarget);
    gl::disableClientState(gl::TEXTURE_COORD_ARRAY);
    module.boundTexture = 0;
    module.boundTarget = 0;
}

void resetDrawingStateGLShared() {
    KGraphicGLModule& module = graphicGL();
    module.boundTexture = 0;
    module.boundTarget = 0;
    module.divisorWidth = module.divisorHeight = 1;
    module.srcBlend = module.dstBlend = -1;
    module.blending = -1;
    module.colorArray = false;
    gl::activeTexture(gl::TEXTURE0);
    gl::clientActiveTexture(gl::TEXTURE0);
    gl::disable(gl::TEXTURE_2D);
    gl::disable(gl::TEXTURE_RECTANGLE);
    gl::texEnvi(gl::TEXTURE_ENV, gl::TEXTURE_ENV_MODE, gl::MODULATE);
    gl::matrixMode(gl::MODELVIEW);
    gl::enableClientState(gl::VERTEX_ARRAY);
    gl::disableClientState(gl::TEXTURE_COORD_ARRAY);
    gl::disableClientState(gl::COLOR_ARRAY);
    gl::vertexPointer(2, gl::FLOAT, 0, module.positions);
    gl::texCoordPointer(2, gl::FLOAT, 0, module.texCoords);
    gl::colorPointer(4, gl::FLOAT, 0, module.colors);
}

// ----- Settings ---------------------------------------------------------------------------------------------------

void KGraphicGL::setLinearFiltering(bool linear) {
    linear_ = linear;
    if (linear)
        minFilter_ = mipmapping_ ? gl::LINEAR_MIPMAP_LINEAR : gl::LINEAR;
    else
        minFilter_ = mipmapping_ ? gl::LINEAR_MIPMAP_NEAREST : gl::NEAREST;
    markParameters();
}

void KGraphicGL::setBlendMode(int mode) {
    int source, dest;
    if (!blendModeFactors(mode, source, dest)) return;
    srcBlend_ = glBlendFactor(source);
    dstBlend_ = glBlendFactor(dest);
}

void KGraphicGL::setBlendFactors(int sourceFactor, int destFactor) {
    srcBlend_ = glBlendFactor(validSourceFactor(sourceFactor));
    dstBlend_ = glBlendFactor(validDestFactor(destFactor));
}

void KGraphicGL::setTextureWrap(int wrap) {
    if (wrap == K_WRAP_CLAMP)
        wrap_ = gl::CLAMP_TO_EDGE;
    else if (wrap == K_WRAP_REPEAT)
        wrap_ = gl::REPEAT;
    else if (wrap == K_WRAP_MIRROR)
        wrap_ = gl::MIRRORED_REPEAT;
    else
        return;
    markParameters();
}

void KGraphicGL::setBlitColor(float r, float g, float b, float a) {
    colorR_ = clampColorChannel(r);
    colorG_ = clampColorChannel(g);
    colorB_ = clampColorChannel(b);
    colorA_ = clampColorChannel(a);
}

// ----- State preparation ------------------------------------------------------------------------------------------

// The filter and wrap a texture was last given are re-applied after any setter changed them. The magnification
// filter is never a mipmap filter; rectangle textures take neither mipmap filters nor repeating.
void KGraphicGL::applyParameters(TextureSlot& slot) {
    bool rectangle = slot.target == gl::TEXTURE_RECTANGLE;
    if (slot.filterDirty) {
        int base = linear_ ? gl::LINEAR : gl::NEAREST;
        gl::texParameteri(slot.target, gl::TEXTURE_MIN_FILTER, rectangle ? base : minFilter_);
        gl::texParameteri(slot.target, gl::TEXTURE_MAG_FILTER, base);
        slot.filterDirty = false;
    }
    if (slot.wrapDirty) {
        int wrap = rectangle ? int(gl::CLAMP_TO_EDGE) : wrap_;
        gl::texParameteri(slot.target, gl::TEXTURE_WRAP_S, wrap);
        gl::texParameteri(slot.target, gl::TEXTURE_WRAP_T, wrap);
        slot.wrapDirty = false;
    }
}

bool KGraphicGL::bindSlot(int slot, bool blended) {
    KGraphicGLModule& module = graphicGL();
    TextureSlot& entry = textures_[slot];
    if (!module.window || !entry.name) return false;
    if (module.boundTexture != entry.name) {
        if (module.boundTarget != entry.target) {
            if (module.boundTarget) gl::disable(module.boundTarget);
            gl::enable(entry.target);
        }
        if (!module.boundTexture) gl::enableClientState(gl::TEXTURE_COORD_ARRAY);
        gl::bindTexture(entry.target, entry.name);
        module.boundTexture = entry.name;
        module.boundTarget = entry.target;
        module.divisorWidth = entry.coordWidth;
        module.divisorHeight = entry.coordHeight;
    }
    applyParameters(entry);
    setBlending(blended, srcBlend_, dstBlend_);
    setColorArray(false);
    return true;
}

void KGraphicGL::untexturedState() {
    textureOffGL();
    setBlending(true, srcBlend_, dstBlend_);
}

// The quad of a source rectangle whose top-left corner sits at (left, top) in OpenGL's y-up space.
void KGraphicGL::emitQuad(float sx1, float sy1, float sx2, float sy2, float left, float top, bool flipX, bool flipY,
                          float alpha) {
    const KGraphicGLModule& module = graphicGL();
    float uLeft = sx1 / module.divisorWidth * scale_, uRight = sx2 / module.divisorWidth * scale_;
    float vTop = sy1 / module.divisorHeight * scale_, vBottom = sy2 / module.divisorHeight * scale_;
    float right = left + (sx2 - sx1), bottom = top - (sy2 - sy1);
    if (flipX) std::swap(left, right);
    if (flipY) std::swap(top, bottom);
    setRectPositions(left, right, top, bottom);
    setRectTexCoords(uLeft, uRight, vTop, vBottom);
    gl::color4f(colorR_, colorG_, colorB_, colorA_ * alpha);
    gl::drawArrays(gl::TRIANGLE_STRIP, 0, 4);
}

// Pushes the model-view matrix and multiplies it by the caller's 2 x 3 transform of game-area pixels (y down);
// local positions are given with y negated.
void KGraphicGL::multiplyAffine(float xx, float xy, float tx, float yx, float yy, float ty) {
    const float matrix[16] = {xx, -yx, 0, 0, -xy, yy, 0, 0, 0, 0, 1, 0, tx, viewHeight() - ty, 0, 1};
    gl::pushMatrix();
    gl::multMatrixf(matrix);
}

// ----- Untextured operations ----------------------------------------------------------------------------------------

void KGraphicGL::plotPixel(float x, float y, float r, float g, float b, float a) {
    if (a <= 0 || !graphicGL().window) return;
    untexturedState();
    setColorArray(false);
    setPosition(0, x + 0.5f, viewHeight() - y - 0.5f);
    gl::color4f(r, g, b, a);
    gl::drawArrays(gl::POINTS, 0, 1);
}

void KGraphicGL::drawLine(float x1, float y1, float x2, float y2, float r, float g, float b, float a) {
    if (a <= 0 || !graphicGL().window) return;
    untexturedState();
    setColorArray(false);
    float height = viewHeight();
    setPosition(0, x1 + 0.5f, height - y1 - 0.5f);
    setPosition(1, x2 + 0.5f, height - y2 - 0.5f);
    gl::color4f(r, g, b, a);
    gl::drawArrays(gl::LINES, 0, 2);
}

void KGraphicGL::fillRect(float x1, float y1, float x2, float y2, float r, float g, float b, float a) {
    fillQuad(x1, y1, x2, y1, x2, y2, x1, y2, r, g, b, a);
}

void KGraphicGL::fillQuad(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4, float r,
                          float g, float b, float a) {
    if (a <= 0 || !graphicGL().window) return;
    untexturedState();
    setColorArray(false);
    float height = viewHeight();
    setQuadPositions(x1, height - y1, x2, height - y2, x3, height - y3, x4, height - y4);
    gl::color4f(r, g, b, a);
    gl::drawArrays(gl::TRIANGLE_STRIP, 0, 4);
}

void KGraphicGL::fillGradientQuad(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                                  float r1, float g1, float b1, float a1, float r2, float g2, float b2, float a2,
                                  float r3, float g3, float b3, float a3, float r4, float g4, float b4, float a4) {
    if ((a1 <= 0 && a2 <= 0 && a3 <= 0 && a4 <= 0) || !graphicGL().window) return;
    untexturedState();
    setColorArray(true);
    float height = viewHeight();
    setQuadPositions(x1, height - y1, x2, height - y2, x3, height - y3, x4, height - y4);
    setVertexColor(0, r1, g1, b1, a1);
    setVertexColor(1, r2, g2, b2, a2);
    setVertexColor(2, r3, g3, b3, a3);
    setVertexColor(3, r4, g4, b4, a4);
    gl::drawArrays(gl::TRIANGLE_STRIP, 0, 4);
}

// ----- Rectangle blits --------------------------------------------------------------------------------------------

void KGraphicGL::blitPlain(float sx1, float sy1, float sx2, float sy2, float dx, float dy, bool flipX, bool flipY,
                           bool blended) {
    if (spliceCount_ > 0) {
        blitSpliced(sx1, sy1, sx2, sy2, dx, dy, 0, 1, 1, flipX, flipY, 0, 0, blended);
        return;
    }
    if (!bindSlot(0, blended)) return;
    emitQuad(sx1, sy1, sx2, sy2, dx, viewHeight() - dy, flipX, flipY, 1);
}

void KGraphicGL::blitFx(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle, float zoomX,
                        float zoomY, float alpha, bool flipX, bool flipY, float px, float py, bool blended) {
    if (!bindSlot(0, blended)) return;
    float cx = (sx2 - sx1) / 2 + px, cy = (sy2 - sy1) / 2 + py;
    gl::pushMatrix();
    gl::translatef(dx + cx, viewHeight() - (dy + cy), 0);
    gl::rotatef(angle, 0, 0, 1);
    gl::scalef(zoomX, zoomY, 1);
    emitQuad(sx1, sy1, sx2, sy2, -cx, cy, flipX, flipY, alpha);
    gl::popMatrix();
}

void KGraphicGL::blitRect(float sx1, float sy1, float sx2, float sy2, short dx, short dy, bool flipX, bool flipY) {
    blitPlain(sx1, sy1, sx2, sy2, dx, dy, flipX, flipY, false);
}

void KGraphicGL::blitRectF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, bool flipX, bool flipY) {
    blitPlain(sx1, sy1, sx2, sy2, dx, dy, flipX, flipY, false);
}

void KGraphicGL::blitAlphaRect(float sx1, float sy1, float sx2, float sy2, short dx, short dy, bool flipX, bool flipY) {
    blitPlain(sx1, sy1, sx2, sy2, dx, dy, flipX, flipY, true);
}

void KGraphicGL::blitAlphaRectF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, bool flipX,
                                bool flipY) {
    blitPlain(sx1, sy1, sx2, sy2, dx, dy, flipX, flipY, true);
}

void KGraphicGL::blitRectFx(float sx1, float sy1, float sx2, float sy2, short dx, short dy, float angle, float zoom,
                            bool flipX, bool flipY, float px, float py) {
    blitRectFxF(sx1, sy1, sx2, sy2, dx, dy, angle, zoom, flipX, flipY, px, py);
}

void KGraphicGL::blitRectFxF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle, float zoom,
                             bool flipX, bool flipY, float px, float py) {
    if (zoom <= 0) return;
    if (spliceCount_ > 0) {
        blitSplicedRect(sx1, sy1, sx2, sy2, dx, dy, angle, zoom, flipX, flipY, px, py);
        return;
    }
    blitFx(sx1, sy1, sx2, sy2, dx, dy, angle, zoom, zoom, 1, flipX, flipY, px, py, false);
}

void KGraphicGL::blitAlphaRectFx(float sx1, float sy1, float sx2, float sy2, short dx, short dy, float angle,
                                 float zoom, float alpha, bool flipX, bool flipY, float px, float py) {
    blitAlphaRectFxF(sx1, sy1, sx2, sy2, dx, dy, angle, zoom, alpha, flipX, flipY, px, py);
}

void KGraphicGL::blitAlphaRectFxF(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle,
                                  float zoom, float alpha, bool flipX, bool flipY, float px, float py) {
    if (zoom <= 0 || alpha <= 0) return;
    if (spliceCount_ > 0) {
        blitSplicedAlphaRect(sx1, sy1, sx2, sy2, dx, dy, angle, zoom, alpha, flipX, flipY, px, py);
        return;
    }
    blitFx(sx1, sy1, sx2, sy2, dx, dy, angle, zoom, zoom, alpha, flipX, flipY, px, py, true);
}

void KGraphicGL::blitAlphaRectFxXY(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle,
                                   float zoomX, float zoomY, float alpha, bool flipX, bool flipY, float px, float py) {
    if (zoomX <= 0 || zoomY <= 0 || alpha <= 0 || spliceCount_ > 0) return;
    blitFx(sx1, sy1, sx2, sy2, dx, dy, angle, zoomX, zoomY, alpha, flipX, flipY, px, py, true);
}

void KGraphicGL::stretchAlphaRect(float sx1, float sy1, float sx2, float sy2, float dx1, float dy1, float dx2,
                                  float dy2, float alpha, float angle, bool flipX, bool flipY, float px, float py) {
    if (!bindSlot(0, true)) return;
    const KGraphicGLModule& module = graphicGL();
    float w = dx2 - dx1, h = dy2 - dy1;
    float cx = w / 2 + px, cy = h / 2 + py;
    gl::pushMatrix();
    gl::translatef(dx1 + cx, viewHeight() - (dy1 + cy), 0);
    gl::rotatef(angle, 0, 0, 1);
    float left = -cx, right = w - cx, top = cy, bottom = cy - h;
    if (flipX) std::swap(left, right);
    if (flipY) std::swap(top, bottom);
    float uLeft = sx1 / module.divisorWidth, uRight = sx2 / module.divisorWidth;
    float vTop = sy1 / module.divisorHeight, vBottom = sy2 / module.divisorHeight;
    setRectPositions(left, right, top, bottom);
    setRectTexCoords(uLeft, uRight, vTop, vBottom);
    gl::color4f(colorR_, colorG_, colorB_, colorA_ * alpha);
    gl::drawArrays(gl::TRIANGLE_STRIP, 0, 4);
    gl::popMatrix();
}

void KGraphicGL::blitAlphaRectAffine(float sx1, float sy1, float sx2, float sy2, float xx, float xy, float tx, float yx,
                                     float yy, float ty, float alpha) {
    if (alpha <= 0 || spliceCount_ > 0 || !bindSlot(0, true)) return;
    multiplyAffine(xx, xy, tx, yx, yy, ty);
    emitQuad(sx1, sy1, sx2, sy2, 0, 0, false, false, alpha);
    gl::popMatrix();
}

void KGraphicGL::blitTransformedEx(float sx1, float sy1, float sx2, float sy2, float xx, float xy, float tx, float yx,
                                   float yy, float ty, float alpha, const KGraphicColor* topLeft,
                                   const KGraphicColor* topRight, const KGraphicColor* bottomLeft,
                                   const KGraphicColor* bottomRight) {
    if (alpha <= 0 || spliceCount_ > 0 || !bindSlot(0, true)) return;
    multiplyAffine(xx, xy, tx, yx, yy, ty);
    const KGraphicGLModule& module = graphicGL();
    float w = sx2 - sx1, h = sy2 - sy1;
    float uLeft = sx1 / module.divisorWidth * scale_, uRight = sx2 / module.divisorWidth * scale_;
    float vTop = sy1 / module.divisorHeight * scale_, vBottom = sy2 / module.divisorHeight * scale_;
    setRectPositions(0, w, 0, -h);
    setRectTexCoords(uLeft, uRight, vTop, vBottom);
    setColorOf(0, topLeft, alpha);
    setColorOf(1, topRight, alpha);
    setColorOf(2, bottomLeft, alpha);
    setColorOf(3, bottomRight, alpha);
    setColorArray(true);
    gl::drawArrays(gl::TRIANGLE_STRIP, 0, 4);
    gl::popMatrix();
}

void KGraphicGL::drawTransformedEx(float sx1, float sy1, float sx2, float sy2, float xx, float xy, float tx, float yx,
                                   float yy, float ty, float x1, float y1, float x2, float y2, float x3, float y3,
                                   float x4, float y4, float r, float g, float b, float a) {
    if (a <= 0 || spliceCount_ > 0 || !bindSlot(0, true)) return;
    multiplyAffine(xx, xy, tx, yx, yy, ty);
    const KGraphicGLModule& module = graphicGL();
    float uLeft = sx1 / module.divisorWidth * scale_, uRight = sx2 / module.divisorWidth * scale_;
    float vTop = sy1 / module.divisorHeight * scale_, vBottom = sy2 / module.divisorHeight * scale_;
    setQuadPositions(x1, -y1, x2, -y2, x3, -y3, x4, -y4);
    setRectTexCoords(uLeft, uRight, vTop, vBottom);
    gl::color4f(r, g, b, a);
    gl::drawArrays(gl::TRIANGLE_STRIP, 0, 4);
    gl::popMatrix();
}

void KGraphicGL::drawBatchTransformed(KBatch* batch, float xx, float xy, float tx, float yx, float yy, float ty) {
    auto* vertices = dynamic_cast<KBatchGL*>(batch);
    if (!vertices || vertices->getVertexCount() < 3 || spliceCount_ > 0 || !bindSlot(0, true)) return;
    KGraphicGLModule& module = graphicGL();
    multiplyAffine(xx, xy, tx, yx, yy, ty);
    setColorArray(true);
    gl::vertexPointer(2, gl::FLOAT, 0, vertices->positions());
    gl::texCoordPointer(2, gl::FLOAT, 0, vertices->texCoords());
    gl::colorPointer(4, gl::FLOAT, 0, vertices->colors());
    gl::drawArrays(gl::TRIANGLE_STRIP, 0, vertices->getVertexCount());
    gl::vertexPointer(2, gl::FLOAT, 0, module.positions);
    gl::texCoordPointer(2, gl::FLOAT, 0, module.texCoords);
    gl::colorPointer(4, gl::FLOAT, 0, module.colors);
    gl::popMatrix();
}

void KGraphicGL::blitArbitraryQuad(float sx1, float sy1, float sx2, float sy2, float sx3, float sy3, float sx4,
                                   float sy4, float dx1, float dy1, float dx2, float dy2, float dx3, float dy3,
                                   float dx4, float dy4) {
    KGraphicGLModule& module = graphicGL();
    if (!module.window) return;
    float height = viewHeight();
    if (spliceCount_ == 0) {
        if (!bindSlot(0, true)) return;
        float cw = module.divisorWidth, ch = module.divisorHeight;
        setQuadPositions(dx1, height - dy1, dx2, height - dy2, dx3, height - dy3, dx4, height - dy4);
        setTexCoord(0, sx1 / cw, sy1 / ch);
        setTexCoord(1, sx2 / cw, sy2 / ch);
        setTexCoord(2, sx4 / cw, sy4 / ch);
        setTexCoord(3, sx3 / cw, sy3 / ch);
        gl::color4f(colorR_, colorG_, colorB_, colorA_);
        gl::drawArrays(gl::TRIANGLE_STRIP, 0, 4);
        return;
    }

    // Spliced: each triangle of the quad is cut along the splices and every part drawn from its own texture.
    const SplicePoint sources[4] = {{sx1, sy1}, {sx2, sy2}, {sx3, sy3}, {sx4, sy4}};
    const SplicePoint dests[4] = {{dx1, dy1}, {dx2, dy2}, {dx3, dy3}, {dx4, dy4}};
    walkSplicedQuad(
        spliceCount_, splices_, textureCount_, width_, height_, sources, dests, [] { return true; },
        [&](const PictureSplice& part) {
            if (!bindSlot(part.texture, true)) return false;
            gl::color4f(colorR_, colorG_, colorB_, colorA_);
            return true;
        },
        [&](const SplicePoint(&dest)[3], const SplicePoint(&texel)[3]) {
            for (int k = 0; k < 3; k++) {
                setPosition(k, dest[k].x, height - dest[k].y);
                setTexCoord(k, texel[k].x / module.divisorWidth, texel[k].y / module.divisorHeight);
            }
            gl::drawArrays(gl::TRIANGLES, 0, 3);
        });
}

void KGraphicGL::blitAlphaRectMasked(float sx1, float sy1, float sx2, float sy2, KGraphic* mask, float mx1, float my1,
                                     float mx2, float my2, float dx1, float dy1, float dx2, float dy2, bool flipX,
                                     bool flipY) {
    KGraphicGLModule& module = graphicGL();
    auto* maskPicture = dynamic_cast<KGraphicGL*>(mask);
    if (!module.window || !module.window->hasMultitexture() || !maskPicture || !maskPicture->textures_[0].name) return;
    if (!bindSlot(0, true)) return;
    TextureSlot& maskSlot = maskPicture->textures_[0];
    float height = viewHeight();
    float x1 = dx1, x2 = dx2, y1 = height - dy1, y2 = height - dy2;
    if (flipX) std::swap(x1, x2);
    if (flipY) std::swap(y1, y2);
    float u1 = sx1 / module.divisorWidth, u2 = sx2 / module.divisorWidth;
    float v1 = sy1 / module.divisorHeight, v2 = sy2 / module.divisorHeight;
    float mu1 = mx1 / maskSlot.coordWidth, mu2 = mx2 / maskSlot.coordWidth;
    float mv1 = my1 / maskSlot.coordHeight, mv2 = my2 / maskSlot.coordHeight;
    setRectPositions(x1, x2, y1, y2);
    setRectTexCoords(u1, u2, v1, v2);
    const float maskCoords[8] = {mu1, mv1, mu2, mv1, mu1, mv2, mu2, mv2};
    std::copy(maskCoords, maskCoords + 8, module.maskTexCoords);

    // Unit 1: the colour of unit 0, its alpha times the mask's alpha.
    gl::activeTexture(gl::TEXTURE1);
    gl::enable(maskSlot.target);
    gl::bindTexture(maskSlot.target, maskSlot.name);
    maskPicture->applyParameters(maskSlot);
    gl::texEnvi(gl::TEXTURE_ENV, gl::TEXTURE_ENV_MODE, gl::COMBINE);
    gl::texEnvi(gl::TEXTURE_ENV, gl::COMBINE_RGB, gl::REPLACE);
    gl::texEnvi(gl::TEXTURE_ENV, gl::SOURCE0_RGB, gl::PREVIOUS);
    gl::texEnvi(gl::TEXTURE_ENV, gl::OPERAND0_RGB, gl::SRC_COLOR);
    gl::texEnvi(gl::TEXTURE_ENV, gl::COMBINE_ALPHA, gl::MODULATE);
    gl::texEnvi(gl::TEXTURE_ENV, gl::SOURCE0_ALPHA, gl::PREVIOUS);
    gl::texEnvi(gl::TEXTURE_ENV, gl::OPERAND0_ALPHA, gl::SRC_ALPHA);
    gl::texEnvi(gl::TEXTURE_ENV, gl::SOURCE1_ALPHA, gl::TEXTURE);
    gl::texEnvi(gl::TEXTURE_ENV, gl::OPERAND1_ALPHA, gl::SRC_ALPHA);
    gl::clientActiveTexture(gl::TEXTURE1);
    gl::texCoordPointer(2, gl::FLOAT, 0, module.maskTexCoords);
    gl::enableClientState(gl::TEXTURE_COORD_ARRAY);

    gl::color4f(colorR_, colorG_, colorB_, colorA_);
    gl::drawArrays(gl::TRIANGLE_STRIP, 0, 4);

    gl::disableClientState(gl::TEXTURE_COORD_ARRAY);
    gl::clientActiveTexture(gl::TEXTURE0);
    gl::texEnvi(gl::TEXTURE_ENV, gl::TEXTURE_ENV_MODE, gl::MODULATE);
    gl::bindTexture(maskSlot.target, 0);
    gl::disable(maskSlot.target);
    gl::activeTexture(gl::TEXTURE0);
}

// ----- Spliced pictures -------------------------------------------------------------------------------------------

void KGraphicGL::blitSplicedRectInt(float sx1, float sy1, float sx2, float sy2, short dx, short dy, float angle,
                                    float zoom, bool flipX, bool flipY, float px, float py) {
    blitSplicedRect(sx1, sy1, sx2, sy2, dx, dy, angle, zoom, flipX, flipY, px, py);
}

void KGraphicGL::blitSplicedAlphaRectInt(float sx1, float sy1, float sx2, float sy2, short dx, short dy, float angle,
                                         float zoom, float alpha, bool flipX, bool flipY, float px, float py) {
    blitSplicedAlphaRect(sx1, sy1, sx2, sy2, dx, dy, angle, zoom, alpha, flipX, flipY, px, py);
}

void KGraphicGL::blitSplicedRect(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle,
                                 float zoom, bool flipX, bool flipY, float px, float py) {
    blitSpliced(sx1, sy1, sx2, sy2, dx, dy, angle, zoom, 1, flipX, flipY, px, py, false);
}

void KGraphicGL::blitSplicedAlphaRect(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle,
                                      float zoom, float alpha, bool flipX, bool flipY, float px, float py) {
    if (alpha <= 0) return;
    blitSpliced(sx1, sy1, sx2, sy2, dx, dy, angle, zoom, alpha, flipX, flipY, px, py, true);
}

// Draws the source rectangle piece by piece over the splices (walkSplicedRect).
void KGraphicGL::blitSpliced(float sx1, float sy1, float sx2, float sy2, float dx, float dy, float angle, float zoom,
                             float alpha, bool flipX, bool flipY, float px, float py, bool blended) {
    if (spliceCount_ == 0 || zoom <= 0 || !graphicGL().window) return;
    float cx = (sx2 - sx1) / 2 + px, cy = (sy2 - sy1) / 2 + py;
    gl::pushMatrix();
    gl::translatef(dx + cx, viewHeight() - (dy + cy), 0);
    gl::rotatef(angle, 0, 0, 1);
    gl::scalef(zoom, zoom, 1);
    walkSplicedRect(
        spliceCount_, splices_, sx1, sy1, sx2, sy2, cx, cy, flipX, flipY,
        [&](const PictureSplice& piece, float u1, float v1, float u2, float v2, float localX, float localY) {
            if (bindSlot(piece.texture, blended)) emitQuad(u1, v1, u2, v2, localX, localY, flipX, flipY, alpha);
        });
    gl::popMatrix();
}
