// Directions, distances, the random fraction and the spawning of entities made during play.
#include "BehaviourTools.h"

#include "EntityFactory.h"
#include "EntityType.h"
#include "GF_Entity.h"
#include "KRandom.h"
#include "LineOfSight.h"
#include "ParticleEffects.h"
#include "SoundTable.h"
#include "SpatialGrid.h"
#include "SpriteAnimation.h"
#include "TerrainCodes.h"
#include "TileMap.h"
#include "WholePixels.h"

#include <cmath>

double angleToPoint(double x1, double y1, double x2, double y2) {
    const double a = std::atan2(-(y2 - y1), x2 - x1) * kDegreesPerRadian;
    return a < 0 ? a + 360.0 : a;
}

double distanceBetween(double x1, double y1, double x2, double y2) {
    return std::hypot(x2 - x1, y2 - y1);
}

double directionX(double angle) {
    return std::cos(angle / kDegreesPerRadian);
}

double directionY(double angle) {
    return -std::sin(angle / kDegreesPerRadian);
}

double randomFraction() {
    return double(kRand()) / 32767.0;
}

double randomBetween(double low, double high) {
    return low + randomFraction() * (high - low);
}

int currentSequence(const GF_Entity& e) {
    return e.animation ? e.animation->currentSequenceIndex() : e.baseSequence;
}

GF_Entity* spawnEntity(int32_t type, double x, double y, double vx, double vy, double rotation,
                       const EntityVars& vars) {
    if (!spatialGrid) return nullptr;
    GF_Entity* entity = createEntity(type, wholePixels(x), wholePixels(y), vars, vx, vy, rotation);
    if (!entity) return nullptr;
    entity->setPosition(x, y); // the factory takes whole pixels; shots leave from the exact point
    spatialGrid->queueEntity(entity);
    return entity;
}

void fireTurretLaser(const GF_Entity& shooter, double x, double y, double angle) {
    spawnEntity(kEntityTurretLaser, x, y, directionX(angle) * 800, directionY(angle) * 800, angle);
    sparksFrame1(x, y, shooter.vx, shooter.vy, angle, 30);
    playSoundAt(shooter.x, shooter.y, 1, kSoundTurretLaser);
}

bool pickSearchPoint(const GF_Entity& e, double& outX, double& outY) {
    const double rx = randomFraction(), ry = randomFraction();
    const double px = e.x + (rx * 2 - 1) * 500, py = e.y + (ry * 2 - 1) * 500;
    if (!isInsideLevel(px, py) || getSubstanceAt(px, py) != kSubstanceWater || !hasLineOfSight(px, py, e.x, e.y))
        return false;
    outX = px;
    outY = py;
    return true;
}
