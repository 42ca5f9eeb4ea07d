// The homing torpedo's behaviour: steers at its own rate toward where its target will be, thrusting along
// its facing. A torpedo fired with no target flies straight.
#pragma once

#include "GF_AI.h"

class GF_AITorpedo1 : public GF_AI {
public:
    explicit GF_AITorpedo1(GF_Entity* owner);
    ~GF_AITorpedo1() override;
    void update() override;

    // Every torpedo locked on the entity forgets it (the target is leaving the world).
    static void forgetTarget(GF_Entity* target);

    GF_Entity* target = nullptr; // not owned
};
