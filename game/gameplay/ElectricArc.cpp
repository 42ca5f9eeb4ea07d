// Jitter points and the arcs strung through them.
#include "ElectricArc.h"

#include "BehaviourTools.h"
#include "GameWindow.h"
#include "KGraphic.h"

#include <algorithm>
#include <cmath>

JitterPoint::JitterPoint() {
    offsetX = minX + randomFraction() * (maxX - minX);
    offsetY = minY + randomFraction() * (maxY - minY);
    velocityX = (randomFraction() * 2 - 1) * maxSpeed;
    velocityY = (randomFraction() * 2 - 1) * maxSpeed;
}

void JitterPoint::step(double dt) {
    velocityX = std::clamp(velocityX + (randomFraction() * 2 - 1) * acceleration * dt, -maxSpeed, maxSpeed);
    velocityY = std::clamp(velocityY + (randomFraction() * 2 - 1) * acceleration * dt, -maxSpeed, maxSpeed);
    offsetX += velocityX * dt;
    offsetY += velocityY * dt;
    const auto bounce = [](double& offset, double& velocity, double low, double high) {
        if (offset < low || offset > high) {
            offset = std::clamp(offset, low, high);
            velocity = -velocity;
        }
    };
    bounce(offsetX, velocityX, minX, maxX);
    bounce(offsetY, velocityY, minY, maxY);
}

void ElectricArc::set(double ax, double ay, double bx, double by, double dt) {
    x1 = ax, y1 = ay, x2 = bx, y2 = by;
    for (JitterPoint& point : points) point.step(dt);
}

void ElectricArc::pointAt(int k, double& outX, double& outY) const {
    const int n = int(points.size());
    if (k <= 0) {
        outX = x1, outY = y1;
    } else if (k > n) {
        outX = x2, outY = y2;
    } else {
        const JitterPoint& p = points[size_t(k - 1)];
        outX = x1 + k * (x2 - x1) / (n + 1) + p.offsetX;
        outY = y1 + k * (y2 - y1) / (n + 1) + p.offsetY;
    }
}

void ElectricArc::draw(float r, float g, float b, double cameraX, double cameraY) const {
    if (!sharedGraphic) return;
    double px, py;
    pointAt(0, px, py);
    for (int k = 1; k <= int(points.size()) + 1; k++) {
        double qx, qy;
        pointAt(k, qx, qy);
        sharedGraphic->drawLine(float(px - cameraX), float(py - cameraY), float(qx - cameraX), float(qy - cameraY), r,
                                g, b, 1);
        px = qx, py = qy;
    }
}

void ElectricArc::nearestPoint(double x, double y, double& outX, double& outY) const {
    double best = -1;
    for (int k = 0; k <= int(points.size()) + 1; k++) {
        double px, py;
        pointAt(k, px, py);
        const double d = distanceBetween(x, y, px, py);
        if (best < 0 || d < best) {
            best = d;
            outX = px, outY = py;
        }
    }
}
