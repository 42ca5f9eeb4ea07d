// The particle spawners the behaviours and shots start: bursts of sparks, puffs, trails and sparkles at a
// world point, with a base velocity added to every particle, around a direction (degrees) within a spread.
#pragma once

void laserSparks(double x, double y, double bvx, double bvy, double angle, double spread);
void powerLaserSparks(double x, double y, double bvx, double bvy, double angle, double spread);
void bulletSparks(double x, double y, double bvx, double bvy, double angle, double spread);
void sparksFrame1(double x, double y, double bvx, double bvy, double angle, double spread);
void sparksFrame3(double x, double y, double bvx, double bvy, double angle, double spread);
void explosion(double x, double y, double bvx, double bvy, double angle, double spread);
void droneExhaust(double x, double y, double bvx, double bvy, double angle, double spread);
void goldSparkle(double x, double y, double bvx, double bvy, double angle, double spread);
void sparkle1(double x, double y, double bvx, double bvy, double angle, double spread);
void sparkle3(double x, double y, double bvx, double bvy, double angle, double spread);
void sparkle4(double x, double y, double bvx, double bvy, double angle, double spread);
void sparkle5(double x, double y, double bvx, double bvy, double angle, double spread);
void risingPuffs(double x, double y, double bvx, double bvy);
void chargeTrail(int count, double x, double y, double bvx, double bvy, double angle, double spread);
void missileTrail(double x, double y);
void torpedoTrail(double x, double y);
void randomPuffs(double x, double y);
