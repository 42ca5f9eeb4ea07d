// The effect spawners: bursts of particles around a direction within a spread, with a base velocity, and the
// splash of drops, bubbles and ripples at the water surface. The order of the random draws is part of each
// effect, so that a seeded generator replays it exactly.
#include "ParticleEffects.h"
#include "ImpactEffects.h"
#include "ParticlePresets.h"

#include "AngleTools.h"
#include "BehaviourTools.h"
#include "KRandom.h"

#include <algorithm>
#include <cmath>

namespace {

// One particle thrown along theta (90 points up the screen): the vertical speed is drawn before the
// horizontal one.
void throwParticle(double x, double y, double bvx, double bvy, double theta, const ParticlePreset& preset,
                   double speedMin, double speedMax) {
    const double sY = randomBetween(speedMin, speedMax);
    const double sX = randomBetween(speedMin, speedMax);
    spawnParticle(x, y, bvx + directionX(theta) * sX, bvy + directionY(theta) * sY, preset);
}

void burst(int count, const ParticlePreset& preset, double speedMin, double speedMax, double x, double y, double bvx,
           double bvy, double angle, double spread) {
    for (int i = 0; i < count; i++)
        throwParticle(x, y, bvx, bvy, randomAngleAround(angle, spread), preset, speedMin, speedMax);
}

// Rounds of two particles along the same direction, each with its own speeds.
void pairedBurst(int rounds, const ParticlePreset& first, const ParticlePreset& second, double speedMin,
                 double speedMax, double x, double y, double bvx, double bvy, double angle, double spread) {
    for (int i = 0; i < rounds; i++) {
        const double theta = randomAngleAround(angle, spread);
        throwParticle(x, y, bvx, bvy, theta, first, speedMin, speedMax);
        throwParticle(x, y, bvx, bvy, theta, second, speedMin, speedMax);
    }
}

// A trail puff: a small random drift, the vertical part drawn first.
void trailParticle(double x, double y, const ParticlePreset& preset) {
    const double vy = randomBetween(-25, 25);
    const double vx = randomBetween(-25, 25);
    spawnParticle(x, y, vx, vy, preset);
}

void waterParticles(int count, double x, double y, double angle, double speed, const ParticlePreset& preset) {
    angle = wrapAngle(angle);
    for (int i = 0; i < count; i++) {
        const double theta = wrapAngle(angle - 10 + randomFraction() * 20);
        const double fy = 0.1 + 0.9 * randomFraction();
        const double fx = 0.1 + 0.9 * randomFraction();
        spawnParticle(x, y, directionX(theta) * speed * fx, directionY(theta) * speed * fy, preset);
    }
}

} // namespace

void laserSparks(double x, double y, double bvx, double bvy, double angle, double spread) {
    burst(10, sparkPreset0, 0, 600, x, y, bvx, bvy, angle, spread);
}

void powerLaserSparks(double x, double y, double bvx, double bvy, double angle, double spread) {
    burst(10, sparkPreset5, 0, 600, x, y, bvx, bvy, angle, spread);
}

void sparksFrame3(double x, double y, double bvx, double bvy, double angle, double spread) {
    burst(10, sparkPreset3, 0, 600, x, y, bvx, bvy, angle, spread);
}

void bulletSparks(double x, double y, double bvx, double bvy, double angle, double spread) {
    burst(5, sparkPreset3, 0, 600, x, y, bvx, bvy, angle, spread);
}

void sparksFrame1(double x, double y, double bvx, double bvy, double angle, double spread) {
    burst(10, sparkPreset1, 0, 600, x, y, bvx, bvy, angle, spread);
}

void risingPuffs(double x, double y, double bvx, double bvy) {
    burst(2, puffPreset0, 0, 100, x, y, bvx, bvy, /*angle=*/90, /*spread=*/15);
}

void explosion(double x, double y, double bvx, double bvy, double angle, double spread) {
    burst(20, puffPreset0, 0, 600, x, y, bvx, bvy, angle, spread);
}

void torpedoExplosion(double x, double y, double bvx, double bvy, double angle, double spread) {
    for (int i = 0; i < 15; i++) {
        const double theta = randomAngleAround(angle, spread);
        const ParticlePreset& preset = kRand() % 2 == 0 ? sparkPreset4 : sparkPreset3;
        throwParticle(x, y, bvx, bvy, theta, preset, 0, 600);
    }
}

void droneExhaust(double x, double y, double bvx, double bvy, double angle, double spread) {
    burst(6, sparkPreset1, 200, 300, x, y, bvx, bvy, angle, spread);
    burst(2, sparkPreset3, 100, 200, x, y, bvx, bvy, angle, spread);
}

void mineExplosion(double x, double y, double bvx, double bvy, double angle, double spread) {
    burst(10, bigPuffPreset, 0, 600, x, y, bvx, bvy, angle, spread);
    burst(10, puffPreset3, 0, 600, x, y, bvx, bvy, angle, spread);
}

void chargeTrail(int count, double x, double y, double bvx, double bvy, double angle, double spread) {
    burst(count, puffPreset0, 300, 600, x, y, bvx, bvy, angle, spread);
}

void missileTrail(double x, double y) {
    trailParticle(x, y, puffPreset0);
}

void torpedoTrail(double x, double y) {
    trailParticle(x, y, sparkPreset4);
}

void bigExplosion(double x, double y, double bvx, double bvy, double angle, double spread) {
    burst(50, puffPreset3, 0, 600, x, y, bvx, bvy, angle, spread);
    // Two jets, one to each side, whatever the direction asked for.
    burst(10, puffPreset0, 600, 1200, x, y, bvx, bvy, /*angle=*/180, /*spread=*/5);
    burst(10, puffPreset0, 600, 1200, x, y, bvx, bvy, /*angle=*/0, /*spread=*/5);
}

void debrisBurst(double x, double y, double bvx, double bvy, double angle, double spread) {
    burst(20, puffPreset0, 0, 600, x, y, bvx, bvy, angle, spread);
    burst(20, puffPreset3, 0, 600, x, y, bvx, bvy, angle, spread);
}

void droneDebris(double x, double y, double bvx, double bvy, double angle, double spread) {
    burst(20, puffPreset1, 0, 600, x, y, bvx, bvy, angle, spread);
    burst(20, puffPreset0, 0, 600, x, y, bvx, bvy, angle, spread);
}

void turtleDebris(double x, double y, double bvx, double bvy, double angle, double spread) {
    burst(20, puffPreset0, 0, 600, x, y, bvx, bvy, angle, spread);
    burst(20, puffPreset1, 0, 600, x, y, bvx, bvy, angle, spread);
}

void eelDebris(double x, double y, double bvx, double bvy, double angle, double spread) {
    burst(20, puffPreset1, 0, 600, x, y, bvx, bvy, angle, spread);
    burst(20, puffPreset3, 0, 600, x, y, bvx, bvy, angle, spread);
}

void gunDebris(double x, double y, double bvx, double bvy, double angle, double spread) {
    burst(10, puffPreset1, 0, 600, x, y, bvx, bvy, angle, spread);
    burst(10, bigPuffPreset, 0, 600, x, y, bvx, bvy, angle, spread);
    burst(10, puffPreset4, 0, 600, x, y, bvx, bvy, angle, spread);
    burst(10, puffPreset3, 0, 600, x, y, bvx, bvy, angle, spread);
}

void sparkle4(double x, double y, double bvx, double bvy, double angle, double spread) {
    burst(8, glowPreset4, 100, 100, x, y, bvx, bvy, angle, spread);
}

void sparkle3(double x, double y, double bvx, double bvy, double angle, double spread) {
    burst(8, glowPreset3, 100, 100, x, y, bvx, bvy, angle, spread);
}

void sparkle1(double x, double y, double bvx, double bvy, double angle, double spread) {
    burst(8, glowPreset1, 100, 100, x, y, bvx, bvy, angle, spread);
}

void sparkle5(double x, double y, double bvx, double bvy, double angle, double spread) {
    burst(8, glowPreset5, 100, 100, x, y, bvx, bvy, angle, spread);
}

void goldSparkle(double x, double y, double bvx, double bvy, double angle, double spread) {
    burst(5, glowPreset4, 100, 100, x, y, bvx, bvy, angle, spread);
}

void pickupBurst(double x, double y, double bvx, double bvy, double angle, double spread) {
    pairedBurst(20, glowPreset4, puffPreset3, 350, 400, x, y, bvx, bvy, angle, spread);
}

void pickupBurst3(double x, double y, double bvx, double bvy, double angle, double spread) {
    burst(40, glowPreset3, 350, 400, x, y, bvx, bvy, angle, spread);
}

void pickupBurst1(double x, double y, double bvx, double bvy, double angle, double spread) {
    pairedBurst(20, glowPreset1, puffPreset3, 350, 400, x, y, bvx, bvy, angle, spread);
}

void pickupBurst5(double x, double y, double bvx, double bvy, double angle, double spread) {
    burst(40, glowPreset5, 350, 400, x, y, bvx, bvy, angle, spread);
}

void randomPuffs(double x, double y) {
    for (int i = 0; i < 10; i++) {
        // No base velocity, and the vertical part is not turned to point up the screen.
        const double theta = randomBetween(-180, 180);
        const double s = randomBetween(0, 200);
        spawnParticle(x, y, directionX(theta) * s, -directionY(theta) * s, puffPreset0);
    }
}

void splashDrops(int count, double x, double y, double angle, double speed) {
    waterParticles(count, x, y, angle, speed, dropPreset);
}

void splashBubbles(int count, double x, double y, double angle, double speed) {
    waterParticles(count, x, y, angle, speed, bubblePreset);
}

void surfaceRipple(double x, double y, double radius) {
    const int k = std::min(int(radius / 20), 5);
    for (int i = 0; i < k; i++) {
        spawnParticle(x, y, 100.0 * i, 0, puffPreset3);
        spawnParticle(x, y, -100.0 * i, 0, puffPreset3);
    }
}

void splash(double x, double y, double vx, double vy, double radius) {
    double s = std::min(std::sqrt(vx * vx + vy * vy), 600.0);
    if (!(s >= 0) || !(std::fabs(radius) < 1e6)) return; // a broken velocity or size throws nothing
    int n = std::min(int(radius / 10) + int(s / 200), 20);
    const double m = angleToPoint(0, 0, vx, vy);
    if (vy < 0) { // leaving the water: fewer, slower drops upward and bubbles below
        n /= 2;
        s /= 2;
        splashDrops(n, x, y, m + 30, s);
        splashDrops(n, x, y, m - 30, s);
        splashBubbles(n, x, y, m + 210, s);
        splashBubbles(n, x, y, m + 150, s);
    } else {
        splashBubbles(n, x, y, m + 30, s);
        splashBubbles(n, x, y, m - 30, s);
        splashDrops(n, x, y, m + 210, s);
        splashDrops(n, x, y, m + 150, s);
    }
    surfaceRipple(x, y, radius);
}
