// Both forms of the shared Direct3D picture core, made here once: the Direct3D 8 one (KGraphicD3D) and the
// Direct3D 9 one (KGraphicD3D9), each with its own module-wide state, and the window hooks of each version.
#include "KGraphicD3DCore.h"

#include "KGraphicD3DCoreDraw.inl"
#include "KGraphicD3DCorePictures.inl"
#include "KGraphicD3DCoreTarget.inl"

KGraphicD3DModuleOf<D3D8Api>& D3D8Api::module() {
    static KGraphicD3DModuleOf<D3D8Api>& module = *new KGraphicD3DModuleOf<D3D8Api>(); // never destroyed (see KList.h)
    return module;
}

KGraphicD3DModuleOf<D3D9Api>& D3D9Api::module() {
    static KGraphicD3DModuleOf<D3D9Api>& module = *new KGraphicD3DModuleOf<D3D9Api>(); // never destroyed (see KList.h)
    return module;
}

template class KGraphicD3DCore<D3D8Api>;
template class KGraphicD3DCore<D3D9Api>;

void resetDrawingState(KGraphicD3DWindow* window) {
    d3dcore::resetDrawingState<D3D8Api>(window);
}
void closeRenderTargets() {
    d3dcore::closeRenderTargets<D3D8Api>();
}
void releaseDeviceTextures(bool releaseAll) {
    d3dcore::releaseDeviceTextures<D3D8Api>(releaseAll);
}
void restoreRenderTargets() {
    d3dcore::restoreRenderTargets<D3D8Api>();
}
void fillRectBlended(float x1, float y1, float x2, float y2, float r, float g, float b, float a) {
    d3dcore::fillRectBlended<D3D8Api>(x1, y1, x2, y2, r, g, b, a);
}

void d3d9::resetDrawingState(KGraphicD3D9Window* window) {
    d3dcore::resetDrawingState<D3D9Api>(window);
}
void d3d9::closeRenderTargets() {
    d3dcore::closeRenderTargets<D3D9Api>();
}
void d3d9::releaseDeviceTextures(bool releaseAll) {
    d3dcore::releaseDeviceTextures<D3D9Api>(releaseAll);
}
void d3d9::restoreRenderTargets() {
    d3dcore::restoreRenderTargets<D3D9Api>();
}
void d3d9::fillRectBlended(float x1, float y1, float x2, float y2, float r, float g, float b, float a) {
    d3dcore::fillRectBlended<D3D9Api>(x1, y1, x2, y2, r, g, b, a);
}
