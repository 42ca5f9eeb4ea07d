// Pictures made through the renderer factory and drawn in the real game window (offscreen, Mesa): a device
// loss in the middle of a scene, recovered by the window's flip, leaves every picture drawable and gives the
// render targets back empty and marked lost.
#include "KGraphicD3D.h"
#include "KGraphicFactory.h"
#include "KWindowD3D.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

uint32_t texelOf(int x, int y) {
    return KImage::pack(uint32_t(x * 32 + 15), uint32_t(y * 32 + 15), 90, 255);
}

struct KindGuard {
    int saved = RendererKind;
    KindGuard() { RendererKind = K_RENDERER_DIRECT3D8; }
    ~KindGuard() { RendererKind = saved; }
};

// True when the 8 x 8 test picture shows texel for texel at (x, y) of the frame.
bool showsPicture(KWindowD3D& window, int x, int y) {
    KImage frame;
    if (!window.copyBackBufferToImage(800, 600, frame)) return false;
    for (int ty = 0; ty < 8; ty++)
        for (int tx = 0; tx < 8; tx++)
            if (frame.getPixel(x + tx, y + ty) != texelOf(tx, ty)) return false;
    return true;
}

} // namespace

TEST(KGraphicD3DInWindow, DeviceLossMidSceneIsRecoveredAndPicturesDrawAgain) {
    KindGuard kind;
    KWindowD3D window;
    if (!window.createGameWindow(800, 600, 32, /*windowed=*/true, "Glimmerfin test")) GTEST_SKIP() << "no window";
    window.setDefaultWorldView();

    std::unique_ptr<KGraphic> picture(createGraphic());
    ASSERT_NE(dynamic_cast<KGraphicD3D*>(picture.get()), nullptr);
    std::vector<uint32_t> pixels(64);
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++) pixels[size_t(y) * 8 + size_t(x)] = texelOf(x, y);
    ASSERT_TRUE(picture->makePictureFromPixels(pixels.data(), 8, 8, true, true));
    std::unique_ptr<KGraphic> target(createGraphic());
    ASSERT_TRUE(target->makeRenderTarget(32, 32, true, false, false));
    target->beginRenderToTarget();
    picture->blitRect(0, 0, 8, 8, 4, 4);
    target->endRenderToTarget();

    picture->blitRect(0, 0, 8, 8, 100, 100);
    target->blitRect(0, 0, 32, 32, 300, 100);
    EXPECT_TRUE(showsPicture(window, 100, 100));
    EXPECT_TRUE(showsPicture(window, 304, 104));
    window.flipBackBuffer();

    window.getD3DDevice()->simulateDeviceLost();
    picture->blitRect(0, 0, 8, 8, 200, 100); // lost in the middle of the scene: not drawn
    EXPECT_TRUE(window.isD3DDeviceLost());
    for (int frame = 0; frame < 10 && window.isD3DDeviceLost(); frame++) window.flipBackBuffer();
    ASSERT_FALSE(window.isD3DDeviceLost());

    EXPECT_TRUE(target->isRenderTargetLost());
    EXPECT_FALSE(target->isRenderTargetLost());
    target->beginRenderToTarget();
    picture->blitRect(0, 0, 8, 8, 10, 10);
    target->endRenderToTarget();
    picture->blitRect(0, 0, 8, 8, 200, 100);
    target->blitRect(0, 0, 32, 32, 300, 100);
    EXPECT_TRUE(showsPicture(window, 200, 100));
    EXPECT_TRUE(showsPicture(window, 310, 110));
    window.flipBackBuffer();
    target.reset();
    picture.reset();
}
