// The goals of the loaded level (its game mode, medal times and scores, time limit) and the hoops a Race level
// requires and the player has passed: they live with the level file, which reads and writes them.
#pragma once

#include "LevelFile.h"
