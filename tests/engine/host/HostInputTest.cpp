// The input stand-in's tables and counters: SDL scancodes to virtual keys (Num Lock on the keypad) and scan
// codes, the cursor display counter the game loops on, and the test pointer.
#include "HostInput.h"

#include <SDL2/SDL_scancode.h>
#include <gtest/gtest.h>

TEST(HostInput, ScancodesGiveVirtualKeysAndScanCodes) {
    struct Case {
        SDL_Scancode scancode;
        bool numLock;
        int virtualKey, scanCode;
        bool extended;
    } cases[] = {
        {SDL_SCANCODE_A, true, 'A', 0x1E, false},          {SDL_SCANCODE_0, true, '0', 0x0B, false},
        {SDL_SCANCODE_ESCAPE, true, 27, 0x01, false},      {SDL_SCANCODE_F12, true, 123, 0x58, false},
        {SDL_SCANCODE_LSHIFT, true, 16, 0x2A, false},      {SDL_SCANCODE_RCTRL, true, 17, 0x1D, true},
        {SDL_SCANCODE_RALT, true, 18, 0x38, true},         {SDL_SCANCODE_LEFT, true, 37, 0x4B, true},
        {SDL_SCANCODE_KP_1, true, 97, 0x4F, false},        {SDL_SCANCODE_KP_1, false, 35, 0x4F, false},
        {SDL_SCANCODE_KP_5, false, 12, 0x4C, false},       {SDL_SCANCODE_KP_PERIOD, true, 110, 0x53, false},
        {SDL_SCANCODE_KP_DIVIDE, false, 111, 0x35, true},  {SDL_SCANCODE_SEMICOLON, true, 186, 0x27, false},
        {SDL_SCANCODE_APOSTROPHE, true, 222, 0x28, false}, {SDL_SCANCODE_MUTE, true, 0, 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(host::virtualKeyFromScancode(c.scancode, c.numLock), c.virtualKey) << c.scancode;
        EXPECT_EQ(host::scanCodeFromScancode(c.scancode), c.scanCode) << c.scancode;
        EXPECT_EQ(host::isExtendedScancode(c.scancode), c.extended) << c.scancode;
    }
}

TEST(HostInput, CursorCounterCountsBothWays) {
    int start = host::cursorDisplayCount();
    EXPECT_EQ(host::showCursor(false), start - 1);
    EXPECT_EQ(host::showCursor(false), start - 2);
    EXPECT_EQ(host::showCursor(true), start - 1);
    EXPECT_EQ(host::showCursor(true), start);
}

TEST(HostInput, CursorOverrideStandsInForThePointer) {
    host::setCursorOverride(12, 34);
    int x = 0, y = 0;
    EXPECT_TRUE(host::getCursorPos(nullptr, x, y));
    EXPECT_EQ(x, 12);
    EXPECT_EQ(y, 34);
    host::setCursorPos(nullptr, 56, 78);
    host::getCursorPos(nullptr, x, y);
    EXPECT_EQ(x, 56);
    EXPECT_EQ(y, 78);
    host::clearCursorOverride();
    EXPECT_FALSE(host::getCursorPos(nullptr, x, y)); // no window, no pointer
}
