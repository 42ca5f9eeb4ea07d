// What the turret adds to its frame step and drawing: the separate barrel, placed on the body's hotspot and
// turned by its behaviour, with its tip where the shots leave.
#include "AngleTools.h"
#include "GF_EntityKinds.h"
#include "SpriteAnimation.h"
#include "WholePixels.h"

void GF_EntityTurret::update() {
    GF_Entity::update();
    double hx = 0, hy = 0;
    if (animation) animation->currentHotspot(0, hx, hy);
    rotateVector(-barrelAngle, hx, hy);
    barrelX = left + (width - 64) / 2.0 + hx;
    barrelY = top + (height - 32) / 2.0 + hy;
    double tx = 0, ty = 0;
    if (barrel) barrel->currentHotspot(1, tx, ty);
    rotateVector(-barrelAngle, tx, ty);
    barrelTipX = barrelX + 32 + tx;
    barrelTipY = barrelY + 16 + ty;
}

void GF_EntityTurret::draw(double cameraX, double cameraY) {
    GF_Entity::draw(cameraX, cameraY);
    if (barrel)
        barrel->drawTransformed(wholePixels(barrelX - cameraX), wholePixels(barrelY - cameraY), barrelAngle, 1, 1,
                                false, false);
}
