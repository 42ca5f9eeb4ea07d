// Scripted input for the whole game running through its shell: main-loop passes, mouse clicks at game points
// (the host's pointer placed there, the button down for a pass, then up) and key taps, over ScriptedKeys.
#pragma once

#include "GF_SpriteButton.h"
#include "GameShell.h"
#include "HostInput.h"
#include "ScriptedKeys.h"

class ScriptedShell {
public:
    ScriptedShell() = default;
    ~ScriptedShell() { host::clearCursorOverride(); }
    ScriptedShell(const ScriptedShell&) = delete;
    ScriptedShell& operator=(const ScriptedShell&) = delete;

    void passes(int n) {
        for (int i = 0; i < n; i++) runMainLoopPass();
    }
    void clickAt(int x, int y) {
        host::setCursorOverride(x, y);
        passes(1);
        keys.press(0x01);
        passes(1);
        keys.release(0x01);
        passes(1);
    }
    // At the button's centre; false (and nothing clicked) without a button.
    bool clickButton(const GF_SpriteButton* button) {
        if (!button) return false;
        clickAt(button->x + button->width / 2, button->y + button->height / 2);
        return true;
    }
    void tapKey(int virtualKey) {
        keys.press(virtualKey);
        passes(1);
        keys.release(virtualKey);
        passes(1);
    }

    ScriptedKeys keys;
};
