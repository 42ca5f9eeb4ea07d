// The help pages: each page's panel and picture layout, its word-wrapped text inside the panel, the medal
// goals of the racing and stunt pages from the loaded level, the highlight's pulse, closing on any input, and
// everything freed on leave.
#include "../frontend/MenuScreenFixture.h"
#include "GF_HelpScreen.h"
#include "KText.h"
#include "OverlayHost.h"
#include "TextBlock.h"

namespace {

class ClosingGameState : public OverlayHost {
public:
    void requestCloseOverlay() override { closeRequests++; }
    std::string getLevelTimeText() const override { return "00:00:000"; }
    LevelRunResult getRunResult() const override { return {}; }
    void showGoalArrow() override {}
    void showGoldZuzevirMeter() override {}
    int closeRequests = 0;
};

class HelpScreenTest : public MenuScreenTest {
protected:
    void SetUp() override {
        MenuScreenTest::SetUp();
        help.setHost(&game);
    }
    void TearDown() override {
        help.leave();
        MenuScreenTest::TearDown();
    }
    void open(int page) {
        help.setPage(page);
        help.enter();
    }
    ClosingGameState game;
    GF_HelpScreen help;
};

TEST_F(HelpScreenTest, EachPageSizesItsPanelAroundItsPicture) {
    struct Case {
        int page;
        const char* title;
        int panelHeight, pictureY;
    };
    const Case cases[] = {
        {0, "Swimming:", 235, 242},    {1, "Shooting:", 396, 182},
        {2, "Super Laser:", 416, 192}, {3, "Directional Control:", 372, 214},
        {4, "Racing:", 210, 295},      {5, "Stunt Mode:", 210, 295},
    };
    for (const Case& c : cases) {
        open(c.page);
        EXPECT_EQ(help.getTitle(), c.title);
        EXPECT_EQ(help.panelWidth, 400);
        EXPECT_EQ(help.panelHeight, c.panelHeight) << c.page;
        EXPECT_EQ(help.panelX, 200);
        EXPECT_EQ(help.panelY, (kGameHeight - c.panelHeight) / 2);
        EXPECT_EQ(help.pictureX, 272);
        EXPECT_EQ(help.pictureY, c.pictureY) << c.page;
        help.leave();
    }
    EXPECT_TRUE(boxes.empty()) << boxes.front();
    help.setPage(9); // outside the table: the first page
    EXPECT_EQ(help.getPage(), 0);
}

TEST_F(HelpScreenTest, TheTextIsWrappedInsideThePanel) {
    KText* font = getFont(1);
    ASSERT_NE(font, nullptr);
    for (int page = 0; page < kHelpPageCount; page++) {
        open(page);
        const TextBlock* block = help.getTextBlock();
        ASSERT_NE(block, nullptr);
        EXPECT_GE(block->getLineBreaks().size(), 1u);
        for (size_t n = 0; n < block->getLineBreaks().size(); n++)
            EXPECT_LE(font->getStringWidth(block->line(int(n)).c_str(), 1), 350.0f)
                << page << ": " << block->line(int(n));
        help.leave();
    }
    open(2); // the long page wraps onto several lines, the full stop's two blanks never start one
    const TextBlock* block = help.getTextBlock();
    EXPECT_GE(block->getLineBreaks().size(), 3u);
    for (size_t n = 0; n < block->getLineBreaks().size(); n++) EXPECT_NE(block->line(int(n)).front(), ' ');
    help.leave();
    open(4); // the racing page's line feed starts its second sentence on a new line
    block = help.getTextBlock();
    bool secondSentenceStartsALine = false;
    for (size_t n = 0; n < block->getLineBreaks().size(); n++)
        secondSentenceStartsALine = secondSentenceStartsALine || block->line(int(n)).rfind("\nEarn", 0) == 0;
    EXPECT_TRUE(secondSentenceStartsALine);
}

TEST_F(HelpScreenTest, ModePagesShowTheLevelsMedalGoals) {
    CurrentLevelGoals.medalTimes = {6000.0, 45.5, 30.0};
    CurrentLevelGoals.medalScores = {1000, 25000, 1234567};
    open(4);
    EXPECT_EQ(help.getMedalLine(0), "Bronze: -");
    EXPECT_EQ(help.getMedalLine(1), "Silver: 00:45:500");
    EXPECT_EQ(help.getMedalLine(2), "Gold: 00:30:000");
    help.leave();
    open(5);
    EXPECT_EQ(help.getMedalLine(0), "Bronze: 1,000");
    EXPECT_EQ(help.getMedalLine(1), "Silver: 25,000");
    EXPECT_EQ(help.getMedalLine(2), "Gold: 1,234,567");
    help.leave();
    open(0);
    EXPECT_EQ(help.getMedalLine(0), "");
}

TEST_F(HelpScreenTest, TheHighlightPulsesUpToThePagesMaximum) {
    open(0); // maximum 0.5: up for 32 passes of 1/64 s, then down
    for (int i = 0; i < 32; i++) help.draw();
    EXPECT_DOUBLE_EQ(help.getHighlightAlpha(), 0.5);
    for (int i = 0; i < 8; i++) help.draw();
    EXPECT_DOUBLE_EQ(help.getHighlightAlpha(), 0.375);
    // The space bar's red box at the picture position + (29, 67).
    KGraphicRecorder::clearCalls();
    help.draw();
    bool redBox = false;
    for (const RecordedDraw& d : sharedCalls())
        if (d.operation == "fillRect" && d.args.size() >= 8 && d.args[0] == 272 + 29 &&
            d.args[1] == help.pictureY + 67 && d.args[4] == 1 && d.args[5] == 0)
            redBox = true;
    EXPECT_TRUE(redBox);
    help.leave();
    open(1); // maximum 1.0
    for (int i = 0; i < 64; i++) help.draw();
    EXPECT_DOUBLE_EQ(help.getHighlightAlpha(), 1.0);
}

TEST_F(HelpScreenTest, AnyInputClosesThePageAtOnce) {
    open(3);
    idle(help, 3);
    EXPECT_EQ(game.closeRequests, 0);
    click(help, 400, 300); // the release closes it
    EXPECT_EQ(game.closeRequests, 1);
    keys.press(' ');
    idle(help);
    EXPECT_EQ(game.closeRequests, 2);
}

TEST_F(HelpScreenTest, LeaveFreesThePictures) {
    const int before = KGraphicRecorder::instances().count;
    open(1);
    EXPECT_GT(KGraphicRecorder::instances().count, before);
    help.leave();
    EXPECT_EQ(KGraphicRecorder::instances().count, before);
    EXPECT_EQ(help.getTextBlock(), nullptr);
}

} // namespace
