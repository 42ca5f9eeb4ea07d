// The state the Direct3D 8 picture back end shares across all pictures: the window and its device, the cache of
// device states last set (so that only changes reach the device), the render-target stack and the held back
// buffer. Main thread only.
#pragma once

#include "HostD3D8.h"

class KGraphicD3D;
class KGraphicD3DWindow;

// The device states drawing last set; -1 means unknown (the next draw sets it).
struct TextureStateCache {
    IDirect3DTexture8* texture = nullptr; // bound on stage 0
    float coordWidth = 1, coordHeight = 1;
    int filter = -1;
    int address = -1;
    int srcBlend = -1;
    int dstBlend = -1;
    bool blending = false;
    bool worldNotIdentity = false;
    D3DMATRIX identity{};
};

struct KGraphicD3DModule {
    static constexpr int kTargetStackDepth = 4;

    KGraphicD3DWindow* window = nullptr;
    IDirect3DDevice8* device = nullptr;
    TextureStateCache cache;
    KGraphicD3D* targetStack[kTargetStackDepth] = {}; // the current target first
    int targetCount = 0;
    IDirect3DSurface8* backBuffer = nullptr;
    IDirect3DSurface8* backDepth = nullptr;
    // Above 0 while pictures are rebuilt (after a reset, or around a video-memory flush): the device is known to
    // be usable then, even while the window still has its lost flag up, so uploads do not wait for it.
    int rebuilding = 0;
};

KGraphicD3DModule& graphicD3D();

// All cache entries unknown, stage 0 unbound, blending off and the world identity, on the device as well.
void resetTextureStateCache();
