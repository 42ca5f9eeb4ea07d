// Sprite animations: step timing with the overshoot carried one step at a time, the wrap, sequences that
// cannot move, flips turned by the step's, frames capped at the sheet, and which sheet frame each draw uses.
#include "SpriteAnimation.h"
#include "FrameClock.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "SpriteSheet.h"

#include <gtest/gtest.h>

namespace {

class SpriteAnimationTest : public testing::Test {
protected:
    void SetUp() override {
        std::vector<uint32_t> pixels(256 * 64, 0xFFFFFFFF);
        sheet.getGraphic()->makePictureFromPixels(pixels.data(), 256, 64, true, true, false, nullptr);
        sheet.sliceGrid(32, 32, 6); // frames 0..5, each 32 x 32
        KGraphicRecorder::clearCalls();
        savedFrameTime = frameTime;
    }
    void TearDown() override { frameTime = savedFrameTime; }

    // The source left edge of the one recorded draw: the sheet frame drawn is left / 32.
    static int drawnSheetFrame() {
        EXPECT_EQ(KGraphicRecorder::calls().size(), 1u);
        int frame = KGraphicRecorder::calls().empty() ? -1 : int(KGraphicRecorder::calls().back().args[0]) / 32;
        KGraphicRecorder::clearCalls();
        return frame;
    }

    ScopedGraphicRecording recording;
    SpriteSheet sheet{1};
    double savedFrameTime = 0;
};

} // namespace

TEST_F(SpriteAnimationTest, EightStepsOfPointEightSecondsLastTwoUpdatesEachAtTwentyFramesASecond) {
    SpriteAnimation animation;
    animation.addFrames(&sheet, -1);
    SpriteSequence* stroke = animation.addSequence(0.8);
    for (int i = 0; i < 8; i++) stroke->addStep(i % 6, false, false, 1);
    stroke->normalizeDurations();
    EXPECT_DOUBLE_EQ(stroke->steps[0]->duration, 0.125);
    EXPECT_EQ(stroke->speed, 0) << "a sequence only moves once selected";
    animation.setSequence(0);
    EXPECT_EQ(stroke->speed, 1.0);

    frameTime = 0.05;
    std::vector<int> shown;
    int wraps = 0;
    for (int pass = 0; pass < 17; pass++) {
        if (stroke->advance()) wraps++;
        shown.push_back(stroke->currentStep);
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 0, 0}));
    EXPECT_EQ(wraps, 1);
}

TEST_F(SpriteAnimationTest, ALongFramePassesOneStepAndCarriesTheOvershoot) {
    SpriteAnimation animation;
    animation.addFrames(&sheet, -1);
    SpriteSequence* sequence = animation.addSequence(1.0);
    for (int i = 0; i < 4; i++) sequence->addStep(i, false, false, 0.25);
    animation.setSequence(0);

    frameTime = 0.625; // two and a half steps in one update
    EXPECT_FALSE(sequence->advance());
    EXPECT_EQ(sequence->currentStep, 1);
    EXPECT_DOUBLE_EQ(sequence->steps[1]->elapsed, 0.375);
    frameTime = 0.0;
    EXPECT_FALSE(sequence->advance());
    EXPECT_EQ(sequence->currentStep, 2) << "the carried overshoot passes the next step on its own";
    EXPECT_FALSE(sequence->advance());
    EXPECT_EQ(sequence->currentStep, 2);

    frameTime = 0.5;
    sequence->advance();
    EXPECT_TRUE(sequence->advance()) << "passing the last step wraps";
    EXPECT_EQ(sequence->currentStep, 0);
}

TEST_F(SpriteAnimationTest, SequencesWithoutLengthOrStepsStandStill) {
    SpriteAnimation animation;
    animation.addFrames(&sheet, -1);
    SpriteSequence* still = animation.addSequence(0.0);
    still->addStep(1, false, false, 1);
    still->addStep(2, false, false, 1);
    animation.setSequence(0);
    frameTime = 0.05;
    EXPECT_FALSE(still->advance());
    EXPECT_EQ(still->currentStep, 0);
    EXPECT_DOUBLE_EQ(still->steps[0]->elapsed, 0.0);

    SpriteSequence* empty = animation.addSequence(1.0);
    animation.setSequence(1);
    EXPECT_FALSE(empty->advance());
    animation.draw(0, 0, false, false);
    EXPECT_EQ(drawnSheetFrame(), 0) << "a sequence without steps shows frame 0";
}

TEST_F(SpriteAnimationTest, StepFlipsTurnTheCallersAndFramesAreCappedAtTheSheet) {
    SpriteAnimation animation;
    animation.addFrames(&sheet, 10);
    EXPECT_EQ(animation.frameCount(), 6);
    EXPECT_EQ(animation.frameWidth(), 32);
    EXPECT_EQ(animation.frameHeight(), 32);

    animation.draw(5, 6, true, false);
    ASSERT_EQ(KGraphicRecorder::calls().size(), 1u);
    EXPECT_EQ(KGraphicRecorder::calls()[0].args, (std::vector<float>{0, 0, 32, 32, 5, 6, 1, 0}))
        << "no sequence: frame 0 with the caller's flips";
    KGraphicRecorder::clearCalls();

    SpriteSequence* sequence = animation.addSequence(1.0);
    sequence->addStep(4, true, false, 1);
    animation.setSequence(0);
    animation.draw(5, 6, true, true);
    ASSERT_EQ(KGraphicRecorder::calls().size(), 1u);
    EXPECT_EQ(KGraphicRecorder::calls()[0].args, (std::vector<float>{128, 0, 160, 32, 5, 6, 0, 1}));
    KGraphicRecorder::clearCalls();

    bool flipX = true, flipY = true;
    const SpriteFrame* frame = animation.currentSheetFrame(flipX, flipY);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->left, 128);
    EXPECT_TRUE(flipX);
    EXPECT_FALSE(flipY);

    sequence->addStep(9, false, false, 1); // past the animation's frames
    sequence->currentStep = 1;
    EXPECT_EQ(animation.currentSheetFrame(flipX, flipY), nullptr);
    animation.drawTransformed(0, 0, 0, 1, 1, false, false);
    EXPECT_TRUE(KGraphicRecorder::calls().empty());

    SpriteAnimation empty;
    EXPECT_EQ(empty.frameWidth(), 0);
    empty.draw(0, 0, false, false);
    EXPECT_TRUE(KGraphicRecorder::calls().empty());
}

TEST_F(SpriteAnimationTest, EachDrawEndsInItsSheetDraw) {
    SpriteAnimation animation;
    animation.addFrames(&sheet, -1);
    SpriteSequence* sequence = animation.addSequence(1.0);
    sequence->addStep(3, false, false, 1);
    animation.setSequence(0);
    const struct {
        const char* operation;
        std::function<void(SpriteAnimation&)> draw;
        int sheetFrame;
    } cases[] = {
        {"blitRect", [](SpriteAnimation& a) { a.blit(0, 0, false, false); }, 3},
        {"blitAlphaRect", [](SpriteAnimation& a) { a.draw(0, 0, false, false); }, 3},
        {"blitRectFx", [](SpriteAnimation& a) { a.drawStretched(0, 0, 90, 1, false, false); }, 3},
        {"blitAlphaRectFx", [](SpriteAnimation& a) { a.drawTransformed(0, 0, 90, 1, 1, false, false); }, 3},
        {"blitAlphaRectFx", [](SpriteAnimation& a) { a.drawClippedBottom(0, 0, 20, 0, 1, 1, false, false); }, 3},
        {"blitArbitraryQuad", [](SpriteAnimation& a) { a.drawClippedRotated(0, 0, 8, 180, 1, 1, false, false); }, 3},
        {"blitAlphaRectFx", [](SpriteAnimation& a) { a.drawFirstFrame(0, 0, 45, 1, false, false); }, 0},
    };
    for (const auto& c : cases) {
        c.draw(animation);
        ASSERT_EQ(KGraphicRecorder::calls().size(), 1u) << c.operation;
        EXPECT_EQ(KGraphicRecorder::calls()[0].operation, c.operation);
        EXPECT_EQ(drawnSheetFrame(), c.sheetFrame) << c.operation;
    }
}
