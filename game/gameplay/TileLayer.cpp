// Tile-layer sizing and drawing: only the cells in view are touched, one sprite blit each.
#include "TileLayer.h"

#include "TileDefinition.h"
#include "TileMap.h"

#include <algorithm>
#include <cmath>

namespace {

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
    return scaledCells(levelWidth, scrollX, kTileViewCols);
}

int32_t TileLayer::rowsFor(double levelHeight) const {
    return scaledCells(levelHeight, scrollY, kTileViewRows);
}

void TileLayer::fitToLevel(double levelWidth, double levelHeight) {
    grid.resize(colsFor(levelWidth), rowsFor(levelHeight));
}

TileRowCut TileLayerView::rowCut(int32_t row) const {
    const int top = screenY(row);
    if (lineCut == kRowBelowLine) {
        if (top + kTileSize <= lineY) return kRowHidden;
        return top < lineY ? kRowBelowLine : kRowWhole;
    }
    if (lineCut == kRowAboveLine) {
        if (top >= lineY) return kRowHidden;
        return top + kTileSize > lineY ? kRowAboveLine : kRowWhole;
    }
    return kRowWhole;
}

TileLayerView TileLayer::view(double cameraX, double cameraY) const {
    TileLayerView v;
    const double sx = scrollX * cameraX, sy = scrollY * cameraY;
    v.firstCol = int32_t(std::trunc(sx / kTileSize));
    v.firstRow = int32_t(std::trunc(sy / kTileSize));
    v.offX = int(std::trunc(sx - v.firstCol * double(kTileSize)));
    v.offY = int(std::trunc(sy - v.firstRow * double(kTileSize)));
    // The window of cells in view, cut to the cells the grid has: a camera past the grid's edge shows nothing
    // there rather than repeating the edge cells.
    v.colFrom = std::max(v.firstCol, 0);
    v.colTo = std::min(v.firstCol + kTileViewCols - 1, grid.cols() - 1);
    v.rowFrom = std::max(v.firstRow, 0);
    v.rowTo = std::min(v.firstRow + kTileViewRows - 1, grid.rows() - 1);
    // The clip line sits at its world height whatever the parallax.
    if (clipAboveY >= 0) {
        v.lineCut = kRowBelowLine;
        v.lineY = screenLine(clipAboveY, cameraY);
    } else if (clipBelowY >= 0) {
        v.lineCut = kRowAboveLine;
        v.lineY = screenLine(clipBelowY, cameraY);
    }
    return v;
}

void TileLayer::draw(double cameraX, double cameraY, const TileViewMask* skip) const {
    const TileLayerView v = view(cameraX, cameraY);
    if (v.empty()) return;
    for (int32_t row = v.rowFrom; row <= v.rowTo; row++) {
        const TileRowCut cut = v.rowCut(row);
        if (cut != kRowHidden) drawRow(v, row, cut, skip ? (*skip)[size_t(row - v.rowFrom)] : 0);
    }
}

void TileLayer::drawRow(const TileLayerView& v, int32_t row, TileRowCut cut, uint16_t skip) const {
    const uint16_t* codes = grid.data() + size_t(row) * size_t(grid.cols());
    const int screenY = v.screenY(row);
    for (int32_t col = v.colFrom; col <= v.colTo; col++) {
        const uint16_t code = codes[col];
        if (code == 0 || (skip >> (col - v.colFrom) & 1)) continue;
        TileDefinition* tile = getTileDefinition(code);
        if (!tile) continue; // a code no definition has draws nothing
        const int screenX = v.screenX(col);
        if (cut == kRowBelowLine)
            tile->drawBelow(screenX, screenY, v.lineY);
        else if (cut == kRowAboveLine)
            tile->drawAbove(screenX, screenY, v.lineY);
        else
            tile->draw(screenX, screenY);
    }
}
