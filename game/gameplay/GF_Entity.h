// The entity base: the rigid body (position, velocity, facing, forces, torque) in water or air, the animation
// with its automatic turn-around, health and contact damage, the flags that decide which pairs touch, the
// collision circles, lifetime and fades, and the one behaviour it owns. The spatial grid drives it.
#pragma once

#include "Camera.h"
#include "CollisionCircle.h"
#include "PartPool.h"

#include <cstdint>

class GF_AI;
class SpriteAnimation;
struct EntityKind;

constexpr double kDegreesPerRadian = 57.29577951307855;

class GF_Entity : public CameraSubject, public PooledPart {
public:
    // The values of one kind's table row; the kind's constructor then makes the animation and behaviour.
    GF_Entity(const EntityKind& kind, double x, double y, double vx, double vy, double angle);
    GF_Entity(const GF_Entity&) = delete;
    GF_Entity& operator=(const GF_Entity&) = delete;

    // The 14 operations the kinds override, in slot order.
    virtual ~GF_Entity();
    virtual void update();
    virtual void draw(double cameraX, double cameraY);
    virtual double getContactDamage();
    virtual void onTerrainContact(double x, double y);
    virtual void onEntityContact(double x, double y);
    virtual void getEmitPoint(double& outX, double& outY);
    virtual bool isNotTurning();
    virtual void takeDamage(double amount, GF_Entity* attacker);
    virtual void onWallImpact(double normalAngle);
    virtual void onDeathEffect();
    virtual void onFadeEnd();
    virtual void checkDeath();
    virtual void onRemoved();

    // What the camera follows of an entity.
    double getCameraSubjectX() const override { return x; }
    double getCameraSubjectY() const override { return y; }
    double getCameraSubjectVX() const override { return vx; }
    double getCameraSubjectVY() const override { return vy; }

    void applyForceAtAngle(double angle, double magnitude);
    void heal(double amount);
    // Torque steering: accelerates toward the target and brakes before overshooting; reverses at once when
    // the turn asked for is larger than reverseThreshold.
    void turnToward(double targetAngle, double torqueAmount);
    // Kinematic steering at rate degrees per second (the same reversal test).
    void turnTowardAtRate(double targetAngle, double rate);
    double getVelocityAngle() const;
    // The target pushed away from the velocity direction, so that steering over-corrects the drift.
    double steerAngleToward(double targetAngle) const;
    double steerAngleToPoint(double px, double py) const;
    // Hotspot index of the current animation frame in world coordinates; the centre when there is none.
    void getHotspotPoint(int index, double& outX, double& outY) const;
    // Sends the entity back the way it came (within 10 or 20 degrees); an enemy shot changes sides.
    void deflect();
    // Copies position, facing, scale and mirroring into every circle.
    void updateCircles();
    // Moves the centre (left and top follow) and updates the circles.
    void setPosition(double newX, double newY);
    // Starts a sequence of the animation; a return to baseSequence ends a flip or reverse.
    void startSequence(int sequence);

    // The death routes the kinds' checkDeath and the frame step use.
    void dieAtOnce();      // dead, removed, onDeathEffect, onRemoved
    void startDyingFade(); // dead, dying, onRemoved; the effect follows at the fade's end
    void checkDeathDyingFade();
    void checkDeathFishLike(); // below -10 the dying fade, between -10 and 0 an immediate death

    SpriteAnimation* animation = nullptr; // owned
    int32_t width, height;
    double radius;
    double x, y;
    uint8_t dead = 0;
    uint8_t hasLifetime = 0;
    double age = 0;
    double lifetime = -1;
    double fadeTime = 1;
    double dyingFadeTime = 0.25;
    double fadeClock = 0;
    uint8_t expiring = 0, dying = 0, removed = 0;
    uint8_t dynamic = 0;
    uint8_t hasDrag = 0;
    uint8_t feelsGravity = 1;
    int32_t medium = 0, previousMedium = 0; // substance code: 0 water, 1 air
    double left, top;
    double vx, vy;
    double ax = 0, ay = 0;
    double forceX = 0, forceY = 0;
    double angle;
    double angularVelocity = 0, angularAcceleration = 0, torque = 0;
    double mass = 1;
    double dragAlong = 1, dragAcross = 1;
    double inertia = 1;
    double angularDrag = 1;
    double waterBuoyancy = 0;
    double airDragFactor = 1.0;
    uint8_t animationEnded = 0;
    uint8_t mirrored = 0;
    int32_t flipSequence = -1, reverseSequence = -1, baseSequence = 0;
    double flipAngles[4] = {65, 115, 245, 295};
    double reverseThreshold = 130;
    uint8_t flipping = 0, reversing = 0;
    double baseScale = 1, baseAlpha = 1, scale = 1, alpha = 1;
    uint8_t hitPulseEnabled = 1;
    double hitPulseMinScale = 0.8, hitPulseMinAlpha = 0.5;
    double hitPulseClock = 10000;
    double hitPulseTime = 0.1;
    uint8_t countsAsEnemy = 0;
    uint8_t targetable = 0;
    uint8_t hitsTerrain = 0;
    uint8_t slidesOnWalls = 0;
    uint8_t survivesWalls = 0;
    uint8_t deflectable = 0;
    uint8_t deflects = 0;
    double maxHealth, health;
    double contactDamage;
    uint8_t killedByShot = 0, killedByBody = 0;
    uint8_t isShot = 0;
    uint8_t enemySide = 0;
    uint8_t crossesSides = 0;
    uint8_t intangible = 0;
    uint8_t isBody = 0;
    uint8_t harms = 0;
    uint8_t collectsPickups = 0;
    uint8_t isPickup = 0;
    uint8_t drawnInFront = 0;
    PartList<CollisionCircle*> subCircles; // owned
    CollisionCircle* boundingCircle;       // owned
    GF_AI* behaviour = nullptr;            // owned
    int32_t type;                          // EntityType of the kind it was made as
};

// The player entity: set by the factory for every player made, kept after the grid unlinks it, until the next
// level load makes a new one. Null before the first.
extern GF_Entity* playerEntity;
// Makes the entity the player; a previous player that has already left the grid is deleted now.
void setPlayerEntity(GF_Entity* entity);
// Lets go of an entity that leaves the grid: deletes it, except the current player, who is kept (and deleted
// when a new player replaces it or at freeRetiredPlayer).
void releaseEntity(GF_Entity* entity);
// Deletes a player that has left the grid and clears playerEntity if it was that one (shutdown).
void freeRetiredPlayer();

// The contact of two entities of neighbouring cells (a: the neighbour's, or the later one in the same cell;
// b: the one of the cell being walked): the side and kind rules, then the circle tests; on contact
// onEntityContact goes to b, then a, and resolveContact runs. True when they touched.
bool contactFilter(GF_Entity* a, GF_Entity* b);
// Damage both ways, b first; deflections; hit pulses.
void resolveContact(GF_Entity* a, GF_Entity* b);
// The entity against the terrain of its cells: sliding and pushing out, or death at the wall.
void terrainContact(GF_Entity* entity);
