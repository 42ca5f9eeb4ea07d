// The 25 entity kinds: their animations, the per-kind constructor rules (difficulty, cheats, Vars) and the
// operations each kind overrides. Their values come from the kinds table.
#include "GF_EntityKinds.h"

#include "AngleTools.h"
#include "BehaviourTools.h"
#include "Behaviours.h"
#include "CheatList.h"
#include "EntityKinds.h"
#include "EntityType.h"
#include "FrameClock.h"
#include "GameOptions.h"
#include "GameWindow.h"
#include "ImpactEffects.h"
#include "LevelFile.h"
#include "ParticleEffects.h"
#include "SoundTable.h"
#include "SpriteAnimation.h"
#include "SpriteSheet.h"
#include "SpriteSheetTable.h"
#include "TrickEvents.h"
#include "WholePixels.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

// Sound numbers of the effects.
constexpr int kSoundCaw = 0, kSoundSmallExplosion = 1, kSoundPowerup = 5, kSoundTinyExplosion = 13,
              kSoundLargeExplosion = 14;

constexpr double kStepSeconds = 0.1; // one step at speed 1

struct SequenceSpec {
    double speed;
    std::initializer_list<int> frames;
};

// A sequence of equal steps; speed scales how fast it plays (setSequence always selects at speed 1, so the
// table's speed is carried by the length).
void addEqualSequence(SpriteAnimation& animation, const SequenceSpec& spec) {
    SpriteSequence* sequence = animation.addSequence(double(spec.frames.size()) * kStepSeconds / spec.speed);
    for (int frame : spec.frames) sequence->addStep(frame, false, false, 1);
    sequence->normalizeDurations();
}

SpriteAnimation* makeAnimation(std::initializer_list<int> sheets, std::initializer_list<SequenceSpec> sequences) {
    auto* animation = new SpriteAnimation;
    for (int sheet : sheets) animation->addFrames(getSpriteSheet(sheet), -1);
    for (const SequenceSpec& spec : sequences) addEqualSequence(*animation, spec);
    return animation;
}

// One frame of one sheet, shown by one step.
SpriteAnimation* makeSingleFrame(int sheet, int frame) {
    auto* animation = new SpriteAnimation;
    animation->addFrame(getSpriteSheet(sheet), frame);
    addEqualSequence(*animation, {1.0, {0}});
    return animation;
}

SpriteAnimation* makeDolphinAnimation() {
    return makeAnimation({0, 1, 2}, {{0.8, {0, 1, 2, 3, 4, 5, 6, 7}},
                                     {1.0, {8, 9, 10, 9}},
                                     {1.0, {8, 9, 10, 11, 12, 11, 10, 9}},
                                     {0.3, {8, 13, 14, 15, 14, 13}},
                                     {0.3, {8, 16, 17, 18, 17, 16}},
                                     {0.5, {8, 19, 20, 19}}});
}

// The animation starts on the kind's base sequence.
void startOnBase(GF_Entity& e) {
    if (e.animation) e.animation->setSequence(e.baseSequence);
}

void playEffectSound(const GF_Entity& e, int sound) {
    playSoundAt(e.x, e.y, 1, sound);
}

constexpr double kFullSpread = 360; // a death burst
constexpr double kWallSpread = 90;  // a shot's burst at a wall, around the wall's normal

using BurstEffect = void (*)(double x, double y, double bvx, double bvy, double angle, double spread);

// A burst around the given direction from the centre, without the entity's velocity (shots at a wall or at
// their end, wrecks of fixed enemies), and the sound.
void burstInPlace(const GF_Entity& e, BurstEffect effect, int sound, double angle, double spread) {
    effect(e.x, e.y, 0, 0, angle, spread);
    playEffectSound(e, sound);
}

// The large explosion of the dolphins and the shark: the blast all round, its two side blasts and the sound.
void bigExplosionEffect(const GF_Entity& e) {
    bigExplosion(e.x, e.y, e.vx, e.vy, 0, kFullSpread);
    explosion(e.x, e.y, e.vx, e.vy, 0, 5);
    explosion(e.x, e.y, e.vx, e.vy, 180, 5);
    playEffectSound(e, kSoundLargeExplosion);
}

// A death burst all round the centre, carried along with the entity's velocity, and the sound.
void movingDebris(const GF_Entity& e, BurstEffect effect, int sound) {
    effect(e.x, e.y, e.vx, e.vy, 0, kFullSpread);
    playEffectSound(e, sound);
}

// A pickup's burst all round its centre, left where it was collected; pickups make no sound of their own.
void pickupEffect(const GF_Entity& e, BurstEffect effect) {
    effect(e.x, e.y, 0, 0, 0, kFullSpread);
}

// The cheats that change every enemy the level places.
void applyEnemyCheats(GF_Entity& e) {
    if (isCheatOn(kCheatMiniEnemies)) e.baseScale = 0.5;
    if (isCheatOn(kCheatBigEnemies)) e.baseScale = 2.0;
    if (isCheatOn(kCheatInvincibleEnemies)) e.maxHealth = e.health = 1000000;
    if (isCheatOn(kCheatCloakedEnemies)) e.baseAlpha = 0.2;
    e.scale = e.baseScale;
    e.alpha = e.baseAlpha;
}

// A dolphin reports false while it glides (its base sequence) or glides through a turn (sequence 2).
bool dolphinIsNotTurning(const GF_Entity& e) {
    const int sequence = currentSequence(e);
    return sequence != e.baseSequence && sequence != 2;
}

int difficultyIndex() {
    return std::clamp(GameOptions.difficulty, 0, 4);
}

} // namespace

#define GF_KIND_BASE(Name, type)                                                                                       \
    Name::Name(double x, double y, const EntityVars& vars, double vx, double vy, double rotation)                      \
        : GF_Entity(entityKind(type), x, y, vx, vy, rotation)

// The player.
GF_KIND_BASE(GF_EntityZuzevir, kEntityZuzevir) {
    (void)vars;
    static constexpr double kHealth[5] = {4000, 2000, 1000, 500, 110};
    maxHealth = health = kHealth[difficultyIndex()];
    if (isCheatOn(kCheatInvincible)) maxHealth = health = 1000000;
    if (isCheatOn(kCheatMiniRadudod)) baseScale = 0.5;
    if (isCheatOn(kCheatBigRadudod)) baseScale = 2.0;
    if (isCheatOn(kCheatCloakedRadudod)) baseAlpha = 0.2;
    scale = baseScale;
    alpha = baseAlpha;
    animation = makeDolphinAnimation();
    startOnBase(*this);
    hoopList.reserve(size_t(std::max(RequiredHoops, 0))); // room for every hoop of the level in view at once
}

bool GF_EntityZuzevir::isNotTurning() {
    return dolphinIsNotTurning(*this);
}

void GF_EntityZuzevir::onDeathEffect() {
    bigExplosionEffect(*this);
}

void GF_EntityZuzevir::checkDeath() {
    if (health >= 0 || dead) return;
    endPlayerSword(this);
    startDyingFade();
}

GF_KIND_BASE(GF_EntityLaser1, kEntityLaser1) {
    (void)vars;
    animation = makeSingleFrame(7, 0);
    startOnBase(*this);
}
void GF_EntityLaser1::onWallImpact(double normalAngle) {
    burstInPlace(*this, laserSparks, kSoundTinyExplosion, normalAngle, kWallSpread);
}
void GF_EntityLaser1::onDeathEffect() {
    burstInPlace(*this, laserSparks, kSoundTinyExplosion, 0, kFullSpread);
}

GF_KIND_BASE(GF_EntityLaser2, kEntityLaser2) {
    charge = std::clamp(vars[0] / 100.0, 0.0, 1.0);
    hitPulseEnabled = 0;
    animation = makeSingleFrame(7, charge > 0.5 ? 1 : 3);
    startOnBase(*this);
}
void GF_EntityLaser2::onWallImpact(double normalAngle) {
    burstByCharge(normalAngle, kWallSpread);
}
void GF_EntityLaser2::onDeathEffect() {
    burstByCharge(0, kFullSpread);
}

void GF_EntityLaser2::burstByCharge(double angle, double spread) {
    if (charge > 0.5)
        burstInPlace(*this, explosion, kSoundSmallExplosion, angle, spread);
    else
        burstInPlace(*this, laserSparks, kSoundTinyExplosion, angle, spread);
}

GF_KIND_BASE(GF_EntityLaserFish, kEntityLaserFish) {
    (void)vars;
    applyEnemyCheats(*this);
    animation = makeAnimation({10}, {{0.5, {0, 1, 2, 3, 4, 5, 6, 7}},
                                     {1.0, {8, 9}},
                                     {0.5, {8, 13, 14, 15, 14, 13}},
                                     {0.5, {8, 10, 11, 12, 11, 10}}});
    startOnBase(*this);
}
void GF_EntityLaserFish::onDeathEffect() {
    movingDebris(*this, debrisBurst, kSoundLargeExplosion);
}
void GF_EntityLaserFish::checkDeath() {
    checkDeathFishLike();
}

GF_KIND_BASE(GF_EntityMissile1, kEntityMissile1) {
    (void)vars;
    reverseThreshold = 1000; // a missile never turns about
    animation = makeSingleFrame(11, 0);
    startOnBase(*this);
}
void GF_EntityMissile1::onWallImpact(double normalAngle) {
    burstInPlace(*this, explosion, kSoundSmallExplosion, normalAngle, kWallSpread);
}
void GF_EntityMissile1::onDeathEffect() {
    burstInPlace(*this, explosion, kSoundSmallExplosion, 0, kFullSpread);
}

// The Gold Radudod stays where it was placed, whatever the placement says of motion.
GF_EntityGoldFish::GF_EntityGoldFish(double x, double y, const EntityVars& vars, double, double, double)
    : GF_Entity(entityKind(kEntityGoldFish), x, y, 0, 0, 0) {
    (void)vars;
    std::initializer_list<int> spin = {15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5,  4,  3,  2,  1, 0,
                                       0,  1,  2,  3,  4,  5,  6, 7, 8, 9, 10, 11, 12, 13, 14};
    animation = makeAnimation({13}, {{3.0, spin}});
    startOnBase(*this);
}
void GF_EntityGoldFish::onDeathEffect() {
    pickupEffect(*this, pickupBurst);
}
void GF_EntityGoldFish::onRemoved() {
    static constexpr double kHeal[5] = {2000, 1000, 500, 250, 0};
    if (playerEntity) playerEntity->heal(kHeal[difficultyIndex()]);
    collectGoldZuzevir();
    GF_Entity::onRemoved();
}

GF_KIND_BASE(GF_EntityTurret, kEntityTurret), barrelAngle(rotation) {
    (void)vars;
    applyEnemyCheats(*this);
    animation = makeSingleFrame(15, 0);
    startOnBase(*this);
    barrel = makeSingleFrame(15, 1);
    barrel->setSequence(0);
}
GF_EntityTurret::~GF_EntityTurret() {
    delete barrel;
}
void GF_EntityTurret::getEmitPoint(double& outX, double& outY) {
    outX = x + std::cos(angle / kDegreesPerRadian) * 20;
    outY = y - std::sin(angle / kDegreesPerRadian) * 20;
}
void GF_EntityTurret::onDeathEffect() {
    burstInPlace(*this, gunDebris, kSoundLargeExplosion, 0, kFullSpread);
}

GF_KIND_BASE(GF_EntityTurretLaser, kEntityTurretLaser) {
    (void)vars;
    animation = makeSingleFrame(7, 2);
    startOnBase(*this);
}
void GF_EntityTurretLaser::onWallImpact(double normalAngle) {
    burstInPlace(*this, sparksFrame1, kSoundTinyExplosion, normalAngle, kWallSpread);
}
void GF_EntityTurretLaser::onDeathEffect() {
    burstInPlace(*this, sparksFrame1, kSoundTinyExplosion, 0, kFullSpread);
}

GF_KIND_BASE(GF_EntityMine, kEntityMine), armoured(vars[0] != 0 ? 1 : 0) {
    applyEnemyCheats(*this);
    if (armoured) {
        hitPulseEnabled = 0;
        killedByShot = 0;
        targetable = 0;
    }
    animation = makeAnimation({16}, {{1.5, {0, 1}}, {0.5, {0, 1}}, {1.5, {2, 3}}, {0.5, {2, 3}}});
    startOnBase(*this);
}
void GF_EntityMine::onWallImpact(double) {
    onDeathEffect();
}
void GF_EntityMine::onDeathEffect() {
    burstInPlace(*this, mineExplosion, kSoundLargeExplosion, 0, kFullSpread);
}

GF_KIND_BASE(GF_EntityAutoGun, kEntityAutoGun) {
    (void)vars;
    applyEnemyCheats(*this);
    animation = makeSingleFrame(17, 0);
    startOnBase(*this);
}
void GF_EntityAutoGun::getEmitPoint(double& outX, double& outY) {
    outX = x + std::cos(angle / kDegreesPerRadian) * 15;
    outY = y - std::sin(angle / kDegreesPerRadian) * 15;
}
void GF_EntityAutoGun::onDeathEffect() {
    burstInPlace(*this, gunDebris, kSoundLargeExplosion, 0, kFullSpread);
}

GF_KIND_BASE(GF_EntityBird, kEntityBird) {
    (void)vars;
    applyEnemyCheats(*this);
    animation = makeAnimation({18}, {{1.0, {0, 1, 2, 3, 4, 3, 2, 1}}, {0.5, {3, 5, 6, 7, 6, 5, 3}}});
    startOnBase(*this);
}
void GF_EntityBird::onDeathEffect() {
    debrisBurst(x, y, vx, vy, 0, kFullSpread);
    if (SoundEntry* caw = getSoundEntry(kSoundCaw)) caw->play(1, 0);
}
void GF_EntityBird::onFadeEnd() {
    debrisBurst(x, y, vx, vy, 0, kFullSpread);
    playEffectSound(*this, kSoundCaw);
    playEffectSound(*this, kSoundSmallExplosion);
}

GF_KIND_BASE(GF_EntityBomb, kEntityBomb) {
    (void)vars;
    animation = makeSingleFrame(19, 0);
    startOnBase(*this);
}
void GF_EntityBomb::onWallImpact(double normalAngle) {
    burstInPlace(*this, explosion, kSoundSmallExplosion, normalAngle, kWallSpread);
}
void GF_EntityBomb::onDeathEffect() {
    burstInPlace(*this, explosion, kSoundSmallExplosion, 0, kFullSpread);
}

GF_KIND_BASE(GF_EntityEel, kEntityEel) {
    (void)vars;
    applyEnemyCheats(*this);
    animation = makeAnimation({20}, {{1.2, {0, 1, 2, 3, 4, 5}},
                                     {0.3, {4, 3, 2, 1}},
                                     {1.0, {0, 12, 13, 14, 15, 14, 13, 12}},
                                     {0.5, {0, 6, 7, 8, 7, 6}},
                                     {0.5, {0, 9, 10, 11, 10, 9}}});
    startOnBase(*this);
}
void GF_EntityEel::onDeathEffect() {
    movingDebris(*this, eelDebris, kSoundLargeExplosion);
}

GF_KIND_BASE(GF_EntityTntTurtle, kEntityTntTurtle) {
    (void)vars;
    applyEnemyCheats(*this);
    animation = makeAnimation({22}, {{0.5, {5, 6, 7, 8, 9, 0, 1, 2, 3, 4}},
                                     {1.0, {6}},
                                     {0.5, {5, 13, 14, 15, 14, 13}},
                                     {0.5, {5, 10, 11, 12, 11, 10}}});
    startOnBase(*this);
}
void GF_EntityTntTurtle::onDeathEffect() {
    movingDebris(*this, turtleDebris, kSoundLargeExplosion);
}

GF_KIND_BASE(GF_EntityEvilZuzevir, kEntityEvilZuzevir) {
    (void)vars;
    applyEnemyCheats(*this);
    animation = makeDolphinAnimation();
    startOnBase(*this);
}
void GF_EntityEvilZuzevir::draw(double cameraX, double cameraY) {
    GF_Entity::draw(cameraX, cameraY);
    SpriteSheet* glow = getSpriteSheet(23);
    double eyeX, eyeY;
    if (!animation || !animation->currentHotspot(1, eyeX, eyeY) || !glow) return;
    getHotspotPoint(1, eyeX, eyeY);
    glow->drawFrameTransformed(0, wholePixels(eyeX - 8 - cameraX), wholePixels(eyeY - 8 - cameraY), angle, scale, alpha,
                               false, false);
}
bool GF_EntityEvilZuzevir::isNotTurning() {
    return dolphinIsNotTurning(*this);
}
void GF_EntityEvilZuzevir::onDeathEffect() {
    bigExplosionEffect(*this);
}

GF_KIND_BASE(GF_EntityEvilLaser1, kEntityEvilLaser1) {
    (void)vars;
    animation = makeSingleFrame(7, 0);
    startOnBase(*this);
}
void GF_EntityEvilLaser1::onWallImpact(double normalAngle) {
    burstInPlace(*this, laserSparks, kSoundTinyExplosion, normalAngle, kWallSpread);
}
void GF_EntityEvilLaser1::onDeathEffect() {
    burstInPlace(*this, laserSparks, kSoundTinyExplosion, 0, kFullSpread);
}

GF_KIND_BASE(GF_EntityRoboShark, kEntityRoboShark) {
    (void)vars;
    applyEnemyCheats(*this);
    animation = makeAnimation({24}, {{1.5, {3, 4, 5, 4, 3, 2, 1, 0, 1, 2}}, {1.0, {3}}});
    // The bite holds its open jaw far longer than its other steps.
    SpriteSequence* bite = animation->addSequence(3.1 / 3.0);
    bite->addStep(3, false, false, 0.05);
    bite->addStep(6, false, false, 0.05);
    bite->addStep(7, false, false, 3.0);
    bite->normalizeDurations();
    addEqualSequence(*animation, {0.3, {7, 6}});
    startOnBase(*this);
}
void GF_EntityRoboShark::onDeathEffect() {
    bigExplosionEffect(*this);
}

GF_KIND_BASE(GF_EntityDrone, kEntityDrone) {
    (void)vars;
    applyEnemyCheats(*this);
    animation = makeSingleFrame(25, 0);
    startOnBase(*this);
}
void GF_EntityDrone::onDeathEffect() {
    movingDebris(*this, droneDebris, kSoundLargeExplosion);
}

GF_KIND_BASE(GF_EntityOrnament, kEntityOrnament), kind(vars[0] >= 0 && vars[0] <= 2 ? vars[0] : 3) {
    if (kind <= 1) {
        subCircles.push_back(new CollisionCircle(0, 0, 30));
    } else {
        // Rocks stop shots and touch both sides, without harming anyone.
        isBody = 1;
        crossesSides = 1;
        if (kind == 2) {
            subCircles.push_back(new CollisionCircle(-1, -3, 21));
        } else {
            subCircles.push_back(new CollisionCircle(3, -6, 22));
            subCircles.push_back(new CollisionCircle(-19, -6, 10));
        }
    }
    updateCircles();
    animation = makeSingleFrame(26, kind);
    startOnBase(*this);
}
void GF_EntityOrnament::onDeathEffect() {
    burstInPlace(*this, gunDebris, kSoundLargeExplosion, 0, kFullSpread);
}

GF_KIND_BASE(GF_EntityTorpedo1, kEntityTorpedo1) {
    (void)vars;
    reverseThreshold = 1000;
    animation = makeSingleFrame(31, 0);
    startOnBase(*this);
}
void GF_EntityTorpedo1::onWallImpact(double normalAngle) {
    burstInPlace(*this, torpedoExplosion, kSoundSmallExplosion, normalAngle, kWallSpread);
}
void GF_EntityTorpedo1::onDeathEffect() {
    burstInPlace(*this, torpedoExplosion, kSoundSmallExplosion, 0, kFullSpread);
}

GF_KIND_BASE(GF_EntityLaserSword, kEntityLaserSword) {
    (void)vars;
    animation = makeSingleFrame(7, 4);
    startOnBase(*this);
}
double GF_EntityLaserSword::getContactDamage() {
    return contactDamage * frameTime;
}

GF_KIND_BASE(GF_EntityBullet, kEntityBullet) {
    (void)vars;
    animation = makeSingleFrame(32, 0);
    startOnBase(*this);
}
void GF_EntityBullet::onWallImpact(double normalAngle) {
    burstInPlace(*this, bulletSparks, kSoundTinyExplosion, normalAngle, kWallSpread);
}
void GF_EntityBullet::onDeathEffect() {
    burstInPlace(*this, bulletSparks, kSoundTinyExplosion, 0, kFullSpread);
}

GF_KIND_BASE(GF_EntityPowerup, kEntityPowerup), weapon(std::clamp(vars[0], 0, 3)),
    length(vars[1] == 0 ? 30.0 : double(vars[1])) {
    hitPulseEnabled = 0;
    static constexpr int kIconFrame[4] = {2, 3, 1, 0};
    animation = makeSingleFrame(33, kIconFrame[weapon]);
    startOnBase(*this);
}
void GF_EntityPowerup::onDeathEffect() {
    // Each weapon's burst has the colours of its sparkle.
    static constexpr BurstEffect kBurst[4] = {pickupBurst, pickupBurst3, pickupBurst1, pickupBurst5};
    pickupEffect(*this, kBurst[weapon]);
}
void GF_EntityPowerup::onRemoved() {
    // Weapon 0, 1, 2, 3 of the placement are the player's modes 1, 3, 2, 4.
    static constexpr int32_t kMode[4] = {1, 3, 2, 4};
    if (playerEntity) {
        playSoundAt(playerEntity->x, playerEntity->y, 1, kSoundPowerup);
        givePlayerWeapon(playerEntity, kMode[weapon], length);
    }
    GF_Entity::onRemoved();
}

GF_KIND_BASE(GF_EntityPowerLaser, kEntityPowerLaser) {
    (void)vars;
    animation = makeSingleFrame(7, 5);
    startOnBase(*this);
}
void GF_EntityPowerLaser::onWallImpact(double normalAngle) {
    burstInPlace(*this, powerLaserSparks, kSoundTinyExplosion, normalAngle, kWallSpread);
}
void GF_EntityPowerLaser::onDeathEffect() {
    burstInPlace(*this, powerLaserSparks, kSoundTinyExplosion, 0, kFullSpread);
}

GF_KIND_BASE(GF_EntityHoop, kEntityHoop) {
    (void)vars;
    animation = new SpriteAnimation;
    animation->addFrame(getSpriteSheet(35), 0);
    animation->addFrame(getSpriteSheet(36), 0);
    addEqualSequence(*animation, {3.0, {0}});
    addEqualSequence(*animation, {3.0, {1}});
    startOnBase(*this);
}
void GF_EntityHoop::takeDamage(double, GF_Entity*) {}
