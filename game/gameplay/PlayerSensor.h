// What a sight-driven enemy knows of the player: whether it sees the player now (range, sight cone, line of
// sight), where it last saw the player and how the player moved, extrapolated a little after losing sight,
// and the point it searches toward.
#pragma once

#include <cstdint>

class GF_Entity;

class PlayerSensor {
public:
    PlayerSensor(GF_Entity* owner, double range, double halfAngle) : owner(owner), range(range), halfAngle(halfAngle) {}

    void update();
    bool canSeePlayer();
    // Where the owner should head for: the search point until it is reached, then the last known position;
    // mirrored through the owner while "Enemies Run Away" is on.
    void getTargetPoint(double& outX, double& outY);
    // A hit from this direction: unless it sees the player, the owner starts looking 200 pixels that way.
    void lookToward(double angle);
    void drawDebug(double cameraX, double cameraY);

    GF_Entity* owner;
    uint8_t seesPlayer = 0;
    uint8_t hadContact = 0;
    double timeSinceContact = 0;
    double extrapolationLimit = 1.0;
    double lastKnownX = 0, lastKnownY = 0, lastVx = 0, lastVy = 0;
    double searchX = 0, searchY = 0;
    uint8_t searchReached = 0;
    double range, halfAngle;
};

// The drift of a wandering swimmer: two values that wander within -1 .. 1 with bounded random velocities.
struct WanderHelper {
    void update();

    double u = 0, v = 0; // velocities of a and b
    double a = 0, b = 0;
    double scale = 0;
    double rate = 0.5;
};
