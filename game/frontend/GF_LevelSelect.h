// The level choice screen.
// Present so that the program can switch to it; it shows nothing yet and its four operations do nothing. The
// game select sets the list kind it shows before it opens it.
#pragma once

#include "GF_ProgramState.h"

#include <cstdint>

class GF_LevelSelect : public GF_ProgramState {
public:
    void enter() override {}
    void leave() override {}
    void update() override {}
    void draw() override {}

    void setListKind(int32_t kind) { listKind = kind; }
    int32_t getListKind() const { return listKind; }

private:
    int32_t listKind = 0; // a LevelListKind
};
