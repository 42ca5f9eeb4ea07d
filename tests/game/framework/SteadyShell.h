// The game shell started on the game's own data for one test of steady play, in a temporary user folder, and
// shut down after it (see startShellForScriptedPlay: the music silent, no waits between the passes, message
// boxes answered at once).
#pragma once

#include "SteadyPlay.h"
#include "TempUserFolder.h"

#include <gtest/gtest.h>

class SteadyShell : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(steady_play::startShellForScriptedPlay()); }
    void TearDown() override { steady_play::stopShellForScriptedPlay(); }

    TempUserFolder home;
};
