// KGraphicD3D: the Direct3D 8 back end of KGraphic, the game's renderer: the shared Direct3D picture core
// (KGraphicD3DCore.h) over the Direct3D 8 device, with its own picture list and module-wide state.
#pragma once

#include "KGraphicD3DCore.h"

class KGraphicD3D : public KGraphicD3DCore<D3D8Api> {};
