// Start-up and shutdown of the terrain tables.
#include "TerrainTables.h"

#include "CollisionShape.h"
#include "TileDefinition.h"
#include "TileMap.h"
#include "TileSetTable.h"

void buildTerrainTables() {
    buildTileDefinitions();
    buildCollisionShapes();
    currentTileSet = kTileSetAlien;
    createTileMap();
}

void freeTerrainTables() {
    releaseTileMap();
    freeCollisionShapes();
    freeTileDefinitions();
}
