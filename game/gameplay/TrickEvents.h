// The level-wide scoring and meter events the entities report: tricks, the Gold Radudod meter and the target
// locks of homing torpedoes. Entities never touch the scorer's fields themselves.
#pragma once

class GF_Entity;

void countTrickHoop();      // a hoop passed
void countTrickLaserShot(); // one laser fired by the player
void setTrickHitWall();     // the player touched the terrain
void collectGoldZuzevir();  // a Gold Radudod collected
void addTargetLock(GF_Entity* tracker, GF_Entity* target);
void removeTargetLockOfTracker(GF_Entity* tracker);
void removeTargetLocksOnTarget(GF_Entity* target);
