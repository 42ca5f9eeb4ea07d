// Angle arithmetic in degrees (counter-clockwise, wrapped into [0, 360)) and vector rotation, shared by the
// entities' steering, aiming and effects.
#pragma once

// Into [0, 360) for angles within one turn of it: 360 or more loses 360, below 0 gains 360 (once).
double wrapAngle(double a);
// a - b, brought into [-180, 180] by one correction of 360.
double angleDifference(double a, double b);
// True when b lies less than limit degrees from a, either way.
bool isAngleWithin(double a, double b, double limit);
// Halfway from a toward b along the shorter way, wrapped.
double midAngle(double a, double b);
// a moved further away from b: unchanged when they are 90 degrees or more apart.
double pushAngleAway(double a, double b);
// A random angle in [centre - halfRange, centre + halfRange], wrapped (one draw of kRand).
double randomAngleAround(double centre, double halfRange);
// Rotates (x, y) in place by the angle.
void rotateVector(double angle, double& x, double& y);
