// Waiting, passing and biting of the Robo Shark, all relative to the view.
#include "GF_AIRoboShark.h"

#include "AngleTools.h"
#include "BehaviourTools.h"
#include "Camera.h"
#include "CollisionCircle.h"
#include "FrameClock.h"
#include "GF_Entity.h"
#include "GameWindow.h"
#include "ParticleEffects.h"
#include "SoundTable.h"
#include "TileMap.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kPassSpeed = 300;
constexpr double kEdgeClearance = 1; // how far inside the level's side a pass starts at the least
} // namespace

GF_AIRoboShark::GF_AIRoboShark(GF_Entity* owner, const EntityVars& vars)
    : GF_AI(owner), state(vars[1] != 0 ? kSharkWaitLeft : kSharkWaitRight), passFrequency(vars[0]) {
    wander.scale = 50;
    wander.rate = 0.5;
    drawDelay();
}

void GF_AIRoboShark::drawDelay() {
    delay = passFrequency * (0.75 + randomFraction() * 0.5);
    waitClock = 0;
}

void GF_AIRoboShark::updateViewBoxes() {
    viewCentreX = cameraX + kGameWidth / 2.0;
    viewCentreY = cameraY + kGameHeight / 2.0;
    innerHalfW = 0.6 * kGameWidth;
    innerHalfH = 0.6 * kGameHeight;
    outerHalfW = 0.8 * kGameWidth;
    outerHalfH = 0.8 * kGameHeight;
}

void GF_AIRoboShark::update() {
    wander.update();
    owner->mirrored = owner->angle > 90 && owner->angle < 270 ? 1 : 0;
    updateViewBoxes();
    if (std::fabs(owner->x - viewCentreX) > outerHalfW || std::fabs(owner->y - viewCentreY) > outerHalfH) {
        // A waiting shark keeps the side of its next pass (a shark placed out of view, its Start On Left); one
        // thrown out of its pass waits to start from the side it was heading for, as at a pass's end.
        if (state == kSharkPassLeft) state = kSharkWaitLeft;
        if (state == kSharkPassRight) state = kSharkWaitRight;
        owner->setPosition(viewCentreX - innerHalfW, viewCentreY - outerHalfH);
        biting = 0;
        drawDelay();
    }
    if (state == kSharkWaitLeft || state == kSharkWaitRight) {
        holdWaiting();
        waitClock += frameTime;
        if (waitClock >= delay) startPass();
        return;
    }
    pass();
}

void GF_AIRoboShark::holdWaiting() {
    owner->intangible = 1;
    owner->setPosition(viewCentreX + innerHalfW + owner->width / 2.0, viewCentreY);
    owner->vx = owner->vy = 0;
}

void GF_AIRoboShark::startPass() {
    const double playerY = playerEntity ? playerEntity->y + playerEntity->vy : viewCentreY;
    const double y = playerY + (randomFraction() * 2 - 1) * 150;
    // A pass starts inside the level: from an edge of the inner box beyond the level's edge (the view near
    // that edge), the shark would at once be thrown out of the water at the level's side.
    if (state == kSharkWaitRight) {
        state = kSharkPassLeft;
        owner->angle = 180;
        owner->vx = -kPassSpeed;
        owner->setPosition(std::min(viewCentreX + innerHalfW, tileMap.levelWidth - kEdgeClearance), y);
    } else {
        state = kSharkPassRight;
        owner->angle = 0;
        owner->vx = kPassSpeed;
        owner->setPosition(std::max(viewCentreX - innerHalfW, kEdgeClearance), y);
    }
    owner->mirrored = owner->angle > 90 && owner->angle < 270 ? 1 : 0;
    owner->intangible = 0;
    biting = 0;
    drawDelay();
}

void GF_AIRoboShark::endPass() {
    // The next pass starts from the side this one left.
    state = state == kSharkPassLeft ? kSharkWaitLeft : kSharkWaitRight;
    biting = 0;
    holdWaiting();
}

void GF_AIRoboShark::pass() {
    playSoundAt(owner->x, owner->y, 1, kSoundSharkPass);
    const double innerLeft = viewCentreX - innerHalfW, innerRight = viewCentreX + innerHalfW;
    const double innerTop = viewCentreY - innerHalfH, innerBottom = viewCentreY + innerHalfH;
    const bool crossed = state == kSharkPassLeft ? owner->x < innerLeft : owner->x > innerRight;
    if (crossed || owner->y < innerTop || owner->y > innerBottom) {
        endPass();
        return;
    }
    owner->setPosition(std::clamp(owner->x, innerLeft, innerRight), std::clamp(owner->y, innerTop, innerBottom));
    if (owner->x <= 0 || owner->x >= tileMap.levelWidth) {
        owner->setPosition(owner->x, 0);
        owner->vy = 0;
    }
    const double heading = state == kSharkPassLeft ? 180 : 0;
    double aim = heading;
    if (playerEntity) {
        const double t = distanceBetween(owner->x, owner->y, playerEntity->x, playerEntity->y) / 300;
        const double toward = angleToPoint(owner->x, owner->y, playerEntity->x + playerEntity->vx * t,
                                           playerEntity->y + playerEntity->vy * t);
        aim = wrapAngle(heading + std::clamp(angleDifference(toward, heading), -30.0, 30.0));
    }
    owner->turnToward(aim, 200);
    owner->applyForceAtAngle(owner->angle, 500);
    owner->forceX += wander.scale * wander.a + wander.scale * wander.b;
    bite();
}

void GF_AIRoboShark::bite() {
    if (!playerEntity) return;
    double jawX, jawY;
    owner->getHotspotPoint(0, jawX, jawY);
    if (!biting) {
        if (std::fabs(playerEntity->x - jawX) < 50) {
            owner->startSequence(2);
            biting = 1;
            biteTested = 0;
            biteClock = 0;
        }
        return;
    }
    biteClock += frameTime;
    if (!biteTested && biteClock >= 0.1) {
        biteTested = 1;
        playSoundAt(jawX, jawY, 1, kSoundBite);
        CollisionCircle jaws(0, 0, 20);
        jaws.place(jawX, jawY, 0, 1, false);
        for (const CollisionCircle* circle : playerEntity->subCircles) {
            if (!jaws.overlaps(*circle)) continue;
            playerEntity->takeDamage(300, owner);
            randomPuffs(jawX, jawY);
            break;
        }
    }
    if (biteClock >= 0.5) {
        owner->startSequence(3);
        endPass();
    }
}
