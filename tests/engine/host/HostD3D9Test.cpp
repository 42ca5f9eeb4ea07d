// The Direct3D 9 facade in the recording mode: sampler states and SetFVF reaching the core's stage states and
// vertex format, the filter states refused as stage states, render target and depth surface set apart,
// GetRenderTargetData, the creation calls' extra arguments; and the D3DX matrix helpers.
#include "HostD3D9.h"
#include "HostD3DX.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace {

struct RecordingDevice9 : testing::Test {
    void SetUp() override {
        d3d = Direct3DCreate9Recording();
        ASSERT_NE(d3d, nullptr);
        parameters.BackBufferWidth = 64;
        parameters.BackBufferHeight = 32;
        parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
        ASSERT_EQ(
            d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &device),
            D3D_OK);
    }
    void TearDown() override {
        if (device) device->Release();
        d3d->Release();
    }
    void drawPoint() {
        const struct {
            float x, y, z;
            uint32_t color;
            float u, v;
        } point = {0, 0, 0, 0xFFFFFFFFu, 0, 0};
        ASSERT_EQ(device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1), D3D_OK);
        ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_POINTLIST, 1, &point, sizeof point), D3D_OK);
    }

    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    D3DPRESENT_PARAMETERS parameters;
};

} // namespace

TEST(HostD3D9, OnlyItsOwnSdkVersionMakesTheObject) {
    EXPECT_EQ(Direct3DCreate9(D3D_SDK_VERSION), nullptr); // the Direct3D 8 number
}

TEST_F(RecordingDevice9, SamplerStatesAndTheVertexFormatReachTheCore) {
    struct Case {
        D3DSAMPLERSTATETYPE sampler;
        D3DTEXTURESTAGESTATETYPE stage;
        uint32_t value;
    } cases[] = {{D3DSAMP_MAGFILTER, D3DTSS_MAGFILTER, D3DTEXF_LINEAR},
                 {D3DSAMP_MINFILTER, D3DTSS_MINFILTER, D3DTEXF_LINEAR},
                 {D3DSAMP_MIPFILTER, D3DTSS_MIPFILTER, D3DTEXF_POINT},
                 {D3DSAMP_ADDRESSU, D3DTSS_ADDRESSU, D3DTADDRESS_MIRROR},
                 {D3DSAMP_ADDRESSV, D3DTSS_ADDRESSV, D3DTADDRESS_WRAP}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.sampler));
        ASSERT_EQ(device->SetSamplerState(1, c.sampler, c.value), D3D_OK);
        uint32_t value = 0;
        device->core()->GetTextureStageState(1, c.stage, &value);
        EXPECT_EQ(value, c.value);
        // In Direct3D 9 these are no texture-stage states.
        EXPECT_EQ(device->SetTextureStageState(0, c.stage, c.value), D3DERR_INVALIDCALL);
    }
    EXPECT_EQ(device->SetSamplerState(0, D3DSAMPLERSTATETYPE(3), 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE), D3D_OK);

    drawPoint();
    ASSERT_EQ(device->core()->recordedDraws().size(), 1u);
    EXPECT_EQ(device->core()->recordedDraws()[0].fvf, D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    EXPECT_EQ(device->core()->recordedDraws()[0].state.stage[1].addressU, uint32_t(D3DTADDRESS_MIRROR));
}

TEST_F(RecordingDevice9, RenderTargetAndDepthSurfaceAreSetApart) {
    IDirect3DTexture9* target = nullptr;
    ASSERT_EQ(
        device->CreateTexture(64, 64, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &target, nullptr),
        D3D_OK);
    IDirect3DSurface9* surface = nullptr;
    target->GetSurfaceLevel(0, &surface);
    IDirect3DSurface9* depth = nullptr;
    ASSERT_EQ(device->CreateDepthStencilSurface(64, 64, D3DFMT_D16, D3DMULTISAMPLE_NONE, 0, false, &depth, nullptr),
              D3D_OK);

    EXPECT_EQ(device->SetRenderTarget(1, surface), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->SetRenderTarget(0, surface), D3D_OK);
    D3DVIEWPORT9 viewport = {4, 4, 20, 10, 0, 1};
    device->SetViewport(&viewport);
    ASSERT_EQ(device->SetDepthStencilSurface(depth), D3D_OK);
    D3DVIEWPORT9 after;
    device->GetViewport(&after);
    EXPECT_EQ(after.X, 4u);
    EXPECT_EQ(after.Width, 20u); // setting the depth surface keeps the viewport
    IDirect3DSurface9* current = nullptr;
    ASSERT_EQ(device->core()->GetDepthStencilSurface(&current), D3D_OK);
    EXPECT_EQ(current, depth);
    current->Release();

    // Back to the back buffer: the 64 x 64 depth surface covers it and stays until it is set to none.
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    EXPECT_EQ(device->GetBackBuffer(1, 0, D3DBACKBUFFER_TYPE_MONO, &current), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->SetRenderTarget(0, back), D3D_OK);
    ASSERT_EQ(device->core()->GetDepthStencilSurface(&current), D3D_OK);
    current->Release();
    ASSERT_EQ(device->SetDepthStencilSurface(nullptr), D3D_OK);
    EXPECT_EQ(device->core()->GetDepthStencilSurface(&current), D3DERR_NOTFOUND);
    back->Release();
    surface->Release();
    target->Release();
    depth->Release();
}

TEST_F(RecordingDevice9, RenderTargetDataGoesOnlyIntoSystemMemory) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF123456u, 1, 0);
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    IDirect3DTexture9 *system = nullptr, *managed = nullptr;
    ASSERT_EQ(device->CreateTexture(64, 32, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &system, nullptr), D3D_OK);
    ASSERT_EQ(device->CreateTexture(64, 32, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &managed, nullptr), D3D_OK);
    IDirect3DSurface9 *systemSurface = nullptr, *managedSurface = nullptr;
    system->GetSurfaceLevel(0, &systemSurface);
    managed->GetSurfaceLevel(0, &managedSurface);
    EXPECT_EQ(device->GetRenderTargetData(back, managedSurface), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->GetRenderTargetData(managedSurface, systemSurface), D3DERR_INVALIDCALL); // not a target
    ASSERT_EQ(device->GetRenderTargetData(back, systemSurface), D3D_OK);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(system->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    uint32_t word;
    std::memcpy(&word, static_cast<unsigned char*>(locked.pBits) + 5 * locked.Pitch + 7 * 4, 4);
    EXPECT_EQ(word & 0xFFFFFFu, 0x123456u);
    system->UnlockRect(0);
    systemSurface->Release();
    managedSurface->Release();
    system->Release();
    managed->Release();
    back->Release();

    // The shared handles of the creation calls must be null.
    int handle = 0;
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, &handle),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(texture, nullptr);
    IDirect3DVertexBuffer9* buffer = nullptr;
    EXPECT_EQ(device->CreateVertexBuffer(96, D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT, &buffer, &handle),
              D3DERR_INVALIDCALL);
    ASSERT_EQ(device->CreateVertexBuffer(96, D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT, &buffer, nullptr), D3D_OK);
    buffer->Release();
    IDirect3DPixelShader9* shader = nullptr;
    const uint32_t code[1] = {0xFFFF0101u};
    EXPECT_EQ(device->CreatePixelShader(code, &shader), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(device->SetPixelShader(nullptr), D3D_OK);
}

TEST(HostD3DX, MatricesTransformRowVectors) {
    auto apply = [](const D3DXMATRIX& m, float x, float y, float& outX, float& outY) {
        outX = x * m.m[0][0] + y * m.m[1][0] + m.m[3][0];
        outY = x * m.m[0][1] + y * m.m[1][1] + m.m[3][1];
    };
    D3DXMATRIX scaling, rotation, translation, product;
    D3DXMatrixScaling(&scaling, 2, 3, 1);
    D3DXMatrixRotationZ(&rotation, 3.14159265f / 2);
    D3DXMatrixTranslation(&translation, 10, 20, 5);
    EXPECT_FLOAT_EQ(translation.m[3][2], 5);
    struct Case {
        const char* name;
        const D3DXMATRIX* first;
        const D3DXMATRIX* second;
        float x, y, outX, outY;
    } cases[] = {
        {"scale then turn: +x goes to +y", &scaling, &rotation, 1, 0, 0, 2},
        {"turn then scale", &rotation, &scaling, 1, 0, 0, 3},
        {"scale then move", &scaling, &translation, 1, 1, 12, 23},
        {"move then scale", &translation, &scaling, 1, 1, 22, 63},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        D3DXMatrixMultiply(&product, c.first, c.second);
        float x, y;
        apply(product, c.x, c.y, x, y);
        EXPECT_NEAR(x, c.outX, 1e-5);
        EXPECT_NEAR(y, c.outY, 1e-5);
    }
    // The output may be an input.
    product = scaling;
    D3DXMatrixMultiply(&product, &product, &translation);
    float x, y;
    apply(product, 1, 1, x, y);
    EXPECT_FLOAT_EQ(x, 12);
    D3DXMatrixIdentity(&product);
    apply(product, 7, -4, x, y);
    EXPECT_FLOAT_EQ(x, 7);
    EXPECT_FLOAT_EQ(y, -4);
}
