// Waking, searching, chasing, the tail strokes and the zap of the electric eel.
#include "GF_AIEel.h"

#include "AngleTools.h"
#include "BehaviourTools.h"
#include "FrameClock.h"
#include "GF_EntityKinds.h"
#include "SoundTable.h"
#include "SpriteAnimation.h"
#include "TerrainCodes.h"

#include <cmath>

namespace {
constexpr double kWakeDistance = 250;
constexpr double kZapDistance = 250;
} // namespace

GF_AIEel::GF_AIEel(GF_Entity* owner) : GF_AI(owner), sensor(owner, 1300, 65) {
    sensor.lastKnownX = sensor.searchX = owner->x;
    sensor.lastKnownY = sensor.searchY = owner->y;
}

void GF_AIEel::update() {
    const double dt = frameTime;
    auto* eel = dynamic_cast<GF_EntityEel*>(owner);
    if (eel) eel->zapping = eel->sparking = 0;
    if (mode != kSightPatrol) sensor.update();
    search.clock += dt;
    mode = sightMode(sensor);

    if (mode == kSightPatrol) {
        if (playerEntity && distanceBetween(owner->x, owner->y, playerEntity->x, playerEntity->y) < kWakeDistance)
            sensor.update();
        return;
    }
    if (eel) eel->sparking = 1;
    if (mode == kSightSearch) {
        if (search.step(*owner)) swim(search.x, search.y);
        return;
    }
    double tx, ty;
    sensor.getTargetPoint(tx, ty);
    swim(tx, ty);
    if (sensor.seesPlayer) zap(tx, ty);
}

void GF_AIEel::swim(double px, double py) {
    owner->turnToward(owner->steerAngleToPoint(px, py), 500);
    const double toPoint = angleToPoint(owner->x, owner->y, px, py);
    if (std::fabs(angleDifference(toPoint, owner->angle)) >= 30 || owner->medium != kSubstanceWater) return;
    const int sequence = currentSequence(*owner);
    if (sequence == owner->flipSequence || sequence == owner->reverseSequence) lastStroke = 1; // next: 0
    if (owner->animationEnded || sequence == owner->baseSequence) {
        lastStroke = lastStroke == 0 ? 1 : 0;
        owner->startSequence(lastStroke);
    }
    const int now = owner->animation ? owner->animation->currentSequenceIndex() : lastStroke;
    if (now == 1) owner->applyForceAtAngle(owner->angle, 1000);
}

void GF_AIEel::zap(double tx, double ty) {
    if (!playerEntity || playerEntity->health < 0) return;
    if (distanceBetween(owner->x, owner->y, tx, ty) >= kZapDistance) return;
    if (auto* eel = dynamic_cast<GF_EntityEel*>(owner)) eel->zapping = 1;
    playSoundAt(owner->x, owner->y, 1, kSoundZap);
    playerEntity->takeDamage(200 * frameTime, owner);
}
