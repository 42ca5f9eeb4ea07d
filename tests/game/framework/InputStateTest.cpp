// Key states with hold and repeat, the typing table, the back key, the mouse buttons and the skip test.
#include "InputState.h"
#include "FrameClock.h"
#include "HostInput.h"
#include "KMiscTools.h"
#include "KWindow.h"
#include "MouseCursor.h"
#include "ScriptedKeys.h"

#include <gtest/gtest.h>

namespace {
constexpr int kKeyA = 'A';
constexpr int kVkShift = 0x10, kVkBack = 0x08, kVkSpace = 0x20, kVkEscape = 0x1B, kVkReturn = 0x0D;
constexpr int kVkF1 = 0x70, kVkPeriod = 0xBE, kVkKeypad5 = 0x65;
} // namespace

TEST(KeyState, APressFiresOnceThenRepeatsAfterTheDelay) {
    ScriptedKeys keys;
    KeyState a;
    a.engineKey = 25; // A
    frameTime = 1.0 / 64.0;
    keys.press(kKeyA);
    std::vector<int> firedOn;
    for (int pass = 0; pass < 60; ++pass) {
        a.update();
        if (a.fired) firedOn.push_back(pass);
    }
    // Held more than 0.7 s from pass 44 on (45/64 s); each repeat needs more than 0.05 s, four passes.
    EXPECT_EQ(firedOn, (std::vector<int>{0, 47, 51, 55, 59}));

    keys.release(kKeyA);
    a.update();
    EXPECT_FALSE(a.fired);
    EXPECT_FALSE(a.downNow);
    EXPECT_EQ(a.holdTime, 0.0);
    EXPECT_EQ(a.repeatTime, 0.0);
    keys.press(kKeyA);
    a.update();
    EXPECT_TRUE(a.fired); // the next press fires at once again
}

TEST(KeyState, KeysWithoutAVirtualKeyAreNeverDown) {
    ScriptedKeys keys;
    keys.set({0, -1});
    for (int engineKey : {100, 101, 5000, -1}) {
        KeyState key;
        key.engineKey = engineKey;
        key.update();
        EXPECT_FALSE(key.downNow) << engineKey;
    }
}

TEST(KeyStateTable, TypesTheFirstFiredKeyThatMapsToACharacter) {
    ScriptedKeys keys;
    frameTime = 1.0 / 64.0;
    const struct {
        std::set<int> down;
        int32_t typed;
    } cases[] =
        {
            {{kKeyA}, 'a'},      {{kKeyA, kVkShift}, 'A'}, {{'Z', kVkShift}, 'Z'}, {{'5'}, '5'},
            {{kVkKeypad5}, '5'}, {{kVkSpace}, ' '},        {{kVkPeriod}, '.'},     {{kVkBack}, 8},
            {{'B', kKeyA}, 'a'},                      // engine-key order, one character per pass
            {{'1', 'Q'}, 'q'},                        // letters come before digits
            {{kVkF1}, 0},        {{kVkF1, '7'}, '7'}, // keys without a character are skipped
        };
    for (const auto& c : cases) {
        KeyStateTable table;
        keys.set({});
        table.update();
        keys.set(c.down);
        table.update();
        EXPECT_EQ(table.getTypedCharacter(), c.typed) << "first key " << *c.down.begin();
        table.update(); // still held, not yet repeating
        EXPECT_EQ(table.getTypedCharacter(), 0);
    }
}

TEST(BackKey, AReleaseIsSeenOnceByTheFirstCaller) {
    ScriptedKeys keys;
    createBackKey();
    EXPECT_EQ(BackKey->engineKey, 24);
    keys.press(kVkEscape);
    BackKey->update();
    EXPECT_FALSE(backKeyReleased()); // still held
    keys.release(kVkEscape);
    BackKey->update();
    EXPECT_TRUE(backKeyReleased());
    EXPECT_FALSE(backKeyReleased()); // a second screen in the same pass
    BackKey->update();
    EXPECT_FALSE(backKeyReleased());
    deleteBackKey();
    EXPECT_FALSE(backKeyReleased());
}

TEST(Mouse, ButtonsHonourTheSwappedSetting) {
    ScriptedKeys keys;
    MouseState = MouseStateRecord();
    keys.press(host::VK_RBUTTON);
    mouseButtonsSwapped = true;
    pollMouse();
    mouseButtonsSwapped = false;
    EXPECT_TRUE(MouseState.leftNow);
    EXPECT_FALSE(MouseState.rightNow);
    EXPECT_TRUE(mouseButtonPressed());
    pollMouse(); // not swapped: the same physical button is the right one again
    EXPECT_FALSE(MouseState.leftNow);
    EXPECT_TRUE(MouseState.leftBefore);
    EXPECT_TRUE(MouseState.rightNow);
    EXPECT_FALSE(mouseButtonPressed());
}

TEST(Mouse, ResetHidesTheSystemCursorAndShutdownShowsIt) {
    CursorKind = kCursorHand;
    MouseState.x = 5;
    resetMouseState();
    EXPECT_EQ(MouseState.x, 0);
    EXPECT_EQ(CursorKind, kCursorArrow);
    EXPECT_TRUE(systemCursorHidden);
    EXPECT_LT(host::cursorDisplayCount(), 0);
    resetMouseState(); // already hidden: one more hide, as the system counts it
    EXPECT_LT(host::cursorDisplayCount(), 0);
    restoreSystemCursor();
    EXPECT_FALSE(systemCursorHidden);
    EXPECT_EQ(host::cursorDisplayCount(), 0);
}

TEST(AnyInput, TestsInOrderAndConsumesTheBackKeyOnlyWhenNothingBeforeItHeld) {
    ScriptedKeys keys;
    const struct {
        const char* what;
        bool leftReleased;
        std::set<int> down;
        bool backReleased;
        bool expected;
        bool backStillReleased;
    } cases[] = {
        {"nothing", false, {}, false, false, false},
        {"left release", true, {}, true, true, true},
        {"return held", false, {kVkReturn}, true, true, true},
        {"back key released", false, {}, true, true, false},
        {"letter held", false, {'Q'}, false, true, false},
        {"keypad digit held", false, {0x60}, false, true, false},
        {"function key only", false, {kVkF1}, false, false, false},
    };
    createBackKey();
    for (const auto& c : cases) {
        keys.set(c.down);
        MouseState = MouseStateRecord();
        MouseState.leftBefore = c.leftReleased;
        *BackKey = KeyState();
        BackKey->engineKey = 24;
        BackKey->downBefore = c.backReleased;
        EXPECT_EQ(anyInputPressed(), c.expected) << c.what;
        EXPECT_EQ(backKeyReleased(), c.backStillReleased) << c.what;
    }
    deleteBackKey();
}
