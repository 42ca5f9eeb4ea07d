// The eight per-kind parameters a placement gives an entity (path points, armour, weapon and so on).
#pragma once

#include <array>
#include <cstdint>

using EntityVars = std::array<int32_t, 8>; // Var 1 .. Var 8 at indices 0 .. 7
