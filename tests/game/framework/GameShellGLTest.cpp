// The game's start-up, main loop and shutdown on a real window (offscreen video, Mesa GL): the 800 x 600
// "Glimmerfin" window, the 60 fps pacing, state requests between passes, the pause on deactivation, closing
// the window, the options file written at shutdown and read back by the next start, the order of the start-up
// and shutdown steps, the order of the steps inside one pass, and the fixed-step loop of a window in that mode.
#include "FrameClock.h"
#include "GF_GameEngine.h"
#include "GameOptions.h"
#include "GameShell.h"
#include "GameWindow.h"
#include "HostInput.h"
#include "HostSystem.h"
#include "HostWindow.h"
#include "InputState.h"
#include "KMiscTools.h"
#include "KWindow.h"
#include "KWindowEvent.h"
#include "MouseCursor.h"
#include "MusicPlaylist.h"
#include "ProgramStates.h"
#include "RecordingState.h"
#include "TempUserFolder.h"
#include "Tooltip.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class GameShell : public testing::Test {
protected:
    void SetUp() override {
        GameOptions = GameOptionsRecord();
        host::setMessageBoxHandler(
            [this](const std::string& caption, const std::string&) { messageBoxes.push_back(caption); });
    }
    void TearDown() override {
        host::setMessageBoxHandler(nullptr);
        host::clearQuitPosted();
        host::clearCursorOverride();
        GameOptions = GameOptionsRecord();
    }
    // Runs passes until the window's quit flag is set, at most the given number.
    int runUntilQuit(int maxPasses) {
        int passes = 0;
        while (!gameWindow->isQuitRequested() && passes < maxPasses) {
            runMainLoopPass();
            ++passes;
        }
        return passes;
    }

    TempUserFolder home;
    std::vector<std::string> messageBoxes;
};

} // namespace

TEST_F(GameShell, StartsRunsAtUpTo60FramesAndEndsWhenTheWindowIsClosed) {
    ASSERT_TRUE(initGame());
    ASSERT_NE(gameWindow, nullptr);
    EXPECT_EQ(gameWindow->getGameWidth(), 800);
    EXPECT_EQ(gameWindow->getGameHeight(), 600);
    EXPECT_EQ(host::getWindowTitle(gameWindow->getWindowHandle()), "Glimmerfin");
    EXPECT_NE(sharedGraphic, nullptr);
    EXPECT_EQ(currentState, programStates[kStateLogoIntro].get());
    EXPECT_NE(BackKey, nullptr);
    EXPECT_TRUE(systemCursorHidden);
    EXPECT_EQ(fs::file_size(optionsFilePath()), kOptionsFileSize); // a new installation's file, made at once

    const int startMs = KMiscTools::getMilliseconds();
    for (int pass = 0; pass < 30; ++pass) runMainLoopPass();
    const int elapsedMs = KMiscTools::getMilliseconds() - startMs;
    EXPECT_GE(elapsedMs, 30 * 1000 / 60 - 20) << "the window holds the loop at 60 passes a second";
    EXPECT_GE(frameTime, kMinFrameTime);
    EXPECT_LE(frameTime, kMaxFrameTime);

    host::postMessage(gameWindow->getWindowHandle(), host::WM_CLOSE, 0, 0);
    EXPECT_EQ(runUntilQuit(10), 1);
    ASSERT_TRUE(gameWindow->isQuitRequested());

    GameOptions.difficulty = 3;
    GameOptions.musicVolume = 0.25;
    shutdownGame();
    EXPECT_EQ(gameWindow, nullptr);
    EXPECT_EQ(sharedGraphic, nullptr);
    EXPECT_EQ(currentState, nullptr);
    EXPECT_EQ(BackKey, nullptr);
    EXPECT_FALSE(systemCursorHidden);
    EXPECT_GE(host::cursorDisplayCount(), 0);
    for (const auto& state : programStates) EXPECT_EQ(state, nullptr);

    GameOptions = GameOptionsRecord();
    host::clearQuitPosted();
    ASSERT_TRUE(initGame()); // the second start reads what the first one wrote
    EXPECT_EQ(GameOptions.difficulty, 3);
    EXPECT_EQ(GameOptions.musicVolume, 0.25);
    requestProgramState(kQuitProgram, kLeaveAndEnter);
    EXPECT_EQ(runUntilQuit(10), 1);
    shutdownGame();
    EXPECT_TRUE(messageBoxes.empty());
}

TEST_F(GameShell, ARequestMadeDuringAnUpdateIsCarriedOutAtTheStartOfTheNextPass) {
    ASSERT_TRUE(initGame());
    std::vector<std::string> log;
    programStates[kStateMainMenu] = std::make_unique<RecordingState>("menu", log);
    programStates[kStateLevelSelect] = std::make_unique<RecordingState>("select", log);
    auto* menu = static_cast<RecordingState*>(programStates[kStateMainMenu].get());
    currentState = menu;
    menu->onUpdate = [] { requestProgramState(kStateLevelSelect, kLeaveAndEnter); };
    runMainLoopPass();
    menu->onUpdate = nullptr;
    runMainLoopPass();
    EXPECT_EQ(log, (std::vector<std::string>{"menu.update", "menu.draw", "menu.leave", "select.enter", "select.update",
                                             "select.draw"}));

    log.clear();
    requestProgramState(kQuitProgram, kLeaveAndEnter); // left and entered once, then the program ends
    EXPECT_EQ(runUntilQuit(10), 1);
    shutdownGame();
    EXPECT_EQ(log, (std::vector<std::string>{"select.leave", "select.enter", "select.update", "select.draw",
                                             "select.leave"}));
}

namespace {

std::vector<std::string>& passLog() {
    static std::vector<std::string> log;
    return log;
}

} // namespace

// One main-loop pass in its order: the window's messages (their events reach the callback), the frame clock,
// the mouse, the cursor kind back to the arrow, the back key, the pending state change, the state's update, the
// music, then the draw: the state's own, the tooltip over it, and the cursor of the kind the update chose over
// everything.
TEST_F(GameShell, OnePassRunsItsStepsInOrder) {
    ASSERT_TRUE(initGame());
    std::vector<std::string>& log = passLog();
    log.clear();
    programStates[kStateMainMenu] = std::make_unique<RecordingState>("old", log);
    programStates[kStateLevelSelect] = std::make_unique<RecordingState>("new", log);
    currentState = programStates[kStateMainMenu].get();
    auto* next = static_cast<RecordingState*>(programStates[kStateLevelSelect].get());
    requestProgramState(kStateLevelSelect, kLeaveAndEnter);

    gameWindow->setEventCallback([](WindowEvent* event) {
        if (event && event->type == K_EVENT_DEACTIVATED) passLog().push_back("event");
        return true;
    });
    host::simulateForeground(gameWindow->getWindowHandle(), false);
    frameClockLastReading = uint32_t(KMiscTools::getMilliseconds()) - 1000; // a long pass: the step is clamped
    const double totalBefore = totalGameTime;
    host::setCursorOverride(123, 321);
    setKeyPoll([](int key) { return key == 0x1B; }); // the back key held
    CursorKind = kCursorHand;                        // left by the pass before
    GameOptions.musicVolume = 0;
    MusicPlaylist.muted = true;
    setSheetFrameDrawer([](int sheet, int, int x, int y) {
        passLog().push_back("cursor " + std::to_string(sheet) + " at " + std::to_string(x) + "," + std::to_string(y) +
                            (Tooltip.shown ? " under the tooltip" : ""));
    });

    next->onUpdate = [&] {
        EXPECT_EQ(frameTime, kMaxFrameTime);
        EXPECT_DOUBLE_EQ(totalGameTime, totalBefore + kMaxFrameTime);
        EXPECT_EQ(MouseState.x, 123);
        EXPECT_EQ(MouseState.y, 321);
        EXPECT_EQ(CursorKind, kCursorArrow);
        EXPECT_TRUE(BackKey->downNow);
        CursorKind = kCursorCrosshair;
        showTooltip("tip", 40, 40);
        GameOptions.musicVolume = 1; // the music wakes in this pass, after the update
    };
    next->onDraw = [&] {
        EXPECT_FALSE(MusicPlaylist.muted);
        EXPECT_TRUE(Tooltip.shown) << "drawn after the state";
    };
    runMainLoopPass();
    const CursorPlacement crosshair = mouseCursorPlacement(kCursorCrosshair, 123, 321);
    EXPECT_EQ(log, (std::vector<std::string>{"event", "old.leave", "new.enter", "new.update", "new.draw",
                                             "cursor " + std::to_string(crosshair.sheet) + " at " +
                                                 std::to_string(crosshair.x) + "," + std::to_string(crosshair.y)}));
    setKeyPoll(nullptr);
    GameOptions.musicVolume = 0;
    gameWindow->terminate();
    shutdownGame();
}

TEST_F(GameShell, LosingTheFocusDuringPlayOpensThePauseMenu) {
    ASSERT_TRUE(initGame());
    auto* game = static_cast<GF_GameEngine*>(programStates[kStateGameEngine].get());
    currentState = game;
    host::simulateForeground(gameWindow->getWindowHandle(), false);
    runMainLoopPass();
    EXPECT_EQ(game->getOpenOverlay(), game->getOverlay(kOverlayPause));
    gameWindow->terminate();
    shutdownGame();
}

TEST_F(GameShell, TheMouseIsReadInGameCoordinatesEveryPass) {
    ASSERT_TRUE(initGame());
    host::setCursorOverride(120, 340);
    runMainLoopPass();
    EXPECT_EQ(MouseState.x, 120);
    EXPECT_EQ(MouseState.y, 340);
    host::setCursorOverride(70000, -70000); // far outside: cut to 16 bits as the game stores them
    runMainLoopPass();
    EXPECT_EQ(MouseState.x, 70000 - 65536);
    EXPECT_EQ(MouseState.y, -70000 + 65536);
    gameWindow->terminate();
    shutdownGame();
}

TEST_F(GameShell, ShutdownWritesTheOptionsEvenWhenNothingChanged) {
    ASSERT_TRUE(initGame());
    fs::remove(optionsFilePath());
    gameWindow->terminate();
    shutdownGame();
    EXPECT_EQ(fs::file_size(optionsFilePath()), kOptionsFileSize);
}

namespace {

std::vector<std::string>& shellSteps() {
    static std::vector<std::string> steps;
    return steps;
}

// A state that counts its updates and draws and asks to quit after the given number of updates.
struct CountingState : GF_ProgramState {
    explicit CountingState(int quitAfter) : quitAfter(quitAfter) {}
    void enter() override {}
    void leave() override {}
    void update() override {
        if (++updates == quitAfter) requestProgramState(kQuitProgram, kLeaveAndEnter);
    }
    void draw() override { ++draws; }
    int quitAfter, updates = 0, draws = 0;
};

} // namespace

TEST_F(GameShell, StartUpAndShutdownRunTheirStepsInOrder) {
    setShellStepObserver([](const char* step) { shellSteps().push_back(step); });
    shellSteps().clear();
    ASSERT_TRUE(initGame());
    const std::vector<std::string> startUp = {
        "seed the random generator",
        "set up the folders",
        "read the options",
        "create the window",
        "start the frame clock",
        "load the sprite sheets",
        "build the terrain tables",
        "create the spatial grid",
        "create the particle pool",
        "build the sound table",
        "scan the music",
        "load the bitmap fonts",
        "reset the mouse and hide the system cursor",
        "create the back key",
        "set the current level list",
        "build the level catalogue",
        "read the progress",
        "build the cheat list",
        "set the game mode and clear the tooltip",
        "apply the volumes",
        "construct the program states",
        "enter the logo intro",
        "register the window-event callback",
    };
    EXPECT_EQ(shellSteps(), startUp);
    shellSteps().clear();
    gameWindow->terminate();
    shutdownGame();
    setShellStepObserver(nullptr);
    const std::vector<std::string> shutdown = {
        "leave the current state",
        "destroy the program states",
        "free the cheat list",
        "clear the level catalogue",
        "delete the back key",
        "show the system cursor",
        "free the bitmap fonts",
        "free the music",
        "free the sound table",
        "destroy the particle pool",
        "write the options",
        "destroy the spatial grid",
        "free the terrain tables",
        "free the sprite sheets",
        "delete the drawing object and the window",
    };
    EXPECT_EQ(shellSteps(), shutdown);
}

TEST_F(GameShell, AWindowInFixedStepModeRunsTheFixedStepLoop) {
    struct Case {
        bool fixedStep;
        int stepMs, maxUpdates;
    };
    // At the window's 60 frames a second, 4 ms steps owe about four updates per drawn frame.
    for (const Case c : {Case{false, -1, -1}, Case{true, 4, 3}}) {
        SCOPED_TRACE(c.fixedStep);
        ASSERT_TRUE(initGame());
        gameWindow->setFixedStep(c.fixedStep, c.stepMs, c.maxUpdates);
        auto* counting = new CountingState(40);
        programStates[kStateMainMenu].reset(counting);
        currentState = counting;
        const int startMs = KMiscTools::getMilliseconds();
        runGameLoop();
        const int elapsedMs = KMiscTools::getMilliseconds() - startMs;
        EXPECT_TRUE(gameWindow->isQuitRequested());
        EXPECT_EQ(counting->updates, 41) << "the quit asked in an update ends the loop after the next pass";
        if (c.fixedStep) {
            EXPECT_LT(counting->draws, counting->updates * 2 / 3) << "several updates per drawn frame";
            EXPECT_GE(counting->draws, counting->updates / c.maxUpdates);
            EXPECT_GE(elapsedMs, 40 * c.stepMs - 20) << "updates no faster than one a step";
        } else {
            EXPECT_EQ(counting->draws, counting->updates);
        }
        shutdownGame();
        host::clearQuitPosted();
    }
}
