// The game shell started on a real window for one test, with scripted keys (heldKeys), and shut down after it;
// save draws a frame and keeps it from the back buffer. The fixture of the game state's tests on the real window.
#pragma once

#include "GameOptions.h"
#include "GameShell.h"
#include "GameWindow.h"
#include "HostInput.h"
#include "HostSystem.h"
#include "HostWindow.h"
#include "InputState.h"
#include "KImage.h"
#include "KWindow.h"

#include "../framework/TempUserFolder.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>

// The keys and mouse buttons (1 the primary) the game's key poll finds down.
inline std::set<int>& heldKeys() {
    static std::set<int> keys;
    return keys;
}

class GameStateGL : public ::testing::Test {
protected:
    void SetUp() override {
        GameOptions = GameOptionsRecord();
        host::setMessageBoxHandler([](const std::string&, const std::string&) {});
        ASSERT_TRUE(initGame());
        setKeyPoll([](int key) { return heldKeys().count(key) != 0; });
    }
    void TearDown() override {
        setKeyPoll(nullptr);
        host::clearCursorOverride();
        gameWindow->terminate();
        shutdownGame();
        host::setMessageBoxHandler(nullptr);
        host::clearQuitPosted();
        GameOptions = GameOptionsRecord();
        heldKeys().clear();
    }
    // Draws a frame and saves it from the back buffer, into GF_SCREENSHOT_DIR when that is set.
    void save(const std::string& name) {
        const char* keep = std::getenv("GF_SCREENSHOT_DIR");
        const std::string shot = (keep ? std::string(keep) : home.homePath()) + "/" + name;
        drawFrame();
        EXPECT_TRUE(gameWindow->saveBackBuffer(shot.c_str(), K_IMAGE_PNG, 800, 600));
        EXPECT_GT(std::filesystem::file_size(shot), 10000u) << name; // a picture of a level, not a blank frame
        gameWindow->flipBackBuffer(false);
    }

    TempUserFolder home;
};
