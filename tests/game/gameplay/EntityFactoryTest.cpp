// The entity factory and the kinds table: each kind's values, the per-kind constructor rules, the names.
#include "EntityWorld.h"

#include "Camera.h"
#include "CheatList.h"
#include "EntityFactory.h"
#include "EntityType.h"
#include "GF_EntityKinds.h"
#include "SpriteAnimation.h"

#include <memory>

using EntityFactoryTest = EntityWorld;

namespace {

std::unique_ptr<GF_Entity> make(int type, EntityVars vars = {}, double vx = 0, double vy = 0, double r = 0) {
    return std::unique_ptr<GF_Entity>(createEntity(type, 1000, 1000, vars, vx, vy, r));
}

} // namespace

TEST_F(EntityFactoryTest, EachKindTakesItsRow) {
    struct Row {
        int type, width, height;
        double health, damage, lifetime, mass;
        size_t circles;
        bool shot, enemy, body, front, dynamic;
    } rows[] = {
        {kEntityLaser1, 50, 31, 1, 10, 1, 1, 3, true, false, false, false, false},
        {kEntityLaser2, 66, 43, 1, 200, 2, 1, 1, true, false, false, false, false},
        {kEntityLaserFish, 64, 64, 100, 0, -1, 1, 2, false, true, true, false, true},
        {kEntityMissile1, 32, 8, 1, 50, 4, 0.5, 3, true, true, false, false, true},
        {kEntityTurret, 64, 64, 100, 1, -1, 1, 1, false, true, true, true, false},
        {kEntityMine, 64, 64, 1000000, 300, -1, 1, 1, false, true, true, false, true},
        {kEntityBird, 128, 64, 50, 0, -1, 0.25, 3, false, true, true, false, true},
        {kEntityBomb, 32, 32, 1, 100, 15, 0.5, 2, true, true, false, false, true},
        {kEntityEel, 128, 32, 500, 0, -1, 0.5, 7, false, true, true, false, true},
        {kEntityRoboShark, 128, 64, 100000, 0, -1, 1, 6, false, true, true, true, true},
        {kEntityLaserSword, 128, 30, 100000000, 10, 1, 1, 18, false, false, true, false, false},
        {kEntityHoop, 32, 160, 2000000, 0, -1, 1, 9, false, false, false, true, false},
    };
    for (const Row& row : rows) {
        auto e = make(row.type);
        SCOPED_TRACE(entityTypeName(row.type) + std::string(" ") + std::to_string(row.type));
        EXPECT_EQ(e->type, row.type);
        EXPECT_EQ(e->width, row.width);
        EXPECT_EQ(e->height, row.height);
        EXPECT_DOUBLE_EQ(e->radius, std::hypot(row.width, row.height) / 2);
        EXPECT_DOUBLE_EQ(e->health, row.health);
        EXPECT_DOUBLE_EQ(e->contactDamage, row.damage);
        EXPECT_DOUBLE_EQ(e->lifetime, row.lifetime);
        EXPECT_DOUBLE_EQ(e->mass, row.mass);
        EXPECT_EQ(e->subCircles.size(), row.circles);
        EXPECT_EQ(bool(e->isShot), row.shot);
        EXPECT_EQ(bool(e->enemySide), row.enemy);
        EXPECT_EQ(bool(e->isBody), row.body);
        EXPECT_EQ(bool(e->drawnInFront), row.front);
        EXPECT_EQ(bool(e->dynamic), row.dynamic);
        ASSERT_NE(e->behaviour, nullptr);
    }
    EXPECT_EQ(make(kEntityBomb)->waterBuoyancy, 100);
    EXPECT_FALSE(make(kEntityLaserSword)->hasLifetime);
    EXPECT_TRUE(make(kEntityLaserSword)->survivesWalls);
}

TEST_F(EntityFactoryTest, PlayerHealthByDifficultyAndThePlayerPointer) {
    const double health[5] = {4000, 2000, 1000, 500, 110};
    for (int d = 0; d < 5; d++) {
        GameOptions.difficulty = d;
        auto player = make(kEntityZuzevir);
        EXPECT_DOUBLE_EQ(player->health, health[d]);
        EXPECT_EQ(playerEntity, player.get());
        playerEntity = nullptr;
    }
    // Any number outside the table makes the player; a second one replaces the first.
    auto first = make(99);
    auto second = make(-3);
    EXPECT_EQ(first->type, kEntityZuzevir);
    EXPECT_EQ(playerEntity, second.get());
    EXPECT_EQ(getCameraTarget(), static_cast<const CameraSubject*>(second.get()));
    // The deleted player leaves the camera nothing to follow (a next level may have no player start).
    second.reset();
    EXPECT_EQ(getCameraTarget(), nullptr);
    EXPECT_EQ(playerEntity, nullptr);
}

TEST_F(EntityFactoryTest, PerKindRulesFromTheVars) {
    auto armoured = make(kEntityMine, {1});
    EXPECT_FALSE(armoured->killedByShot);
    EXPECT_TRUE(armoured->killedByBody);
    EXPECT_FALSE(armoured->targetable);
    EXPECT_FALSE(armoured->hitPulseEnabled);
    EXPECT_TRUE(make(kEntityMine)->killedByShot);

    auto rock7 = make(kEntityOrnament, {7}), rock3 = make(kEntityOrnament, {3}), plant = make(kEntityOrnament, {1});
    ASSERT_EQ(rock7->subCircles.size(), 2u);
    EXPECT_EQ(rock7->subCircles[0]->radius, rock3->subCircles[0]->radius);
    EXPECT_TRUE(rock7->isBody && rock7->crossesSides);
    EXPECT_FALSE(plant->isBody);
    EXPECT_EQ(plant->subCircles[0]->radius, 30);

    auto powerup = make(kEntityPowerup, {2, 0});
    EXPECT_DOUBLE_EQ(static_cast<GF_EntityPowerup*>(powerup.get())->length, 30);
    EXPECT_DOUBLE_EQ(static_cast<GF_EntityPowerup*>(make(kEntityPowerup, {1, 12}).get())->length, 12);

    auto gold = make(kEntityGoldFish, {}, 100, 50, 90);
    EXPECT_EQ(gold->vx, 0);
    EXPECT_EQ(gold->angle, 0);

    auto laser2 = make(kEntityLaser2, {150});
    EXPECT_DOUBLE_EQ(static_cast<GF_EntityLaser2*>(laser2.get())->charge, 1);
}

TEST_F(EntityFactoryTest, GoldRadudodHealsByDifficulty) {
    const double heal[5] = {2000, 1000, 500, 250, 0};
    for (int d = 0; d < 5; d++) {
        GameOptions.difficulty = d;
        auto player = make(kEntityZuzevir);
        player->health = 10;
        auto gold = make(kEntityGoldFish);
        gold->takeDamage(0, player.get()); // collected: a body kills it at once
        EXPECT_TRUE(gold->removed);
        EXPECT_DOUBLE_EQ(player->health, std::min(10 + heal[d], player->maxHealth));
        playerEntity = nullptr;
    }
}

TEST_F(EntityFactoryTest, EnemyCheatsChangeEnemiesOnly) {
    buildCheatList();
    setCheatOn(kCheatBigEnemies, true);
    setCheatOn(kCheatInvincibleEnemies, true);
    EXPECT_DOUBLE_EQ(make(kEntityDrone)->baseScale, 2.0);
    EXPECT_DOUBLE_EQ(make(kEntityDrone)->health, 1000000);
    EXPECT_DOUBLE_EQ(make(kEntityLaser1)->baseScale, 1.0);
    freeCheatList();
}

TEST_F(EntityFactoryTest, NamesAndVarCaptions) {
    EXPECT_STREQ(entityTypeName(0), "Glimmerfin");
    EXPECT_STREQ(entityTypeName(5), "Gold Radudod");
    EXPECT_STREQ(entityTypeName(1), "invalid");
    EXPECT_STREQ(entityTypeName(25), "invalid");
    EXPECT_STREQ(entityTypeName(-1), "invalid");
    EXPECT_STREQ(entityVarLabel(13, 4), "Path2 Y");
    EXPECT_STREQ(entityVarLabel(13, 5), "Not Used");
    EXPECT_STREQ(entityVarLabel(22, 2), "Length");
    EXPECT_STREQ(entityVarLabel(18, 1), "Plant: 0-1  Rock: 2-3");
    EXPECT_STREQ(entityVarLabel(0, 1), "Not Used");
    EXPECT_STREQ(entityVarLabel(21, 1), "invalid");
    EXPECT_STREQ(entityVarLabel(8, 9), "invalid");
}

TEST_F(EntityFactoryTest, EmitPointsAndTheDolphinsTurningTest) {
    auto gun = make(kEntityAutoGun, {}, 0, 0, 90);
    double x, y;
    gun->getEmitPoint(x, y);
    EXPECT_NEAR(x, 1000, 1e-9);
    EXPECT_NEAR(y, 1000 - 15, 1e-9); // 15 px ahead, up the screen
    auto turret = make(kEntityTurret, {}, 0, 0, 180);
    turret->getEmitPoint(x, y);
    EXPECT_NEAR(x, 1000 - 20, 1e-9);

    auto evil = make(kEntityEvilZuzevir);
    const struct {
        int sequence;
        bool notTurning;
    } cases[] = {{0, true}, {1, false}, {2, false}, {3, true}, {4, true}};
    for (const auto& c : cases) {
        evil->startSequence(c.sequence);
        EXPECT_EQ(evil->isNotTurning(), c.notTurning) << c.sequence;
    }
}
