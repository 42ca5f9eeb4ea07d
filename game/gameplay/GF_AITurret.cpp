// Sweep and track of the turret's barrel.
#include "GF_AITurret.h"

#include "AngleTools.h"
#include "BehaviourTools.h"
#include "FrameClock.h"
#include "GF_EntityKinds.h"

#include <algorithm>
#include <cmath>

GF_AITurret::GF_AITurret(GF_Entity* owner) : GF_AI(owner), sensor(owner, 600, 90) {
    sensor.lastKnownX = sensor.searchX = owner->x;
    sensor.lastKnownY = sensor.searchY = owner->y;
}

GF_EntityTurret* GF_AITurret::turret() const {
    return dynamic_cast<GF_EntityTurret*>(owner);
}

void GF_AITurret::rotateBarrel(double target) {
    GF_EntityTurret* body = turret();
    if (!body) return;
    const double limit = 180 * frameTime;
    const double step = std::clamp(angleDifference(target, body->barrelAngle), -limit, limit);
    const double turned = wrapAngle(body->barrelAngle + step);
    if (std::fabs(angleDifference(turned, owner->angle)) <= 90) body->barrelAngle = turned;
}

void GF_AITurret::update() {
    GF_EntityTurret* body = turret();
    if (!body) return;
    const double dt = frameTime;
    sensor.update();
    fireClock += dt;
    mode = sensor.hadContact && sensor.timeSinceContact < 2.0 ? 1 : 0;
    if (mode == 1) {
        double tx, ty;
        sensor.getTargetPoint(tx, ty);
        const double t = distanceBetween(body->barrelTipX, body->barrelTipY, tx, ty) / 800;
        const double aim = angleToPoint(owner->x, owner->y, tx + sensor.lastVx * t, ty + sensor.lastVy * t);
        rotateBarrel(aim);
        if (std::fabs(angleDifference(aim, body->barrelAngle)) < 10 && fireClock > 1.0) {
            fireTurretLaser(*owner, body->barrelTipX, body->barrelTipY, body->barrelAngle);
            fireClock = 0;
        }
        return;
    }
    if (pausing) {
        pauseClock += dt;
        if (pauseClock < pauseLength) return;
        pausing = 0;
        hasSweepTarget = 0;
    }
    if (!hasSweepTarget) {
        sweepTarget = wrapAngle(owner->angle - 90 + randomFraction() * 180);
        hasSweepTarget = 1;
    }
    rotateBarrel(sweepTarget);
    if (std::fabs(angleDifference(sweepTarget, body->barrelAngle)) < 0.5) {
        pausing = 1;
        pauseClock = 0;
        pauseLength = randomFraction();
    }
}
