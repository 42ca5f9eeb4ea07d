// KGraphicD3D9: the Direct3D 9 back end of KGraphic: the shared Direct3D picture core (KGraphicD3DCore.h) over
// the Direct3D 9 device, with its own picture list, state cache, render-target stack and window. Where it differs
// from Direct3D 8 (the high-resolution probe at resolution scale 2 only, the FxXY checks, the transformed blits,
// quads and batches, copyToImage, the back buffer read through the device, sampler states, SetFVF, render target
// and depth surface set apart, GetRenderTargetData, the "D3D9: " log lines) the core says so by version.
#pragma once

#include "KGraphicD3DCore.h"

class KGraphicD3D9 : public KGraphicD3DCore<D3D9Api> {};
