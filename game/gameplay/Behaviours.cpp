// The behaviour of each kind, and the player's weapon operations the player's entity and the powerup reach.
#include "Behaviours.h"

#include "GF_AIEel.h"
#include "GF_AIFixedPatterns.h"
#include "GF_AIRoboShark.h"
#include "GF_AISightDriven.h"
#include "GF_AITorpedo1.h"
#include "GF_AITurret.h"
#include "GF_AIZuzevirManual.h"

GF_AI* makeBehaviour(BehaviourKind kind, GF_Entity* owner, const EntityVars& vars) {
    switch (kind) {
    case kBehaviourZuzevirManual:
        return new GF_AIZuzevirManual(owner);
    case kBehaviourLaserFish:
        return new GF_AILaserFish(owner, vars);
    case kBehaviourMissile:
        return new GF_AIMissile(owner);
    case kBehaviourGoldFish:
        return new GF_AIGoldFish(owner);
    case kBehaviourTurret:
        return new GF_AITurret(owner);
    case kBehaviourMine:
        return new GF_AIMine(owner);
    case kBehaviourAutoGun:
        return new GF_AIAutoGun(owner);
    case kBehaviourBird:
        return new GF_AIBird(owner, vars);
    case kBehaviourEel:
        return new GF_AIEel(owner);
    case kBehaviourTntTurtle:
        return new GF_AITntTurtle(owner, vars);
    case kBehaviourEvilZuzevir:
        return new GF_AIEvilZuzevir(owner, vars);
    case kBehaviourRoboShark:
        return new GF_AIRoboShark(owner, vars);
    case kBehaviourDrone:
        return new GF_AIDrone(owner, vars);
    case kBehaviourTorpedo1:
        return new GF_AITorpedo1(owner);
    case kBehaviourNone:
    default:
        return new GF_AINone(owner);
    }
}

void givePlayerWeapon(GF_Entity* player, int32_t mode, double duration) {
    if (GF_AIZuzevirManual* control = playerControl(player)) control->giveWeapon(mode, duration);
}

void endPlayerSword(GF_Entity* player) {
    if (GF_AIZuzevirManual* control = playerControl(player)) control->endSword();
}
