// The enemies that hunt by sight: they patrol between two path points until they first see the player (or
// are hit), chase while they saw the player less than 3 s ago, then search random reachable water points.
// The Missile Fish and the Evil Radudod shoot and keep their distance; the TNT Turtle rams.
#pragma once

#include "EntityVars.h"
#include "GF_AI.h"
#include "PlayerSensor.h"
#include "SearchPoint.h"

#include <cstdint>

struct SightDrivenValues {
    double range, halfAngle;
    double thrust, torque;
    double wanderScale;
    double fireInterval; // seconds; 0 for one that does not shoot
    bool backsOff;       // keeps 225 pixels from its target point
    bool fullThrustAlways;
};

enum SightMode : int32_t { kSightPatrol = 0, kSightSearch = 1, kSightChase = 2 };

// The mode the sensor puts a hunter in: patrol until its first contact with the player, chase while it saw
// the player less than 3 s ago, search after that.
SightMode sightMode(const PlayerSensor& sensor);

class GF_AISightDriven : public GF_AI {
public:
    GF_AISightDriven(GF_Entity* owner, const EntityVars& vars, const SightDrivenValues& values);
    void update() override;
    void onHit(double angle) override;
    void drawDebug(double cameraX, double cameraY) override { sensor.drawDebug(cameraX, cameraY); }

    SightDrivenValues values;
    PlayerSensor sensor;
    WanderHelper wander;
    int32_t mode = kSightPatrol;
    double fireClock = 0;
    double pathX[2], pathY[2];
    int32_t pathIndex = 0;
    SearchPoint search;

protected:
    virtual void fire() = 0;
    // The stroke animation while swimming toward a point, and the one while backing off.
    virtual void startApproachSequence();
    virtual void startBackOffSequence() {}

private:
    void patrol();
    void searchForPlayer();
    void chase();
    void approach(double px, double py, double d);
    void backOff(double px, double py);
    void fireTest();
};

class GF_AILaserFish : public GF_AISightDriven {
public:
    GF_AILaserFish(GF_Entity* owner, const EntityVars& vars);

protected:
    void fire() override;
};

class GF_AIEvilZuzevir : public GF_AISightDriven {
public:
    GF_AIEvilZuzevir(GF_Entity* owner, const EntityVars& vars);
    void update() override;
    void onHit(double angle) override;
    double hurtSoundClock = 100; // seconds since the last hurt sound

protected:
    void fire() override;
    void startApproachSequence() override;
    void startBackOffSequence() override;
};

class GF_AITntTurtle : public GF_AISightDriven {
public:
    GF_AITntTurtle(GF_Entity* owner, const EntityVars& vars);

protected:
    void fire() override {}
};
