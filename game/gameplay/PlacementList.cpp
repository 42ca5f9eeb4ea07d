// The placement list: editing, pruning, counting and spawning the level's placed objects.
#include "PlacementList.h"

#include "CheatList.h"
#include "EntityFactory.h"
#include "EntityType.h"
#include "GF_Entity.h"
#include "SpatialGrid.h"

#include <algorithm>

PlacementList Placements;

PlacementFields EntityPlacement::fields() const {
    PlacementFields f{type, x, y, vx, vy, rotation};
    std::copy(vars.begin(), vars.end(), f.begin() + 6);
    return f;
}

EntityPlacement EntityPlacement::fromFields(const PlacementFields& f) {
    EntityPlacement record;
    record.type = f[0];
    record.x = f[1];
    record.y = f[2];
    record.vx = f[3];
    record.vy = f[4];
    record.rotation = f[5];
    std::copy(f.begin() + 6, f.end(), record.vars.begin());
    return record;
}

void PlacementList::clearPlacements() {
    list.clear();
}

void PlacementList::assignFields(const std::vector<PlacementFields>& records) {
    list.clear();
    list.reserve(records.size());
    for (const PlacementFields& fields : records) appendPlacement(EntityPlacement::fromFields(fields));
}

std::vector<PlacementFields> PlacementList::fieldList() const {
    std::vector<PlacementFields> records;
    records.reserve(list.size());
    for (const auto& record : list) records.push_back(record->fields());
    return records;
}

EntityPlacement* PlacementList::addPlacement(int32_t type, int32_t x, int32_t y) {
    if (type == kEntityGoldFish && countGoldZuzevirPlacements() >= kMaxGoldZuzevirPlacements) return nullptr;
    EntityPlacement record;
    record.type = type;
    record.x = x;
    record.y = y;
    return appendPlacement(record);
}

EntityPlacement* PlacementList::appendPlacement(const EntityPlacement& record) {
    list.push_back(std::make_unique<EntityPlacement>(record));
    return list.back().get();
}

void PlacementList::deletePlacement(EntityPlacement* record) {
    std::erase_if(list, [&](const std::unique_ptr<EntityPlacement>& r) { return r.get() == record; });
}

EntityPlacement* PlacementList::findPlacementNear(double x, double y) const {
    for (const auto& record : list) {
        const double dx = record->x - x, dy = record->y - y;
        if (dx * dx + dy * dy < 25.0 * 25.0) return record.get();
    }
    return nullptr;
}

int PlacementList::countGoldZuzevirPlacements() const {
    return int(std::count_if(list.begin(), list.end(), [](const auto& r) { return r->type == kEntityGoldFish; }));
}

int PlacementList::countHoopPlacements() const {
    return int(std::count_if(list.begin(), list.end(), [](const auto& r) { return r->type == kEntityHoop; }));
}

namespace {

// The last position a placement may take along a side of the level: one tile in from its end, or its start
// on a side shorter than a tile.
double lastPlacementPosition(double side) {
    return std::max(0.0, side - kPlacementCellSize);
}

// The one rule of what a saved level keeps: a record at a position inside the level.
struct KeptBySave {
    double lastX, lastY;
    KeptBySave(double levelWidth, double levelHeight)
        : lastX(lastPlacementPosition(levelWidth)), lastY(lastPlacementPosition(levelHeight)) {}
    bool operator()(const EntityPlacement& r) const { return r.x >= 0 && r.x <= lastX && r.y >= 0 && r.y <= lastY; }
};

} // namespace

void PlacementList::prunePlacements(double levelWidth, double levelHeight) {
    const KeptBySave kept(levelWidth, levelHeight);
    std::erase_if(list, [&](const std::unique_ptr<EntityPlacement>& r) { return !kept(*r); });
}

std::vector<PlacementFields> PlacementList::keptFieldList(double levelWidth, double levelHeight) const {
    const KeptBySave kept(levelWidth, levelHeight);
    std::vector<PlacementFields> records;
    records.reserve(list.size());
    for (const auto& record : list)
        if (kept(*record)) records.push_back(record->fields());
    return records;
}

EntityPlacement* PlacementList::ensurePlayerStart(double levelWidth, double levelHeight) {
    const KeptBySave kept(levelWidth, levelHeight);
    const bool hasPlayer =
        std::any_of(list.begin(), list.end(), [&](const auto& r) { return r->type == kEntityZuzevir && kept(*r); });
    if (hasPlayer) return nullptr;
    // The usual start, moved in from the edges of a level too small to hold it, so that pruning keeps it.
    const double x = std::min(kPlayerStartX, lastPlacementPosition(levelWidth));
    const double y = std::min(kPlayerStartY, lastPlacementPosition(levelHeight));
    return addPlacement(kEntityZuzevir, int32_t(x), int32_t(y));
}

GF_Entity* PlacementList::spawnPlacement(const EntityPlacement& record, SpatialGrid& grid) const {
    if (isCheatOn(kCheatNoEnemies) && record.type != kEntityZuzevir && record.type != kEntityGoldFish &&
        record.type != kEntityOrnament)
        return nullptr;
    GF_Entity* entity =
        createEntity(record.type, record.x, record.y, record.vars, record.vx, record.vy, record.rotation);
    if (!entity) return nullptr; // a type outside 0..24
    grid.addEntityToCell(entity);
    return entity;
}

int PlacementList::spawnAllPlacements(SpatialGrid& grid) const {
    grid.clear();
    int enemies = 0;
    for (const auto& record : list) {
        const GF_Entity* entity = spawnPlacement(*record, grid);
        if (entity && entity->countsAsEnemy) enemies++;
    }
    return enemies;
}

const char* placementTypeName(const EntityPlacement& record) {
    return entityTypeName(record.type);
}

const char* placementVarLabel(int n, const EntityPlacement& record) {
    return entityVarLabel(record.type, n);
}
