// Every shipped level on a real window: each starts as its list starts it, the player swims for a second, and
// frames from its start and from two points along it are drawn and saved through the back buffer.
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
#include "LevelStart.h"
#include "ProgramStates.h"
#include "TileMap.h"

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

TEST(ShippedLevelsGL, EveryLevelStartsAndDrawsItsWorld) {
    TempUserFolder home;
    GameOptions = GameOptionsRecord();
    host::setMessageBoxHandler([](const std::string&, const std::string&) {});
    ASSERT_TRUE(initGame());
    setKeyPoll([](int key) { return heldKeys().count(key) != 0; });
    const char* keep = std::getenv("GF_SCREENSHOT_DIR");
    const std::string folder = keep ? keep : home.homePath();
    const auto save = [&](const std::string& name) {
        const std::string shot = folder + "/" + name;
        drawFrame();
        EXPECT_TRUE(gameWindow->saveBackBuffer(shot.c_str(), K_IMAGE_PNG, 800, 600));
        EXPECT_GT(std::filesystem::file_size(shot), 10000u) << name; // a picture of a level, not a blank frame
        gameWindow->flipBackBuffer(false);
    };
    const char* kindNames[] = {"action", "stunt", "race"};
    for (int32_t kind : {kListAction, kListStunt, kListRace})
        for (size_t i = 0; i < LevelCatalogue.list(kind).size(); ++i) {
            SCOPED_TRACE(LevelCatalogue.list(kind)[i].path);
            startLevelOfKind(kind, int32_t(i));
            runMainLoopPass();
            GF_GameEngine* game = getGameEngine();
            ASSERT_EQ(currentState, game);
            ASSERT_NE(playerEntity, nullptr);
            if (game->getOpenOverlayKind() >= 0) game->requestCloseOverlay(); // a help page
            heldKeys() = {'D'};
            host::setCursorOverride(760, 300);
            for (int pass = 0; pass < 64; ++pass) runMainLoopPass();
            const std::string stem = std::string(kindNames[kind]) + "-" + std::to_string(i + 1);
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
    setKeyPoll(nullptr);
    host::clearCursorOverride();
    gameWindow->terminate();
    shutdownGame();
    host::setMessageBoxHandler(nullptr);
    host::clearQuitPosted();
    GameOptions = GameOptionsRecord();
}
