// Stand-in for keyboard and mouse polling: virtual-key codes (Windows values, the engine key table is built
// on them; letters, digits and punctuation follow the keyboard layout) over SDL's keyboard state, the character
// a key press types, the cursor display counter, the cursor clip, and the cursor position in
// back-buffer pixels of the game window.
#pragma once

#include "HostWindow.h"

#include <cstdint>

namespace host {

// Virtual keys the engine names (Windows values).
enum : int {
    VK_LBUTTON = 0x01,
    VK_RBUTTON = 0x02,
    VK_MBUTTON = 0x04,
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_CLEAR = 0x0C,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_F1 = 0x70,
    VK_F10 = 0x79,
};

// The virtual key of a key (SDL scancode and the SDL key code the layout gives it); 0 when it has none. The keys
// of letters, digits and punctuation take the virtual key of the character they type, so the key labelled Z is
// VK 'Z' on every layout; the other keys (arrows, function keys, modifiers, the keypad) keep theirs.
int virtualKeyOfKey(int sdlScancode, int sdlKeycode, bool numLock);
// The PC set-1 scan code of an SDL scancode; 0 when the key has none.
int scanCodeFromScancode(int sdlScancode);
bool isExtendedScancode(int sdlScancode);

// The character a key press types, as the system's translation of key messages gives it: Backspace, Tab,
// Return and Escape give 8, 9, 13 and 27; a key of the layout its character (letters in capitals with Shift or
// Caps Lock); the keypad its digits and signs. 0 for any other key, and while Control or Alt is held.
uint32_t characterOfKey(int sdlKeycode, uint16_t sdlModifiers);

// Key (or mouse button, VK 1, 2, 4) state now: bit 15 set while held down. Shift, Control and Alt count
// either side; the keypad digits need Num Lock, as on the desktop the game was made for. Keys are found
// through the current keyboard layout, as the messages name them.
int16_t getAsyncKeyState(int virtualKey);
// The test behind getAsyncKeyState, over a keyboard state (indexed by SDL scancode) and the layout's key codes.
bool isVirtualKeyHeld(int virtualKey, const uint8_t* keyboardState, int stateCount, bool numLock,
                      int (*keycodeOf)(int sdlScancode));

// The cursor display counter: +1 or -1 per call, returns the new count; visible while the count is >= 0.
int showCursor(bool show);
int cursorDisplayCount();

// Confines the pointer to the rectangle (back-buffer pixels, right and bottom inclusive); null releases it.
void clipCursor(WindowHandle window, const PixelRect* backBufferRect);
bool isCursorClipped();

// Cursor position in the window's back-buffer pixels (may lie outside it), and moving the pointer there.
bool getCursorPos(WindowHandle window, int& x, int& y);
void setCursorPos(WindowHandle window, int x, int y);

// Tests replace the pointer: a fixed position in back-buffer pixels that getCursorPos reports and that
// setCursorPos moves. Cleared by clearCursorOverride.
void setCursorOverride(int x, int y);
void clearCursorOverride();

} // namespace host
