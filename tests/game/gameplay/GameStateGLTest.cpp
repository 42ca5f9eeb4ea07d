// The game state on a real window: the shell starts, a shipped Action level is started as the level select
// starts one (with its help page), the player swims and fires for two seconds, the back key pauses it, the
// player reaches the end and the level completes; the frames are saved through the back buffer.
// With GF_SCREENSHOT_DIR set, the pictures are kept there to be looked at.
#include "Camera.h"
#include "GF_Entity.h"
#include "GF_GameEngine.h"
#include "GameOptions.h"
#include "GameShell.h"
#include "GameWindow.h"
#include "HostInput.h"
#include "HostSystem.h"
#include "InputState.h"
#include "KImage.h"
#include "KWindow.h"
#include "LevelCatalogue.h"
#include "LevelFile.h"
#include "LevelStart.h"
#include "ProgramStates.h"
#include "ProgressTable.h"

#include "../framework/TempUserFolder.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace {

std::set<int>& heldKeys() {
    static std::set<int> keys;
    return keys;
}

} // namespace

TEST(GameStateGL, AShippedLevelPlaysOnTheRealWindowAndItsFrameIsSaved) {
    TempUserFolder home;
    GameOptions = GameOptionsRecord();
    host::setMessageBoxHandler([](const std::string&, const std::string&) {});
    ASSERT_TRUE(initGame());
    ASSERT_GE(LevelCatalogue.list(kListAction).size(), 2u);
    setKeyPoll([](int key) { return heldKeys().count(key) != 0; });

    startActionLevel(1, /*withComic=*/false);
    runMainLoopPass();
    auto* game = getGameEngine();
    ASSERT_EQ(currentState, game);
    ASSERT_NE(playerEntity, nullptr);
    const double startX = playerEntity->x;
    const char* keep = std::getenv("GF_SCREENSHOT_DIR");
    const std::string folder = keep ? keep : home.homePath();
    const auto save = [&](const std::string& name) {
        const std::string shot = folder + "/" + name;
        drawFrame();
        EXPECT_TRUE(gameWindow->saveBackBuffer(shot.c_str(), K_IMAGE_PNG, 800, 600));
        EXPECT_GT(std::filesystem::file_size(shot), 10000u); // a picture of a level, not a blank frame
        gameWindow->flipBackBuffer(false);
    };
    // The second Action level opens with its help page over the level.
    EXPECT_EQ(game->getOpenOverlayKind(), kOverlayHelp);
    save("gamestate-help.png");

    heldKeys().insert('D');
    host::setCursorOverride(760, 300);
    for (int pass = 0; pass < 120; ++pass) {
        if (pass % 16 == 0) heldKeys().insert(1); // the left button: a shot on each release
        if (pass % 16 == 8) heldKeys().erase(1);
        runMainLoopPass();
    }
    EXPECT_EQ(game->getOpenOverlayKind(), -1);
    EXPECT_GT(game->getLevelTime(), 1.0);
    EXPECT_GT(playerEntity->x, startX + 100);

    save("gamestate-play.png");

    // The back key opens the pause overlay over the frozen level.
    heldKeys().clear();
    heldKeys().insert(0x1B);
    runMainLoopPass();
    heldKeys().clear();
    runMainLoopPass();
    EXPECT_EQ(game->getOpenOverlayKind(), kOverlayPause);
    const double frozenTime = game->getLevelTime();
    runMainLoopPass();
    EXPECT_EQ(game->getLevelTime(), frozenTime);
    save("gamestate-pause.png");

    // Play resumes; the player reaches the end marker: the level is recorded and the complete menu opens.
    game->requestCloseOverlay();
    runMainLoopPass();
    ASSERT_EQ(game->getOpenOverlayKind(), -1);
    playerEntity->setPosition(EndLevelX, EndLevelY);
    runMainLoopPass();
    EXPECT_EQ(game->getOpenOverlayKind(), kOverlayComplete);
    const LevelRecord stored = findCurrentLevelRecord();
    EXPECT_TRUE(stored.completed);
    EXPECT_DOUBLE_EQ(stored.bestTime, game->getLevelTime());
    save("gamestate-complete.png");

    setKeyPoll(nullptr);
    host::clearCursorOverride();
    gameWindow->terminate();
    shutdownGame();
    host::setMessageBoxHandler(nullptr);
    host::clearQuitPosted();
    GameOptions = GameOptionsRecord();
}
