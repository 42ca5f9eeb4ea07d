// The entity factory and the kinds table: each kind's values, the per-kind constructor rules, the names.
#include "EntityWorld.h"

#include "Camera.h"
#include "CheatList.h"
#include "CollisionCircle.h"
#include "EntityFactory.h"
#include "EntityType.h"
#include "GF_AI.h"
#include "GF_EntityKinds.h"
#include "SpriteAnimation.h"

#include <iterator>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <typeinfo>
#include <vector>

using EntityFactoryTest = EntityWorld;

namespace {

std::unique_ptr<GF_Entity> make(int type, EntityVars vars = {}, double vx = 0, double vy = 0, double r = 0) {
    return std::unique_ptr<GF_Entity>(createEntity(type, 1000, 1000, vars, vx, vy, r));
}

} // namespace

namespace {

struct Circle {
    double x, y, radius;
    bool operator==(const Circle&) const = default;
};

// One row of the kinds' tables: size, behaviour, animation sequences, health and damage, life, physics, flags
// (the tables' letters) and collision circles. The player's health is the Easy difficulty's.
struct KindRow {
    int type;
    EntityVars vars;
    int width, height;
    const char* behaviour;
    int flip, reverse, base;
    double health, damage, lifetime, fade, dying, mass, along, across, angular, inertia, buoyancy;
    const char* flags;
    std::vector<Circle> circles;
};

const std::vector<Circle> kDolphinCircles = {{-48, 5, 9}, {-32, 1, 11}, {-6, 0, 16}, {22, 2, 16}, {44, 5, 12}};
const std::vector<Circle> kLaserCircles = {{0, 0, 2}, {7, 0, 2}, {-7, 0, 2}};

std::vector<Circle> swordCircles() {
    std::vector<Circle> circles = {{-58, 0, 9}};
    for (int x = -56; x <= 56; x += 7) circles.push_back({double(x), 0, 9});
    return circles;
}
std::vector<Circle> hoopCircles() {
    std::vector<Circle> circles;
    for (int y = -60; y <= 60; y += 15) circles.push_back({0, double(y), 15});
    return circles;
}

// clang-format off
const KindRow kKindRows[] = {
    {0, {}, 128, 64, "GF_AIZuzevirManual", 3, 4, 1, 2000, 0, -1, 1, 0.25, 1, 0.15, 0.4, 1, 1, 0, "D R T S B Cp", kDolphinCircles},
    {1, {}, 50, 31, "GF_AINone", -1, -1, 0, 1, 10, 1, 0.3, 1, 1, 1, 1, 1, 1, 0, "T K P H L", kLaserCircles},
    {2, {}, 66, 43, "GF_AINone", -1, -1, 0, 1, 200, 2, 0.5, 1, 1, 1, 1, 1, 1, 0, "T K P H L", {{9, 0, 7}}},
    {3, {}, 64, 64, "GF_AILaserFish", 2, 3, 1, 100, 0, -1, 1, 0.15, 1, 0.2, 0.6, 2, 1, 0, "D R T S E B H N A", {{11, 3, 19}, {-17, 3, 13}}},
    {4, {}, 32, 8, "GF_AIMissile", -1, -1, 0, 1, 50, 4, 0.5, 1, 0.5, 0.1, 1, 1, 0.5, 0, "D R T K P E H L", {{-12, 0, 4}, {0, 0, 4}, {12, 0, 4}}},
    {5, {}, 32, 32, "GF_AIGoldFish", -1, -1, 0, 200000, 0, -1, 1, 0.25, 1, 0.2, 0.4, 2, 1, 0, "K U", {{0, 0, 16}}},
    {6, {}, 64, 64, "GF_AITurret", -1, -1, 0, 100, 1, -1, 1, 0.05, 1, 0.2, 0.4, 2, 1, 0, "S E B N A F", {{0, 0, 35}}},
    {7, {}, 50, 31, "GF_AINone", -1, -1, 0, 1, 50, 1, 0.3, 1, 1, 1, 1, 1, 1, 0, "T K E P H L Df", kLaserCircles},
    {8, {}, 64, 64, "GF_AIMine", -1, -1, 0, 1000000, 300, -1, 1, 0.1, 1, 1, 1, 0, 0.5, 0, "D R T K E B H A X", {{0, 0, 25}}},
    {8, {1}, 64, 64, "GF_AIMine", -1, -1, 0, 1000000, 300, -1, 1, 0.1, 1, 1, 1, 0, 0.5, 0, "D R T Kb E B H X", {{0, 0, 25}}},
    {9, {}, 64, 64, "GF_AIAutoGun", -1, -1, 0, 50, 1, -1, 1, 0.05, 1, 0.2, 0.4, 2, 1, 0, "S E B N A F", {{0, 0, 30}}},
    {10, {}, 128, 64, "GF_AIBird", -1, 1, 0, 50, 0, -1, 1, 0.1, 0.25, 0.2, 1, 2, 1, 0, "D R T S E B H N A", {{22, -8, 10}, {-4, 0, 18}, {-26, -10, 6}}},
    {11, {}, 32, 32, "GF_AINone", -1, -1, 0, 1, 100, 15, 0.5, 1, 0.5, 0.5, 1, 2, 0.5, 100, "D R T K P E H L", {{5, 0, 8}, {-10, 0, 6}}},
    {12, {}, 128, 32, "GF_AIEel", 3, 4, 2, 500, 0, -1, 1, 0.15, 0.5, 0.3, 1, 1, 1, 0, "D R T S E B H N A",
     {{-45, 2, 5}, {-34, 2, 6}, {-21, 2, 7}, {-4, 1, 8}, {12, 1, 8}, {31, 0, 15}, {52, 1, 12}}},
    {13, {}, 64, 64, "GF_AITntTurtle", 2, 3, 1, 30, 150, -1, 1, 0.15, 1, 0.4, 1.2, 2, 1, 0, "D R T S Kb E B H N A", {{-5, -1, 20}, {24, 8, 6}}},
    {14, {}, 128, 64, "GF_AIEvilZuzevir", 3, 4, 1, 1000, 0, -1, 1, 0.1, 1, 0.15, 0.6, 1, 1, 0, "D R T S E B N A", kDolphinCircles},
    {15, {}, 50, 31, "GF_AINone", -1, -1, 0, 1, 10, 1, 0.3, 1, 1, 1, 1, 1, 1, 0, "T K P H L E Df", kLaserCircles},
    {16, {}, 128, 64, "GF_AIRoboShark", -1, -1, 1, 100000, 0, -1, 1, 0.1, 1, 0.3, 1.2, 1, 1, 0, "D R E B F",
     {{47, 10, 18}, {14, 4, 19}, {8, -22, 7}, {-18, 4, 15}, {-42, 5, 13}, {-54, 2, 10}}},
    {17, {}, 64, 64, "GF_AIDrone", -1, -1, 0, 50, 1, -1, 1, 0.05, 1, 2, 2, 2, 1, 0, "D R T S E B N A", {{2, 0, 26}, {2, -25, 7}, {2, 27, 7}}},
    {18, {0}, 64, 64, "GF_AINone", -1, -1, 0, 100000, 0, -1, 1, 0.05, 1, 0.2, 0.4, 2, 1, 0, "S E F", {{0, 0, 30}}},
    {18, {1}, 64, 64, "GF_AINone", -1, -1, 0, 100000, 0, -1, 1, 0.05, 1, 0.2, 0.4, 2, 1, 0, "S E F", {{0, 0, 30}}},
    {18, {2}, 64, 64, "GF_AINone", -1, -1, 0, 100000, 0, -1, 1, 0.05, 1, 0.2, 0.4, 2, 1, 0, "S E F B X", {{-1, -3, 21}}},
    {18, {3}, 64, 64, "GF_AINone", -1, -1, 0, 100000, 0, -1, 1, 0.05, 1, 0.2, 0.4, 2, 1, 0, "S E F B X", {{3, -6, 22}, {-19, -6, 10}}},
    {19, {}, 32, 32, "GF_AITorpedo1", -1, -1, 0, 1, 50, 4, 0.5, 1, 0.5, 0.1, 1, 1, 0.5, 0, "D R T K P H L", {{-12, 0, 6}, {0, 0, 5}, {12, 0, 4}}},
    // The sword let go fades in a quarter of a second.
    {20, {}, 128, 30, "GF_AINone", -1, -1, 0, 100000000, 10, 1, 0.25, 1, 1, 1, 1, 1, 1, 0, "T B H W Dx", swordCircles()},
    {21, {}, 16, 16, "GF_AINone", -1, -1, 0, 1, 10, 1, 0.3, 1, 1, 1, 1, 1, 1, 0, "T K P H L", {{0, 0, 6}}},
    {22, {}, 64, 64, "GF_AINone", -1, -1, 0, 200000, 0, -1, 1, 0.25, 1, 0.2, 0.4, 2, 1, 0, "K U", {{0, 0, 32}}},
    {23, {}, 50, 31, "GF_AINone", -1, -1, 0, 1, 10, 1, 0.3, 1, 1, 1, 1, 1, 1, 0, "T K P H L", {{0, 0, 2}, {7, 0, 6}, {-7, 0, 2}}},
    {24, {}, 32, 160, "GF_AINone", -1, -1, 0, 2000000, 0, -1, 1, 0.25, 1, 0.2, 0.4, 2, 1, 0, "U F", hoopCircles()},
};
// clang-format on

// The flags an entity carries, in the tables' letters (K for killed by both a shot and a body).
std::set<std::string> flagsOf(const GF_Entity& e) {
    std::set<std::string> flags;
    const std::pair<const char*, bool> letters[] = {
        {"D", e.dynamic != 0},       {"R", e.hasDrag != 0},    {"T", e.hitsTerrain != 0},
        {"S", e.slidesOnWalls != 0}, {"P", e.isShot != 0},     {"E", e.enemySide != 0},
        {"B", e.isBody != 0},        {"H", e.harms != 0},      {"L", e.hasLifetime != 0},
        {"N", e.countsAsEnemy != 0}, {"A", e.targetable != 0}, {"F", e.drawnInFront != 0},
        {"X", e.crossesSides != 0},  {"U", e.isPickup != 0},   {"Cp", e.collectsPickups != 0},
        {"Df", e.deflectable != 0},  {"Dx", e.deflects != 0},  {"W", e.survivesWalls != 0},
    };
    for (const auto& [letter, on] : letters)
        if (on) flags.insert(letter);
    if (e.killedByShot && e.killedByBody)
        flags.insert("K");
    else if (e.killedByBody)
        flags.insert("Kb");
    else if (e.killedByShot)
        flags.insert("shot only");
    return flags;
}

std::set<std::string> lettersOf(const char* text) {
    std::istringstream words(text);
    return {std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()};
}

// The class name of the entity's behaviour.
std::string behaviourName(const GF_AI& behaviour) {
    const std::string mangled = typeid(behaviour).name();
    const size_t at = mangled.find("GF_AI");
    return at == std::string::npos ? mangled : mangled.substr(at);
}

} // namespace

TEST_F(EntityFactoryTest, EveryKindTakesEveryValueOfItsRows) {
    for (const KindRow& row : kKindRows) {
        auto e = make(row.type, row.vars);
        SCOPED_TRACE(std::string(entityTypeName(row.type)) + " " + std::to_string(row.type) + " Var 1 " +
                     std::to_string(row.vars[0]));
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->type, row.type);
        EXPECT_EQ(e->width, row.width);
        EXPECT_EQ(e->height, row.height);
        EXPECT_DOUBLE_EQ(e->radius, std::hypot(row.width, row.height) / 2);
        ASSERT_NE(e->behaviour, nullptr);
        EXPECT_EQ(behaviourName(*e->behaviour), row.behaviour);
        EXPECT_EQ(e->flipSequence, row.flip);
        EXPECT_EQ(e->reverseSequence, row.reverse);
        EXPECT_EQ(e->baseSequence, row.base);
        EXPECT_DOUBLE_EQ(e->health, row.health);
        EXPECT_DOUBLE_EQ(e->maxHealth, row.health);
        EXPECT_DOUBLE_EQ(e->contactDamage, row.damage);
        EXPECT_DOUBLE_EQ(e->lifetime, row.lifetime);
        EXPECT_DOUBLE_EQ(e->fadeTime, row.fade);
        EXPECT_DOUBLE_EQ(e->dyingFadeTime, row.dying);
        EXPECT_DOUBLE_EQ(e->mass, row.mass);
        EXPECT_DOUBLE_EQ(e->dragAlong, row.along);
        EXPECT_DOUBLE_EQ(e->dragAcross, row.across);
        EXPECT_DOUBLE_EQ(e->angularDrag, row.angular);
        EXPECT_DOUBLE_EQ(e->inertia, row.inertia);
        EXPECT_DOUBLE_EQ(e->waterBuoyancy, row.buoyancy);
        EXPECT_DOUBLE_EQ(e->airDragFactor, 1);
        EXPECT_DOUBLE_EQ(e->angularVelocity, 0);
        EXPECT_DOUBLE_EQ(e->baseScale, 1);
        EXPECT_DOUBLE_EQ(e->baseAlpha, 1);
        EXPECT_EQ(flagsOf(*e), lettersOf(row.flags));
        std::vector<Circle> circles;
        for (const CollisionCircle* c : e->subCircles) circles.push_back({c->offsetX, c->offsetY, c->radius});
        EXPECT_EQ(circles, row.circles);
    }
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
    // A number outside the table makes nothing and leaves the player as it was; a second player replaces
    // the first.
    for (int type : {25, 99, -1, -3, INT32_MIN}) EXPECT_EQ(make(type), nullptr) << type;
    EXPECT_EQ(playerEntity, nullptr);
    EXPECT_EQ(getCameraTarget(), nullptr);
    auto first = make(kEntityZuzevir);
    auto second = make(kEntityZuzevir);
    EXPECT_EQ(first->type, kEntityZuzevir);
    EXPECT_EQ(playerEntity, second.get());
    EXPECT_EQ(getCameraTarget(), static_cast<const CameraSubject*>(second.get()));
    // The deleted player leaves the camera nothing to follow (a next level may have no player start).
    second.reset();
    EXPECT_EQ(getCameraTarget(), nullptr);
    EXPECT_EQ(playerEntity, nullptr);
}

TEST_F(EntityFactoryTest, PerKindRulesFromTheVars) {
    // "Armored Mine" is a flag: any Var 1 but 0 armours the mine.
    for (int32_t var1 : {1, 2, -1, 100}) {
        auto armoured = make(kEntityMine, {var1});
        EXPECT_FALSE(armoured->killedByShot) << var1;
        EXPECT_TRUE(armoured->killedByBody) << var1;
        EXPECT_FALSE(armoured->targetable) << var1;
        EXPECT_FALSE(armoured->hitPulseEnabled) << var1;
    }
    EXPECT_TRUE(make(kEntityMine)->killedByShot);
    EXPECT_TRUE(make(kEntityMine)->hitPulseEnabled);

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
