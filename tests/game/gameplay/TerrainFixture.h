// A fresh default level with the collision shapes built, for tests of the terrain queries; paints cells by
// world cell and frees everything after the test.
#pragma once

#include "CellGrid.h"
#include "CollisionShape.h"
#include "TileMap.h"

#include <gtest/gtest.h>

class TerrainTest : public testing::Test {
protected:
    void SetUp() override {
        buildCollisionShapes();
        createTileMap();
    }
    void TearDown() override {
        releaseTileMap();
        freeCollisionShapes();
    }

    static void solid(int col, int row, uint8_t shape) { tileMap.collisionGrid.set(col, row, shape); }
    static void substance(int col, int row, uint8_t code) { tileMap.substanceGrid.set(col, row, code); }
    static void fillSubstance(uint8_t code) {
        ByteGrid& grid = tileMap.substanceGrid;
        for (int row = 0; row < grid.rows(); row++)
            for (int col = 0; col < grid.cols(); col++) grid.set(col, row, code);
    }
};
