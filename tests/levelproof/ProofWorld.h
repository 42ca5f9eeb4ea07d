// The game's services for the level proof without a window: the level model, the spatial grid, the particles,
// the cheat list, the sprite sheets (their hotspots place muzzles and barrel tips) over recording pictures, the
// game state among the program states with overlays that only stay open, and a user folder of its own.
#pragma once

#include "../game/framework/TempUserFolder.h"

#include "CheatList.h"
#include "CollisionShape.h"
#include "GF_Entity.h"
#include "GF_GameEngine.h"
#include "GameStateServices.h"
#include "InputState.h"
#include "KGraphicRecorder.h"
#include "LevelCatalogue.h"
#include "ParticlePool.h"
#include "PlacementList.h"
#include "ProgramStates.h"
#include "ProgressTable.h"
#include "SpatialGrid.h"
#include "SpriteSheetTable.h"
#include "TileMap.h"

#include <gtest/gtest.h>

#include <memory>

// An overlay that stays open and does nothing: the run ends when one opens.
class ClosedOverlay : public GF_ProgramState {
public:
    void enter() override {}
    void leave() override {}
    void update() override {}
    void draw() override {}
};

class ProofWorld : public testing::Test {
protected:
    void SetUp() override {
        setUpFolders();
        loadSpriteSheets();
        createGameStateServices<ClosedOverlay>();
        ProgressTable = ProgressTableRecord{};
    }
    void TearDown() override {
        if (currentState) currentState->leave();
        currentState = nullptr;
        programStates[kStateGameEngine].reset();
        clearLevelCatalogue();
        ProgressTable = ProgressTableRecord{};
        deleteBackKey();
        destroyParticlePool();
        destroySpatialGrid();
        freeRetiredPlayer();
        Placements.clearPlacements();
        freeCheatList();
        freeCollisionShapes();
        releaseTileMap();
        freeSpriteSheets();
    }

    ScopedGraphicRecording recording;
    TempUserFolder user; // the progress file goes here
};
