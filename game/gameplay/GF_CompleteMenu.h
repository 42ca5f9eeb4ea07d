// The level-complete overlay of the game state: the results of the run (time and enemies in Action, score and
// best trick in Stunt, the medal in Stunt and Race) and the ways on: a new level, this level again, the next.
#pragma once

#include "OverlayMenu.h"

class GF_CompleteMenu : public OverlayMenu {
public:
    enum Button { kSelectLevel = 0, kPlayAgain = 1, kNextLevel = 2 };

    void enter() override;
    void update() override;
};
