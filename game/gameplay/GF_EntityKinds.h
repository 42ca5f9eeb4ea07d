// The 25 entity kinds. Each takes its values from its row of the kinds table (EntityKinds.h) through the base
// constructor, builds its animation, and overrides only what sets it apart: its death rule and effect, and
// the few operations named per kind. The factory (createEntity) makes them.
#pragma once

#include "ElectricArc.h"
#include "EntityVars.h"
#include "GF_Entity.h"
#include "IntervalTimer.h"

#include <vector>

// Every kind's constructor takes the placement's (or the spawner's) values.
#define GF_ENTITY_KIND_CONSTRUCTOR(Name)                                                                               \
    Name(double x, double y, const EntityVars& vars, double vx, double vy, double rotation)

class GF_EntityZuzevir : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityZuzevir);
    void onFadeEnd() override { onDeathEffect(); }
    bool isNotTurning() override;
    void onDeathEffect() override;
    void checkDeath() override;
    std::vector<GF_Entity*> hoopList; // the hoops to draw this frame (not owned)
    // Player additions: the held sword follows the muzzle; hoops and the sword draw around the body.
    void update() override;
    void draw(double cameraX, double cameraY) override;
    void onTerrainContact(double x, double y) override;
};

class GF_EntityLaser1 : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityLaser1);
    void onWallImpact(double normalAngle) override;
    void onDeathEffect() override;
};

class GF_EntityLaser2 : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityLaser2);
    void onWallImpact(double normalAngle) override;
    void onDeathEffect() override;
    double trailClock = 0;
    double trailInterval = 0.05;
    double charge;          // 0..1, Var 1 / 100
    void update() override; // the charge trail
    // Its blast at a wall or at death: an explosion when charged above half, else sparks.
    void burstByCharge(double angle, double spread);
};

class GF_EntityLaserFish : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityLaserFish);
    void onFadeEnd() override { onDeathEffect(); }
    void onDeathEffect() override;
    void checkDeath() override;
};

class GF_EntityMissile1 : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityMissile1);
    void onWallImpact(double normalAngle) override;
    void onDeathEffect() override;
    double trailClock = 0;
    double trailInterval = 0.02;
    void update() override; // the smoke trail
};

class GF_EntityGoldFish : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityGoldFish);
    void checkDeath() override {}
    void onDeathEffect() override;
    void onRemoved() override;
};

class GF_EntityTurret : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityTurret);
    void onFadeEnd() override { onDeathEffect(); }
    ~GF_EntityTurret() override;
    void getEmitPoint(double& outX, double& outY) override;
    void onDeathEffect() override;
    void checkDeath() override { checkDeathDyingFade(); }
    SpriteAnimation* barrel = nullptr; // owned: frame 1 of the turret sheet
    double barrelAngle;
    double barrelX = 0, barrelY = 0;       // draw position
    double barrelTipX = 0, barrelTipY = 0; // where its shots leave
    // After the base step: the barrel's draw position and tip; drawn over the body.
    void update() override;
    void draw(double cameraX, double cameraY) override;
};

class GF_EntityTurretLaser : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityTurretLaser);
    void onWallImpact(double normalAngle) override;
    void onDeathEffect() override;
};

class GF_EntityMine : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityMine);
    void onFadeEnd() override { onDeathEffect(); }
    void onWallImpact(double normalAngle) override;
    void onDeathEffect() override;
    void checkDeath() override { checkDeathDyingFade(); }
    uint8_t armoured;
};

class GF_EntityAutoGun : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityAutoGun);
    void onFadeEnd() override { onDeathEffect(); }
    void getEmitPoint(double& outX, double& outY) override;
    void onDeathEffect() override;
    void checkDeath() override { checkDeathDyingFade(); }
};

class GF_EntityBird : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityBird);
    void onDeathEffect() override;
    void onFadeEnd() override;
    void checkDeath() override { checkDeathFishLike(); }
};

class GF_EntityBomb : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityBomb);
    void onWallImpact(double normalAngle) override;
    void onDeathEffect() override;
};

class GF_EntityEel : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityEel);
    void onFadeEnd() override { onDeathEffect(); }
    void onDeathEffect() override;
    void checkDeath() override { checkDeathFishLike(); }
    void update() override; // the arcs
    void draw(double cameraX, double cameraY) override;
    uint8_t sparking = 0;
    JitterPoint ownPoints[3];
    ElectricArc idleArcs[3] = {ElectricArc(2), ElectricArc(5), ElectricArc(5)};
    JitterPoint cornerPoints[4];
    ElectricArc boxArcs[4] = {ElectricArc(3), ElectricArc(5), ElectricArc(3), ElectricArc(5)};
    ElectricArc strikeArc{5};
    uint8_t zapping = 0;
    float intensity = 1;
    uint8_t rising = 0;
};

class GF_EntityTntTurtle : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityTntTurtle);
    void onDeathEffect() override;
};

class GF_EntityEvilZuzevir : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityEvilZuzevir);
    void onFadeEnd() override { onDeathEffect(); }
    void draw(double cameraX, double cameraY) override;
    bool isNotTurning() override;
    void onDeathEffect() override;
    void checkDeath() override { checkDeathDyingFade(); }
};

class GF_EntityEvilLaser1 : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityEvilLaser1);
    void onWallImpact(double normalAngle) override;
    void onDeathEffect() override;
};

class GF_EntityRoboShark : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityRoboShark);
    void onDeathEffect() override;
};

class GF_EntityDrone : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityDrone);
    void onFadeEnd() override { onDeathEffect(); }
    void onDeathEffect() override;
    void checkDeath() override { checkDeathDyingFade(); }
};

class GF_EntityOrnament : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityOrnament);
    void onFadeEnd() override { onDeathEffect(); }
    void onDeathEffect() override;
    void checkDeath() override { checkDeathDyingFade(); }
    int32_t kind; // 0, 1 plants, 2, 3 rocks (any other number is drawn and shaped as 3)
};

class GF_EntityTorpedo1 : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityTorpedo1);
    void onWallImpact(double normalAngle) override;
    void onDeathEffect() override;
    double trailClock = 0;
    double trailInterval = 0.02;
    void update() override; // the bubble trail
    void onRemoved() override;
};

class GF_EntityLaserSword : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityLaserSword);
    double getContactDamage() override;
    void update() override;
    void draw(double cameraX, double cameraY) override; // only the fade once let go; the player draws it held
    void onTerrainContact(double x, double y) override;
    void onEntityContact(double x, double y) override;
    double wallSparkClock = 0, wallSparkInterval = 0.1;
    double entitySparkClock = 0, entitySparkInterval = 0.1;
    uint8_t touchedLastFrame = 0, firstTouch = 0, touchingNow = 0;
};

class GF_EntityBullet : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityBullet);
    void onWallImpact(double normalAngle) override;
    void onDeathEffect() override;
};

class GF_EntityPowerup : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityPowerup);
    void checkDeath() override {}
    void onDeathEffect() override;
    void onRemoved() override;
    double pulse = 1;
    uint8_t shrinking = 1;
    int32_t weapon;         // 0 torpedo, 1 machine gun, 2 laser sword, 3 4x damage
    double length;          // seconds
    void update() override; // sparkles and the pulse
    IntervalTimer sparkleTimer{0.0, 0.9, false};
};

class GF_EntityPowerLaser : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityPowerLaser);
    void onWallImpact(double normalAngle) override;
    void onDeathEffect() override;
};

class GF_EntityHoop : public GF_Entity {
public:
    GF_ENTITY_KIND_CONSTRUCTOR(GF_EntityHoop);
    void takeDamage(double amount, GF_Entity* attacker) override;
    void checkDeath() override {}
    uint8_t passed = 0;
    void update() override;                             // counts the player's pass
    void draw(double cameraX, double cameraY) override; // hands itself to the player's hoop list
    // The ring's back or front half, drawn by the player around its body.
    void drawHalf(bool front, double cameraX, double cameraY);
};
