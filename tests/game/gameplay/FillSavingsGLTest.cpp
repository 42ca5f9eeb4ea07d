// The fill savings leave every pixel as it was: the main menu, the level select and each shipped level (a test
// of its own) are played twice the same way (seeded, scripted input, a fixed step), once with the savings
// (tiles hidden under the tiles drawn over them left out, the back buffer in the window's own framebuffer) and
// once with the plain draw, and the frames read back at the same passes are identical. The shipped levels'
// tiles fill the whole game area, so the black fill of what no tile covers draws nothing in them.
#include "../framework/SteadyShell.h"
#include "Camera.h"
#include "ShippedLevelFiles.h"
#include "TileOcclusion.h"

#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace {

using namespace steady_play;

constexpr int kPasses = 120;

// The frames kept from one run of a scene and what the device drew for them.
struct PlayedScene {
    std::vector<std::vector<uint32_t>> frames; // 0xAARRGGBB, row 0 = top
    uint64_t drawPrimitiveCalls = 0;
    bool backBufferInWindow = false;
    uint64_t uncoveredPixels = 0; // summed over the passes: where no tile fills the game area
};

class FillSavings : public SteadyShell {
protected:
    void TearDown() override {
        setTileOcclusion(true);
        SteadyShell::TearDown();
    }

    // The scene entered afresh and played for kPasses passes; the frames of every 40th pass are kept.
    PlayedScene play(const Scene& scene, bool savings) {
        setTileOcclusion(savings);
        device()->allowBackBufferInWindow(savings);
        PlayedScene run;
        run.backBufferInWindow = device()->backBufferInWindow();
        EXPECT_TRUE(enterScene(scene, steadyPass)) << scene.name();
        device()->resetCounters();
        for (int pass = 1; pass <= kPasses; pass++) {
            scriptInput(scene, pass);
            steadyUpdate();
            drawFrame();
            if (const TileOcclusion* plan = savings ? planTileOcclusion(getCameraX(), getCameraY()) : nullptr)
                for (const ScreenRect& r : plan->uncoveredRects())
                    run.uncoveredPixels += uint64_t(r.right - r.left) * uint64_t(r.bottom - r.top);
            if (pass % 40 == 0) run.frames.push_back(backBufferPixels());
            gameWindow->flipBackBuffer(/*waitForForeground=*/false);
        }
        run.drawPrimitiveCalls = device()->drawPrimitiveCalls();
        return run;
    }

    // Plays the scene with the savings and with the plain draw and holds their frames to be the same.
    void expectSamePixels(const Scene& scene) {
        SCOPED_TRACE(scene.name());
        const PlayedScene saving = play(scene, /*savings=*/true), plain = play(scene, /*savings=*/false);
        EXPECT_TRUE(saving.backBufferInWindow);
        EXPECT_FALSE(plain.backBufferInWindow);
        if (scene.kind == kSceneLevel) {
            EXPECT_LT(saving.drawPrimitiveCalls * 10, plain.drawPrimitiveCalls * 8) << "hidden tiles are left out";
            // So the black fill under the layers draws nothing, and the level looks as it did without it.
            EXPECT_EQ(saving.uncoveredPixels, 0u) << "the level's tiles fill the whole game area";
        }
        ASSERT_EQ(saving.frames.size(), plain.frames.size());
        for (size_t f = 0; f < plain.frames.size(); f++) {
            const std::vector<uint32_t>&a = saving.frames[f], &b = plain.frames[f];
            size_t differing = 0, first = 0;
            for (size_t i = 0; i < a.size(); i++)
                if ((a[i] ^ b[i]) & 0xFFFFFFu && differing++ == 0) first = i;
            EXPECT_EQ(differing, 0u) << "frame " << f << ", first at (" << first % kGameWidth << ", "
                                     << first / kGameWidth << ")";
            std::set<uint32_t> colours(b.begin(), b.end());
            EXPECT_GT(colours.size(), 200u) << "frame " << f << " is a picture, not a blank frame";
        }
    }
};

class FillSavingsLevel : public FillSavings, public testing::WithParamInterface<std::string> {};

TEST_F(FillSavings, MenusDrawTheSamePixelsAsThePlainDraw) {
    expectSamePixels({kSceneMainMenu});
    expectSamePixels({kSceneLevelSelect});
}

// Each shipped level, a test of its own.
TEST_P(FillSavingsLevel, DrawsTheSamePixelsAsThePlainDraw) {
    int32_t kind = 0, index = 0;
    std::string error;
    ASSERT_TRUE(findShippedLevel(GetParam(), kind, index, error)) << error;
    expectSamePixels({kSceneLevel, kind, index});
}

INSTANTIATE_TEST_SUITE_P(Shipped, FillSavingsLevel, testing::ValuesIn(shippedLevelFiles()), shippedLevelTestName);

} // namespace
