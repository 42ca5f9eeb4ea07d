// The table of the 25 entity kinds, one row each in type order.
#include "EntityKinds.h"

#include "EntityType.h"

namespace {

constexpr uint32_t D = kFlagDynamic, R = kFlagDrag, T = kFlagHitsTerrain, S = kFlagSlidesOnWalls, K = kFlagKilled,
                   Kb = kFlagKilledByBody, P = kFlagShot, E = kFlagEnemySide, B = kFlagBody, H = kFlagHarms,
                   L = kFlagLifetime, N = kFlagCountsAsEnemy, A = kFlagTargetable, F = kFlagDrawnInFront,
                   X = kFlagCrossesSides, U = kFlagPickup, Cp = kFlagCollectsPickups, Df = kFlagDeflectable,
                   Dx = kFlagDeflects, W = kFlagSurvivesWalls;

// clang-format off
// Columns: type, behaviour, width, height, health, contact damage, lifetime, fade, dying fade, mass, drag
// along, across, angular, inertia, water buoyancy, flags, flip, reverse and base sequence, circles.
const EntityKind kKinds[kEntityTypeCount] = {
    {kEntityZuzevir, kBehaviourZuzevirManual, 128, 64, 0, 0, -1, 1, 0.25, 1, 0.15, 0.4, 1, 1, 0,
     D | R | T | S | B | Cp, 3, 4, 1, 5,
     {{-48, 5, 9}, {-32, 1, 11}, {-6, 0, 16}, {22, 2, 16}, {44, 5, 12}}},
    {kEntityLaser1, kBehaviourNone, 50, 31, 1, 10, 1, 0.3, 1, 1, 1, 1, 1, 1, 0, T | K | P | H | L, -1, -1, 0, 3,
     {{0, 0, 2}, {7, 0, 2}, {-7, 0, 2}}},
    {kEntityLaser2, kBehaviourNone, 66, 43, 1, 200, 2, 0.5, 1, 1, 1, 1, 1, 1, 0, T | K | P | H | L, -1, -1, 0, 1,
     {{9, 0, 7}}},
    {kEntityLaserFish, kBehaviourLaserFish, 64, 64, 100, 0, -1, 1, 0.15, 1, 0.2, 0.6, 2, 1, 0,
     D | R | T | S | E | B | H | N | A, 2, 3, 1, 2, {{11, 3, 19}, {-17, 3, 13}}},
    {kEntityMissile1, kBehaviourMissile, 32, 8, 1, 50, 4, 0.5, 1, 0.5, 0.1, 1, 1, 0.5, 0,
     D | R | T | K | P | E | H | L, -1, -1, 0, 3, {{-12, 0, 4}, {0, 0, 4}, {12, 0, 4}}},
    {kEntityGoldFish, kBehaviourGoldFish, 32, 32, 200000, 0, -1, 1, 0.25, 1, 0.2, 0.4, 2, 1, 0, K | U, -1, -1, 0, 1,
     {{0, 0, 16}}},
    {kEntityTurret, kBehaviourTurret, 64, 64, 100, 1, -1, 1, 0.05, 1, 0.2, 0.4, 2, 1, 0, S | E | B | N | A | F, -1,
     -1, 0, 1, {{0, 0, 35}}},
    {kEntityTurretLaser, kBehaviourNone, 50, 31, 1, 50, 1, 0.3, 1, 1, 1, 1, 1, 1, 0, T | K | E | P | H | L | Df, -1,
     -1, 0, 3, {{0, 0, 2}, {7, 0, 2}, {-7, 0, 2}}},
    {kEntityMine, kBehaviourMine, 64, 64, 1000000, 300, -1, 1, 0.1, 1, 1, 1, 0, 0.5, 0,
     D | R | T | K | E | B | H | A | X, -1, -1, 0, 1, {{0, 0, 25}}},
    {kEntityAutoGun, kBehaviourAutoGun, 64, 64, 50, 1, -1, 1, 0.05, 1, 0.2, 0.4, 2, 1, 0, S | E | B | N | A | F, -1,
     -1, 0, 1, {{0, 0, 30}}},
    {kEntityBird, kBehaviourBird, 128, 64, 50, 0, -1, 1, 0.1, 0.25, 0.2, 1, 2, 1, 0,
     D | R | T | S | E | B | H | N | A, -1, 1, 0, 3, {{22, -8, 10}, {-4, 0, 18}, {-26, -10, 6}}},
    {kEntityBomb, kBehaviourNone, 32, 32, 1, 100, 15, 0.5, 1, 0.5, 0.5, 1, 2, 0.5, 100,
     D | R | T | K | P | E | H | L, -1, -1, 0, 2, {{5, 0, 8}, {-10, 0, 6}}},
    {kEntityEel, kBehaviourEel, 128, 32, 500, 0, -1, 1, 0.15, 0.5, 0.3, 1, 1, 1, 0,
     D | R | T | S | E | B | H | N | A, 3, 4, 2, 7,
     {{-45, 2, 5}, {-34, 2, 6}, {-21, 2, 7}, {-4, 1, 8}, {12, 1, 8}, {31, 0, 15}, {52, 1, 12}}},
    {kEntityTntTurtle, kBehaviourTntTurtle, 64, 64, 30, 150, -1, 1, 0.15, 1, 0.4, 1.2, 2, 1, 0,
     D | R | T | S | Kb | E | B | H | N | A, 2, 3, 1, 2, {{-5, -1, 20}, {24, 8, 6}}},
    {kEntityEvilZuzevir, kBehaviourEvilZuzevir, 128, 64, 1000, 0, -1, 1, 0.1, 1, 0.15, 0.6, 1, 1, 0,
     D | R | T | S | E | B | N | A, 3, 4, 1, 5,
     {{-48, 5, 9}, {-32, 1, 11}, {-6, 0, 16}, {22, 2, 16}, {44, 5, 12}}},
    {kEntityEvilLaser1, kBehaviourNone, 50, 31, 1, 10, 1, 0.3, 1, 1, 1, 1, 1, 1, 0, T | K | P | H | L | E | Df, -1,
     -1, 0, 3, {{0, 0, 2}, {7, 0, 2}, {-7, 0, 2}}},
    {kEntityRoboShark, kBehaviourRoboShark, 128, 64, 100000, 0, -1, 1, 0.1, 1, 0.3, 1.2, 1, 1, 0, D | R | E | B | F,
     -1, -1, 1, 6, {{47, 10, 18}, {14, 4, 19}, {8, -22, 7}, {-18, 4, 15}, {-42, 5, 13}, {-54, 2, 10}}},
    {kEntityDrone, kBehaviourDrone, 64, 64, 50, 1, -1, 1, 0.05, 1, 2, 2, 2, 1, 0, D | R | T | S | E | B | N | A, -1,
     -1, 0, 3, {{2, 0, 26}, {2, -25, 7}, {2, 27, 7}}},
    // The ornament's body and circles follow its Var 1 (the constructor adds them).
    {kEntityOrnament, kBehaviourNone, 64, 64, 100000, 0, -1, 1, 0.05, 1, 0.2, 0.4, 2, 1, 0, S | E | F, -1, -1, 0, 0,
     {}},
    {kEntityTorpedo1, kBehaviourTorpedo1, 32, 32, 1, 50, 4, 0.5, 1, 0.5, 0.1, 1, 1, 0.5, 0, D | R | T | K | P | H | L,
     -1, -1, 0, 3, {{-12, 0, 6}, {0, 0, 5}, {12, 0, 4}}},
    // The sword fades only once the player lets it go, in a quarter of a second.
    {kEntityLaserSword, kBehaviourNone, 128, 30, 100000000, 10, 1, 0.25, 1, 1, 1, 1, 1, 1, 0, T | B | H | W | Dx, -1,
     -1, 0, 18,
     {{-58, 0, 9}, {-56, 0, 9}, {-49, 0, 9}, {-42, 0, 9}, {-35, 0, 9}, {-28, 0, 9}, {-21, 0, 9}, {-14, 0, 9},
      {-7, 0, 9}, {0, 0, 9}, {7, 0, 9}, {14, 0, 9}, {21, 0, 9}, {28, 0, 9}, {35, 0, 9}, {42, 0, 9}, {49, 0, 9},
      {56, 0, 9}}},
    {kEntityBullet, kBehaviourNone, 16, 16, 1, 10, 1, 0.3, 1, 1, 1, 1, 1, 1, 0, T | K | P | H | L, -1, -1, 0, 1,
     {{0, 0, 6}}},
    {kEntityPowerup, kBehaviourNone, 64, 64, 200000, 0, -1, 1, 0.25, 1, 0.2, 0.4, 2, 1, 0, K | U, -1, -1, 0, 1,
     {{0, 0, 32}}},
    {kEntityPowerLaser, kBehaviourNone, 50, 31, 1, 10, 1, 0.3, 1, 1, 1, 1, 1, 1, 0, T | K | P | H | L, -1, -1, 0, 3,
     {{0, 0, 2}, {7, 0, 6}, {-7, 0, 2}}},
    {kEntityHoop, kBehaviourNone, 32, 160, 2000000, 0, -1, 1, 0.25, 1, 0.2, 0.4, 2, 1, 0, U | F, -1, -1, 0, 9,
     {{0, -60, 15}, {0, -45, 15}, {0, -30, 15}, {0, -15, 15}, {0, 0, 15}, {0, 15, 15}, {0, 30, 15}, {0, 45, 15},
      {0, 60, 15}}},
};
// clang-format on

} // namespace

const EntityKind& entityKind(int type) {
    return kKinds[isValidEntityType(type) ? type : 0];
}
