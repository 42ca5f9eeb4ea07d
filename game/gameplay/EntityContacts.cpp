// Entity against entity: which pairs may touch, the circle tests, and the damage, deflection and hit pulses
// of a contact. The spatial grid hands each neighbouring pair here once per frame.
#include "GF_Entity.h"

namespace {

// The side and kind rules: whether the pair is tested at all.
bool mayTouch(const GF_Entity& a, const GF_Entity& b) {
    if (a.intangible || b.intangible) return false;
    if (a.enemySide == b.enemySide && !a.crossesSides && !b.crossesSides) {
        if (a.enemySide) return false;
        return (a.isPickup || b.isPickup) && (a.collectsPickups || b.collectsPickups);
    }
    if (a.isShot && b.isShot) return a.isBody || b.isBody;
    if (a.isShot) return a.harms && b.isBody;
    if (b.isShot) return b.harms && a.isBody;
    return (a.harms || b.harms) && !a.isPickup && !b.isPickup;
}

} // namespace

bool contactFilter(GF_Entity* a, GF_Entity* b) {
    // Dead entities take part in no contact; their circles would still overlap while they fade.
    if (a->dead || b->dead) return false;
    if (!mayTouch(*a, *b)) return false;
    if (!b->boundingCircle->overlaps(*a->boundingCircle)) return false;
    for (CollisionCircle* circleB : b->subCircles) {
        for (CollisionCircle* circleA : a->subCircles) {
            if (!circleB->overlaps(*circleA)) continue;
            b->onEntityContact(circleB->worldX, circleB->worldY);
            a->onEntityContact(circleA->worldX, circleA->worldY);
            resolveContact(a, b);
            return true;
        }
    }
    return false;
}

void resolveContact(GF_Entity* a, GF_Entity* b) {
    if (a->dead || b->dead) return;
    if (b->deflectable && a->deflects)
        b->deflect();
    else
        b->takeDamage(a->getContactDamage(), a);
    if (a->deflectable && b->deflects)
        a->deflect();
    else
        a->takeDamage(b->getContactDamage(), b);
    if (a->getContactDamage() > 0.01 && b->hitPulseEnabled) b->hitPulseClock = 0;
    if (b->getContactDamage() > 0.01 && a->hitPulseEnabled) a->hitPulseClock = 0;
}
