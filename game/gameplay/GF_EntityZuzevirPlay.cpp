// The player entity's part in play: its held sword follows the muzzle after each step, the race hoops it
// swims through are drawn around its body, and touching the terrain spoils a clean run.
#include "BehaviourTools.h"
#include "GF_AIZuzevirManual.h"
#include "GF_EntityKinds.h"
#include "TrickEvents.h"

void GF_EntityZuzevir::update() {
    GF_Entity::update();
    if (GF_AIZuzevirManual* control = playerControl(this)) control->placeSword();
}

void GF_EntityZuzevir::draw(double cameraX, double cameraY) {
    for (GF_Entity* hoop : hoopList) static_cast<GF_EntityHoop*>(hoop)->drawHalf(false, cameraX, cameraY);
    GF_Entity::draw(cameraX, cameraY);
    if (GF_AIZuzevirManual* control = playerControl(this); control && control->sword)
        control->sword->GF_Entity::draw(cameraX, cameraY);
    for (GF_Entity* hoop : hoopList) static_cast<GF_EntityHoop*>(hoop)->drawHalf(true, cameraX, cameraY);
    hoopList.clear();
}

void GF_EntityZuzevir::onTerrainContact(double x, double y) {
    GF_Entity::onTerrainContact(x, y);
    setTrickHitWall();
}
