// The services the game state plays a level with, made without a window: the level model, the collision
// shapes, the cheat list, the spatial grid, the particles and the back key, then the game state among the
// program states with an Overlay in every overlay slot (the caller's choice of what an open overlay does).
#pragma once

#include "CheatList.h"
#include "CollisionShape.h"
#include "GF_GameEngine.h"
#include "InputState.h"
#include "ParticlePool.h"
#include "ProgramStates.h"
#include "SpatialGrid.h"
#include "TileMap.h"

#include <memory>

template <class Overlay> void createGameStateServices() {
    createTileMap();
    buildCollisionShapes();
    buildCheatList();
    createSpatialGrid();
    createParticlePool();
    createBackKey();
    programStates[kStateGameEngine] = std::make_unique<GF_GameEngine>();
    for (int kind = 0; kind < kGameOverlayCount; ++kind)
        getGameEngine()->installOverlay(GameOverlayKind(kind), std::make_unique<Overlay>());
}
