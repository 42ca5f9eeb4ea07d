// The Direct3D 8 window's 3-D render states: depth test and culling, the three transforms, lights and material.
// Nothing in the game calls them; they are part of the window's interface.
#include "KWindowD3D.h"

#include "KD3DPixels.h"

#include <cfloat>

void KWindowD3D::begin3D(bool clearDepth, bool depthWrite, int cullKind) {
    if (!device) return;
    device->SetRenderState(D3DRS_ZENABLE, 1);
    device->SetRenderState(D3DRS_ZWRITEENABLE, depthWrite ? 1 : 0);
    device->SetRenderState(D3DRS_CULLMODE, cullKind == 1 ? D3DCULL_CW : cullKind == 2 ? D3DCULL_CCW : D3DCULL_NONE);
    if (clearDepth) device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
}

int KWindowD3D::setTransform3D(int kind, const Matrix4& matrix) {
    if (kind < 0 || kind > 2) return kind - 2;
    if (!device) return 0;
    if (kind == 0) {
        // Moves the picture by half a pixel so that pixel centres land on integer coordinates.
        Matrix4 halfPixel = translationMatrix(-1.0f / float(viewWidth), 1.0f / float(viewHeight));
        device->SetTransform(D3DTS_PROJECTION, asD3D(matrix * halfPixel));
    } else {
        device->SetTransform(kind == 1 ? D3DTS_VIEW : D3DTS_WORLD, asD3D(matrix));
    }
    return 0;
}

void KWindowD3D::enableLighting(float r, float g, float b, float a) {
    if (!device) return;
    device->SetRenderState(D3DRS_LIGHTING, 1);
    device->SetRenderState(D3DRS_AMBIENT, packColor(r, g, b, a));
    setMaterial(1, 1, 1, 1);
}

void KWindowD3D::setLight(int index, const KLight3D* light) {
    if (!device || index < 0 || index > 7) return;
    if (!light) {
        device->LightEnable(uint32_t(index), false);
        return;
    }
    D3DLIGHT8 value = {};
    value.Type = light->type == 1 ? D3DLIGHT_DIRECTIONAL : D3DLIGHT_POINT;
    value.Diffuse = {light->r, light->g, light->b, light->a};
    value.Specular = {1, 1, 1, 1};
    value.Position = {light->x, light->y, light->z};
    value.Direction = {-light->directionX, -light->directionY, -light->directionZ};
    value.Range = FLT_MAX;
    value.Attenuation0 = light->attenuation0;
    value.Attenuation1 = light->attenuation1;
    value.Attenuation2 = light->attenuation2;
    device->SetLight(uint32_t(index), &value);
    device->LightEnable(uint32_t(index), true);
    device->SetRenderState(D3DRS_LIGHTING, 1);
}

void KWindowD3D::setMaterial(float r, float g, float b, float a) {
    if (!device) return;
    D3DMATERIAL8 material = {};
    material.Diffuse = {r, g, b, a};
    device->SetMaterial(&material);
}

void KWindowD3D::end3D() {
    if (!device) return;
    device->SetRenderState(D3DRS_ZENABLE, 0);
    device->SetRenderState(D3DRS_ZWRITEENABLE, 0);
    device->SetRenderState(D3DRS_LIGHTING, 0);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    setMaterial(1, 1, 1, 1);
}
