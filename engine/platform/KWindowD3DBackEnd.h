// What the Direct3D 8 window calls in the picture back end when the device is made, every frame and around
// every reset (render targets, vertex buffers, pixel shaders, the drawing-state cache, plain filled
// rectangles). Gathered in one table so that tests can stand in for the back end and see the order.
#pragma once

#include <functional>

class KGraphicD3DWindow;

struct KWindowD3DBackEnd {
    std::function<void(KGraphicD3DWindow*)> resetDrawingState;
    std::function<void()> closeRenderTargets;
    std::function<void(bool releaseAll)> releaseDeviceTextures;
    std::function<void()> restoreRenderTargets;
    std::function<void()> releaseVertexBuffers;
    std::function<void()> restoreVertexBuffers;
    std::function<void()> releasePixelShaders;
    std::function<void()> restorePixelShaders;
    std::function<void(float x1, float y1, float x2, float y2, float r, float g, float b, float a)> fillRectBlended;
};

// The picture back end's own functions.
KWindowD3DBackEnd pictureBackEnd();
