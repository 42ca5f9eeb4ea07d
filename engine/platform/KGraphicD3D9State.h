// The state the Direct3D 9 picture back end shares across all its pictures, apart from the Direct3D 8 back end's
// (KGraphicD3DModuleOf in KGraphicD3DApi.h): the window and its device, the state cache, the render-target stack
// and the held back buffer. Main thread only.
#pragma once

#include "KGraphicD3DApi.h"

using KGraphicD3D9Module = KGraphicD3DModuleOf<D3D9Api>;

inline KGraphicD3D9Module& graphicD3D9() {
    return D3D9Api::module();
}
