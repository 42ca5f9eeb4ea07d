// The behaviours that run fixed patterns: the Missile Fish's missile, the Gold Radudod's sparkle, the mine's
// warning light, the auto gun, the strafing drone and the bombing bird.
#pragma once

#include "EntityVars.h"
#include "GF_AI.h"

#include <cstdint>

class GF_AIMissile : public GF_AI {
public:
    using GF_AI::GF_AI;
    void update() override;
};

class GF_AIGoldFish : public GF_AI {
public:
    using GF_AI::GF_AI;
    void update() override;
    double sparkleClock = 0;
};

class GF_AIMine : public GF_AI {
public:
    using GF_AI::GF_AI;
    void update() override;
};

class GF_AIAutoGun : public GF_AI {
public:
    using GF_AI::GF_AI;
    void update() override;
    double fireClock = 0;
};

class GF_AIDrone : public GF_AI {
public:
    GF_AIDrone(GF_Entity* owner, const EntityVars& vars);
    void update() override;
    double spawnX, spawnY;
    double travel;       // half the size of its box
    double fireInterval; // seconds
    double fireClock = 0;
    double exhaustClock = 0;
    int32_t side = 1; // +1 strafes along facing + 90, -1 along facing - 90
    uint8_t wasOutside = 0;
};

// Pixels a bird flies right of its spawn when its path end does not lie right of it.
constexpr double kBirdDefaultRun = 640;

class GF_AIBird : public GF_AI {
public:
    GF_AIBird(GF_Entity* owner, const EntityVars& vars);
    void update() override;
    double spawnX, spawnY;
    double pathX2;
    uint8_t flyingRight = 1;
    double bombClock = 0;
};
