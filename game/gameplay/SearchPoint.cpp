// The search point of the sight-driven enemies.
#include "SearchPoint.h"

#include "BehaviourTools.h"
#include "GF_Entity.h"

namespace {
constexpr double kArrival = 100;
constexpr double kSearchTime = 5.0;
} // namespace

bool SearchPoint::step(const GF_Entity& e) {
    if (!active && pickSearchPoint(e, x, y)) {
        active = 1;
        clock = 0;
    }
    if (!active) return false;
    if (distanceBetween(e.x, e.y, x, y) < kArrival || clock > kSearchTime) {
        active = 0;
        return false;
    }
    return true;
}
