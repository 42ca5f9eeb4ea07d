// The program's screens and the switch between them: one owning slot per state id, the current state, and
// the request any code writes to change the screen at the start of the next main-loop pass.
#pragma once

#include "GF_ProgramState.h"

#include <array>
#include <cstdint>
#include <memory>

enum ProgramStateId : int32_t {
    kNoProgramState = -1,
    kQuitProgram = 0,
    kStateGameEngine = 1,
    kStateLevelEditor = 2,
    kStateMainMenu = 3,
    kStateLevelSelect = 4,
    kStateLogoIntro = 5,
    kStateOptionsMenu = 6,
    kStateComicManager = 7,
    // 8 names no state
    kStateGameSelect = 9,
    kStateTollberryLogo = 10,
};

enum TransitionMode : int32_t {
    kEnterOnly = 0,     // the new state is entered; the old one is not left
    kLeaveOnly = 1,     // the old state is left; the new one resumes as it was, without enter
    kLeaveAndEnter = 2, // every request the screens make
};

struct StateRequestRecord {
    int32_t id = kNoProgramState;
    int32_t mode = kEnterOnly;
};
// Written by any code at any time; carried out at the start of the next pass; a later write replaces it.
extern StateRequestRecord StateRequest;

constexpr int kProgramStateSlots = 11;
// The state objects by id (slots 0 and 8 stay empty).
extern std::array<std::unique_ptr<GF_ProgramState>, kProgramStateSlots> programStates;
extern GF_ProgramState* currentState; // always one of programStates while the program runs

// Stores a request (id, then mode).
void requestProgramState(int32_t id, int32_t mode);

// Constructs the nine state objects in id order (1 to 7, 9, 10); the options screen returns to the main menu.
void constructProgramStates();
// Destroys them in the reverse order and clears currentState.
void destroyProgramStates();

// Carries out the pending request: leave (modes 1, 2); id 0 asks the game window to close and keeps the
// state, an id with an object makes it current, any other id keeps the state; the request is cleared;
// enter (modes 0, 2).
void switchProgramState();
