// The editor widgets under scripted mouse and key input: the push button's click rule, the toggle's
// unselect rule, the text field's focus, typing limits and number reading, and the button strip's wrapping
// and sliding up at the screen's bottom.
#include "EditorWidgets.h"
#include "../framework/ScriptedKeys.h"
#include "ButtonStrip.h"
#include "FrameClock.h"
#include "GF_SpriteButton.h"
#include "GameWindow.h"
#include "KEngineKeys.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "MouseCursor.h"
#include "SpriteAnimation.h"
#include "SpriteSheet.h"

#include <gtest/gtest.h>

namespace {

void mouse(int x, int y, bool down) {
    MouseState.leftBefore = MouseState.leftNow;
    MouseState.leftNow = down;
    MouseState.x = x;
    MouseState.y = y;
}

class EditorWidgetsTest : public testing::Test {
protected:
    void SetUp() override {
        MouseState = MouseStateRecord();
        savedFrameTime = frameTime;
        frameTime = 1.0 / 64;
    }
    void TearDown() override {
        MouseState = MouseStateRecord();
        CursorKind = kCursorArrow;
        frameTime = savedFrameTime;
    }

    // One key stroke (down one pass, up the next) into the field.
    void type(EditorTextField& field, int engineKey) {
        keys.press(engineKeyVirtualKey(engineKey));
        field.update();
        keys.release(engineKeyVirtualKey(engineKey));
        field.update();
    }
    static constexpr int kDigitKey0 = 51, kLetterA = 25, kBackspace = 22;

    ScriptedKeys keys;
    double savedFrameTime = 0;
};

TEST_F(EditorWidgetsTest, ButtonClicksOnlyOnPressAndReleaseInside) {
    struct Step {
        int x;
        bool down;
    };
    struct Case {
        const char* what;
        std::vector<Step> steps; // the button spans x 10 .. 109
        bool clicks;
    };
    const Case cases[] = {
        {"press and release inside", {{50, true}, {50, false}}, true},
        {"pressed outside, released inside", {{5, true}, {50, true}, {50, false}}, false},
        {"pressed inside, released outside", {{50, true}, {200, true}, {200, false}}, false},
        {"out and back before the release", {{50, true}, {200, true}, {60, true}, {60, false}}, true},
        {"the right edge is outside", {{110, true}, {110, false}}, false},
    };
    for (const Case& c : cases) {
        EditorButton button(10, 10, 100, 15, "Go");
        MouseState = MouseStateRecord();
        int clicks = 0;
        for (const Step& step : c.steps) {
            mouse(step.x, 15, step.down);
            button.update();
            clicks += button.clicked;
        }
        EXPECT_EQ(clicks, c.clicks ? 1 : 0) << c.what;
        button.update(); // the click lasts one pass
        EXPECT_EQ(button.clicked, 0) << c.what;
    }
    EditorButton button(10, 10, 100, -1, "Go");
    EXPECT_EQ(button.height, 20);
    mouse(50, 15, false);
    button.update();
    EXPECT_EQ(CursorKind, kCursorHand);
    EXPECT_EQ(button.hovered, 1);
}

TEST_F(EditorWidgetsTest, ToggleSelectsOnPressAndUnselectsOnlyWhenAllowed) {
    EditorToggleButton loose(0, 0, 50, 15, "A", /*mayUnselect=*/true);
    EditorToggleButton radio(0, 0, 50, 15, "B", /*mayUnselect=*/false);
    for (int i = 0; i < 2; i++) {
        mouse(10, 5, true);
        loose.update();
        radio.update();
        EXPECT_TRUE(loose.selected == (i == 0));
        EXPECT_EQ(loose.becameSelected(), i == 0);
        EXPECT_EQ(radio.selected, 1);
        mouse(10, 5, false);
        loose.update();
        radio.update();
        EXPECT_FALSE(radio.becameSelected()); // only on the pass it changed
    }
}

TEST_F(EditorWidgetsTest, TextFieldTypesIntoTheFocusedFieldWithinItsLimits) {
    EditorTextField first(10, 10, 100, -1, 3, /*digitsOnly=*/true);
    EditorTextField second(10, 40, 100, -1, 10, /*digitsOnly=*/false);
    EXPECT_EQ(first.height, 18);
    mouse(20, 15, true); // focus the first field
    first.update();
    second.update();
    mouse(20, 15, false);
    EXPECT_TRUE(first.focused);
    EXPECT_FALSE(second.focused);
    type(first, kBackspace); // nothing to remove
    type(first, kDigitKey0 + 4);
    type(first, kLetterA); // letters never reach a digits-only field
    type(first, kDigitKey0 + 2);
    type(first, kDigitKey0 + 7);
    type(first, kDigitKey0 + 9); // the fourth character of a 3-character field
    EXPECT_EQ(first.text, "427");
    EXPECT_EQ(first.intValue(), 427);
    type(first, kBackspace);
    EXPECT_EQ(first.text, "42");

    mouse(20, 45, true); // a click on the second field moves the focus
    first.update();
    second.update();
    mouse(20, 45, false);
    EXPECT_FALSE(first.focused);
    EXPECT_TRUE(second.focused);
    type(second, kLetterA);
    type(first, kLetterA + 1);
    EXPECT_EQ(second.text, "a");
    EXPECT_EQ(first.text, "42");

    // The edge of a field is outside it.
    mouse(10, 15, true);
    second.update();
    EXPECT_FALSE(second.focused);
}

TEST_F(EditorWidgetsTest, IntValueReadsDecimalTextAndHoldsItTo32Bits) {
    EditorTextField field(0, 0, 100, 20, 20, false);
    const std::pair<const char*, int32_t> cases[] = {
        {"", 0},
        {"abc", 0},
        {"0012", 12},
        {"-35", -35},
        {"12ab", 12},
        {"9999999999", INT32_MAX},
        {"-9999999999", INT32_MIN},
    };
    for (const auto& [text, value] : cases) {
        field.setText(text);
        EXPECT_EQ(field.intValue(), value) << text;
    }
    field.setInt(-1200);
    EXPECT_EQ(field.text, "-1200");
}

TEST_F(EditorWidgetsTest, ButtonStripWrapsRowsAndSlidesUpAtTheScreenBottom) {
    ScopedGraphicRecording recording;
    SpriteSheet sheet{1};
    std::vector<uint32_t> pixels(64 * 64, 0xFFFFFFFF);
    sheet.getGraphic()->makePictureFromPixels(pixels.data(), 64, 64, true, true, false, nullptr);
    sheet.sliceGrid(64, 64, 1);
    SpriteAnimation tile;
    tile.addFrames(&sheet, 1);
    tile.addSequence(1.0)->addStep(0, false, false, 1);

    ButtonStrip strip(150, 100);
    for (int i = 0; i < 6; i++) strip.addButton(&tile, 0, false, false);
    const auto& buttons = strip.buttonList();
    EXPECT_EQ(buttons[4]->x, 150 + 10 + 4 * 74); // five buttons fit in 400 pixels
    EXPECT_EQ(buttons[4]->y, 95);
    EXPECT_EQ(buttons[5]->x, 160); // the sixth wraps
    EXPECT_EQ(buttons[5]->y, 95 + 64 + 10);
    EXPECT_EQ(strip.top, 85);
    EXPECT_EQ(strip.boxWidth, 10 + 5 * 74);
    EXPECT_EQ(strip.boxHeight, 95 + 64 + 10 + 64 + 10 - 85);

    ButtonStrip low(150, 560); // one row reaches 555 + 64 + 10 = 629: 29 past the screen, moved up 44
    low.addButton(&tile, 0, false, false);
    EXPECT_EQ(low.buttonList()[0]->y, 555 - 44);
    EXPECT_EQ(low.top, 545 - 44);
    EXPECT_EQ(low.rowBottom, 619 - 44);
}

} // namespace
