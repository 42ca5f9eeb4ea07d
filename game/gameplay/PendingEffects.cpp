// Do-nothing stand-ins for the particle spawners, the trick and meter events and the game state's level
// counters, so the behaviours and shots that report them build and run before those services exist. Each
// definition here moves to its service's own file when that service is built, and this file goes.
#include "LevelEvents.h"
#include "ParticleEffects.h"
#include "TrickEvents.h"

#include "GF_AITorpedo1.h"

void laserSparks(double, double, double, double, double, double) {}
void powerLaserSparks(double, double, double, double, double, double) {}
void bulletSparks(double, double, double, double, double, double) {}
void sparksFrame1(double, double, double, double, double, double) {}
void sparksFrame3(double, double, double, double, double, double) {}
void explosion(double, double, double, double, double, double) {}
void droneExhaust(double, double, double, double, double, double) {}
void goldSparkle(double, double, double, double, double, double) {}
void sparkle1(double, double, double, double, double, double) {}
void sparkle3(double, double, double, double, double, double) {}
void sparkle4(double, double, double, double, double, double) {}
void sparkle5(double, double, double, double, double, double) {}
void risingPuffs(double, double, double, double) {}
void chargeTrail(int, double, double, double, double, double, double) {}
void missileTrail(double, double) {}
void torpedoTrail(double, double) {}
void randomPuffs(double, double) {}

void countTrickHoop() {}
void countTrickLaserShot() {}
void setTrickHitWall() {}
void collectGoldZuzevir() {}
void addTargetLock(GF_Entity*, GF_Entity*) {}
void removeTargetLockOfTracker(GF_Entity*) {}
// Until the lock list exists, a target leaving the world is at least forgotten by the torpedoes chasing it.
void removeTargetLocksOnTarget(GF_Entity* target) {
    GF_AITorpedo1::forgetTarget(target);
}

void resetGoalArrowIdleClock() {}
void countHoopPassed() {}
