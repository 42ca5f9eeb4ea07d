// The trick scorer driven frame by frame through scripted jumps: flips, sudden reversals, the entry grades,
// hoops, laser shots, the wall, big air and the glide, with the captions and the banked points; the caption
// lines in the caption font and their drawing.
#include "TrickScorer.h"

#include "../framework/TempUserFolder.h"
#include "BitmapFonts.h"
#include "GameWindow.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "KText.h"
#include "TrickEvents.h"

#include <gtest/gtest.h>

#include <cmath>

#include <string>
#include <vector>

namespace {

constexpr double kDt = 1.0 / 64;

std::vector<int32_t> banked;
void recordBank(int32_t points) {
    banked.push_back(points);
}

class TrickScorerTest : public testing::Test {
protected:
    void SetUp() override {
        trickScorer = TrickScorer();
        trickScorer.startLevel();
        trickScorer.bankHandler = recordBank;
        banked.clear();
    }

    // One frame with the player facing `facing` (taken into 0 .. 360, as entities keep it) and moving in
    // direction `heading` (degrees).
    static void frame(bool inAir, double facing, double heading = -1000) {
        TrickPlayerView view;
        view.inAir = inAir;
        view.facing = std::fmod(std::fmod(facing, 360) + 360, 360);
        const double h = (heading < -999 ? facing : heading) * M_PI / 180;
        view.vx = 300 * std::cos(h);
        view.vy = -300 * std::sin(h);
        trickScorer.update(view, kDt);
    }
    // In the water a while, then out with the given facing.
    static void leaveWater(double facing) {
        for (int i = 0; i < 40; i++) frame(false, facing);
        frame(true, facing);
    }
    // Into the water with the entry direction `heading` against the facing.
    static void enterWater(double facing, double heading) { frame(false, facing, heading); }
    // A turn in the air of `degrees` in steps of at most 10, ending at `endFacing`.
    static void turnInAir(double degrees, double endFacing) {
        const int steps = int(std::ceil(std::fabs(degrees) / 10));
        const double start = endFacing - degrees;
        frame(true, start);
        for (int i = 1; i <= steps; i++) frame(true, start + degrees * i / steps);
    }
    static std::string captions() {
        std::string all;
        for (const std::string& line : trickScorer.captionLines) all += (all.empty() ? "" : "|") + line;
        return all;
    }
};

// Facing 45 with the velocity 90 degrees away is a bogus entry: the jump banks unmultiplied.
constexpr double kFacing = 45, kBogusHeading = 135;

TEST_F(TrickScorerTest, FlipsCountWholeTurnsFromHalfATurn) {
    struct Case {
        double rotation;
        const char* caption;
        int32_t points;
    } cases[] = {
        {170, "Bogus Entry", 0},
        {200, "Single Flip + Bogus Entry", 700},
        {539, "Single Flip + Bogus Entry", 700},
        {540, "Double Flip + Bogus Entry", 4900},
        {-900, "Triple Flip + Bogus Entry", 30100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rotation);
        SetUp();
        leaveWater(kFacing - c.rotation);
        turnInAir(c.rotation, kFacing);
        enterWater(kFacing, kBogusHeading);
        EXPECT_EQ(captions(), c.caption);
        ASSERT_EQ(banked.size(), 1u);
        EXPECT_EQ(banked[0], c.points);
    }
}

TEST_F(TrickScorerTest, FlipNamesAndPointsBeyondSixTurns) {
    EXPECT_EQ(flipCaption(6), "Hextuple Flip");
    EXPECT_EQ(flipCaption(7), "Extreme Flip");
    EXPECT_EQ(flipPoints(4), 700 * (1 + 6 + 36 + 216));
    EXPECT_EQ(flipPoints(11), 2147483647) << "held at the largest score, not wrapped";
}

TEST_F(TrickScorerTest, TwoSuddenReversalsCaption360AndAdd300) {
    leaveWater(kFacing);
    frame(true, kFacing + 150);
    frame(true, kFacing);
    enterWater(kFacing, kBogusHeading);
    EXPECT_EQ(captions(), "360^ + Bogus Entry");
    EXPECT_EQ(banked.at(0), 300);
}

TEST_F(TrickScorerTest, EntryGradesMultiplyTheJump) {
    struct Case {
        double facing, difference;
        const char* grade;
        int32_t points; // of one hoop, 500
    } cases[] = {
        {45, 3, "Perfect Entry", 2500},  {45, -7, "Awesome Entry", 1500}, {45, 15, "Great Entry", 1250},
        {45, 30, "Good Entry", 1000},    {45, 50, "Bad Entry", 750},      {45, 100, "Bogus Entry", 500},
        {0, 50, "Belly Flop", 1000},     {180, -50, "Belly Flop", 1000},  {358, 50, "Belly Flop", 1000},
        {180, 3, "Perfect Entry", 2500}, // lying flat but a better grade than the flop
        {10, 50, "Bad Entry", 750},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.facing) + " " + std::to_string(c.difference));
        SetUp();
        leaveWater(c.facing);
        countTrickHoop();
        frame(true, c.facing);
        enterWater(c.facing, c.facing + c.difference);
        EXPECT_EQ(captions(), std::string("Hoop + ") + c.grade);
        EXPECT_EQ(banked.at(0), c.points);
    }
}

TEST_F(TrickScorerTest, HoopsDoubleAndLaserShotsGrowByAFifth) {
    leaveWater(kFacing);
    countTrickHoop();
    countTrickHoop();
    countTrickHoop();
    frame(true, kFacing);
    EXPECT_EQ(trickScorer.pendingPoints, 500 + 1000 + 2000);
    for (int i = 0; i < 3; i++) countTrickLaserShot();
    frame(true, kFacing);
    countTrickHoop();
    frame(true, kFacing);
    EXPECT_EQ(trickScorer.pendingPoints, 3500 + 50 + 60 + 72 + 4000);
    EXPECT_EQ(captions(), "Hoop + Laser Fire") << "each caption once per jump";
    // A new jump starts the values again.
    enterWater(kFacing, kBogusHeading);
    leaveWater(kFacing);
    countTrickHoop();
    frame(true, kFacing);
    EXPECT_EQ(trickScorer.pendingPoints, 500);
}

TEST_F(TrickScorerTest, HitWallMakesTheJumpWorthNothingAndEndsTheCaptions) {
    leaveWater(kFacing);
    countTrickHoop();
    frame(true, kFacing);
    setTrickHitWall();
    frame(true, kFacing);
    countTrickHoop();
    countTrickLaserShot();
    frame(true, kFacing);
    turnInAir(400, kFacing);
    enterWater(kFacing, kFacing); // a perfect entry changes nothing
    EXPECT_EQ(captions(), "Hoop + Hit Wall");
    EXPECT_EQ(banked.at(0), 0);
    EXPECT_EQ(trickScorer.bestTrick, 0);
}

TEST_F(TrickScorerTest, BigAirFromOnePointSevenSecondsGrowsEveryFrame) {
    leaveWater(kFacing); // the first frame in the air
    for (int i = 1; i < 108; i++) frame(true, kFacing);
    EXPECT_EQ(trickScorer.pendingPoints, 0);
    frame(true, kFacing); // 109 frames: 1.703125 s
    EXPECT_EQ(captions(), "Big Air");
    EXPECT_EQ(trickScorer.pendingPoints, 170);
    frame(true, kFacing); // value 100 + 156.25; adds trunc(4.0039)
    EXPECT_EQ(trickScorer.pendingPoints, 174);
}

TEST_F(TrickScorerTest, QuickHopsAfterAShortJumpGlideAndBankOnceAtTheEnd) {
    // A short jump with a hoop, banked at its entry.
    leaveWater(kFacing);
    countTrickHoop();
    for (int i = 0; i < 10; i++) frame(true, kFacing);
    enterWater(kFacing, kBogusHeading);
    ASSERT_EQ(banked, std::vector<int32_t>{500});
    // Out again within half a second: a glide, worth 4 points a frame at this frame time.
    for (int i = 0; i < 5; i++) frame(false, kFacing);
    frame(true, kFacing);
    EXPECT_EQ(trickScorer.gliding, 1);
    EXPECT_EQ(captions(), "Glide");
    EXPECT_EQ(trickScorer.pendingPoints, 4) << "the hop before is not counted again";
    for (int i = 0; i < 9; i++) frame(true, kFacing);
    for (int i = 0; i < 31; i++) frame(false, kFacing); // 0.484 s in the water: still gliding
    EXPECT_EQ(banked.size(), 1u);
    frame(false, kFacing); // 0.5 s: the glide ends
    EXPECT_EQ(trickScorer.gliding, 0);
    ASSERT_EQ(banked.size(), 2u);
    EXPECT_EQ(banked[1], 4 * 42);
    EXPECT_EQ(trickScorer.bestTrick, 500);
}

TEST_F(TrickScorerTest, TrickScoringWaitsForAJumpAndFadesItsCaptions) {
    for (int i = 0; i < 10; i++) frame(false, kFacing);
    EXPECT_TRUE(banked.empty());
    EXPECT_DOUBLE_EQ(trickScorer.captionClock, 10 * kDt);
    leaveWater(kFacing);
    EXPECT_EQ(trickScorer.captionClock, 0);
    enterWater(kFacing, kBogusHeading);
    EXPECT_EQ(banked.size(), 1u) << "a jump is banked even when it is worth nothing";
}

TEST_F(TrickScorerTest, PendingPointsText) {
    PointsText buffer;
    EXPECT_STREQ(pendingPointsText(1000000000, buffer), "1000000000");
    EXPECT_STREQ(pendingPointsText(1000000001, buffer), "Too Many Points!");
}

class TrickCaptionFontTest : public TrickScorerTest {
protected:
    void SetUp() override {
        TrickScorerTest::SetUp();
        loadBitmapFonts();
    }
    void TearDown() override { freeBitmapFonts(); }
    ScopedGraphicRecording recording;
    TempUserFolder home;
};

TEST_F(TrickCaptionFontTest, CaptionsWrapBeforeTheScreenEdge) {
    KText* font = getFont(3);
    ASSERT_NE(font, nullptr);
    for (int i = 0; i < 12; i++) addTrickCaption("Awesome Entry");
    ASSERT_GT(trickScorer.captionLines.size(), 1u);
    EXPECT_EQ(trickScorer.captionLines[0].rfind("Awesome Entry + ", 0), 0u);
    for (size_t i = 0; i < trickScorer.captionLines.size(); i++) {
        const std::string& line = trickScorer.captionLines[i];
        EXPECT_LT(font->getStringWidth(line.c_str(), 0, 1), kGameWidth - 30);
        if (i > 0) {
            EXPECT_EQ(line.rfind(" + Awesome Entry", 0), 0u) << line;
        }
    }
    // The joined line would reach the limit: the next caption starts a new line.
    const std::string& first = trickScorer.captionLines[0];
    EXPECT_GE(font->getStringWidth((first + " + Awesome Entry").c_str(), 0, 1), kGameWidth - 30);
}

TEST_F(TrickCaptionFontTest, CaptionsFadeHalfASecondAfterThreeSeconds) {
    addTrickCaption("Hoop");
    trickScorer.pendingPoints = 500;
    trickScorer.captionClock = 3.25;
    KGraphicRecorder::clearCalls();
    trickScorer.drawCaptions();
    const auto& calls = KGraphicRecorder::calls();
    ASSERT_FALSE(calls.empty());
    bool sawBlit = false;
    for (const RecordedDraw& call : calls) {
        if (call.operation.rfind("blit", 0) != 0) continue;
        sawBlit = true;
        EXPECT_FLOAT_EQ(call.color[3], 0.5f);
    }
    EXPECT_TRUE(sawBlit);
    EXPECT_FLOAT_EQ(static_cast<KGraphicRecorder*>(calls.front().picture)->blitColor()[3], 1.0f)
        << "the font is left opaque";
}

} // namespace
