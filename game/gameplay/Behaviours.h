// The one place where entities get their behaviours and where the player's entity reaches into the player's
// behaviour. The factory names a behaviour kind per entity kind; makeBehaviour builds it.
#pragma once

#include "EntityVars.h"

#include <cstdint>

class GF_AI;
class GF_Entity;

enum BehaviourKind : int32_t {
    kBehaviourNone = 0,
    kBehaviourZuzevirManual,
    kBehaviourLaserFish,
    kBehaviourMissile,
    kBehaviourGoldFish,
    kBehaviourTurret,
    kBehaviourMine,
    kBehaviourAutoGun,
    kBehaviourBird,
    kBehaviourEel,
    kBehaviourTntTurtle,
    kBehaviourEvilZuzevir,
    kBehaviourRoboShark,
    kBehaviourDrone,
    kBehaviourTorpedo1,
};

// A new behaviour of the kind for a fully built entity, with the placement's Vars; never null.
GF_AI* makeBehaviour(BehaviourKind kind, GF_Entity* owner, const EntityVars& vars);

// The player's behaviour switches to a timed weapon (mode 1 torpedo, 2 sword, 3 machine gun, 4 4x damage) for
// the given seconds, unless a weapon forced by a cheat is active. Called by a collected powerup.
void givePlayerWeapon(GF_Entity* player, int32_t mode, double duration);
// Puts away the player's laser sword if it is out (the player's death).
void endPlayerSword(GF_Entity* player);
