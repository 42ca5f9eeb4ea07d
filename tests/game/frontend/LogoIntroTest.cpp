// The two logo screens: what enter loads and leave frees, the fade timeline with the howl starting as the logo
// is fully shown, the hand-over to the main menu after 4.5 s, the skip by a click or a held key, and where the
// pictures are drawn.
#include "FrontEndFixture.h"
#include "GF_LogoIntro.h"
#include "GF_TollberryLogo.h"
#include "KSound.h"

#include <algorithm>

namespace {

class LogoIntroTest : public FrontEndTest {
protected:
    // The passes until the first request for the main menu (0 when none came within the limit).
    int passesUntilMainMenu(GF_ProgramState& state, int limit) {
        for (int n = 1; n <= limit; n++) {
            idle(state);
            if (StateRequest.id == kStateMainMenu) return n;
        }
        return 0;
    }
};

} // namespace

TEST_F(LogoIntroTest, EnterLoadsTheTwoHalvesAndTheHowlAndLeaveFreesThem) {
    const int before = livePictures();
    GF_LogoIntro logo;
    logo.enter();
    EXPECT_EQ(livePictures(), before + 2);
    std::vector<std::string> files = loadedFiles();
    EXPECT_EQ(std::count(files.begin(), files.end(), "logoleft.jpg"), 1);
    EXPECT_EQ(std::count(files.begin(), files.end(), "logoright.jpg"), 1);
    ASSERT_NE(logo.getSound(), nullptr);
    EXPECT_TRUE(logo.getSound()->isLoaded());
    EXPECT_EQ(logo.getFade().phase, LogoFade::kFadeIn);
    logo.leave();
    EXPECT_EQ(livePictures(), before);
    EXPECT_EQ(logo.getSound(), nullptr);
    EXPECT_TRUE(boxes.empty()) << boxes.front();
}

TEST_F(LogoIntroTest, FadesInHowlsHoldsFadesOutAndHandsOverAfterFourAndAHalfSeconds) {
    GF_LogoIntro logo;
    logo.enter();
    idle(logo, 32);
    EXPECT_DOUBLE_EQ(logo.getFade().alpha, 0.5);
    EXPECT_FALSE(logo.getSound()->isPlaying()) << "the howl waits for the logo to be fully shown";
    idle(logo, 32); // 1 s
    EXPECT_EQ(logo.getFade().phase, LogoFade::kHold);
    EXPECT_TRUE(logo.getSound()->isPlaying());
    idle(logo, 160); // 2.5 s more
    EXPECT_EQ(logo.getFade().phase, LogoFade::kFadeOut);
    idle(logo, 16);
    EXPECT_DOUBLE_EQ(logo.getFade().alpha, 0.75);
    EXPECT_EQ(StateRequest.id, kNoProgramState);
    EXPECT_EQ(passesUntilMainMenu(logo, 100), 48) << "4.5 s = 288 passes in all";
    EXPECT_TRUE(requested(kStateMainMenu));
    EXPECT_FALSE(logo.getSound()->isPlaying());
    StateRequest = StateRequestRecord();
    idle(logo);
    EXPECT_TRUE(requested(kStateMainMenu)) << "repeated until the switch";
    logo.leave();
}

TEST_F(LogoIntroTest, AClickDuringTheHoldStopsTheHowlAndAHeldKeySkipsAtOnce) {
    GF_LogoIntro logo;
    logo.enter();
    idle(logo, 80);
    ASSERT_TRUE(logo.getSound()->isPlaying());
    pass(logo, 400, 300, true);
    EXPECT_EQ(StateRequest.id, kNoProgramState) << "the release skips, not the press";
    pass(logo, 400, 300, false);
    EXPECT_TRUE(requested(kStateMainMenu));
    EXPECT_FALSE(logo.getSound()->isPlaying());
    logo.leave();

    // A key held as the logo starts skips it on the first pass; the howl never starts, even if the fade-in
    // ends in a pass of the skip.
    StateRequest = StateRequestRecord();
    logo.enter();
    keys.press('A');
    idle(logo);
    EXPECT_TRUE(requested(kStateMainMenu));
    idle(logo, 70);
    EXPECT_FALSE(logo.getSound()->isPlaying());
    keys.release('A');
    logo.leave();
}

TEST_F(LogoIntroTest, DrawsBlackThenBothHalvesSideBySideAtTheFadeAlpha) {
    GF_LogoIntro logo;
    logo.enter();
    idle(logo, 16);
    KGraphicRecorder::clearCalls();
    logo.draw();
    const std::vector<RecordedDraw>& calls = KGraphicRecorder::calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].picture, sharedGraphic);
    EXPECT_EQ(calls[0].operation, "fillRect");
    EXPECT_EQ(calls[0].args, (std::vector<float>{0, 0, 800, 600, 0, 0, 0, 1}));
    for (int i = 1; i <= 2; i++) {
        EXPECT_EQ(calls[size_t(i)].operation, "blitAlphaRectFx");
        const std::vector<float>& a = calls[size_t(i)].args;
        ASSERT_GE(a.size(), 9u);
        EXPECT_EQ((std::vector<float>{a[0], a[1], a[2], a[3], a[4], a[5]}),
                  (std::vector<float>{0, 0, 256, 256, i == 1 ? 144.0f : 400.0f, 172}));
        EXPECT_FLOAT_EQ(a[8], 0.25f);
    }
    logo.leave();
}

TEST_F(LogoIntroTest, ThePublisherLogoRunsTheSameTimelineSilentlyWithItsFourQuarters) {
    const int before = livePictures();
    GF_TollberryLogo logo;
    logo.enter();
    EXPECT_EQ(livePictures(), before + 4);
    KGraphicRecorder::clearCalls();
    logo.draw();
    std::vector<std::pair<float, float>> spots;
    for (const RecordedDraw& call : KGraphicRecorder::calls())
        if (call.operation == "blitAlphaRectFx") spots.emplace_back(call.args[4], call.args[5]);
    EXPECT_EQ(spots, (std::vector<std::pair<float, float>>{{179, 79}, {435, 79}, {179, 335}, {435, 335}}));
    EXPECT_EQ(passesUntilMainMenu(logo, 400), 288);
    logo.leave();
    EXPECT_EQ(livePictures(), before);

    StateRequest = StateRequestRecord();
    logo.enter();
    idle(logo, 100);
    pass(logo, 10, 10, true);
    pass(logo, 10, 10, false);
    EXPECT_TRUE(requested(kStateMainMenu));
    logo.leave();
    EXPECT_TRUE(boxes.empty()) << boxes.front();
}
