// The state the Direct3D 8 picture back end shares across all its pictures (KGraphicD3DModuleOf in
// KGraphicD3DApi.h): the window and its device, the state cache, the render-target stack and the held back
// buffer. Main thread only.
#pragma once

#include "KGraphicD3DApi.h"

using KGraphicD3DModule = KGraphicD3DModuleOf<D3D8Api>;

inline KGraphicD3DModule& graphicD3D() {
    return D3D8Api::module();
}
