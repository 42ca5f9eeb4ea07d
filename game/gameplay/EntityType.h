// The 25 entity kinds by number (the number stored in level files), with their editor names and the captions
// of their eight Var fields.
#pragma once

#include <cstdint>

enum EntityType : int32_t {
    kEntityZuzevir = 0, // the player
    kEntityLaser1 = 1,
    kEntityLaser2 = 2, // the charged laser
    kEntityLaserFish = 3,
    kEntityMissile1 = 4,
    kEntityGoldFish = 5,
    kEntityTurret = 6,
    kEntityTurretLaser = 7,
    kEntityMine = 8,
    kEntityAutoGun = 9,
    kEntityBird = 10,
    kEntityBomb = 11,
    kEntityEel = 12,
    kEntityTntTurtle = 13,
    kEntityEvilZuzevir = 14,
    kEntityEvilLaser1 = 15,
    kEntityRoboShark = 16,
    kEntityDrone = 17,
    kEntityOrnament = 18,
    kEntityTorpedo1 = 19,
    kEntityLaserSword = 20,
    kEntityBullet = 21,
    kEntityPowerup = 22,
    kEntityPowerLaser = 23,
    kEntityHoop = 24,
};
constexpr int kEntityTypeCount = 25;
constexpr int kEntityVarCount = 8;

inline bool isValidEntityType(int type) {
    return type >= 0 && type < kEntityTypeCount;
}

// The editor name; "invalid" for the kinds made only during play and for numbers outside 0..24.
const char* entityTypeName(int type);
// The caption of Var n (1..8): "Not Used" where the kind has no use for it, "invalid" for run-time kinds
// and numbers outside the table.
const char* entityVarLabel(int type, int n);
