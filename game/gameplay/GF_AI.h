// The behaviour base: every entity owns one behaviour, whose update its frame step calls after the forces and
// before the integration. GF_AINone is the behaviour of shots, pickups, hoops and ornaments.
#pragma once

#include "PartPool.h"

class GF_Entity;

class GF_AI : public PooledPart {
public:
    explicit GF_AI(GF_Entity* owner) : owner(owner) {}
    GF_AI(const GF_AI&) = delete;
    GF_AI& operator=(const GF_AI&) = delete;

    virtual ~GF_AI() = default;
    // The owner was hit by a shot that came from this direction (degrees).
    virtual void onHit(double angle) { (void)angle; }
    virtual void update() = 0;
    // Debug markers; nothing calls it during play.
    virtual void drawDebug(double cameraX, double cameraY) {
        (void)cameraX;
        (void)cameraY;
    }

    GF_Entity* owner; // not owned: the entity owns its behaviour
};

class GF_AINone : public GF_AI {
public:
    using GF_AI::GF_AI;
    void update() override {}
};
