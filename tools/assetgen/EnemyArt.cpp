// The enemies: Missile Fish, TNT Turtle, Robo Shark, eel, bird, drone, turret, auto gun and mines.
// Every sprite faces right; muzzles, jaws and exhausts sit on the hotspots the game reads.
#include "AssetFamilies.h"
#include "Body.h"

#include <cmath>

namespace {

const Rgb kInk = hex(0x121820);

// A metal ball lit from the upper left.
void metalBall(cairo_t* cr, double x, double y, double r, Rgb base) {
    circle(cr, x, y, r);
    radialGradient(cr, {x - r * 0.4, y - r * 0.4}, r * 0.1, {x, y}, r, shade(base, 1.5), base, shade(base, 0.45), 0.6);
    fillAndOutline(cr, kInk, 1.5);
}

void metalBox(cairo_t* cr, double x, double y, double w, double h, double r, Rgb base) {
    roundedRect(cr, x, y, w, h, r);
    verticalGradient(cr, y, shade(base, 1.35), y + h, shade(base, 0.55));
    fillAndOutline(cr, kInk, 1.5);
}

// --- Missile Fish -------------------------------------------------------------------------------------

void fishProfile(double s, double& up, double& down) {
    double t = std::sin(M_PI * std::pow(s, 0.8));
    up = 1.5 + 11 * t * (1 - 0.5 * s);
    down = 1.5 + 9 * t * (1 - 0.5 * s);
}

void drawMissileFish(cairo_t* cr, Point c, double tail, double headAngle, double stretch) {
    cairo_save(cr);
    cairo_translate(cr, c.x, c.y);
    cairo_scale(cr, stretch, 1);
    double a = headAngle * M_PI / 180;
    Point tip = {21 * std::cos(a) - 3 * std::sin(a), 21 * std::sin(a) + 3 * std::cos(a) - 1};
    Spine spine = makeSpine(
        tip, a, 36, 10, [&](double s) { return tail * s * s; }, fishProfile);
    Rgb fin = hex(0xd04a1a);
    std::vector<Point> tailFin = {{2, 0}, {-8, 10}, {-10, 9}, {-6, 0}, {-10, -9}, {-8, -10}};
    drawFin(cr, spine, 1.0, 0, tailFin, 1, fin, kInk, 1.2);
    std::vector<Point> dorsal = {{4, 0}, {-2, 6}, {-9, 7}, {-8, 0}};
    drawFin(cr, spine, 0.45, spine.up[4] - 1, dorsal, 1, fin, kInk, 1.2);
    drawBody(cr, spine, {hex(0xf07a20), hex(0xffe0a0), kInk, 1.4, 0.2});
    // Dark stripes, a launcher tube on the back and the big eye.
    for (double s : {0.38, 0.58}) {
        Point p0 = spineAt(spine, s, spine.up[static_cast<int>(s * 9)] - 1);
        Point p1 = spineAt(spine, s + 0.04, -spine.down[static_cast<int>(s * 9)] + 2);
        cairo_move_to(cr, p0.x, p0.y);
        cairo_line_to(cr, p1.x, p1.y);
        setColor(cr, hex(0x7a2008), 0.8);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
    }
    Point tubeA = spineAt(spine, 0.2, spine.up[2] + 2), tubeB = spineAt(spine, 0.55, spine.up[5] + 2);
    cairo_move_to(cr, tubeA.x, tubeA.y);
    cairo_line_to(cr, tubeB.x, tubeB.y);
    setColor(cr, kInk);
    cairo_set_line_width(cr, 7);
    cairo_stroke(cr);
    cairo_move_to(cr, tubeA.x, tubeA.y);
    cairo_line_to(cr, tubeB.x, tubeB.y);
    setColor(cr, hex(0x8c98a4));
    cairo_set_line_width(cr, 4.5);
    cairo_stroke(cr);
    Point eye = spineAt(spine, 0.16, 1.5);
    drawEye(cr, eye, 3.6, hex(0xc0f040));
    Point m0 = spineAt(spine, 0.0, -1), m1 = spineAt(spine, 0.08, -2.5);
    cairo_move_to(cr, m0.x, m0.y);
    cairo_line_to(cr, m1.x, m1.y);
    setColor(cr, kInk);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void writeLaserFish(AssetOutput& out) {
    static const double hot[16][2] = {{19, 2}, {21, 3}, {23, 2}, {24, 3}, {23, 2},  {21, 3}, {19, 3},  {18, 3},
                                      {21, 3}, {21, 3}, {12, 3}, {-4, 3}, {-17, 3}, {21, 7}, {21, 16}, {21, 18}};
    Canvas canvas(256, 256);
    std::vector<Hotspot> spots;
    for (int i = 0; i < 16; i++) {
        Point c = {(i % 4) * 64 + 32.0, (i / 4) * 64 + 32.0};
        double tail = 0, angle = 0, stretch = 1;
        if (i < 8)
            tail = 8 * std::sin(2 * M_PI * i / 8);
        else if (i < 10)
            tail = i == 8 ? 2 : -2;
        else if (i < 13)
            stretch = hot[i][0] / 21.0;
        else
            angle = std::atan2(hot[i][1] - 3, hot[i][0]) * 180 / M_PI * 1.6;
        if (std::fabs(stretch) < 0.25) stretch = stretch < 0 ? -0.25 : 0.25;
        c.x += (hot[i][0] - 21) * (i < 10 ? 1 : 0);
        drawMissileFish(canvas.cr(), c, tail, angle, stretch);
        spots.push_back({i, hot[i][0], hot[i][1]});
    }
    out.savePng(canvas, "laserfish.png", gridFrames(256, 256, 64, 64), spots);
}

// --- TNT Turtle ---------------------------------------------------------------------------------------

void drawTurtle(cairo_t* cr, Point c, double paddle, double stretch, double roll) {
    cairo_save(cr);
    cairo_translate(cr, c.x, c.y);
    cairo_rotate(cr, roll);
    cairo_scale(cr, stretch, 1);
    Rgb skin = hex(0x6cae4a), shell = hex(0x5a7a2a);
    // Back flipper, front flipper (behind), head.
    for (int k = 0; k < 2; k++) {
        double px = k ? 10 : -14, swing = k ? paddle : -paddle;
        cairo_save(cr);
        cairo_translate(cr, px, 6);
        cairo_rotate(cr, 0.5 + swing * 0.7);
        cairo_move_to(cr, 0, -3);
        cairo_curve_to(cr, -8, 2, -16, 8, -20, 14);
        cairo_curve_to(cr, -12, 12, -4, 6, 3, 3);
        cairo_close_path(cr);
        verticalGradient(cr, -3, shade(skin, 1.2), 14, shade(skin, 0.7));
        fillAndOutline(cr, kInk, 1.3);
        cairo_restore(cr);
    }
    cairo_move_to(cr, 14, -2);
    cairo_curve_to(cr, 22, -8, 30, -6, 30, 0);
    cairo_curve_to(cr, 30, 6, 22, 7, 14, 5);
    cairo_close_path(cr);
    verticalGradient(cr, -8, shade(skin, 1.2), 7, shade(skin, 0.8));
    fillAndOutline(cr, kInk, 1.4);
    drawEye(cr, {24, -2}, 2.3, hex(0x402010));
    // Belly plate and the domed shell with plates.
    cairo_move_to(cr, -20, 4);
    cairo_curve_to(cr, -10, 11, 10, 11, 18, 4);
    cairo_close_path(cr);
    setColor(cr, hex(0xe8d890));
    fillAndOutline(cr, kInk, 1.3);
    cairo_move_to(cr, -22, 5);
    cairo_curve_to(cr, -20, -16, 16, -18, 19, 5);
    cairo_close_path(cr);
    verticalGradient(cr, -14, shade(shell, 1.4), 5, shade(shell, 0.7));
    fillAndOutline(cr, kInk, 1.6);
    setColor(cr, hex(0x2e4012), 0.8);
    cairo_set_line_width(cr, 1.1);
    for (double x : {-10.0, 2.0, 12.0}) {
        cairo_move_to(cr, x - 3, 4);
        cairo_line_to(cr, x, -8);
    }
    cairo_move_to(cr, -18, -4);
    cairo_curve_to(cr, -8, -8, 8, -8, 17, -3);
    cairo_stroke(cr);
    // The TNT bundle strapped on top, with its fuse.
    for (int i = 0; i < 3; i++) {
        double x = -11 + i * 7;
        roundedRect(cr, x, -24, 6, 14, 1.5);
        verticalGradient(cr, -24, hex(0xff4a3a), -10, hex(0x9a1008));
        fillAndOutline(cr, kInk, 1.1);
    }
    cairo_rectangle(cr, -12, -19, 22, 3);
    setColor(cr, hex(0x3a2a18));
    cairo_fill(cr);
    cairo_move_to(cr, -1, -24);
    cairo_curve_to(cr, 0, -28, 4, -28, 5, -30);
    setColor(cr, hex(0x2a2018));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    glow(cr, 5, -30, 3, hex(0xffd040), 0.9);
    cairo_restore(cr);
}

void writeTurtle(AssetOutput& out) {
    Canvas canvas(256, 256);
    for (int i = 0; i < 16; i++) {
        Point c = {(i % 4) * 64 + 32.0, (i / 4) * 64 + 34.0};
        double paddle = 0, stretch = 1, roll = 0;
        if (i < 10)
            paddle = std::sin(2 * M_PI * i / 10);
        else if (i < 13)
            stretch = std::cos(M_PI * (i - 9) / 4.0) * 1.0;
        else
            roll = (i - 12) * 0.28;
        if (std::fabs(stretch) < 0.25) stretch = stretch < 0 ? -0.25 : 0.25;
        drawTurtle(canvas.cr(), c, paddle, stretch, roll);
    }
    out.savePng(canvas, "turtle.png", gridFrames(256, 256, 64, 64));
}

// --- Robo Shark ---------------------------------------------------------------------------------------

void sharkProfile(double s, double& up, double& down) {
    double t = std::sin(M_PI * std::pow(s, 0.7));
    up = 2 + 17 * t * (1 - 0.6 * s);
    down = 2 + 14 * t * (1 - 0.6 * s);
}

void drawShark(cairo_t* cr, Point c, double tail, double jaw) {
    cairo_save(cr);
    cairo_translate(cr, c.x, c.y);
    Rgb metal = hex(0x7d8a96), fin = hex(0x5d6a78);
    Spine spine = makeSpine(
        {60, 4}, -0.04, 104, 16, [&](double s) { return tail * s * s; }, sharkProfile);
    std::vector<Point> tailFin = {{3, 0}, {-8, 16}, {-13, 18}, {-7, 0}, {-10, -10}, {-5, -9}};
    drawFin(cr, spine, 1.0, 0, tailFin, 1, fin, kInk, 1.4);
    std::vector<Point> dorsal = {{10, 0}, {-2, 16}, {-8, 17}, {-6, 8}, {-10, 0}};
    drawFin(cr, spine, 0.4, spine.up[6] - 2, dorsal, 1, fin, kInk, 1.4);
    // The lower jaw hinges open for the bite.
    cairo_save(cr);
    cairo_translate(cr, 38, 10);
    cairo_rotate(cr, jaw * 0.5);
    cairo_move_to(cr, 0, -2);
    cairo_curve_to(cr, 8, 2, 16, 5, 20, 4);
    cairo_curve_to(cr, 14, 10, 2, 10, -4, 6);
    cairo_close_path(cr);
    verticalGradient(cr, -2, shade(metal, 1.1), 10, shade(metal, 0.6));
    fillAndOutline(cr, kInk, 1.3);
    for (int k = 0; k < 4; k++) {
        cairo_move_to(cr, 4 + k * 4, 2.5);
        cairo_line_to(cr, 6 + k * 4, -0.5);
        cairo_line_to(cr, 8 + k * 4, 3);
    }
    setColor(cr, {1, 1, 1});
    cairo_fill(cr);
    cairo_restore(cr);
    drawBody(cr, spine, {metal, hex(0xd4dbe2), kInk, 1.6, 0.3});
    if (jaw > 0) {
        // The open mouth: dark inside with teeth along the upper jaw.
        cairo_move_to(cr, 38, 9);
        cairo_curve_to(cr, 46, 12, 54, 12, 60, 8);
        cairo_line_to(cr, 60, 13);
        cairo_curve_to(cr, 52, 17, 44, 16, 38, 11);
        cairo_close_path(cr);
        setColor(cr, hex(0x401018));
        cairo_fill(cr);
    }
    for (int k = 0; k < 5; k++) {
        double x = 42 + k * 4;
        cairo_move_to(cr, x, 8.5 + k * 0.2);
        cairo_line_to(cr, x + 1.5, 12);
        cairo_line_to(cr, x + 3, 8.5 + k * 0.2);
    }
    setColor(cr, {1, 1, 1});
    cairo_fill(cr);
    // Armour seams, rivets, gill vents and a red robot eye.
    setColor(cr, hex(0x2a323c), 0.7);
    cairo_set_line_width(cr, 1);
    for (double s : {0.3, 0.55, 0.75}) {
        size_t i = static_cast<size_t>(s * 15);
        Point a = spineAt(spine, s, spine.up[i] - 1), b = spineAt(spine, s, -spine.down[i] + 1);
        cairo_move_to(cr, a.x, a.y);
        cairo_curve_to(cr, a.x - 3, (a.y + b.y) / 2, b.x - 3, (a.y + b.y) / 2, b.x, b.y);
    }
    cairo_stroke(cr);
    for (int k = 0; k < 3; k++) {
        cairo_move_to(cr, 22 - k * 4, -1);
        cairo_line_to(cr, 20 - k * 4, 9);
    }
    setColor(cr, hex(0x1a2028));
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    for (double s : {0.2, 0.42, 0.64}) {
        Point r = spineAt(spine, s, 4);
        circle(cr, r.x, r.y, 1.1);
    }
    setColor(cr, hex(0xe0e8f0));
    cairo_fill(cr);
    glow(cr, 44, -1, 6, hex(0xff3020), 0.9);
    circle(cr, 44, -1, 2.2);
    setColor(cr, hex(0xffe0c0));
    cairo_fill(cr);
    std::vector<Point> pectoral = {{6, 0}, {-6, -12}, {-12, -14}, {-6, -2}};
    drawFin(cr, spine, 0.32, -spine.down[5] * 0.4, pectoral, 1, fin, kInk, 1.3);
    cairo_restore(cr);
}

void writeShark(AssetOutput& out) {
    Canvas canvas(256, 256);
    std::vector<Hotspot> spots;
    for (int i = 0; i < 8; i++) {
        Point c = {(i % 2) * 128 + 64.0, (i / 2) * 64 + 32.0};
        double tail = i < 6 ? 10 * std::sin(2 * M_PI * i / 6) : 0;
        drawShark(canvas.cr(), c, tail, i == 6 ? 0.5 : (i == 7 ? 1.0 : 0));
        spots.push_back({i, 53, 14});
    }
    out.savePng(canvas, "shark.png", gridFrames(256, 256, 128, 64), spots);
}

// --- Eel ----------------------------------------------------------------------------------------------

void drawEel(cairo_t* cr, Point c, double tailX, double tailY, double wave, double phase, double headX, double roll) {
    cairo_save(cr);
    cairo_translate(cr, c.x, c.y);
    double length = headX + 4 - tailX;
    Spine spine = makeSpine(
        {headX + 4, 1}, 0, length, 24,
        [&](double s) { return wave * std::sin(phase + s * 2.4 * M_PI) * s + (tailY - 3) * s * s; },
        [&](double s, double& up, double& down) {
            double t = std::min(1.0, s * 8) * (1 - 0.8 * s);
            up = (1.5 + 6.5 * t) * (1 - 0.4 * roll);
            down = (1.5 + 5.5 * t) * (1 - 0.4 * roll);
        });
    drawBody(cr, spine, {hex(0x3a7a3a), hex(0xd8e860), kInk, 1.4, 0.2 - roll});
    // Glowing electric organs along the flank.
    for (int k = 0; k < 7; k++) {
        Point p = spineAt(spine, 0.15 + k * 0.1, 0.5);
        glow(cr, p.x, p.y, 3.5, hex(0x80ffff), 0.9);
    }
    Point eye = spineAt(spine, 0.03, 2);
    drawEye(cr, eye, 1.9, hex(0xffe040));
    cairo_restore(cr);
}

void writeEel(AssetOutput& out) {
    // The tail end follows the third hotspot of each frame; the head sits at the front of the frame.
    static const double tail[16][2] = {{-74, 4}, {-70, 4}, {-64, 4},  {-60, 4}, {-52, 4}, {-47, 4},
                                       {-74, 4}, {-74, 4}, {-74, 4},  {-63, 4}, {-32, 4}, {-24, 4},
                                       {-74, 1}, {-74, 0}, {-74, -3}, {-74, -5}};
    static const double arcTop[16] = {-16, -16, -16, -16, -16, -16, -18, -18, -20, -16, -18, -18, -16, -16, -16, -16};
    static const double arcBottom[16] = {18, 18, 18, 18, 18, 18, 20, 20, 20, 18, 20, 20, 18, 18, 18, 18};
    static const double arcX[16] = {61, 61, 61, 61, 61, 61, 61, 61, 61, 61, 38, 20, 61, 61, 61, 61};
    Canvas canvas(512, 128);
    std::vector<Hotspot> spots;
    for (int i = 0; i < 16; i++) {
        Point c = {(i % 4) * 128 + 64.0, (i / 4) * 32 + 16.0};
        double tx = std::max(tail[i][0], -62.0), headX = std::min(arcX[i] - 3, 58.0);
        double roll = (i >= 6 && i <= 8) ? (i - 5) * 0.3 : 0;
        drawEel(canvas.cr(), c, tx, tail[i][1], 3.5, i * 0.8, headX, roll);
        spots.push_back({i, arcX[i], arcTop[i]});
        spots.push_back({i, arcX[i], arcBottom[i]});
        spots.push_back({i, tail[i][0], tail[i][1]});
    }
    out.savePng(canvas, "eel.png", gridFrames(512, 128, 128, 32), spots);
}

// --- Bird ---------------------------------------------------------------------------------------------

void drawBird(cairo_t* cr, Point c, double wing, double stretch) {
    cairo_save(cr);
    cairo_translate(cr, c.x, c.y);
    cairo_scale(cr, stretch * 1.2, 1.2);
    Rgb white = hex(0xf2f4f6), grey = hex(0x8c98a8);
    auto drawWing = [&](double lift, double shadeFactor) {
        double tipY = -22 * lift;
        cairo_move_to(cr, -8, -2);
        cairo_curve_to(cr, -14, tipY * 0.6 - 2, -26, tipY - 2, -34, tipY + 2);
        cairo_curve_to(cr, -22, tipY * 0.5 + 6, -10, 4, 6, 2);
        cairo_close_path(cr);
        verticalGradient(cr, tipY - 4, shade(white, shadeFactor), 6, shade(grey, shadeFactor));
        fillAndOutline(cr, kInk, 1.3);
        cairo_move_to(cr, -34, tipY + 2);
        cairo_curve_to(cr, -30, tipY + 1, -26, tipY * 0.8 + 2, -24, tipY * 0.7 + 3);
        setColor(cr, hex(0x2a2e36));
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
    };
    drawWing(wing * 0.8, 0.8);
    // Tail, body, head with beak.
    cairo_move_to(cr, -18, 0);
    cairo_line_to(cr, -30, -4);
    cairo_line_to(cr, -30, 5);
    cairo_close_path(cr);
    setColor(cr, grey);
    fillAndOutline(cr, kInk, 1.2);
    cairo_save(cr);
    cairo_scale(cr, 1.6, 1);
    circle(cr, -2, 2, 11);
    cairo_restore(cr);
    verticalGradient(cr, -9, white, 13, shade(grey, 1.1));
    fillAndOutline(cr, kInk, 1.5);
    circle(cr, 18, -4, 7);
    verticalGradient(cr, -11, white, 3, shade(white, 0.85));
    fillAndOutline(cr, kInk, 1.4);
    cairo_move_to(cr, 23, -6);
    cairo_line_to(cr, 34, -2);
    cairo_line_to(cr, 23, 0);
    cairo_close_path(cr);
    setColor(cr, hex(0xf0a020));
    fillAndOutline(cr, kInk, 1.1);
    drawEye(cr, {20, -6}, 1.8, hex(0x202020));
    // Feet tucked under, holding the bomb drop point.
    cairo_move_to(cr, -6, 12);
    cairo_line_to(cr, -5, 17);
    cairo_move_to(cr, -1, 12);
    cairo_line_to(cr, -2, 17);
    setColor(cr, hex(0xe08a20));
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    drawWing(wing, 1.0);
    cairo_restore(cr);
}

void writeBird(AssetOutput& out) {
    static const double drop[8][2] = {{-5, 19}, {-5, 19}, {-7, 19}, {-9, 19}, {-10, 19}, {-9, 19}, {-7, 20}, {0, 21}};
    Canvas canvas(256, 256);
    std::vector<Hotspot> spots;
    for (int i = 0; i < 8; i++) {
        Point c = {(i % 2) * 128 + 64.0, (i / 2) * 64 + 34.0};
        double wing = i < 5 ? std::cos(2 * M_PI * i / 5) : 0.3;
        double stretch = i < 5 ? 1 : std::cos(M_PI * (i - 4) / 4.0);
        if (std::fabs(stretch) < 0.3) stretch = stretch < 0 ? -0.3 : 0.3;
        drawBird(canvas.cr(), c, wing, stretch);
        spots.push_back({i, drop[i][0], drop[i][1]});
    }
    out.savePng(canvas, "bird.png", gridFrames(256, 256, 128, 64), spots);
}

// --- Drone, turret, auto gun, mines -------------------------------------------------------------------

void writeDrone(AssetOutput& out) {
    Canvas canvas(64, 64);
    cairo_t* cr = canvas.cr();
    cairo_translate(cr, 32, 32);
    // Thruster pods above and below, exhausts pointing out at the hotspots.
    for (int side = -1; side <= 1; side += 2) {
        metalBox(cr, -5, side < 0 ? -29 : 19, 14, 10, 3, hex(0x707c88));
        glow(cr, 2, side * 29, 5, hex(0x60d0ff), 0.8);
        cairo_move_to(cr, 2, side * 10);
        cairo_line_to(cr, 2, side * 20);
        setColor(cr, kInk);
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
    }
    metalBox(cr, 14, -5, 14, 6, 2, hex(0x505a64));
    metalBall(cr, 0, 0, 16, hex(0x4a6a8a));
    circle(cr, 5, -1, 7);
    setColor(cr, hex(0x101820));
    cairo_fill(cr);
    glow(cr, 6, -1, 6, hex(0xff4030), 1.0);
    circle(cr, 6, -2, 2);
    setColor(cr, {1, 0.9, 0.8});
    cairo_fill(cr);
    out.savePng(canvas, "drone1.png", {{0, 0, 64, 64}}, {{0, 26, -2}, {0, 2, -30}, {0, 2, 31}});
}

// Shading that depends only on the distance from the axis y = cy, so that a sprite drawn mirrored across its
// facing (the game does that for facings past 180 degrees) looks the same: a cylinder lit along its axis.
void axisShade(cairo_t* cr, double cy, double halfWidth, Rgb base) {
    cairo_pattern_t* g = cairo_pattern_create_linear(0, cy - halfWidth, 0, cy + halfWidth);
    const Rgb edge = shade(base, 0.5), middle = shade(base, 1.4);
    cairo_pattern_add_color_stop_rgb(g, 0, edge.r, edge.g, edge.b);
    cairo_pattern_add_color_stop_rgb(g, 0.5, middle.r, middle.g, middle.b);
    cairo_pattern_add_color_stop_rgb(g, 1, edge.r, edge.g, edge.b);
    cairo_set_source(cr, g);
    cairo_pattern_destroy(g);
}

// A metal box along the x axis, centred on y = cy, shaded as a cylinder.
void axisBox(cairo_t* cr, double x, double cy, double w, double h, double r, Rgb base) {
    roundedRect(cr, x, cy - h / 2, w, h, r);
    axisShade(cr, cy, h / 2, base);
    fillAndOutline(cr, kInk, 1.5);
}

// A metal ball lit from the front along the axis.
void axisBall(cairo_t* cr, double x, double y, double r, Rgb base) {
    circle(cr, x, y, r);
    radialGradient(cr, {x + r * 0.35, y}, r * 0.1, {x, y}, r, shade(base, 1.5), base, shade(base, 0.45), 0.6);
    fillAndOutline(cr, kInk, 1.5);
}

// A plate bolted to a wall on the left (across the facing), from x to x + w and cy - h / 2 to cy + h / 2.
void wallPlate(cairo_t* cr, double x, double cy, double w, double h, Rgb base, int bolts) {
    roundedRect(cr, x, cy - h / 2, w, h, 3);
    cairo_pattern_t* g = cairo_pattern_create_linear(x, 0, x + w, 0);
    const Rgb dark = shade(base, 0.55), light = shade(base, 1.3);
    cairo_pattern_add_color_stop_rgb(g, 0, dark.r, dark.g, dark.b);
    cairo_pattern_add_color_stop_rgb(g, 1, light.r, light.g, light.b);
    cairo_set_source(cr, g);
    cairo_pattern_destroy(g);
    fillAndOutline(cr, kInk, 1.5);
    for (int k = 0; k < bolts; k++) {
        const double y = cy - h / 2 + h * (k + 0.5) / bolts;
        circle(cr, x + w / 2, y, 1.6);
        setColor(cr, hex(0xd0d8e0));
        cairo_fill(cr);
    }
}

void writeTurret(AssetOutput& out) {
    Canvas canvas(128, 64);
    cairo_t* cr = canvas.cr();
    // Body, facing right: a base plate against a wall on the left, an armoured dome bulging towards +x and the
    // barrel's socket at the frame centre, where the barrel turns. Everything is symmetric about y = 32.
    wallPlate(cr, 1, 32, 12, 56, hex(0x5a6470), 4);
    cairo_move_to(cr, 12, 7);
    cairo_curve_to(cr, 38, 7, 50, 18, 50, 32);
    cairo_curve_to(cr, 50, 46, 38, 57, 12, 57);
    cairo_close_path(cr);
    radialGradient(cr, {38, 32}, 2, {22, 32}, 34, hex(0xb8c4d0), hex(0x7a8692), hex(0x3a444e), 0.55);
    fillAndOutline(cr, kInk, 1.6);
    // An armour seam round the dome and two sensor lights either side of the socket.
    cairo_move_to(cr, 20, 9.5);
    cairo_curve_to(cr, 25, 20, 25, 44, 20, 54.5);
    setColor(cr, kInk, 0.6);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
    for (double y : {15.0, 49.0}) {
        glow(cr, 36, y, 5, hex(0xff4030), 0.9);
        circle(cr, 36, y, 1.5);
        setColor(cr, {1, 0.9, 0.8});
        cairo_fill(cr);
    }
    circle(cr, 32, 32, 9);
    setColor(cr, hex(0x161c24));
    cairo_fill(cr);
    // Barrel, pointing along +x from its pivot at the frame centre (where it sits on the body's socket when the
    // game draws it): a breech behind the pivot, the tube, and the muzzle round the tip (24, 0).
    cairo_translate(cr, 96, 16);
    axisBox(cr, -15, 0, 16, 12, 3, hex(0x4a545e));
    axisBox(cr, -2, 0, 24, 8, 3, hex(0x6a7682));
    axisBox(cr, 19, 0, 10, 12, 2, hex(0x3a444e));
    axisBall(cr, 0, 0, 8, hex(0x7a8896));
    circle(cr, 0, 0, 2.5);
    setColor(cr, kInk);
    cairo_fill(cr);
    out.savePng(canvas, "turret.png", {{0, 0, 64, 64}, {64, 0, 128, 32}}, {{1, -17, 0}, {1, 24, 0}});
}

void writeAutoGun(AssetOutput& out) {
    Canvas canvas(64, 64);
    cairo_t* cr = canvas.cr();
    cairo_translate(cr, 32, 32);
    // Facing right, mounted on a wall whose face runs through the centre (as on a cell beside the ground): a
    // flange bolted to it, the magazine with its warning stripes, and the barrel out to the muzzle at (30, 0).
    // Symmetric about the facing, so that it looks the same drawn mirrored.
    axisBox(cr, 8, 0, 18, 8, 2, hex(0x5a6470));
    axisBox(cr, 23, 0, 8, 12, 2, hex(0x343c46));
    cairo_move_to(cr, -2, -16);
    cairo_line_to(cr, 13, -12);
    cairo_line_to(cr, 13, 12);
    cairo_line_to(cr, -2, 16);
    cairo_close_path(cr);
    axisShade(cr, 0, 15, hex(0x8a5a2a));
    fillAndOutline(cr, kInk, 1.5);
    cairo_rectangle(cr, 1, -4, 10, 8);
    setColor(cr, hex(0xf0c020));
    cairo_fill(cr);
    for (int k = 0; k < 3; k++) { // chevrons, which look the same mirrored
        cairo_move_to(cr, 1 + k * 4, -4);
        cairo_line_to(cr, 4 + k * 4, 0);
        cairo_line_to(cr, 1 + k * 4, 4);
    }
    setColor(cr, kInk);
    cairo_set_line_width(cr, 1.8);
    cairo_stroke(cr);
    wallPlate(cr, -7, 0, 7, 40, hex(0x5a6470), 3);
    out.savePng(canvas, "autogun.png", {{0, 0, 64, 64}}, {{0, 30, 0}});
}

void drawMine(cairo_t* cr, Point c, bool armoured, bool lit) {
    cairo_save(cr);
    cairo_translate(cr, c.x, c.y);
    Rgb body = armoured ? hex(0x6a7480) : hex(0x3a3a3e);
    for (int k = 0; k < 8; k++) {
        double a = k * M_PI / 4;
        cairo_save(cr);
        cairo_rotate(cr, a);
        cairo_rectangle(cr, 14, -3, 10, 6);
        verticalGradient(cr, -3, shade(body, 1.4), 3, shade(body, 0.6));
        fillAndOutline(cr, kInk, 1.2);
        cairo_rectangle(cr, 23, -4.5, 4, 9);
        setColor(cr, armoured ? hex(0xc8a040) : hex(0xa0a0a8));
        fillAndOutline(cr, kInk, 1.1);
        cairo_restore(cr);
    }
    metalBall(cr, 0, 0, 17, body);
    if (armoured) {
        cairo_set_line_width(cr, 1.2);
        setColor(cr, hex(0x20262e), 0.8);
        circle(cr, 0, 0, 11);
        cairo_stroke(cr);
        for (int k = 0; k < 6; k++) {
            double a = k * M_PI / 3 + 0.5;
            circle(cr, 14 * std::cos(a), 14 * std::sin(a), 1.3);
            setColor(cr, hex(0xe0e6ec));
            cairo_fill(cr);
        }
    }
    glow(cr, 0, 0, lit ? 12 : 6, lit ? hex(0xff3020) : hex(0x801010), lit ? 1.0 : 0.7);
    circle(cr, 0, 0, 3);
    setColor(cr, lit ? hex(0xffe0c0) : hex(0x501010));
    cairo_fill(cr);
    cairo_restore(cr);
}

void writeMines(AssetOutput& out) {
    Canvas canvas(256, 64);
    for (int i = 0; i < 4; i++) drawMine(canvas.cr(), {i * 64 + 32.0, 32}, i < 2, i % 2 == 1);
    out.savePng(canvas, "mines.png", gridFrames(256, 64, 64, 64));
}

} // namespace

void writeEnemyArt(AssetOutput& out) {
    writeLaserFish(out);
    writeTurtle(out);
    writeShark(out);
    writeEel(out);
    writeBird(out);
    writeDrone(out);
    writeTurret(out);
    writeAutoGun(out);
    writeMines(out);
}
