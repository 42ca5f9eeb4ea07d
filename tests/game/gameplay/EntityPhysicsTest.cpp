// The entity frame step in water and air, steering, flips, damage, death, lifetime and contacts.
#include "EntityWorld.h"

#include "AngleTools.h"
#include "CheatList.h"
#include "EntityFactory.h"
#include "EntityType.h"
#include "GF_AI.h"
#include "GF_EntityKinds.h"
#include "SpriteAnimation.h"

#include <cmath>
#include <memory>

namespace {

constexpr double kDt = 1.0 / 64;

// An entity of the kind with a behaviour that does nothing, so that only the base step moves it.
std::unique_ptr<GF_Entity> make(int type, double x = 1000, double y = 1000, double vx = 0, double vy = 0,
                                double rotation = 0) {
    std::unique_ptr<GF_Entity> e(createEntity(type, int32_t(x), int32_t(y), EntityVars{}, vx, vy, rotation));
    delete e->behaviour;
    e->behaviour = new GF_AINone(e.get());
    return e;
}

struct HitLog : GF_AI {
    using GF_AI::GF_AI;
    void update() override {}
    void onHit(double angle) override { angles.push_back(angle); }
    std::vector<double> angles;
};

// Steers its owner toward a fixed angle by torque each frame, as the behaviours do.
struct SteerTo : GF_AI {
    SteerTo(GF_Entity* owner, double target, double torque) : GF_AI(owner), target(target), torque(torque) {}
    void update() override { owner->turnToward(target, torque); }
    double target, torque;
};

} // namespace

using EntityPhysicsTest = EntityWorld;

TEST_F(EntityPhysicsTest, GravityActsInAirAndBuoyancyInWater) {
    auto fish = make(kEntityLaserFish); // no buoyancy: at rest in water it stays at rest
    fish->update();
    EXPECT_DOUBLE_EQ(fish->vy, 0);
    auto bomb = make(kEntityBomb); // buoyancy 100 sinks it
    bomb->update();
    EXPECT_DOUBLE_EQ(bomb->vy, 100 * kDt);
    setAir(1000 / 64, 500 / 64);
    auto falling = make(kEntityLaserFish, 1000, 500);
    falling->update();
    EXPECT_EQ(falling->medium, kSubstanceAir);
    EXPECT_DOUBLE_EQ(falling->vy, 800 * kDt);
    EXPECT_DOUBLE_EQ(falling->y, 500 + 800 * kDt * kDt);
}

TEST_F(EntityPhysicsTest, DragDependsOnMediumAndOnMotionAcrossTheFacing) {
    struct Case {
        double vx, vy, angle;
        bool air;
        double coefficient;
    } cases[] = {
        {100, 0, 0, false, 0.15},  // along the facing, water
        {-100, 0, 0, false, 0.15}, // against the facing counts as along it
        {0, -100, 0, false, 0.4},  // across
        {100, 0, 0, true, 0.15},   // air: a tenth of the water's
    };
    for (const Case& c : cases) {
        auto player = make(kEntityZuzevir, 1000, c.air ? 200 : 1000, c.vx, c.vy, c.angle);
        if (c.air) setAir(1000 / 64, 200 / 64);
        const double speed = std::hypot(c.vx, c.vy);
        const double drag = c.coefficient * (c.air ? 0.001 : 0.01) * speed * speed;
        player->update();
        EXPECT_NEAR(std::hypot(player->vx, player->vy - (c.air ? 800 * kDt : 0)), speed - drag * kDt, 1e-9)
            << c.vx << " " << c.vy << " air " << c.air;
    }
}

TEST_F(EntityPhysicsTest, SpeedIsHeldAt2000OnEachAxis) {
    auto fish = make(kEntityLaserFish, 1000, 1000, 3000, -3000);
    fish->dragAlong = fish->dragAcross = 0;
    fish->update();
    EXPECT_DOUBLE_EQ(fish->vx, 2000);
    EXPECT_DOUBLE_EQ(fish->vy, -2000);
}

TEST_F(EntityPhysicsTest, ForcesMoveOnlyDynamicKinds) {
    auto laser = make(kEntityLaser1, 1000, 1000, 300, 0);
    setAir(1000 / 64, 1000 / 64);
    for (int i = 0; i < 64; i++) laser->update();
    EXPECT_DOUBLE_EQ(laser->vx, 300); // not dynamic: no gravity, no drag
    EXPECT_DOUBLE_EQ(laser->vy, 0);
    EXPECT_NEAR(laser->x, 1300, 1e-9);
}

TEST_F(EntityPhysicsTest, ALargeTurnReversesAtOnce) {
    auto player = make(kEntityZuzevir);
    ASSERT_EQ(player->angle, 0);
    player->turnToward(150, 100);
    EXPECT_DOUBLE_EQ(player->angle, 180);
    EXPECT_TRUE(player->mirrored);
    EXPECT_TRUE(player->reversing);
    EXPECT_EQ(player->animation->currentSequenceIndex(), 4);
    // From rest the first push goes the negative way.
    EXPECT_DOUBLE_EQ(player->torque, -100);
}

TEST_F(EntityPhysicsTest, TorqueSteeringReachesTheTargetAndSnaps) {
    auto fish = make(kEntityLaserFish);
    delete fish->behaviour;
    fish->behaviour = new SteerTo(fish.get(), 60, 2000);
    int frames = 0;
    for (; frames < 64 * 5 && std::fabs(fish->angle - 60) > 1e-6; frames++) fish->update();
    EXPECT_LT(frames, 64 * 5);
    // Snapped: what is left is the angular drag of the frame it snapped in.
    EXPECT_NEAR(fish->angularVelocity, 0, 1e-3);
    for (int i = 0; i < 64; i++) fish->update();
    EXPECT_NEAR(fish->angle, 60, 1e-6);
}

TEST_F(EntityPhysicsTest, FacingTheOtherWayPlaysTheFlip) {
    auto player = make(kEntityZuzevir, 1000, 1000, 0, 0, 180);
    EXPECT_FALSE(player->mirrored);
    player->update();
    EXPECT_TRUE(player->mirrored);
    EXPECT_TRUE(player->flipping);
    EXPECT_EQ(player->animation->currentSequenceIndex(), 3);
    // The flip ends when its sequence wraps: back to the base sequence.
    for (int i = 0; i < 200 && player->flipping; i++) player->update();
    EXPECT_FALSE(player->flipping);
    EXPECT_EQ(player->animation->currentSequenceIndex(), 1);
}

TEST_F(EntityPhysicsTest, ShotsReportTheirDirectionAndKillWhatTheyKill) {
    auto fish = make(kEntityLaserFish);
    auto* log = new HitLog(fish.get());
    delete fish->behaviour;
    fish->behaviour = log;
    auto laser = make(kEntityLaser1, 900, 1000, 500, 0);
    fish->takeDamage(10, laser.get());
    ASSERT_EQ(log->angles.size(), 1u);
    EXPECT_DOUBLE_EQ(log->angles[0], 180);
    EXPECT_DOUBLE_EQ(fish->health, 90);
    EXPECT_FALSE(fish->dead);
    // A laser is killed by any hit.
    laser->takeDamage(0, fish.get());
    EXPECT_TRUE(laser->dead && laser->removed);
}

TEST_F(EntityPhysicsTest, DeathRulesByKind) {
    // Fish-like: a little below zero dies at once, far below starts the dying fade.
    auto fish = make(kEntityLaserFish);
    fish->takeDamage(105, nullptr);
    EXPECT_TRUE(fish->dead && fish->removed && !fish->dying);
    auto fish2 = make(kEntityLaserFish);
    fish2->takeDamage(120, nullptr);
    EXPECT_TRUE(fish2->dead && fish2->dying && !fish2->removed);
    // The dying fade shrinks the entity and removes it at the end.
    int frames = 0;
    while (!fish2->removed && frames < 100) {
        fish2->update();
        frames++;
    }
    EXPECT_EQ(frames, 10); // 0.15 s: past it on the 10th frame
    // Pickups never die of damage; the hoop takes none.
    auto hoop = make(kEntityHoop);
    hoop->takeDamage(1e9, nullptr);
    EXPECT_FALSE(hoop->dead);
    EXPECT_DOUBLE_EQ(hoop->health, 2000000);
}

TEST_F(EntityPhysicsTest, ALaserFliesItsLifetimeThenFades) {
    auto laser = make(kEntityLaser1, 1000, 1000, 400, 0);
    int frames = 0;
    while (!laser->dead && frames < 200) {
        laser->update();
        frames++;
    }
    EXPECT_EQ(frames, 65); // past 1 s of age
    EXPECT_TRUE(laser->expiring);
    EXPECT_FALSE(laser->removed);
    while (!laser->removed && frames < 200) {
        laser->update();
        frames++;
    }
    EXPECT_EQ(frames, 65 + 20); // past the 0.3 s fade
    EXPECT_LT(laser->alpha, 0.05);
}

// A shot killed by a hit in the frame's contacts is updated once more before the grid deletes it; its
// lifetime running out then must not make it leave the world a second time, nor may a second hit.
TEST_F(EntityPhysicsTest, AnEntityLeavesTheWorldOnlyOnce) {
    struct CountingLaser : GF_Entity {
        CountingLaser() : GF_Entity(entityKind(kEntityLaser1), 1000, 1000, 400, 0, 0) {}
        void onRemoved() override {
            removals++;
            GF_Entity::onRemoved();
        }
        int removals = 0;
    } laser;
    auto body = make(kEntityLaserFish);
    laser.age = laser.lifetime - kDt / 2;
    laser.takeDamage(body->getContactDamage(), body.get());
    ASSERT_TRUE(laser.removed);
    EXPECT_EQ(laser.removals, 1);
    laser.update();
    laser.update();
    EXPECT_EQ(laser.removals, 1);
    EXPECT_FALSE(laser.expiring);

    // A mine in its dying fade that is touched again does not die a second time.
    struct CountingMine : GF_EntityMine {
        CountingMine() : GF_EntityMine(1000, 1000, EntityVars{}, 0, 0, 0) {}
        void onRemoved() override {
            removals++;
            GF_EntityMine::onRemoved();
        }
        void onDeathEffect() override { effects++; }
        int removals = 0, effects = 0;
    } mine;
    mine.health = -1;
    mine.checkDeath();
    ASSERT_TRUE(mine.dying);
    mine.takeDamage(body->getContactDamage(), body.get());
    EXPECT_FALSE(mine.removed);
    EXPECT_EQ(mine.removals, 1);
    EXPECT_EQ(mine.effects, 0);
}

TEST_F(EntityPhysicsTest, ContactPairRules) {
    struct Case {
        int a, b;
        bool touch;
    } cases[] = {
        {kEntityLaserFish, kEntityEel, false},   // two enemies
        {kEntityZuzevir, kEntityGoldFish, true}, // player collects the pickup
        {kEntityLaser1, kEntityGoldFish, false}, // the player's shot does not
        {kEntityLaser1, kEntityLaserFish, true}, // a shot hits an enemy body
        {kEntityMine, kEntityLaserFish, true},   // a mine crosses sides
        {kEntityMine, kEntityZuzevir, true},
        {kEntityTurretLaser, kEntityLaser1, false},  // two shots without a body
        {kEntityZuzevir, kEntityEvilZuzevir, false}, // neither harms
    };
    for (const Case& c : cases) {
        auto a = make(c.a), b = make(c.b);
        EXPECT_EQ(contactFilter(a.get(), b.get()), c.touch) << c.a << " with " << c.b;
    }
    auto a = make(kEntityLaser1), b = make(kEntityLaserFish);
    b->intangible = 1;
    EXPECT_FALSE(contactFilter(a.get(), b.get()));
}

TEST_F(EntityPhysicsTest, TheSecondEntityOfAPairIsResolvedFirst) {
    std::vector<std::string> journal;
    RecordingEntity a(kEntityLaser1, 1000, 1000, &journal, "a");
    RecordingEntity b(kEntityLaserFish, 1000, 1000, &journal, "b");
    ASSERT_TRUE(contactFilter(&a, &b));
    EXPECT_EQ(journal, (std::vector<std::string>{"b contact", "a contact", "b damage", "a damage"}));
    EXPECT_DOUBLE_EQ(b.health, 90);
    EXPECT_EQ(b.hitPulseClock, 0); // the laser's damage starts the fish's pulse
    EXPECT_TRUE(a.removed);
}

TEST_F(EntityPhysicsTest, ADeflectedEnemyLaserChangesSidesWithDifficultyDamage) {
    const double factor[5] = {8, 4, 2, 1, 40};
    for (int difficulty = 0; difficulty < 5; difficulty++) {
        GameOptions.difficulty = difficulty;
        auto sword = make(kEntityLaserSword), laser = make(kEntityEvilLaser1, 1000, 1000, -300, 0, 180);
        resolveContact(sword.get(), laser.get());
        EXPECT_FALSE(laser->enemySide);
        EXPECT_FALSE(laser->dead);
        EXPECT_DOUBLE_EQ(laser->contactDamage, 10 * factor[difficulty]);
        EXPECT_NEAR(std::hypot(laser->vx, laser->vy), 300, 1e-9);
        EXPECT_LT(std::fabs(angleDifference(laser->getVelocityAngle(), 0)), 20.0001);
    }
}

TEST_F(EntityPhysicsTest, ShotsDieAtWallsAndSlidersStopHeadOn) {
    setWall(17, 15); // x 1088 .. 1152, y 960 .. 1024
    std::vector<std::string> journal;
    RecordingEntity shot(kEntityLaser1, 1085, 992, &journal, "shot");
    terrainContact(&shot);
    EXPECT_EQ(journal, (std::vector<std::string>{"shot wall -1"}));
    EXPECT_TRUE(shot.dead && shot.removed);

    auto sword = make(kEntityLaserSword, 1070, 992);
    terrainContact(sword.get());
    EXPECT_FALSE(sword->dead); // it survives walls

    auto fish = make(kEntityLaserFish, 1070, 992, 300, 0);
    terrainContact(fish.get());
    EXPECT_NEAR(fish->vx, 0, 1e-9);
    EXPECT_LT(fish->x, 1070); // pushed out to the left
}

TEST_F(EntityPhysicsTest, AGrazingHitKeepsMostOfItsSpeed) {
    setWall(17, 15);
    auto fish = make(kEntityLaserFish, 1070, 992, 0, 0);
    // 100 degrees from the wall's normal (180, pointing left): mostly along the wall.
    const double heading = 180 + 100;
    fish->vx = std::cos(heading / kDegreesPerRadian) * 300;
    fish->vy = -std::sin(heading / kDegreesPerRadian) * 300;
    terrainContact(fish.get());
    EXPECT_NEAR(fish->vx, 0, 1e-9);
    EXPECT_NEAR(std::fabs(fish->vy), 300 * std::sin(80 / kDegreesPerRadian) * 80 / 90, 1e-9);
}

TEST_F(EntityPhysicsTest, BodiesMadeBigByACheatMeetWallsAtTheirDrawnSize) {
    buildCheatList();
    const struct {
        int cheat, type;
        double x;    // facing right, a wall at column 17 (x 1088 ..): beyond the unscaled radius,
        int wallCol; // within the doubled circles' reach
    } cases[] = {
        {kCheatBigRadudod, kEntityZuzevir, 1000, 17},  // radius 71.6; the nose circle doubled reaches 1112
        {kCheatBigEnemies, kEntityLaserFish, 970, 16}, // radius 45.3; the head circle doubled reaches 1030
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        setCheatOn(c.cheat, true);
        setWall(c.wallCol, 15);
        auto e = make(c.type, c.x, 992);
        e->setPosition(c.x, 992); // the circles at the doubled scale, as after a frame step
        ASSERT_DOUBLE_EQ(e->scale, 2.0);
        ASSERT_LT(e->x + e->radius, c.wallCol * 64.0);
        terrainContact(e.get());
        EXPECT_LT(e->x, c.x) << "pushed out of the wall";
        setCheatOn(c.cheat, false);
        setWall(c.wallCol, 15, kShapeNone);
    }
    freeCheatList();
}

TEST_F(EntityPhysicsTest, AHoopCountsOnceHoweverLongThePlayerStaysInIt) {
    auto player = make(kEntityZuzevir, 1000, 1000);
    auto hoop = make(kEntityHoop, 1000, 1030);
    auto* ring = static_cast<GF_EntityHoop*>(hoop.get());
    hoop->update();
    EXPECT_TRUE(ring->passed);
    EXPECT_EQ(hoop->animation->currentSequenceIndex(), 1);
    hoop->animation->setSequence(0); // would show again if it counted a second time
    for (int i = 0; i < 10; i++) hoop->update();
    EXPECT_EQ(hoop->animation->currentSequenceIndex(), 0);
    // Drawn through the player, listed once per frame.
    hoop->draw(0, 0);
    hoop->draw(0, 0);
    EXPECT_EQ(static_cast<GF_EntityZuzevir*>(player.get())->hoopList.size(), 1u);
    player->draw(0, 0);
    EXPECT_TRUE(static_cast<GF_EntityZuzevir*>(player.get())->hoopList.empty());
    auto far = make(kEntityHoop, 1200, 1000);
    far->update();
    EXPECT_FALSE(static_cast<GF_EntityHoop*>(far.get())->passed);
    playerEntity = nullptr;
}

TEST_F(EntityPhysicsTest, ThePowerupPulsesBetweenItsBounds) {
    auto powerup = make(kEntityPowerup);
    double low = 1, high = 0;
    for (int i = 0; i < 64 * 4; i++) {
        powerup->update();
        if (i > 64) {
            low = std::min(low, powerup->scale);
            high = std::max(high, powerup->scale);
        }
    }
    EXPECT_NEAR(low, 0.8, 0.01);
    EXPECT_NEAR(high, 0.9, 0.01);
}

TEST_F(EntityPhysicsTest, TheSwordCountsItsTouchesAndDealsDamagePerSecond) {
    auto sword = make(kEntityLaserSword);
    auto* blade = static_cast<GF_EntityLaserSword*>(sword.get());
    EXPECT_DOUBLE_EQ(sword->getContactDamage(), 10 * kDt);
    sword->update();
    EXPECT_TRUE(blade->firstTouch);
    sword->onEntityContact(1000, 1000);
    EXPECT_TRUE(blade->touchingNow);
    EXPECT_FALSE(blade->touchedLastFrame); // the first touch plays the hit sound instead
    sword->update();
    EXPECT_FALSE(blade->firstTouch); // still touching: no second first touch
    sword->onEntityContact(1000, 1000);
    EXPECT_TRUE(blade->touchedLastFrame);
}
