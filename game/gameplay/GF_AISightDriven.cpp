// Patrol, search and chase of the sight-driven enemies, and what sets the three of them apart.
#include "GF_AISightDriven.h"

#include "AngleTools.h"
#include "BehaviourTools.h"
#include "EntityType.h"
#include "FrameClock.h"
#include "GF_Entity.h"
#include "ParticleEffects.h"
#include "SoundTable.h"
#include "TerrainCodes.h"

#include <cmath>

namespace {

constexpr double kArrival = 100;
constexpr double kChaseMemory = 3.0;
constexpr double kKeepAway = 225;

bool inWater(const GF_Entity& e) {
    return e.medium == kSubstanceWater;
}

} // namespace

SightMode sightMode(const PlayerSensor& sensor) {
    if (!sensor.hadContact) return kSightPatrol;
    return sensor.timeSinceContact < kChaseMemory ? kSightChase : kSightSearch;
}

GF_AISightDriven::GF_AISightDriven(GF_Entity* owner, const EntityVars& vars, const SightDrivenValues& values)
    : GF_AI(owner), values(values), sensor(owner, values.range, values.halfAngle) {
    wander.scale = values.wanderScale;
    wander.rate = 0.5;
    sensor.lastKnownX = sensor.searchX = owner->x;
    sensor.lastKnownY = sensor.searchY = owner->y;
    bool noPath = true;
    for (int i = 0; i < 4; i++)
        if (std::fabs(double(vars[size_t(i)])) >= 0.1) noPath = false;
    if (noPath) {
        pathX[0] = owner->x - 100, pathY[0] = owner->y;
        pathX[1] = owner->x + 100, pathY[1] = owner->y;
    } else {
        pathX[0] = vars[0], pathY[0] = vars[1];
        pathX[1] = vars[2], pathY[1] = vars[3];
    }
}

void GF_AISightDriven::update() {
    const double dt = frameTime;
    sensor.update();
    wander.update();
    fireClock += dt;
    search.clock += dt;
    mode = sightMode(sensor);
    switch (mode) {
    case kSightPatrol:
        patrol();
        break;
    case kSightSearch:
        searchForPlayer();
        break;
    default:
        chase();
        break;
    }
}

void GF_AISightDriven::onHit(double angle) {
    sensor.lookToward(angle);
}

void GF_AISightDriven::patrol() {
    if (distanceBetween(owner->x, owner->y, pathX[pathIndex], pathY[pathIndex]) < kArrival) pathIndex = 1 - pathIndex;
    approach(pathX[pathIndex], pathY[pathIndex], values.fullThrustAlways ? 1 : 0.5);
}

void GF_AISightDriven::searchForPlayer() {
    if (search.step(*owner)) approach(search.x, search.y, values.fullThrustAlways ? 1 : 0.5);
}

void GF_AISightDriven::chase() {
    double tx, ty;
    sensor.getTargetPoint(tx, ty);
    if (!sensor.seesPlayer) {
        approach(tx, ty, 1);
        return;
    }
    if (values.backsOff && distanceBetween(owner->x, owner->y, tx, ty) <= kKeepAway)
        backOff(tx, ty);
    else
        approach(tx, ty, 1);
    fireTest();
}

void GF_AISightDriven::approach(double px, double py, double d) {
    owner->turnToward(owner->steerAngleToPoint(px, py), values.torque);
    if (inWater(*owner) && !owner->reversing) {
        owner->applyForceAtAngle(owner->angle, values.thrust * d);
        owner->forceX += wander.scale * wander.a * d + wander.scale * wander.b * d;
    }
    startApproachSequence();
}

void GF_AISightDriven::backOff(double px, double py) {
    const double toTarget = angleToPoint(owner->x, owner->y, px, py);
    owner->turnToward(toTarget, values.torque);
    if (inWater(*owner)) owner->applyForceAtAngle(wrapAngle(toTarget + 180), values.thrust);
    startBackOffSequence();
}

void GF_AISightDriven::fireTest() {
    if (values.fireInterval <= 0 || owner->reversing || !playerEntity) return;
    const double toPlayer = angleToPoint(owner->x, owner->y, playerEntity->x, playerEntity->y);
    if (std::fabs(angleDifference(toPlayer, owner->angle)) >= 15) return;
    if (fireClock <= values.fireInterval) return;
    fire();
    fireClock = 0;
}

void GF_AISightDriven::startApproachSequence() {
    if (currentSequence(*owner) == owner->baseSequence) owner->startSequence(0);
}

GF_AILaserFish::GF_AILaserFish(GF_Entity* owner, const EntityVars& vars)
    : GF_AISightDriven(owner, vars, {1000, 55, 500, 1000, 62.5, 2.0, true, false}) {}

void GF_AILaserFish::fire() {
    double hx, hy;
    owner->getHotspotPoint(0, hx, hy);
    spawnEntity(kEntityMissile1, hx, hy, owner->vx + directionX(owner->angle) * 200,
                owner->vy + directionY(owner->angle) * 200, owner->angle);
    playSoundAt(owner->x, owner->y, 1, kSoundMissileLaunch);
}

GF_AIEvilZuzevir::GF_AIEvilZuzevir(GF_Entity* owner, const EntityVars& vars)
    : GF_AISightDriven(owner, vars, {2000, 85, 1000, 2000, 125, 0.3, true, false}) {}

void GF_AIEvilZuzevir::update() {
    hurtSoundClock += frameTime;
    GF_AISightDriven::update();
}

void GF_AIEvilZuzevir::onHit(double angle) {
    sensor.lookToward(angle);
    if (hurtSoundClock >= 0.5) {
        playSoundAt(owner->x, owner->y, 1, kSoundEnemyHurt);
        hurtSoundClock = 0;
    }
}

void GF_AIEvilZuzevir::fire() {
    double hx, hy;
    owner->getHotspotPoint(0, hx, hy);
    spawnEntity(kEntityEvilLaser1, hx, hy, directionX(owner->angle) * 1000, directionY(owner->angle) * 1000,
                owner->angle);
    laserSparks(hx, hy, owner->vx, owner->vy, owner->angle, 30);
    playSoundAt(owner->x, owner->y, 1, kSoundLaser);
}

void GF_AIEvilZuzevir::startApproachSequence() {
    const int sequence = currentSequence(*owner);
    if (sequence == owner->baseSequence || sequence == 2) owner->startSequence(0);
}

void GF_AIEvilZuzevir::startBackOffSequence() {
    if (currentSequence(*owner) == owner->baseSequence) owner->startSequence(2);
}

GF_AITntTurtle::GF_AITntTurtle(GF_Entity* owner, const EntityVars& vars)
    : GF_AISightDriven(owner, vars, {800, 45, 300, 700, 75, 0, false, true}) {}
