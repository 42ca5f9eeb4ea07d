// The picture back end as the window sees it. The Direct3D 8 picture back end is not built in yet, so its
// device-reset steps have nothing to release or restore and the filled rectangles are not drawn.
#include "KWindowD3DBackEnd.h"

KWindowD3DBackEnd pictureBackEnd() {
    KWindowD3DBackEnd backEnd;
    backEnd.resetDrawingState = [](KGraphicD3DWindow*) {};
    backEnd.closeRenderTargets = [] {};
    backEnd.releaseDeviceTextures = [](bool) {};
    backEnd.restoreRenderTargets = [] {};
    backEnd.releaseVertexBuffers = [] {};
    backEnd.restoreVertexBuffers = [] {};
    backEnd.releasePixelShaders = [] {};
    backEnd.restorePixelShaders = [] {};
    backEnd.fillRectBlended = [](float, float, float, float, float, float, float, float) {};
    return backEnd;
}
