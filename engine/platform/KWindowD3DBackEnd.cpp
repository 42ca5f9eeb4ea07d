// The picture back end as the window sees it: the Direct3D 8 picture functions of KGraphicD3DDevice.h.
#include "KWindowD3DBackEnd.h"

#include "KGraphicD3DDevice.h"

KWindowD3DBackEnd pictureBackEnd() {
    KWindowD3DBackEnd backEnd;
    backEnd.resetDrawingState = resetDrawingState;
    backEnd.closeRenderTargets = closeRenderTargets;
    backEnd.releaseDeviceTextures = releaseDeviceTextures;
    backEnd.restoreRenderTargets = restoreRenderTargets;
    backEnd.releaseVertexBuffers = releaseVertexBuffers;
    backEnd.restoreVertexBuffers = restoreVertexBuffers;
    backEnd.releasePixelShaders = releasePixelShaders;
    backEnd.restorePixelShaders = restorePixelShaders;
    backEnd.fillRectBlended = fillRectBlended;
    return backEnd;
}
