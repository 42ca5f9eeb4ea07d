// The studio logo intro, the program's first screen.
// Present so that the program can switch to it; it shows nothing yet and its four operations do nothing.
#pragma once

#include "GF_ProgramState.h"

class GF_LogoIntro : public GF_ProgramState {
public:
    void enter() override {}
    void leave() override {}
    void update() override {}
    void draw() override {}
};
