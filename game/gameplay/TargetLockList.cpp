// The target-lock list, its reports from torpedoes and targets, and the lock-on brackets.
#include "TargetLockList.h"

#include "GF_AITorpedo1.h"
#include "GF_Entity.h"
#include "GameWindow.h"
#include "KGraphic.h"
#include "TrickEvents.h"

#include <algorithm>

TargetLockList targetLocks;

void TargetLockList::add(GF_Entity* tracker, GF_Entity* target) {
    if (!tracker || !target) return;
    list.push_back({tracker, target});
}

void TargetLockList::removeOfTracker(const GF_Entity* tracker) {
    auto it = std::find_if(list.begin(), list.end(), [tracker](const TargetLock& l) { return l.tracker == tracker; });
    if (it != list.end()) list.erase(it);
}

void TargetLockList::removeOnTarget(const GF_Entity* target) {
    // Every target leaving the world is looked for, targetable or not, so that no bracket is left pointing at a
    // deleted entity.
    if (!target) return;
    // Trackers are told after the list is settled, so that a forgetter may report back to it.
    std::vector<GF_Entity*> trackers;
    for (auto it = list.begin(); it != list.end();) {
        if (it->target == target) {
            trackers.push_back(it->tracker);
            it = list.erase(it);
        } else {
            ++it;
        }
    }
    if (forgetter)
        for (GF_Entity* tracker : trackers) forgetter(tracker);
}

void TargetLockList::clear() {
    list.clear();
}

namespace {

// An L at the corner (x, y) whose arms of length c point along dx and dy (each +1 or -1).
void drawCorner(float x, float y, float dx, float dy, float c, float r, float g, float b) {
    sharedGraphic->drawLine(x, y, x + dx * c, y, r, g, b, 1);
    sharedGraphic->drawLine(x, y, x, y + dy * c, r, g, b, 1);
}

void drawBrackets(float x1, float y1, float x2, float y2, float offset, float c, float r, float g, float b) {
    drawCorner(x1 + offset, y1 + offset, 1, 1, c, r, g, b);
    drawCorner(x2 + offset, y1 + offset, -1, 1, c, r, g, b);
    drawCorner(x1 + offset, y2 + offset, 1, -1, c, r, g, b);
    drawCorner(x2 + offset, y2 + offset, -1, -1, c, r, g, b);
}

} // namespace

void TargetLockList::draw(double cameraX, double cameraY) const {
    if (!sharedGraphic) return;
    for (const TargetLock& lock : list) {
        const GF_Entity* t = lock.target;
        double x1 = t->x - t->radius - cameraX, x2 = t->x + t->radius - cameraX;
        double y1 = t->y - t->radius - cameraY, y2 = t->y + t->radius - cameraY;
        const double insetX = 0.1 * (x2 - x1), insetY = 0.1 * (y2 - y1);
        x1 += insetX;
        x2 -= insetX;
        y1 += insetY;
        y2 -= insetY;
        const float c = float(0.25 * (x2 - x1));
        const float fx1 = float(x1), fy1 = float(y1), fx2 = float(x2), fy2 = float(y2);
        drawBrackets(fx1, fy1, fx2, fy2, 2, c, 0, 0, 0);
        drawBrackets(fx1, fy1, fx2, fy2, 1, c, 1, 1, 0);
        drawBrackets(fx1, fy1, fx2, fy2, 0, c, 1, 1, 0);
    }
}

void clearTargetLocks() {
    targetLocks.clear();
}

void drawTargetLocks(double cameraX, double cameraY) {
    targetLocks.draw(cameraX, cameraY);
}

void setTargetForgetter(TargetLockList::TargetForgetter forgetter) {
    targetLocks.forgetter = forgetter;
}

void addTargetLock(GF_Entity* tracker, GF_Entity* target) {
    targetLocks.add(tracker, target);
}

void removeTargetLockOfTracker(GF_Entity* tracker) {
    targetLocks.removeOfTracker(tracker);
}

// A target leaving the world is also forgotten by every torpedo chasing it, locked or not.
void removeTargetLocksOnTarget(GF_Entity* target) {
    targetLocks.removeOnTarget(target);
    GF_AITorpedo1::forgetTarget(target);
}
