// Start-up, the main loop, the window-event callback and the shutdown.
#include "GameShell.h"

#include "BitmapFonts.h"
#include "CheatList.h"
#include "FixedStepPacer.h"
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

#include <cstddef>
#include <ctime>

namespace {

// One named step of the start-up or the shutdown; the tables below give their order.
struct ShellStep {
    const char* name;
    void (*run)();
};

ShellStepObserver stepObserver = nullptr;

template <size_t N> void runSteps(const ShellStep (&steps)[N]) {
    for (const ShellStep& step : steps) {
        if (stepObserver) stepObserver(step.name);
        step.run();
    }
}

// Start-up before the window: the window takes its windowed flag from the options.
const ShellStep kStartUpBeforeWindow[] = {
    {"seed the random generator", [] { kSrand(uint32_t(std::time(nullptr))); }},
    {"set up the folders", setUpFolders},
    {"read the options",
     [] {
         GameOptions.storedReal = 0.34; // its value when the file is older than the field
         readOptions();
     }},
};

const ShellStep kStartUpAfterWindow[] = {
    {"start the frame clock", startFrameClock}, // the first frame time covers the loading and is clamped
    {"load the sprite sheets", loadSpriteSheets},
    {"build the terrain tables", buildTerrainTables},
    {"create the spatial grid", createSpatialGrid},
    {"create the particle pool", createParticlePool},
    {"build the sound table", buildSoundTable}, // its first KSound starts the streaming thread
    {"scan the music", initMusicPlaylist},
    {"load the bitmap fonts", loadBitmapFonts},
    {"reset the mouse and hide the system cursor", resetMouseState},
    {"create the back key", createBackKey},
    {"set the current level list",
     [] {
         LevelCatalogue.currentKind = kListAction;
         LevelCatalogue.currentIndex = -1;
         LevelCatalogue.scanKind = kListAction;
     }},
    {"build the level catalogue", buildLevelCatalogue},
    {"read the progress", [] { readProgress(); }},
    {"build the cheat list", buildCheatList},
    {"set the game mode and clear the tooltip",
     [] {
         CurrentLevelGoals.gameMode = kGameModeAction;
         clearTooltip();
     }},
    {"apply the volumes", applyVolumes},
    {"construct the program states", constructProgramStates},
    {"enter the logo intro",
     [] {
         currentState = programStates[kStateLogoIntro].get();
         currentState->enter();
     }},
    {"register the window-event callback", [] { gameWindow->setEventCallback(onWindowEvent); }},
};

const ShellStep kShutdown[] = {
    {"leave the current state",
     [] {
         if (currentState) currentState->leave();
     }},
    {"destroy the program states", destroyProgramStates},
    {"free the cheat list", freeCheatList},
    {"clear the level catalogue", clearLevelCatalogue},
    {"delete the back key", deleteBackKey},
    {"show the system cursor", restoreSystemCursor},
    {"free the bitmap fonts", freeBitmapFonts},
    {"free the music", freeMusicPlaylist},
    {"free the sound table", freeSoundTable},
    {"destroy the particle pool", destroyParticlePool},
    {"write the options", [] { writeOptions(); }},
    {"destroy the spatial grid", destroySpatialGrid},
    {"free the terrain tables", freeTerrainTables},
    {"free the sprite sheets", freeSpriteSheets},
    {"delete the drawing object and the window", destroyGameWindow},
};

} // namespace

void setShellStepObserver(ShellStepObserver observer) {
    stepObserver = observer;
}

bool initGame() {
    runSteps(kStartUpBeforeWindow);
    if (stepObserver) stepObserver("create the window");
    if (!createGameWindow(GameOptions.windowed)) return false;
    runSteps(kStartUpAfterWindow);
    return true;
}

void updateFrame() {
    gameWindow->processEvents();
    updateState();
}

void updateFrame(uint32_t clockMs) {
    gameWindow->processEvents();
    updateState(clockMs);
}

void updateState() {
    updateState(uint32_t(KMiscTools::getMilliseconds()));
}

void updateState(uint32_t clockMs) {
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

void runFixedStepLoop() {
    FixedStepPacer pacer;
    do {
        gameWindow->processEvents();
        const FixedStepPacer::Pass pass = pacer.pass(uint32_t(KMiscTools::getMilliseconds()),
                                                     gameWindow->getFixedStepMs(), gameWindow->getMaxUpdatesPerFrame());
        if (pass.update) updateState();
        if (pass.draw) {
            drawFrame();
            gameWindow->flipBackBuffer(/*waitForForeground=*/false);
        }
    } while (!gameWindow->isQuitRequested());
}

void runGameLoop() {
    if (gameWindow->isFixedStep())
        runFixedStepLoop();
    else
        runMainLoop();
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
    runSteps(kShutdown);
}

int runGame() {
    if (!initGame()) return 0;
    runGameLoop();
    shutdownGame();
    return 0;
}
