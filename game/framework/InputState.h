// Polled input, read once per main-loop pass so every screen sees one snapshot: watched keys with hold and
// auto-repeat, the editor's table of typing keys, the back key (Escape), and the mouse position and buttons.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The key poll: true while the virtual key (or mouse button 1, 2) is down. The engine's poll unless a test
// installs its own; null restores the engine's.
using KeyPollFunction = bool (*)(int virtualKey);
void setKeyPoll(KeyPollFunction poll);
bool isGameKeyDown(int virtualKey); // false for virtual key 0 and below

struct KeyState {
    bool downNow = false;
    bool downBefore = false; // the state of the previous pass
    double holdTime = 0.0;   // seconds held
    double repeatTime = 0.0;
    double repeatDelay = 0.7;     // seconds held before the repeat starts
    double repeatInterval = 0.05; // seconds between repeats
    bool fired = false;           // a press or a repeat happened this pass
    int32_t engineKey = 100;

    // One pass: the press fires once, then after more than repeatDelay every pass that takes the repeat time
    // past repeatInterval. Reads frameTime.
    void update();
};

constexpr int kTypingKeyCount = 93; // engine keys 0 .. 92

class KeyStateTable {
public:
    KeyStateTable();
    // Updates every key, then takes the first fired key (in engine-key order) that types a character.
    void update();
    int32_t getTypedCharacter() const { return typedCharacter; } // 0 none, 8 backspace

private:
    std::array<KeyState, kTypingKeyCount> keys;
    int32_t typedCharacter = 0;
};

constexpr int kBackEngineKey = 24; // Escape
extern KeyState* BackKey;
void createBackKey();
void deleteBackKey();
// True once per release of the back key: the first caller consumes it, so later ones in the pass get false.
bool backKeyReleased();

struct MouseStateRecord {
    int32_t x = 0, y = 0; // game coordinates, cut to 16 bits and sign-extended
    bool leftNow = false, leftBefore = false;
    bool rightNow = false, rightBefore = false;
};
extern MouseStateRecord MouseState;
// The system's swapped-buttons setting: the right button is then the primary one. The host already reports
// logical buttons, so it stays off on this system.
extern bool mouseButtonsSwapped;

// Clears the mouse and the cursor kind, and hides the system cursor for the run.
void resetMouseState();
// Shows the system cursor again (shutdown).
void restoreSystemCursor();
void pollMouse();
bool mouseButtonPressed(); // the left button went down this pass
// Any input that skips a logo or comic screen: a button release, a held movement or action key, the back key
// released (consumed only when nothing before it held), a held letter or digit.
bool anyInputPressed();
