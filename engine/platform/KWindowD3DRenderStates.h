// The fixed render and texture-stage states the Direct3D 8 game window puts on its device after making or
// resetting it; the window and the picture back end's test window both set them through this one function.
#pragma once

#include "HostD3D8.h"

// Dithering, specular, lighting, depth and culling off, vertex colours on, stage 0 alpha = texture * diffuse,
// stage 1 off. Alpha blending and the pixel shader are left as they are.
void applyWindowRenderStates(IDirect3DDevice8* device);
