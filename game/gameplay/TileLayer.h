// One scrolling tile layer: a grid of tile codes, its parallax factors on the camera position and the two
// optional world lines that limit it to the water (drawn below a line) or to the air (drawn above one).
#pragma once

#include "CellGrid.h"

class TileLayer {
public:
    // Stores the four values and makes a zero-filled grid sized for the current level.
    TileLayer(double clipBelowY, double clipAboveY, double scrollX, double scrollY);

    // Draws the tiles seen from the camera position (world pixels of the game area's top-left corner).
    void draw(double cameraX, double cameraY) const;
    // The grid size this layer needs for a level: the level scaled by the scroll factors, never smaller than
    // the screen plus one partial cell at each side.
    int32_t colsFor(double levelWidth) const;
    int32_t rowsFor(double levelHeight) const;
    // Resizes the grid to the size rule for the level, keeping the overlapping cells.
    void fitToLevel(double levelWidth, double levelHeight);

    double scrollX, scrollY;
    double clipBelowY; // >= 0: drawn only above this world line; -1: off
    double clipAboveY; // >= 0: drawn only below this world line; -1: off
    TileGrid grid;

private:
    void drawRow(int32_t row, int32_t firstCol, int32_t lastCol, int screenX, int screenY, int cut, int lineY) const;
};
