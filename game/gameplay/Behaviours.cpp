// The behaviour of each kind. Until a kind has its own behaviour it gets one that does nothing.
#include "Behaviours.h"

#include "GF_AI.h"

GF_AI* makeBehaviour(BehaviourKind kind, GF_Entity* owner, const EntityVars& vars) {
    (void)kind;
    (void)vars;
    return new GF_AINone(owner);
}

void givePlayerWeapon(GF_Entity* player, int32_t mode, double duration) {
    (void)player;
    (void)mode;
    (void)duration;
}

void endPlayerSword(GF_Entity* player) {
    (void)player;
}
