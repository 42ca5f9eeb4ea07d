// Small levels built in memory for the tests and the fuzz seeds: a 20 x 12 cell level with one placement of
// every entity kind, and the same terrain holding placements of the most extreme values a level file may hold.
// Header-only, so that the fuzz targets' replay binaries can use it as well.
#pragma once

#include "EntityType.h"
#include "LevelFile.h"

#include <cstdint>
#include <limits>

// Open water under two rows of air with a surface between, a few walls of every shape along the floor, tiles
// in every layer and one placement of every entity kind; a Race level.
inline LevelData smallLevel() {
    constexpr int32_t cols = 20, rows = 12;
    LevelData level;
    level.tileSet = 1;
    for (int id = 0; id < kTileLayerCount; ++id) {
        LevelLayerData& layer = level.layers[size_t(id)];
        layer.tiles.reset(id < 2 ? 18 : cols, rows);
        for (int32_t col = 0; col < layer.tiles.cols(); col += 3) layer.tiles.set(col, rows - 1, uint16_t(1 + id));
        layer.tiles.set(0, 0, 214);
        layer.clipBelowY = id == kLayerMidWater ? 128.0 : -1.0;
    }
    level.collision.reset(cols, rows);
    level.substance.reset(cols, rows);
    for (int32_t col = 0; col < cols; ++col) {
        level.substance.set(col, 0, kSubstanceAir);
        level.substance.set(col, 1, kSubstanceAir);
        level.substance.set(col, 2, kSubstanceTransition);
        level.collision.set(col, rows - 1, uint8_t(col % kCollisionShapeCount));
    }
    level.levelWidth = cols * 64.0;
    level.levelHeight = rows * 64.0;
    level.clipLevel = 160.0;
    level.boundsRight = int32_t(level.levelWidth);
    level.boundsBottom = int32_t(level.levelHeight);
    for (int32_t type = 0; type < kEntityTypeCount; ++type)
        level.placements.push_back(
            {type, 200 + 40 * type, 300 + 10 * (type % 5), type % 3, 0, 15 * type, 1, 2, 3, 0, 1, 0, 2, 1});
    level.endLevelX = 1100.0;
    level.endLevelY = 400.0;
    level.goals.gameMode = kGameModeRace;
    return level;
}

// The small level's terrain as an Action level whose placements hold the extremes of every field: each kind
// (and numbers that name no kind) at both far corners of the 32-bit range, and inside the level flung out at
// the largest speeds, turned by the largest angles, with the largest and smallest Vars. The player that the
// camera follows is placed last, inside the level; the dolphins placed before it steer and fire as well. The
// end marker lies as far off as a finite value can.
inline LevelData hostilePlacementLevel() {
    constexpr int32_t low = std::numeric_limits<int32_t>::min(), high = std::numeric_limits<int32_t>::max();
    LevelData level = smallLevel();
    // A sky strip over the whole Back Air layer, so that every frame covers the screen, and walls all round, so
    // that the player stays in view.
    TileGrid& sky = level.layers[kLayerBackAir].tiles;
    for (int32_t row = 0; row < sky.rows(); ++row)
        for (int32_t col = 0; col < sky.cols(); ++col) sky.set(col, row, uint16_t(col % 2 == 0 ? 214 : 215));
    ByteGrid& walls = level.collision;
    for (int32_t row = 0; row < walls.rows(); ++row)
        for (int32_t col = 0; col < walls.cols(); ++col)
            if (row == 0 || row == walls.rows() - 1 || col == 0 || col == walls.cols() - 1)
                walls.set(col, row, kShapeFull);
    level.placements.clear();
    for (int32_t type : {low, -1, kEntityTypeCount, high}) level.placements.push_back({type, 300, 300});
    for (int32_t type = 0; type < kEntityTypeCount; ++type) {
        level.placements.push_back(
            {type, high, high, high, high, high, high, high, high, high, high, high, high, high});
        level.placements.push_back({type, low, low, low, low, low, low, low, low, low, low, low, low, low});
        level.placements.push_back({type, high, low, 0, 0, low, 0, 0, 0, 0, 0, 0, 0, 0});
        level.placements.push_back(
            {type, 100 + 40 * type, 300, high, low, high, high, low, high, low, high, low, high, low});
        level.placements.push_back({type, 100 + 40 * type, 500, low, high, low, low, high, low, high, -1, 1, 0, 0});
    }
    level.placements.push_back({kEntityZuzevir, 600, 400});
    level.endLevelX = std::numeric_limits<double>::max();
    level.endLevelY = -std::numeric_limits<double>::max();
    level.goals.gameMode = kGameModeAction;
    return level;
}
