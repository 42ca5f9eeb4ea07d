// The player's dolphin (three sheets of stroke, glide, turn, flip and reverse poses), the spinning Gold
// Radudod (drawn the same on the HUD meter and in the comics), the HUD portrait and the evil dolphin's eye glow.
#include "AssetFamilies.h"
#include "Body.h"

#include <cmath>

namespace {

struct DolphinPalette {
    Rgb back, belly, fin, outline, eye;
};

const DolphinPalette kBlue = {hex(0x3f6fa3), hex(0xe4eef4), hex(0x36608f), hex(0x0f1d33), hex(0x2a4f7a)};
const DolphinPalette kGold = {hex(0xd89a1c), hex(0xfff0a0), hex(0xc98a10), hex(0x5a3300), hex(0x6a3c00)};

// A pose in frame coordinates (origin = frame centre, y down).
struct DolphinPose {
    Point eye;           // where the eye goes (the second hotspot of the frame)
    double headAngle;    // degrees; negative lifts the snout
    double tail;         // sideways offset of the flukes (+ = down)
    double curve;        // bend of the middle of the body (+ = belly side)
    double roll = 0;     // 0 side view .. 1 belly towards the viewer
    double stretchX = 1; // foreshortening while turning
};

void profile(double s, double& up, double& down) {
    // Half-thickness above and below the spine: beak, melon, chest, then the tapering tail stock.
    static const double at[] = {0, 0.06, 0.12, 0.2, 0.32, 0.45, 0.6, 0.75, 0.88, 1.0};
    static const double ups[] = {1.8, 3.8, 10.5, 14.5, 16.0, 15.5, 12.0, 7.5, 3.8, 2.4};
    static const double downs[] = {1.6, 3.8, 8.0, 12.0, 14.5, 13.5, 9.5, 5.8, 3.0, 2.2};
    for (int i = 0; i < 9; i++)
        if (s <= at[i + 1]) {
            double t = (s - at[i]) / (at[i + 1] - at[i]);
            up = ups[i] + (ups[i + 1] - ups[i]) * t;
            down = downs[i] + (downs[i + 1] - downs[i]) * t;
            return;
        }
    up = ups[9];
    down = downs[9];
}

void drawDolphinSide(cairo_t* cr, Point centre, const DolphinPose& pose, const DolphinPalette& pal, double size = 1) {
    cairo_save(cr);
    cairo_translate(cr, centre.x, centre.y);
    cairo_scale(cr, pose.stretchX * size, size);
    double a = pose.headAngle * M_PI / 180;
    const double eyeFromTip = 17;
    Point tip = {pose.eye.x + eyeFromTip * std::cos(a), pose.eye.y + eyeFromTip * std::sin(a) - 1.5};
    double flatten = 1 - 0.55 * pose.roll;
    Spine spine = makeSpine(
        tip, a, 108, 16, [&](double s) { return 1.25 * pose.tail * std::pow(s, 2.4) + pose.curve * 4 * s * (1 - s); },
        [&](double s, double& up, double& down) {
            profile(s, up, down);
            up *= flatten;
            down *= flatten;
        });
    BodyStyle style = {pal.back, pal.belly, pal.outline, 1.6, 0.25 - 1.1 * pose.roll};

    double across = 1 - pose.roll;
    // Flukes behind the tail stock, dorsal fin behind the back.
    std::vector<Point> fluke = {{3, 0}, {-6, 8}, {-15, 13}, {-11, 4}, {-12, 0}, {-11, -4}, {-15, -13}, {-6, -8}};
    drawFin(cr, spine, 1.0, 0, fluke, 0.55 + 0.45 * across, pal.fin, pal.outline, 1.4);
    std::vector<Point> dorsal = {{9, -2}, {2, 8}, {-7, 14}, {-9, 13}, {-6, 5}, {-10, -2}};
    if (pose.roll < 0.85) drawFin(cr, spine, 0.45, spine.up[7] - 2, dorsal, across, pal.fin, pal.outline, 1.4);
    drawBody(cr, spine, style);
    // Mouth line along the beak and the eye.
    Point m0 = spineAt(spine, 0.02, -0.5), m1 = spineAt(spine, 0.13, -2.5);
    cairo_move_to(cr, m0.x, m0.y);
    cairo_line_to(cr, m1.x, m1.y);
    setColor(cr, pal.outline, 0.8);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    drawEye(cr, {pose.eye.x, pose.eye.y - 1.5}, 2.3, pal.eye);
    // Flipper in front of the body.
    std::vector<Point> flipper = {{4, 0}, {-3, -6}, {-11, -11}, {-9, -5}, {-5, 1}};
    drawFin(cr, spine, 0.27, -spine.down[4] * 0.3, flipper, 0.7 + 0.6 * pose.roll, shade(pal.fin, 0.95), pal.outline,
            1.3);
    cairo_restore(cr);
}

// The dolphin seen from the front, half-way through turning round.
void drawDolphinFront(cairo_t* cr, Point c, const DolphinPalette& pal) {
    cairo_save(cr);
    cairo_translate(cr, c.x, c.y);
    // Flukes far behind, then the dorsal fin, flippers, body and face.
    cairo_move_to(cr, -34, 1);
    cairo_curve_to(cr, -20, -4, 20, -4, 34, 1);
    cairo_curve_to(cr, 20, 4, -20, 4, -34, 1);
    verticalGradient(cr, -4, pal.fin, 4, shade(pal.fin, 0.7));
    fillAndOutline(cr, pal.outline, 1.3);
    cairo_move_to(cr, -5, -12);
    cairo_curve_to(cr, -3, -22, 2, -27, 3, -28);
    cairo_curve_to(cr, 4, -20, 5, -15, 6, -11);
    cairo_close_path(cr);
    verticalGradient(cr, -28, shade(pal.fin, 1.2), -10, pal.fin);
    fillAndOutline(cr, pal.outline, 1.3);
    for (int side = -1; side <= 1; side += 2) {
        cairo_move_to(cr, side * 10, 6);
        cairo_curve_to(cr, side * 20, 9, side * 27, 14, side * 29, 19);
        cairo_curve_to(cr, side * 22, 18, side * 14, 15, side * 9, 12);
        cairo_close_path(cr);
        verticalGradient(cr, 6, pal.fin, 19, shade(pal.fin, 0.75));
        fillAndOutline(cr, pal.outline, 1.2);
    }
    cairo_save(cr);
    cairo_scale(cr, 1, 1.02);
    circle(cr, 0, 0, 15);
    cairo_restore(cr);
    radialGradient(cr, {0, 6}, 2, {0, 0}, 16, pal.belly, shade(pal.back, 1.1), shade(pal.back, 0.8));
    fillAndOutline(cr, pal.outline, 1.6);
    highlight(cr, -4, -8, 6, 3, 0.3);
    // Beak pointing at the viewer, with a smile.
    cairo_save(cr);
    cairo_translate(cr, 0, 8);
    cairo_scale(cr, 1.3, 1);
    circle(cr, 0, 0, 4.5);
    cairo_restore(cr);
    setColor(cr, shade(pal.belly, 0.95));
    fillAndOutline(cr, pal.outline, 1.2);
    cairo_move_to(cr, -5, 9);
    cairo_curve_to(cr, -2, 11, 2, 11, 5, 9);
    setColor(cr, pal.outline);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    drawEye(cr, {-6, 1}, 2.3, pal.eye);
    drawEye(cr, {6, 1}, 2.3, pal.eye);
    cairo_restore(cr);
}

struct DolphinFrame {
    DolphinPose pose;
    bool front;
};

// Stroke cycle: the head rises and falls while the flukes beat; eye positions follow the hotspot table.
const DolphinFrame kSheet1[8] = {
    {{{46, 6}, -5, -14, 1}, false},   {{{46, 4}, -2, -6, 0.5}, false},  {{{46, 1}, -1, 4, 0}, false},
    {{{46, -2}, 0, 12, -0.5}, false}, {{{46, -2}, 1, 16, -1}, false},   {{{46, 0}, 0, 10, -0.5}, false},
    {{{46, 3}, -1, 0, 0}, false},     {{{46, 6}, -2, -10, 0.5}, false},
};
// Glide, banking turn and the roll of the flip.
const DolphinFrame kSheet2[8] = {
    {{{46, 3}, -3, -2, 0}, false},     {{{46, 2}, -2, 1, 0}, false},      {{{46, 2}, -2, 3, 0}, false},
    {{{46, 1}, -2, 10, 5}, false},     {{{46, 1}, 0, 16, 8}, false},      {{{44, 6}, -2, 2, 0, 0.3}, false},
    {{{46, 8}, 0, 0, 0, 0.65}, false}, {{{46, 8}, 4, 0, 0, 0.95}, false},
};
// Reverse (turning round through a front view), then two poses of the dash.
const DolphinFrame kSheet3[5] = {
    {{{40, 3}, -3, -4, 0, 0, 0.92}, false}, {{{44, 2}, -4, -2, 0, 0.1, 0.5}, false}, {{{0, 0}, 0, 0, 0}, true},
    {{{45, 3}, -2, -8, 1}, false},          {{{45, 3}, -2, 8, -1}, false},
};

void writeDolphinSheet(AssetOutput& out, const std::string& name, const DolphinFrame* frames, int count, int columns,
                       const std::vector<Hotspot>& hotspots) {
    int rows = (count + columns - 1) / columns;
    Canvas canvas(columns * 128, rows * 64);
    for (int i = 0; i < count; i++) {
        Point centre = {(i % columns) * 128 + 64.0, (i / columns) * 64 + 32.0};
        if (frames[i].front)
            drawDolphinFront(canvas.cr(), centre, kBlue);
        else
            drawDolphinSide(canvas.cr(), centre, frames[i].pose, kBlue);
    }
    out.savePng(canvas, name, gridFrames(canvas.width(), canvas.height(), 128, 64), hotspots);
}

void writeGoldDolphin(AssetOutput& out) {
    Canvas canvas(128, 128);
    for (int i = 0; i < 16; i++)
        drawGoldRadudod(canvas.cr(), {(i % 4) * 32 + 16.0, (i / 4) * 32 + 16.0}, 1, std::cos(2 * M_PI * i / 16));
    out.savePng(canvas, "golddolphin.png", gridFrames(128, 128, 32, 32));
}

void writeHealthHead(AssetOutput& out) {
    Canvas canvas(64, 64);
    cairo_t* cr = canvas.cr();
    circle(cr, 32, 32, 29);
    radialGradient(cr, {26, 22}, 4, {32, 32}, 30, hex(0x73c7f2), hex(0x3a7ab0), hex(0x0d3873), 0.5);
    fillAndOutline(cr, hex(0x0a1a30), 2.5);
    cairo_save(cr);
    circle(cr, 32, 32, 27.5);
    cairo_clip(cr);
    drawDolphinSide(cr, {-30, 40}, {{42, 3}, -18, 0, 0}, kBlue, 1.35);
    cairo_restore(cr);
    circle(cr, 32, 32, 29);
    setColor(cr, hex(0xbfe4ff), 0.8);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    highlight(cr, 22, 14, 12, 5, 0.35);
    out.savePng(canvas, "healthhead.png", {{0, 0, 64, 64}});
}

void writeEvilEye(AssetOutput& out) {
    Canvas canvas(16, 16);
    glow(canvas.cr(), 8, 8, 8, hex(0xff2010), 1.0);
    glow(canvas.cr(), 8, 8, 3, hex(0xffd0a0), 1.0);
    out.savePng(canvas, "evileye.png", {{0, 0, 16, 16}});
}

} // namespace

void writeDolphinArt(AssetOutput& out) {
    std::vector<Hotspot> h1, h2, h3;
    for (int i = 0; i < 8; i++) {
        h1.push_back({i, kSheet1[i].pose.eye.x, kSheet1[i].pose.eye.y});
        h2.push_back({i, kSheet2[i].pose.eye.x, kSheet2[i].pose.eye.y});
    }
    static const double muzzle1[8][2] = {{45, -10}, {45, -12}, {44, -14}, {42, -17},
                                         {43, -18}, {43, -17}, {44, -14}, {44, -12}};
    static const double muzzle2[8][2] = {{45, -12}, {44, -13}, {44, -14}, {44, -14},
                                         {44, -14}, {44, -11}, {44, -6},  {44, 1}};
    static const double spots3[7][3] = {{0, 44, -12}, {0, 40, 3}, {1, 25, -13}, {1, 22, 2},
                                        {2, 0, -11},  {2, -6, 2}, {2, 6, 2}};
    for (int i = 0; i < 8; i++) {
        h1.push_back({i, muzzle1[i][0], muzzle1[i][1]});
        h2.push_back({i, muzzle2[i][0], muzzle2[i][1]});
    }
    for (const auto& s : spots3) h3.push_back({static_cast<int>(s[0]), s[1], s[2]});
    for (int i = 3; i < 5; i++) {
        h3.push_back({i, 44, -12});
        h3.push_back({i, 45, 3});
    }
    writeDolphinSheet(out, "glimmerfin1.png", kSheet1, 8, 2, h1);
    writeDolphinSheet(out, "glimmerfin2.png", kSheet2, 8, 2, h2);
    writeDolphinSheet(out, "glimmerfin3.png", kSheet3, 5, 5, h3);
    writeGoldDolphin(out);
    writeHealthHead(out);
    writeEvilEye(out);
}

void drawDolphin(cairo_t* cr, Point centre, double angleDegrees, double scale) {
    cairo_save(cr);
    cairo_translate(cr, centre.x, centre.y);
    cairo_rotate(cr, angleDegrees * M_PI / 180);
    drawDolphinSide(cr, {0, 0}, {{46, 3}, -2, -8, 1}, kBlue, scale);
    cairo_restore(cr);
}

void drawGoldRadudod(cairo_t* cr, Point centre, double size, double turn) {
    glow(cr, centre.x, centre.y, 15 * size, hex(0xffe680), 0.35);
    // A leaping, arched dolphin turning about its upright axis.
    double stretch = std::max(0.12, std::fabs(turn)) * (turn < 0 ? -1 : 1);
    cairo_save(cr);
    cairo_translate(cr, centre.x, centre.y);
    cairo_scale(cr, stretch * size, size);
    cairo_rotate(cr, -0.45);
    cairo_scale(cr, 0.3, 0.3);
    drawDolphinSide(cr, {-4, 6}, {{42, 3}, -8, 14, -10}, kGold);
    cairo_restore(cr);
}
