// Small pieces the behaviours and shots share: directions and distances in the gameplay's angle convention,
// the sound numbers they play, and the one way a shot made during play enters the world.
#pragma once

#include "EntityVars.h"

#include <cstdint>

class GF_Entity;

// The sound table's numbers of the sounds the behaviours and shots play.
enum BehaviourSound : int {
    kSoundChargedBlast = 1,
    kSoundLaser = 8,
    kSoundTurretLaser = 9,
    kSoundChargedLaser = 10,
    kSoundMissileLaunch = 11,
    kSoundEnemyHurt = 12,
    kSoundChargedFizzle = 13,
    kSoundZap = 15,
    kSoundChargeUp = 16,
    kSoundFullCharge = 17,
    kSoundBite = 18,
    kSoundSharkPass = 19,
    kSoundTorpedoLaunch = 20,
    kSoundSwordTouch = 21,
    kSoundSwordHum = 22,
    kSoundBullet = 23,
    kSoundHoop = 24,
};

// The angle (degrees, 0 right, 90 up the screen) of the direction from (x1, y1) to (x2, y2), in [0, 360).
double angleToPoint(double x1, double y1, double x2, double y2);
double distanceBetween(double x1, double y1, double x2, double y2);
// The unit vector of a direction: (cos a, -sin a).
double directionX(double angle);
double directionY(double angle);
// A random fraction 0 .. 1 (one draw).
double randomFraction();
// A random value in [low, high] (one draw).
double randomBetween(double low, double high);
// The animation sequence the entity shows now; its base sequence when it has no animation.
int currentSequence(const GF_Entity& e);

// Makes an entity of the type at the exact point with the velocity and rotation and hands it to the spatial
// grid's pending list, which files it later in the frame and owns it. Null when there is no grid or the type
// lies outside 0..24.
GF_Entity* spawnEntity(int32_t type, double x, double y, double vx, double vy, double rotation,
                       const EntityVars& vars = EntityVars{});

// A turret laser (800 pixels per second) from the point along the angle, with its sparks and sound; the
// auto gun, the drone and the turret fire these.
void fireTurretLaser(const GF_Entity& shooter, double x, double y, double angle);

// One try at a search point for a hunting enemy: a random point within 500 pixels in x and y (x drawn, then
// y) that lies inside the level, in water, and in sight of the entity's centre.
bool pickSearchPoint(const GF_Entity& e, double& outX, double& outY);
