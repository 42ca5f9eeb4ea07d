// Line of sight through the collision grid: whether a straight segment between two world points passes
// through no solid part of any cell it crosses. Sight-driven behaviours aim and sense with it.
#pragma once

#include <cstdint>

class CollisionRect;

// A segment prepared for rectangle tests: endpoints ordered by y, its bounding box and its line.
struct SightLine {
    // Orders the endpoints so that the first has the smaller y (on equal y the second point given comes first).
    void set(double x1, double y1, double x2, double y2);
    // 1 or 2: the side of the line a point lies on (1 above the line, or right of a vertical line).
    int sideOf(double x, double y) const;

    double ax = 0, ay = 0, bx = 0, by = 0; // a has the smaller y
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    bool vertical = false;           // |dx| < 1 pixel
    double slope = 0, intercept = 0; // y = slope x x + intercept
};

// True when the segment passes through the rectangle's world box (boxes overlap and the line separates
// the corners).
bool rectCrossesLine(const CollisionRect& rect, const SightLine& line);
// True when the shape of the collision cell blocks the segment; a cell without rectangles never does.
bool cellBlocksLine(int32_t row, int32_t col, const SightLine& line);
// True when nothing solid lies on the segment between the two points. The start cell, the target cell and
// every cell the segment crosses on the way are tested once each; points whose target cell lies more than
// 2000 pixels of travel away never see each other.
bool hasLineOfSight(double x1, double y1, double x2, double y2);

constexpr double kSightRange = 2000; // pixels of travel
