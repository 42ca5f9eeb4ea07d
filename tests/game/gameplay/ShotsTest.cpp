// Shots and special entities in flight and in contact: a laser's straight flight, lifetime and fade, the
// sword's touch and spark timing, the hoop counting one pass only through its ring, the powerup's pulse, and
// the eel's jitter points and arcs.
#include "BehaviourWorld.h"

#include "BehaviourTools.h"
#include "ElectricArc.h"
#include "GF_EntityKinds.h"
#include "SpriteAnimation.h"

#include <cmath>

class Shots : public BehaviourWorld {};

TEST_F(Shots, ALaserInOpenWaterFliesStraightForItsLifetimeThenFades) {
    spatialGrid->queueEntity(createEntity(kEntityLaser1, 100, 400, EntityVars{}, 500, 0, 0));
    frame();
    auto lasers = ofType(kEntityLaser1);
    ASSERT_EQ(lasers.size(), 1u);
    GF_Entity* laser = lasers[0];
    frames(63);
    EXPECT_FALSE(laser->dead);
    EXPECT_NEAR(laser->y, 400, 1e-9);
    EXPECT_NEAR(laser->vx, 500, 1e-9) << "no drag or buoyancy on a shot";
    frames(2);
    EXPECT_TRUE(laser->dead);
    EXPECT_TRUE(laser->expiring);
    frames(18);
    EXPECT_EQ(ofType(kEntityLaser1).size(), 1u) << "fading for 0.3 s";
    frames(2);
    EXPECT_TRUE(ofType(kEntityLaser1).empty());
}

TEST_F(Shots, AShotOfNoKnownKindIsNotMadeAndNothingJoinsTheGrid) {
    GF_Entity* player = placePlayer(400, 300);
    for (int32_t type : {25, -1, 1000}) EXPECT_EQ(spawnEntity(type, 100, 100, 0, 0, 0), nullptr) << type;
    EXPECT_TRUE(spatialGrid->pending().empty());
    EXPECT_EQ(playerEntity, player) << "the player stays the one placed";
}

TEST_F(Shots, TheSwordSoundsItsFirstTouchOnceAndSparksAtMostEveryTenthOfASecond) {
    GF_Entity* made = createEntity(kEntityLaserSword, 400, 400, EntityVars{}, 0, 0, 0);
    spatialGrid->addEntityToCell(made);
    auto* sword = static_cast<GF_EntityLaserSword*>(made);
    int sparks = 0, firstTouches = 0;
    for (int i = 0; i < 64; i++) {
        sword->update();
        if (sword->firstTouch) firstTouches++;
        sword->onTerrainContact(420, 400);
        if (sword->wallSparkClock == 0) sparks++;
        EXPECT_FALSE(sword->firstTouch);
    }
    EXPECT_EQ(firstTouches, 1) << "a touch held against the wall begins once";
    EXPECT_EQ(sparks, 9); // every 7th frame: the clock must pass 0.1 s
    sword->update();      // a frame without contact ends the touch
    sword->update();
    EXPECT_TRUE(sword->firstTouch);
    EXPECT_NEAR(sword->getContactDamage(), 10.0 / 64, 1e-12);
}

TEST_F(Shots, AHoopCountsOncePassedOnlyThroughItsRing) {
    struct Case {
        double dx, dy;
        bool passes;
    };
    const Case cases[] = {{0, 0, true}, {30, 0, true}, {40, 0, false}, {0, 70, true}, {0, 100, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dx + c.dy);
        GF_Entity* hoop = place(kEntityHoop, 600, 600, 0);
        GF_Entity* player = placePlayer(600 + c.dx, 600 + c.dy);
        hoop->update();
        EXPECT_EQ(static_cast<GF_EntityHoop*>(hoop)->passed != 0, c.passes);
        hoop->removed = 1;
        player->removed = 1;
        frame();
    }

    GF_Entity* hoop = place(kEntityHoop, 600, 600, 90); // turned: the ring lies along x
    GF_Entity* player = placePlayer(660, 600);
    auto* ring = static_cast<GF_EntityHoop*>(hoop);
    for (int i = 0; i < 100; i++) {
        player->setPosition(660, 600);
        hoop->update();
    }
    EXPECT_TRUE(ring->passed);
    ring->drawHalf(true, 0, 0);
    EXPECT_EQ(hoop->animation->currentSequenceIndex(), 1) << "a passed hoop shows its lit ring";

    // Drawing lists the hoop once with the player however often it is drawn before the player is.
    auto* dolphin = static_cast<GF_EntityZuzevir*>(player);
    hoop->draw(0, 0);
    hoop->draw(0, 0);
    EXPECT_EQ(dolphin->hoopList.size(), 1u);
    dolphin->draw(0, 0);
    EXPECT_TRUE(dolphin->hoopList.empty());
}

TEST_F(Shots, APowerupPulsesBetweenFourFifthsAndNineTenthsOfItsSize) {
    GF_Entity* powerup = place(kEntityPowerup, 500, 500, 0, EntityVars{2, 0});
    double lowest = 1, highest = 0;
    for (int i = 0; i < 64 * 4; i++) {
        powerup->update();
        if (i > 64) {
            lowest = std::min(lowest, powerup->scale);
            highest = std::max(highest, powerup->scale);
        }
    }
    EXPECT_NEAR(lowest, 0.8, 0.01);
    EXPECT_NEAR(highest, 0.9, 0.01);
    EXPECT_EQ(powerup->scale, powerup->baseScale * static_cast<GF_EntityPowerup*>(powerup)->pulse);
}

TEST_F(Shots, JitterPointsStayInTheirBoxAndArcsPassThroughThem) {
    JitterPoint point;
    EXPECT_LE(std::fabs(point.offsetX), 10);
    EXPECT_LE(std::fabs(point.velocityX), 400);
    for (int i = 0; i < 2000; i++) {
        point.step(1.0 / 64);
        ASSERT_LE(std::fabs(point.offsetX), 10);
        ASSERT_LE(std::fabs(point.offsetY), 10);
        ASSERT_LE(std::fabs(point.velocityX), 400);
    }

    ElectricArc arc(3);
    arc.set(0, 0, 400, 0, 1.0 / 64);
    double x, y;
    arc.pointAt(2, x, y);
    EXPECT_NEAR(x, 200, 10.0001) << "point k lies k / (n + 1) of the way, plus its jitter";
    arc.nearestPoint(410, 5, x, y);
    EXPECT_EQ(x, 400);
    EXPECT_EQ(y, 0);
    arc.nearestPoint(-30, 0, x, y);
    EXPECT_EQ(x, 0);
}

TEST_F(Shots, TheEelsArcsJoinItsHotspotsAndReachThePlayerWhileItZaps) {
    GF_Entity* player = placePlayer(700, 500);
    GF_Entity* made = place(kEntityEel, 600, 500, 0);
    auto* eel = static_cast<GF_EntityEel*>(made);
    for (int i = 0; i < 2; i++) {
        player->setPosition(700, 500);
        player->vx = player->vy = 0;
        frame();
    }
    ASSERT_TRUE(eel->zapping);
    // The strike runs between the arcs around the eel and those around the player.
    EXPECT_LT(std::hypot(eel->strikeArc.x1 - eel->x, eel->strikeArc.y1 - eel->y), 80);
    EXPECT_LT(std::hypot(eel->strikeArc.x2 - player->x, eel->strikeArc.y2 - player->y), 90);
    EXPECT_GE(eel->intensity, 0.4f);
    EXPECT_LE(eel->intensity, 1.0f);
}
