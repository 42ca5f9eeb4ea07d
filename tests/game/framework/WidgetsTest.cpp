// The widgets under scripted mouse input (positions and the left button set pass by pass, as the mouse poll
// leaves them): the button's press, drag, click, hover, disabled and hint rules, its hit boxes and fades and
// draws; the slider dragged; the radio group's selection; the check box, panel and window-frame geometry.
#include "BitmapFonts.h"
#include "CheckBox.h"
#include "FrameClock.h"
#include "GF_SpriteButton.h"
#include "GameWindow.h"
#include "InputState.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "MouseCursor.h"
#include "PanelBox.h"
#include "RadioGroup.h"
#include "Slider.h"
#include "SpriteAnimation.h"
#include "SpriteSheet.h"
#include "TempUserFolder.h"
#include "Tooltip.h"
#include "WindowFrame.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr double kPass = 1.0 / 64; // exact in binary

class WidgetsTest : public testing::Test {
protected:
    void SetUp() override {
        std::vector<uint32_t> pixels(256 * 256, 0xFFFFFFFF);
        sheet.getGraphic()->makePictureFromPixels(pixels.data(), 256, 256, true, true, false, nullptr);
        sheet.sliceGrid(64, 32, 8); // 64 x 32 frames
        // Four sequences of one frame each: 0 hover, 1 rest, 2 hover selected, 3 rest selected.
        picture.addFrames(&sheet, 4);
        for (int i = 0; i < 4; i++) picture.addSequence(1.0)->addStep(i, false, false, 1);
        std::vector<uint32_t> knobPixels(64 * 52, 0xFFFFFFFF);
        knobSheet.getGraphic()->makePictureFromPixels(knobPixels.data(), 64, 52, true, true, false, nullptr);
        knobSheet.sliceGrid(32, 52, 2); // the knob's 32 x 52 pictures
        knobPicture.addFrames(&knobSheet, -1);
        knobPicture.addSequence(1.0)->addStep(0, false, false, 1);
        knobPicture.addSequence(1.0)->addStep(1, false, false, 1);
        sharedGraphic = createGraphic();
        MouseState = MouseStateRecord();
        clearTooltip();
        savedFrameTime = frameTime;
        frameTime = kPass;
        KGraphicRecorder::clearCalls();
    }
    void TearDown() override {
        delete sharedGraphic;
        sharedGraphic = nullptr;
        MouseState = MouseStateRecord();
        clearTooltip();
        CursorKind = kCursorArrow;
        frameTime = savedFrameTime;
    }

    // One pass of the mouse poll: the previous button state moves to "before".
    static void mouse(int x, int y, bool down) {
        MouseState.leftBefore = MouseState.leftNow;
        MouseState.leftNow = down;
        MouseState.x = x;
        MouseState.y = y;
    }
    static void pass(GF_SpriteButton& button, int x, int y, bool down) {
        mouse(x, y, down);
        button.update(false);
    }

    static std::vector<RecordedDraw> sharedCalls() {
        return KGraphicRecorder::callsOn(static_cast<KGraphicRecorder*>(sharedGraphic));
    }

    ScopedGraphicRecording recording;
    SpriteSheet sheet{1};
    SpriteAnimation picture;
    SpriteSheet knobSheet{1};
    SpriteAnimation knobPicture;
    double savedFrameTime = 0;
};

} // namespace

// The button at (100, 100), 64 x 32: inside is x 100..163, y 100..131.
TEST_F(WidgetsTest, ButtonClicksOnlyForAPressThatStartedAndEndedOnIt) {
    struct Step {
        int x, y;
        bool down;
    };
    const struct {
        const char* name;
        std::vector<Step> script;
        int clicks;
    } cases[] = {
        {"press and release inside", {{110, 110, false}, {110, 110, true}, {110, 110, false}}, 1},
        {"press inside, drag out, release outside",
         {{110, 110, false}, {110, 110, true}, {300, 300, true}, {300, 300, false}},
         0},
        {"press inside, out and back in, release inside",
         {{110, 110, false}, {110, 110, true}, {300, 300, true}, {120, 105, true}, {120, 105, false}},
         1},
        {"press outside, drag in, release inside",
         {{300, 300, false}, {300, 300, true}, {110, 110, true}, {110, 110, false}},
         0},
    };
    for (const auto& c : cases) {
        GF_SpriteButton button(100, 100, &picture, 0, false, false, kButtonBoxed);
        MouseState = MouseStateRecord();
        int clicks = 0;
        for (const Step& s : c.script) {
            pass(button, s.x, s.y, s.down);
            clicks += button.clicked;
        }
        EXPECT_EQ(clicks, c.clicks) << c.name;
        EXPECT_FALSE(button.pressed) << c.name;
    }
}

TEST_F(WidgetsTest, ButtonHoverAndPressFlagsFollowTheMouse) {
    GF_SpriteButton button(100, 100, &picture, 0, false, false, kButtonBoxed);
    pass(button, 110, 110, false);
    EXPECT_TRUE(button.hovered);
    EXPECT_EQ(CursorKind, kCursorHand);
    pass(button, 110, 110, true);
    EXPECT_TRUE(button.pressed);
    EXPECT_TRUE(button.hovered);
    pass(button, 300, 300, true);
    EXPECT_FALSE(button.hovered);
    EXPECT_FALSE(button.pressed);
    EXPECT_TRUE(button.pressStarted) << "dragging out keeps the press";

    GF_SpriteButton other(100, 100, &picture, 0, false, false, kButtonBoxed);
    MouseState = MouseStateRecord();
    pass(other, 300, 300, true);
    pass(other, 110, 110, true);
    EXPECT_FALSE(other.hovered) << "not hovered while a press from elsewhere is held";
    pass(other, 110, 110, false);
    EXPECT_FALSE(other.clicked);
    pass(other, 110, 110, false);
    EXPECT_TRUE(other.hovered);

    pass(other, 110, 110, true);
    other.update(true);
    EXPECT_FALSE(other.pressed || other.hovered || other.pressStarted || other.clicked);
    EXPECT_EQ(other.hoverTime, 0);
}

TEST_F(WidgetsTest, ButtonHitBoxesAndTheMarginWhileHeld) {
    GF_SpriteButton button(100, 100, &picture, 0, false, false, kButtonBoxed);
    EXPECT_EQ(button.width, 64);
    EXPECT_EQ(button.height, 32);
    EXPECT_TRUE(button.containsPoint(100, 100));
    EXPECT_TRUE(button.containsPoint(163, 131));
    EXPECT_FALSE(button.containsPoint(164, 110)) << "the right edge is outside";
    EXPECT_FALSE(button.containsPoint(110, 132));

    button.offsetX = 10;
    EXPECT_FALSE(button.containsPoint(100, 110));
    EXPECT_TRUE(button.containsPoint(173, 110));
    button.offsetX = 0;

    button.explicitHitBox = 1; // centre (132, 116)
    button.hitLeft = -10;
    button.hitRight = 10;
    button.hitTop = -5;
    button.hitBottom = 5;
    EXPECT_TRUE(button.containsPoint(122, 111));
    EXPECT_FALSE(button.containsPoint(142, 116));
    EXPECT_FALSE(button.containsPoint(121, 116));

    button.holdMargin = 20;
    EXPECT_TRUE(button.containsPointWithMargin(155, 116));
    pass(button, 125, 116, false);
    pass(button, 125, 116, true);
    pass(button, 155, 116, true); // inside the margin only: still held
    EXPECT_TRUE(button.pressed);
    pass(button, 155, 116, false);
    EXPECT_TRUE(button.clicked) << "the release inside the margin clicks";
}

TEST_F(WidgetsTest, DisabledButtonsNeitherHoverNorClickNorHint) {
    GF_SpriteButton button(100, 100, &picture, 0, false, false, kButtonImage);
    button.setHint("Quit");
    button.disabled = 1;
    for (int i = 0; i < 100; i++) {
        pass(button, 110, 110, i % 2 == 1);
        EXPECT_FALSE(button.hovered || button.clicked || button.pressed);
    }
    EXPECT_EQ(CursorKind, kCursorArrow);
    button.draw();
    EXPECT_FALSE(Tooltip.shown);
}

TEST_F(WidgetsTest, HintShowsOnThePassAfterSevenTenthsOfASecondWhereTheMouseThenWas) {
    GF_SpriteButton button(100, 100, &picture, 0, false, false, kButtonBoxed);
    button.setHint("Start the game");
    frameTime = 0.7;
    pass(button, 110, 110, false); // hovered for exactly 0.7 s after this pass
    frameTime = kPass;
    pass(button, 120, 112, false);
    EXPECT_FALSE(button.hintDue) << "0.7 s is not more than 0.7 s";
    pass(button, 121, 113, false);
    EXPECT_TRUE(button.hintDue);
    EXPECT_EQ(button.hintX, 121);
    EXPECT_EQ(button.hintY, 113);
    pass(button, 150, 125, false);
    EXPECT_EQ(button.hintX, 121) << "the hint stays where it appeared";
    button.draw();
    EXPECT_TRUE(Tooltip.shown);
    EXPECT_EQ(Tooltip.text, "Start the game");
    pass(button, 400, 400, false);
    pass(button, 400, 400, false);
    EXPECT_FALSE(button.hintDue) << "leaving the button ends the hint";
}

TEST_F(WidgetsTest, ImageButtonsFadeTheirHoverPictureInATenthOfASecond) {
    GF_SpriteButton button(100, 100, &picture, 0, false, false, kButtonImage);
    frameTime = 0.025;
    for (int i = 0; i < 3; i++) pass(button, 110, 110, false);
    EXPECT_NEAR(button.hoverFade, 0.75, 1e-9);
    EXPECT_EQ(button.baseAlpha, 1.0);
    pass(button, 110, 110, false);
    EXPECT_NEAR(button.hoverFade, 1.0, 1e-9);
    EXPECT_EQ(button.baseAlpha, 0.0) << "the resting picture goes once the hover picture covers it";

    KGraphicRecorder::clearCalls();
    pass(button, 110, 110, true);
    button.selected = 1;
    button.draw();
    auto calls = KGraphicRecorder::callsOn(static_cast<KGraphicRecorder*>(sheet.getGraphic()));
    ASSERT_EQ(calls.size(), 2u);
    // Sequence 3 (rest, selected) at the base alpha, then 2 (hover, selected) at the fade; pressed and
    // hovered moves the picture 1 right and 2 down.
    EXPECT_EQ(calls[0].args, (std::vector<float>{192, 0, 256, 32, 101, 102, 0, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(calls[1].args, (std::vector<float>{128, 0, 192, 32, 101, 102, 0, 1, 1, 0, 0, 0, 0}));

    for (int i = 0; i < 5; i++) pass(button, 400, 400, false);
    EXPECT_EQ(button.hoverFade, 0.0);
    EXPECT_EQ(button.baseAlpha, 1.0);
}

TEST_F(WidgetsTest, BoxedButtonsDrawBoxFrameShadeAndOutline) {
    GF_SpriteButton button(100, 100, &picture, 90, false, false, kButtonBoxed);
    pass(button, 110, 110, false);
    KGraphicRecorder::clearCalls();
    button.draw();
    auto shared = sharedCalls();
    ASSERT_EQ(shared.size(), 6u); // fill, shade, four outline lines
    EXPECT_EQ(shared[0].args, (std::vector<float>{100, 100, 164, 132, 0, 0, 1, 0.5f}));
    EXPECT_EQ(shared[1].args, (std::vector<float>{100, 100, 164, 132, 1, 1, 1, 0.2f})) << "hovered: white shade";
    EXPECT_EQ(shared[2].operation, "drawLine");
    auto onSheet = KGraphicRecorder::callsOn(static_cast<KGraphicRecorder*>(sheet.getGraphic()));
    ASSERT_EQ(onSheet.size(), 1u);
    EXPECT_EQ(onSheet[0].args, (std::vector<float>{0, 0, 64, 32, 100, 100, 90, 1, 1, 0, 0, 0, 0}));

    pass(button, 110, 110, true);
    KGraphicRecorder::clearCalls();
    button.draw();
    EXPECT_EQ(sharedCalls()[1].args, (std::vector<float>{100, 100, 164, 132, 0, 0, 0, 0.2f})) << "pressed: dark";
}

TEST_F(WidgetsTest, SliderValuesAndADraggedKnob) {
    Slider slider(&picture, &knobPicture, 300);
    EXPECT_EQ(slider.knobCentre, 542) << "a new slider stands at 1.0";
    slider.setValue(0.5);
    EXPECT_EQ(slider.knobCentre, 398);
    EXPECT_EQ(slider.knob->x, 398 - 16);
    EXPECT_EQ(slider.knob->y, 300);
    slider.setValue(-2);
    EXPECT_EQ(slider.knobCentre, 255);
    slider.setValue(7);
    EXPECT_EQ(slider.knobCentre, 542);
    slider.setValue(std::nan(""));
    EXPECT_EQ(slider.knobCentre, 255) << "not a number: the start of the range";
    slider.setKnobX(100);
    EXPECT_EQ(slider.knobCentre, 255);

    // The owner's drag: while the knob is pressed its centre follows the mouse x.
    GF_SpriteButton& knob = *slider.knob;
    auto drag = [&](int from, int to, int step) {
        for (int x = from; x != to + step; x += step) {
            pass(knob, x, 320, true);
            if (knob.pressed) slider.setKnobX(MouseState.x);
        }
    };
    slider.setValue(0.5);
    pass(knob, 398, 320, false);
    drag(398, 600, 2);
    EXPECT_EQ(slider.knobCentre, 542) << "held at the end of its range; the mouse ran off the knob";
    pass(knob, 600, 320, false);
    EXPECT_FALSE(knob.clicked);

    pass(knob, 542, 320, false);
    drag(542, 300, -2);
    EXPECT_EQ(slider.knobCentre, 300);
    EXPECT_NEAR(slider.getValue(), (300 - 255) / 287.0, 1e-12);
    pass(knob, 300, 320, false);
    EXPECT_TRUE(knob.clicked);
}

TEST_F(WidgetsTest, SliderTrackIsCapsAndFortyOnePieces) {
    Slider slider(&picture, &knobPicture, 300);
    KGraphicRecorder::clearCalls();
    slider.draw();
    auto calls = KGraphicRecorder::callsOn(static_cast<KGraphicRecorder*>(sheet.getGraphic()));
    ASSERT_EQ(calls.size(), 43u);
    EXPECT_EQ(KGraphicRecorder::callsOn(static_cast<KGraphicRecorder*>(knobSheet.getGraphic())).size(), 2u)
        << "then the knob's two pictures";
    EXPECT_EQ(calls[0].args[0], 0) << "left cap: sequence 0";
    EXPECT_EQ(calls[0].args[4], 250);
    EXPECT_EQ(calls[0].args[5], 325);
    EXPECT_EQ(calls[1].args[0], 64) << "middle pieces: sequence 1";
    EXPECT_EQ(calls[1].args[4], 257);
    EXPECT_EQ(calls[41].args[4], 250 + 41 * 7);
    EXPECT_EQ(calls[42].args[0], 128) << "right cap: sequence 2";
    EXPECT_EQ(calls[42].args[4], 544);
}

TEST_F(WidgetsTest, RadioGroupSelectsTheClickedOption) {
    RadioGroup group(&picture, 200);
    for (const char* label : {"Easy", "Medium", "Hard"}) group.addOption(label);
    EXPECT_EQ(group.buttons[2]->x, 470);
    EXPECT_EQ(group.buttons[2]->y, 260);
    group.select(1);
    EXPECT_EQ(group.selection, 1);
    EXPECT_TRUE(group.buttons[1]->selected);

    // Click the third option (rows are 30 apart; the 64 x 32 buttons overlap by 2 rows of pixels).
    const int x = 480, y = 275;
    for (bool down : {false, true, false}) {
        mouse(x, y, down);
        group.update();
    }
    EXPECT_EQ(group.selection, 2);
    EXPECT_FALSE(group.buttons[1]->selected);
    EXPECT_TRUE(group.buttons[2]->selected);
    group.select(9);
    EXPECT_EQ(group.selection, 2) << "an option that does not exist changes nothing";
}

TEST_F(WidgetsTest, LabelsSitBesideTheirBoxes) {
    TempUserFolder home;
    loadBitmapFonts();
    KText* font = getFont(1);
    ASSERT_NE(font, nullptr);
    CheckBox right(&picture, 100, 50, "Windowed", true);
    CheckBox left(&picture, 400, 50, "Auto aim", false);
    EXPECT_EQ(right.button->drawMode, kButtonImage2);

    auto glyphsOf = [&](CheckBox& box) {
        KGraphicRecorder::clearCalls();
        box.draw();
        std::vector<RecordedDraw> glyphs;
        for (const RecordedDraw& call : KGraphicRecorder::calls())
            if (call.picture != sheet.getGraphic()) glyphs.push_back(call);
        return glyphs;
    };
    auto rightGlyphs = glyphsOf(right);
    ASSERT_FALSE(rightGlyphs.empty());
    EXPECT_EQ(rightGlyphs.front().args[4], 130) << "the label starts at x + 28 + 2";
    EXPECT_EQ(rightGlyphs.front().args[5], 58) << "at y + 8";
    // The left label ends at x - 2: the right edge of its rightmost glyph, give or take the last advance.
    float rightmost = 0;
    for (const RecordedDraw& glyph : glyphsOf(left))
        rightmost = std::max(rightmost, glyph.args[4] + (glyph.args[2] - glyph.args[0]));
    EXPECT_LE(rightmost, 398);
    EXPECT_GE(rightmost, 394);

    RadioGroup group(&picture, 200);
    group.addOption("Hard");
    KGraphicRecorder::clearCalls();
    group.draw();
    bool labelAt = false;
    for (const RecordedDraw& call : KGraphicRecorder::calls())
        if (call.picture != sheet.getGraphic() && call.args[5] == 208 && call.args[4] >= 500 && call.args[4] <= 502)
            labelAt = true;
    EXPECT_TRUE(labelAt) << "radio labels at (470 + 30, top + 8)";
    freeBitmapFonts();
}

TEST_F(WidgetsTest, PanelAndWindowFrameGeometry) {
    drawPanelBox(10, 20, 100, 50);
    auto panel = sharedCalls();
    ASSERT_EQ(panel.size(), 5u);
    EXPECT_EQ(panel[0].args, (std::vector<float>{10, 20, 110, 70, 0.8f, 0.8f, 0.8f, 1}));
    EXPECT_EQ(panel[1].args, (std::vector<float>{10, 20, 110, 20, 0, 0, 0, 1}));

    TempUserFolder home;
    loadWindowFrame();
    ASSERT_NE(getWindowFrame(), nullptr);
    ASSERT_EQ(getWindowFrame()->frameCount(), 8);
    KGraphicRecorder::clearCalls();
    drawWindowFrame(41, 10, 101, 65); // made even: x 40, w 100 (6 cells), h 64 (4 cells)
    auto fill = sharedCalls();
    ASSERT_EQ(fill.size(), 1u);
    EXPECT_EQ(fill[0].args, (std::vector<float>{48, 18, 128, 66, 0, 0, 0.2f, 0.8f}));
    auto cells = KGraphicRecorder::callsOn(static_cast<KGraphicRecorder*>(getWindowFrame()->getGraphic()));
    ASSERT_EQ(cells.size(), 4u + 2 * 4 + 2 * 2);
    EXPECT_EQ(cells[1].args[0], 16) << "top-right corner";
    EXPECT_EQ(cells[1].args[4], 40 + 80) << "the right column starts at x + 80";
    EXPECT_EQ(cells[2].args[5], 10 + 48) << "the bottom row";
    EXPECT_EQ(cells[4].args[0], 64) << "top edge";
    EXPECT_EQ(cells[4].args[4], 56);
    EXPECT_EQ(cells[cells.size() - 1].args[0], 80) << "right edge last";
    freeWindowFrame();
    EXPECT_EQ(getWindowFrame(), nullptr);
}
