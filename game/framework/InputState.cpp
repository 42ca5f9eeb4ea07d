// Key states, the back key and the mouse, over the host's key poll.
#include "InputState.h"

#include "FrameClock.h"
#include "GameWindow.h"
#include "HostInput.h"
#include "KEngineKeys.h"
#include "KMouse.h"
#include "KWindow.h"
#include "MouseCursor.h"

namespace {

KeyPollFunction keyPoll = host::getAsyncKeyState;

bool isEngineKeyDown(int engineKey) {
    if (engineKey < 0 || engineKey >= kNoEngineKey) return false;
    return isVirtualKeyDown(engineKeyVirtualKey(engineKey));
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
    keyPoll = poll ? poll : host::getAsyncKeyState;
}

bool isVirtualKeyDown(int virtualKey) {
    return virtualKey > 0 && (uint16_t(keyPoll(virtualKey)) & 0x8000) != 0;
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
    while (host::showCursor(false) >= 0) {
    }
}

void restoreSystemCursor() {
    systemCursorHidden = false;
    while (host::showCursor(true) < 0) {
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
    const int primary = mouseButtonsSwapped ? host::VK_RBUTTON : host::VK_LBUTTON;
    const int secondary = mouseButtonsSwapped ? host::VK_LBUTTON : host::VK_RBUTTON;
    MouseState.leftNow = isVirtualKeyDown(primary);
    MouseState.rightNow = isVirtualKeyDown(secondary);
}

bool mouseButtonPressed() {
    return MouseState.leftNow && !MouseState.leftBefore;
}

bool anyInputPressed() {
    if (MouseState.leftBefore && !MouseState.leftNow) return true;
    if (MouseState.rightBefore && !MouseState.rightNow) return true;
    static constexpr int kActionKeys[] = {host::VK_RETURN, host::VK_LEFT,  host::VK_UP,    host::VK_DOWN,
                                          host::VK_RIGHT,  host::VK_SPACE, host::VK_SHIFT, host::VK_CONTROL,
                                          host::VK_BACK,   host::VK_TAB};
    for (int key : kActionKeys)
        if (isVirtualKeyDown(key)) return true;
    if (backKeyReleased()) return true;
    for (int key = 'A'; key <= 'Z'; ++key)
        if (isVirtualKeyDown(key)) return true;
    for (int key = '0'; key <= '9'; ++key)
        if (isVirtualKeyDown(key)) return true;
    for (int key = 0x60; key <= 0x69; ++key) // keypad 0 .. 9
        if (isVirtualKeyDown(key)) return true;
    return false;
}
