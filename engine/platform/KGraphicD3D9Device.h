// How a Direct3D 9 window and the Direct3D 9 picture back end (KGraphicD3D9) meet: what the back end reads from
// the window (KGraphicD3D9Window, which such a window implements), and the functions the window calls when the
// device is made, every frame, and around every device reset. The game's window is the Direct3D 8 one, so in the
// program nothing hands this back end a device: it then fails uploads and draws nothing.
#pragma once

#include "HostD3D9.h"
#include "KGraphicD3DWindowBase.h"

class KBatchD3D9;

// The window as the picture back end sees it. The window hands itself over in d3d9::resetDrawingState.
class KGraphicD3D9Window : public KGraphicD3DWindowBase {
public:
    virtual IDirect3DDevice9* getD3DDevice() = 0;
    // 2 when pictures come in their high-resolution variants (the window's getResolutionScale).
    virtual float getResolutionScale() = 0;
};

// The window's calls, as their Direct3D 8 namesakes (KGraphicD3DDevice.h) do for the Direct3D 8 back end; the
// open-target line reads "D3D9: missing endRenderToTarget".
namespace d3d9 {

void resetDrawingState(KGraphicD3D9Window* window);
void closeRenderTargets();
void releaseDeviceTextures(bool releaseAll);
void restoreRenderTargets();
void releaseVertexBuffers();
void restoreVertexBuffers();
void releasePixelShaders();
void restorePixelShaders();
bool createVertexBuffer(KBatchD3D9* batch);
void fillRectBlended(float x1, float y1, float x2, float y2, float r, float g, float b, float a);

} // namespace d3d9
