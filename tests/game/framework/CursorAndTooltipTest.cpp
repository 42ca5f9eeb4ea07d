// The game cursor's picture and offset per kind, and the tooltip's box near the screen edges and its drawing.
#include "FixedAdvanceFont.h"
#include "GameWindow.h"
#include "InputState.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "MouseCursor.h"
#include "Tooltip.h"

#include <gtest/gtest.h>

namespace {
struct DrawnFrame {
    int sheet, frame, x, y;
};
std::vector<DrawnFrame> drawnFrames;
void recordFrame(int sheet, int frame, int x, int y) {
    drawnFrames.push_back({sheet, frame, x, y});
}
} // namespace

TEST(MouseCursor, EachKindDrawsItsSheetAtItsOffset) {
    const struct {
        int32_t kind;
        int sheet, x, y;
    } cases[] = {
        {kCursorArrow, 28, 100, 200},
        {kCursorCrosshair, 29, 84, 184},
        {kCursorHand, 30, 88, 200},
        {7, -1, 100, 200},
    };
    setSheetFrameDrawer(recordFrame);
    MouseState.x = 100;
    MouseState.y = 200;
    for (const auto& c : cases) {
        drawnFrames.clear();
        CursorKind = c.kind;
        drawMouseCursor();
        if (c.sheet < 0) {
            EXPECT_TRUE(drawnFrames.empty());
            continue;
        }
        ASSERT_EQ(drawnFrames.size(), 1u) << c.kind;
        EXPECT_EQ(drawnFrames[0].sheet, c.sheet);
        EXPECT_EQ(drawnFrames[0].frame, 0);
        EXPECT_EQ(drawnFrames[0].x, c.x);
        EXPECT_EQ(drawnFrames[0].y, c.y);
    }
    setSheetFrameDrawer(nullptr);
    drawnFrames.clear();
    CursorKind = kCursorArrow;
    drawMouseCursor();
    EXPECT_TRUE(drawnFrames.empty()); // no sheets loaded: no cursor
}

TEST(Tooltip, TheBoxSitsBelowRightOfThePointerOrMovesInsideTheScreen) {
    FixedAdvanceFont font; // 10 pixels a character
    setTooltipFonts(&font.face(), 16, &font.face());
    const struct {
        int x, y;
        int left, top, right, bottom;
    } cases[] = {
        {100, 100, 116, 132, 155, 152}, // "abc": 30 + 9 wide, 16 + 4 high
        {790, 590, 749, 568, 788, 588}, // near the corner: left of and above the pointer
        {745, 100, 761, 132, 800, 152}, // the right edge at 800 exactly stays
        {746, 100, 705, 132, 744, 152}, {100, 548, 116, 580, 155, 600}, {100, 549, 116, 527, 155, 547},
    };
    for (const auto& c : cases) {
        showTooltip("abc", c.x, c.y);
        EXPECT_TRUE(Tooltip.shown);
        EXPECT_EQ(Tooltip.text, "abc");
        EXPECT_EQ((std::vector<int>{Tooltip.left, Tooltip.top, Tooltip.right, Tooltip.bottom}),
                  (std::vector<int>{c.left, c.top, c.right, c.bottom}))
            << c.x << ", " << c.y;
    }
    setTooltipFonts(nullptr, 0, nullptr);
    clearTooltip();
}

TEST(Tooltip, IsDrawnOnceAsAWhiteBoxWithABlackOutlineAndItsText) {
    FixedAdvanceFont font;
    sharedGraphic = createGraphic();
    setTooltipFonts(&font.face(), 16, &font.face());
    showTooltip("hi", 100, 100);
    KGraphicRecorder::clearCalls();
    drawTooltip();
    const auto onShared = KGraphicRecorder::callsOn(static_cast<KGraphicRecorder*>(sharedGraphic));
    const auto glyphs = font.blits();
    EXPECT_FALSE(Tooltip.shown);
    KGraphicRecorder::clearCalls();
    drawTooltip(); // cleared: a widget asks again on every pass it wants it
    const bool drewAgain = !KGraphicRecorder::calls().empty();
    setTooltipFonts(nullptr, 0, nullptr);
    delete sharedGraphic;
    sharedGraphic = nullptr;
    clearTooltip();

    ASSERT_EQ(onShared.size(), 5u);
    EXPECT_EQ(onShared[0].operation, "fillRect");
    EXPECT_EQ(onShared[0].args, (std::vector<float>{116, 132, 145, 152, 1, 1, 1, 1}));
    for (size_t i = 1; i < 5; ++i) {
        EXPECT_EQ(onShared[i].operation, "drawLine");
        EXPECT_EQ(std::vector<float>(onShared[i].args.begin() + 4, onShared[i].args.end()),
                  (std::vector<float>{0, 0, 0, 1}));
    }
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(glyphs[0].dx, 120);
    EXPECT_FALSE(drewAgain);
}
