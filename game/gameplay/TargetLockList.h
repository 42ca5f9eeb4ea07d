// The target locks of homing torpedoes: which torpedo chases which entity, and the lock-on brackets drawn
// around every locked target.
#pragma once

#include <vector>

class GF_Entity;

struct TargetLock {
    GF_Entity* tracker; // the torpedo
    GF_Entity* target;
};

class TargetLockList {
public:
    // Told of every tracker whose target leaves the world, so that its behaviour lets go of it.
    using TargetForgetter = void (*)(GF_Entity* tracker);

    void add(GF_Entity* tracker, GF_Entity* target);
    // The first lock of the tracker.
    void removeOfTracker(const GF_Entity* tracker);
    // Every lock on the target; their trackers forget it.
    void removeOnTarget(const GF_Entity* target);
    void clear();
    // Four corner brackets around each locked target, with a black and a yellow shadow.
    void draw(double cameraX, double cameraY) const;

    const std::vector<TargetLock>& locks() const { return list; }
    TargetForgetter forgetter = nullptr;

private:
    std::vector<TargetLock> list;
};

extern TargetLockList targetLocks;

void clearTargetLocks();
void drawTargetLocks(double cameraX, double cameraY);
// The behaviours install what a tracker does when its target goes.
void setTargetForgetter(TargetLockList::TargetForgetter forgetter);
