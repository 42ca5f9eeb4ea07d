// Key states, the back key and the mouse, over the host's key poll.
#include "InputState.h"

#include "FrameClock.h"
#include "GameWindow.h"
#include "KEngineKeys.h"
#include "KMiscTools.h"
#include "KMouse.h"
#include "KWindow.h"
#include "MouseCursor.h"

namespace {

// Virtual keys (the system's codes) that the mouse and the skip test poll.
enum : int {
    kVkLeftButton = 0x01,
    kVkRightButton = 0x02,
    kVkBackspace = 0x08,
    kVkTab = 0x09,
    kVkReturn = 0x0D,
    kVkShift = 0x10,
    kVkControl = 0x11,
    kVkSpace = 0x20,
    kVkLeft = 0x25,
    kVkUp = 0x26,
    kVkRight = 0x27,
    kVkDown = 0x28,
    kVkKeypad0 = 0x60,
    kVkKeypad9 = 0x69,
};

KeyPollFunction keyPoll = isVirtualKeyDown;

bool isEngineKeyDown(int engineKey) {
    if (engineKey < 0 || engineKey >= kNoEngineKey) return false;
    return isGameKeyDown(engineKeyVirtualKey(engineKey));
}

// The character an engine key types (0 none).
int32_t typedCharacterOf(int engineKey, bool shift) {
    if (engineKey >= 25 && engineKey <= 50) return (shift ? 'A' : 'a') + (engineKey - 25);
    if (engineKey >= 51 && engineKey <= 60) return '0' + (engineKey - 51);
    if (engineKey >= 61 && engineKey <= 70) return '0' + (engineKey - 61);
    if (engineKey == 4) return ' ';
    if (engineKey == 86) return '.';
    if (engineKey == 22) return 8;
    return 0;
}

} // namespace

void setKeyPoll(KeyPollFunction poll) {
    keyPoll = poll ? poll : isVirtualKeyDown;
}

bool isGameKeyDown(int virtualKey) {
    return virtualKey > 0 && keyPoll(virtualKey);
}

void KeyState::update() {
    downBefore = downNow;
    downNow = isEngineKeyDown(engineKey);
    fired = false;
    if (downNow) {
        if (!downBefore) {
            downBefore = true;
            fired = true;
        }
        holdTime += frameTime;
    } else {
        holdTime = 0.0;
        repeatTime = 0.0;
    }
    if (holdTime > repeatDelay) {
        repeatTime += frameTime;
        if (repeatTime > repeatInterval) {
            fired = true;
            repeatTime = 0.0;
        }
    }
}

KeyStateTable::KeyStateTable() {
    for (int i = 0; i < kTypingKeyCount; ++i) keys[size_t(i)].engineKey = i;
}

void KeyStateTable::update() {
    typedCharacter = 0;
    for (KeyState& key : keys) key.update();
    const bool shift = keys[5].downNow || keys[6].downNow;
    for (const KeyState& key : keys) {
        if (!key.fired) continue;
        const int32_t character = typedCharacterOf(key.engineKey, shift);
        if (character != 0) {
            typedCharacter = character;
            return;
        }
    }
}

KeyState* BackKey = nullptr;

void createBackKey() {
    delete BackKey;
    BackKey = new KeyState();
    BackKey->engineKey = kBackEngineKey;
}

void deleteBackKey() {
    delete BackKey;
    BackKey = nullptr;
}

bool backKeyReleased() {
    if (!BackKey || !BackKey->downBefore || BackKey->downNow) return false;
    BackKey->downBefore = false;
    return true;
}

MouseStateRecord MouseState;
bool mouseButtonsSwapped = false;

void resetMouseState() {
    MouseState = MouseStateRecord();
    CursorKind = kCursorArrow;
    systemCursorHidden = true;
    while (showSystemCursor(false) >= 0) {
    }
}

void restoreSystemCursor() {
    systemCursorHidden = false;
    while (showSystemCursor(true) < 0) {
    }
}

void pollMouse() {
    MouseState.leftBefore = MouseState.leftNow;
    MouseState.rightBefore = MouseState.rightNow;
    MouseState.x = int16_t(getMouseX());
    MouseState.y = int16_t(getMouseY());
    if (gameWindow && gameWindow->getTouchEmulation()) {
        MouseState.leftNow = isTouchDown();
        MouseState.rightNow = false;
        return;
    }
    const int primary = mouseButtonsSwapped ? kVkRightButton : kVkLeftButton;
    const int secondary = mouseButtonsSwapped ? kVkLeftButton : kVkRightButton;
    MouseState.leftNow = isGameKeyDown(primary);
    MouseState.rightNow = isGameKeyDown(secondary);
}

bool mouseButtonPressed() {
    return MouseState.leftNow && !MouseState.leftBefore;
}

bool anyInputPressed() {
    if (MouseState.leftBefore && !MouseState.leftNow) return true;
    if (MouseState.rightBefore && !MouseState.rightNow) return true;
    static constexpr int kActionKeys[] = {kVkReturn, kVkLeft,  kVkUp,      kVkDown,      kVkRight,
                                          kVkSpace,  kVkShift, kVkControl, kVkBackspace, kVkTab};
    for (int key : kActionKeys)
        if (isGameKeyDown(key)) return true;
    if (backKeyReleased()) return true;
    for (int key = 'A'; key <= 'Z'; ++key)
        if (isGameKeyDown(key)) return true;
    for (int key = '0'; key <= '9'; ++key)
        if (isGameKeyDown(key)) return true;
    for (int key = kVkKeypad0; key <= kVkKeypad9; ++key)
        if (isGameKeyDown(key)) return true;
    return false;
}
