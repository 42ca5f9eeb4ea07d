// The pause overlay of the game state: resume, restart, a new level, the main menu or quit. While it is open
// the goal arrow and the Gold Radudod meter are shown anew every pass, so both stand on screen under it.
#pragma once

#include "OverlayMenu.h"

class GF_PauseMenu : public OverlayMenu {
public:
    enum Button { kContinue = 0, kRestart = 1, kSelectLevel = 2, kMainMenu = 3, kExit = 4 };

    void enter() override;
    void update() override;
};
