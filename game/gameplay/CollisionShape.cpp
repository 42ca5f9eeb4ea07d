// The collision-shape table and the point tests against the collision grid.
#include "CollisionShape.h"

#include "GameWindow.h"
#include "KGraphic.h"
#include "TerrainCodes.h"
#include "TileMap.h"

#include <algorithm>
#include <array>

namespace {

struct ShapeRow {
    const char* name;
    int rectCount;
    double rects[2][4];
    int angle;
};

constexpr ShapeRow kShapeRows[kCollisionShapeCount] = {
    {"No Collision", 0, {}, -1},
    {"Full Collision", 1, {{0, 0, 64, 64}}, -1},
    {"Left Half", 1, {{0, 0, 32, 64}}, 0},
    {"Right Half", 1, {{32, 0, 64, 64}}, 180},
    {"Top Half", 1, {{0, 0, 64, 32}}, 270},
    {"Bottom Half", 1, {{0, 32, 64, 64}}, 90},
    {"Top Left", 1, {{0, 0, 32, 32}}, 315},
    {"Top Right", 1, {{32, 0, 64, 32}}, 225},
    {"Bottom Left", 1, {{0, 32, 32, 64}}, 45},
    {"Bottom Right", 1, {{32, 32, 64, 64}}, 135},
    {"No Top Left", 2, {{32, 0, 64, 32}, {0, 32, 64, 64}}, 135},
    {"No Top Right", 2, {{0, 0, 32, 32}, {0, 32, 64, 64}}, 45},
    {"No Bottom Left", 2, {{0, 0, 64, 32}, {32, 32, 64, 64}}, 225},
    {"No Bottom Right", 2, {{0, 0, 64, 32}, {0, 32, 32, 64}}, 315},
};

std::array<std::unique_ptr<CollisionShape>, kCollisionShapeCount> shapes;

} // namespace

CollisionRect::CollisionRect(double left, double top, double right, double bottom)
    : x1(left), y1(top), x2(right), y2(bottom), worldX1(left), worldY1(top), worldX2(right), worldY2(bottom) {}

void CollisionRect::setPosition(double x, double y) {
    positionX = x;
    positionY = y;
    worldX1 = x + x1;
    worldY1 = y + y1;
    worldX2 = x + x2;
    worldY2 = y + y2;
}

bool CollisionRect::contains(double x, double y) const {
    return x > worldX1 && x < worldX2 && y > worldY1 && y < worldY2;
}

void CollisionRect::fill(float r, float g, float b, float a) const {
    if (sharedGraphic)
        sharedGraphic->fillRect(float(worldX1), float(worldY1), float(worldX2), float(worldY2), r, g, b, a);
}

void CollisionShape::addRect(double x1, double y1, double x2, double y2) {
    if (!first)
        first = std::make_unique<CollisionRect>(x1, y1, x2, y2);
    else if (!second)
        second = std::make_unique<CollisionRect>(x1, y1, x2, y2);
}

void CollisionShape::setPosition(double x, double y) {
    if (first) first->setPosition(x, y);
    if (second) second->setPosition(x, y);
}

void CollisionShape::drawOutline(double x, double y) {
    setPosition(x, y);
    if (first) first->fill(1, 1, 1, 0.5f);
    if (second) second->fill(1, 1, 1, 0.5f);
}

bool CollisionShape::contains(double x, double y) const {
    return (first && first->contains(x, y)) || (second && second->contains(x, y));
}

void buildCollisionShapes() {
    for (int code = 0; code < kCollisionShapeCount; code++) {
        const ShapeRow& row = kShapeRows[code];
        auto shape = std::make_unique<CollisionShape>();
        for (int i = 0; i < row.rectCount; i++)
            shape->addRect(row.rects[i][0], row.rects[i][1], row.rects[i][2], row.rects[i][3]);
        shape->angle = row.angle;
        shapes[size_t(code)] = std::move(shape);
    }
}

void freeCollisionShapes() {
    for (auto& shape : shapes) shape.reset();
}

CollisionShape* getCollisionShape(int code) {
    if (code < 0 || code >= kCollisionShapeCount) return nullptr;
    return shapes[size_t(code)].get();
}

const char* getCollisionShapeName(int code) {
    if (code < 0 || code >= kCollisionShapeCount) return "";
    return kShapeRows[code].name;
}

bool cellAt(double x, double y, int32_t& outCol, int32_t& outRow) {
    const ByteGrid& grid = tileMap.collisionGrid;
    outCol = outRow = 0;
    if (grid.cols() <= 0 || grid.rows() <= 0) return false;
    outCol = std::clamp(cellOfCoordinate(x), 0, grid.cols() - 1);
    outRow = std::clamp(cellOfCoordinate(y), 0, grid.rows() - 1);
    return true;
}

bool isSolidAt(double x, double y) {
    int32_t col, row;
    if (!cellAt(x, y, col, row)) return false;
    // A code past the table (a damaged level) is open water rather than an out-of-range shape.
    CollisionShape* shape = getCollisionShape(tileMap.collisionGrid.get(col, row));
    if (!shape) return false;
    shape->setPosition(double(col) * kTileSize, double(row) * kTileSize);
    return shape->contains(x, y);
}
