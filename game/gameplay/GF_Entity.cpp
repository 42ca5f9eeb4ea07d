// The entity base: the frame step (drag, gravity, hit pulse, automatic flip, behaviour, integration, medium
// change, lifetime and fades), damage and death, steering and deflection.
#include "GF_Entity.h"

#include "AngleTools.h"
#include "Camera.h"
#include "EntityKinds.h"
#include "FrameClock.h"
#include "GF_AI.h"
#include "GameOptions.h"
#include "ImpactEffects.h"
#include "KRandom.h"
#include "SoundTable.h"
#include "SpriteAnimation.h"
#include "SpriteSheet.h"
#include "TileMap.h"
#include "TrickEvents.h"
#include "WholePixels.h"

#include <algorithm>
#include <cmath>

GF_Entity* playerEntity = nullptr;

namespace {

GF_Entity* retiredPlayer = nullptr; // the player after the grid let go of it

constexpr double kMaxSpeed = 2000;
constexpr double kMaxAngularSpeed = 1000;

} // namespace

void setPlayerEntity(GF_Entity* entity) {
    if (retiredPlayer && retiredPlayer != entity) {
        delete retiredPlayer;
        retiredPlayer = nullptr;
    }
    playerEntity = entity;
}

void releaseEntity(GF_Entity* entity) {
    if (entity == playerEntity) {
        retiredPlayer = entity;
        return;
    }
    delete entity;
}

void freeRetiredPlayer() {
    if (!retiredPlayer) return;
    if (playerEntity == retiredPlayer) playerEntity = nullptr;
    delete retiredPlayer;
    retiredPlayer = nullptr;
}

GF_Entity::GF_Entity(const EntityKind& kind, double x, double y, double vx, double vy, double angle)
    : width(kind.width), height(kind.height), radius(std::hypot(double(kind.width), double(kind.height)) / 2), x(x),
      y(y), left(x - kind.width / 2.0), top(y - kind.height / 2.0), vx(vx), vy(vy), angle(angle),
      maxHealth(kind.health), health(kind.health), contactDamage(kind.contactDamage), type(kind.type) {
    const uint32_t f = kind.flags;
    hasLifetime = (f & kFlagLifetime) ? 1 : 0;
    lifetime = kind.lifetime;
    fadeTime = kind.fadeTime;
    dyingFadeTime = kind.dyingFadeTime;
    dynamic = (f & kFlagDynamic) ? 1 : 0;
    hasDrag = (f & kFlagDrag) ? 1 : 0;
    mass = kind.mass;
    dragAlong = kind.dragAlong;
    dragAcross = kind.dragAcross;
    angularDrag = kind.angularDrag;
    inertia = kind.inertia;
    waterBuoyancy = kind.waterBuoyancy;
    mirrored = angle > 180 ? 1 : 0;
    flipSequence = kind.flipSequence;
    reverseSequence = kind.reverseSequence;
    baseSequence = kind.baseSequence;
    countsAsEnemy = (f & kFlagCountsAsEnemy) ? 1 : 0;
    targetable = (f & kFlagTargetable) ? 1 : 0;
    hitsTerrain = (f & kFlagHitsTerrain) ? 1 : 0;
    slidesOnWalls = (f & kFlagSlidesOnWalls) ? 1 : 0;
    survivesWalls = (f & kFlagSurvivesWalls) ? 1 : 0;
    deflectable = (f & kFlagDeflectable) ? 1 : 0;
    deflects = (f & kFlagDeflects) ? 1 : 0;
    killedByShot = (f & kFlagKilledByShot) ? 1 : 0;
    killedByBody = (f & kFlagKilledByBody) ? 1 : 0;
    isShot = (f & kFlagShot) ? 1 : 0;
    enemySide = (f & kFlagEnemySide) ? 1 : 0;
    crossesSides = (f & kFlagCrossesSides) ? 1 : 0;
    isBody = (f & kFlagBody) ? 1 : 0;
    harms = (f & kFlagHarms) ? 1 : 0;
    collectsPickups = (f & kFlagCollectsPickups) ? 1 : 0;
    isPickup = (f & kFlagPickup) ? 1 : 0;
    drawnInFront = (f & kFlagDrawnInFront) ? 1 : 0;
    subCircles.reserve(size_t(kind.circleCount));
    for (int i = 0; i < kind.circleCount; i++)
        subCircles.push_back(new CollisionCircle(kind.circles[i].x, kind.circles[i].y, kind.circles[i].radius));
    boundingCircle = new CollisionCircle(0, 0, radius);
    updateCircles();
}

GF_Entity::~GF_Entity() {
    // Whoever deletes the player, nothing is left pointing at it.
    if (playerEntity == this) playerEntity = nullptr;
    if (retiredPlayer == this) retiredPlayer = nullptr;
    if (getCameraTarget() == this) clearCameraTarget(); // a level without a player start leaves none to follow
    for (CollisionCircle* circle : subCircles) delete circle;
    delete boundingCircle;
    delete animation;
    delete behaviour;
}

void GF_Entity::update() {
    const double dt = frameTime;
    previousMedium = medium;
    forceX = forceY = torque = ax = ay = angularAcceleration = 0;
    medium = getSubstanceAt(x, y);
    const bool inAir = medium != kSubstanceWater;

    if (hasDrag) {
        const double speed = std::hypot(vx, vy);
        double d = std::fabs(angleDifference(getVelocityAngle(), angle));
        if (d > 90) d = 180 - d; // a velocity against the facing counts as along it
        const double c = (1 - d / 90) * dragAlong + (d / 90) * dragAcross;
        const double k = inAir ? 0.001 : 0.01;
        const double factor = inAir ? airDragFactor : 1.0;
        const double drag = c * k * speed * speed * factor;
        if (speed != 0) {
            forceX -= drag * vx / speed;
            forceY -= drag * vy / speed;
        }
        const double angular = angularDrag * k * angularVelocity * angularVelocity * factor;
        if (angularVelocity > 0)
            torque -= angular;
        else if (angularVelocity < 0)
            torque += angular;
    }

    if (feelsGravity) forceY += mass * (inAir ? getGravity() : waterBuoyancy);

    hitPulseClock += dt;
    if (hitPulseClock < hitPulseTime) {
        const double t = hitPulseClock / hitPulseTime;
        scale = baseScale * std::min(1.0, hitPulseMinScale + t * (1 - hitPulseMinScale));
        alpha = baseAlpha * std::min(1.0, hitPulseMinAlpha + t * (1 - hitPulseMinAlpha));
    } else {
        scale = baseScale;
        alpha = baseAlpha;
    }

    animationEnded = 0;
    if (animation) {
        if (SpriteSequence* sequence = animation->currentSequence()) animationEnded = sequence->advance() ? 1 : 0;
        if (animationEnded) startSequence(baseSequence);
    }
    if (!flipping && !reversing && flipSequence != -1) {
        const bool turnRight = mirrored && (angle < flipAngles[0] || angle > flipAngles[3]);
        const bool turnLeft = !mirrored && angle > flipAngles[1] && angle < flipAngles[2];
        if (turnRight || turnLeft) {
            mirrored = !mirrored;
            startSequence(flipSequence);
            flipping = 1;
        }
    }

    if (behaviour) behaviour->update();

    if (dynamic) {
        ax = forceX / mass;
        ay = forceY / mass;
        vx += ax * dt;
        vy += ay * dt;
        angularAcceleration = torque / inertia;
        angularVelocity += angularAcceleration * dt;
        vx = std::clamp(vx, -kMaxSpeed, kMaxSpeed);
        vy = std::clamp(vy, -kMaxSpeed, kMaxSpeed);
        angularVelocity = std::clamp(angularVelocity, -kMaxAngularSpeed, kMaxAngularSpeed);
    }
    left += vx * dt;
    x = left + width / 2.0;
    top += vy * dt;
    y = top + height / 2.0;
    angle = wrapAngle(angle + angularVelocity * dt);
    updateCircles();

    if (medium != previousMedium) {
        double surfaceX, surfaceY;
        findWaterSurface(x, y, surfaceX, surfaceY);
        splash(surfaceX, surfaceY, vx, vy, radius);
        playSplashSound(surfaceX, surfaceY, vy, radius);
    }

    if (expiring) {
        fadeClock += dt;
        alpha = 1 - fadeClock / fadeTime;
        if (fadeClock > fadeTime) removed = 1;
    } else if (dying) {
        fadeClock += dt;
        scale = (1 - fadeClock / dyingFadeTime) * baseScale;
        if (fadeClock > dyingFadeTime) {
            removed = 1;
            onFadeEnd();
        }
    } else if (hasLifetime && !dead) {
        // An entity that died by a hit has left the world already; its lifetime no longer runs out.
        age += dt;
        if (age > lifetime) {
            dead = 1;
            expiring = 1;
            onRemoved();
        }
    }
}

void GF_Entity::draw(double cameraX, double cameraY) {
    if (!animation) return;
    // Mirrored is a flip across the facing axis, so that a dolphin facing left still swims upright.
    animation->drawTransformed(wholePixels(left - cameraX), wholePixels(top - cameraY), angle, scale, alpha, false,
                               mirrored != 0);
}

double GF_Entity::getContactDamage() {
    return contactDamage;
}

void GF_Entity::onTerrainContact(double, double) {}

void GF_Entity::onEntityContact(double, double) {}

void GF_Entity::getEmitPoint(double& outX, double& outY) {
    outX = x;
    outY = y;
}

bool GF_Entity::isNotTurning() {
    return !animation || animation->currentSequenceIndex() != baseSequence;
}

void GF_Entity::takeDamage(double amount, GF_Entity* attacker) {
    health -= amount;
    if (attacker && attacker->isShot && behaviour) behaviour->onHit(wrapAngle(attacker->getVelocityAngle() + 180));
    const bool byShot = attacker && attacker->isShot;
    if ((byShot && killedByShot) || (!byShot && killedByBody)) {
        // An entity already leaving the world (removed, fading out or in its dying fade) does not leave it twice.
        if (!removed && !dead) dieAtOnce();
        return;
    }
    checkDeath();
}

void GF_Entity::onWallImpact(double) {}

void GF_Entity::onDeathEffect() {}

void GF_Entity::onFadeEnd() {}

void GF_Entity::checkDeath() {
    if (health < 0 && !dead) dieAtOnce();
}

void GF_Entity::onRemoved() {
    removeTargetLocksOnTarget(this);
}

void GF_Entity::dieAtOnce() {
    dead = 1;
    removed = 1;
    onDeathEffect();
    onRemoved();
}

void GF_Entity::startDyingFade() {
    dead = 1;
    dying = 1;
    fadeClock = 0;
    onRemoved();
}

void GF_Entity::checkDeathDyingFade() {
    if (health < 0 && !dead) startDyingFade();
}

void GF_Entity::checkDeathFishLike() {
    if (health >= 0 || dead) return;
    if (health < -10) {
        startDyingFade();
        return;
    }
    dead = 1;
    removed = 1;
    onDeathEffect();
    onRemoved();
}

void GF_Entity::applyForceAtAngle(double direction, double magnitude) {
    const double radians = direction / kDegreesPerRadian;
    forceX += std::cos(radians) * magnitude;
    forceY -= std::sin(radians) * magnitude;
}

void GF_Entity::heal(double amount) {
    health = std::min(health + amount, maxHealth);
}

namespace {

// A turn larger than the threshold turns the entity about at once (with its reverse sequence).
double reverseIfTooFar(GF_Entity& e, double targetAngle) {
    double d = angleDifference(targetAngle, e.angle);
    if (!e.reversing && std::fabs(d) > e.reverseThreshold) {
        e.mirrored = !e.mirrored;
        e.angle = wrapAngle(e.angle + 180);
        if (e.reverseSequence != -1) {
            e.startSequence(e.reverseSequence);
            e.reversing = 1;
        }
        d = angleDifference(targetAngle, e.angle);
    }
    return d;
}

} // namespace

void GF_Entity::turnToward(double targetAngle, double torqueAmount) {
    const double dt = frameTime;
    const double d = reverseIfTooFar(*this, targetAngle);
    if (std::fabs(d) < 200 * dt && std::fabs(angularVelocity) < 2000 * dt) {
        angle = targetAngle;
        angularVelocity = 0;
        return;
    }
    const double ratio = angularVelocity == 0 ? 1000000.0 : d / angularVelocity;
    const double q = ratio * torqueAmount / inertia;
    const double w = angularVelocity > 0 ? angularVelocity - q : angularVelocity + q;
    if (w < 0)
        torque += torqueAmount;
    else
        torque -= torqueAmount;
}

void GF_Entity::turnTowardAtRate(double targetAngle, double rate) {
    const double d = reverseIfTooFar(*this, targetAngle);
    angularVelocity = 0;
    const double step = rate * frameTime;
    if (std::fabs(d) <= step)
        angle = wrapAngle(targetAngle);
    else
        angle = wrapAngle(angle + (d > 0 ? step : -step));
}

double GF_Entity::getVelocityAngle() const {
    return wrapAngle(std::atan2(-vy, vx) * kDegreesPerRadian);
}

double GF_Entity::steerAngleToward(double targetAngle) const {
    return pushAngleAway(targetAngle, getVelocityAngle());
}

double GF_Entity::steerAngleToPoint(double px, double py) const {
    return steerAngleToward(wrapAngle(std::atan2(-(py - y), px - x) * kDegreesPerRadian));
}

void GF_Entity::getHotspotPoint(int index, double& outX, double& outY) const {
    outX = x;
    outY = y;
    double hx, hy;
    bool flipX = false, flipY = false;
    if (!animation || !animation->currentHotspot(index, hx, hy, &flipX, &flipY)) return;
    if (flipX) hx = -hx;
    if (flipY != (mirrored != 0)) hy = -hy;
    rotateVector(-angle, hx, hy); // counter-clockwise on a screen whose y grows downwards
    outX = x + hx * scale;
    outY = y + hy * scale;
}

void GF_Entity::deflect() {
    const double speed = std::hypot(vx, vy);
    const double spread = (kRand() % 2 == 0) ? 10 : 20;
    const double heading = randomAngleAround(getVelocityAngle() + 180, spread);
    angle = heading;
    vx = std::cos(heading / kDegreesPerRadian) * speed;
    vy = -std::sin(heading / kDegreesPerRadian) * speed;
    if (enemySide) {
        static constexpr double kDamageByDifficulty[5] = {8, 4, 2, 1, 40};
        enemySide = 0;
        contactDamage *= kDamageByDifficulty[std::clamp(GameOptions.difficulty, 0, 4)];
    }
}

void GF_Entity::updateCircles() {
    boundingCircle->place(x, y, angle, scale, mirrored != 0);
    for (CollisionCircle* circle : subCircles) circle->place(x, y, angle, scale, mirrored != 0);
}

void GF_Entity::setPosition(double newX, double newY) {
    x = newX;
    y = newY;
    left = x - width / 2.0;
    top = y - height / 2.0;
    updateCircles();
}

void GF_Entity::startSequence(int sequence) {
    if (animation) animation->setSequence(sequence);
    if (sequence == baseSequence) flipping = reversing = 0;
}
