// The OpenGL picture back end without an OpenGL window (as in the game, which never opens one): the factory
// makes it for kind 1, it sits in its class list, uploads fail and every drawing call does nothing.
#include "KBatchGL.h"
#include "KGraphicFactory.h"
#include "KGraphicGL.h"

#include <gtest/gtest.h>
#include <memory>

TEST(KGraphicGL, FactoryMakesItForKindOne) {
    int saved = RendererKind;
    RendererKind = K_RENDERER_OPENGL;
    std::unique_ptr<KGraphic> picture(createGraphic());
    RendererKind = saved;
    ASSERT_NE(dynamic_cast<KGraphicGL*>(picture.get()), nullptr);
    EXPECT_EQ(KGraphicGL::list().tail, picture.get());
    picture.reset();
    EXPECT_EQ(KGraphicGL::list().count, 0);
}

TEST(KGraphicGL, WithoutAWindowNothingUploadsOrDraws) {
    KGraphicGL picture;
    uint32_t pixels[4] = {0xFFFFFFFFu, 0, 0, 0xFFFFFFFFu};
    EXPECT_FALSE(picture.makePictureFromPixels(pixels, 2, 2, true, true));
    EXPECT_EQ(picture.getTextureCount(), 0);
    EXPECT_FALSE(picture.makeRenderTarget(64, 64, true, true, false));
    EXPECT_FALSE(picture.grabBackBuffer());
    EXPECT_FALSE(picture.isRenderTargetLost());
    EXPECT_FALSE(picture.loadPictureFromMemory("a.png", nullptr, 0, true, true, false, K_LOAD_UPLOAD_KEPT));
    EXPECT_FALSE(picture.loadPictureFromMemory("a.png", nullptr, 0, true, true, false, 3));
    // Kept pixels stay, so the picture is made once a window is there.
    picture.reloadPicture();
    picture.blitRect(0, 0, 2, 2, 0, 0);
    picture.blitAlphaRectFx(0, 0, 2, 2, 0, 0, 45, 2, 1);
    picture.blitSplicedAlphaRect(0, 0, 2, 2, 0, 0, 0, 1, 1);
    picture.blitArbitraryQuad(0, 0, 2, 0, 2, 2, 0, 2, 0, 0, 2, 0, 2, 2, 0, 2);
    picture.fillRect(0, 0, 10, 10, 1, 1, 1, 1);
    picture.drawLine(0, 0, 10, 10, 1, 1, 1, 1);
    picture.plotPixel(1, 1, 1, 1, 1, 1);
    picture.blitAlphaRectMasked(0, 0, 2, 2, &picture, 0, 0, 2, 2, 0, 0, 2, 2);
    KBatchGL batch(4);
    picture.drawBatchTransformed(&batch, 1, 0, 0, 0, 1, 0);
    picture.beginRenderToTarget();
    picture.endRenderToTarget();
    picture.setLinearFiltering(true);
    picture.setMipmapping(true);
    picture.setTextureWrap(K_WRAP_REPEAT);
    picture.setBlitColor(2, -1, 0.5f, 1);
    EXPECT_EQ(picture.getWidth(), 2);
    EXPECT_EQ(picture.getHeight(), 2);
}

TEST(KBatchGL, VerticesKeepTheirValuesAndIgnoreBadIndices) {
    KBatchGL batch(3);
    EXPECT_EQ(KBatchGL::list().count, 1);
    batch.setVertex(1, 10, 20, 0.5f, 0.25f, 1, 0.5f, 0, 1);
    batch.setVertex(3, 1, 1, 1, 1, 1, 1, 1, 1);
    batch.setVertex(-1, 1, 1, 1, 1, 1, 1, 1, 1);
    EXPECT_EQ(batch.positions()[2], 10);
    EXPECT_EQ(batch.positions()[3], -20); // y negated for the drawing transform
    EXPECT_EQ(batch.texCoords()[3], 0.25f);
    EXPECT_EQ(batch.colors()[5], 0.5f);
    EXPECT_EQ(batch.colors()[0], 1); // untouched vertices are white
    KBatchGL empty(-5);
    EXPECT_EQ(empty.getVertexCount(), 0);
}
