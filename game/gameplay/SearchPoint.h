// The point a sight-driven enemy heads for while it searches for a player it lost: a random reachable water
// point near it, picked with one try per frame and given up on arrival or after five seconds.
#pragma once

#include <cstdint>

class GF_Entity;

struct SearchPoint {
    // One frame of the search by the entity: picks a point when it has none, drops it within 100 pixels of
    // it or 5 s after it was picked. True, with x and y to head for, while there is one.
    bool step(const GF_Entity& e);

    uint8_t active = 0;
    double x = 0, y = 0;
    double clock = 0; // seconds since the point was picked; the owner adds every frame's time
};
