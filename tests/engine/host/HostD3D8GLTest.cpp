// The Direct3D 8 stand-in over a real OpenGL context (Mesa, offscreen): pixels read back from the back
// buffer and render targets, exact to the texel where the engine relies on it; the lost and reset cycle with
// the SDL window; and gathered draws giving the same pixels as draws issued one by one.
#include "HostD3D8.h"
#include "HostWindow.h"

#include <SDL.h>
#include <SDL_opengl.h>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kTextured = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;
constexpr uint32_t kMasked = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX2;

struct Vertex {
    float x, y, z;
    uint32_t color;
    float u, v;
};
struct Vertex2 {
    float x, y, z;
    uint32_t color;
    float u0, v0, u1, v1;
};

D3DMATRIX identity() {
    return {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
}

int channel(uint32_t pixel, int shift) {
    return int((pixel >> shift) & 0xFF);
}

// The colour channels of two X8R8G8B8 pixels differ by at most the tolerance.
bool near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift : {0, 8, 16})
        if (std::abs(channel(a, shift) - channel(b, shift)) > tolerance) return false;
    return true;
}

struct GLDevice : testing::Test {
    void SetUp() override {
        ASSERT_TRUE(host::startVideo());
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        window = SDL_CreateWindow("device test", 0, 0, 800, 600, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        d3d = Direct3DCreate8(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
        parameters.BackBufferWidth = 800;
        parameters.BackBufferHeight = 600;
        parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
        parameters.hDeviceWindow = window;
        parameters.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
        ASSERT_EQ(
            d3d->CreateDevice(0, D3DDEVTYPE_HAL, window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &device),
            D3D_OK);
        device->setForegroundQuery([this] { return foreground; });
        engineStates();
    }
    void TearDown() override {
        if (device) device->Release();
        if (d3d) d3d->Release();
        if (window) SDL_DestroyWindow(window);
    }

    // The states the engine sets after every reset, and its default world view over a width x height area.
    void engineStates() {
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device->SetRenderState(D3DRS_LIGHTING, 0);
        device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
        device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
        device->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
        device->SetTextureStageState(0, D3DTSS_ADDRESSV, D3DTADDRESS_CLAMP);
        view(800, 600);
    }
    void view(int width, int height) {
        D3DMATRIX projection = identity(), translation = identity();
        projection.m[0][0] = 2.0f / float(width);
        projection.m[1][1] = 2.0f / float(height);
        translation.m[3][0] = -float(width / 2);
        translation.m[3][1] = float(height / 2);
        device->SetTransform(D3DTS_PROJECTION, &projection);
        device->SetTransform(D3DTS_VIEW, &translation);
        D3DMATRIX world = identity();
        device->SetTransform(D3DTS_WORLD, &world);
    }
    void blend(bool on, uint32_t src = D3DBLEND_SRCALPHA, uint32_t dest = D3DBLEND_INVSRCALPHA) {
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, on);
        device->SetRenderState(D3DRS_SRCBLEND, src);
        device->SetRenderState(D3DRS_DESTBLEND, dest);
    }

    // A managed texture whose texel (x, y) is colour(x, y), an ARGB word packed into the format.
    template <typename F> IDirect3DTexture8* makeTexture(uint32_t w, uint32_t h, D3DFORMAT format, F colour) {
        IDirect3DTexture8* t = nullptr;
        EXPECT_EQ(device->CreateTexture(w, h, 1, 0, format, D3DPOOL_MANAGED, &t), D3D_OK);
        D3DLOCKED_RECT locked;
        EXPECT_EQ(t->LockRect(0, &locked, nullptr, D3DLOCK_NOSYSLOCK), D3D_OK);
        for (uint32_t y = 0; y < h; ++y) {
            uint8_t* row = static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch;
            for (uint32_t x = 0; x < w; ++x) {
                uint32_t c = colour(x, y);
                if (format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8)
                    reinterpret_cast<uint32_t*>(row)[x] = c;
                else
                    reinterpret_cast<uint16_t*>(row)[x] = uint16_t(c);
            }
        }
        t->UnlockRect(0);
        return t;
    }

    // A textured rectangle as the engine's plain blits make it: source (sx, sy, w, h) of a texture of
    // size tw x th, at game position (dx, dy), moved by half a pixel.
    void blit(float sx, float sy, float w, float h, float dx, float dy, float tw, float th,
              uint32_t color = 0xFFFFFFFFu) {
        float left = dx - 0.5f, top = 0.5f - dy;
        Vertex quad[4] = {{left, top, 0, color, sx / tw, sy / th},
                          {left + w, top, 0, color, (sx + w) / tw, sy / th},
                          {left, top - h, 0, color, sx / tw, (sy + h) / th},
                          {left + w, top - h, 0, color, (sx + w) / tw, (sy + h) / th}};
        device->SetVertexShader(kTextured);
        ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex)), D3D_OK);
    }
    // An untextured rectangle (x1, y1) to (x2, y2) in game coordinates, no half-pixel offset.
    void fill(float x1, float y1, float x2, float y2, uint32_t color) {
        Vertex quad[4] = {
            {x1, -y1, 0, color, 0, 0}, {x2, -y1, 0, color, 0, 0}, {x1, -y2, 0, color, 0, 0}, {x2, -y2, 0, color, 0, 0}};
        device->SetVertexShader(kTextured);
        ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex)), D3D_OK);
    }

    // The whole back buffer, row 0 = top.
    std::vector<uint32_t> backBuffer() {
        IDirect3DSurface8* surface = nullptr;
        EXPECT_EQ(device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &surface), D3D_OK);
        D3DSURFACE_DESC desc;
        surface->GetDesc(&desc);
        D3DLOCKED_RECT locked;
        EXPECT_EQ(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
        std::vector<uint32_t> pixels(size_t(desc.Width) * desc.Height);
        for (uint32_t y = 0; y < desc.Height; ++y)
            std::memcpy(&pixels[size_t(y) * desc.Width], static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch,
                        desc.Width * 4);
        surface->UnlockRect();
        surface->Release();
        return pixels;
    }
    uint32_t pixel(const std::vector<uint32_t>& pixels, int x, int y) {
        return pixels[size_t(y) * 800 + x] & 0xFFFFFFu;
    }

    SDL_Window* window = nullptr;
    IDirect3D8* d3d = nullptr;
    IDirect3DDevice8* device = nullptr;
    D3DPRESENT_PARAMETERS parameters;
    bool foreground = true;
};

TEST_F(GLDevice, AdapterAnswersFromOpenGL) {
    D3DADAPTER_IDENTIFIER8 adapter;
    ASSERT_EQ(d3d->GetAdapterIdentifier(0, 0, &adapter), D3D_OK);
    EXPECT_GT(std::strlen(adapter.Description), 0u);
    D3DDISPLAYMODE desktop;
    ASSERT_EQ(d3d->GetAdapterDisplayMode(0, &desktop), D3D_OK);
    EXPECT_GT(desktop.Width, 0u);
    EXPECT_GT(desktop.RefreshRate, 0u);
    for (D3DFORMAT f : {D3DFMT_X1R5G5B5, D3DFMT_R5G6B5, D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4, D3DFMT_R8G8B8,
                        D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8})
        EXPECT_EQ(d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, desktop.Format, 0, D3DRTYPE_TEXTURE, f),
                  f == D3DFMT_R8G8B8 ? D3DERR_NOTAVAILABLE : D3D_OK)
            << f;
    for (D3DFORMAT f : {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8})
        EXPECT_EQ(d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, desktop.Format, D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE, f),
                  D3D_OK)
            << f;
    D3DCAPS8 caps;
    ASSERT_EQ(device->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_GE(caps.MaxTextureWidth, 2048u);
    EXPECT_EQ(caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY, 0u);
}

TEST_F(GLDevice, ClearTakesOnlyTheViewportAndSurvivesPresent) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    D3DVIEWPORT8 game = {100, 50, 600, 500, 0, 1};
    ASSERT_EQ(device->SetViewport(&game), D3D_OK);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF336699u, 1.0f, 0);
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    std::vector<uint32_t> pixels = backBuffer();
    EXPECT_EQ(pixel(pixels, 100, 50), 0x336699u);
    EXPECT_EQ(pixel(pixels, 699, 549), 0x336699u);
    EXPECT_EQ(pixel(pixels, 99, 50), 0u);
    EXPECT_EQ(pixel(pixels, 100, 49), 0u);
    EXPECT_EQ(pixel(pixels, 700, 300), 0u);
    EXPECT_EQ(pixel(pixels, 300, 550), 0u);
    EXPECT_EQ(pixels[50 * 800 + 100] >> 24, 0xFFu) << "X8R8G8B8 reads back opaque";

    // The engine's wait for the frame: a read-only lock of a 32 x 32 corner.
    IDirect3DSurface8* back = nullptr;
    device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back);
    D3DRECT corner = {100, 50, 132, 82};
    D3DLOCKED_RECT locked;
    ASSERT_EQ(back->LockRect(&locked, &corner, D3DLOCK_READONLY | D3DLOCK_NO_DIRTY_UPDATE), D3D_OK);
    EXPECT_EQ(*static_cast<uint32_t*>(locked.pBits) & 0xFFFFFFu, 0x336699u);
    back->UnlockRect();
    back->Release();
}

TEST_F(GLDevice, OpaqueBlitIsTexelExactAtIntegerPositions) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    auto texel = [](uint32_t x, uint32_t y) { return 0xFF000000u | (x * 16 + 3) << 16 | (y * 32 + 5) << 8 | 0x77u; };
    IDirect3DTexture8* t = makeTexture(16, 8, D3DFMT_A8R8G8B8, texel);
    device->SetTexture(0, t);
    blend(false);
    blit(0, 0, 16, 8, 10, 20, 16, 8);
    blit(4, 2, 8, 4, 100, 200, 16, 8); // a part of the picture
    D3DMATRIX zoom = identity();
    zoom.m[0][0] = zoom.m[1][1] = 2;
    zoom.m[3][0] = 300 - 0.5f; // zoomed 2x about its own corner at (300, 400)
    zoom.m[3][1] = 0.5f - 400;
    device->SetTransform(D3DTS_WORLD, &zoom);
    Vertex quad[4] = {{0, 0, 0, ~0u, 0, 0}, {16, 0, 0, ~0u, 1, 0}, {0, -8, 0, ~0u, 0, 1}, {16, -8, 0, ~0u, 1, 1}};
    device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
    std::vector<uint32_t> pixels = backBuffer();
    for (uint32_t y = 0; y < 8; ++y)
        for (uint32_t x = 0; x < 16; ++x)
            ASSERT_EQ(pixel(pixels, 10 + x, 20 + y), texel(x, y) & 0xFFFFFFu) << x << "," << y;
    EXPECT_EQ(pixel(pixels, 9, 20), 0u);
    EXPECT_EQ(pixel(pixels, 26, 20), 0u);
    EXPECT_EQ(pixel(pixels, 10, 28), 0u);
    for (uint32_t y = 0; y < 4; ++y)
        for (uint32_t x = 0; x < 8; ++x) ASSERT_EQ(pixel(pixels, 100 + x, 200 + y), texel(4 + x, 2 + y) & 0xFFFFFFu);
    for (uint32_t y = 0; y < 16; ++y)
        for (uint32_t x = 0; x < 32; ++x)
            ASSERT_EQ(pixel(pixels, 300 + x, 400 + y), texel(x / 2, y / 2) & 0xFFFFFFu) << x << "," << y;
    device->SetTexture(0, nullptr);
    t->Release();
}

TEST_F(GLDevice, EveryTextureFormatUploadsItsLayout) {
    struct Case {
        D3DFORMAT format;
        uint32_t packed;   // the texel in the format's layout, alpha 0 where the format has alpha
        uint32_t expected; // the colour it shows, drawn blended over black
    } cases[] = {
        {D3DFMT_A8R8G8B8, 0xFF204060u, 0x204060u},
        {D3DFMT_A8R8G8B8, 0x00204060u, 0x000000u}, // transparent
        {D3DFMT_X8R8G8B8, 0x00204060u, 0x204060u}, // the X byte is not alpha
        {D3DFMT_R5G6B5, (31u << 11) | (32u << 5) | 8u, 0xFF8242u},
        {D3DFMT_X1R5G5B5, (31u << 10) | (16u << 5) | 8u, 0xFF8442u}, // bit 15 clear, still opaque
        {D3DFMT_A1R5G5B5, 0x8000u | (8u << 10) | (31u << 5), 0x42FF00u},
        {D3DFMT_A1R5G5B5, (8u << 10) | (31u << 5), 0x000000u},
        {D3DFMT_A4R4G4B4, 0xF000u | (15u << 8) | (8u << 4) | 1u, 0xFF8811u},
    };
    blend(true);
    int column = 0;
    for (const Case& c : cases) {
        IDirect3DTexture8* t = makeTexture(4, 4, c.format, [&](uint32_t, uint32_t) { return c.packed; });
        device->SetTexture(0, t);
        blit(0, 0, 4, 4, float(10 + column * 10), 10, 4, 4);
        device->SetTexture(0, nullptr);
        t->Release();
        ++column;
    }
    std::vector<uint32_t> pixels = backBuffer();
    column = 0;
    for (const Case& c : cases) {
        EXPECT_TRUE(near(pixel(pixels, 12 + column * 10, 12), c.expected, 1))
            << "format " << c.format << ": " << std::hex << pixel(pixels, 12 + column * 10, 12);
        ++column;
    }
}

TEST_F(GLDevice, FilterAddressAndMipLevelStates) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    blend(false);
    // Two texels, red and blue, each drawn 4 pixels wide.
    IDirect3DTexture8* pair =
        makeTexture(2, 1, D3DFMT_X8R8G8B8, [](uint32_t x, uint32_t) { return x == 0 ? 0xFF0000u : 0x0000FFu; });
    device->SetTexture(0, pair);
    auto stretched = [&](float x, float y, float uRight) {
        Vertex quad[4] = {{x - 0.5f, 0.5f - y, 0, ~0u, 0, 0},
                          {x + 7.5f, 0.5f - y, 0, ~0u, uRight, 0},
                          {x - 0.5f, -0.5f - y, 0, ~0u, 0, 1},
                          {x + 7.5f, -0.5f - y, 0, ~0u, uRight, 1}};
        device->SetVertexShader(kTextured);
        device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
    };
    stretched(10, 10, 1); // point, clamp
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    stretched(10, 20, 1); // linear
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_POINT);
    device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_POINT);
    stretched(10, 30, 2); // clamp: the second half stays blue
    device->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_WRAP);
    stretched(10, 40, 2); // wrap: red, blue, red, blue
    device->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_MIRROR);
    stretched(10, 50, 2); // mirror: red, blue, blue, red
    device->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);

    // Three levels of distinct colours; a quarter-size draw with a mip filter samples level 2.
    IDirect3DTexture8* mipped = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 3, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &mipped), D3D_OK);
    const uint32_t levelColour[3] = {0x111111u, 0x22CC22u, 0x3333EEu};
    for (uint32_t level = 0; level < 3; ++level) {
        D3DLOCKED_RECT locked;
        D3DSURFACE_DESC desc;
        mipped->GetLevelDesc(level, &desc);
        mipped->LockRect(level, &locked, nullptr, 0);
        for (uint32_t i = 0; i < desc.Width * desc.Height; ++i)
            static_cast<uint32_t*>(locked.pBits)[i] = levelColour[level];
        mipped->UnlockRect(level);
    }
    device->SetTexture(0, mipped);
    device->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_POINT);
    blit(0, 0, 1, 1, 60, 60, 1, 1);
    device->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_NONE);
    blit(0, 0, 1, 1, 70, 60, 1, 1);

    std::vector<uint32_t> pixels = backBuffer();
    auto row = [&](int y) {
        std::string colours;
        for (int x = 10; x < 18; ++x) {
            uint32_t p = pixel(pixels, x, y);
            colours += p == 0xFF0000u ? 'R' : p == 0x0000FFu ? 'B' : '?';
        }
        return colours;
    };
    EXPECT_EQ(row(10), "RRRRBBBB");
    std::string linear = row(20);
    EXPECT_EQ(linear.front(), 'R');
    EXPECT_EQ(linear.back(), 'B');
    EXPECT_NE(linear.find('?'), std::string::npos) << "mixed texels between the two";
    EXPECT_EQ(row(30), "RRBBBBBB");
    EXPECT_EQ(row(40), "RRBBRRBB");
    EXPECT_EQ(row(50), "RRBBBBRR");
    EXPECT_EQ(pixel(pixels, 60, 60), levelColour[2]);
    EXPECT_EQ(pixel(pixels, 70, 60), levelColour[0]);
    device->SetTexture(0, nullptr);
    pair->Release();
    mipped->Release();
}

TEST_F(GLDevice, BlendFactorsAndUntexturedColour) {
    struct Case {
        uint32_t src, dest, fillColor, expected;
    } cases[] = {
        {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, 0x80FF0000u, 0x800040u}, // normal over 0x000080
        {D3DBLEND_SRCALPHA, D3DBLEND_ONE, 0x80FF0000u, 0x800080u},         // additive
        {D3DBLEND_ZERO, D3DBLEND_SRCCOLOR, 0xFF808080u, 0x000040u},        // multiply
        {D3DBLEND_ONE, D3DBLEND_ZERO, 0x00123456u, 0x123456u},             // replace, alpha ignored
    };
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000080u, 1.0f, 0);
    int row = 0;
    for (const Case& c : cases) {
        blend(true, c.src, c.dest);
        fill(10, float(10 + row * 10), 20, float(15 + row * 10), c.fillColor);
        ++row;
    }
    std::vector<uint32_t> pixels = backBuffer();
    row = 0;
    for (const Case& c : cases) {
        EXPECT_TRUE(near(pixel(pixels, 15, 12 + row * 10), c.expected, 1))
            << row << ": " << std::hex << pixel(pixels, 15, 12 + row * 10);
        ++row;
    }
}

TEST_F(GLDevice, FillsLinesAndPointsCoverTheirPixels) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    blend(true);
    fill(10, 10, 20, 15, 0xFFFFFFFFu);
    Vertex line[2] = {{30, -40, 0, 0xFF00FF00u, 0, 0}, {50, -40, 0, 0xFF00FF00u, 0, 0}};
    device->DrawPrimitiveUP(D3DPT_LINELIST, 1, line, sizeof(Vertex));
    Vertex point = {60, -70, 0, 0xFFFF0000u, 0, 0};
    device->DrawPrimitiveUP(D3DPT_POINTLIST, 1, &point, sizeof(Vertex));
    std::vector<uint32_t> pixels = backBuffer();
    int filled = 0, lit = 0, dots = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            uint32_t p = pixel(pixels, x, y);
            if (p == 0xFFFFFFu) {
                ++filled;
                EXPECT_TRUE(x >= 10 && x < 20 && y >= 10 && y < 15) << x << "," << y;
            } else if (p == 0x00FF00u) {
                ++lit;
                EXPECT_EQ(y, 40);
                EXPECT_TRUE(x >= 30 && x < 50) << x;
            } else if (p == 0xFF0000u) {
                ++dots;
                EXPECT_EQ(x, 60);
                EXPECT_EQ(y, 70);
            }
        }
    EXPECT_EQ(filled, 50);
    EXPECT_EQ(lit, 20);
    EXPECT_EQ(dots, 1);
}

TEST_F(GLDevice, RenderTargetKeepsTheRowOrder) {
    auto texel = [](uint32_t x, uint32_t y) { return 0xFF000000u | (x * 8) << 16 | (y * 8) << 8; };
    IDirect3DTexture8* picture = makeTexture(32, 32, D3DFMT_A8R8G8B8, texel);
    IDirect3DTexture8* target = nullptr;
    ASSERT_EQ(device->CreateTexture(64, 64, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &target),
              D3D_OK);
    IDirect3DSurface8 *targetSurface = nullptr, *back = nullptr;
    target->GetSurfaceLevel(0, &targetSurface);
    device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back);

    // Draw the picture into the target at (4, 6), as the engine does with a target's own view.
    ASSERT_EQ(device->SetRenderTarget(targetSurface, nullptr), D3D_OK);
    view(64, 64);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000u, 1.0f, 0);
    device->SetTexture(0, picture);
    blend(false);
    blit(0, 0, 32, 32, 4, 6, 32, 32);

    // Its contents, read through a system-memory copy: row 0 is the top line.
    IDirect3DTexture8* copy = nullptr;
    ASSERT_EQ(device->CreateTexture(64, 64, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &copy), D3D_OK);
    IDirect3DSurface8* copySurface = nullptr;
    copy->GetSurfaceLevel(0, &copySurface);
    ASSERT_EQ(device->CopyRects(targetSurface, nullptr, 0, copySurface, nullptr), D3D_OK);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(copy->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    auto at = [&](int x, int y) {
        return reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch)[x];
    };
    EXPECT_EQ(at(4, 6), texel(0, 0));
    EXPECT_EQ(at(35, 37), texel(31, 31));
    EXPECT_EQ(at(3, 6), 0u) << "cleared to transparent";
    copy->UnlockRect(0);

    // Back on the back buffer, the target drawn as a picture shows the right way up.
    ASSERT_EQ(device->SetRenderTarget(back, nullptr), D3D_OK);
    view(800, 600);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    device->SetTexture(0, target);
    blit(0, 0, 64, 64, 100, 100, 64, 64);
    std::vector<uint32_t> pixels = backBuffer();
    EXPECT_EQ(pixel(pixels, 104, 106), texel(0, 0) & 0xFFFFFFu);
    EXPECT_EQ(pixel(pixels, 104 + 31, 106 + 5), texel(31, 5) & 0xFFFFFFu);
    EXPECT_EQ(pixel(pixels, 104 + 7, 106 + 30), texel(7, 30) & 0xFFFFFFu);

    device->SetTexture(0, nullptr);
    for (D3D8Unknown* object : std::initializer_list<D3D8Unknown*>{copySurface, copy, targetSurface, back, picture})
        object->Release();
    EXPECT_EQ(device->Reset(&parameters), D3DERR_INVALIDCALL) << "the render target is still alive";
    target->Release();
    EXPECT_EQ(device->Reset(&parameters), D3D_OK);
}

TEST_F(GLDevice, MaskedBlitTakesAlphaFromStageOne) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    IDirect3DTexture8* colour = makeTexture(8, 8, D3DFMT_X8R8G8B8, [](uint32_t, uint32_t) { return 0xFFC08040u; });
    IDirect3DTexture8* mask =
        makeTexture(8, 8, D3DFMT_A8R8G8B8, [](uint32_t x, uint32_t) { return x < 4 ? 0x00FFFFFFu : 0xFFFFFFFFu; });
    blend(true);
    device->SetTexture(0, colour);
    device->SetTexture(1, mask);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_CURRENT);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(1, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(1, D3DTSS_ALPHAARG2, D3DTA_CURRENT);
    device->SetTextureStageState(1, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetTextureStageState(1, D3DTSS_ADDRESSV, D3DTADDRESS_CLAMP);
    float l = 19.5f, t = -19.5f;
    Vertex2 quad[4] = {{l, t, 0, ~0u, 0, 0, 0, 0},
                       {l + 8, t, 0, ~0u, 1, 0, 1, 0},
                       {l, t - 8, 0, ~0u, 0, 1, 0, 1},
                       {l + 8, t - 8, 0, ~0u, 1, 1, 1, 1}};
    device->SetVertexShader(kMasked);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex2)), D3D_OK);
    device->SetTexture(1, nullptr);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    // With stage 0 unbound the vertex colour shows as it is.
    device->SetTexture(0, nullptr);
    fill(40, 20, 48, 28, 0xFF0000FFu);
    std::vector<uint32_t> pixels = backBuffer();
    EXPECT_EQ(pixel(pixels, 21, 22), 0u) << "masked out";
    EXPECT_EQ(pixel(pixels, 25, 22), 0xC08040u);
    EXPECT_EQ(pixel(pixels, 44, 24), 0x0000FFu);
    colour->Release();
    mask->Release();
}

// A scene of every kind of draw with changes of texture, blending, world transform, viewport, render target,
// a texture rewritten between draws and a read-back of the back buffer.
void drawScene(GLDevice& f, IDirect3DTexture8* const* pictures, IDirect3DTexture8* target) {
    IDirect3DDevice8* device = f.device;
    IDirect3DSurface8 *targetSurface = nullptr, *back = nullptr;
    target->GetSurfaceLevel(0, &targetSurface);
    device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF102030u, 1.0f, 0);
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % range;
    };
    // Runs of eight draws share their texture and states, as consecutive blits of one picture do.
    uint32_t kind = 0;
    for (int i = 0; i < 600; ++i) {
        if (i == 300) {
            // Rewrite a picture that gathered draws still sample, then draw into the target and use it.
            D3DLOCKED_RECT locked;
            pictures[0]->LockRect(0, &locked, nullptr, 0);
            std::memset(locked.pBits, 0x7F, size_t(locked.Pitch) * 16);
            pictures[0]->UnlockRect(0);
            device->SetRenderTarget(targetSurface, nullptr);
            f.view(64, 64);
            f.fill(0, 0, 64, 64, 0xFF00FF00u);
            device->SetRenderTarget(back, nullptr);
            f.view(800, 600);
            device->SetTexture(0, target);
            f.blit(0, 0, 64, 64, 700, 500, 64, 64);
        }
        if (i == 450 || i == 470) {
            // A viewport over part of the back buffer for a while; then a read-back of gathered draws.
            D3DVIEWPORT8 part = {100, 80, 400, 300, 0, 1}, whole = {0, 0, 800, 600, 0, 1};
            device->SetViewport(i == 450 ? &part : &whole);
        }
        if (i == 520) {
            D3DLOCKED_RECT locked;
            back->LockRect(&locked, nullptr, D3DLOCK_READONLY);
            back->UnlockRect();
        }
        if (i % 8 == 0) {
            kind = next(10);
            device->SetTexture(0, kind < 6 ? pictures[next(3)] : nullptr);
            f.blend(next(4) != 0, next(2) ? D3DBLEND_SRCALPHA : D3DBLEND_ONE,
                    next(3) ? D3DBLEND_INVSRCALPHA : D3DBLEND_ONE);
            device->SetTextureStageState(0, D3DTSS_MAGFILTER, next(5) ? D3DTEXF_POINT : D3DTEXF_LINEAR);
        }
        D3DMATRIX world = identity();
        if (kind < 3) {
            float angle = float(next(360)) * 3.1415927f / 180, zoom = 0.5f + float(next(20)) / 10;
            world.m[0][0] = std::cos(angle) * zoom;
            world.m[0][1] = std::sin(angle) * zoom;
            world.m[1][0] = -std::sin(angle) * zoom;
            world.m[1][1] = std::cos(angle) * zoom;
            world.m[3][0] = float(next(800));
            world.m[3][1] = -float(next(600));
        }
        device->SetTransform(D3DTS_WORLD, &world);
        float x = float(next(780)), y = float(next(580));
        uint32_t color = 0x40000000u * (1 + next(4)) - 1 - next(0x1000000);
        if (kind < 6)
            f.blit(float(next(8)), float(next(8)), float(4 + next(12)), float(4 + next(12)), kind < 3 ? 0 : x,
                   kind < 3 ? 0 : y, 16, 16, color);
        else if (kind < 8)
            f.fill(x, y, x + float(next(40)), y + float(next(30)), color);
        else if (kind == 8) {
            Vertex line[2] = {{x, -y, 0, color, 0, 0}, {x + float(next(100)), -y - float(next(50)), 0, color, 0, 0}};
            device->DrawPrimitiveUP(D3DPT_LINELIST, 1, line, sizeof(Vertex));
        } else {
            Vertex point = {x, -y, 0, color, 0, 0};
            device->DrawPrimitiveUP(D3DPT_POINTLIST, 1, &point, sizeof(Vertex));
        }
    }
    device->SetTexture(0, nullptr);
    targetSurface->Release();
    back->Release();
}

// The three pictures and the render target the scene draws with, released with the object.
struct SceneResources {
    explicit SceneResources(GLDevice& f) {
        for (uint32_t p = 0; p < 3; ++p)
            pictures[p] = f.makeTexture(16, 16, D3DFMT_A8R8G8B8, [p](uint32_t x, uint32_t y) {
                return (x * 16 + y) << (8 * p) | (uint32_t(x + y) * 8) << 24 | 0x202020u;
            });
        EXPECT_EQ(f.device->CreateTexture(64, 64, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &target),
                  D3D_OK);
    }
    ~SceneResources() {
        for (IDirect3DTexture8* p : pictures) p->Release();
        if (target) target->Release();
    }
    IDirect3DTexture8* pictures[3] = {};
    IDirect3DTexture8* target = nullptr;
};

TEST_F(GLDevice, GatheredDrawsGiveTheSamePixelsAsSingleDraws) {
    std::vector<uint32_t> frames[2];
    uint64_t glCalls[2] = {};
    for (int batching = 0; batching < 2; ++batching) {
        SceneResources scene(*this);
        device->setBatching(batching == 1);
        device->resetCounters();
        drawScene(*this, scene.pictures, scene.target);
        frames[batching] = backBuffer();
        glCalls[batching] = device->glDrawCalls();
        EXPECT_EQ(device->drawPrimitiveCalls(), 602u);
    }
    EXPECT_EQ(glCalls[0], 602u) << "without gathering every call is drawn at once";
    EXPECT_LT(glCalls[1], glCalls[0] / 4);
    int differing = 0;
    for (size_t i = 0; i < frames[0].size(); ++i) differing += frames[0][i] != frames[1][i];
    EXPECT_EQ(differing, 0);
}

TEST_F(GLDevice, BackBufferInTheWindowGivesTheSamePixelsAsTheBackBufferApart) {
    std::vector<uint32_t> frames[2], presented[2];
    for (int inWindow = 0; inWindow < 2; ++inWindow) {
        device->allowBackBufferInWindow(inWindow == 1);
        ASSERT_EQ(device->backBufferInWindow(), inWindow == 1);
        SceneResources scene(*this);
        drawScene(*this, scene.pictures, scene.target);
        // Culling keeps the faces Direct3D keeps whichever way the rows run: under D3DCULL_CCW the triangle
        // that turns clockwise on the screen (y down) at x = 300, under D3DCULL_CW the other one at x = 340.
        device->SetTexture(0, nullptr);
        blend(false);
        D3DMATRIX world = identity();
        device->SetTransform(D3DTS_WORLD, &world);
        for (uint32_t cull : {uint32_t(D3DCULL_CCW), uint32_t(D3DCULL_CW)}) {
            device->SetRenderState(D3DRS_CULLMODE, cull);
            const float y = cull == D3DCULL_CCW ? 20.0f : 60.0f;
            Vertex faces[6] = {{300, -y, 0, 0xFFFF0000u, 0, 0},      {330, -y, 0, 0xFFFF0000u, 0, 0},
                               {300, -y - 30, 0, 0xFFFF0000u, 0, 0}, {340, -y, 0, 0xFF00FF00u, 0, 0},
                               {340, -y - 30, 0, 0xFF00FF00u, 0, 0}, {370, -y, 0, 0xFF00FF00u, 0, 0}};
            ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, faces, sizeof(Vertex)), D3D_OK);
        }
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        frames[inWindow] = backBuffer();
        EXPECT_EQ(pixel(frames[inWindow], 305, 25), 0xFF0000u);
        EXPECT_NE(pixel(frames[inWindow], 345, 25), 0x00FF00u);
        EXPECT_NE(pixel(frames[inWindow], 305, 65), 0xFF0000u);
        EXPECT_EQ(pixel(frames[inWindow], 345, 65), 0x00FF00u);
        ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        presented[inWindow] = backBuffer();
    }
    int differing = 0;
    for (size_t i = 0; i < frames[0].size(); ++i) differing += frames[0][i] != frames[1][i];
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(presented[0], frames[0]);
    EXPECT_EQ(presented[1], frames[1]) << "the window's swap keeps the back buffer on this renderer";
}

TEST_F(GLDevice, BackBufferLeavesTheWindowWhenItMustOutliveThePresentOrTheWindowDiffers) {
    fill(0, 0, 800, 600, 0xFF203040u);
    fill(10, 20, 50, 40, 0xFFC08000u);
    const std::vector<uint32_t> frame = backBuffer();
    EXPECT_TRUE(device->backBufferInWindow());
    // A window of another size shows the back buffer scaled: it moves out at the present, the frame with it.
    SDL_SetWindowSize(window, 700, 480);
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_FALSE(device->backBufferInWindow());
    EXPECT_EQ(backBuffer(), frame);
    // The next present scales it into the window between black bars 30 pixels wide (read from the window's
    // framebuffer; the device binds what it reads each time).
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    auto bindFramebuffer = reinterpret_cast<void (*)(GLenum, GLuint)>(SDL_GL_GetProcAddress("glBindFramebuffer"));
    bindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    uint32_t row[700];
    glReadPixels(0, 240, 700, 1, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, row);
    EXPECT_EQ(row[29] & 0xFFFFFFu, 0u);
    EXPECT_EQ(row[30] & 0xFFFFFFu, 0x203040u);
    EXPECT_EQ(row[669] & 0xFFFFFFu, 0x203040u);
    EXPECT_EQ(row[670] & 0xFFFFFFu, 0u);
    SDL_SetWindowSize(window, 800, 600);
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_TRUE(device->backBufferInWindow());
    EXPECT_EQ(backBuffer(), frame);
    // COPY promises the contents after every present: the back buffer stays apart.
    D3DPRESENT_PARAMETERS copy = parameters;
    copy.SwapEffect = D3DSWAPEFFECT_COPY;
    ASSERT_EQ(device->Reset(&copy), D3D_OK);
    EXPECT_FALSE(device->backBufferInWindow());
    ASSERT_EQ(device->Reset(&parameters), D3D_OK);
    EXPECT_TRUE(device->backBufferInWindow());
}

TEST_F(GLDevice, ResetResizesTheBackBuffer) {
    D3DPRESENT_PARAMETERS larger = parameters;
    larger.BackBufferWidth = 1024;
    larger.BackBufferHeight = 768;
    ASSERT_EQ(device->Reset(&larger), D3D_OK);
    D3DVIEWPORT8 viewport;
    device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 1024u);
    EXPECT_EQ(viewport.Height, 768u);
    D3DVIEWPORT8 corner = {1000, 700, 24, 68, 0, 1};
    ASSERT_EQ(device->SetViewport(&corner), D3D_OK);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0080FFu, 1.0f, 0);
    IDirect3DSurface8* back = nullptr;
    device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back);
    D3DSURFACE_DESC desc;
    back->GetDesc(&desc);
    EXPECT_EQ(desc.Width, 1024u);
    EXPECT_EQ(desc.Height, 768u);
    EXPECT_EQ(desc.Format, D3DFMT_X8R8G8B8);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(back->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(locked.Pitch, 4096);
    auto at = [&](int x, int y) {
        return reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch)[x] & 0xFFFFFFu;
    };
    EXPECT_EQ(at(1023, 767), 0x0080FFu);
    EXPECT_EQ(at(1000, 700), 0x0080FFu);
    EXPECT_EQ(at(999, 767), 0u);
    back->UnlockRect();
    back->Release();
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

TEST_F(GLDevice, FullScreenLossAndResetWithTheWindow) {
    IDirect3DTexture8* picture = makeTexture(8, 8, D3DFMT_A8R8G8B8, [](uint32_t, uint32_t) { return 0xFFAA5500u; });
    D3DPRESENT_PARAMETERS full = parameters;
    full.Windowed = false;
    full.SwapEffect = D3DSWAPEFFECT_COPY;
    full.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_ONE;
    ASSERT_EQ(device->Reset(&full), D3D_OK);
    SDL_ShowWindow(window);
    SDL_PumpEvents();
    EXPECT_NE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN, 0u);
    SDL_DisplayMode desktop;
    SDL_GetDesktopDisplayMode(0, &desktop);
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    EXPECT_EQ(w, desktop.w);
    EXPECT_EQ(h, desktop.h);
    D3D8PresentArea area = device->presentArea();
    D3D8PresentArea expected = letterboxArea(800, 600, desktop.w, desktop.h);
    EXPECT_EQ(area.x, expected.x);
    EXPECT_EQ(area.width, expected.width);

    foreground = false;
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device->Reset(&full), D3DERR_DEVICELOST);
    foreground = true;
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    ASSERT_EQ(device->Reset(&parameters), D3D_OK);
    EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN, 0u);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);

    // The managed picture survived and draws again.
    engineStates();
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    device->SetTexture(0, picture);
    blit(0, 0, 8, 8, 50, 60, 8, 8);
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(pixel(backBuffer(), 53, 63), 0xAA5500u);
    device->SetTexture(0, nullptr);
    picture->Release();
}

} // namespace
