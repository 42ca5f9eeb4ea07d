// The entity factory: turns a kind number and a placement's values into the right entity with its behaviour.
// The caller hands the result to the spatial grid, which owns it from then on.
#pragma once

#include "EntityVars.h"

#include <cstdint>

class GF_Entity;

// Each type 0..24 makes its kind; the player (type 0) becomes playerEntity and the camera's target. A number
// outside 0..24 makes nothing: the result is null.
GF_Entity* createEntity(int32_t type, int32_t x, int32_t y, const EntityVars& vars, double vx, double vy,
                        double rotation);
// Makes sure the part pool holds, besides the entities alive now, storage for a fixed number of each kind that
// weapons and behaviours make during play (every shot and the sword) alive at once, so that firing takes nothing
// from the heap. Called once a level's entities are made; the sprite sheets size the animations.
void reserveStorageForPlay();
