// The game's start-up, main loop and shutdown on a real window (offscreen video, Mesa GL): the 800 x 600
// "Glimmerfin" window, the 60 fps pacing, state requests between passes, the pause on deactivation, closing
// the window, and the options file written at shutdown and read back by the next start.
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
#include "ProgramStates.h"
#include "RecordingState.h"
#include "TempUserFolder.h"

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
