// The medal rules: a Race level's medal by its time (all hoops passed), a Stunt level's by its score once its
// time has run out. Medal 2 gold, 1 silver, 0 bronze, -1 none.
#pragma once

#include "LevelGoals.h"

constexpr int kMedalNone = -1, kMedalBronze = 0, kMedalSilver = 1, kMedalGold = 2;

int medalForTime(const LevelGoals& goals, double levelTime);
int medalForScore(const LevelGoals& goals, double levelTime, int32_t score);
// "Gold", "Silver", "Bronze" or "None".
const char* medalName(int medal);
const char* medalNameForTime(const LevelGoals& goals, double levelTime);
const char* medalNameForScore(const LevelGoals& goals, double levelTime, int32_t score);
