// Keyboard and mouse polling over SDL: the key table that gives virtual keys (through the keyboard layout for
// letters, digits and punctuation) and PC scan codes, the cursor display counter and clip, and the pointer
// position in back-buffer pixels.
#include "HostInput.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <optional>

namespace host {

namespace {

struct KeyRow {
    SDL_Scancode scancode;
    int virtualKey;       // with Num Lock on; for a key of the layout, the one of its US position
    int virtualKeyNoLock; // with Num Lock off (differs on the keypad only)
    int scanCode;         // PC set 1
    bool extended;
};

// The keys up to the last punctuation key are the layout's: their virtual key follows the character they type
// (layoutVirtualKey). The others (Return to the right Windows key) keep one virtual key wherever they lie.
constexpr int kLayoutRows = 49;
constexpr KeyRow keyRows[] = {
    {SDL_SCANCODE_A, 'A', 'A', 0x1E, false},
    {SDL_SCANCODE_B, 'B', 'B', 0x30, false},
    {SDL_SCANCODE_C, 'C', 'C', 0x2E, false},
    {SDL_SCANCODE_D, 'D', 'D', 0x20, false},
    {SDL_SCANCODE_E, 'E', 'E', 0x12, false},
    {SDL_SCANCODE_F, 'F', 'F', 0x21, false},
    {SDL_SCANCODE_G, 'G', 'G', 0x22, false},
    {SDL_SCANCODE_H, 'H', 'H', 0x23, false},
    {SDL_SCANCODE_I, 'I', 'I', 0x17, false},
    {SDL_SCANCODE_J, 'J', 'J', 0x24, false},
    {SDL_SCANCODE_K, 'K', 'K', 0x25, false},
    {SDL_SCANCODE_L, 'L', 'L', 0x26, false},
    {SDL_SCANCODE_M, 'M', 'M', 0x32, false},
    {SDL_SCANCODE_N, 'N', 'N', 0x31, false},
    {SDL_SCANCODE_O, 'O', 'O', 0x18, false},
    {SDL_SCANCODE_P, 'P', 'P', 0x19, false},
    {SDL_SCANCODE_Q, 'Q', 'Q', 0x10, false},
    {SDL_SCANCODE_R, 'R', 'R', 0x13, false},
    {SDL_SCANCODE_S, 'S', 'S', 0x1F, false},
    {SDL_SCANCODE_T, 'T', 'T', 0x14, false},
    {SDL_SCANCODE_U, 'U', 'U', 0x16, false},
    {SDL_SCANCODE_V, 'V', 'V', 0x2F, false},
    {SDL_SCANCODE_W, 'W', 'W', 0x11, false},
    {SDL_SCANCODE_X, 'X', 'X', 0x2D, false},
    {SDL_SCANCODE_Y, 'Y', 'Y', 0x15, false},
    {SDL_SCANCODE_Z, 'Z', 'Z', 0x2C, false},
    {SDL_SCANCODE_1, '1', '1', 0x02, false},
    {SDL_SCANCODE_2, '2', '2', 0x03, false},
    {SDL_SCANCODE_3, '3', '3', 0x04, false},
    {SDL_SCANCODE_4, '4', '4', 0x05, false},
    {SDL_SCANCODE_5, '5', '5', 0x06, false},
    {SDL_SCANCODE_6, '6', '6', 0x07, false},
    {SDL_SCANCODE_7, '7', '7', 0x08, false},
    {SDL_SCANCODE_8, '8', '8', 0x09, false},
    {SDL_SCANCODE_9, '9', '9', 0x0A, false},
    {SDL_SCANCODE_0, '0', '0', 0x0B, false},
    {SDL_SCANCODE_MINUS, 189, 189, 0x0C, false},
    {SDL_SCANCODE_EQUALS, 187, 187, 0x0D, false},
    {SDL_SCANCODE_LEFTBRACKET, 219, 219, 0x1A, false},
    {SDL_SCANCODE_RIGHTBRACKET, 221, 221, 0x1B, false},
    {SDL_SCANCODE_BACKSLASH, 220, 220, 0x2B, false},
    {SDL_SCANCODE_NONUSHASH, 220, 220, 0x2B, false},
    {SDL_SCANCODE_SEMICOLON, 186, 186, 0x27, false},
    {SDL_SCANCODE_APOSTROPHE, 222, 222, 0x28, false},
    {SDL_SCANCODE_GRAVE, 192, 192, 0x29, false},
    {SDL_SCANCODE_COMMA, 188, 188, 0x33, false},
    {SDL_SCANCODE_PERIOD, 190, 190, 0x34, false},
    {SDL_SCANCODE_SLASH, 191, 191, 0x35, false},
    {SDL_SCANCODE_NONUSBACKSLASH, 226, 226, 0x56, false},
    {SDL_SCANCODE_RETURN, VK_RETURN, VK_RETURN, 0x1C, false},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE, VK_ESCAPE, 0x01, false},
    {SDL_SCANCODE_BACKSPACE, VK_BACK, VK_BACK, 0x0E, false},
    {SDL_SCANCODE_TAB, VK_TAB, VK_TAB, 0x0F, false},
    {SDL_SCANCODE_SPACE, VK_SPACE, VK_SPACE, 0x39, false},
    {SDL_SCANCODE_CAPSLOCK, 20, 20, 0x3A, false},
    {SDL_SCANCODE_F1, 112, 112, 0x3B, false},
    {SDL_SCANCODE_F2, 113, 113, 0x3C, false},
    {SDL_SCANCODE_F3, 114, 114, 0x3D, false},
    {SDL_SCANCODE_F4, 115, 115, 0x3E, false},
    {SDL_SCANCODE_F5, 116, 116, 0x3F, false},
    {SDL_SCANCODE_F6, 117, 117, 0x40, false},
    {SDL_SCANCODE_F7, 118, 118, 0x41, false},
    {SDL_SCANCODE_F8, 119, 119, 0x42, false},
    {SDL_SCANCODE_F9, 120, 120, 0x43, false},
    {SDL_SCANCODE_F10, 121, 121, 0x44, false},
    {SDL_SCANCODE_F11, 122, 122, 0x57, false},
    {SDL_SCANCODE_F12, 123, 123, 0x58, false},
    {SDL_SCANCODE_PRINTSCREEN, 44, 44, 0x37, true},
    {SDL_SCANCODE_SCROLLLOCK, 145, 145, 0x46, false},
    {SDL_SCANCODE_PAUSE, 19, 19, 0x45, false},
    {SDL_SCANCODE_INSERT, 45, 45, 0x52, true},
    {SDL_SCANCODE_HOME, 36, 36, 0x47, true},
    {SDL_SCANCODE_PAGEUP, 33, 33, 0x49, true},
    {SDL_SCANCODE_DELETE, 46, 46, 0x53, true},
    {SDL_SCANCODE_END, 35, 35, 0x4F, true},
    {SDL_SCANCODE_PAGEDOWN, 34, 34, 0x51, true},
    {SDL_SCANCODE_RIGHT, VK_RIGHT, VK_RIGHT, 0x4D, true},
    {SDL_SCANCODE_LEFT, VK_LEFT, VK_LEFT, 0x4B, true},
    {SDL_SCANCODE_DOWN, VK_DOWN, VK_DOWN, 0x50, true},
    {SDL_SCANCODE_UP, VK_UP, VK_UP, 0x48, true},
    {SDL_SCANCODE_NUMLOCKCLEAR, 144, 144, 0x45, true},
    {SDL_SCANCODE_KP_DIVIDE, 111, 111, 0x35, true},
    {SDL_SCANCODE_KP_MULTIPLY, 106, 106, 0x37, false},
    {SDL_SCANCODE_KP_MINUS, 109, 109, 0x4A, false},
    {SDL_SCANCODE_KP_PLUS, 107, 107, 0x4E, false},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN, VK_RETURN, 0x1C, true},
    {SDL_SCANCODE_KP_1, 97, 35, 0x4F, false},
    {SDL_SCANCODE_KP_2, 98, VK_DOWN, 0x50, false},
    {SDL_SCANCODE_KP_3, 99, 34, 0x51, false},
    {SDL_SCANCODE_KP_4, 100, VK_LEFT, 0x4B, false},
    {SDL_SCANCODE_KP_5, 101, VK_CLEAR, 0x4C, false},
    {SDL_SCANCODE_KP_6, 102, VK_RIGHT, 0x4D, false},
    {SDL_SCANCODE_KP_7, 103, 36, 0x47, false},
    {SDL_SCANCODE_KP_8, 104, VK_UP, 0x48, false},
    {SDL_SCANCODE_KP_9, 105, 33, 0x49, false},
    {SDL_SCANCODE_KP_0, 96, 45, 0x52, false},
    {SDL_SCANCODE_KP_PERIOD, 110, 46, 0x53, false},
    {SDL_SCANCODE_APPLICATION, 93, 93, 0x5D, true},
    {SDL_SCANCODE_LCTRL, VK_CONTROL, VK_CONTROL, 0x1D, false},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT, VK_SHIFT, 0x2A, false},
    {SDL_SCANCODE_LALT, VK_MENU, VK_MENU, 0x38, false},
    {SDL_SCANCODE_LGUI, 91, 91, 0x5B, true},
    {SDL_SCANCODE_RCTRL, VK_CONTROL, VK_CONTROL, 0x1D, true},
    {SDL_SCANCODE_RSHIFT, VK_SHIFT, VK_SHIFT, 0x36, false},
    {SDL_SCANCODE_RALT, VK_MENU, VK_MENU, 0x38, true},
    {SDL_SCANCODE_RGUI, 92, 92, 0x5C, true},
};

const KeyRow* findRow(int sdlScancode) {
    for (const KeyRow& row : keyRows)
        if (row.scancode == sdlScancode) return &row;
    return nullptr;
}

static_assert(keyRows[kLayoutRows - 1].scancode == SDL_SCANCODE_NONUSBACKSLASH &&
              keyRows[kLayoutRows].scancode == SDL_SCANCODE_RETURN);

bool isLayoutRow(const KeyRow& row) {
    return &row < keyRows + kLayoutRows;
}

// The virtual key of the character a key of the layout types, as the desktop the game was made for gives it:
// the key labelled Z is VK 'Z' wherever the layout puts it. 0 for a character with no virtual key of its own
// (an umlaut, say): that key keeps the virtual key of its position.
int layoutVirtualKey(int keycode) {
    if (keycode >= SDLK_a && keycode <= SDLK_z) return 'A' + (keycode - SDLK_a);
    if (keycode >= SDLK_0 && keycode <= SDLK_9) return '0' + (keycode - SDLK_0);
    switch (keycode) {
    case SDLK_SEMICOLON:
        return 186;
    case SDLK_EQUALS:
        return 187;
    case SDLK_COMMA:
        return 188;
    case SDLK_MINUS:
        return 189;
    case SDLK_PERIOD:
        return 190;
    case SDLK_SLASH:
        return 191;
    case SDLK_BACKQUOTE:
        return 192;
    case SDLK_LEFTBRACKET:
        return 219;
    case SDLK_BACKSLASH:
        return 220;
    case SDLK_RIGHTBRACKET:
        return 221;
    case SDLK_QUOTE:
        return 222;
    default:
        return 0;
    }
}

int rowVirtualKey(const KeyRow& row, int keycode, bool numLock) {
    if (isLayoutRow(row)) {
        if (int key = layoutVirtualKey(keycode)) return key;
    }
    return numLock ? row.virtualKey : row.virtualKeyNoLock;
}

int currentKeycode(int sdlScancode) {
    return int(SDL_GetKeyFromScancode(SDL_Scancode(sdlScancode)));
}

int cursorCount = 0;
bool cursorClipped = false;
SDL_Window* lastClipWindow = nullptr;
PixelRect lastClip; // in back-buffer pixels, as last handed to the window system
std::optional<std::pair<int, int>> cursorOverride;

} // namespace

int virtualKeyOfKey(int sdlScancode, int sdlKeycode, bool numLock) {
    const KeyRow* row = findRow(sdlScancode);
    return row ? rowVirtualKey(*row, sdlKeycode, numLock) : 0;
}

uint32_t characterOfKey(int sdlKeycode, uint16_t modifiers) {
    if ((modifiers & (KMOD_CTRL | KMOD_ALT)) != 0) return 0;
    if (sdlKeycode == SDLK_BACKSPACE || sdlKeycode == SDLK_TAB || sdlKeycode == SDLK_RETURN ||
        sdlKeycode == SDLK_ESCAPE)
        return uint32_t(sdlKeycode);
    const bool numLock = (modifiers & KMOD_NUM) != 0;
    if (sdlKeycode == SDLK_KP_ENTER) return '\r';
    if (numLock && sdlKeycode >= SDLK_KP_1 && sdlKeycode <= SDLK_KP_9) return uint32_t('1' + (sdlKeycode - SDLK_KP_1));
    switch (sdlKeycode) {
    case SDLK_KP_0:
        return numLock ? '0' : 0;
    case SDLK_KP_PERIOD:
        return numLock ? '.' : 0;
    case SDLK_KP_DIVIDE:
        return '/';
    case SDLK_KP_MULTIPLY:
        return '*';
    case SDLK_KP_MINUS:
        return '-';
    case SDLK_KP_PLUS:
        return '+';
    default:
        break;
    }
    // Key codes of the layout's keys are the characters they type unshifted; the rest carry SDL's scancode mark.
    if (sdlKeycode < ' ' || sdlKeycode == SDLK_DELETE || (sdlKeycode & SDLK_SCANCODE_MASK) != 0 ||
        sdlKeycode > 0x10FFFF)
        return 0;
    const bool shift = (modifiers & KMOD_SHIFT) != 0, capsLock = (modifiers & KMOD_CAPS) != 0;
    if (sdlKeycode >= SDLK_a && sdlKeycode <= SDLK_z)
        return uint32_t(shift != capsLock ? 'A' + (sdlKeycode - SDLK_a) : sdlKeycode);
    // What Shift makes of the other keys only the layout's input method knows, and the game keeps that off.
    return shift ? 0 : uint32_t(sdlKeycode);
}

int scanCodeFromScancode(int sdlScancode) {
    const KeyRow* row = findRow(sdlScancode);
    return row ? row->scanCode : 0;
}

bool isExtendedScancode(int sdlScancode) {
    const KeyRow* row = findRow(sdlScancode);
    return row && row->extended;
}

bool isVirtualKeyHeld(int virtualKey, const uint8_t* keyboardState, int stateCount, bool numLock,
                      int (*keycodeOf)(int sdlScancode)) {
    for (const KeyRow& row : keyRows) {
        if (row.scancode >= stateCount || !keyboardState[row.scancode]) continue;
        if (rowVirtualKey(row, isLayoutRow(row) ? keycodeOf(row.scancode) : 0, numLock) == virtualKey) return true;
    }
    return false;
}

int16_t getAsyncKeyState(int virtualKey) {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return 0;
    constexpr int16_t down = int16_t(0x8000);
    if (virtualKey == VK_LBUTTON || virtualKey == VK_RBUTTON || virtualKey == VK_MBUTTON) {
        uint32_t buttons = SDL_GetMouseState(nullptr, nullptr);
        uint32_t mask = virtualKey == VK_LBUTTON   ? SDL_BUTTON_LMASK
                        : virtualKey == VK_RBUTTON ? SDL_BUTTON_RMASK
                                                   : SDL_BUTTON_MMASK;
        return (buttons & mask) ? down : 0;
    }
    int count = 0;
    const uint8_t* state = SDL_GetKeyboardState(&count);
    bool numLock = (SDL_GetModState() & KMOD_NUM) != 0;
    return isVirtualKeyHeld(virtualKey, state, count, numLock, currentKeycode) ? down : 0;
}

int showCursor(bool show) {
    cursorCount += show ? 1 : -1;
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return cursorCount;
}

int cursorDisplayCount() {
    return cursorCount;
}

void clipCursor(WindowHandle window, const PixelRect* backBufferRect) {
    SDL_Window* sdl = sdlWindow(window);
    cursorClipped = backBufferRect != nullptr;
    if (!sdl) return;
    // Where SDL takes the window to be elsewhere than it is (full screen asked of an X server with no window
    // manager), it would hold the pointer in the wrong place: the pointer is left free there.
    if (!backBufferRect || !sdlKnowsClientArea(window)) {
        if (SDL_GetWindowMouseRect(sdl)) SDL_SetWindowMouseRect(sdl, nullptr);
        return;
    }
    // Full screen sets the same clip every frame: only a change reaches the window system.
    const SDL_Rect* current = SDL_GetWindowMouseRect(sdl);
    if (current && lastClipWindow == sdl && lastClip.x == backBufferRect->x && lastClip.y == backBufferRect->y &&
        lastClip.width == backBufferRect->width && lastClip.height == backBufferRect->height)
        return;
    lastClipWindow = sdl;
    lastClip = *backBufferRect;
    int bbWidth, bbHeight;
    getBackBufferSize(window, bbWidth, bbHeight);
    PixelRect shown = presentationRect(window);
    if (bbWidth <= 0 || bbHeight <= 0) return;
    // The rectangle's right and bottom are inclusive pixels; SDL takes a size, so the window pixels up to the
    // start of the pixel after the last one belong to it (the pointer must reach the last column and row).
    auto mapX = [&](int x) { return shown.x + int(int64_t(x) * shown.width / bbWidth); };
    auto mapY = [&](int y) { return shown.y + int(int64_t(y) * shown.height / bbHeight); };
    SDL_Rect rect;
    rect.x = mapX(backBufferRect->x);
    rect.y = mapY(backBufferRect->y);
    rect.w = std::max(1, mapX(backBufferRect->x + backBufferRect->width + 1) - rect.x);
    rect.h = std::max(1, mapY(backBufferRect->y + backBufferRect->height + 1) - rect.y);
    SDL_SetWindowMouseRect(sdl, &rect);
}

bool isCursorClipped() {
    return cursorClipped;
}

bool getCursorPos(WindowHandle window, int& x, int& y) {
    if (cursorOverride) {
        x = cursorOverride->first;
        y = cursorOverride->second;
        return true;
    }
    x = y = 0;
    SDL_Window* sdl = sdlWindow(window);
    if (!sdl) return false;
    int windowX, windowY;
    if (SDL_GetMouseFocus() == sdl) {
        SDL_GetMouseState(&windowX, &windowY);
    } else {
        int globalX, globalY;
        SDL_GetGlobalMouseState(&globalX, &globalY);
        PixelRect client = clientArea(window);
        windowX = globalX - client.x;
        windowY = globalY - client.y;
    }
    int bbWidth, bbHeight;
    getBackBufferSize(window, bbWidth, bbHeight);
    PixelRect shown = presentationRect(window);
    if (shown.width <= 0 || shown.height <= 0) {
        x = windowX;
        y = windowY;
        return true;
    }
    x = int(std::floor(double(windowX - shown.x) * bbWidth / shown.width));
    y = int(std::floor(double(windowY - shown.y) * bbHeight / shown.height));
    return true;
}

void setCursorPos(WindowHandle window, int x, int y) {
    if (cursorOverride) {
        cursorOverride = {x, y};
        return;
    }
    SDL_Window* sdl = sdlWindow(window);
    if (!sdl) return;
    int bbWidth, bbHeight;
    getBackBufferSize(window, bbWidth, bbHeight);
    PixelRect shown = presentationRect(window);
    if (bbWidth <= 0 || bbHeight <= 0) return;
    int windowX = shown.x + int(std::lround(double(x) * shown.width / bbWidth));
    int windowY = shown.y + int(std::lround(double(y) * shown.height / bbHeight));
    SDL_WarpMouseInWindow(sdl, windowX, windowY);
}

void setCursorOverride(int x, int y) {
    cursorOverride = {x, y};
}

void clearCursorOverride() {
    cursorOverride.reset();
}

} // namespace host
