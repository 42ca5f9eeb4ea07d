// The state the Direct3D 9 picture back end shares across all its pictures, apart from the Direct3D 8 back
// end's: the window and its device, the cache of device states last set (so that only changes reach the
// device), the render-target stack and the held back buffer. Main thread only.
#pragma once

#include "HostD3D9.h"

class KGraphicD3D9;
class KGraphicD3D9Window;

namespace d3d9 {

// The device states drawing last set; -1 means unknown (the next draw sets it).
struct TextureStateCache {
    IDirect3DTexture9* texture = nullptr; // bound on stage 0
    float coordWidth = 1, coordHeight = 1;
    int filter = -1;
    int address = -1;
    int srcBlend = -1;
    int dstBlend = -1;
    bool blending = false;
    bool worldNotIdentity = false;
    D3DMATRIX identity{};
};

} // namespace d3d9

struct KGraphicD3D9Module {
    static constexpr int kTargetStackDepth = 4;

    KGraphicD3D9Window* window = nullptr;
    IDirect3DDevice9* device = nullptr;
    d3d9::TextureStateCache cache;
    KGraphicD3D9* targetStack[kTargetStackDepth] = {}; // the current target first
    int targetCount = 0;
    IDirect3DSurface9* backBuffer = nullptr;
    IDirect3DSurface9* backDepth = nullptr;
    // Above 0 while pictures are rebuilt (after a reset, or around a video-memory flush): the device is known to
    // be usable then, even while the window still has its lost flag up, so uploads do not wait for it.
    int rebuilding = 0;
};

KGraphicD3D9Module& graphicD3D9();

namespace d3d9 {
// All cache entries unknown, stage 0 unbound, blending off and the world identity, on the device as well.
void resetTextureStateCache();
} // namespace d3d9
