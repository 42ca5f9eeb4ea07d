// The flying shots' trails (charged laser, missile, torpedo) that these kinds add after the base frame step,
// and the torpedo's lock release.
#include "BehaviourTools.h"
#include "FrameClock.h"
#include "GF_EntityKinds.h"
#include "ParticleEffects.h"
#include "TrickEvents.h"

#include <cmath>

namespace {

// Advances a trail clock by the frame time; true, with the clock restarted, once it passes its interval.
bool trailDue(double& clock, double interval) {
    clock += frameTime;
    if (clock <= interval) return false;
    clock = 0;
    return true;
}

} // namespace

void GF_EntityLaser2::update() {
    GF_Entity::update();
    if (!trailDue(trailClock, trailInterval)) return;
    const int count = charge < 0.2 ? 1 : charge < 0.4 ? 2 : charge < 0.6 ? 3 : charge < 0.8 ? 4 : 5;
    chargeTrail(count, x, y, vx, vy, getVelocityAngle() + 180, 10);
}

void GF_EntityMissile1::update() {
    GF_Entity::update();
    if (!trailDue(trailClock, trailInterval)) return;
    double hx, hy;
    getHotspotPoint(0, hx, hy);
    missileTrail(hx, hy);
}

void GF_EntityTorpedo1::update() {
    GF_Entity::update();
    if (!trailDue(trailClock, trailInterval)) return;
    double hx, hy;
    getHotspotPoint(0, hx, hy);
    torpedoTrail(hx, hy);
}

void GF_EntityTorpedo1::onRemoved() {
    removeTargetLockOfTracker(this);
    GF_Entity::onRemoved();
}
