// The renderer factory's kinds, the recording switch, and the shared blend and colour tables.
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
struct KindGuard {
    int saved = RendererKind;
    ~KindGuard() { RendererKind = saved; }
};
} // namespace

TEST(KGraphicFactory, KindsWithoutBackEndGiveNoObject) {
    KindGuard guard;
    for (int kind : {-1, 2, 4, 99}) {
        RendererKind = kind;
        EXPECT_EQ(createGraphic(), nullptr) << "kind " << kind;
    }
}

TEST(KGraphicFactory, RecordingWinsOverTheKind) {
    KindGuard guard;
    RendererKind = -1;
    {
        ScopedGraphicRecording recording;
        std::unique_ptr<KGraphic> picture(createGraphic());
        ASSERT_NE(picture, nullptr);
        EXPECT_NE(dynamic_cast<KGraphicRecorder*>(picture.get()), nullptr);
    }
    EXPECT_FALSE(ScopedGraphicRecording::isOn());
    EXPECT_EQ(createGraphic(), nullptr);
}

TEST(KGraphicTables, BlendPresetsAndUnknownNumbers) {
    struct Case {
        int mode, source, dest;
    } cases[] = {{0, K_FACTOR_SRC_ALPHA, K_FACTOR_ONE},           {4, K_FACTOR_SRC_ALPHA, K_FACTOR_ONE},
                 {1, K_FACTOR_SRC_ALPHA, K_FACTOR_INV_SRC_ALPHA}, {2, K_FACTOR_ONE, K_FACTOR_INV_SRC_ALPHA},
                 {3, K_FACTOR_ZERO, K_FACTOR_INV_SRC_ALPHA},      {5, K_FACTOR_ZERO, K_FACTOR_SRC_COLOR}};
    KGraphicRecorder picture;
    for (const Case& c : cases) {
        picture.setBlendMode(c.mode);
        EXPECT_EQ(picture.getSourceFactor(), c.source) << "mode " << c.mode;
        EXPECT_EQ(picture.getDestFactor(), c.dest) << "mode " << c.mode;
    }
    picture.setBlendMode(6); // no preset: the factors of mode 5 stay
    EXPECT_EQ(picture.getSourceFactor(), K_FACTOR_ZERO);
    EXPECT_EQ(picture.getDestFactor(), K_FACTOR_SRC_COLOR);

    picture.setBlendFactors(11, -1);
    EXPECT_EQ(picture.getSourceFactor(), K_FACTOR_SRC_ALPHA);
    EXPECT_EQ(picture.getDestFactor(), K_FACTOR_ONE);

    picture.setTextureWrap(K_WRAP_MIRROR);
    picture.setTextureWrap(3);
    EXPECT_EQ(picture.getTextureWrap(), K_WRAP_MIRROR);

    picture.setBlitColor(1.5f, -0.2f, 0.25f, 1.0f);
    EXPECT_FLOAT_EQ(picture.blitColor()[0], 1.0f);
    EXPECT_FLOAT_EQ(picture.blitColor()[1], 0.0f);
    EXPECT_FLOAT_EQ(picture.blitColor()[2], 0.25f);
}

TEST(KGraphicRecorder, RecordsCallsWithTheirSettingsAndKeepsPixels) {
    KGraphicRecorder::clearCalls();
    KGraphicRecorder recorder;
    KGraphic& picture = recorder; // callers use the interface, which carries the default arguments
    uint32_t pixels[6] = {1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(picture.makePictureFromPixels(pixels, 3, 2, true, true));
    EXPECT_EQ(picture.getWidth(), 3);
    EXPECT_EQ(picture.getHeight(), 2);
    EXPECT_EQ(picture.getTextureWidth(), 4);
    EXPECT_EQ(recorder.pixels(), std::vector<uint32_t>(pixels, pixels + 6));

    picture.setBlitColor(0.5f, 1, 1, 1);
    picture.blitAlphaRectFxF(1, 2, 3, 4, 10.5f, 20, 0, 1, 0.75f);
    ASSERT_EQ(KGraphicRecorder::calls().size(), 1u);
    const RecordedDraw& call = KGraphicRecorder::calls()[0];
    EXPECT_EQ(call.picture, &recorder);
    EXPECT_EQ(call.operation, "blitAlphaRectFxF");
    EXPECT_EQ(call.args, (std::vector<float>{1, 2, 3, 4, 10.5f, 20, 0, 1, 0.75f, 0, 0, 0, 0}));
    EXPECT_FLOAT_EQ(call.color[0], 0.5f);
    KGraphicRecorder::clearCalls();
}

TEST(KGraphicRecorder, LoadingKinds) {
    KGraphicRecorder recorder;
    KGraphic& picture = recorder;
    const unsigned char png[24] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13,
                                   'I',  'H', 'D', 'R', 0,    0,    1,    0x2C, 0, 0, 0, 0x40};
    EXPECT_FALSE(picture.loadPictureFromMemory("a.png", png, sizeof png, true, true, false, K_LOAD_UPLOAD_KEPT));
    EXPECT_FALSE(picture.loadPictureFromMemory("a.png", png, sizeof png, true, true, false, 3));
    ASSERT_TRUE(picture.loadPictureFromMemory("a.png", png, sizeof png, true, true, false, K_LOAD_DECODE_ONLY));
    EXPECT_FALSE(recorder.hasPicture());
    ASSERT_TRUE(picture.loadPictureFromMemory("a.png", nullptr, 0, true, true, false, K_LOAD_UPLOAD_KEPT));
    EXPECT_TRUE(recorder.hasPicture());
    EXPECT_EQ(picture.getWidth(), 300);
    EXPECT_EQ(picture.getHeight(), 64);
}
