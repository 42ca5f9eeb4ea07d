// A level's play depends only on the level, the difficulty, the seed and the input: a level played right after
// start-up, played again after another level was left in the middle of its play, and played twice in a row draws
// the same frame at every pass, pixel for pixel. Levels of every mode take part, each a test of its own.
#include "../framework/SteadyShell.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace steady_play;

constexpr int kPasses = 120;
constexpr int kKeptEvery = 40;
// A level left in the middle of its play: the goal arrow showing, shots and particles flying, a trick under way.
constexpr int kLeftMidPlay = 60;

class ReproduciblePlay : public SteadyShell {
protected:

    // What one play drew: a digest of the frame of every pass, and the whole frame of every kKeptEvery-th.
    struct PlayedFrames {
        std::vector<uint64_t> digests;
        std::vector<std::vector<uint32_t>> kept;
    };

    // FNV-1a over the colour channels (the back buffer's alpha is not shown).
    static uint64_t digest(const std::vector<uint32_t>& pixels) {
        uint64_t h = 1469598103934665603ull;
        for (uint32_t pixel : pixels) h = (h ^ (pixel & 0xFFFFFFu)) * 1099511628211ull;
        return h;
    }

    // The level entered the way the player enters it and played by the scripted player.
    static PlayedFrames play(const Scene& scene, int passes = kPasses) {
        PlayedFrames run;
        EXPECT_TRUE(enterScene(scene, steadyPass)) << scene.name();
        for (int pass = 1; pass <= passes; pass++) {
            scriptInput(scene, pass);
            steadyUpdate();
            drawFrame();
            std::vector<uint32_t> frame = backBufferPixels();
            run.digests.push_back(digest(frame));
            if (pass % kKeptEvery == 0) run.kept.push_back(std::move(frame));
            gameWindow->flipBackBuffer(/*waitForForeground=*/false);
        }
        return run;
    }

    static void expectSameFrames(const PlayedFrames& first, const PlayedFrames& later, const char* which) {
        SCOPED_TRACE(which);
        ASSERT_EQ(first.digests.size(), later.digests.size());
        for (size_t pass = 0; pass < first.digests.size(); pass++) {
            if (first.digests[pass] == later.digests[pass]) continue;
            ADD_FAILURE() << "the frame of pass " << pass + 1 << " differs (the first of them)";
            break;
        }
        ASSERT_EQ(first.kept.size(), later.kept.size());
        for (size_t f = 0; f < first.kept.size(); f++) {
            const std::vector<uint32_t>&a = first.kept[f], &b = later.kept[f];
            ASSERT_EQ(a.size(), size_t(kGameWidth) * kGameHeight);
            ASSERT_EQ(b.size(), a.size());
            size_t differing = 0, at = 0;
            for (size_t i = 0; i < a.size(); i++)
                if ((a[i] ^ b[i]) & 0xFFFFFFu && differing++ == 0) at = i;
            EXPECT_EQ(differing, 0u) << "pixels of pass " << (f + 1) * kKeptEvery << ", the first at ("
                                     << at % kGameWidth << ", " << at / kGameWidth << ")";
            std::set<uint32_t> colours(a.begin(), a.end());
            EXPECT_GT(colours.size(), 200u) << "pass " << (f + 1) * kKeptEvery << " is a picture, not a blank frame";
        }
    }

};

// A level of every mode and of several themes, each with the level played before its replays: shots, enemies,
// hoops and tricks that leave their marks behind.
struct LevelPair {
    const char* name;
    Scene level, other;
};
const LevelPair kLevelPairs[] = {
    {"Action01AfterAction29", {kSceneLevel, kListAction, 0}, {kSceneLevel, kListAction, 28}},
    {"Action29AfterStunt04", {kSceneLevel, kListAction, 28}, {kSceneLevel, kListStunt, 3}},
    {"Stunt04AfterRace03", {kSceneLevel, kListStunt, 3}, {kSceneLevel, kListRace, 2}},
    {"Race03AfterAction01", {kSceneLevel, kListRace, 2}, {kSceneLevel, kListAction, 0}},
};

class ReproduciblePlayLevel : public ReproduciblePlay, public testing::WithParamInterface<LevelPair> {};

// The level right after start-up, again after the other level was left mid-play, and once more in a row.
TEST_P(ReproduciblePlayLevel, PlaysTheSameFirstAfterAnotherAndAgain) {
    const PlayedFrames first = play(GetParam().level);
    play(GetParam().other, kLeftMidPlay);
    expectSameFrames(first, play(GetParam().level), "played again after another level left mid-play");
    expectSameFrames(first, play(GetParam().level), "played twice in a row");
}

INSTANTIATE_TEST_SUITE_P(Shipped, ReproduciblePlayLevel, testing::ValuesIn(kLevelPairs),
                         [](const testing::TestParamInfo<LevelPair>& info) { return std::string(info.param.name); });

} // namespace
