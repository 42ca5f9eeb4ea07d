// The table of the 25 entity kinds: size, sprite sheet, animation sequences, health, damage, life and fades,
// physics, flags and collision circles, as the factory and the entity base read them. One row per kind.
#pragma once

#include "Behaviours.h"

#include <cstdint>

// The kinds' flags; each sets the entity field of the same meaning.
enum EntityFlag : uint32_t {
    kFlagDynamic = 1u << 0,          // D: forces and torque are integrated
    kFlagDrag = 1u << 1,             // R
    kFlagHitsTerrain = 1u << 2,      // T
    kFlagSlidesOnWalls = 1u << 3,    // S
    kFlagKilledByShot = 1u << 4,     // K sets both this and the next
    kFlagKilledByBody = 1u << 5,     // Kb
    kFlagShot = 1u << 6,             // P
    kFlagEnemySide = 1u << 7,        // E
    kFlagBody = 1u << 8,             // B
    kFlagHarms = 1u << 9,            // H
    kFlagLifetime = 1u << 10,        // L
    kFlagCountsAsEnemy = 1u << 11,   // N
    kFlagTargetable = 1u << 12,      // A
    kFlagDrawnInFront = 1u << 13,    // F
    kFlagCrossesSides = 1u << 14,    // X
    kFlagPickup = 1u << 15,          // U
    kFlagCollectsPickups = 1u << 16, // Cp
    kFlagDeflectable = 1u << 17,     // Df
    kFlagDeflects = 1u << 18,        // Dx
    kFlagSurvivesWalls = 1u << 19,   // W
};
constexpr uint32_t kFlagKilled = kFlagKilledByShot | kFlagKilledByBody;

struct CircleSpec {
    double x, y, radius;
};
constexpr int kMaxKindCircles = 18;

struct EntityKind {
    int32_t type;
    BehaviourKind behaviour;
    int32_t width, height;
    double health;        // the player's comes from the difficulty
    double contactDamage; // per contact (the sword's per second)
    double lifetime;      // -1: no lifetime
    double fadeTime, dyingFadeTime;
    double mass, dragAlong, dragAcross, angularDrag, inertia, waterBuoyancy;
    uint32_t flags;
    int32_t flipSequence, reverseSequence, baseSequence;
    int32_t circleCount;
    CircleSpec circles[kMaxKindCircles];
};

// The row of a type; the player's row for numbers outside 0..24.
const EntityKind& entityKind(int type);
