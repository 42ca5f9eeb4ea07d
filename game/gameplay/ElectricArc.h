// The electric eel's lightning: jittering points that wander inside a small box at a bounded speed, and arcs
// of such points strung between two endpoints and drawn as a flickering polyline.
#pragma once

#include <cstddef>
#include <vector>

struct JitterPoint {
    JitterPoint(); // a random offset within the bounds, a random velocity within the speed limit
    void step(double dt);

    double offsetX, offsetY, velocityX, velocityY;
    double minX = -10, maxX = 10, minY = -10, maxY = 10;
    double maxSpeed = 400, acceleration = 400;
};

class ElectricArc {
public:
    explicit ElectricArc(int pointCount) : points(size_t(pointCount)) {}

    // New endpoints; every point takes one step.
    void set(double x1, double y1, double x2, double y2, double dt);
    void draw(float r, float g, float b, double cameraX, double cameraY) const;
    // Of the endpoints and the points, the one nearest to (x, y).
    void nearestPoint(double x, double y, double& outX, double& outY) const;
    // Point k (0 .. n + 1: the first endpoint, the points, the second endpoint).
    void pointAt(int k, double& outX, double& outY) const;

    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::vector<JitterPoint> points;
};
