// The level's terrain in memory: the eight tile layers, the collision and substance grids over the same
// 64-pixel cells, the level size, the clip level (the water surface line) and the camera bounds; and the
// world queries that entities, particles and behaviours ask of it.
#pragma once

#include "CellGrid.h"
#include "TerrainCodes.h"
#include "TileLayer.h"

#include <array>
#include <memory>

struct TileMap {
    std::array<std::unique_ptr<TileLayer>, kTileLayerCount> layers; // in drawing order; made at start-up
    ByteGrid collisionGrid;                                         // CollisionShapeCode per cell
    ByteGrid substanceGrid;                                         // SubstanceCode per cell
    double levelWidth = 10000, levelHeight = 5000;
    double clipLevel = 1500;
    int32_t boundsLeft = 0, boundsRight = 10000, boundsTop = 0, boundsBottom = 5000;
    bool levelLoaded = false; // a level file has been read since start-up
};

extern TileMap tileMap;

// The layer of an id, or null outside 0 .. 7 and before start-up made the layers.
TileLayer* getTileLayer(int id);

// Makes the default level: the size, clip level and bounds at their defaults, the eight layers with their
// scroll factors and clip lines, and both byte grids, all zero-filled. Replaces what was there.
void createTileMap();
// Deletes the layers and empties both byte grids.
void releaseTileMap();

// Stores the size, fits every layer's grid to it and both byte grids to the size of the Front 4 grid.
void setLevelSize(double width, double height);
// Moves the clip level and every clip line that is on (>= 0) of every layer to y, as a whole number.
void setClipLevel(double y);

// The origin of the level's last cell is the last point inside: 0 <= x <= width - 64, 0 <= y <= height - 64.
bool isInsideLevel(double x, double y);
// Water or air at a world point: air outside the level; a transition cell is air in its upper half.
int getSubstanceAt(double x, double y);
// The water surface in the column of a point, within three cells up or down: out is the surface point, or
// the point itself when no transition cell is met.
void findWaterSurface(double x, double y, double& outX, double& outY);
// Gravity in air, pixels per second squared: 800, or 400 under "Low Gravity", or 1600 under "High Gravity".
double getGravity();

// The editor's view of the substance grid: a box per visible cell, water blue, air white, transition cells
// white over blue, drawn with the overlay alpha (the editor sets it; 0.5).
extern double substanceOverlayAlpha;
void drawSubstanceOverlay(double cameraX, double cameraY);
