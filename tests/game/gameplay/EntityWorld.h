// A small world for entity tests: the default tile map (all water, no walls), the collision shapes, a fixed
// frame time of 1/64 s and a seeded generator; an entity kind that records what happens to it.
#pragma once

#include "CollisionShape.h"
#include "EntityKinds.h"
#include "FrameClock.h"
#include "GF_Entity.h"
#include "GameOptions.h"
#include "KRandom.h"
#include "TerrainCodes.h"
#include "TileMap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class EntityWorld : public ::testing::Test {
protected:
    void SetUp() override {
        createTileMap();
        buildCollisionShapes();
        frameTime = 1.0 / 64;
        kSrand(7);
        GameOptions.difficulty = 1;
    }
    void TearDown() override {
        freeRetiredPlayer();
        freeCollisionShapes();
        releaseTileMap();
    }
    // Makes the 64-pixel cell at the point air (or a wall shape).
    static void setAir(int col, int row) { tileMap.substanceGrid.set(col, row, kSubstanceAir); }
    static void setWall(int col, int row, int shape = kShapeFull) { tileMap.collisionGrid.set(col, row, shape); }
};

// An entity of a kind's values that logs its contacts, damage, draws and deletion into a shared journal.
class RecordingEntity : public GF_Entity {
public:
    RecordingEntity(int type, double x, double y, std::vector<std::string>* journal, std::string name)
        : GF_Entity(entityKind(type), x, y, 0, 0, 0), journal(journal), name(std::move(name)) {}
    ~RecordingEntity() override { note("deleted"); }
    void draw(double, double) override { note("draw"); }
    void onEntityContact(double, double) override { note("contact"); }
    void takeDamage(double amount, GF_Entity* attacker) override {
        note("damage");
        GF_Entity::takeDamage(amount, attacker);
    }
    void onWallImpact(double normal) override { note("wall " + std::to_string(int(normal))); }
    void onFadeEnd() override { note("fade end"); }

    void note(const std::string& what) {
        if (journal) journal->push_back(name + " " + what);
    }
    std::vector<std::string>* journal;
    std::string name;
};
