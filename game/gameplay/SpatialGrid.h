// The spatial grid: every live entity of the level, filed in square cells of 144 pixels. Updates, terrain
// tests, clean-up and contacts run only inside an active window around the view, drawing inside a smaller
// draw window. The grid owns its entities: removing one deletes it (the player excepted).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class GF_Entity;

constexpr int kGridCellSize = 144; // (int)sqrt(20480) + 1

// An inclusive range of cells.
struct GridWindow {
    int32_t firstCol = 0, lastCol = -1, firstRow = 0, lastRow = -1;
};

class SpatialGrid {
public:
    using CellList = std::vector<GF_Entity*>;

    // Sized for a world in pixels, for a screen of the game area's size.
    SpatialGrid(double worldWidth, double worldHeight, int screenWidth, int screenHeight);
    ~SpatialGrid(); // deletes every entity of every cell and of the pending list
    SpatialGrid(const SpatialGrid&) = delete;
    SpatialGrid& operator=(const SpatialGrid&) = delete;

    // New cell counts; the cells both sizes share keep their entities, the rest are deleted with theirs.
    void resize(double worldWidth, double worldHeight);
    // Deletes every entity (the player only unlinked); the cells stay.
    void clear();

    // The list of the cell of the entity's centre, clamped into the grid; a shot that had to be clamped is
    // flagged removed.
    CellList& cellOfEntity(GF_Entity* entity);
    // Files an entity into its cell at once (placement spawning). The grid owns it from now on.
    void addEntityToCell(GF_Entity* entity);
    // Files an entity made during play at the next flushPendingEntities. The grid owns it from now on.
    void queueEntity(GF_Entity* entity);

    void setGridView(double x, double y);
    void computeGridWindows();

    // The frame steps, in this order each frame.
    void updateGridEntities();
    void terrainPassGridEntities();
    void maintainGrid();
    void flushPendingEntities();
    void collideGridEntities();

    // The two draw passes: the entities drawn behind the front tile layers, then those drawn in front.
    void drawGridEntitiesBehind(double viewX, double viewY);
    void drawGridEntitiesInFront(double viewX, double viewY);

    // Entities that count as enemies, over the whole grid.
    int countLivingEnemies() const;
    // The nearest targetable, living entity in the active window; null when none.
    GF_Entity* findNearestEntity(double x, double y) const;

    int32_t cols() const { return columnCount; }
    int32_t rows() const { return rowCount; }
    CellList& cell(int32_t col, int32_t row) { return cells[size_t(col) + size_t(row) * size_t(columnCount)]; }
    const CellList& cell(int32_t col, int32_t row) const {
        return cells[size_t(col) + size_t(row) * size_t(columnCount)];
    }
    const CellList& pending() const { return pendingList; }
    const GridWindow& drawWindow() const { return drawArea; }
    const GridWindow& activeWindow() const { return activeArea; }
    double viewX() const { return viewPositionX; }
    double viewY() const { return viewPositionY; }

private:
    void drawPass(bool front, double viewX, double viewY);
    void removeRingShots(int32_t col, int32_t row, bool onlyOutsideLevel);

    int32_t columnCount = 0, rowCount = 0;
    int32_t drawSpanX, drawSpanY, marginX, marginY;
    std::vector<CellList> cells; // row-major
    CellList pendingList;
    double viewPositionX = 0, viewPositionY = 0;
    GridWindow drawArea, activeArea;
};

// The game's one grid: made at start-up for a 10000 x 5000 world, released at shutdown.
extern SpatialGrid* spatialGrid;
void createSpatialGrid();
void destroySpatialGrid();
