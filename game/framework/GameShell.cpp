// Start-up, the main loop, the window-event callback and the shutdown.
#include "GameShell.h"

#include "BitmapFonts.h"
#include "CheatList.h"
#include "FolderPaths.h"
#include "FrameClock.h"
#include "GF_GameEngine.h"
#include "GameOptions.h"
#include "GameWindow.h"
#include "InputState.h"
#include "KMiscTools.h"
#include "KRandom.h"
#include "KWindow.h"
#include "LevelCatalogue.h"
#include "LevelFile.h"
#include "MouseCursor.h"
#include "MusicPlaylist.h"
#include "ParticlePool.h"
#include "ProgramStates.h"
#include "ProgressTable.h"
#include "SoundTable.h"
#include "SpatialGrid.h"
#include "SpriteSheetTable.h"
#include "TerrainTables.h"
#include "Tooltip.h"

#include <ctime>

bool initGame() {
    kSrand(uint32_t(std::time(nullptr)));
    setUpFolders();
    GameOptions.storedReal = 0.34; // its value when the file is older than the field
    readOptions();
    if (!createGameWindow(GameOptions.windowed)) return false;
    startFrameClock(); // the first frame time covers the loading and is clamped
    loadSpriteSheets();
    buildTerrainTables();
    createSpatialGrid();
    createParticlePool();
    buildSoundTable(); // its first KSound starts the streaming thread
    initMusicPlaylist();
    loadBitmapFonts();
    resetMouseState();
    createBackKey();
    LevelCatalogue.currentKind = kListAction;
    LevelCatalogue.currentIndex = -1;
    LevelCatalogue.scanKind = kListAction;
    buildLevelCatalogue();
    readProgress();
    buildCheatList();
    CurrentLevelGoals.gameMode = kGameModeAction;
    clearTooltip();
    applyVolumes();
    constructProgramStates();
    currentState = programStates[kStateLogoIntro].get();
    currentState->enter();
    gameWindow->setEventCallback(onWindowEvent);
    return true;
}

void updateFrame() {
    updateFrame(uint32_t(KMiscTools::getMilliseconds()));
}

void updateFrame(uint32_t clockMs) {
    gameWindow->processEvents();
    stepFrameClock(clockMs);
    pollMouse();
    CursorKind = kCursorArrow;
    BackKey->update();
    if (StateRequest.id >= 0) switchProgramState();
    currentState->update();
    updateMusic();
}

void runMainLoopPass() {
    updateFrame();
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
        if (game && game->getOpenOverlayKind() < 0) game->openPauseMenu();
    }
    return true;
}

void shutdownGame() {
    if (currentState) currentState->leave();
    destroyProgramStates();
    freeCheatList();
    clearLevelCatalogue();
    deleteBackKey();
    restoreSystemCursor();
    freeBitmapFonts();
    freeMusicPlaylist();
    freeSoundTable();
    destroyParticlePool();
    writeOptions();
    destroySpatialGrid();
    freeTerrainTables();
    freeSpriteSheets();
    destroyGameWindow();
}

int runGame() {
    if (!initGame()) return 0;
    // The window's fixed-step mode is never switched on, so the loop always runs one update per drawn frame.
    runMainLoop();
    shutdownGame();
    return 0;
}
