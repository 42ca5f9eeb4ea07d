// The turret's behaviour: its barrel sweeps at random within 90 degrees of the body's facing until the
// turret sees the player, then tracks the player's predicted position and fires turret lasers from the tip.
#pragma once

#include "GF_AI.h"
#include "PlayerSensor.h"

#include <cstdint>

class GF_EntityTurret;

class GF_AITurret : public GF_AI {
public:
    explicit GF_AITurret(GF_Entity* owner);
    void update() override;
    void onHit(double angle) override { sensor.lookToward(angle); }
    void drawDebug(double cameraX, double cameraY) override { sensor.drawDebug(cameraX, cameraY); }

    PlayerSensor sensor;
    int32_t mode = 0; // 0 sweep, 1 track
    double fireClock = 0;
    uint8_t hasSweepTarget = 0;
    double sweepTarget = 0;
    double pauseClock = 0, pauseLength = 0;
    uint8_t pausing = 0;

private:
    GF_EntityTurret* turret() const;
    // Turns the barrel toward the angle by at most 180 degrees per second, never past 90 from the facing.
    void rotateBarrel(double target);
};
