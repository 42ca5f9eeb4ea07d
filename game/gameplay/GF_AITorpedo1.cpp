// The homing torpedo: lead, drift-corrected steering and thrust. The live torpedoes are listed so that a
// target leaving the world can be forgotten by every torpedo chasing it.
#include "GF_AITorpedo1.h"

#include "AngleTools.h"
#include "BehaviourTools.h"
#include "GF_Entity.h"
#include "TerrainCodes.h"
#include "TrickEvents.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
std::vector<GF_AITorpedo1*> liveTorpedoes;
}

GF_AITorpedo1::GF_AITorpedo1(GF_Entity* owner) : GF_AI(owner) {
    liveTorpedoes.push_back(this);
}

GF_AITorpedo1::~GF_AITorpedo1() {
    liveTorpedoes.erase(std::find(liveTorpedoes.begin(), liveTorpedoes.end(), this));
    // The torpedo is going, whichever way it left (a shot past the grid's edge is dropped without onRemoved):
    // no bracket may stay on its target for it.
    removeTargetLockOfTracker(owner);
}

void GF_AITorpedo1::forgetTarget(GF_Entity* gone) {
    for (GF_AITorpedo1* torpedo : liveTorpedoes)
        if (torpedo->target == gone) torpedo->target = nullptr;
}

void GF_AITorpedo1::update() {
    if (target) {
        const double d = distanceBetween(owner->x, owner->y, target->x, target->y);
        const double t = d / std::max(std::hypot(owner->vx, owner->vy), 400.0);
        const double aim = angleToPoint(owner->x, owner->y, target->x + target->vx * t, target->y + target->vy * t);
        owner->turnTowardAtRate(owner->steerAngleToward(aim), 400);
    }
    owner->applyForceAtAngle(owner->angle, owner->medium == kSubstanceAir ? 500 : 1000);
}
