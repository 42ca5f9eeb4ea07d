// Drawing benchmark of the Direct3D 8 stand-in (run by hand, not a test): a typical frame of the game drawn
// the way the picture code draws it, 1,500 alpha-blended blits from 8 pictures (some rotated and zoomed),
// 500 additive particles and 20 filled rectangles at 800 x 600. Prints the median milliseconds per frame
// (draw submission plus finish) and the OpenGL draw calls per frame. Usage: d3d8_benchmark [frames]
#include "HostD3D8.h"

#include <SDL.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Vertex {
    float x, y, z;
    uint32_t color;
    float u, v;
};

const D3DMATRIX kIdentity = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};

struct Picture {
    IDirect3DTexture8* texture;
    float size;
};

class Frame {
public:
    explicit Frame(IDirect3DDevice8* d) : device(d) {}

    void blit(const Picture& p, float sx, float sy, float w, float h, float dx, float dy, float angle, float zoom,
              uint32_t color) {
        bind(p.texture);
        float x0 = dx - 0.5f, y0 = 0.5f - dy;
        if (angle != 0 || zoom != 1) {
            // The rotate-zoom world of the picture code: about the centre of the destination rectangle.
            float cx = w / 2, cy = h / 2, r = angle * 3.1415927f / 180;
            D3DMATRIX world = kIdentity;
            world.m[0][0] = std::cos(r) * zoom;
            world.m[0][1] = std::sin(r) * zoom;
            world.m[1][0] = -std::sin(r) * zoom;
            world.m[1][1] = std::cos(r) * zoom;
            world.m[3][0] = dx + cx - 0.5f;
            world.m[3][1] = 0.5f - (dy + cy);
            device->SetTransform(D3DTS_WORLD, &world);
            worldIsIdentity = false;
            x0 = -cx;
            y0 = cy;
        } else if (!worldIsIdentity) {
            device->SetTransform(D3DTS_WORLD, &kIdentity);
            worldIsIdentity = true;
        }
        float s = p.size;
        Vertex quad[4] = {{x0, y0, 0, color, sx / s, sy / s},
                          {x0 + w, y0, 0, color, (sx + w) / s, sy / s},
                          {x0, y0 - h, 0, color, sx / s, (sy + h) / s},
                          {x0 + w, y0 - h, 0, color, (sx + w) / s, (sy + h) / s}};
        draw(quad);
    }
    void fill(float x1, float y1, float x2, float y2, uint32_t color) {
        bind(nullptr);
        if (!worldIsIdentity) {
            device->SetTransform(D3DTS_WORLD, &kIdentity);
            worldIsIdentity = true;
        }
        Vertex quad[4] = {
            {x1, -y1, 0, color, 0, 0}, {x2, -y1, 0, color, 0, 0}, {x1, -y2, 0, color, 0, 0}, {x2, -y2, 0, color, 0, 0}};
        draw(quad);
    }
    void blend(uint32_t src, uint32_t dest) {
        if (src == srcBlend && dest == destBlend) return;
        device->SetRenderState(D3DRS_SRCBLEND, src);
        device->SetRenderState(D3DRS_DESTBLEND, dest);
        srcBlend = src;
        destBlend = dest;
    }

private:
    // Only changes reach the device, as with the picture code's state cache.
    void bind(IDirect3DTexture8* texture) {
        if (texture == bound) return;
        device->SetTexture(0, texture);
        bound = texture;
    }
    void draw(const Vertex* quad) {
        if (device->TestCooperativeLevel() != D3D_OK) return;
        device->SetVertexShader(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1);
        device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
    }

    IDirect3DDevice8* device;
    IDirect3DTexture8* bound = nullptr;
    bool worldIsIdentity = true;
    uint32_t srcBlend = 0, destBlend = 0;
};

Picture makePicture(IDirect3DDevice8* device, uint32_t size, uint32_t seed) {
    IDirect3DTexture8* texture = nullptr;
    if (device->CreateTexture(size, size, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture) != D3D_OK) std::exit(1);
    D3DLOCKED_RECT locked;
    texture->LockRect(0, &locked, nullptr, D3DLOCK_NOSYSLOCK);
    for (uint32_t y = 0; y < size; ++y)
        for (uint32_t x = 0; x < size; ++x) {
            uint32_t alpha = ((x / 4 + y / 4 + seed) % 3 == 0) ? 0 : 255;
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch)[x] =
                alpha << 24 | ((x * 7 + seed * 40) & 0xFF) << 16 | ((y * 5) & 0xFF) << 8 | (seed * 30 & 0xFF);
        }
    texture->UnlockRect(0);
    return {texture, float(size)};
}

} // namespace

int main(int argc, char** argv) {
    int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    SDL_Window* window = SDL_CreateWindow("benchmark", 0, 0, 800, 600, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    IDirect3D8* d3d = window ? Direct3DCreate8(D3D_SDK_VERSION) : nullptr;
    if (!d3d) {
        std::fprintf(stderr, "no OpenGL\n");
        return 1;
    }
    D3DPRESENT_PARAMETERS parameters;
    parameters.BackBufferWidth = 800;
    parameters.BackBufferHeight = 600;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.hDeviceWindow = window;
    IDirect3DDevice8* device = nullptr;
    if (d3d->CreateDevice(0, D3DDEVTYPE_HAL, window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &device) !=
        D3D_OK)
        return 1;
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_LIGHTING, 0);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetTextureStageState(0, D3DTSS_ADDRESSV, D3DTADDRESS_CLAMP);
    D3DMATRIX projection = kIdentity, view = kIdentity;
    projection.m[0][0] = 2.0f / 800;
    projection.m[1][1] = 2.0f / 600;
    view.m[3][0] = -400;
    view.m[3][1] = 300;
    device->SetTransform(D3DTS_PROJECTION, &projection);
    device->SetTransform(D3DTS_VIEW, &view);

    // Seven sheets of tiles and sprites and one particle picture.
    std::vector<Picture> pictures;
    for (uint32_t i = 0; i < 7; ++i) pictures.push_back(makePicture(device, i < 4 ? 256 : 128, i));
    Picture particle = makePicture(device, 32, 9);

    std::vector<double> times, submission, presenting;
    uint64_t glCalls = 0;
    for (int f = 0; f < frames + 10; ++f) {
        device->resetCounters();
        auto start = std::chrono::steady_clock::now();
        device->BeginScene();
        Frame frame(device);
        uint32_t seed = 1;
        auto next = [&seed](uint32_t range) {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 16) % range;
        };
        // Layers and entities: runs of blits from one sheet, every tenth one rotated and zoomed.
        frame.blend(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
        for (int i = 0; i < 1500; ++i) {
            const Picture& p = pictures[(i / 60) % 7];
            bool turned = i % 10 == 0;
            float size = float(32 + 16 * next(3));
            frame.blit(p, float(next(4)) * 32, float(next(4)) * 32, size, size, float(next(780)), float(next(580)),
                       turned ? float(next(360)) : 0, turned ? 0.5f + float(next(10)) / 10 : 1, 0xFFFFFFFFu);
        }
        // Particles, additive.
        frame.blend(D3DBLEND_SRCALPHA, D3DBLEND_ONE);
        for (int i = 0; i < 500; ++i)
            frame.blit(particle, 0, 0, 16, 16, float(next(790)), float(next(590)), float(next(360)),
                       0.5f + float(next(10)) / 10, 0x80FFFFFFu);
        // Panels of the interface.
        frame.blend(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
        for (int i = 0; i < 20; ++i) {
            float x = float(next(700)), y = float(next(560));
            frame.fill(x, y, x + 100, y + 24, 0x80203040u);
        }
        device->EndScene();
        auto submitted = std::chrono::steady_clock::now();
        device->finish();
        auto end = std::chrono::steady_clock::now();
        device->Present(nullptr, nullptr, nullptr, nullptr);
        device->finish();
        auto presented = std::chrono::steady_clock::now();
        if (f >= 10) {
            presenting.push_back(std::chrono::duration<double, std::milli>(presented - end).count());
            times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
            submission.push_back(std::chrono::duration<double, std::milli>(submitted - start).count());
            glCalls = device->glDrawCalls();
        }
    }
    std::sort(times.begin(), times.end());
    std::sort(submission.begin(), submission.end());
    std::sort(presenting.begin(), presenting.end());
    std::printf("%d frames of 2,020 draws: median %.2f ms per frame (fastest %.2f, slowest %.2f), %llu GL draw "
                "calls per frame; submission alone %.2f ms; present %.2f ms\n",
                frames, times[times.size() / 2], times.front(), times.back(), (unsigned long long)glCalls,
                submission[submission.size() / 2], presenting[presenting.size() / 2]);
    for (Picture& p : pictures) p.texture->Release();
    particle.texture->Release();
    device->SetTexture(0, nullptr);
    device->Release();
    d3d->Release();
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
