// The game state: plays a level. Its overlays (the pause menu) run over the frozen level while one is open.
// Present so that the program can switch to it; it plays nothing yet and its four operations do nothing.
#pragma once

#include "GF_PauseMenu.h"
#include "GF_ProgramState.h"

class GF_GameEngine : public GF_ProgramState {
public:
    void enter() override {}
    void leave() override {}
    void update() override {}
    void draw() override {}

    GF_ProgramState* getOpenOverlay() const { return openOverlay; }
    // Makes the pause menu the open overlay and enters it.
    void openPauseMenu() {
        openOverlay = &pauseMenu;
        openOverlay->enter();
    }
    GF_PauseMenu* getPauseMenu() { return &pauseMenu; }

private:
    GF_PauseMenu pauseMenu;
    GF_ProgramState* openOverlay = nullptr;
};
