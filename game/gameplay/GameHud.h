// The mode panel of the in-level HUD: the time and best time of a Race level, the score, best score and time
// left of a Stunt level; nothing in an Action level.
#pragma once

#include "LevelGoals.h"

#include <cstdint>

// The figures of the running level and of its stored record.
struct HudFigures {
    double levelTime = 0;    // seconds
    int32_t bankedScore = 0; // the Stunt score
    double bestTime = 0;     // of the level's record
    int32_t bestScore = 0;
};

void drawHud(const LevelGoals& goals, const HudFigures& figures);
