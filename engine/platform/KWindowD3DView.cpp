// The Direct3D 8 window's view of the game area: the clear colour, the viewports, the world view and matrix, the
// clip rectangle, and the view the picture back end points at a render target and back.
#include "KWindowD3D.h"

#include "KD3DPixels.h"

#include <algorithm>

namespace {
Matrix4 ortho(float width, float height) {
    Matrix4 m;
    return makeOrthoMatrix(m, width, height, 0, 1);
}

// A projection under which nothing is drawn: every point lands beyond the right edge of the clip volume.
Matrix4 nothingVisible() {
    Matrix4 m = {};
    m.m[3][0] = 2;
    m.m[3][3] = 1;
    return m;
}
} // namespace

void KWindowD3D::setClearColor(float r, float g, float b, float a) {
    clearColor = packColor(r, g, b, a);
}

D3DVIEWPORT8 KWindowD3D::gameViewport() const {
    if (drawingIntoTarget) return {0, 0, uint32_t(actualWidth), uint32_t(actualHeight), 0, 1};
    return {uint32_t(offsetX), uint32_t(offsetY), uint32_t(actualWidth), uint32_t(actualHeight), 0, 1};
}

D3DVIEWPORT8 KWindowD3D::fullViewport() const {
    return {0, 0, uint32_t(backBufferWidth), uint32_t(backBufferHeight), 0, 1};
}

void KWindowD3D::setGameViewport() {
    if (!device) return;
    D3DVIEWPORT8 viewport = gameViewport();
    device->SetViewport(&viewport);
}

void KWindowD3D::setFullViewport() {
    if (!device) return;
    D3DVIEWPORT8 viewport = fullViewport();
    device->SetViewport(&viewport);
}

void KWindowD3D::setViewportBetweenScenes(const D3DVIEWPORT8& viewport) {
    device->EndScene();
    device->SetViewport(&viewport);
    device->BeginScene();
}

Matrix4 KWindowD3D::viewOf(const Matrix4& world) const {
    return world * translationMatrix(float(gameWidth / 2 - viewWidth / 2), float(viewHeight / 2 - gameHeight / 2));
}

void KWindowD3D::endClip() {
    if (!clipActive) return;
    if (device) setViewportBetweenScenes(gameViewport());
    clipActive = false;
}

void KWindowD3D::setWorldView(float x, float y, float angle, float zoom, bool clear) {
    endClip();
    Matrix4 rotation, zoomMatrix;
    makeRotationZMatrix(rotation, angle * 3.1415927f / 180.0f);
    makeScalingMatrix(zoomMatrix, zoom, zoom, 1);
    worldMatrix = translationMatrix(float(-(gameWidth / 2)), float(gameHeight / 2)) * rotation * zoomMatrix *
                  translationMatrix(x, y);
    if (!device) return;
    Matrix4 identity;
    makeIdentityMatrix(identity);
    device->SetTransform(D3DTS_PROJECTION, asD3D(ortho(float(viewWidth), float(viewHeight))));
    device->SetTransform(D3DTS_VIEW, asD3D(viewOf(worldMatrix)));
    device->SetTransform(D3DTS_WORLD, asD3D(identity));
    if (clear) device->Clear(0, nullptr, D3DCLEAR_TARGET, clearColor, 1.0f, 0);
}

void KWindowD3D::setWorldMatrix(const Matrix4& matrix) {
    worldMatrix = matrix * translationMatrix(float(-(gameWidth / 2)), float(gameHeight / 2));
    if (clipActive)
        worldMatrix = worldMatrix * translationMatrix((float(viewWidth) - clipX2) / 2 - clipX1 / 2,
                                                      clipY1 / 2 - (float(viewHeight) - clipY2) / 2);
    if (device) device->SetTransform(D3DTS_VIEW, asD3D(viewOf(worldMatrix)));
}

void KWindowD3D::setClipRect(bool enabled, float x1, float y1, float x2, float y2) {
    if (deviceLost || !device) return;
    if (enabled) {
        x1 = std::clamp(x1, 0.0f, float(viewWidth));
        x2 = std::clamp(x2, 0.0f, float(viewWidth));
        y1 = std::clamp(y1, 0.0f, float(viewHeight));
        y2 = std::clamp(y2, 0.0f, float(viewHeight));
        int left = int(x1), top = int(y1), right = int(x2), bottom = int(y2);
        if (!drawingIntoTarget) {
            left = actualWidth * left / viewWidth + offsetX;
            right = actualWidth * right / viewWidth + offsetX;
            top = actualHeight * top / viewHeight + offsetY;
            bottom = actualHeight * bottom / viewHeight + offsetY;
        }
        clipX1 = x1;
        clipY1 = y1;
        clipX2 = x2;
        clipY2 = y2;
        clipActive = true;
        // An empty or inverted clip has no viewport to draw into: the viewport stays, and nothing is drawn until
        // the clip is reset.
        if (right <= left || bottom <= top) {
            device->SetTransform(D3DTS_PROJECTION, asD3D(nothingVisible()));
            return;
        }
        setViewportBetweenScenes({uint32_t(left), uint32_t(top), uint32_t(right - left), uint32_t(bottom - top), 0, 1});
        Matrix4 view = worldMatrix * translationMatrix(-x1, y1) *
                       translationMatrix(float(gameWidth / 2) - (x2 - x1) / 2, (y2 - y1) / 2 - float(gameHeight / 2));
        device->SetTransform(D3DTS_PROJECTION, asD3D(ortho(x2 - x1, y2 - y1)));
        device->SetTransform(D3DTS_VIEW, asD3D(view));
    } else if (clipActive) {
        endClip();
        device->SetTransform(D3DTS_PROJECTION, asD3D(ortho(float(viewWidth), float(viewHeight))));
        device->SetTransform(D3DTS_VIEW, asD3D(viewOf(worldMatrix)));
    }
}

void KWindowD3D::getGameAreaRect(int& x, int& y, int& width, int& height) {
    x = offsetX;
    y = offsetY;
    width = actualWidth;
    height = actualHeight;
}

void KWindowD3D::setTargetView(int targetViewWidth, int targetViewHeight, int textureWidth, int textureHeight) {
    if (!drawingIntoTarget) {
        savedOffsetX = offsetX;
        savedOffsetY = offsetY;
        savedScale = scale;
    }
    viewWidth = targetViewWidth;
    viewHeight = targetViewHeight;
    surfaceTextureWidth = textureWidth;
    surfaceTextureHeight = textureHeight;
    drawingIntoTarget = true;
    offsetX = offsetY = 0;
    scale = 1.0f;
}

void KWindowD3D::restoreGameView() {
    if (drawingIntoTarget) {
        offsetX = savedOffsetX;
        offsetY = savedOffsetY;
        scale = savedScale;
    }
    drawingIntoTarget = false;
    viewWidth = surfaceTextureWidth = gameWidth;
    viewHeight = surfaceTextureHeight = gameHeight;
}

void KWindowD3D::applyWorldView(float x, float y, float angle, float zoom, bool clear) {
    setWorldView(x, y, angle, zoom, clear);
}
