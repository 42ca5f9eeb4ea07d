// The enemies in a small world: sight and memory of the player, the patrol, chase, search cycle and firing
// of the sight-driven fish, the turret's barrel limits, the drone's box and rate, the bird's bombing run, the
// mine's light, the eel's waking and zap, the missile's homing cone and the Robo Shark's passes and bite.
#include "BehaviourWorld.h"

#include "AngleTools.h"
#include "GF_AIEel.h"
#include "GF_AIFixedPatterns.h"
#include "GF_AIRoboShark.h"
#include "GF_AISightDriven.h"
#include "GF_AITorpedo1.h"
#include "GF_AITurret.h"
#include "GF_EntityKinds.h"
#include "SpriteAnimation.h"

#include <cmath>

namespace {

double at(double angle, double distance, double& outY, double fromX, double fromY) {
    outY = fromY - distance * std::sin(angle / kDegreesPerRadian);
    return fromX + distance * std::cos(angle / kDegreesPerRadian);
}

} // namespace

class Enemies : public BehaviourWorld {
protected:
    void SetUp() override {
        BehaviourWorld::SetUp();
        player = placePlayer(300, 400);
        mouseAt(800, 400);
    }
    // Holds the player still where the test put it (its own control would swim toward the mouse).
    void holdPlayer(double x, double y) {
        player->setPosition(x, y);
        player->vx = player->vy = 0;
    }
    void steps(int count, double px, double py) {
        for (int i = 0; i < count; i++) {
            holdPlayer(px, py);
            frame();
        }
    }
    GF_Entity* player = nullptr;
};

TEST_F(Enemies, TheSensorSeesWithinItsRangeAndConeAndNotThroughWalls) {
    struct Case {
        double distance, bearing; // from the fish, relative to its facing 0
        bool cloaked, wall;
        bool sees;
    };
    const Case cases[] = {
        {500, 0, false, false, true},  {1990, 30, false, false, true}, {2010, 0, false, false, false},
        {500, 84, false, false, true}, {500, 86, false, false, false}, {320, 0, true, false, true},
        {340, 0, true, false, false},  {500, 0, false, true, false},
    };
    GF_Entity* fish = place(kEntityEvilZuzevir, 2200, 2200, 0);
    auto* ai = dynamic_cast<GF_AIEvilZuzevir*>(fish->behaviour);
    ASSERT_NE(ai, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.distance + c.bearing);
        setCheatOn(kCheatCloakedRadudod, c.cloaked);
        tileMap.collisionGrid.set(int(2450 / 64), int(2200 / 64), c.wall ? kShapeFull : kShapeNone);
        double py;
        const double px = at(c.bearing, c.distance, py, fish->x, fish->y);
        holdPlayer(px, py);
        EXPECT_EQ(ai->sensor.canSeePlayer(), c.sees);
    }
}

TEST_F(Enemies, AfterLosingSightTheSensorExtrapolatesForASecondAndThenRemembers) {
    GF_Entity* fish = place(kEntityLaserFish, 200, 200, 0);
    PlayerSensor sensor(fish, 1000, 55);
    player->setPosition(600, 200);
    player->vx = 128, player->vy = 0;
    sensor.update();
    EXPECT_TRUE(sensor.seesPlayer);
    player->setPosition(200, 900); // out of the cone
    for (int i = 0; i < 32; i++) sensor.update();
    EXPECT_FALSE(sensor.seesPlayer);
    EXPECT_NEAR(sensor.lastKnownX, 600 + 128 * 0.5, 1e-9);
    for (int i = 0; i < 64; i++) sensor.update();
    EXPECT_NEAR(sensor.lastKnownX, 600 + 128 * (63.0 / 64), 1e-9) << "advanced only while below the limit";
    EXPECT_NEAR(sensor.timeSinceContact, 1.5, 1e-9);

    setWall(12, 3); // x 768 .. 832: extrapolating into a wall stops at its face
    sensor.timeSinceContact = 0;
    for (int i = 0; i < 40; i++) sensor.update();
    EXPECT_LE(sensor.lastKnownX, 768);
    EXPECT_GT(sensor.lastKnownX, 760);
}

TEST_F(Enemies, TheMissileFishPatrolsChasesFiresAndSearches) {
    GF_Entity* fish = place(kEntityLaserFish, 500, 600, 0);
    auto* ai = dynamic_cast<GF_AILaserFish*>(fish->behaviour);
    ASSERT_NE(ai, nullptr);
    EXPECT_EQ(ai->pathX[0], 400);
    EXPECT_EQ(ai->pathX[1], 600) << "all Vars 0: the spawn point -100 and +100 in x";

    steps(64, 300, 1500); // far below and out of range
    EXPECT_EQ(ai->mode, kSightPatrol);

    // In front: the chase, and a missile once the facing is within 15 degrees and 2 s have passed.
    int missiles = 0;
    double firstShotTime = -1;
    for (int i = 0; i < 64 * 4 && missiles == 0; i++) {
        steps(1, fish->x + 600, fish->y);
        missiles = int(ofType(kEntityMissile1).size());
        if (missiles) firstShotTime = (i + 1) / 64.0;
    }
    EXPECT_EQ(ai->mode, kSightChase);
    ASSERT_EQ(missiles, 1);
    EXPECT_GT(firstShotTime + 1.0, 2.0) << "the fire clock has run since the fish was made";
    const GF_Entity* missile = ofType(kEntityMissile1)[0];
    EXPECT_NEAR(angleDifference(missile->angle, fish->angle), 0, 15.5);

    // Out of sight: the chase goes on for 3 s, then the search.
    steps(64 * 2, fish->x, fish->y + 1500);
    EXPECT_EQ(ai->mode, kSightChase);
    steps(64 * 2, fish->x, fish->y + 1500);
    EXPECT_EQ(ai->mode, kSightSearch);
    steps(8, fish->x, fish->y + 1500);
    EXPECT_TRUE(ai->search.active);
    EXPECT_LE(std::fabs(ai->search.x - fish->x), 520);
}

TEST_F(Enemies, AShooterInSightBacksOffWithinItsDistanceAndTheTurtleRamsOn) {
    struct Case {
        int type;
        double distance;
        bool pushesAway;
    };
    const Case cases[] = {{kEntityEvilZuzevir, 150, true},
                          {kEntityEvilZuzevir, 400, false},
                          {kEntityLaserFish, 200, true},
                          {kEntityTntTurtle, 150, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type * 1000 + c.distance);
        GF_Entity* fish = place(c.type, 800, 800, 0);
        holdPlayer(800 + c.distance, 800);
        fish->forceX = fish->forceY = fish->torque = 0;
        fish->behaviour->update();
        EXPECT_EQ(fish->forceX < 0, c.pushesAway);
        fish->removed = 1;
        frame();
    }
}

TEST_F(Enemies, AHitMakesAnUnseeingEnemyLookTowardTheShot) {
    GF_Entity* fish = place(kEntityEvilZuzevir, 800, 800, 0);
    auto* ai = dynamic_cast<GF_AIEvilZuzevir*>(fish->behaviour);
    ai->onHit(90);
    EXPECT_TRUE(ai->sensor.hadContact);
    EXPECT_NEAR(ai->sensor.lastKnownX, 800, 1e-9);
    EXPECT_NEAR(ai->sensor.lastKnownY, 600, 1e-9);
    EXPECT_EQ(ai->hurtSoundClock, 0);
}

TEST_F(Enemies, UnderEnemiesRunAwayTheTargetIsMirroredThroughTheEnemy) {
    GF_Entity* fish = place(kEntityTntTurtle, 800, 800, 0);
    auto* ai = dynamic_cast<GF_AITntTurtle*>(fish->behaviour);
    holdPlayer(1000, 850);
    ai->sensor.update();
    ASSERT_TRUE(ai->sensor.seesPlayer);
    double tx, ty;
    ai->sensor.getTargetPoint(tx, ty);
    EXPECT_EQ(tx, 1000);
    setCheatOn(kCheatEnemiesRunAway, true);
    ai->sensor.getTargetPoint(tx, ty);
    EXPECT_EQ(tx, 600);
    EXPECT_EQ(ty, 750);
}

TEST_F(Enemies, TheTurretBarrelNeverLeavesNinetyDegreesOfTheBodyAndTracksThePlayerInSight) {
    GF_Entity* body = place(kEntityTurret, 800, 800, 90);
    auto* turret = dynamic_cast<GF_EntityTurret*>(body);
    auto* ai = dynamic_cast<GF_AITurret*>(body->behaviour);
    ASSERT_NE(ai, nullptr);
    double widest = 0;
    for (int i = 0; i < 64 * 20; i++) {
        steps(1, 800, 1700); // behind the turret: never seen
        widest = std::max(widest, std::fabs(angleDifference(turret->barrelAngle, body->angle)));
    }
    EXPECT_LE(widest, 90);
    EXPECT_GT(widest, 30) << "the sweep moves";
    EXPECT_EQ(ai->mode, 0);
    EXPECT_EQ(spawned[kEntityTurretLaser], 0);

    double py;
    const double px = at(135, 400, py, 800, 800);
    steps(64 * 3, px, py);
    EXPECT_EQ(ai->mode, 1);
    EXPECT_NEAR(angleDifference(turret->barrelAngle, 135), 0, 10);
    EXPECT_GE(spawned[kEntityTurretLaser], 2);
    EXPECT_LE(spawned[kEntityTurretLaser], 3) << "at most one a second";
}

TEST_F(Enemies, ADroneWithoutValuesStrafesInASmallBoxAndFiresEveryThreeQuartersOfASecond) {
    GF_Entity* drone = place(kEntityDrone, 900, 700, 180);
    auto* ai = dynamic_cast<GF_AIDrone*>(drone->behaviour);
    ASSERT_NE(ai, nullptr);
    EXPECT_EQ(ai->travel, 25);
    EXPECT_EQ(ai->fireInterval, 0.75);
    double farthest = 0;
    int flips = 0, side = ai->side;
    for (int i = 0; i < 64 * 3; i++) {
        steps(1, 300, 1500);
        farthest = std::max(farthest, std::fabs(drone->y - 700));
        if (ai->side != side) flips++, side = ai->side;
    }
    EXPECT_EQ(spawned[kEntityTurretLaser], 3);
    EXPECT_GE(flips, 2) << "it turns back at the edges of its box";
    EXPECT_LT(farthest, 60);
    EXPECT_NEAR(drone->x, 900, 1e-6) << "strafing only across its facing";
}

TEST_F(Enemies, TheBirdFliesToItsTurningPointAndBackDroppingABombEachSecond) {
    GF_Entity* bird = place(kEntityBird, 300, 200, 0, EntityVars{600});
    setAir(4, 3);
    for (int col = 0; col < 20; col++)
        for (int row = 0; row < 6; row++) setAir(col, row);
    auto* ai = dynamic_cast<GF_AIBird*>(bird->behaviour);
    double rightmost = 0;
    bool turnedBack = false;
    for (int i = 0; i < 64 * 8; i++) {
        steps(1, 300, 1500);
        rightmost = std::max(rightmost, bird->x);
        if (!ai->flyingRight) turnedBack = true;
    }
    EXPECT_TRUE(turnedBack);
    EXPECT_GE(rightmost, 600);
    EXPECT_EQ(spawned[kEntityBomb], 7) << "one each time the clock passes 1 s";
}

// A path end at or left of the spawn (the editor's Var 1 of 0) gives the bird its default run to the right
// and back, not a hover on the spot.
TEST_F(Enemies, ABirdWithoutAPathEndRightOfItFliesItsDefaultRun) {
    for (int col = 0; col < 40; col++)
        for (int row = 0; row < 6; row++) setAir(col, row);
    for (int32_t pathEnd : {0, 300}) {
        SCOPED_TRACE(pathEnd);
        GF_Entity* bird = place(kEntityBird, 300, 200, 0, EntityVars{pathEnd});
        auto* ai = dynamic_cast<GF_AIBird*>(bird->behaviour);
        ASSERT_NE(ai, nullptr);
        EXPECT_EQ(ai->pathX2, 300 + kBirdDefaultRun);
        double rightmost = 0;
        int turns = 0;
        uint8_t heading = ai->flyingRight;
        for (int i = 0; i < 64 * 12; i++) {
            steps(1, 300, 1500);
            rightmost = std::max(rightmost, bird->x);
            if (ai->flyingRight != heading) turns++, heading = ai->flyingRight;
        }
        EXPECT_GE(rightmost, 300 + kBirdDefaultRun);
        EXPECT_GE(turns, 2) << "out to the end of its run and back to its spawn";
        EXPECT_LE(turns, 4);
        bird->removed = 1;
        frame();
    }
}

TEST_F(Enemies, TheMineShowsWhetherThePlayerIsNearAndWhetherItIsArmoured) {
    struct Case {
        int32_t armoured;
        double distance;
        int sequence;
    };
    const Case cases[] = {{1, 400, 0}, {1, 200, 1}, {0, 400, 2}, {0, 200, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sequence);
        GF_Entity* mine = place(kEntityMine, 800, 800, 0, EntityVars{c.armoured});
        holdPlayer(800 + c.distance, 800);
        mine->behaviour->update();
        EXPECT_EQ(mine->animation->currentSequenceIndex(), c.sequence);
        mine->removed = 1;
        frame();
    }
}

TEST_F(Enemies, AnEelFarFromThePlayerNeverWakesButZapsOnceThePlayerComesClose) {
    GF_Entity* eel = place(kEntityEel, 800, 800, 0);
    auto* body = dynamic_cast<GF_EntityEel*>(eel);
    auto* ai = dynamic_cast<GF_AIEel*>(eel->behaviour);
    ASSERT_NE(ai, nullptr);
    steps(64 * 3, 1200, 800); // in its cone and sight, 400 away
    EXPECT_EQ(ai->mode, kSightPatrol);
    EXPECT_FALSE(ai->sensor.hadContact);
    EXPECT_FALSE(body->sparking);

    const double health = player->health;
    steps(2, eel->x + 150, eel->y);
    EXPECT_EQ(ai->mode, kSightChase);
    EXPECT_TRUE(body->sparking);
    EXPECT_TRUE(body->zapping);
    EXPECT_LT(player->health, health);
    EXPECT_NEAR(health - player->health, 200.0 / 64, 0.01) << "one frame of 200 per second";
}

TEST_F(Enemies, TheMissileHomesOnlyOnAPlayerInItsFrontCone) {
    struct Case {
        double bearing, distance;
        bool turns;
    };
    const Case cases[] = {{30, 500, true}, {60, 500, false}, {30, 900, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bearing);
        GF_Entity* missile = place(kEntityMissile1, 800, 800, 0);
        double py;
        holdPlayer(at(c.bearing, c.distance, py, 800, 800), 0);
        holdPlayer(player->x, py);
        missile->forceX = missile->forceY = missile->torque = 0;
        missile->angularVelocity = 1;
        missile->behaviour->update();
        EXPECT_EQ(missile->torque != 0, c.turns);
        EXPECT_NEAR(std::hypot(missile->forceX, missile->forceY), 1000, 1e-6);
        missile->removed = 1;
        frame();
    }
}

TEST_F(Enemies, ATorpedoSteersTowardItsTarget) {
    GF_Entity* torpedo = place(kEntityTorpedo1, 500, 500, 0);
    GF_Entity* mine = place(kEntityMine, 700, 300);
    auto* ai = dynamic_cast<GF_AITorpedo1*>(torpedo->behaviour);
    ai->target = mine;
    torpedo->behaviour->update();
    EXPECT_NEAR(torpedo->angle, 400.0 / 64, 1e-9) << "at most 400 degrees per second toward it";
}

TEST_F(Enemies, TheRoboSharkWaitsBesideTheViewThenPassesAlternatingSides) {
    GF_Entity* shark = place(kEntityRoboShark, 500, 400, 0, EntityVars{2, 0});
    auto* ai = dynamic_cast<GF_AIRoboShark*>(shark->behaviour);
    ASSERT_NE(ai, nullptr);
    EXPECT_EQ(ai->state, kSharkWaitRight);
    steps(1, 400, 300);
    EXPECT_TRUE(shark->intangible);
    EXPECT_GT(shark->x, 400 + 480) << "held beyond the inner box on the right";
    EXPECT_EQ(shark->y, 300);

    int passes = 0;
    int lastState = ai->state;
    std::vector<int> passStates;
    for (int i = 0; i < 64 * 12; i++) {
        steps(1, 400, 300);
        if (ai->state != lastState && (ai->state == kSharkPassLeft || ai->state == kSharkPassRight)) {
            passes++;
            passStates.push_back(ai->state);
            EXPECT_FALSE(shark->intangible);
        }
        lastState = ai->state;
    }
    ASSERT_GE(passes, 2);
    EXPECT_EQ(passStates[0], kSharkPassLeft);
    for (size_t i = 1; i < passStates.size(); i++) EXPECT_NE(passStates[i], passStates[i - 1]);
}

// A shark placed outside the first view keeps the side its Start On Left gives its first pass.
TEST_F(Enemies, ARoboSharkPlacedOutOfViewStartsOnTheSideItWasPlacedFor) {
    struct Case {
        int32_t startOnLeft;
        int firstPass;
    };
    for (const Case c : {Case{1, kSharkPassRight}, Case{0, kSharkPassLeft}}) {
        SCOPED_TRACE(c.startOnLeft);
        GF_Entity* shark = place(kEntityRoboShark, 1200, 1000, 0, EntityVars{1, c.startOnLeft});
        auto* ai = dynamic_cast<GF_AIRoboShark*>(shark->behaviour);
        ASSERT_NE(ai, nullptr);
        steps(1, 400, 300);
        EXPECT_LT(std::fabs(shark->y - 300), 1) << "its first update took it out of its place to wait";
        int first = -1;
        for (int i = 0; i < 64 * 3 && first < 0; i++) {
            steps(1, 400, 300);
            if (ai->state == kSharkPassLeft || ai->state == kSharkPassRight) first = ai->state;
        }
        EXPECT_EQ(first, c.firstPass);
        shark->removed = 1;
        frame();
    }
}

// With the view at the level's left or right edge the inner box reaches past it; a pass from that side still
// starts inside the level and crosses the screen.
TEST_F(Enemies, ARoboSharkPassesAcrossAViewAtTheLevelsEdge) {
    struct Case {
        const char* edge;
        double camera;
        int32_t startOnLeft;
    };
    const double rightmost = tileMap.levelWidth - kGameWidth;
    for (const Case c : {Case{"left", 0, 1}, Case{"right", rightmost, 0}}) {
        SCOPED_TRACE(c.edge);
        cameraX = c.camera;
        cameraY = 1000;
        // The player stands near the far side, out of the jaws' reach until the shark has crossed the middle.
        const double playerX = c.startOnLeft ? c.camera + 750 : c.camera + 50, playerY = 1300;
        GF_Entity* shark = place(kEntityRoboShark, c.camera + 400, 1300, 0, EntityVars{0, c.startOnLeft});
        auto* ai = dynamic_cast<GF_AIRoboShark*>(shark->behaviour);
        // No wait: the first pass starts on the first update; followed until it ends.
        steps(1, playerX, playerY);
        ASSERT_TRUE(ai->state == kSharkPassLeft || ai->state == kSharkPassRight);
        const double startX = shark->x;
        double farthest = 0;
        for (int i = 0; i < 64 * 3 && (ai->state == kSharkPassLeft || ai->state == kSharkPassRight); i++) {
            farthest = std::max(farthest, std::fabs(shark->x - startX));
            steps(1, playerX, playerY);
        }
        EXPECT_GT(startX, 0);
        EXPECT_LT(startX, tileMap.levelWidth);
        EXPECT_GT(farthest, 400) << "it swam across the middle of the screen";
        shark->removed = 1;
        frame();
    }
}

TEST_F(Enemies, TheRoboSharkBitesOnceATenthOfASecondAfterItsJawsComeWithinReach) {
    struct Case {
        double belowPlayer; // where the shark passes, below the player's centre
        double bite;
    };
    for (const Case& c : {Case{0, 300}, Case{200, 0}}) {
        SCOPED_TRACE(c.belowPlayer);
        GF_Entity* shark = place(kEntityRoboShark, 500, 400, 0, EntityVars{0, 0}); // no wait between passes
        auto* ai = dynamic_cast<GF_AIRoboShark*>(shark->behaviour);
        steps(1, 400, 300);
        ASSERT_EQ(ai->state, kSharkPassLeft);
        // Its jaws (the centre, without pictures) 40 px right of the player, passing left.
        shark->setPosition(440, 300 + c.belowPlayer);
        const double health = player->health;
        steps(1, 400, 300);
        EXPECT_TRUE(ai->biting);
        EXPECT_EQ(shark->animation->currentSequenceIndex(), 2) << "the bite";
        steps(6, 400, 300); // 6/64 s: not yet a tenth of a second
        EXPECT_EQ(player->health, health);
        steps(1, 400, 300);
        EXPECT_EQ(player->health, health - c.bite);
        steps(24, 400, 300); // 31/64 s after the bite began
        EXPECT_EQ(player->health, health - c.bite) << "one bite a pass";
        EXPECT_EQ(ai->state, kSharkPassLeft);
        steps(1, 400, 300); // half a second: the jaws let go and the pass ends
        EXPECT_EQ(shark->animation->currentSequenceIndex(), 3);
        EXPECT_EQ(ai->state, kSharkWaitLeft);
        EXPECT_FALSE(ai->biting);
        shark->removed = 1;
        player->health = player->maxHealth;
        frame();
    }
}

TEST(WanderHelper, ValuesStayWithinOneAndStopAtTheBounds) {
    frameTime = 1.0 / 64;
    kSrand(3);
    WanderHelper wander;
    for (int i = 0; i < 5000; i++) {
        wander.update();
        ASSERT_LE(std::fabs(wander.a), 1);
        ASSERT_LE(std::fabs(wander.b), 1);
        if (std::fabs(wander.a) == 1) {
            ASSERT_EQ(wander.u, 0);
        }
    }
}
