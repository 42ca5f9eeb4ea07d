// The spatial grid: filing entities into 144-pixel cells, the windows around the view, the frame steps and
// the two draw passes.
#include "SpatialGrid.h"

#include "GF_Entity.h"
#include "GameWindow.h"
#include "TerrainCodes.h"
#include "TileMap.h"

#include <algorithm>

namespace {

constexpr size_t kCellReserve = 8;     // entities a cell holds before it first grows
constexpr size_t kPendingReserve = 64; // entities made in one frame before the pending list first grows

} // namespace

SpatialGrid* spatialGrid = nullptr;

void createSpatialGrid() {
    delete spatialGrid;
    spatialGrid = new SpatialGrid(10000, 5000, kGameWidth, kGameHeight);
}

void destroySpatialGrid() {
    delete spatialGrid;
    spatialGrid = nullptr;
}

SpatialGrid::SpatialGrid(double worldWidth, double worldHeight, int screenWidth, int screenHeight)
    : drawSpanX(screenWidth / kGridCellSize + 3), drawSpanY(screenHeight / kGridCellSize + 3),
      marginX(screenWidth / kGridCellSize + 1), marginY(screenHeight / kGridCellSize + 1) {
    resize(worldWidth, worldHeight);
    pendingList.reserve(kPendingReserve);
}

SpatialGrid::~SpatialGrid() {
    for (CellList& list : cells)
        for (GF_Entity* entity : list) releaseEntity(entity);
    for (GF_Entity* entity : pendingList) releaseEntity(entity);
    freeRetiredPlayer();
}

void SpatialGrid::resize(double worldWidth, double worldHeight) {
    const int32_t newCols = std::max<int32_t>(int32_t(worldWidth / kGridCellSize) + 1, 1);
    const int32_t newRows = std::max<int32_t>(int32_t(worldHeight / kGridCellSize) + 1, 1);
    std::vector<CellList> newCells(size_t(newCols) * size_t(newRows));
    for (int32_t row = 0; row < rowCount; row++) {
        for (int32_t col = 0; col < columnCount; col++) {
            CellList& old = cell(col, row);
            if (col < newCols && row < newRows) {
                newCells[size_t(col) + size_t(row) * size_t(newCols)] = std::move(old);
            } else {
                for (GF_Entity* entity : old) releaseEntity(entity);
            }
        }
    }
    // Room for a few entities in every cell up front, so filing them during play does not allocate.
    for (CellList& list : newCells) list.reserve(kCellReserve);
    cells = std::move(newCells);
    columnCount = newCols;
    rowCount = newRows;
    viewPositionX = viewPositionY = 0;
    computeGridWindows();
}

void SpatialGrid::clear() {
    for (CellList& list : cells) {
        for (GF_Entity* entity : list) releaseEntity(entity);
        list.clear();
    }
    // Entities queued but never filed belong to the level being emptied as well.
    for (GF_Entity* entity : pendingList) releaseEntity(entity);
    pendingList.clear();
}

SpatialGrid::CellList& SpatialGrid::cellOfEntity(GF_Entity* entity) {
    // Held to a defined range, so that an entity flung far out of the world (or to no number) still files.
    const int32_t col = cellOfCoordinate(entity->x, kGridCellSize), row = cellOfCoordinate(entity->y, kGridCellSize);
    const int32_t clampedCol = std::clamp(col, 0, columnCount - 1), clampedRow = std::clamp(row, 0, rowCount - 1);
    // A centre left of or above the grid truncates toward zero into cell 0 and is clamped all the same.
    const bool outside = clampedCol != col || clampedRow != row || entity->x < 0 || entity->y < 0;
    if (outside && entity->isShot) entity->removed = 1;
    return cell(clampedCol, clampedRow);
}

void SpatialGrid::addEntityToCell(GF_Entity* entity) {
    cellOfEntity(entity).push_back(entity);
}

void SpatialGrid::queueEntity(GF_Entity* entity) {
    pendingList.push_back(entity);
}

void SpatialGrid::setGridView(double x, double y) {
    viewPositionX = x;
    viewPositionY = y;
    computeGridWindows();
}

void SpatialGrid::computeGridWindows() {
    const int32_t firstCol = cellOfCoordinate(viewPositionX, kGridCellSize) - 1;
    const int32_t firstRow = cellOfCoordinate(viewPositionY, kGridCellSize) - 1;
    auto clampCol = [&](int32_t c) { return std::clamp(c, 0, columnCount - 1); };
    auto clampRow = [&](int32_t r) { return std::clamp(r, 0, rowCount - 1); };
    drawArea = {clampCol(firstCol), clampCol(firstCol + drawSpanX), clampRow(firstRow), clampRow(firstRow + drawSpanY)};
    activeArea = {clampCol(firstCol - marginX), clampCol(firstCol + drawSpanX + marginX), clampRow(firstRow - marginY),
                  clampRow(firstRow + drawSpanY + marginY)};
}

void SpatialGrid::updateGridEntities() {
    for (int32_t col = activeArea.firstCol; col <= activeArea.lastCol; col++)
        for (int32_t row = activeArea.firstRow; row <= activeArea.lastRow; row++)
            for (GF_Entity* entity : cell(col, row)) entity->update();
}

void SpatialGrid::terrainPassGridEntities() {
    for (int32_t col = activeArea.firstCol; col <= activeArea.lastCol; col++)
        for (int32_t row = activeArea.firstRow; row <= activeArea.lastRow; row++)
            for (GF_Entity* entity : cell(col, row))
                if (entity->hitsTerrain) terrainContact(entity);
}

void SpatialGrid::maintainGrid() {
    for (int32_t col = activeArea.firstCol; col <= activeArea.lastCol; col++) {
        for (int32_t row = activeArea.firstRow; row <= activeArea.lastRow; row++) {
            CellList& list = cell(col, row);
            // Compacted in place; an entity that moved on is appended to its new cell.
            size_t kept = 0;
            for (size_t i = 0; i < list.size(); i++) {
                GF_Entity* entity = list[i];
                if (entity->removed) {
                    // A shot that left the grid was flagged by its filing, not by a death: it leaves the world
                    // here, as one that flies out of the active window does.
                    if (!entity->dead) entity->onRemoved();
                    releaseEntity(entity);
                    continue;
                }
                CellList& home = cellOfEntity(entity);
                if (&home == &list) {
                    list[kept++] = entity;
                } else {
                    home.push_back(entity);
                }
            }
            list.resize(kept);
        }
    }
    // The ring just outside the active window: shots that fly out of it go.
    const GridWindow& a = activeArea;
    const int32_t ringTop = a.firstRow - 1, ringBottom = a.lastRow + 1;
    auto sideColumn = [&](int32_t col, int32_t edgeCol) {
        const bool exists = col >= 0 && col < columnCount;
        for (int32_t row = std::max(ringTop, 0); row <= std::min(ringBottom, rowCount - 1); row++)
            removeRingShots(exists ? col : edgeCol, row, !exists);
    };
    auto sideRow = [&](int32_t row, int32_t edgeRow) {
        const bool exists = row >= 0 && row < rowCount;
        for (int32_t col = a.firstCol; col <= a.lastCol; col++) removeRingShots(col, exists ? row : edgeRow, !exists);
    };
    sideColumn(a.firstCol - 1, 0);
    sideColumn(a.lastCol + 1, columnCount - 1);
    sideRow(a.firstRow - 1, 0);
    sideRow(a.lastRow + 1, rowCount - 1);
}

void SpatialGrid::removeRingShots(int32_t col, int32_t row, bool onlyOutsideLevel) {
    CellList& list = cell(col, row);
    size_t kept = 0;
    for (GF_Entity* entity : list) {
        const bool goes = entity->isShot && (!onlyOutsideLevel || !isInsideLevel(entity->x, entity->y));
        if (!goes) {
            list[kept++] = entity;
            continue;
        }
        // A shot still flying leaves the world here; one already fading has left it once.
        if (!entity->dead) entity->onRemoved();
        releaseEntity(entity);
    }
    list.resize(kept);
}

void SpatialGrid::flushPendingEntities() {
    for (GF_Entity* entity : pendingList) cellOfEntity(entity).push_back(entity);
    pendingList.clear();
}

void SpatialGrid::collideGridEntities() {
    for (int32_t col = activeArea.firstCol; col <= activeArea.lastCol; col++) {
        for (int32_t row = activeArea.firstRow; row <= activeArea.lastRow; row++) {
            const CellList& list = cell(col, row);
            // Every pair inside the cell first, then each entity with the neighbours to the right and below.
            for (size_t i = 0; i < list.size(); i++)
                for (size_t j = i + 1; j < list.size(); j++) contactFilter(list[j], list[i]);
            for (GF_Entity* b : list) {
                if (col + 1 < columnCount) {
                    for (int32_t r = row - 1; r <= row + 1; r++) {
                        if (r < 0 || r >= rowCount) continue;
                        for (GF_Entity* a : cell(col + 1, r)) contactFilter(a, b);
                    }
                }
                if (row + 1 < rowCount)
                    for (GF_Entity* a : cell(col, row + 1)) contactFilter(a, b);
            }
        }
    }
}

void SpatialGrid::drawPass(bool front, double viewX, double viewY) {
    for (int32_t col = drawArea.firstCol; col <= drawArea.lastCol; col++)
        for (int32_t row = drawArea.firstRow; row <= drawArea.lastRow; row++)
            for (GF_Entity* entity : cell(col, row))
                if ((entity->drawnInFront != 0) == front) entity->draw(viewX, viewY);
}

void SpatialGrid::drawGridEntitiesBehind(double viewX, double viewY) {
    drawPass(false, viewX, viewY);
}

void SpatialGrid::drawGridEntitiesInFront(double viewX, double viewY) {
    drawPass(true, viewX, viewY);
}

int SpatialGrid::countLivingEnemies() const {
    int count = 0;
    for (const CellList& list : cells)
        for (const GF_Entity* entity : list)
            if (entity->countsAsEnemy) count++;
    return count;
}

GF_Entity* SpatialGrid::findNearestEntity(double x, double y) const {
    GF_Entity* nearest = nullptr;
    double best = 0;
    for (int32_t col = activeArea.firstCol; col <= activeArea.lastCol; col++) {
        for (int32_t row = activeArea.firstRow; row <= activeArea.lastRow; row++) {
            for (GF_Entity* entity : cell(col, row)) {
                if (!entity->targetable || entity->dead) continue;
                const double dx = entity->x - x, dy = entity->y - y, d = dx * dx + dy * dy;
                if (!nearest || d < best) {
                    nearest = entity;
                    best = d;
                }
            }
        }
    }
    return nearest;
}
