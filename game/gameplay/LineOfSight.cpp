// Line of sight: the segment against the rectangles of the cells it crosses, walked cell by cell.
#include "LineOfSight.h"

#include "CollisionShape.h"
#include "TerrainCodes.h"
#include "TileMap.h"

#include <algorithm>
#include <cmath>
#include <limits>

void SightLine::set(double x1, double y1, double x2, double y2) {
    if (y1 < y2) {
        ax = x1, ay = y1, bx = x2, by = y2;
    } else {
        ax = x2, ay = y2, bx = x1, by = y1;
    }
    minX = std::min(ax, bx);
    maxX = std::max(ax, bx);
    minY = ay;
    maxY = by;
    vertical = std::fabs(bx - ax) < 1;
    if (vertical) {
        slope = intercept = 0;
    } else {
        slope = (by - ay) / (bx - ax);
        intercept = ay - ax * slope;
    }
}

int SightLine::sideOf(double x, double y) const {
    if (vertical) return ax > x ? 1 : 2;
    return x * slope + intercept < y ? 1 : 2;
}

bool rectCrossesLine(const CollisionRect& rect, const SightLine& line) {
    if (rect.worldY1 > line.maxY || line.minY > rect.worldY2 || rect.worldX1 > line.maxX || line.minX > rect.worldX2)
        return false;
    const int side = line.sideOf(rect.worldX1, rect.worldY1);
    return line.sideOf(rect.worldX2, rect.worldY1) != side || line.sideOf(rect.worldX1, rect.worldY2) != side ||
           line.sideOf(rect.worldX2, rect.worldY2) != side;
}

bool cellBlocksLine(int32_t row, int32_t col, const SightLine& line) {
    CollisionShape* shape = getCollisionShape(tileMap.collisionGrid.get(col, row));
    if (!shape || !shape->hasRects()) return false;
    shape->setPosition(double(col) * kTileSize, double(row) * kTileSize);
    return rectCrossesLine(*shape->first, line) || (shape->second && rectCrossesLine(*shape->second, line));
}

bool hasLineOfSight(double x1, double y1, double x2, double y2) {
    // Points far past any level (or not numbers) see nothing; the walk below stays within reach of them.
    auto usable = [](double v) { return std::fabs(v) <= 1e9; };
    if (!usable(x1) || !usable(y1) || !usable(x2) || !usable(y2)) return false;
    SightLine line;
    line.set(x1, y1, x2, y2);
    int32_t targetCol, targetRow;
    if (!cellAt(x2, y2, targetCol, targetRow)) return true; // no grid: nothing solid anywhere

    // Walk the cells the segment passes through, in order from the start (a grid traversal). The walk counts
    // cells by floor, so every step crosses a real cell boundary; each is then taken as the collision grid
    // numbers it, held to the grid's edge as cellAt does. t is the travel at which the walk enters a cell.
    const ByteGrid& grid = tileMap.collisionGrid;
    const double dx = x2 - x1, dy = y2 - y1, length = std::hypot(dx, dy);
    const double ux = length > 0 ? dx / length : 0, uy = length > 0 ? dy / length : 0;
    const double inf = std::numeric_limits<double>::infinity();
    int64_t col = int64_t(std::floor(x1 / kTileSize)), row = int64_t(std::floor(y1 / kTileSize));
    const int stepCol = ux > 0 ? 1 : -1, stepRow = uy > 0 ? 1 : -1;
    double nextX = ux != 0 ? ((double(col) + (ux > 0 ? 1 : 0)) * kTileSize - x1) / ux : inf;
    double nextY = uy != 0 ? ((double(row) + (uy > 0 ? 1 : 0)) * kTileSize - y1) / uy : inf;
    const double deltaX = ux != 0 ? kTileSize / std::fabs(ux) : inf;
    const double deltaY = uy != 0 ? kTileSize / std::fabs(uy) : inf;

    int32_t lastCol = -1, lastRow = -1;
    double t = 0;
    while (t <= kSightRange) {
        const int32_t cellCol = int32_t(std::clamp<int64_t>(col, 0, grid.cols() - 1));
        const int32_t cellRow = int32_t(std::clamp<int64_t>(row, 0, grid.rows() - 1));
        if (cellCol != lastCol || cellRow != lastRow) {
            if (cellBlocksLine(cellRow, cellCol, line)) return false;
            lastCol = cellCol;
            lastRow = cellRow;
        }
        if (cellCol == targetCol && cellRow == targetRow) return true;
        if (nextX == inf && nextY == inf) return false; // a point whose cell is not the target's
        if (nextX < nextY) {
            t = nextX;
            nextX += deltaX;
            col += stepCol;
        } else {
            t = nextY;
            nextY += deltaY;
            row += stepRow;
        }
    }
    return false;
}
