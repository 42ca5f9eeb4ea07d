// One scrolling tile layer: a grid of tile codes, its parallax factors on the camera position and the two
// optional world lines that limit it to the water (drawn below a line) or to the air (drawn above one).
#pragma once

#include "CellGrid.h"
#include "GameWindow.h"
#include "TerrainCodes.h"

#include <array>

// The most cells of a layer in view at once: the screen plus one partial cell at each side.
constexpr int kTileViewCols = kGameWidth / kTileSize + 2;  // 14 at 800 pixels
constexpr int kTileViewRows = kGameHeight / kTileSize + 2; // 11 at 600 pixels

// How a layer's clip line treats one row of cells.
enum TileRowCut { kRowWhole, kRowBelowLine, kRowAboveLine, kRowHidden };

// The cells of a layer in view from a camera position and where they land on the screen.
struct TileLayerView {
    int32_t firstCol = 0, firstRow = 0; // the cell at the screen's top-left corner (it may lie outside the grid)
    int offX = 0, offY = 0;             // how far that cell starts above and left of the corner
    int32_t colFrom = 0, colTo = -1, rowFrom = 0, rowTo = -1; // the cells in view that the grid has
    TileRowCut lineCut = kRowWhole; // what the clip line keeps: the part below it, above it, or no line
    int lineY = 0;                  // the clip line on the screen

    bool empty() const { return colFrom > colTo || rowFrom > rowTo; }
    int screenX(int32_t col) const { return (col - firstCol) * kTileSize - offX; }
    int screenY(int32_t row) const { return (row - firstRow) * kTileSize - offY; }
    // Whole, cut at the line (only the part on the kept side drawn) or not drawn at all.
    TileRowCut rowCut(int32_t row) const;
};

// Cells of a layer's view not to draw: bit (col - colFrom) of entry (row - rowFrom).
static_assert(kTileViewCols <= 16);
using TileViewMask = std::array<uint16_t, kTileViewRows>;

class TileLayer {
public:
    // Stores the four values and makes a zero-filled grid sized for the current level.
    TileLayer(double clipBelowY, double clipAboveY, double scrollX, double scrollY);

    // The cells seen from the camera position (world pixels of the game area's top-left corner).
    TileLayerView view(double cameraX, double cameraY) const;
    // Draws the tiles seen from the camera position, leaving out the cells set in skip, when given.
    void draw(double cameraX, double cameraY, const TileViewMask* skip = nullptr) const;
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
    void drawRow(const TileLayerView& view, int32_t row, TileRowCut cut, uint16_t skip) const;
};
