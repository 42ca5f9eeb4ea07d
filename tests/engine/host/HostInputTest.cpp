// The input stand-in's tables and counters: keys to virtual keys (through the keyboard layout for letters,
// digits and punctuation, Num Lock on the keypad) and scan codes, the characters key presses type, the key poll
// on other layouts, the cursor display counter the game loops on, and the test pointer.
#include "HostInput.h"

#include <SDL2/SDL_keyboard.h>
#include <gtest/gtest.h>

namespace {
// The key codes of a US keyboard: what each key types unshifted (the other keys' codes carry SDL's scancode mark).
int usKeycode(int scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return SDLK_a + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return SDLK_1 + (scancode - SDL_SCANCODE_1);
    switch (scancode) {
    case SDL_SCANCODE_0:
        return SDLK_0;
    case SDL_SCANCODE_SEMICOLON:
        return SDLK_SEMICOLON;
    case SDL_SCANCODE_APOSTROPHE:
        return SDLK_QUOTE;
    case SDL_SCANCODE_COMMA:
        return SDLK_COMMA;
    case SDL_SCANCODE_ESCAPE:
        return SDLK_ESCAPE;
    default:
        return int(SDL_SCANCODE_TO_KEYCODE(scancode));
    }
}

// Key codes of two layouts other than the US one, as SDL reports them: on a German keyboard Y and Z change
// places and the US semicolon key types o-umlaut; on a French one A and Q, Z and W change places, and M lies
// where the US semicolon is.
int germanKeycode(int scancode) {
    switch (scancode) {
    case SDL_SCANCODE_Y:
        return SDLK_z;
    case SDL_SCANCODE_Z:
        return SDLK_y;
    case SDL_SCANCODE_SEMICOLON:
        return 0xF6;
    default:
        return usKeycode(scancode);
    }
}

int frenchKeycode(int scancode) {
    switch (scancode) {
    case SDL_SCANCODE_A:
        return SDLK_q;
    case SDL_SCANCODE_Q:
        return SDLK_a;
    case SDL_SCANCODE_Z:
        return SDLK_w;
    case SDL_SCANCODE_W:
        return SDLK_z;
    case SDL_SCANCODE_SEMICOLON:
        return SDLK_m;
    case SDL_SCANCODE_M:
        return SDLK_COMMA;
    default:
        return usKeycode(scancode);
    }
}
} // namespace

TEST(HostInput, UsKeysGiveVirtualKeysAndScanCodes) {
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
        EXPECT_EQ(host::virtualKeyOfKey(c.scancode, usKeycode(c.scancode), c.numLock), c.virtualKey) << c.scancode;
        EXPECT_EQ(host::scanCodeFromScancode(c.scancode), c.scanCode) << c.scancode;
        EXPECT_EQ(host::isExtendedScancode(c.scancode), c.extended) << c.scancode;
    }
}

// Letters, digits and punctuation take the virtual key of what they type; a character without one (o-umlaut)
// keeps the key's position, and every other key keeps its own virtual key whatever its layout code.
TEST(HostInput, LayoutKeysFollowTheLayout) {
    struct Case {
        const char* what;
        int (*layout)(int);
        SDL_Scancode scancode;
        int virtualKey;
    } cases[] = {
        {"German Z", germanKeycode, SDL_SCANCODE_Y, 'Z'},
        {"German Y", germanKeycode, SDL_SCANCODE_Z, 'Y'},
        {"German o-umlaut keeps its place", germanKeycode, SDL_SCANCODE_SEMICOLON, 186},
        {"French A", frenchKeycode, SDL_SCANCODE_Q, 'A'},
        {"French Q", frenchKeycode, SDL_SCANCODE_A, 'Q'},
        {"French W", frenchKeycode, SDL_SCANCODE_Z, 'W'},
        {"French Z", frenchKeycode, SDL_SCANCODE_W, 'Z'},
        {"French M", frenchKeycode, SDL_SCANCODE_SEMICOLON, 'M'},
        {"French comma", frenchKeycode, SDL_SCANCODE_M, 188},
        {"digits", frenchKeycode, SDL_SCANCODE_1, '1'},
        {"a key with no layout code keeps its place", [](int) { return 0; }, SDL_SCANCODE_W, 'W'},
        {"arrows are no layout's", [](int) { return int(SDLK_a); }, SDL_SCANCODE_LEFT, 37},
        {"nor is Escape", [](int) { return int(SDLK_a); }, SDL_SCANCODE_ESCAPE, 27},
        {"nor the keypad", [](int) { return int(SDLK_a); }, SDL_SCANCODE_KP_4, 100},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(host::virtualKeyOfKey(c.scancode, c.layout(c.scancode), true), c.virtualKey) << c.what;
        // The key poll finds the key by the same rule, so that the key labelled W moves the dolphin.
        uint8_t state[SDL_NUM_SCANCODES] = {};
        state[c.scancode] = 1;
        EXPECT_TRUE(host::isVirtualKeyHeld(c.virtualKey, state, SDL_NUM_SCANCODES, true, c.layout)) << c.what;
        const int usKey = host::virtualKeyOfKey(c.scancode, usKeycode(c.scancode), true);
        if (usKey != c.virtualKey) {
            EXPECT_FALSE(host::isVirtualKeyHeld(usKey, state, SDL_NUM_SCANCODES, true, c.layout)) << c.what;
        }
    }
    uint8_t none[SDL_NUM_SCANCODES] = {};
    EXPECT_FALSE(host::isVirtualKeyHeld('Z', none, SDL_NUM_SCANCODES, true, germanKeycode));
}

TEST(HostInput, KeyPressesTypeTheirCharacters) {
    struct Case {
        const char* what;
        int keycode;
        uint16_t modifiers;
        uint32_t character;
    } cases[] = {
        {"Backspace", SDLK_BACKSPACE, 0, 8},
        {"Tab", SDLK_TAB, 0, 9},
        {"Return", SDLK_RETURN, 0, 13},
        {"Escape", SDLK_ESCAPE, 0, 27},
        {"keypad Enter", SDLK_KP_ENTER, 0, 13},
        {"a letter", SDLK_z, 0, 'z'},
        {"with Shift", SDLK_z, KMOD_LSHIFT, 'Z'},
        {"with Caps Lock", SDLK_z, KMOD_CAPS, 'Z'},
        {"with both", SDLK_z, KMOD_CAPS | KMOD_RSHIFT, 'z'},
        {"a digit", SDLK_7, KMOD_NUM, '7'},
        {"space", SDLK_SPACE, 0, ' '},
        {"a character of the layout", 0xF6, 0, 0xF6},
        {"a shifted digit: the layout's own", SDLK_7, KMOD_SHIFT, 0},
        {"keypad digit with Num Lock", SDLK_KP_3, KMOD_NUM, '3'},
        {"keypad digit without", SDLK_KP_3, 0, 0},
        {"keypad plus", SDLK_KP_PLUS, 0, '+'},
        {"Control held", SDLK_a, KMOD_LCTRL, 0},
        {"Alt held", SDLK_a, KMOD_RALT, 0},
        {"Delete", SDLK_DELETE, 0, 0},
        {"an arrow", SDLK_LEFT, 0, 0},
        {"a function key", SDLK_F5, 0, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(host::characterOfKey(c.keycode, c.modifiers), c.character) << c.what;
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
