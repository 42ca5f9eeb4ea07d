// The particle effects of deaths, pickups and water crossings that the entity kinds start: explosions,
// debris, pickup bursts and splashes. The spawners of shots and behaviours are in ParticleEffects.h.
#pragma once

void torpedoExplosion(double x, double y, double bvx, double bvy, double angle, double spread);
void mineExplosion(double x, double y, double bvx, double bvy, double angle, double spread);
void bigExplosion(double x, double y, double bvx, double bvy, double angle, double spread);
void debrisBurst(double x, double y, double bvx, double bvy, double angle, double spread);
void droneDebris(double x, double y, double bvx, double bvy, double angle, double spread);
void turtleDebris(double x, double y, double bvx, double bvy, double angle, double spread);
void eelDebris(double x, double y, double bvx, double bvy, double angle, double spread);
void gunDebris(double x, double y, double bvx, double bvy, double angle, double spread);
void pickupBurst(double x, double y, double bvx, double bvy, double angle, double spread);
void pickupBurst1(double x, double y, double bvx, double bvy, double angle, double spread);
void pickupBurst3(double x, double y, double bvx, double bvy, double angle, double spread);
void pickupBurst5(double x, double y, double bvx, double bvy, double angle, double spread);

// An entity of the given radius crossing the water surface at (x, y) with its velocity: drops and bubbles
// thrown both ways, by its speed and size, and a ripple along the surface.
void splash(double x, double y, double vx, double vy, double radius);
void splashDrops(int count, double x, double y, double angle, double speed);
void splashBubbles(int count, double x, double y, double angle, double speed);
void surfaceRipple(double x, double y, double radius);
