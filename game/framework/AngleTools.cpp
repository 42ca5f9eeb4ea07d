// Angle arithmetic and vector rotation.
#include "AngleTools.h"

#include "KRandom.h"

#include <cmath>

namespace {
constexpr double kDegreesPerRadian = 57.29577951307855;
}

double wrapAngle(double a) {
    if (a >= 360.0)
        a -= 360.0;
    else if (a < 0.0)
        a += 360.0;
    return a;
}

double angleDifference(double a, double b) {
    double d = a - b;
    if (d > 180.0) d -= 360.0;
    if (d < -180.0) d += 360.0;
    return d;
}

bool isAngleWithin(double a, double b, double limit) {
    return std::fabs(angleDifference(b, a)) < limit;
}

double midAngle(double a, double b) {
    return wrapAngle(a + angleDifference(b, a) / 2.0);
}

double pushAngleAway(double a, double b) {
    const double d = angleDifference(a, b);
    if (std::fabs(d) >= 90.0) return a;
    return midAngle(wrapAngle(a + d), a);
}

double randomAngleAround(double centre, double halfRange) {
    const double fraction = double(kRand()) / double(K_RAND_MAX);
    return wrapAngle(centre - halfRange + fraction * 2.0 * halfRange);
}

void rotateVector(double angle, double& x, double& y) {
    const double radians = angle / kDegreesPerRadian;
    const double s = std::sin(radians), c = std::cos(radians);
    const double rx = x * c - y * s;
    const double ry = x * s + y * c;
    x = rx;
    y = ry;
}
