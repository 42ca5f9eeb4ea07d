// Tile-layer sizing and drawing: only the cells in view are touched, one sprite blit each.
#include "TileLayer.h"

#include "GameWindow.h"
#include "TerrainCodes.h"
#include "TileDefinition.h"
#include "TileMap.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kViewCols = kGameWidth / kTileSize + 2;  // 14 at 800 pixels
constexpr int kViewRows = kGameHeight / kTileSize + 2; // 11 at 600 pixels

enum RowCut { kWhole, kBelowLine, kAboveLine };

// A clip line on the screen. Lines beyond the rows in view act as lines just beyond them, so a line far off
// (a level file may hold any finite value) is held there before it becomes a whole number.
int screenLine(double clipY, double cameraY) {
    return int(std::clamp(std::trunc(clipY - cameraY), -2.0 * kTileSize, double(kGameHeight + 2 * kTileSize)));
}

// Cells of a scaled level side: rounded half away from zero, held to what a grid can hold.
int32_t scaledCells(double levelSide, double scroll, int32_t minimum) {
    const double cells = std::round(levelSide / kTileSize * scroll);
    if (!(cells > minimum)) return minimum; // also a side that is not a number
    return int32_t(std::min(cells, double(kMaxGridSide)));
}

} // namespace

TileLayer::TileLayer(double below, double above, double factorX, double factorY)
    : scrollX(factorX), scrollY(factorY), clipBelowY(below), clipAboveY(above) {
    grid.reset(colsFor(tileMap.levelWidth), rowsFor(tileMap.levelHeight));
}

int32_t TileLayer::colsFor(double levelWidth) const {
    return scaledCells(levelWidth, scrollX, kViewCols);
}

int32_t TileLayer::rowsFor(double levelHeight) const {
    return scaledCells(levelHeight, scrollY, kViewRows);
}

void TileLayer::fitToLevel(double levelWidth, double levelHeight) {
    grid.resize(colsFor(levelWidth), rowsFor(levelHeight));
}

void TileLayer::draw(double cameraX, double cameraY) const {
    const double sx = scrollX * cameraX, sy = scrollY * cameraY;
    const int32_t firstCol = int32_t(std::trunc(sx / kTileSize));
    const int32_t firstRow = int32_t(std::trunc(sy / kTileSize));
    const int offX = int(std::trunc(sx - firstCol * double(kTileSize)));
    const int offY = int(std::trunc(sy - firstRow * double(kTileSize)));
    // The window of cells in view, cut to the cells the grid has: a camera past the grid's edge shows nothing
    // there rather than repeating the edge cells.
    const int32_t colFrom = std::max(firstCol, 0), colTo = std::min(firstCol + kViewCols - 1, grid.cols() - 1);
    const int32_t rowFrom = std::max(firstRow, 0), rowTo = std::min(firstRow + kViewRows - 1, grid.rows() - 1);
    if (colFrom > colTo) return;

    RowCut mode = kWhole;
    int lineY = 0; // the clip line on screen: it sits at its world height whatever the parallax
    if (clipAboveY >= 0) {
        mode = kBelowLine;
        lineY = screenLine(clipAboveY, cameraY);
    } else if (clipBelowY >= 0) {
        mode = kAboveLine;
        lineY = screenLine(clipBelowY, cameraY);
    }
    for (int32_t row = rowFrom; row <= rowTo; row++) {
        const int top = (row - firstRow) * kTileSize - offY;
        int cut = kWhole;
        if (mode == kBelowLine) {
            if (top + kTileSize <= lineY) continue;
            if (top < lineY) cut = kBelowLine;
        } else if (mode == kAboveLine) {
            if (top >= lineY) continue;
            if (top + kTileSize > lineY) cut = kAboveLine;
        }
        drawRow(row, colFrom, colTo, (colFrom - firstCol) * kTileSize - offX, top, cut, lineY);
    }
}

void TileLayer::drawRow(int32_t row, int32_t firstCol, int32_t lastCol, int screenX, int screenY, int cut,
                        int lineY) const {
    const uint16_t* codes = grid.data() + size_t(row) * size_t(grid.cols());
    for (int32_t col = firstCol; col <= lastCol; col++, screenX += kTileSize) {
        const uint16_t code = codes[col];
        if (code == 0) continue;
        TileDefinition* tile = getTileDefinition(code);
        if (!tile) continue; // a code no definition has draws nothing
        if (cut == kBelowLine)
            tile->drawBelow(screenX, screenY, lineY);
        else if (cut == kAboveLine)
            tile->drawAbove(screenX, screenY, lineY);
        else
            tile->draw(screenX, screenY);
    }
}
