// The pause overlay's buttons and its pass.
#include "GF_PauseMenu.h"

#include "InputState.h"
#include "LevelStart.h"
#include "MenuPieces.h"
#include "OverlayHost.h"
#include "PlatformTools.h"
#include "ProgramStates.h"

#include <string>

void GF_PauseMenu::enter() {
    beginEnter("menutitles2.png", /*titleTop=*/0, 300, 400);
    addButton(kMenuButtonContinue, 220, "Continue playing game");
    addButton(kMenuButtonRestart, 270, "Restart this level");
    addButton(kMenuButtonSelectLevel, 320, "Select a new level to play");
    addButton(kMenuButtonMainMenu, 370, "Go to the Main Menu");
    addButton(kMenuButtonExit, 420, std::string("Exit to ") + platformName());
}

void GF_PauseMenu::update() {
    updateButtons();
    if (clicked(kContinue) || backKeyReleased()) {
        if (host) host->requestCloseOverlay();
    } else if (clicked(kRestart)) {
        restartCurrentLevel();
    } else if (clicked(kSelectLevel)) {
        requestProgramState(kStateLevelSelect, kLeaveAndEnter);
    } else if (clicked(kMainMenu)) {
        requestProgramState(kStateMainMenu, kLeaveAndEnter);
    } else if (clicked(kExit)) {
        requestProgramState(kQuitProgram, kLeaveAndEnter);
    }
    if (host) {
        host->showGoalArrow();
        host->showGoldZuzevirMeter();
    }
}
