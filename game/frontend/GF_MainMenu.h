// The main menu screen.
// Present so that the program can switch to it; it shows nothing yet and its four operations do nothing.
#pragma once

#include "GF_ProgramState.h"

class GF_MainMenu : public GF_ProgramState {
public:
    void enter() override {}
    void leave() override {}
    void update() override {}
    void draw() override {}
};
