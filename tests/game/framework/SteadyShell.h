// The game shell started on the game's own data for one test of steady play, in a temporary user folder, and
// shut down after it: the music silent (a track that ends, at a moment of real time, draws the next one from
// the seeded generator), no waits between the passes, message boxes answered at once.
#pragma once

#include "SteadyPlay.h"
#include "TempUserFolder.h"

#include "GameOptions.h"
#include "HostSystem.h"

#include <gtest/gtest.h>

class SteadyShell : public testing::Test {
protected:
    void SetUp() override {
        GameOptions = GameOptionsRecord();
        GameOptions.musicVolume = 0;
        host::setMessageBoxHandler([](const std::string&, const std::string&) {});
        ASSERT_TRUE(initGame());
        gameWindow->setMaxFrameRate(-1);
    }
    void TearDown() override {
        steady_play::stopScripting();
        gameWindow->terminate();
        shutdownGame();
        host::setMessageBoxHandler(nullptr);
        host::clearQuitPosted();
        GameOptions = GameOptionsRecord();
    }

    TempUserFolder home;
};
