// The particle pool and its effects with a seeded generator: the pool's limit and reuse, the start of a
// particle and the order of its draws, the bursts' counts, kinds and motions, the splash and ripple, the step
// with its water rules and fade, and the draw through the recording picture.
#include "ParticlePool.h"
#include "ImpactEffects.h"
#include "ParticleEffects.h"
#include "ParticlePresets.h"

#include "../framework/TempUserFolder.h"
#include "HostSystem.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "KRandom.h"
#include "SpriteSheet.h"
#include "SpriteSheetTable.h"
#include "TerrainFixture.h"

#include <cmath>
#include <functional>
#include <map>
#include <vector>

namespace {

class ParticlePoolTest : public TerrainTest {
protected:
    void SetUp() override {
        TerrainTest::SetUp();
        createParticlePool();
        kSrand(1234);
    }
    void TearDown() override {
        destroyParticlePool();
        TerrainTest::TearDown();
    }

    static std::vector<const Particle*> live() {
        std::vector<const Particle*> out;
        for (const Particle* p = particlePool->firstLive(); p; p = p->next) out.push_back(p);
        return out;
    }
    static int countOf(const ParticlePreset& preset) {
        int n = 0;
        for (const Particle* p : live()) n += p->preset == &preset;
        return n;
    }
    static void fill(int n) {
        for (int i = 0; i < n; i++) spawnParticle(0, 0, 0, 0, sparkPreset0);
    }
    // The next n draws of the generator from the given seed.
    static std::vector<double> fractions(uint32_t seed, int n) {
        kSrand(seed);
        std::vector<double> out;
        for (int i = 0; i < n; i++) out.push_back(double(kRand()) / K_RAND_MAX);
        kSrand(seed);
        return out;
    }
};

TEST_F(ParticlePoolTest, FullPoolDropsNewSpawnsAndLeavesTheLiveOnesAlone) {
    fill(ParticlePool::kCapacity);
    EXPECT_EQ(particlePool->liveCount(), 500);
    EXPECT_EQ(particlePool->freeCount(), 0);
    const Particle* first = particlePool->firstLive();
    const double lifetime = first->lifetime;
    explosion(50, 50, 0, 0, 0, 180);
    EXPECT_EQ(particlePool->liveCount(), 500);
    EXPECT_EQ(acquireParticle(), nullptr);
    EXPECT_EQ(particlePool->firstLive(), first);
    EXPECT_EQ(first->lifetime, lifetime);
    EXPECT_EQ(countOf(puffPreset0), 0);
}

TEST_F(ParticlePoolTest, DeadRecordsGoToTheEndOfTheFreeListAndComeBackLast) {
    fill(ParticlePool::kCapacity - 1); // one record stays free
    const Particle* spare = particlePool->firstFree();
    std::vector<const Particle*> before = live();
    // Only the second particle dies in this step.
    const_cast<Particle*>(before[1])->age = 100;
    particlePool->update(1.0 / 64);
    EXPECT_EQ(particlePool->liveCount(), 498);
    EXPECT_EQ(particlePool->firstFree(), spare);
    EXPECT_EQ(spare->next, before[1]);
    EXPECT_EQ(acquireParticle(), spare);
    EXPECT_EQ(acquireParticle(), before[1]);
    EXPECT_EQ(live().back(), before[1]); // acquired records join the end of the live list

    resetParticles();
    EXPECT_EQ(particlePool->liveCount(), 0);
    EXPECT_EQ(particlePool->freeCount(), 500);
}

TEST_F(ParticlePoolTest, SpawnCentresTheParticleAndDrawsLifetimeFadeAndScaleInThatOrder) {
    const auto r = fractions(99, 3);
    spawnParticle(100, 200, 30, -40, sparkPreset2);
    const Particle& p = *particlePool->firstLive();
    EXPECT_DOUBLE_EQ(p.x, 100 - 9.5);
    EXPECT_DOUBLE_EQ(p.y, 200 - 9.5);
    EXPECT_EQ(p.vx, 30);
    EXPECT_EQ(p.vy, -40);
    EXPECT_DOUBLE_EQ(p.lifetime, 0.1 + r[0] * 0.2);
    EXPECT_DOUBLE_EQ(p.fadeStart, 0 + r[1] * 0.05);
    EXPECT_DOUBLE_EQ(p.scale, 0.75 + r[2] * 0.5);
    EXPECT_EQ(p.age, 0);
    EXPECT_EQ(p.dead, 0);
}

TEST_F(ParticlePoolTest, BurstParticleDrawsDirectionThenVerticalThenHorizontalSpeed) {
    const auto r = fractions(5, 6);
    laserSparks(0, 0, 10, 20, /*angle=*/30, /*spread=*/20);
    const Particle& p = *particlePool->firstLive();
    const double theta = (30 - 20 + r[0] * 40) * M_PI / 180;
    const double sY = r[1] * 600, sX = r[2] * 600;
    EXPECT_NEAR(p.vx, 10 + std::cos(theta) * sX, 1e-9);
    EXPECT_NEAR(p.vy, 20 - std::sin(theta) * sY, 1e-9);
    EXPECT_DOUBLE_EQ(p.lifetime, 0.1 + r[3] * 0.2);
}

TEST_F(ParticlePoolTest, SpawnersStartTheirCountsOfEachKindAtTheirSpeeds) {
    struct Case {
        const char* name;
        std::function<void()> spawn;
        std::map<const ParticlePreset*, int> counts;
        double maxSpeed; // the base velocity is (0, 0) here
    };
    const double x = 0, y = 0;
    const std::vector<Case> cases = {
        {"laserSparks", [&] { laserSparks(x, y, 0, 0, 0, 180); }, {{&sparkPreset0, 10}}, 600},
        {"powerLaserSparks", [&] { powerLaserSparks(x, y, 0, 0, 0, 180); }, {{&sparkPreset5, 10}}, 600},
        {"sparksFrame3", [&] { sparksFrame3(x, y, 0, 0, 0, 180); }, {{&sparkPreset3, 10}}, 600},
        {"bulletSparks", [&] { bulletSparks(x, y, 0, 0, 0, 180); }, {{&sparkPreset3, 5}}, 600},
        {"sparksFrame1", [&] { sparksFrame1(x, y, 0, 0, 0, 180); }, {{&sparkPreset1, 10}}, 600},
        {"risingPuffs", [&] { risingPuffs(x, y, 0, 0); }, {{&puffPreset0, 2}}, 100},
        {"explosion", [&] { explosion(x, y, 0, 0, 0, 180); }, {{&puffPreset0, 20}}, 600},
        {"droneExhaust", [&] { droneExhaust(x, y, 0, 0, 0, 180); }, {{&sparkPreset1, 6}, {&sparkPreset3, 2}}, 300},
        {"mineExplosion", [&] { mineExplosion(x, y, 0, 0, 0, 180); }, {{&bigPuffPreset, 10}, {&puffPreset3, 10}}, 600},
        {"chargeTrail", [&] { chargeTrail(7, x, y, 0, 0, 0, 180); }, {{&puffPreset0, 7}}, 600},
        {"bigExplosion", [&] { bigExplosion(x, y, 0, 0, 0, 180); }, {{&puffPreset3, 50}, {&puffPreset0, 20}}, 1200},
        {"debrisBurst", [&] { debrisBurst(x, y, 0, 0, 0, 180); }, {{&puffPreset0, 20}, {&puffPreset3, 20}}, 600},
        {"droneDebris", [&] { droneDebris(x, y, 0, 0, 0, 180); }, {{&puffPreset1, 20}, {&puffPreset0, 20}}, 600},
        {"turtleDebris", [&] { turtleDebris(x, y, 0, 0, 0, 180); }, {{&puffPreset0, 20}, {&puffPreset1, 20}}, 600},
        {"eelDebris", [&] { eelDebris(x, y, 0, 0, 0, 180); }, {{&puffPreset1, 20}, {&puffPreset3, 20}}, 600},
        {"gunDebris",
         [&] { gunDebris(x, y, 0, 0, 0, 180); },
         {{&puffPreset1, 10}, {&bigPuffPreset, 10}, {&puffPreset4, 10}, {&puffPreset3, 10}},
         600},
        {"sparkle4", [&] { sparkle4(x, y, 0, 0, 0, 180); }, {{&glowPreset4, 8}}, 100},
        {"sparkle3", [&] { sparkle3(x, y, 0, 0, 0, 180); }, {{&glowPreset3, 8}}, 100},
        {"sparkle1", [&] { sparkle1(x, y, 0, 0, 0, 180); }, {{&glowPreset1, 8}}, 100},
        {"sparkle5", [&] { sparkle5(x, y, 0, 0, 0, 180); }, {{&glowPreset5, 8}}, 100},
        {"goldSparkle", [&] { goldSparkle(x, y, 0, 0, 0, 180); }, {{&glowPreset4, 5}}, 100},
        {"pickupBurst", [&] { pickupBurst(x, y, 0, 0, 0, 180); }, {{&glowPreset4, 20}, {&puffPreset3, 20}}, 400},
        {"pickupBurst3", [&] { pickupBurst3(x, y, 0, 0, 0, 180); }, {{&glowPreset3, 40}}, 400},
        {"pickupBurst1", [&] { pickupBurst1(x, y, 0, 0, 0, 180); }, {{&glowPreset1, 20}, {&puffPreset3, 20}}, 400},
        {"pickupBurst5", [&] { pickupBurst5(x, y, 0, 0, 0, 180); }, {{&glowPreset5, 40}}, 400},
        {"randomPuffs", [&] { randomPuffs(x, y); }, {{&puffPreset0, 10}}, 200},
        {"missileTrail", [&] { missileTrail(x, y); }, {{&puffPreset0, 1}}, 25 * M_SQRT2},
        {"torpedoTrail", [&] { torpedoTrail(x, y); }, {{&sparkPreset4, 1}}, 25 * M_SQRT2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetParticles();
        c.spawn();
        int total = 0;
        for (const auto& [preset, n] : c.counts) {
            EXPECT_EQ(countOf(*preset), n);
            total += n;
        }
        EXPECT_EQ(particlePool->liveCount(), total);
        // Each axis gets its own speed, so the length lies within sqrt(2) of the range.
        for (const Particle* p : live()) {
            const double v = std::hypot(p->vx, p->vy);
            EXPECT_LE(v, c.maxSpeed * M_SQRT2 + 1e-9);
        }
    }
}

TEST_F(ParticlePoolTest, BurstsThrowAlongTheirAngleWithTheBaseVelocityAdded) {
    // No spread: straight up the screen (90 degrees) and straight right (0 degrees).
    laserSparks(0, 0, 50, 60, /*angle=*/90, /*spread=*/0);
    for (const Particle* p : live()) {
        EXPECT_NEAR(p->vx, 50, 1e-9);
        EXPECT_LE(p->vy, 60);
        EXPECT_GE(p->vy, 60 - 600);
    }
    resetParticles();
    laserSparks(0, 0, 0, 0, /*angle=*/0, /*spread=*/0);
    for (const Particle* p : live()) {
        EXPECT_GE(p->vx, 0);
        EXPECT_NEAR(p->vy, 0, 1e-9);
    }
    resetParticles();
    // The jets of the big explosion go left and right whatever the direction given.
    bigExplosion(0, 0, 0, 0, /*angle=*/90, /*spread=*/0);
    std::vector<const Particle*> ps = live();
    ASSERT_EQ(ps.size(), 70u);
    for (int i = 50; i < 60; i++) EXPECT_LE(ps[i]->vx, -600 * std::cos(5 * M_PI / 180) + 1e-9);
    for (int i = 60; i < 70; i++) EXPECT_GE(ps[i]->vx, 600 * std::cos(5 * M_PI / 180) - 1e-9);
}

TEST_F(ParticlePoolTest, TorpedoExplosionChoosesEachKindByTheDrawAfterTheDirection) {
    kSrand(77);
    int expectedFour = 0;
    for (int i = 0; i < 15; i++) {
        kRand(); // direction
        expectedFour += kRand() % 2 == 0;
        for (int d = 0; d < 5; d++) kRand(); // two speeds and the three of the start
    }
    kSrand(77);
    torpedoExplosion(0, 0, 0, 0, 0, 180);
    EXPECT_EQ(countOf(sparkPreset4), expectedFour);
    EXPECT_EQ(countOf(sparkPreset3), 15 - expectedFour);
}

TEST_F(ParticlePoolTest, SplashEnteringThrowsBubblesForwardAndDropsBackWithARipple) {
    // Radius 40 at speed 650 straight down: n = 4 + 3 = 7 (speed held at 600).
    splash(300, 400, 0, 650, 40);
    EXPECT_EQ(countOf(bubblePreset), 14);
    EXPECT_EQ(countOf(dropPreset), 14);
    EXPECT_EQ(countOf(puffPreset3), 4);
    std::vector<const Particle*> ps = live();
    ASSERT_EQ(ps.size(), 32u);
    for (int i = 0; i < 14; i++) EXPECT_GT(ps[i]->vy, 0) << "bubbles go on downward";
    for (int i = 14; i < 28; i++) EXPECT_LT(ps[i]->vy, 0) << "drops are thrown back up";
    for (int i = 0; i < 28; i++) EXPECT_LE(std::hypot(ps[i]->vx, ps[i]->vy), 600 + 1e-9);
    // The ripple: (0, 0) twice for i = 0, then (100, 0) and (-100, 0).
    EXPECT_EQ(ps[28]->vx, 0);
    EXPECT_EQ(ps[29]->vx, 0);
    EXPECT_EQ(ps[30]->vx, 100);
    EXPECT_EQ(ps[31]->vx, -100);
    for (int i = 28; i < 32; i++) EXPECT_EQ(ps[i]->vy, 0);
}

TEST_F(ParticlePoolTest, SplashLeavingHalvesCountAndSpeed) {
    splash(300, 400, 0, -650, 40);
    EXPECT_EQ(countOf(dropPreset), 6);
    EXPECT_EQ(countOf(bubblePreset), 6);
    EXPECT_EQ(countOf(puffPreset3), 4);
    std::vector<const Particle*> ps = live();
    for (int i = 0; i < 6; i++) EXPECT_LT(ps[i]->vy, 0) << "drops go on upward";
    for (int i = 6; i < 12; i++) EXPECT_GT(ps[i]->vy, 0) << "bubbles go back down";
    for (int i = 0; i < 12; i++) EXPECT_LE(std::hypot(ps[i]->vx, ps[i]->vy), 300 + 1e-9);
}

TEST_F(ParticlePoolTest, SplashCountsAreHeldAtTwentyAndRipplesAtFive) {
    splash(0, 0, 0, 2000, 1000); // 100 + 3 held at 20; ripple 50 held at 5
    EXPECT_EQ(countOf(bubblePreset), 40);
    EXPECT_EQ(countOf(dropPreset), 40);
    EXPECT_EQ(countOf(puffPreset3), 10);
    resetParticles();
    splash(0, 0, 0, 10, 5); // nothing thrown below one particle; no ripple
    EXPECT_EQ(particlePool->liveCount(), 0);
    splash(0, 0, NAN, 100, 40); // a broken velocity throws nothing
    splash(0, 0, 0, 100, INFINITY);
    EXPECT_EQ(particlePool->liveCount(), 0);
}

TEST_F(ParticlePoolTest, StepAcceleratesClampsMovesAndAges) {
    spawnParticle(100, 100, 0, 995, dropPreset); // falls at 1000 px/s², held at 2000
    Particle& p = const_cast<Particle&>(*particlePool->firstLive());
    p.lifetime = 10;
    setLevelSize(2000, 2000);
    fillSubstance(kSubstanceAir);
    const double dt = 1.0 / 64;
    particlePool->update(dt);
    EXPECT_DOUBLE_EQ(p.vy, 995 + 1000 * dt);
    EXPECT_DOUBLE_EQ(p.y, 90 + dt * p.vy);
    EXPECT_DOUBLE_EQ(p.age, dt);
    p.vy = 1999;
    particlePool->update(dt);
    EXPECT_EQ(p.vy, 2000);
}

TEST_F(ParticlePoolTest, FadeAndLifetime) {
    spawnParticle(0, 0, 0, 0, sparkPreset0);
    Particle& p = const_cast<Particle&>(*particlePool->firstLive());
    p.lifetime = 0.2;
    p.fadeStart = 0.05;
    p.age = 0.05;
    EXPECT_EQ(particleAlpha(p), 1);
    p.age = 0.125;
    EXPECT_DOUBLE_EQ(particleAlpha(p), 0.5);
    p.lifetime = 0.25;
    p.age = 0.25 - 1.0 / 64;
    particlePool->update(1.0 / 64);
    EXPECT_EQ(particlePool->liveCount(), 1) << "alive at exactly its lifetime";
    particlePool->update(1.0 / 64);
    EXPECT_EQ(particlePool->liveCount(), 0);
}

TEST_F(ParticlePoolTest, BubblesDieRisingIntoAirAndDropsDieFallingIntoWater) {
    // Air in the top cell row, water below (the default level is all water).
    setLevelSize(2000, 2000);
    for (int col = 0; col < 10; col++) substance(col, 0, kSubstanceAir);
    struct Case {
        const ParticlePreset* preset;
        double y, vy;
        bool survives;
    } cases[] = {
        {&bubblePreset, 30, -10, false}, // rising in air
        {&bubblePreset, 200, -10, true}, // rising in water
        {&dropPreset, 200, 100, false},  // falling in water
        {&dropPreset, 30, -300, true},   // thrown up through air
        {&dropPreset, 200, -1500, true}, // still rising through water
    };
    for (const Case& c : cases) {
        resetParticles();
        spawnParticle(100, c.y, 0, c.vy, *c.preset);
        const_cast<Particle*>(particlePool->firstLive())->lifetime = 10;
        particlePool->update(1.0 / 64);
        EXPECT_EQ(particlePool->liveCount(), c.survives ? 1 : 0) << "y " << c.y << " vy " << c.vy;
    }
}

TEST_F(ParticlePoolTest, DrawsLiveParticlesInOrderFromTheCameraWithScaleAndAlpha) {
    ScopedGraphicRecording recording;
    TempUserFolder home;
    host::setMessageBoxHandler([](const std::string&, const std::string&) {});
    loadSpriteSheets();
    spawnParticle(109.5, 209.5, 0, 0, sparkPreset2);
    spawnParticle(5000, 5000, 0, 0, sparkPreset0);        // far off the screen
    spawnParticle(std::nan(""), 100, 0, 0, sparkPreset0); // a broken position is not drawn
    spawnParticle(59.5, 59.5, 0, 0, puffPreset4);
    Particle& first = const_cast<Particle&>(*particlePool->firstLive());
    first.scale = 1.5;
    first.lifetime = 0.2;
    first.fadeStart = 0.05;
    first.age = 0.125;
    KGraphicRecorder::clearCalls();
    particlePool->draw(/*cameraX=*/50, /*cameraY=*/100);
    const auto& calls = KGraphicRecorder::calls();
    ASSERT_EQ(calls.size(), 2u);
    const SpriteFrame* f2 = getSpriteSheet(kParticleSheet)->getFrame(2);
    EXPECT_EQ(calls[0].operation, "blitAlphaRectFx");
    EXPECT_EQ(calls[0].args[0], float(f2->left));
    EXPECT_EQ(calls[0].args[4], 50);  // x 100 - camera 50
    EXPECT_EQ(calls[0].args[5], 100); // y 200 - camera 100
    EXPECT_EQ(calls[0].args[6], 0);   // angle
    EXPECT_FLOAT_EQ(calls[0].args[7], 1.5f);
    EXPECT_FLOAT_EQ(calls[0].args[8], 0.5f);
    EXPECT_EQ(calls[1].args[4], 0);
    EXPECT_EQ(calls[1].args[5], -50);
    freeSpriteSheets();
    host::setMessageBoxHandler(nullptr);
}

} // namespace
