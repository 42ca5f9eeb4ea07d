// The Robo Shark's behaviour: it waits out of sight beside the view, then makes passes across the screen
// toward the player, alternating sides, biting when the player comes within reach of its jaws.
#pragma once

#include "EntityVars.h"
#include "GF_AI.h"
#include "PlayerSensor.h"

#include <cstdint>

enum RoboSharkState : int32_t {
    kSharkWaitLeft = 0,  // waiting; the next pass runs left to right
    kSharkWaitRight = 1, // waiting; the next pass runs right to left
    kSharkPassLeft = 2,  // passing right to left
    kSharkPassRight = 3, // passing left to right
};

class GF_AIRoboShark : public GF_AI {
public:
    GF_AIRoboShark(GF_Entity* owner, const EntityVars& vars);
    void update() override;

    // The view boxes: centre on the view, inner and outer half sizes.
    double viewCentreX = 0, viewCentreY = 0;
    double innerHalfW = 0, innerHalfH = 0, outerHalfW = 0, outerHalfH = 0;

    WanderHelper wander;
    int32_t state;
    double passFrequency; // seconds between passes, on average
    double waitClock = 0;
    double delay = 0;
    uint8_t biting = 0;
    uint8_t biteTested = 0;
    double biteClock = 0;

private:
    void updateViewBoxes();
    void drawDelay();
    void holdWaiting();
    void startPass();
    void pass();
    void endPass();
    void bite();
};
