// The level-failed overlay of the game state: what the run reached against what a medal needed (Race time,
// Stunt score; an Action level shows none), and a new level or this level again.
#pragma once

#include "OverlayMenu.h"

class GF_FailedMenu : public OverlayMenu {
public:
    enum Button { kSelectLevel = 0, kPlayAgain = 1 };

    void enter() override;
    void update() override;
};
