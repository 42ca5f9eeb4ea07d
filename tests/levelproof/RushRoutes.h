// The ways a player in a hurry swims an Action level: straight at the end marker, along the waves, and the
// shortest way round the terrain (by water only, and with leaps over what stands out of the water), each as a
// route of the scripted player that only swims. The level rush check plays them all and keeps the quickest.
#pragma once

#include "LevelText.h"

#include <string>
#include <vector>

struct RushRoute {
    std::string name; // "straight at the end marker", ...
    std::vector<RouteCommand> route;
};

// The rushers' routes of the level, without two alike.
std::vector<RushRoute> rushRoutes(const LevelText& level);

// The level with its route replaced by the rusher's.
LevelText withRoute(const LevelText& level, const RushRoute& rush);
