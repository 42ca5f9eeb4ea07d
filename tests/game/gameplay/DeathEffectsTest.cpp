// What each entity kind leaves behind when it goes, with a seeded generator and the sounds on the
// hand-stepped mixer: every kind's burst (the same particles, one for one, as its spawners called by hand),
// the bursts of shots at a wall, the deaths reached through the kinds' own death rules, a collected Gold
// Radudod, and the splash of an entity crossing the water surface either way.
#include "BehaviourWorld.h"

#include "../framework/HandSteppedSound.h"
#include "../framework/TempUserFolder.h"
#include "GoldZuzevirMeter.h"
#include "ImpactEffects.h"
#include "ParticleEffects.h"
#include "ParticlePool.h"
#include "ParticlePresets.h"
#include "SoundTable.h"

#include <functional>
#include <set>
#include <tuple>
#include <vector>

namespace {

constexpr int kSoundCaw = 0, kSoundSmallExplosion = 1, kSoundSplashSmall = 2, kSoundSplashBig = 3,
              kSoundTinyExplosion = 13, kSoundLargeExplosion = 14;

using ParticleRecord = std::tuple<const ParticlePreset*, double, double, double, double, double, double, double>;
using Effect = std::function<void(double x, double y, double vx, double vy)>;
using BurstEffect = void (*)(double x, double y, double bvx, double bvy, double angle, double spread);

class DeathEffects : public BehaviourWorld {
protected:
    void SetUp() override {
        BehaviourWorld::SetUp();
        createParticlePool();
        buildSoundTable();
        resetGoldZuzevirMeter();
    }
    void TearDown() override {
        freeSoundTable();
        destroyParticlePool();
        resetGoldZuzevirMeter();
        BehaviourWorld::TearDown();
    }

    static std::vector<ParticleRecord> particles() {
        std::vector<ParticleRecord> out;
        for (const Particle* p = particlePool->firstLive(); p; p = p->next)
            out.emplace_back(p->preset, p->x, p->y, p->vx, p->vy, p->scale, p->lifetime, p->fadeStart);
        return out;
    }
    static int countOf(const ParticlePreset& preset) {
        int n = 0;
        for (const ParticleRecord& p : particles()) n += std::get<0>(p) == &preset;
        return n;
    }
    // The sounds with a copy playing now.
    static std::set<int> playing() {
        std::set<int> ids;
        for (int id = 0; id < kSoundCount; id++)
            for (const auto& copy : getSoundEntry(id)->copies)
                if (copy->sound->isPlaying()) ids.insert(id);
        return ids;
    }
    static void quiet() {
        for (int id = 0; id < kSoundCount; id++) getSoundEntry(id)->stop();
        resetParticles();
    }
    // The particles the spawners make when called by hand from the same seed.
    static std::vector<ParticleRecord> byHand(uint32_t seed, const Effect& effect, double x, double y, double vx,
                                              double vy) {
        resetParticles();
        kSrand(seed);
        effect(x, y, vx, vy);
        std::vector<ParticleRecord> out = particles();
        resetParticles();
        return out;
    }

    HandSteppedSound sound;
    TempUserFolder home;
};

EntityVars withVar1(int32_t value) {
    EntityVars vars{};
    vars[0] = value;
    return vars;
}

// A burst all round from the centre with the entity's velocity, or standing still.
Effect moving(BurstEffect effect) {
    return [effect](double x, double y, double vx, double vy) { effect(x, y, vx, vy, 0, 360); };
}
Effect still(BurstEffect effect) {
    return [effect](double x, double y, double, double) { effect(x, y, 0, 0, 0, 360); };
}
void bigBlast(double x, double y, double vx, double vy) {
    bigExplosion(x, y, vx, vy, 0, 360);
    explosion(x, y, vx, vy, 0, 5);
    explosion(x, y, vx, vy, 180, 5);
}
void nothing(double, double, double, double) {}

TEST_F(DeathEffects, EveryKindBurstsWithItsOwnSpawnersArgumentsAndSound) {
    struct Case {
        int type;
        EntityVars vars;
        Effect effect;
        int count;
        std::set<int> sounds;
    };
    const std::set<int> large = {kSoundLargeExplosion}, small = {kSoundSmallExplosion}, tiny = {kSoundTinyExplosion},
                        none = {};
    const Case cases[] = {
        {kEntityZuzevir, {}, bigBlast, 110, large},
        {kEntityLaser1, {}, still(laserSparks), 10, tiny},
        {kEntityLaser2, withVar1(80), still(explosion), 20, small},
        {kEntityLaser2, withVar1(50), still(laserSparks), 10, tiny},
        {kEntityLaserFish, {}, moving(debrisBurst), 40, large},
        {kEntityMissile1, {}, still(explosion), 20, small},
        {kEntityGoldFish, {}, still(pickupBurst), 40, none},
        {kEntityTurret, {}, still(gunDebris), 40, large},
        {kEntityTurretLaser, {}, still(sparksFrame1), 10, tiny},
        {kEntityMine, {}, still(mineExplosion), 20, large},
        {kEntityAutoGun, {}, still(gunDebris), 40, large},
        {kEntityBird, {}, moving(debrisBurst), 40, {kSoundCaw}},
        {kEntityBomb, {}, still(explosion), 20, small},
        {kEntityEel, {}, moving(eelDebris), 40, large},
        {kEntityTntTurtle, {}, moving(turtleDebris), 40, large},
        {kEntityEvilZuzevir, {}, bigBlast, 110, large},
        {kEntityEvilLaser1, {}, still(laserSparks), 10, tiny},
        {kEntityRoboShark, {}, bigBlast, 110, large},
        {kEntityDrone, {}, moving(droneDebris), 40, large},
        {kEntityOrnament, withVar1(2), still(gunDebris), 40, large},
        {kEntityTorpedo1, {}, still(torpedoExplosion), 15, small},
        {kEntityLaserSword, {}, nothing, 0, none},
        {kEntityBullet, {}, still(bulletSparks), 5, tiny},
        {kEntityPowerup, withVar1(0), still(pickupBurst), 40, none},
        {kEntityPowerup, withVar1(1), still(pickupBurst3), 40, none},
        {kEntityPowerup, withVar1(2), still(pickupBurst1), 40, none},
        {kEntityPowerup, withVar1(3), still(pickupBurst5), 40, none},
        {kEntityPowerLaser, {}, still(powerLaserSparks), 10, tiny},
        {kEntityHoop, {}, nothing, 0, none},
    };
    uint32_t seed = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(entityTypeName(c.type)) + " type " + std::to_string(c.type));
        GF_Entity* e = createEntity(c.type, 400, 300, c.vars, 0, 0, 0);
        e->vx = 250; // moving, so that a burst carried along with the entity shows it
        e->vy = -120;
        quiet();
        kSrand(++seed);
        e->onDeathEffect();
        const std::vector<ParticleRecord> got = particles();
        EXPECT_EQ(int(got.size()), c.count);
        EXPECT_EQ(playing(), c.sounds);
        EXPECT_EQ(got, byHand(seed, c.effect, e->x, e->y, e->vx, e->vy));
        delete e;
        clearCameraTarget(); // the player made here was the camera's target
    }
}

TEST_F(DeathEffects, ShotsBurstAroundTheWallNormalAndAMineExplodesAllRound) {
    struct Case {
        int type;
        Effect effect;
        int count;
        int sound;
    };
    const Case cases[] = {
        {kEntityTorpedo1, [](double x, double y, double, double) { torpedoExplosion(x, y, 0, 0, 90, 90); }, 15,
         kSoundSmallExplosion},
        {kEntityBullet, [](double x, double y, double, double) { bulletSparks(x, y, 0, 0, 90, 90); }, 5,
         kSoundTinyExplosion},
        {kEntityMine, still(mineExplosion), 20, kSoundLargeExplosion},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        GF_Entity* e = createEntity(c.type, 400, 300, EntityVars{}, 0, 0, 0);
        quiet();
        kSrand(55);
        e->onWallImpact(90); // a floor below: the burst goes up
        const std::vector<ParticleRecord> got = particles();
        EXPECT_EQ(int(got.size()), c.count);
        EXPECT_EQ(playing(), std::set<int>{c.sound});
        EXPECT_EQ(got, byHand(55, c.effect, e->x, e->y, 0, 0));
        delete e;
    }
}

TEST_F(DeathEffects, DyingFadesBurstAtTheirEndAndTheBirdsDeathsEachHaveTheirOwn) {
    // An ornament fades out first and bursts when the fade is over.
    GF_Entity* rock = createEntity(kEntityOrnament, 400, 300, withVar1(3), 0, 0, 0);
    quiet();
    rock->takeDamage(200000, nullptr);
    EXPECT_TRUE(rock->dying);
    EXPECT_EQ(particlePool->liveCount(), 0);
    for (int i = 0; i < 4 && !rock->removed; i++) rock->update();
    EXPECT_TRUE(rock->removed) << "0.05 s of fade";
    EXPECT_EQ(particlePool->liveCount(), 40);
    EXPECT_EQ(countOf(bigPuffPreset), 10);
    EXPECT_EQ(playing(), std::set<int>{kSoundLargeExplosion});
    delete rock;

    // A lightly hurt bird falls at once, cawing; a badly hurt one fades and then bursts with a caw and a bang.
    GF_Entity* bird = createEntity(kEntityBird, 400, 300, EntityVars{}, 0, 0, 0);
    quiet();
    bird->health = -5;
    bird->checkDeath();
    EXPECT_TRUE(bird->removed);
    EXPECT_EQ(countOf(puffPreset0), 20);
    EXPECT_EQ(countOf(puffPreset3), 20);
    EXPECT_EQ(playing(), std::set<int>{kSoundCaw});
    delete bird;

    bird = createEntity(kEntityBird, 400, 300, EntityVars{}, 0, 0, 0);
    quiet();
    bird->health = -11;
    bird->checkDeath();
    EXPECT_TRUE(bird->dying);
    EXPECT_FALSE(bird->removed);
    EXPECT_EQ(particlePool->liveCount(), 0);
    EXPECT_TRUE(playing().empty());
    bird->onFadeEnd();
    EXPECT_EQ(particlePool->liveCount(), 40);
    EXPECT_EQ((playing()), (std::set<int>{kSoundCaw, kSoundSmallExplosion}));
    delete bird;

    // The player goes out with the big explosion when its own fade ends.
    GF_Entity* player = placePlayer(400, 300);
    quiet();
    player->takeDamage(player->health + 1, nullptr);
    EXPECT_EQ(particlePool->liveCount(), 0);
    for (int i = 0; i < 20 && !player->removed; i++) frame();
    EXPECT_TRUE(player->removed);
    EXPECT_EQ(countOf(puffPreset3), 50);
    EXPECT_TRUE(playing().count(kSoundLargeExplosion));
}

TEST_F(DeathEffects, ACollectedGoldRadudodBurstsAndFillsTheMeter) {
    placePlayer(400, 300);
    place(kEntityGoldFish, 410, 300);
    quiet();
    frame();
    EXPECT_TRUE(ofType(kEntityGoldFish).empty() || ofType(kEntityGoldFish)[0]->removed);
    EXPECT_EQ(goldZuzevirMeter.count, 1);
    EXPECT_EQ(countOf(puffPreset3), 20) << "the pickup burst's puffs";
    EXPECT_GE(countOf(glowPreset4), 20);
}

TEST_F(DeathEffects, CrossingTheSurfaceSplashesBothWaysWithTheSoundBySize) {
    // Air down to row 3; row 4 holds the surface at y = 288 (air above it, water below); water from row 5.
    for (int col = 5; col <= 6; col++) {
        for (int row = 0; row < 4; row++) setAir(col, row);
        tileMap.substanceGrid.set(col, 4, kSubstanceTransition);
    }
    struct Case {
        int type;
        double y, vy;
        int count;
        int sound;
    };
    // A laser (radius 29.4) dives at 640 px/s: 2 + 3 of each of four sprays and two ripple particles; a rock
    // (radius 45) leaves at 640 px/s: (4 + 3) div 2 = 3 of each, and two ripple pairs.
    const Case cases[] = {{kEntityLaser1, 283, 640, 4 * 5 + 2, kSoundSplashSmall},
                          {kEntityOrnament, 293, -640, 4 * 3 + 4, kSoundSplashBig}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        GF_Entity* e = createEntity(c.type, 360, int32_t(c.y), withVar1(3), 0, c.vy, 0);
        e->update(); // the first step learns the medium it starts in
        quiet();
        kSrand(77);
        e->update();
        ASSERT_NE(e->medium, e->previousMedium);
        const std::vector<ParticleRecord> got = particles();
        EXPECT_EQ(int(got.size()), c.count);
        EXPECT_EQ(playing(), std::set<int>{c.sound});
        double surfaceX, surfaceY;
        findWaterSurface(e->x, e->y, surfaceX, surfaceY);
        EXPECT_EQ(surfaceY, 288.0);
        EXPECT_EQ(got, byHand(
                           77, [&](double x, double y, double vx, double vy) { splash(x, y, vx, vy, e->radius); },
                           surfaceX, surfaceY, e->vx, e->vy));
        // Staying on the same side makes no splash.
        quiet();
        e->update();
        EXPECT_EQ(particlePool->liveCount(), 0);
        delete e;
    }
}

} // namespace
