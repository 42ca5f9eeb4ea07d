// The HUD's mode panel through the recording picture: nothing in Action levels, the Race and Stunt boxes at
// their places with their colours, and their figures in the HUD font.
#include "GameHud.h"

#include "../framework/TempUserFolder.h"
#include "BitmapFonts.h"
#include "GameWindow.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"

#include <gtest/gtest.h>

namespace {

class GameHudTest : public testing::Test {
protected:
    void SetUp() override {
        sharedGraphic = createGraphic();
        loadBitmapFonts();
        KGraphicRecorder::clearCalls();
    }
    void TearDown() override {
        freeBitmapFonts();
        delete sharedGraphic;
        sharedGraphic = nullptr;
    }
    static std::vector<RecordedDraw> shared() {
        return KGraphicRecorder::callsOn(static_cast<KGraphicRecorder*>(sharedGraphic));
    }
    // The glyph blits of the HUD font, in drawing order.
    static std::vector<RecordedDraw> text() {
        std::vector<RecordedDraw> out;
        for (const RecordedDraw& c : KGraphicRecorder::calls())
            if (c.picture != sharedGraphic) out.push_back(c);
        return out;
    }
    ScopedGraphicRecording recording;
    TempUserFolder home;
};

TEST_F(GameHudTest, ActionLevelsHaveNoPanel) {
    LevelGoals goals;
    drawHud(goals, HudFigures());
    EXPECT_TRUE(KGraphicRecorder::calls().empty());
}

TEST_F(GameHudTest, RaceAndStuntPanels) {
    struct Case {
        int mode;
        std::vector<float> box;
        const char* text; // what the panel says, one glyph for each character
    } cases[] = {
        {kGameModeRace,
         {585, 18, 790, 78},
         "Time: 01:23:500"
         "Best Time: 00:00:000"},
        {kGameModeStunt,
         {570, 18, 790, 100},
         "Score: 1234"
         "Best Score: 0"
         "Time Left: 00:00:000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        KGraphicRecorder::clearCalls();
        LevelGoals goals;
        goals.gameMode = c.mode;
        HudFigures figures;
        figures.levelTime = 83.5;
        figures.bankedScore = 1234;
        drawHud(goals, figures);
        const auto calls = shared();
        ASSERT_EQ(calls.size(), 5u);
        EXPECT_EQ(calls[0].operation, "fillRect");
        EXPECT_EQ(std::vector<float>(calls[0].args.begin(), calls[0].args.begin() + 4), c.box);
        EXPECT_FLOAT_EQ(calls[0].args[6], 0.2f);
        EXPECT_FLOAT_EQ(calls[0].args[7], 0.7f);
        for (int i = 1; i < 5; i++) {
            EXPECT_EQ(calls[i].operation, "drawLine");
            EXPECT_FLOAT_EQ(calls[i].args[4], 0.7f);
            EXPECT_FLOAT_EQ(calls[i].args[6], 0.9f);
        }
        // The text starts at the fixed places.
        const auto glyphs = text();
        ASSERT_EQ(glyphs.size(), std::string(c.text).size());
        const float firstX = c.mode == kGameModeRace ? 642 : 625;
        EXPECT_NEAR(glyphs[0].args[4], firstX, 3);
    }
}

} // namespace
