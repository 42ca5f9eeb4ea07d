// The level's placement list: the placed objects in insertion (file) order, edited by the level editor,
// read and written by the level file, and spawned into the spatial grid when a level starts.
#pragma once

#include "EntityPlacement.h"

#include <memory>
#include <vector>

class GF_Entity;
class SpatialGrid;

constexpr int kMaxGoldZuzevirPlacements = 5; // through addPlacement; a level file may hold more
constexpr double kPlacementCellSize = 64;    // a placement lies at least this far inside the level's far edges
constexpr double kPlayerStartX = 500, kPlayerStartY = 1000;

class PlacementList {
public:
    const std::vector<std::unique_ptr<EntityPlacement>>& records() const { return list; }
    int count() const { return int(list.size()); }

    void clearPlacements();
    // The whole list from a level file's records (in file order), and back, for the level file.
    void assignFields(const std::vector<PlacementFields>& records);
    std::vector<PlacementFields> fieldList() const;
    // A zeroed record with this type and position appended; null (nothing added) for a sixth Gold Radudod.
    EntityPlacement* addPlacement(int32_t type, int32_t x, int32_t y);
    // Appends a whole record as read from a file (no limit applies).
    EntityPlacement* appendPlacement(const EntityPlacement& record);
    // Unlinks and deletes the record; a record not in the list is left alone.
    void deletePlacement(EntityPlacement* record);
    // The first record closer than 25 pixels to the point; null when none (editor picking).
    EntityPlacement* findPlacementNear(double x, double y) const;
    int countGoldZuzevirPlacements() const;
    int countHoopPlacements() const;
    // Deletes every record outside 0 <= x <= levelWidth - 64, 0 <= y <= levelHeight - 64 (a level side
    // shorter than 64 keeps the records at 0 on it). The one rule of what a saved level keeps.
    void prunePlacements(double levelWidth, double levelHeight);
    // The records that pruning would keep, in list order; the list itself is left as it is.
    std::vector<PlacementFields> keptFieldList(double levelWidth, double levelHeight) const;
    // Adds a player start when the list has none that pruning keeps: at (500, 1000), or as near it as the
    // level's size lets a record stay through pruning. Returns the added record, or null when none was needed.
    EntityPlacement* ensurePlayerStart(double levelWidth, double levelHeight);

    // The live entity of a record filed into its cell; null when the record is skipped (a type outside
    // 0..24, or anything but the player, Gold Radudods and ornaments while "No Enemies" is on).
    GF_Entity* spawnPlacement(const EntityPlacement& record, SpatialGrid& grid) const;
    // Empties the grid, then spawns every record in list order. Returns the level's enemy total: the
    // spawned entities that count as enemies.
    int spawnAllPlacements(SpatialGrid& grid) const;

    // The editor's markers of every record near the view.
    void drawPlacementMarkers(double cameraX, double cameraY) const;

private:
    std::vector<std::unique_ptr<EntityPlacement>> list;
};

// The editor's marker of one record: its kind's name in a tinted box, when it lies near the view.
void drawPlacementMarker(const EntityPlacement& record, double cameraX, double cameraY);

// The editor's captions of a record's kind and of its Var n (1..8).
const char* placementTypeName(const EntityPlacement& record);
const char* placementVarLabel(int n, const EntityPlacement& record);

// The level's one placement list, from start-up to shutdown.
extern PlacementList Placements;
