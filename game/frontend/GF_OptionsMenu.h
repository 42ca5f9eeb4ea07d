// The options screen; it returns to the screen it was made with (the main menu) when it is left.
// Present so that the program can switch to it; it shows nothing yet and its four operations do nothing.
#pragma once

#include "GF_ProgramState.h"

class GF_OptionsMenu : public GF_ProgramState {
public:
    explicit GF_OptionsMenu(int returnTarget) : returnTarget(returnTarget) {}
    void enter() override {}
    void leave() override {}
    void update() override {}
    void draw() override {}

    int getReturnTarget() const { return returnTarget; }

private:
    int returnTarget; // a ProgramStateId
};
