// The sight-driven enemies' knowledge of the player, and the wander drift of their thrust.
#include "PlayerSensor.h"

#include "AngleTools.h"
#include "BehaviourTools.h"
#include "CheatList.h"
#include "CollisionShape.h"
#include "DrawTools.h"
#include "FrameClock.h"
#include "GF_Entity.h"
#include "LineOfSight.h"

#include <algorithm>
#include <cmath>

void PlayerSensor::update() {
    seesPlayer = canSeePlayer() ? 1 : 0;
    if (seesPlayer) {
        hadContact = 1;
        timeSinceContact = 0;
        lastKnownX = playerEntity->x;
        lastKnownY = playerEntity->y;
        lastVx = playerEntity->vx;
        lastVy = playerEntity->vy;
        searchX = playerEntity->x;
        searchY = playerEntity->y;
    } else if (hadContact) {
        timeSinceContact += frameTime;
        if (timeSinceContact < extrapolationLimit) {
            const double nx = lastKnownX + lastVx * frameTime, ny = lastKnownY + lastVy * frameTime;
            if (!isSolidAt(nx, ny)) {
                lastKnownX = nx;
                lastKnownY = ny;
            }
        }
    }
}

bool PlayerSensor::canSeePlayer() {
    if (!playerEntity) return false;
    const double reach = isCheatOn(kCheatCloakedRadudod) ? range / 6 : range;
    if (distanceBetween(owner->x, owner->y, playerEntity->x, playerEntity->y) >= reach) return false;
    const double toPlayer = angleToPoint(owner->x, owner->y, playerEntity->x, playerEntity->y);
    if (std::fabs(angleDifference(toPlayer, owner->angle)) >= halfAngle) return false;
    if (!hasLineOfSight(owner->x, owner->y, playerEntity->x, playerEntity->y)) return false;
    searchReached = 0;
    return true;
}

void PlayerSensor::getTargetPoint(double& outX, double& outY) {
    if (isCheatOn(kCheatEnemiesRunAway)) {
        outX = owner->x + (owner->x - lastKnownX);
        outY = owner->y + (owner->y - lastKnownY);
        return;
    }
    if (!seesPlayer && !searchReached) {
        if (distanceBetween(owner->x, owner->y, searchX, searchY) < 50) {
            searchReached = 1;
        } else {
            outX = searchX;
            outY = searchY;
            return;
        }
    }
    outX = lastKnownX;
    outY = lastKnownY;
}

void PlayerSensor::lookToward(double angle) {
    if (seesPlayer) return;
    lastKnownX = searchX = owner->x + directionX(angle) * 200;
    lastKnownY = searchY = owner->y + directionY(angle) * 200;
    lastVx = lastVy = 0;
    hadContact = 1;
    searchReached = 0;
    timeSinceContact = 0;
}

void PlayerSensor::drawDebug(double cameraX, double cameraY) {
    const auto box = [&](double x, double y, float r, float g, float b) {
        const float left = float(x - 20 - cameraX), top = float(y - 20 - cameraY);
        drawRectOutline(left, top, left + 40, top + 40, r, g, b, 1);
    };
    if (seesPlayer)
        box(lastKnownX, lastKnownY, 1, 1, 1);
    else if (hadContact)
        box(lastKnownX, lastKnownY, 1, 0, 0);
    else
        box(lastKnownX, lastKnownY, 0, 0, 0);
    box(searchX, searchY, 0, 1, 0);
    double tx, ty;
    getTargetPoint(tx, ty);
    box(tx, ty, 1, 1, 0);
}

void WanderHelper::update() {
    const double dt = frameTime;
    u = std::clamp(u + (randomFraction() * 2 - 1) * rate * dt, -1.0, 1.0);
    v = std::clamp(v + (randomFraction() * 2 - 1) * rate * dt, -1.0, 1.0);
    a += u;
    b += v;
    if (a <= -1 || a >= 1) {
        a = std::clamp(a, -1.0, 1.0);
        u = 0;
    }
    if (b <= -1 || b >= 1) {
        b = std::clamp(b, -1.0, 1.0);
        v = 0;
    }
}
