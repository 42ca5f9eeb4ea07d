// The game state on a real window: the shell starts, a shipped Action level is started as the level select
// starts one (with its help page), the player swims and fires for two seconds, the back key pauses it, the
// player reaches the end and the level completes; then each shipped level starts and draws its world. The
// frames are saved through the back buffer. With GF_SCREENSHOT_DIR set, the pictures are kept there to be looked at.
#include "GameStateWindow.h"

#include "Camera.h"
#include "GF_Entity.h"
#include "GF_GameEngine.h"
#include "LevelCatalogue.h"
#include "LevelFile.h"
#include "LevelStart.h"
#include "ProgramStates.h"
#include "ProgressTable.h"
#include "ShippedLevelFiles.h"
#include "TileMap.h"

#include <filesystem>

TEST_F(GameStateGL, AShippedLevelPlaysOnTheRealWindowAndItsFrameIsSaved) {
    ASSERT_GE(LevelCatalogue.list(kListAction).size(), 2u);

    startActionLevel(1, /*withComic=*/false);
    runMainLoopPass();
    auto* game = getGameEngine();
    ASSERT_EQ(currentState, game);
    ASSERT_NE(playerEntity, nullptr);
    const double startX = playerEntity->x;
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
}

// Each shipped level on the real window, a test of its own: it starts as its list starts it, the player swims for
// a second, and frames from its start and from two points along it are drawn and saved (kept with
// GF_SCREENSHOT_DIR, named after the level file).
class ShippedLevelGL : public GameStateGL, public testing::WithParamInterface<std::string> {};

TEST_P(ShippedLevelGL, StartsAndDrawsItsWorld) {
    int32_t kind = 0, index = 0;
    std::string error;
    ASSERT_TRUE(findShippedLevel(GetParam(), kind, index, error)) << error;
    startLevelOfKind(kind, index);
    runMainLoopPass();
    GF_GameEngine* game = getGameEngine();
    ASSERT_EQ(currentState, game);
    ASSERT_NE(playerEntity, nullptr);
    if (game->getOpenOverlayKind() >= 0) game->requestCloseOverlay(); // a help page
    heldKeys() = {'D'};
    host::setCursorOverride(760, 300);
    for (int pass = 0; pass < 64; ++pass) runMainLoopPass();
    const std::string stem = std::filesystem::path(GetParam()).parent_path().filename().string() + "-" +
                             std::filesystem::path(GetParam()).stem().string();
    save(stem + "-start.png");
    // Two points further along, half and three quarters of the way across at the middle depth.
    for (double along : {0.5, 0.8}) {
        playerEntity->setPosition(tileMap.levelWidth * along, tileMap.clipLevel + 300);
        heldKeys().clear();
        for (int pass = 0; pass < 40; ++pass) runMainLoopPass();
        save(stem + "-" + std::to_string(int(along * 100)) + ".png");
    }
    heldKeys().clear();
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedLevelGL, testing::ValuesIn(shippedLevelFiles()), shippedLevelTestName);
