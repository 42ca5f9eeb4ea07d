// The codes of the terrain: the cell size, the tile layers in drawing and file order, the substance codes
// and the collision-shape codes that the level's grids hold cell by cell.
#pragma once

#include "WholePixels.h"

#include <cmath>
#include <cstdint>

constexpr int kTileSize = 64; // cells, tile pictures and collision shapes alike

// The eight tile layers, in drawing order (which is also their order in a level file).
enum TileLayerId : int {
    kLayerBackWater = 0,
    kLayerBackAir = 1,
    kLayerMidWater = 2,
    kLayerMidAir = 3,
    kLayerFront1 = 4,
    kLayerFront2 = 5,
    kLayerFront3 = 6,
    kLayerFront4 = 7,
};
constexpr int kTileLayerCount = 8;

// What fills a cell of the substance grid. A transition cell holds the water surface at its middle.
enum SubstanceCode : uint8_t {
    kSubstanceWater = 0,
    kSubstanceAir = 1,
    kSubstanceTransition = 2,
};

// The solid part of a cell of the collision grid.
enum CollisionShapeCode : uint8_t {
    kShapeNone = 0,
    kShapeFull = 1,
    kShapeLeftHalf = 2,
    kShapeRightHalf = 3,
    kShapeTopHalf = 4,
    kShapeBottomHalf = 5,
    kShapeTopLeft = 6,
    kShapeTopRight = 7,
    kShapeBottomLeft = 8,
    kShapeBottomRight = 9,
    kShapeNoTopLeft = 10,
    kShapeNoTopRight = 11,
    kShapeNoBottomLeft = 12,
    kShapeNoBottomRight = 13,
};
constexpr int kCollisionShapeCount = 14;

constexpr int kTileCodeCount = 301; // tile codes 0 .. 300; 0 is the empty cell

// The most cells a grid side holds (131072 pixels): a level size beyond it is held to it, so that a damaged
// size never asks for more memory than a real level could use.
constexpr int32_t kMaxGridSide = 2048;

// The cell of a world coordinate as the grids number them: trunc(v) div cellSize (64 for the tile grids),
// truncated towards zero. A coordinate far past any grid (or not a number) is held where the conversion to
// an integer stays defined.
inline int32_t cellOfCoordinate(double v, int32_t cellSize = kTileSize) {
    return wholePixels(v) / cellSize;
}
