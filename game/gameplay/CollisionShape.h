// The fourteen collision shapes: the solid part of a 64-pixel cell as at most two rectangles, with the angle
// that points out of the solid part. The collision grid names one per cell; entities test points against them.
#pragma once

#include <cstdint>
#include <memory>

class CollisionRect {
public:
    CollisionRect(double x1, double y1, double x2, double y2);

    // Moves the rectangle to the cell origin (x, y) and recomputes its world box.
    void setPosition(double x, double y);
    // True when the point lies strictly inside the world box (a point on an edge is outside).
    bool contains(double x, double y) const;
    // The box filled in a colour at the place it was last put (the editor puts shapes at screen positions).
    void fill(float r, float g, float b, float a) const;

    double positionX = 0, positionY = 0;
    double x1, y1, x2, y2; // inside the cell, pixels from its top-left corner
    double worldX1, worldY1, worldX2, worldY2;
};

class CollisionShape {
public:
    // Fills the first free rectangle slot; a third rectangle is ignored.
    void addRect(double x1, double y1, double x2, double y2);
    void setPosition(double x, double y);
    // True when the point lies strictly inside either rectangle.
    bool contains(double x, double y) const;
    bool hasRects() const { return first != nullptr; }
    // The editor's overlay: puts the shape at the tile origin (x, y) and fills its rectangles white at half alpha.
    void drawOutline(double x, double y);

    std::unique_ptr<CollisionRect> first, second;
    int angle = -1; // degrees out of the solid part towards the open side, 0 = +x, 90 = up; -1 = none
};

// Builds the fourteen shapes in code order (start-up), and frees them (shutdown).
void buildCollisionShapes();
void freeCollisionShapes();
// The shape of a code, or null outside 0 .. 13 and before the build.
CollisionShape* getCollisionShape(int code);
// The editor's name of a code ("No Collision" .. "No Bottom Right"); empty outside 0 .. 13.
const char* getCollisionShapeName(int code);

// The collision cell of a world point: trunc(x) div 64 and trunc(y) div 64, held to the grid (negative to 0,
// past the grid to its last column or row). False, with the cell 0, 0, when the grid has no cells.
bool cellAt(double x, double y, int32_t& outCol, int32_t& outRow);
// True when the point lies inside the solid part of its cell's shape.
bool isSolidAt(double x, double y);
