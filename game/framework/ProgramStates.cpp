// The program-state objects and the state switch.
#include "ProgramStates.h"

#include "GF_ComicManager.h"
#include "GF_GameEngine.h"
#include "GF_GameSelect.h"
#include "GF_LevelEditor.h"
#include "GF_LevelSelect.h"
#include "GF_LogoIntro.h"
#include "GF_MainMenu.h"
#include "GF_OptionsMenu.h"
#include "GF_TollberryLogo.h"
#include "GameWindow.h"
#include "KWindow.h"

StateRequestRecord StateRequest;
std::array<std::unique_ptr<GF_ProgramState>, kProgramStateSlots> programStates;
GF_ProgramState* currentState = nullptr;

void requestProgramState(int32_t id, int32_t mode) {
    StateRequest.id = id;
    StateRequest.mode = mode;
}

void constructProgramStates() {
    programStates[kStateGameEngine] = std::make_unique<GF_GameEngine>();
    programStates[kStateLevelEditor] = std::make_unique<GF_LevelEditor>();
    programStates[kStateMainMenu] = std::make_unique<GF_MainMenu>();
    programStates[kStateLevelSelect] = std::make_unique<GF_LevelSelect>();
    programStates[kStateLogoIntro] = std::make_unique<GF_LogoIntro>();
    programStates[kStateOptionsMenu] = std::make_unique<GF_OptionsMenu>(kStateMainMenu);
    programStates[kStateComicManager] = std::make_unique<GF_ComicManager>();
    programStates[kStateGameSelect] = std::make_unique<GF_GameSelect>();
    programStates[kStateTollberryLogo] = std::make_unique<GF_TollberryLogo>();
}

void destroyProgramStates() {
    currentState = nullptr;
    for (int id = kProgramStateSlots - 1; id >= 0; --id) programStates[size_t(id)].reset();
}

void switchProgramState() {
    const int32_t mode = StateRequest.mode;
    if ((mode == kLeaveOnly || mode == kLeaveAndEnter) && currentState) currentState->leave();
    const int32_t id = StateRequest.id;
    if (id == kQuitProgram) {
        if (gameWindow) gameWindow->terminate();
    } else if (id > 0 && id < kProgramStateSlots && programStates[size_t(id)]) {
        currentState = programStates[size_t(id)].get();
    }
    StateRequest.id = kNoProgramState;
    if ((mode == kEnterOnly || mode == kLeaveAndEnter) && currentState) currentState->enter();
}
