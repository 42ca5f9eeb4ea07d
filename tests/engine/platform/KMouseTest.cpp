// The mouse mapping between back-buffer pixels and game coordinates, with a letterboxed game area, and the
// mouse functions with and without a window (the pointer is a test stand-in).
#include "KMouse.h"
#include "HostInput.h"
#include "KWindowD3D.h"

#include <gtest/gtest.h>

TEST(KMouse, MappingOfALetterboxedGameArea) {
    // A 1440 x 1080 game area at x 240 on a 1920 x 1080 back buffer, shown as 800 x 600.
    const float scale = 600.0f / 1080.0f;
    struct Case {
        int position, game, rounded;
    } cases[] = {
        {240, 0, 0}, {241, 0, 0}, {1679, 799, 799}, {1680, 800, 800}, {239, 0, 0}, {0, -133, -133}, {960, 400, 400},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mapWindowToGame(c.position, 240, scale), c.game) << c.position;
        EXPECT_EQ(mapWindowToGameRounded(c.position, 240, scale), c.rounded) << c.position;
    }
    // Half a pixel decides where truncation alone would not: 0.9 of a game pixel rounds up to 1.
    EXPECT_EQ(mapWindowToGame(241, 240, 0.9f), 0);
    EXPECT_EQ(mapWindowToGameRounded(241, 240, 0.9f), 1);
    // The inverse truncates too (400 / 0.5555556 is just below 720).
    EXPECT_EQ(mapGameToWindow(0, 240, scale), 240);
    EXPECT_EQ(mapGameToWindow(400, 240, scale), 959);
    EXPECT_EQ(mapGameToWindow(800, 240, scale), 1679);
}

TEST(KMouse, FunctionsWithoutAWindowDoNothing) {
    setMouseWindow(nullptr);
    host::setCursorOverride(500, 400);
    EXPECT_EQ(getMouseX(), 0);
    EXPECT_EQ(getMouseY(), 0);
    EXPECT_EQ(getMouseXRounded(), 0);
    setMousePosition(10, 10);
    int x, y;
    host::getCursorPos(nullptr, x, y);
    EXPECT_EQ(x, 500);
    host::clearCursorOverride();
}

TEST(KMouse, FunctionsFollowTheMappingAndTheEmulatedPointer) {
    KWindowD3D window; // never opened: only its handle is used
    setMouseWindow(&window);
    host::setCursorOverride(1679, 540);
    EXPECT_FALSE(setViewMapping(0, 0, 1.0f)); // the fresh mapping
    EXPECT_TRUE(setViewMapping(240, 0, 600.0f / 1080.0f));
    EXPECT_FALSE(setViewMapping(240, 0, 600.0f / 1080.0f));
    EXPECT_EQ(getMouseX(), 799);
    EXPECT_EQ(getMouseY(), 300);
    setMousePosition(400, 300);
    int x, y;
    host::getCursorPos(nullptr, x, y);
    EXPECT_EQ(x, 959);
    EXPECT_EQ(y, 540);

    setMouseTouchEmulation(true);
    setEmulatedPointer(12, 34);
    EXPECT_EQ(getMouseX(), 12);
    EXPECT_EQ(getMouseY(), 34);
    EXPECT_EQ(getMouseXRounded(), 399); // the rounded form always reads the real pointer
    setMouseTouchEmulation(false);

    setMouseWindow(nullptr);
    host::clearCursorOverride();
}
