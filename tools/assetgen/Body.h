// Bodies drawn along a bending spine: the shared shape of the dolphin, the fish, the shark and the eel.
// A spine runs from the head to the tail; each spine point has a half-thickness above and below it.
#pragma once

#include "Art.h"

#include <functional>

struct BodyStyle {
    Rgb back;    // the dark upper side
    Rgb belly;   // the pale under side
    Rgb outline; // the dark outline
    double outlineWidth;
    double bellyLine; // where the two tones meet, as a fraction of the lower half-thickness (0 = spine)
};

struct Spine {
    std::vector<Point> points;    // head first
    std::vector<double> up, down; // half-thickness above and below each point
};

// A spine of `count` points from `head` backwards along `angle` (radians, 0 = the head points right), of
// the given length; bend(s) gives the sideways offset (pixels, + = down) at s = 0 (head) .. 1 (tail), and
// profile(s, up, down) the two half-thicknesses.
Spine makeSpine(Point head, double angle, double length, int count, const std::function<double(double)>& bend,
                const std::function<void(double, double&, double&)>& profile);

// Unit direction from the tail side towards the head at spine point i, and the "up" normal.
Point spineForward(const Spine& spine, size_t i);
Point spineUp(const Spine& spine, size_t i);
// The point at fraction s along the spine, offset by `across` along the up normal.
Point spineAt(const Spine& spine, double s, double across = 0);

std::vector<Point> bodyOutline(const Spine& spine);
// The body in two tones with an outline and a soft highlight along the back.
void drawBody(cairo_t* cr, const Spine& spine, const BodyStyle& style);
// A fin: a closed smooth shape in fin coordinates (x forward, y up the body), placed at a spine point.
void drawFin(cairo_t* cr, const Spine& spine, double s, double across, const std::vector<Point>& shape,
             double scaleAcross, Rgb fill, Rgb outline, double width);
// A small eye with its white glint.
void drawEye(cairo_t* cr, Point at, double radius, Rgb iris);
