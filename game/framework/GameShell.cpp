// Start-up, the main loop, the window-event callback and the shutdown.
#include "GameShell.h"

#include "FolderPaths.h"
#include "FrameClock.h"
#include "GF_GameEngine.h"
#include "GameOptions.h"
#include "GameWindow.h"
#include "InputState.h"
#include "KMiscTools.h"
#include "KRandom.h"
#include "KWindow.h"
#include "MouseCursor.h"
#include "ProgramStates.h"
#include "Tooltip.h"

#include <ctime>

bool initGame() {
    kSrand(uint32_t(std::time(nullptr)));
    setUpFolders();
    GameOptions.storedReal = 0.34; // its value when the file is older than the field
    readOptions();
    if (!createGameWindow(GameOptions.windowed)) return false;
    startFrameClock(); // the first frame time covers the loading and is clamped
    // Sprite sheets, terrain tables, spatial grid and particle pool, sound table and music playlist, and the
    // bitmap fonts come here, in that order.
    resetMouseState();
    createBackKey();
    // The level catalogue (current kind 0, no current level, scan kind 0), built; then the progress file
    // read and the cheat list built.
    // The game mode set to Action.
    clearTooltip();
    // The engine's music and sound volumes applied from the options.
    constructProgramStates();
    currentState = programStates[kStateLogoIntro].get();
    currentState->enter();
    gameWindow->setEventCallback(onWindowEvent);
    return true;
}

void runMainLoopPass() {
    gameWindow->processEvents();
    stepFrameClock();
    pollMouse();
    CursorKind = kCursorArrow;
    BackKey->update();
    if (StateRequest.id >= 0) switchProgramState();
    currentState->update();
    // The music playlist is advanced here.
    drawFrame();
    gameWindow->flipBackBuffer(/*waitForForeground=*/false);
}

void runMainLoop() {
    while (!gameWindow->isQuitRequested()) runMainLoopPass();
}

void drawFrame() {
    gameWindow->setDefaultWorldView();
    currentState->draw();
    drawTooltip();
    drawMouseCursor();
}

bool onWindowEvent(WindowEvent* event) {
    if (event && event->type == K_EVENT_DEACTIVATED) {
        auto* game = dynamic_cast<GF_GameEngine*>(currentState);
        if (game && !game->getOpenOverlay()) game->openPauseMenu();
    }
    return true;
}

void shutdownGame() {
    if (currentState) currentState->leave();
    destroyProgramStates();
    // The cheat list and the level catalogue are freed here.
    deleteBackKey();
    restoreSystemCursor();
    // The bitmap fonts, the music playlist, the sound table and the particle pool are freed here.
    writeOptions();
    // The spatial grid, the tile definitions and the sprite sheets are freed here.
    destroyGameWindow();
}

int runGame() {
    if (!initGame()) return 0;
    // The window's fixed-step mode is never switched on, so the loop always runs one update per drawn frame.
    runMainLoop();
    shutdownGame();
    return 0;
}
