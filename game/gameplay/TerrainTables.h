// The terrain tables built once at start-up: the tile definitions, the collision shapes and the default
// level (its layers and grids). The theme sprite sheets must be loaded first.
#pragma once

// Builds the 301 tile definitions and the 14 collision shapes, and makes the empty default level:
// 10000 x 5000, clip level 1500, bounds 0 / 10000 / 0 / 5000, tile set 4.
void buildTerrainTables();
// Frees the tile definitions, the collision shapes and the level's layers and grids (before the sprite sheets
// the definitions draw from).
void freeTerrainTables();
