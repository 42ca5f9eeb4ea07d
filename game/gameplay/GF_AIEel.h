// The electric eel's behaviour: it lies still until the player comes within 250 pixels, then hunts like the
// other sight-driven enemies with strokes of its tail, sparking while awake and zapping the player close by.
#pragma once

#include "GF_AI.h"
#include "GF_AISightDriven.h"
#include "PlayerSensor.h"
#include "SearchPoint.h"

#include <cstdint>

class GF_AIEel : public GF_AI {
public:
    explicit GF_AIEel(GF_Entity* owner);
    void update() override;
    void onHit(double angle) override { sensor.lookToward(angle); }
    void drawDebug(double cameraX, double cameraY) override { sensor.drawDebug(cameraX, cameraY); }

    PlayerSensor sensor;
    int32_t mode = kSightPatrol;
    SearchPoint search;
    int32_t lastStroke = 1; // the stroke sequence (0 or 1) started last

private:
    void swim(double px, double py);
    void zap(double tx, double ty);
};
