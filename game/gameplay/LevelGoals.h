// The goals of the loaded level: its game mode, the medal times of a Race level, the medal scores and the
// time limit of a Stunt level, and the hoops a Race level requires and the player has passed.
#pragma once

#include <cstdint>

enum GameMode : int32_t {
    kGameModeAction = 0,
    kGameModeStunt = 1,
    kGameModeRace = 2,
};

struct LevelGoals {
    double bronzeTime = 20, silverTime = 18, goldTime = 17; // seconds
    int32_t bronzeScore = 1000, silverScore = 2000, goldScore = 3000;
    double timeLimit = 60; // seconds
    int32_t gameMode = kGameModeAction;
    int32_t requiredHoops = 0; // the level's hoop placements
    int32_t passedHoops = 0;
};

extern LevelGoals levelGoals;
