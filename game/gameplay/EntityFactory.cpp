// The entity factory: one constructor per kind number, then the kind's behaviour from the one place that
// makes behaviours.
#include "EntityFactory.h"

#include "Behaviours.h"
#include "Camera.h"
#include "EntityKinds.h"
#include "EntityType.h"
#include "GF_EntityKinds.h"

#include <vector>

namespace {

// Live entities of each kind that play makes, for which storage is made when a level loads.
constexpr int kReservedPerKind = 32;

// The kinds that weapons and behaviours make during play: every shot, and the player's sword.
bool madeDuringPlay(int32_t type) {
    return (entityKind(type).flags & kFlagShot) || type == kEntityLaserSword;
}

GF_Entity* constructKind(int32_t type, double x, double y, const EntityVars& v, double vx, double vy, double r) {
    switch (type) {
    case kEntityZuzevir:
        return new GF_EntityZuzevir(x, y, v, vx, vy, r);
    case kEntityLaser1:
        return new GF_EntityLaser1(x, y, v, vx, vy, r);
    case kEntityLaser2:
        return new GF_EntityLaser2(x, y, v, vx, vy, r);
    case kEntityLaserFish:
        return new GF_EntityLaserFish(x, y, v, vx, vy, r);
    case kEntityMissile1:
        return new GF_EntityMissile1(x, y, v, vx, vy, r);
    case kEntityGoldFish:
        return new GF_EntityGoldFish(x, y, v, vx, vy, r);
    case kEntityTurret:
        return new GF_EntityTurret(x, y, v, vx, vy, r);
    case kEntityTurretLaser:
        return new GF_EntityTurretLaser(x, y, v, vx, vy, r);
    case kEntityMine:
        return new GF_EntityMine(x, y, v, vx, vy, r);
    case kEntityAutoGun:
        return new GF_EntityAutoGun(x, y, v, vx, vy, r);
    case kEntityBird:
        return new GF_EntityBird(x, y, v, vx, vy, r);
    case kEntityBomb:
        return new GF_EntityBomb(x, y, v, vx, vy, r);
    case kEntityEel:
        return new GF_EntityEel(x, y, v, vx, vy, r);
    case kEntityTntTurtle:
        return new GF_EntityTntTurtle(x, y, v, vx, vy, r);
    case kEntityEvilZuzevir:
        return new GF_EntityEvilZuzevir(x, y, v, vx, vy, r);
    case kEntityEvilLaser1:
        return new GF_EntityEvilLaser1(x, y, v, vx, vy, r);
    case kEntityRoboShark:
        return new GF_EntityRoboShark(x, y, v, vx, vy, r);
    case kEntityDrone:
        return new GF_EntityDrone(x, y, v, vx, vy, r);
    case kEntityOrnament:
        return new GF_EntityOrnament(x, y, v, vx, vy, r);
    case kEntityTorpedo1:
        return new GF_EntityTorpedo1(x, y, v, vx, vy, r);
    case kEntityLaserSword:
        return new GF_EntityLaserSword(x, y, v, vx, vy, r);
    case kEntityBullet:
        return new GF_EntityBullet(x, y, v, vx, vy, r);
    case kEntityPowerup:
        return new GF_EntityPowerup(x, y, v, vx, vy, r);
    case kEntityPowerLaser:
        return new GF_EntityPowerLaser(x, y, v, vx, vy, r);
    case kEntityHoop:
        return new GF_EntityHoop(x, y, v, vx, vy, r);
    default:
        return nullptr;
    }
}

} // namespace

GF_Entity* createEntity(int32_t type, int32_t x, int32_t y, const EntityVars& vars, double vx, double vy,
                        double rotation) {
    GF_Entity* entity = constructKind(type, x, y, vars, vx, vy, rotation);
    if (!entity) return nullptr;
    if (type == kEntityZuzevir) {
        setPlayerEntity(entity);
        setCameraTarget(entity);
    }
    entity->behaviour = makeBehaviour(entityKind(entity->type).behaviour, entity, vars);
    return entity;
}

void reserveStorageForPlay() {
    // Made side by side and let go at once: their parts' blocks stay in the part pool for the shots to come.
    std::vector<GF_Entity*> made;
    made.reserve(size_t(kEntityTypeCount) * kReservedPerKind);
    for (int32_t type = 0; type < kEntityTypeCount; ++type)
        if (madeDuringPlay(type))
            for (int i = 0; i < kReservedPerKind; ++i) made.push_back(createEntity(type, 0, 0, EntityVars{}, 0, 0, 0));
    for (GF_Entity* entity : made) delete entity;
}
