// The entity factory: turns a kind number and a placement's values into the right entity with its behaviour.
// The caller hands the result to the spatial grid, which owns it from then on.
#pragma once

#include "EntityVars.h"

#include <cstdint>

class GF_Entity;

// Types 1..24 make their kind; 0 and any other number make the player, who becomes playerEntity (and the
// camera's target).
GF_Entity* createEntity(int32_t type, int32_t x, int32_t y, const EntityVars& vars, double vx, double vy,
                        double rotation);
