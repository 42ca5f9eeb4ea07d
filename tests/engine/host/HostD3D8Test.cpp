// The Direct3D 8 stand-in in its recording mode (no OpenGL): the cooperative-level cycle, simulated
// failures, reference counting, the textures' CPU copies, state defaults and what draws record.
#include "HostD3D8.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <utility>

namespace {

struct RecordingDevice : testing::Test {
    void SetUp() override {
        d3d = Direct3DCreate8Recording();
        ASSERT_NE(d3d, nullptr);
        parameters.BackBufferWidth = 800;
        parameters.BackBufferHeight = 600;
        parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
        parameters.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
        ASSERT_EQ(
            d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &device),
            D3D_OK);
        device->setForegroundQuery([this] { return foreground; });
    }
    void TearDown() override {
        if (device) device->Release();
        d3d->Release();
    }
    IDirect3DTexture8* texture(uint32_t w, uint32_t h, D3DFORMAT format, D3DPOOL pool = D3DPOOL_MANAGED,
                               uint32_t levels = 1, uint32_t usage = 0) {
        IDirect3DTexture8* t = nullptr;
        EXPECT_EQ(device->CreateTexture(w, h, levels, usage, format, pool, &t), D3D_OK);
        return t;
    }
    void goFullScreen() {
        D3DPRESENT_PARAMETERS full = parameters;
        full.Windowed = false;
        full.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_ONE;
        ASSERT_EQ(device->Reset(&full), D3D_OK);
    }

    IDirect3D8* d3d = nullptr;
    IDirect3DDevice8* device = nullptr;
    D3DPRESENT_PARAMETERS parameters;
    bool foreground = true;
};

TEST_F(RecordingDevice, FullScreenLossWaitsForTheForegroundThenForAReset) {
    foreground = false;
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK) << "a windowed device is never lost";
    goFullScreen();
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(device->Reset(&parameters), D3DERR_DEVICELOST) << "not resettable while in the background";
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    foreground = true;
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET) << "stays until a reset";
    D3DPRESENT_PARAMETERS full = device->presentationParameters();
    EXPECT_EQ(device->Reset(&full), D3D_OK);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);

    foreground = false;
    EXPECT_EQ(device->Reset(&full), D3DERR_DEVICELOST) << "lost without a test in between";
    foreground = true;
    EXPECT_EQ(device->Reset(&full), D3D_OK);
}

TEST_F(RecordingDevice, SimulatedLossAndFailingResets) {
    device->simulateDeviceLost();
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    device->failNextResets(2);
    EXPECT_EQ(device->Reset(&parameters), D3DERR_DEVICELOST);
    EXPECT_EQ(device->Reset(&parameters), D3DERR_DEVICELOST);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(device->Reset(&parameters), D3D_OK);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);

    // A failing reset of a working device leaves it waiting for a reset.
    device->failNextResets(1, D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Reset(&parameters), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(device->Reset(&parameters), D3D_OK);

    // So does one refusing its parameters, which keeps the ones it had.
    D3DPRESENT_PARAMETERS refused = parameters;
    refused.BackBufferFormat = D3DFMT_A4R4G4B4;
    refused.Windowed = false;
    EXPECT_EQ(device->Reset(&refused), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(device->presentationParameters().BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_TRUE(device->presentationParameters().Windowed);
    EXPECT_EQ(device->Reset(&parameters), D3D_OK);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
}

TEST_F(RecordingDevice, ResetIsRefusedWhileDefaultPoolObjectsLive) {
    IDirect3DTexture8* target = texture(64, 64, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, 1, D3DUSAGE_RENDERTARGET);
    IDirect3DSurface8* back = nullptr;
    ASSERT_EQ(device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    IDirect3DTexture8* managed = texture(64, 64, D3DFMT_A8R8G8B8);
    EXPECT_EQ(device->Reset(&parameters), D3DERR_INVALIDCALL);
    target->Release();
    EXPECT_EQ(device->Reset(&parameters), D3DERR_INVALIDCALL) << "the held back buffer blocks it too";
    back->Release();
    EXPECT_EQ(device->Reset(&parameters), D3D_OK) << "managed textures survive a reset";
    managed->Release();
}

TEST_F(RecordingDevice, SetTextureAndSurfacesHoldReferences) {
    IDirect3DTexture8* t = texture(32, 32, D3DFMT_A8R8G8B8);
    ASSERT_EQ(device->SetTexture(0, t), D3D_OK);
    EXPECT_EQ(t->referenceCount(), 2u);
    IDirect3DSurface8* level = nullptr;
    ASSERT_EQ(t->GetSurfaceLevel(0, &level), D3D_OK);
    EXPECT_EQ(t->referenceCount(), 3u) << "a level's surface holds its texture";
    EXPECT_EQ(level->container(), t);
    level->Release();
    EXPECT_EQ(t->Release(), 1u) << "still bound";
    EXPECT_EQ(device->textureBytesInUse(), 32u * 32 * 4);
    device->SetTexture(0, nullptr);
    EXPECT_EQ(device->textureBytesInUse(), 0u) << "unbinding released the last reference";
}

TEST_F(RecordingDevice, TextureLevelsKeepTheDirect3DLayout) {
    IDirect3DTexture8* t = texture(128, 32, D3DFMT_R5G6B5, D3DPOOL_MANAGED, 0);
    ASSERT_EQ(t->GetLevelCount(), 8u) << "128 x 32 down to 1 x 1";
    D3DSURFACE_DESC desc;
    ASSERT_EQ(t->GetLevelDesc(2, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 32u);
    EXPECT_EQ(desc.Height, 8u);
    EXPECT_EQ(desc.Format, D3DFMT_R5G6B5);
    EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
    ASSERT_EQ(t->GetLevelDesc(7, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 1u);
    EXPECT_EQ(desc.Height, 1u);

    D3DLOCKED_RECT locked;
    ASSERT_EQ(t->LockRect(0, &locked, nullptr, D3DLOCK_NOSYSLOCK), D3D_OK);
    EXPECT_EQ(locked.Pitch, 256);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 128; ++x)
            reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch)[x] =
                uint16_t(y * 128 + x);
    EXPECT_EQ(t->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL) << "already locked";
    ASSERT_EQ(t->UnlockRect(0), D3D_OK);
    D3DRECT area = {3, 5, 10, 6};
    ASSERT_EQ(t->LockRect(0, &locked, &area, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(*static_cast<uint16_t*>(locked.pBits), 5 * 128 + 3);
    t->UnlockRect(0);
    t->Release();
}

TEST_F(RecordingDevice, TextureCreationRefusals) {
    IDirect3DTexture8* t = nullptr;
    struct Case {
        uint32_t w, h, usage;
        D3DFORMAT format;
        D3DPOOL pool;
        const char* why;
    } refused[] = {
        {64, 64, 0, D3DFMT_R8G8B8, D3DPOOL_MANAGED, "three-byte textures are not supported"},
        {4096, 64, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, "above the maximum size"},
        {0, 64, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, "empty"},
        {64, 64, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, "render targets live in the default pool"},
        {64, 64, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, "plain textures are managed here"},
        {64, 64, 0, D3DFMT_D16, D3DPOOL_MANAGED, "not a colour format"},
    };
    for (const Case& c : refused) {
        EXPECT_EQ(device->CreateTexture(c.w, c.h, 1, c.usage, c.format, c.pool, &t), D3DERR_INVALIDCALL) << c.why;
        EXPECT_EQ(t, nullptr);
    }
    device->failNextTextureCreations(1);
    EXPECT_EQ(device->CreateTexture(64, 64, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(device->CreateTexture(64, 64, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t), D3D_OK);
    t->Release();

    // A budget: what is freed can be used again, as the engine's flush-and-retry expects.
    device->setVideoMemoryBudget(64 * 64 * 4 * 2);
    IDirect3DTexture8* a = texture(64, 64, D3DFMT_A8R8G8B8);
    IDirect3DTexture8* b = texture(64, 64, D3DFMT_A8R8G8B8);
    EXPECT_EQ(device->GetAvailableTextureMem(), 0u);
    EXPECT_EQ(device->CreateTexture(64, 64, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &t),
              D3DERR_OUTOFVIDEOMEMORY);
    a->Release();
    EXPECT_EQ(device->CreateTexture(64, 64, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &t), D3D_OK);
    t->Release();
    b->Release();
}

TEST_F(RecordingDevice, AdapterAnswers) {
    for (D3DFORMAT f : {D3DFMT_X1R5G5B5, D3DFMT_R5G6B5, D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4, D3DFMT_R8G8B8,
                        D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8}) {
        HRESULT expected = f == D3DFMT_R8G8B8 ? D3DERR_NOTAVAILABLE : D3D_OK;
        EXPECT_EQ(d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, 0, D3DRTYPE_TEXTURE, f), expected) << f;
        EXPECT_EQ(
            d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE, f),
            expected)
            << f;
    }
    EXPECT_EQ(d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DUSAGE_RENDERTARGET, D3DRTYPE_SURFACE,
                                     D3DFMT_X8R8G8B8),
              D3D_OK);
    EXPECT_EQ(d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DUSAGE_RENDERTARGET, D3DRTYPE_SURFACE,
                                     D3DFMT_R8G8B8),
              D3DERR_NOTAVAILABLE);
    D3DCAPS8 caps;
    ASSERT_EQ(device->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_EQ(caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY, 0u);
    EXPECT_GE(caps.MaxTextureWidth, 512u);
    EXPECT_NE(caps.VertexProcessingCaps, 0u);
    D3DDEVICE_CREATION_PARAMETERS creation;
    device->GetCreationParameters(&creation);
    EXPECT_EQ(creation.BehaviorFlags, D3DCREATE_HARDWARE_VERTEXPROCESSING);

    // Another adapter: square textures only and no 16-bit alpha formats, to drive the engine's format tables.
    D3D8RecordingSetup setup;
    setup.squareTexturesOnly = true;
    setup.textureFormatSupported = [](D3DFORMAT f) { return f != D3DFMT_A1R5G5B5 && f != D3DFMT_A4R4G4B4; };
    IDirect3D8* other = Direct3DCreate8Recording(setup);
    other->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps);
    EXPECT_NE(caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY, 0u);
    EXPECT_EQ(other->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, 0, D3DRTYPE_TEXTURE, D3DFMT_A4R4G4B4),
              D3DERR_NOTAVAILABLE);
    EXPECT_EQ(other->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, 0, D3DRTYPE_TEXTURE, D3DFMT_R5G6B5), D3D_OK);
    other->Release();
}

TEST_F(RecordingDevice, ResetRestoresTheDirect3DDefaults) {
    IDirect3DTexture8* t = texture(32, 32, D3DFMT_A8R8G8B8);
    device->SetTexture(0, t);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    ASSERT_EQ(device->Reset(&parameters), D3D_OK);
    EXPECT_EQ(t->Release(), 0u) << "the reset unbound it";
    uint32_t value = 0;
    struct Stage {
        uint32_t stage;
        D3DTEXTURESTAGESTATETYPE type;
        uint32_t expected;
    } stages[] = {
        {0, D3DTSS_COLOROP, D3DTOP_MODULATE}, {0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
        {0, D3DTSS_COLORARG2, D3DTA_CURRENT}, {0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1},
        {0, D3DTSS_MAGFILTER, D3DTEXF_POINT}, {0, D3DTSS_ADDRESSU, D3DTADDRESS_WRAP},
        {1, D3DTSS_COLOROP, D3DTOP_DISABLE},  {1, D3DTSS_TEXCOORDINDEX, 1},
    };
    for (const Stage& s : stages) {
        device->GetTextureStageState(s.stage, s.type, &value);
        EXPECT_EQ(value, s.expected) << "stage " << s.stage << " state " << s.type;
    }
    device->GetRenderState(D3DRS_CULLMODE, &value);
    EXPECT_EQ(value, uint32_t(D3DCULL_CCW));
    device->GetRenderState(D3DRS_ALPHABLENDENABLE, &value);
    EXPECT_EQ(value, 0u);
    D3DVIEWPORT8 viewport;
    device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 800u);
    EXPECT_EQ(viewport.Height, 600u);

    EXPECT_EQ(device->SetTextureStageState(0, D3DTSS_COLOROP, 7), D3DERR_INVALIDCALL) << "an operation not provided";
    EXPECT_EQ(device->SetTexture(2, nullptr), D3DERR_INVALIDCALL);
}

TEST_F(RecordingDevice, DrawsAreRecordedWithTheirStates) {
    struct Vertex {
        float x, y, z;
        uint32_t color;
        float u, v;
    } quad[4] = {{0, 0, 0, 0xFF102030u, 0, 0},
                 {8, 0, 0, 0xFF102030u, 1, 0},
                 {0, -8, 0, 0xFF102030u, 0, 1},
                 {8, -8, 0, 0xFF102030u, 1, 1}};
    IDirect3DTexture8* t = texture(8, 8, D3DFMT_A8R8G8B8);
    device->SetTexture(0, t);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    D3DMATRIX world = {{{2, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, 1, 0}, {5, 6, 0, 1}}};
    device->SetTransform(D3DTS_WORLD, &world);
    device->clearRecording();
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex)), D3DERR_INVALIDCALL)
        << "no vertex format set";
    device->SetVertexShader(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, 32), D3DERR_INVALIDCALL) << "wrong stride";
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex)), D3D_OK);
    quad[0].x = 99; // the data was copied at once
    ASSERT_EQ(device->recordedDraws().size(), 1u);
    const D3D8RecordedDraw& draw = device->recordedDraws()[0];
    EXPECT_EQ(draw.type, D3DPT_TRIANGLESTRIP);
    EXPECT_EQ(draw.primitiveCount, 2u);
    EXPECT_EQ(draw.fvf, 0x142u);
    ASSERT_EQ(draw.vertices.size(), 4 * sizeof(Vertex));
    Vertex first;
    std::memcpy(&first, draw.vertices.data(), sizeof first);
    EXPECT_EQ(first.x, 0.0f);
    EXPECT_EQ(draw.state.stage[0].texture, t);
    EXPECT_TRUE(draw.state.alphaBlend);
    EXPECT_EQ(draw.state.srcBlend, uint32_t(D3DBLEND_SRCALPHA));
    EXPECT_EQ(draw.state.world.m[3][0], 5.0f);
    const auto& calls = device->recordedCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().call, D3D8Call::DrawPrimitiveUP);
    EXPECT_EQ(calls.back().a, 0u);
    device->SetTexture(0, nullptr);
    t->Release();
}

TEST_F(RecordingDevice, ClearFillsTheViewportOfTheBackBuffer) {
    D3DVIEWPORT8 game = {100, 50, 600, 500, 0, 1};
    ASSERT_EQ(device->SetViewport(&game), D3D_OK);
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF336699u, 1.0f, 0), D3D_OK);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3DERR_INVALIDCALL) << "no depth buffer";
    D3DVIEWPORT8 tooLarge = {100, 50, 701, 500, 0, 1};
    EXPECT_EQ(device->SetViewport(&tooLarge), D3DERR_INVALIDCALL);
    IDirect3DSurface8* back = nullptr;
    device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(back->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    auto pixel = [&](int x, int y) {
        return reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(locked.pBits) + y * locked.Pitch)[x];
    };
    EXPECT_EQ(pixel(100, 50), 0xFF336699u);
    EXPECT_EQ(pixel(699, 549), 0xFF336699u);
    EXPECT_EQ(pixel(99, 50), 0u);
    EXPECT_EQ(pixel(700, 549), 0u);
    EXPECT_EQ(pixel(100, 550), 0u);
    back->UnlockRect();
    back->Release();
}

TEST_F(RecordingDevice, SizesThatWouldWrapAroundAreRefused) {
    // A viewport whose end overflows 32 bits once passed and then cleared outside the back buffer.
    const D3DVIEWPORT8 wrapping[] = {{0xFFFFFFFFu, 0, 2, 10, 0, 1},
                                     {0, 0xFFFFFF00u, 10, 0x200, 0, 1},
                                     {10, 10, 0xFFFFFFF8u, 10, 0, 1},
                                     {0, 0, 10, 10, 0, std::nanf("")}};
    for (const D3DVIEWPORT8& viewport : wrapping)
        EXPECT_EQ(device->SetViewport(&viewport), D3DERR_INVALIDCALL) << viewport.X << "," << viewport.Y;
    D3DVIEWPORT8 kept;
    device->GetViewport(&kept);
    EXPECT_EQ(kept.Width, 800u);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00u, 1.0f, 0), D3D_OK);

    // Primitive counts whose vertex count wraps to a few vertices: refused, nothing read past the array.
    struct Vertex {
        float x, y, z;
        uint32_t color;
    } three[3] = {};
    ASSERT_EQ(device->SetVertexShader(D3DFVF_XYZ | D3DFVF_DIFFUSE), D3D_OK);
    const std::pair<D3DPRIMITIVETYPE, uint32_t> wraps[] = {{D3DPT_TRIANGLELIST, 0x55555556u},
                                                           {D3DPT_TRIANGLESTRIP, 0xFFFFFFFFu},
                                                           {D3DPT_LINELIST, 0x80000001u},
                                                           {D3DPT_TRIANGLELIST, 0x100000u}};
    for (const auto& [type, count] : wraps)
        EXPECT_EQ(device->DrawPrimitiveUP(type, count, three, sizeof(Vertex)), D3DERR_INVALIDCALL) << count;
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, three, sizeof(Vertex)), D3D_OK);
}

TEST_F(RecordingDevice, CopyRectsTakesARenderTargetsPixels) {
    IDirect3DTexture8* target = texture(64, 64, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, 1, D3DUSAGE_RENDERTARGET);
    IDirect3DTexture8* copy = texture(64, 64, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM);
    IDirect3DTexture8* small = texture(32, 32, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM);
    IDirect3DSurface8 *from, *to, *wrong;
    target->GetSurfaceLevel(0, &from);
    copy->GetSurfaceLevel(0, &to);
    small->GetSurfaceLevel(0, &wrong);
    D3DLOCKED_RECT locked;
    EXPECT_EQ(target->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL) << "render targets are not lockable";
    ASSERT_EQ(device->SetRenderTarget(from, nullptr), D3D_OK);
    D3DVIEWPORT8 viewport;
    device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 64u) << "a new target gets a viewport over all of it";
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x80FF0000u, 1.0f, 0);
    IDirect3DSurface8* back;
    device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back);
    device->SetRenderTarget(back, nullptr);
    back->Release();
    EXPECT_EQ(device->CopyRects(from, nullptr, 0, wrong, nullptr), D3DERR_INVALIDCALL) << "size differs";
    ASSERT_EQ(device->CopyRects(from, nullptr, 0, to, nullptr), D3D_OK);
    ASSERT_EQ(copy->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(static_cast<uint32_t*>(locked.pBits)[64 * 64 - 1], 0x80FF0000u);
    copy->UnlockRect(0);
    from->Release();
    to->Release();
    wrong->Release();
    target->Release();
    copy->Release();
    small->Release();
}

TEST_F(RecordingDevice, ResourcesOutliveTheirDevice) {
    IDirect3DTexture8* t = texture(16, 16, D3DFMT_A8R8G8B8);
    device->SetTexture(0, t);
    IDirect3DSurface8* back = nullptr;
    device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back);
    device->Release();
    device = nullptr;
    D3DLOCKED_RECT backPixels;
    EXPECT_EQ(back->LockRect(&backPixels, nullptr, D3DLOCK_READONLY), D3DERR_INVALIDCALL);
    EXPECT_EQ(back->Release(), 0u);
    D3DLOCKED_RECT locked;
    EXPECT_EQ(t->LockRect(0, &locked, nullptr, 0), D3D_OK) << "the CPU copy stays usable";
    t->UnlockRect(0);
    EXPECT_EQ(t->Release(), 0u);
}

TEST(HostD3D8, LetterboxArea) {
    struct Case {
        int sw, sh, dw, dh;
        D3D8PresentArea expected;
    } cases[] = {
        {800, 600, 800, 600, {0, 0, 800, 600}},
        {800, 600, 1920, 1080, {240, 0, 1440, 1080}},
        {800, 600, 1024, 1024, {0, 128, 1024, 768}},
        {800, 600, 1000, 600, {100, 0, 800, 600}},
        {800, 600, 0, 600, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        D3D8PresentArea area = letterboxArea(c.sw, c.sh, c.dw, c.dh);
        EXPECT_EQ(area.x, c.expected.x) << c.dw << "x" << c.dh;
        EXPECT_EQ(area.y, c.expected.y) << c.dw << "x" << c.dh;
        EXPECT_EQ(area.width, c.expected.width) << c.dw << "x" << c.dh;
        EXPECT_EQ(area.height, c.expected.height) << c.dw << "x" << c.dh;
    }
}

} // namespace
