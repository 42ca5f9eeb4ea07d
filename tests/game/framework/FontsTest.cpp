// The bitmap fonts over the generated pictures and tables, the tooltip measured and drawn with them, and the
// TrueType font set over the copied faces (on recording pictures): its sizes, shared entry, letter spacing
// and the clip box of drawText.
#include "BitmapFonts.h"
#include "FontSet.h"
#include "GameWindow.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "KText.h"
#include "KTrueText.h"
#include "TempUserFolder.h"
#include "TextFont.h"
#include "Tooltip.h"

#include <gtest/gtest.h>

namespace {

class FontsTest : public testing::Test {
protected:
    void SetUp() override { KGraphicRecorder::clearCalls(); }
    void TearDown() override { clearTooltip(); }

    static size_t drawCalls() {
        size_t n = 0;
        for (const RecordedDraw& call : KGraphicRecorder::calls())
            if (call.operation.rfind("blit", 0) == 0) n++;
        KGraphicRecorder::clearCalls();
        return n;
    }

    ScopedGraphicRecording recording;
    TempUserFolder home;
};

} // namespace

TEST_F(FontsTest, BitmapFontsLoadTheirPicturesAndLineHeights) {
    EXPECT_EQ(getFont(0), nullptr);
    loadBitmapFonts();
    const char* pictures[kBitmapFontCount] = {"font2.png", "font1.png", "sans18white.png", "arialbold22.png"};
    const int lineHeights[kBitmapFontCount] = {16, 16, 18, 18};
    for (int n = 0; n < kBitmapFontCount; n++) {
        KText* font = getFont(n);
        ASSERT_NE(font, nullptr) << n;
        EXPECT_EQ(getFontLineHeight(n), lineHeights[n]);
        EXPECT_GT(font->getStringWidth("Level 12: 01:23:500"), 50) << pictures[n];
        font->drawString("Abc 1,5%", 10, 20);
        EXPECT_EQ(drawCalls(), 8u) << pictures[n] << ": one blit per character";
        font->drawString("a#b", 10, 20);
        EXPECT_EQ(drawCalls(), 2u) << pictures[n] << ": a character outside the table draws nothing";
        bool found = false;
        KGraphicRecorder::instances().forEach([&](KGraphicRecorder* picture) {
            if (picture->fileName() == getGraphicsFolder() + pictures[n]) found = true;
        });
        EXPECT_TRUE(found) << pictures[n];
    }
    EXPECT_EQ(getFont(0)->getStringWidth("Tooltip"), getFont(1)->getStringWidth("Tooltip"))
        << "fonts 0 and 1 share one table";
    EXPECT_EQ(getFont(kBitmapFontCount), nullptr);
    EXPECT_EQ(getFontLineHeight(-1), 0);

    // The tooltip measures with font 1 and draws with font 0.
    sharedGraphic = createGraphic();
    const int width = int(getFont(1)->getStringWidth("Exit to Linux") + 9);
    showTooltip("Exit to Linux", 100, 100);
    EXPECT_EQ(Tooltip.right - Tooltip.left, width);
    EXPECT_EQ(Tooltip.bottom - Tooltip.top, 16 + 4);
    KGraphicRecorder::clearCalls();
    drawTooltip();
    bool drawnWithFont0 = false;
    for (const RecordedDraw& call : KGraphicRecorder::calls())
        if (call.picture->fileName() == getGraphicsFolder() + "font2.png") drawnWithFont0 = true;
    EXPECT_TRUE(drawnWithFont0);
    delete sharedGraphic;
    sharedGraphic = nullptr;

    freeBitmapFonts();
    EXPECT_EQ(getFont(0), nullptr);
    showTooltip("Exit to Linux", 100, 100);
    EXPECT_EQ(Tooltip.right - Tooltip.left, 9) << "no fonts: an empty box";
}

TEST_F(FontsTest, TheFontSetHasThreeFacesAndAnAlias) {
    FontSet& set = FontSet::instance();
    EXPECT_EQ(&set, &FontSet::instance());
    ASSERT_NE(set.get(0), nullptr);
    EXPECT_EQ(set.get(3), set.get(0));
    EXPECT_NE(set.get(1), set.get(2));
    EXPECT_EQ(set.get(4), nullptr);
    EXPECT_EQ(set.get(0)->getLetterSpacing(), -1);
    EXPECT_EQ(set.get(1)->getLetterSpacing(), 0);
    // 24, 20 and 14 points at 96 dots per inch: ems of 32, about 26.7 and 18.7 pixels.
    const int heights[3] = {set.get(0)->getTrueText()->getHeight(), set.get(1)->getTrueText()->getHeight(),
                            set.get(2)->getTrueText()->getHeight()};
    EXPECT_GT(heights[0], heights[1]);
    EXPECT_GT(heights[1], heights[2]);
    EXPECT_GE(heights[2], 18);

    TextFont* heading = set.get(0);
    heading->setColor(0.25, 0.5, 0.75, 1);
    heading->drawText("Options", 10, 10);
    ASSERT_FALSE(KGraphicRecorder::calls().empty());
    EXPECT_EQ(KGraphicRecorder::calls().back().color[2], 0.75f);
    KGraphicRecorder::clearCalls();
    set.get(3)->drawText("Options", 10, 10);
    ASSERT_FALSE(KGraphicRecorder::calls().empty());
    EXPECT_EQ(KGraphicRecorder::calls().back().color[1], 0.5f) << "index 3 is index 0";
    heading->setColor(0, 0, 0, 1);

    // Letter spacing -1: one pixel less per character than the face's own width.
    const float plain = heading->getTrueText()->getStringWidth("Options");
    EXPECT_EQ(heading->textWidth("Options"), int(heading->getTrueText()->getStringWidth("Options", -1)));
    EXPECT_LT(heading->textWidth("Options"), int(plain));

    TextFont empty;
    EXPECT_EQ(empty.textWidth("anything"), 1);
    empty.drawText("anything", 0, 0);
    empty.setColor(1, 1, 1, 1);
}

TEST_F(FontsTest, ClipBoxDrawsWholeStringsOrNothing) {
    TextFont font;
    font.load("v.ttf", 0.5); // halves go away from zero
    EXPECT_EQ(font.getLetterSpacing(), 1);
    font.load("v.ttf", -0.5);
    EXPECT_EQ(font.getLetterSpacing(), -1);
    font.load("v.ttf", 0);
    font.getTrueText()->setHeight(14);
    const int w = font.textWidth("Reef 1");
    const int h = font.getTrueText()->getHeight();
    font.setClipBox(0, 0, 100, 100);
    const struct {
        int x, y;
        bool drawn;
    } cases[] = {
        {80, 10, true},       // overlaps the right edge: drawn whole
        {100, 10, false},     // starts at the right edge
        {10, 100 - h, true},  // ends on the bottom line
        {10, 101 - h, false}, // would pass the bottom
        {10, -1, false},      // starts above the top
        {-w, 10, false},      // ends on the left edge
        {1 - w, 10, true},    // one pixel inside
    };
    for (const auto& c : cases) {
        KGraphicRecorder::clearCalls();
        font.drawText("Reef 1", c.x, c.y);
        EXPECT_EQ(drawCalls() > 0, c.drawn) << c.x << ", " << c.y;
    }
    font.clearClipBox();
    font.drawText("Reef 1", 1000, 1000);
    EXPECT_GT(drawCalls(), 0u) << "without the clip box everything is drawn";
}

TEST_F(FontsTest, ABitmapFontStandsInWithoutATrueTypeFace) {
    loadBitmapFonts();
    TextFont font;
    font.setBitmapFont(getFont(1), 16);
    EXPECT_EQ(font.textWidth("Reef"), int(getFont(1)->getStringWidth("Reef")));
    font.setClipBox(0, 0, 100, 40);
    font.drawText("Reef", 10, 24); // 24 + 16 ends on the bottom line
    EXPECT_EQ(drawCalls(), 4u);
    font.drawText("Reef", 10, 25);
    EXPECT_EQ(drawCalls(), 0u);
    freeBitmapFonts();
}
