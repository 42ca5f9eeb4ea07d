// The Gold Radudod meter: its slide into view and away, the count held at five, the pulse when full, and the
// frames it draws for each count.
#include "GoldZuzevirMeter.h"

#include "../framework/TempUserFolder.h"
#include "FrameClock.h"
#include "HostSystem.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "LevelGoals.h"
#include "SpriteSheet.h"
#include "SpriteSheetTable.h"
#include "TrickEvents.h"

#include <gtest/gtest.h>

namespace {

constexpr double kDt = 1.0 / 64;

class GoldZuzevirMeterTest : public testing::Test {
protected:
    void SetUp() override { resetGoldZuzevirMeter(); }
    static void run(double seconds) {
        for (int i = 0; i < int(seconds * 64); i++) goldZuzevirMeter.update(kDt);
    }
};

TEST_F(GoldZuzevirMeterTest, SlidesInShowsThreeSecondsAndSlidesAway) {
    GoldZuzevirMeter& m = goldZuzevirMeter;
    EXPECT_EQ(m.x, 800 - 125);
    EXPECT_EQ(m.slide, -64);
    collectGoldZuzevir();
    EXPECT_EQ(m.count, 1);
    EXPECT_EQ(m.showing, 1);
    m.update(kDt);
    EXPECT_DOUBLE_EQ(m.slide, -64 + 250 * kDt);
    EXPECT_DOUBLE_EQ(m.drawnY, -64 + kDt * (m.slide + 64) * 15);
    run(1);
    EXPECT_GE(m.slide, 10);
    EXPECT_LT(m.slide, 10 + 250 * kDt);
    EXPECT_NEAR(m.drawnY, m.slide, 0.5);
    run(2);
    EXPECT_EQ(m.showing, 0) << "three seconds after the collection";
    run(1);
    EXPECT_LE(m.slide, -64);
    EXPECT_EQ(m.drawnScale, 1);
}

TEST_F(GoldZuzevirMeterTest, CountGoesPastFiveAndTheFullMeterPulses) {
    GoldZuzevirMeter& m = goldZuzevirMeter;
    for (int i = 0; i < 7; i++) collectGoldZuzevir();
    EXPECT_EQ(m.count, 7);
    double lowest = 10, highest = 0;
    for (int i = 0; i < 128; i++) {
        m.update(kDt);
        lowest = std::min(lowest, m.pulse);
        highest = std::max(highest, m.pulse);
    }
    EXPECT_LT(lowest, 0.8);
    EXPECT_GT(highest, 1.2);
    EXPECT_LT(highest, 1.2 + 3 * kDt + 1e-9);
    EXPECT_NE(m.drawnScale, 1);
}

TEST_F(GoldZuzevirMeterTest, DrawsThePanelAndTheCountFigure) {
    ScopedGraphicRecording recording;
    TempUserFolder home;
    host::setMessageBoxHandler([](const std::string&, const std::string&) {});
    loadSpriteSheets();
    CurrentLevelGoals.gameMode = kGameModeAction;
    SpriteSheet* sheet = getSpriteSheet(14);
    ASSERT_NE(sheet, nullptr);
    GoldZuzevirMeter& m = goldZuzevirMeter;
    KGraphicRecorder::clearCalls();
    m.draw();
    EXPECT_TRUE(KGraphicRecorder::calls().empty()) << "out of view";
    const int figures[] = {2, 3, 4, 5, 0};
    for (int count = 0; count < 5; count++) {
        m.count = count;
        m.slide = m.drawnY = 10;
        KGraphicRecorder::clearCalls();
        m.draw();
        const auto& calls = KGraphicRecorder::calls();
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_EQ(calls[0].operation, "blitAlphaRect");
        EXPECT_EQ(calls[0].args[0], float(sheet->getFrame(6)->left));
        EXPECT_EQ(calls[0].args[4], 675);
        EXPECT_EQ(calls[1].args[0], float(sheet->getFrame(figures[count])->left));
        EXPECT_EQ(calls[1].args[1], float(sheet->getFrame(figures[count])->top));
        EXPECT_EQ(calls[1].args[4], 750);
        EXPECT_EQ(calls[1].args[5], 15);
    }
    m.count = 6; // more placed than the meter shows
    m.drawnScale = 1.1;
    KGraphicRecorder::clearCalls();
    m.draw();
    const auto& calls = KGraphicRecorder::calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].operation, "blitAlphaRectFx");
    EXPECT_FLOAT_EQ(calls[0].args[7], 1.1f);
    EXPECT_EQ(calls[1].args[0], float(sheet->getFrame(1)->left));
    EXPECT_FLOAT_EQ(calls[1].args[7], 1.1f);
    // The meter belongs to Action levels.
    CurrentLevelGoals.gameMode = kGameModeRace;
    KGraphicRecorder::clearCalls();
    drawGoldZuzevirMeter();
    EXPECT_TRUE(KGraphicRecorder::calls().empty());
    CurrentLevelGoals = LevelGoals();
    freeSpriteSheets();
    host::setMessageBoxHandler(nullptr);
}

} // namespace
