// The built-in cursor picture decodes as a 16 x 23 arrow with alpha, and preparing a window's input loads
// it through the renderer factory and draws it with its tip at the pointer.
#include "KEngineCursor.h"
#include "HostInput.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "KImage.h"
#include "KMouse.h"
#include "KWindowD3D.h"

#include <gtest/gtest.h>

TEST(KEngineCursor, PictureIsASixteenByTwentyThreeArrowWithAlpha) {
    KImage image;
    ASSERT_TRUE(KImage::decode(K_IMAGE_PNG, kEngineCursorPng, kEngineCursorPngSize, image));
    EXPECT_EQ(image.getWidth(), 16);
    EXPECT_EQ(image.getHeight(), 23);
    EXPECT_TRUE(image.getHasAlpha());
    EXPECT_EQ(KImage::alpha(image.getPixel(0, 0)), 255u); // the tip
    EXPECT_EQ(KImage::alpha(image.getPixel(15, 0)), 0u);  // beside it, clear
    EXPECT_GT(KImage::red(image.getPixel(2, 5)), 200u);   // a white body
}

TEST(KEngineCursor, PreparedForAWindowAndDrawnAtThePointer) {
    ScopedGraphicRecording recording;
    KWindowD3D window; // not opened: the cursor only needs the window's view and handle
    prepareInput(&window);
    auto* picture = dynamic_cast<KGraphicRecorder*>(getEngineCursorPicture());
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(picture->hasPicture());
    EXPECT_EQ(picture->fileName(), ".png");
    EXPECT_TRUE(picture->isLinear());
    EXPECT_EQ(getMouseWindow(), &window);

    host::setCursorOverride(100, 50);
    KGraphicRecorder::clearCalls();
    drawEngineCursor();
    std::vector<RecordedDraw> draws = KGraphicRecorder::callsOn(picture);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].operation, "blitAlphaRect");
    EXPECT_FLOAT_EQ(draws[0].args[4], 99);
    EXPECT_FLOAT_EQ(draws[0].args[5], 49);
    host::clearCursorOverride();

    releaseInput();
    EXPECT_EQ(getEngineCursorPicture(), nullptr);
    EXPECT_EQ(getMouseWindow(), nullptr);
}
