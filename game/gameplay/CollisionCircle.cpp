// Collision circles: the owner's transform applied to a local offset.
#include "CollisionCircle.h"

#include <cmath>

void CollisionCircle::place(double x, double y, double angle, double scale, bool mirror) {
    ownerX = x;
    ownerY = y;
    ownerAngle = angle;
    ownerScale = scale;
    mirrored = mirror ? 1 : 0;
    transform();
}

void CollisionCircle::transform() {
    worldRadius = radius * ownerScale;
    const double ox = offsetX * ownerScale;
    const double oy = (mirrored ? -offsetY : offsetY) * ownerScale;
    // The facing counts counter-clockwise on a screen whose y grows downwards.
    const double a = -ownerAngle / 57.29577951307855;
    const double c = std::cos(a), s = std::sin(a);
    worldX = ownerX + (c * ox - s * oy);
    worldY = ownerY + (c * oy + s * ox);
}

bool CollisionCircle::overlaps(const CollisionCircle& other) const {
    const double dx = worldX - other.worldX, dy = worldY - other.worldY;
    const double r = worldRadius + other.worldRadius;
    return r * r > dx * dx + dy * dy;
}
