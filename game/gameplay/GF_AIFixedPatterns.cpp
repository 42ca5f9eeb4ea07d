// Missile, Gold Radudod, mine, auto gun, drone and bird: patterns that need no sight of the player.
#include "GF_AIFixedPatterns.h"

#include "AngleTools.h"
#include "BehaviourTools.h"
#include "EntityType.h"
#include "FrameClock.h"
#include "GF_EntityKinds.h"
#include "ParticleEffects.h"
#include "TerrainCodes.h"

#include <cmath>

void GF_AIMissile::update() {
    if (playerEntity) {
        const double d = distanceBetween(owner->x, owner->y, playerEntity->x, playerEntity->y);
        const double toPlayer = angleToPoint(owner->x, owner->y, playerEntity->x, playerEntity->y);
        if (d < 800 && std::fabs(angleDifference(toPlayer, owner->angle)) < 45) owner->turnToward(toPlayer, 1000);
    }
    owner->applyForceAtAngle(owner->angle, owner->medium == kSubstanceAir ? 250 : 1000);
}

void GF_AIGoldFish::update() {
    sparkleClock += frameTime;
    if (sparkleClock > 0.9) {
        goldSparkle(owner->x, owner->y, owner->vx, owner->vy, 0, 180);
        sparkleClock = 0;
    }
}

void GF_AIMine::update() {
    const auto* mine = dynamic_cast<const GF_EntityMine*>(owner);
    const bool armoured = mine && mine->armoured;
    const bool near = playerEntity && distanceBetween(owner->x, owner->y, playerEntity->x, playerEntity->y) < 250;
    const int sequence = (near ? 1 : 0) + (armoured ? 0 : 2);
    if (sequence != currentSequence(*owner)) owner->startSequence(sequence);
}

void GF_AIAutoGun::update() {
    fireClock += frameTime;
    if (fireClock > 0.75) {
        double hx, hy;
        owner->getHotspotPoint(0, hx, hy);
        fireTurretLaser(*owner, hx, hy, owner->angle);
        fireClock = 0;
    }
}

GF_AIDrone::GF_AIDrone(GF_Entity* owner, const EntityVars& vars)
    : GF_AI(owner), spawnX(owner->x), spawnY(owner->y), travel(vars[0] <= 1 ? 25.0 : double(vars[0])),
      fireInterval(vars[1] <= 1 ? 0.75 : double(vars[1])) {}

void GF_AIDrone::update() {
    const double dt = frameTime;
    fireClock += dt;
    if (fireClock > fireInterval) {
        double hx, hy;
        owner->getHotspotPoint(0, hx, hy);
        fireTurretLaser(*owner, hx, hy, owner->angle);
        fireClock = 0;
    }
    const bool outside = std::fabs(owner->x - spawnX) > travel || std::fabs(owner->y - spawnY) > travel;
    if (outside && !wasOutside) side = -side;
    wasOutside = outside ? 1 : 0;
    const double push = wrapAngle(owner->angle + 90.0 * side);
    owner->applyForceAtAngle(push, 600);
    exhaustClock += dt;
    if (exhaustClock > 0.1) {
        // The exhaust leaves the side away from the push.
        int hotspot = side > 0 ? 2 : 1;
        if (owner->mirrored) hotspot = 3 - hotspot;
        double hx, hy;
        owner->getHotspotPoint(hotspot, hx, hy);
        droneExhaust(hx, hy, owner->vx, owner->vy, wrapAngle(push + 180), 40);
        exhaustClock = 0;
    }
}

// A path end at or left of the spawn (the editor's Var 1 of 0) would leave the bird turning on the spot: it
// flies its default run to the right instead.
GF_AIBird::GF_AIBird(GF_Entity* owner, const EntityVars& vars)
    : GF_AI(owner), spawnX(owner->x), spawnY(owner->y),
      pathX2(vars[0] > owner->x ? double(vars[0]) : owner->x + kBirdDefaultRun) {}

void GF_AIBird::update() {
    bombClock += frameTime;
    if (owner->y > spawnY) owner->applyForceAtAngle(90, 250);
    if (flyingRight) {
        if (owner->vx < 200) owner->forceX += 100;
        owner->turnToward(0, 500);
        if (owner->x >= pathX2) flyingRight = 0;
    } else {
        if (owner->vx > -200) owner->forceX -= 100;
        owner->turnToward(180, 500);
        if (owner->x <= spawnX) flyingRight = 1;
    }
    if (!owner->reversing && currentSequence(*owner) != 0) owner->startSequence(0);
    if (bombClock > 1.0) {
        double hx, hy;
        owner->getHotspotPoint(0, hx, hy);
        spawnEntity(kEntityBomb, hx, hy, owner->vx, 200, 270);
        sparksFrame3(hx, hy, owner->vx, owner->vy, 270, 30);
        bombClock = 0;
    }
}
