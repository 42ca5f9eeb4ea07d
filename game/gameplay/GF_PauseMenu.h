// The pause overlay of the game state, opened over a level in play.
// Present so that the program can switch to it; it shows nothing yet and its four operations do nothing.
#pragma once

#include "GF_ProgramState.h"

class GF_PauseMenu : public GF_ProgramState {
public:
    void enter() override {}
    void leave() override {}
    void update() override {}
    void draw() override {}
};
