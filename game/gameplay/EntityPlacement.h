// A placed object of a level: 14 signed 32-bit fields in file order. Levels store these, not entities; the
// placement list turns them into live entities when a level starts.
#pragma once

#include "EntityVars.h"

#include <array>
#include <cstdint>

constexpr int kPlacementFieldCount = 14;
using PlacementFields = std::array<int32_t, kPlacementFieldCount>;

struct EntityPlacement {
    int32_t type = 0;       // EntityType
    int32_t x = 0, y = 0;   // world pixels
    int32_t vx = 0, vy = 0; // pixels per second
    int32_t rotation = 0;   // degrees
    EntityVars vars{};      // Var 1 .. Var 8

    // The fields in file order: type, x, y, vx, vy, rotation, Var 1 .. Var 8.
    PlacementFields fields() const;
    static EntityPlacement fromFields(const PlacementFields& fields);
};
