// Entity against terrain: the collision shapes of the cells under the entity, and the hit's outcome: death
// at the wall, or sliding along it and being pushed out.
#include "GF_Entity.h"

#include "AngleTools.h"
#include "CollisionShape.h"
#include "TerrainCodes.h"
#include "TileMap.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxPushSteps = 31;

bool circleOverlapsRect(const CollisionCircle& c, const CollisionRect& r) {
    const double cx = c.worldX, cy = c.worldY, radius = c.worldRadius;
    if (cy > r.worldY1 && cy < r.worldY2) return !(cx + radius <= r.worldX1 || cx - radius >= r.worldX2);
    if (cx > r.worldX1 && cx < r.worldX2) return !(cy + radius <= r.worldY1 || cy - radius >= r.worldY2);
    const double nearX = cx <= r.worldX1 ? r.worldX1 : r.worldX2;
    const double nearY = cy <= r.worldY1 ? r.worldY1 : r.worldY2;
    const double dx = nearX - cx, dy = nearY - cy;
    return dx * dx + dy * dy < radius * radius;
}

// The sub-circle that touches the rectangle, when the bounding circle does; null otherwise.
const CollisionCircle* touchingCircle(const GF_Entity& e, const CollisionRect& rect) {
    if (!circleOverlapsRect(*e.boundingCircle, rect)) return nullptr;
    for (const CollisionCircle* circle : e.subCircles)
        if (circleOverlapsRect(*circle, rect)) return circle;
    return nullptr;
}

// The tile test: the first rectangle reports its contact point, the second only counts.
bool tileHits(GF_Entity& e, const CollisionShape& shape) {
    if (shape.first) {
        if (const CollisionCircle* circle = touchingCircle(e, *shape.first)) {
            e.onTerrainContact(circle->worldX, circle->worldY);
            return true;
        }
    }
    return shape.second && touchingCircle(e, *shape.second);
}

// The wall normal of a hit: the shape's own, or for a shape without one the side the tile lies on.
double wallNormal(const GF_Entity& e, const CollisionShape& shape, int32_t col, int32_t row) {
    if (shape.angle >= 0) return shape.angle;
    const double tileX = col * kTileSize + kTileSize / 2.0, tileY = row * kTileSize + kTileSize / 2.0;
    const double dx = tileX - e.x, dy = tileY - e.y;
    if (std::fabs(dy) > std::fabs(dx)) return dy > 0 ? 90 : 270;
    return dx > 0 ? 180 : 0;
}

// Cancels the velocity into the wall and keeps the share of the tangential one that a grazing hit keeps.
void slideAlongWall(GF_Entity& e, double normal) {
    const double g = angleDifference(e.getVelocityAngle(), normal);
    const double l = std::fabs(g);
    if (l <= 90) return;
    const double radians = normal / kDegreesPerRadian;
    const double nx = std::cos(radians), ny = -std::sin(radians);
    const double normalPart = e.vx * nx + e.vy * ny;
    const double tx = e.vx - normalPart * nx, ty = e.vy - normalPart * ny;
    const double keep = std::fabs(l - 180) / 90;
    e.vx = tx * keep;
    e.vy = ty * keep;
}

} // namespace

void terrainContact(GF_Entity* e) {
    if (!e->hitsTerrain) return;
    const ByteGrid& grid = tileMap.collisionGrid;
    if (grid.cols() <= 0 || grid.rows() <= 0) return;
    // The cells under the circles as they are now, grown or shrunk by the entity's scale.
    const double reach = e->radius * e->scale;
    const int32_t col1 = std::clamp(cellOfCoordinate(e->x - reach), 0, grid.cols() - 1);
    const int32_t col2 = std::clamp(cellOfCoordinate(e->x + reach), 0, grid.cols() - 1);
    const int32_t row1 = std::clamp(cellOfCoordinate(e->y - reach), 0, grid.rows() - 1);
    const int32_t row2 = std::clamp(cellOfCoordinate(e->y + reach), 0, grid.rows() - 1);
    for (int32_t col = col1; col <= col2; col++) {
        for (int32_t row = row1; row <= row2; row++) {
            CollisionShape* shape = getCollisionShape(grid.get(col, row));
            if (!shape || !shape->hasRects()) continue;
            shape->setPosition(col * kTileSize, row * kTileSize);
            if (!tileHits(*e, *shape)) continue;
            if (!e->slidesOnWalls) {
                // A shot already fading out does not die a second time at the wall.
                if (e->survivesWalls || e->dead) continue;
                e->dead = 1;
                e->removed = 1;
                e->onWallImpact(shape->angle);
                e->onRemoved();
                return; // one wall death, however many cells it touched
            }
            const double n = wallNormal(*e, *shape, col, row);
            slideAlongWall(*e, n);
            const double radians = n / kDegreesPerRadian;
            const double stepX = std::cos(radians), stepY = -std::sin(radians);
            for (int step = 0; step < kMaxPushSteps && tileHits(*e, *shape); step++)
                e->setPosition(e->x + stepX, e->y + stepY);
        }
    }
}
