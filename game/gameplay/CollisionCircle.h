// A collision circle of an entity: a local offset and radius that follow the owner's position, facing, scale
// and mirroring. Entities carry one bounding circle for quick rejects and the sub-circles that really collide.
#pragma once

#include "PartPool.h"

#include <cstdint>

struct CollisionCircle : PooledPart {
    CollisionCircle(double offsetX, double offsetY, double radius)
        : offsetX(offsetX), offsetY(offsetY), radius(radius) {}

    // Takes the owner's state and recomputes the world centre and radius.
    void place(double x, double y, double angle, double scale, bool mirror);
    // Recomputes the world centre and radius from the stored owner state.
    void transform();
    // Strict overlap of the two world circles.
    bool overlaps(const CollisionCircle& other) const;

    double ownerX = 0, ownerY = 0, ownerAngle = 0, ownerScale = 1;
    uint8_t mirrored = 0;
    double offsetX, offsetY, radius;
    double worldX = 0, worldY = 0, worldRadius = 0;
};
