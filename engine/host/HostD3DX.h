// Stand-in for the D3DX matrix helpers the Direct3D 9 picture back end builds its world transforms with:
// row-major matrices applied to row vectors (a x b applies a first), as Direct3D keeps them.
#pragma once

#include "HostD3D8.h"

using D3DXMATRIX = D3DMATRIX;

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out);
D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, float sx, float sy, float sz);
// m11 = cos, m12 = sin, m21 = -sin, m22 = cos: +x turns towards +y.
D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* out, float radians);
D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z);
// out = a x b; out may be a or b.
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b);
