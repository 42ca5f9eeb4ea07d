// A small hand-built world for behaviour tests: the default level (all water, no walls) with the collision
// shapes, the cheat list, a spatial grid viewed from the camera, a frame time of 1/64 s, a seeded generator
// and scripted keys and mouse. Entities are made by the factory and stepped by the grid's own frame steps.
#pragma once

#include "Camera.h"
#include "CheatList.h"
#include "CollisionShape.h"
#include "EntityFactory.h"
#include "EntityType.h"
#include "FrameClock.h"
#include "GF_Entity.h"
#include "GameOptions.h"
#include "InputState.h"
#include "KRandom.h"
#include "SpatialGrid.h"
#include "TerrainCodes.h"
#include "TileMap.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

class BehaviourWorld : public ::testing::Test {
protected:
    void SetUp() override {
        createTileMap();
        buildCollisionShapes();
        buildCheatList();
        createSpatialGrid();
        frameTime = 1.0 / 64;
        kSrand(11);
        GameOptions.autoAim = false;
        GameOptions.difficulty = 1;
        MouseState = MouseStateRecord{};
        heldKeys().clear();
        setKeyPoll([](int key) { return heldKeys().count(key) != 0; });
        clearCameraTarget();
        cameraX = cameraY = 0;
    }
    void TearDown() override {
        setKeyPoll(nullptr);
        clearCameraTarget();
        destroySpatialGrid();
        freeRetiredPlayer();
        freeCheatList();
        freeCollisionShapes();
        releaseTileMap();
        MouseState = MouseStateRecord{};
    }

    static std::set<int>& heldKeys() {
        static std::set<int> keys;
        return keys;
    }

    // An entity of the type placed straight into its cell, as the level's spawner does.
    GF_Entity* place(int type, double x, double y, double angle = 0, EntityVars vars = EntityVars{}) {
        GF_Entity* e = createEntity(type, int32_t(x), int32_t(y), vars, 0, 0, angle);
        spatialGrid->addEntityToCell(e);
        return e;
    }
    // The player, with the camera held still at (camX, camY) afterwards.
    GF_Entity* placePlayer(double x, double y, double angle = 0) {
        GF_Entity* player = place(kEntityZuzevir, x, y, angle);
        clearCameraTarget();
        cameraX = 0;
        cameraY = 0;
        return player;
    }

    // The mouse over a world point (the camera stays where it is).
    static void mouseAt(double worldX, double worldY) {
        MouseState.x = int32_t(worldX - cameraX);
        MouseState.y = int32_t(worldY - cameraY);
    }

    // One frame of the world as the game state runs it, with the primary button's state for this frame.
    void frame() {
        spatialGrid->setGridView(cameraX, cameraY);
        spatialGrid->updateGridEntities();
        spatialGrid->terrainPassGridEntities();
        spatialGrid->maintainGrid();
        for (GF_Entity* e : spatialGrid->pending()) spawned[e->type]++;
        spatialGrid->flushPendingEntities();
        spatialGrid->collideGridEntities();
    }
    void frames(int count, bool fireHeld = false) {
        for (int i = 0; i < count; i++) {
            MouseState.leftBefore = MouseState.leftNow;
            MouseState.leftNow = fireHeld;
            frame();
        }
    }
    void release() { frames(1, false); }

    // Every entity of the type, filed or pending.
    std::vector<GF_Entity*> ofType(int type) const {
        std::vector<GF_Entity*> found;
        for (int row = 0; row < spatialGrid->rows(); row++)
            for (int col = 0; col < spatialGrid->cols(); col++)
                for (GF_Entity* e : spatialGrid->cell(col, row))
                    if (e->type == type) found.push_back(e);
        for (GF_Entity* e : spatialGrid->pending())
            if (e->type == type) found.push_back(e);
        return found;
    }

    std::map<int, int> spawned; // entities made during play, by type, since the test began

    static void setWall(int col, int row) { tileMap.collisionGrid.set(col, row, kShapeFull); }
    static void setAir(int col, int row) { tileMap.substanceGrid.set(col, row, kSubstanceAir); }
};
