// The Direct3D 9 picture back end drawing through the Direct3D 9 facade over the OpenGL device stand-in (Mesa,
// offscreen), read back from the back buffer: loading and texel-exact blits, the transformed blits, quads and
// batches, blending, a render target drawn into, read back and drawn, the back buffer grabbed into a picture, and a
// device reset in the middle of a scene.
#include "KGraphicD3D9.h"

#include "BackBufferPixels.h"
#include "D3D9TestWindow.h"
#include "KBatchD3DCore.h"
#include "KResource.h"
#include "TempFolder.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

class KGraphicD3D9GLTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<D3D9TestWindow>(/*recording=*/false);
        if (!window->ok()) GTEST_SKIP() << "no OpenGL device";
        // The test picture goes through a PNG file, so loading is part of every draw checked.
        KImage image;
        image.allocate(8, 8, true);
        for (int y = 0; y < 8; y++)
            for (int x = 0; x < 8; x++) image.getPixels()[y * 8 + x] = testTexel(x, y);
        unsigned char* bytes = nullptr;
        size_t size = 0;
        ASSERT_TRUE(KImage::encode(K_IMAGE_PNG, bytes, size, image));
        std::string path = folder.write("test.png", std::string(reinterpret_cast<char*>(bytes), size));
        delete[] bytes;
        picture = std::make_unique<KGraphicD3D9>();
        ASSERT_TRUE(picture->loadPicture(path.c_str(), true, true));
    }
    void TearDown() override {
        picture.reset();
        window.reset();
    }
    std::unique_ptr<KGraphicD3D9> solid(int w, int h, uint32_t pixel) {
        auto made = std::make_unique<KGraphicD3D9>();
        std::vector<uint32_t> pixels(size_t(w) * size_t(h), pixel);
        EXPECT_TRUE(made->makePictureFromPixels(pixels.data(), w, h, true, true));
        return made;
    }
    void expectTexelAt(int x, int y, int tx, int ty) {
        EXPECT_EQ(hex(window->pixel(x, y)), hex(asBackBuffer(testTexel(tx, ty))))
            << "pixel " << x << "," << y << " texel " << tx << "," << ty;
    }

    TempFolder folder;
    std::unique_ptr<D3D9TestWindow> window;
    std::unique_ptr<KGraphicD3D9> picture;
};

} // namespace

TEST_F(KGraphicD3D9GLTest, BlitsLandTexelExact) {
    static const KGraphicColor white;
    static const KBatchVertex strip[4] = {{0, 0, 0, 0xFFFFFFFFu, 0, 0},
                                          {16, 0, 0, 0xFFFFFFFFu, 1, 0},
                                          {0, -16, 0, 0xFFFFFFFFu, 0, 1},
                                          {16, -16, 0, 0xFFFFFFFFu, 1, 1}};
    struct Case {
        const char* name;
        std::function<void(KGraphicD3D9&)> draw;
        std::function<void(int tx, int ty, int& x, int& y)> place; // back-buffer pixel of texel (tx, ty)
    } cases[] = {
        {"opaque blit", [](KGraphicD3D9& g) { g.blitRect(0, 0, 8, 8, 100, 100); },
         [](int tx, int ty, int& x, int& y) { x = 100 + tx, y = 100 + ty; }},
        {"flip x", [](KGraphicD3D9& g) { g.blitAlphaRect(0, 0, 8, 8, 100, 100, true, false); },
         [](int tx, int ty, int& x, int& y) { x = 107 - tx, y = 100 + ty; }},
        {"rotated 90 counter-clockwise", [](KGraphicD3D9& g) { g.blitAlphaRectFxF(0, 0, 8, 8, 100, 100, 90, 1, 1); },
         [](int tx, int ty, int& x, int& y) { x = 100 + ty, y = 107 - tx; }},
        {"zoom 2 x, 3 y", [](KGraphicD3D9& g) { g.blitAlphaRectFxXY(0, 0, 8, 8, 100, 100, 0, 2, 3, 1); },
         [](int tx, int ty, int& x, int& y) { x = 96 + 2 * tx, y = 92 + 3 * ty + 2; }},
        {"stretched 2 x 2", [](KGraphicD3D9& g) { g.stretchAlphaRect(0, 0, 8, 8, 200, 200, 216, 216); },
         [](int tx, int ty, int& x, int& y) { x = 200 + 2 * tx, y = 200 + 2 * ty + 1; }},
        {"affine: translate and scale x by 3",
         [](KGraphicD3D9& g) { g.blitAlphaRectAffine(0, 0, 8, 8, 3, 0, 300, 0, 1, 50, 1); },
         [](int tx, int ty, int& x, int& y) { x = 300 + 3 * tx + 1, y = 50 + ty; }},
        {"transformed with corner colours, white",
         [](KGraphicD3D9& g) {
             g.blitTransformedEx(0, 0, 8, 8, 2, 0, 400, 0, 2, 60, 1, &white, &white, &white, &white);
         },
         [](int tx, int ty, int& x, int& y) { x = 400 + 2 * tx + 1, y = 60 + 2 * ty + 1; }},
        {"transformed quad onto a 16 x 16 square",
         [](KGraphicD3D9& g) {
             g.drawTransformedEx(0, 0, 8, 8, 1, 0, 0, 0, 1, 0, 200, 300, 216, 300, 216, 316, 200, 316, 1, 1, 1, 1);
         },
         [](int tx, int ty, int& x, int& y) { x = 200 + 2 * tx + 1, y = 300 + 2 * ty + 1; }},
        {"batch strip moved to (500, 400)",
         [](KGraphicD3D9& g) {
             KBatchD3DVertices batch;
             batch.vertices = strip;
             batch.vertexCount = 4;
             g.drawBatchTransformed(&batch, 1, 0, 500, 0, 1, 400);
         },
         [](int tx, int ty, int& x, int& y) { x = 500 + 2 * tx + 1, y = 400 + 2 * ty + 1; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window->clear(0);
        c.draw(*picture);
        for (int ty = 0; ty < 8; ty++)
            for (int tx = 0; tx < 8; tx++) {
                int x, y;
                c.place(tx, ty, x, y);
                expectTexelAt(x, y, tx, ty);
            }
    }
}

TEST_F(KGraphicD3D9GLTest, BlendingAndCornerColours) {
    auto white = solid(4, 4, KImage::pack(255, 255, 255, 255));
    auto halfRed = solid(4, 4, KImage::pack(255, 0, 0, 128));
    const KGraphicColor green{0, 1, 0, 1}, blue{0, 0, 1, 1};
    struct Case {
        const char* name;
        uint32_t background;
        std::function<void()> draw;
        int x, y;
        uint32_t expected;
    } cases[] = {
        {"normal blend of half red over grey", rgb(100, 100, 100), [&] { halfRed->blitAlphaRect(0, 0, 4, 4, 10, 10); },
         11, 11, rgb(178, 50, 50)},
        {"additive blend of half red over grey", rgb(100, 100, 100),
         [&] {
             halfRed->setBlendMode(K_BLEND_ADDITIVE);
             halfRed->blitAlphaRect(0, 0, 4, 4, 10, 10);
             halfRed->setBlendMode(K_BLEND_NORMAL);
         },
         11, 11, rgb(228, 100, 100)},
        {"corner colours tint the texels", 0,
         [&] { white->blitTransformedEx(0, 0, 4, 4, 4, 0, 20, 0, 4, 20, 1, &green, &green, &green, &green); }, 25, 25,
         rgb(0, 255, 0)},
        {"the alpha argument scales the corners' alpha", 0,
         [&] { white->blitTransformedEx(0, 0, 4, 4, 4, 0, 20, 0, 4, 20, 0.5f, &blue, &blue, &blue, &blue); }, 25, 25,
         rgb(0, 0, 128)},
        {"transformed quad colour", 0,
         [&] { white->drawTransformedEx(0, 0, 4, 4, 1, 0, 0, 0, 1, 0, 30, 30, 40, 30, 40, 40, 30, 40, 1, 1, 0, 1); },
         35, 35, rgb(255, 255, 0)},
        {"fill rectangle", 0, [&] { white->fillRect(50, 50, 60, 60, 0, 0, 1, 0.5f); }, 55, 55, rgb(0, 0, 128)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window->clear(c.background);
        c.draw();
        uint32_t got = window->pixel(c.x, c.y);
        EXPECT_TRUE(near(got, c.expected, 2)) << hex(got) << " expected " << hex(c.expected);
    }
}

TEST_F(KGraphicD3D9GLTest, RenderTargetDrawnIntoReadBackAndDrawn) {
    KGraphicD3D9 target;
    ASSERT_TRUE(target.makeRenderTarget(64, 64, true, true, false));
    window->clearColor = 0;
    target.beginRenderToTarget();
    target.fillRect(0, 0, 32, 32, 1, 0, 0, 1);
    target.fillRect(32, 0, 64, 64, 0, 0, 1, 1);
    picture->blitRect(0, 0, 8, 8, 10, 40);
    target.endRenderToTarget();

    // Read back through GetRenderTargetData, in the same row order.
    KImage copy;
    target.copyToImage(&copy);
    ASSERT_EQ(copy.getWidth(), 64);
    EXPECT_EQ(copy.getPixel(1, 1), KImage::pack(255, 0, 0, 255));
    EXPECT_EQ(copy.getPixel(40, 1), KImage::pack(0, 0, 255, 255));
    EXPECT_EQ(copy.getPixel(13, 42), testTexel(3, 2));

    window->clear(rgb(50, 50, 50));
    target.blitRect(0, 0, 64, 64, 300, 300);
    EXPECT_EQ(hex(window->pixel(301, 301)), hex(rgb(255, 0, 0)));
    EXPECT_EQ(hex(window->pixel(340, 360)), hex(rgb(0, 0, 255)));
    for (int ty = 0; ty < 8; ty++)
        for (int tx = 0; tx < 8; tx++) expectTexelAt(310 + tx, 340 + ty, tx, ty);
    EXPECT_EQ(hex(window->pixel(364, 301)), hex(rgb(50, 50, 50)));
}

TEST_F(KGraphicD3D9GLTest, GrabbedBackBufferDrawsAsItWasRendered) {
    window->clear(rgb(20, 40, 60));
    picture->blitRect(0, 0, 8, 8, 100, 100);
    KGraphicD3D9 grabbed;
    ASSERT_TRUE(grabbed.grabBackBuffer());
    EXPECT_EQ(grabbed.getWidth(), 800);
    EXPECT_EQ(grabbed.getHeight(), 600);
    window->clear(0);
    grabbed.blitRect(96, 96, 112, 112, 500, 400);
    for (int ty = 0; ty < 8; ty++)
        for (int tx = 0; tx < 8; tx++) expectTexelAt(504 + tx, 404 + ty, tx, ty);
    EXPECT_EQ(hex(window->pixel(500, 400)), hex(rgb(20, 40, 60)));
}

TEST_F(KGraphicD3D9GLTest, DeviceResetMidSceneKeepsPicturesAndRebuildsTargets) {
    KGraphicD3D9 target;
    ASSERT_TRUE(target.makeRenderTarget(32, 32, true, false, false));
    target.beginRenderToTarget();
    target.fillRect(0, 0, 32, 32, 1, 1, 0, 1);
    target.endRenderToTarget();

    window->clear(0);
    picture->blitRect(0, 0, 8, 8, 100, 100);
    window->core()->simulateDeviceLost();
    picture->blitRect(0, 0, 8, 8, 200, 100); // lost: nothing drawn, the window's flag set
    EXPECT_TRUE(window->lost);
    EXPECT_EQ(hex(window->pixel(203, 103)), hex(rgb(0, 0, 0)));
    for (int i = 0; i < 10 && window->device->TestCooperativeLevel() != D3DERR_DEVICENOTRESET; i++) {
    }
    ASSERT_EQ(window->resetDevice(), D3D_OK);
    EXPECT_FALSE(window->lost);

    window->clear(0);
    picture->blitRect(0, 0, 8, 8, 200, 100);
    for (int ty = 0; ty < 8; ty++)
        for (int tx = 0; tx < 8; tx++) expectTexelAt(200 + tx, 100 + ty, tx, ty);
    ASSERT_TRUE(target.isRenderTargetLost());
    target.beginRenderToTarget();
    target.fillRect(0, 0, 32, 32, 0, 1, 1, 1);
    target.endRenderToTarget();
    target.blitRect(0, 0, 32, 32, 400, 100);
    EXPECT_EQ(hex(window->pixel(410, 110)), hex(rgb(0, 255, 255)));
}
