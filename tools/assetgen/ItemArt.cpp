// Shots, particles, pickups, HUD icons, cursors and the hoop balls. The laser and particle sheets are
// drawn for additive blending: bright glows on transparency, nothing where nothing should show.
#include "AssetFamilies.h"

#include <cmath>

namespace {

const Rgb kInk = hex(0x121820);

// A glowing bolt along x in the box, brightest along its core.
void bolt(cairo_t* cr, double x0, double y0, double w, double h, Rgb colour, double coreWidth) {
    double cy = y0 + h / 2;
    for (int layer = 0; layer < 3; layer++) {
        double thickness = (h - 2) * (1.0 - layer * 0.33);
        double alpha = 0.35 + layer * 0.3;
        Rgb c = layer == 2 ? shade(colour, 1.7) : colour;
        softEllipse(cr, x0 + w / 2, cy, (w - 2) / 2, thickness / 2, c, alpha, 0.6);
    }
    cairo_move_to(cr, x0 + w * 0.18, cy);
    cairo_line_to(cr, x0 + w * 0.86, cy);
    setColor(cr, {1, 1, 1}, 0.9);
    cairo_set_line_width(cr, coreWidth);
    cairo_stroke(cr);
}

void writeLaser(AssetOutput& out) {
    Canvas canvas(128, 128);
    cairo_t* cr = canvas.cr();
    bolt(cr, 0, 0, 50, 31, hex(0x40c0ff), 3);   // 0 player laser
    bolt(cr, 50, 0, 66, 43, hex(0x60ffb0), 5);  // 1 charged laser
    bolt(cr, 0, 31, 50, 31, hex(0xff3a30), 3);  // 2 turret laser
    bolt(cr, 50, 43, 66, 43, hex(0x50e0ff), 4); // 3 lightly charged laser
    // 4 the laser sword: a blade of light from the grip at the left end.
    cairo_save(cr);
    cairo_rectangle(cr, 0, 98, 128, 30);
    cairo_clip(cr);
    for (int layer = 0; layer < 3; layer++) {
        double half = 12 - layer * 4.5;
        roundedRect(cr, 6, 113 - half, 120, half * 2, half);
        Rgb c = layer == 2 ? hex(0xffffff) : hex(0xff50e0);
        setColor(cr, c, 0.25 + layer * 0.3);
        cairo_fill(cr);
    }
    cairo_rectangle(cr, 1, 108, 9, 10);
    setColor(cr, hex(0xa0a0c0), 0.9);
    cairo_fill(cr);
    cairo_restore(cr);
    // 5 the power laser: a round burst.
    glow(cr, 19.5, 78.5, 14.5, hex(0xffa030), 1.0);
    glow(cr, 19.5, 78.5, 7, hex(0xffffc0), 1.0);
    out.savePng(
        canvas, "laser.png",
        {{0, 0, 50, 31}, {50, 0, 116, 43}, {0, 31, 50, 62}, {50, 43, 116, 86}, {0, 98, 128, 128}, {0, 64, 39, 93}},
        {{4, -63, 0}}, true);
}

void writeParticles(AssetOutput& out) {
    Canvas canvas(128, 32);
    cairo_t* cr = canvas.cr();
    auto centre = [](int i) { return Point{i * 19 + 9.5, 9.5}; };
    Point c = centre(0);
    glow(cr, c.x, c.y, 9.5, hex(0xc0d8ff), 0.9); // puff
    c = centre(1);
    for (int k = 0; k < 4; k++) { // four-pointed spark
        cairo_save(cr);
        cairo_translate(cr, c.x, c.y);
        cairo_rotate(cr, k * M_PI / 4);
        cairo_scale(cr, 9, k % 2 ? 0.8 : 1.4);
        circle(cr, 0, 0, 1);
        cairo_restore(cr);
        setColor(cr, hex(0xfff0a0), 0.6);
        cairo_fill(cr);
    }
    glow(cr, c.x, c.y, 5, hex(0xffffff), 1.0);
    c = centre(2);
    glow(cr, c.x, c.y, 9.5, hex(0xff8020), 1.0); // fire
    glow(cr, c.x, c.y, 4, hex(0xffe080), 1.0);
    c = centre(3);
    circle(cr, c.x, c.y, 6.5); // bubble ring
    setColor(cr, hex(0xa0e0ff), 0.8);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    highlight(cr, c.x - 2, c.y - 3, 2.5, 1.5, 0.9);
    c = centre(4);
    glow(cr, c.x, c.y, 9.5, hex(0x60ff80), 0.9); // green glow
    c = centre(5);
    glow(cr, c.x, c.y, 5, hex(0xffffff), 1.0); // small bright dot
    out.savePng(canvas, "particles.png", gridFrames(128, 32, 19, 19, 6), {}, true);
}

// A round-nosed projectile body from x0 to the nose at x1, between y0 and y1, with a shaded fill.
void projectileBody(cairo_t* cr, double x0, double x1, double y0, double y1, Rgb top, Rgb bottom, double outline) {
    double mid = (y0 + y1) / 2, shoulder = x1 - (y1 - y0);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, shoulder, y0);
    cairo_curve_to(cr, x1 - 1, y0, x1, mid - 1, x1, mid);
    cairo_curve_to(cr, x1, mid + 1, x1 - 1, y1, shoulder, y1);
    cairo_line_to(cr, x0, y1);
    cairo_close_path(cr);
    verticalGradient(cr, y0, top, y1, bottom);
    fillAndOutline(cr, kInk, outline);
}

void writeMissile(AssetOutput& out) {
    Canvas canvas(32, 8);
    cairo_t* cr = canvas.cr();
    projectileBody(cr, 4, 31.5, 1.5, 6.5, hex(0xe8eef2), hex(0x707a84), 1);
    cairo_rectangle(cr, 24, 1.5, 2, 5);
    setColor(cr, hex(0xd02020));
    cairo_fill(cr);
    polygon(cr, {{1, 0.5}, {7, 2}, {7, 6}, {1, 7.5}});
    setColor(cr, hex(0xc03020));
    fillAndOutline(cr, kInk, 0.8);
    out.savePng(canvas, "missile1.png", {{0, 0, 32, 8}}, {{0, -16, 0}});
}

void writeTorpedo(AssetOutput& out) {
    Canvas canvas(32, 32);
    cairo_t* cr = canvas.cr();
    projectileBody(cr, 5, 31, 12, 20, hex(0xf0d060), hex(0x806010), 1.2);
    for (int side = -1; side <= 1; side += 2) {
        cairo_move_to(cr, 6, 16 + side * 3);
        cairo_line_to(cr, 1, 16 + side * 8);
        cairo_line_to(cr, 4, 16 + side * 8);
        cairo_line_to(cr, 10, 16 + side * 3);
        cairo_close_path(cr);
        setColor(cr, hex(0x505860));
        fillAndOutline(cr, kInk, 1);
    }
    cairo_rectangle(cr, 1, 14, 4, 4);
    setColor(cr, hex(0x404850));
    fillAndOutline(cr, kInk, 1);
    cairo_rectangle(cr, 20, 12.5, 2, 7);
    setColor(cr, hex(0x303840));
    cairo_fill(cr);
    out.savePng(canvas, "torpedo1.png", {{0, 0, 32, 32}}, {{0, -16, 0}});
}

void writeBomb(AssetOutput& out) {
    Canvas canvas(32, 32);
    cairo_t* cr = canvas.cr();
    circle(cr, 14, 17, 11);
    radialGradient(cr, {10, 13}, 1, {14, 17}, 11, hex(0x737380), hex(0x3a3a44), hex(0x0d0d14), 0.5);
    fillAndOutline(cr, kInk, 1.2);
    cairo_rectangle(cr, 19, 10, 5, 5);
    setColor(cr, hex(0x505058));
    fillAndOutline(cr, kInk, 1);
    cairo_move_to(cr, 23, 11);
    cairo_curve_to(cr, 26, 8, 26, 6, 28, 5);
    setColor(cr, hex(0x8a6a40));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    glow(cr, 28, 5, 4, hex(0xffd040), 1.0);
    highlight(cr, 10, 12, 4, 2.5, 0.6);
    out.savePng(canvas, "bomb.png", {{0, 0, 32, 32}}, {{0, 6, 0}});
}

void writeBullet(AssetOutput& out) {
    Canvas canvas(16, 16);
    cairo_t* cr = canvas.cr();
    glow(cr, 8, 8, 7.5, hex(0xffc040), 0.7);
    cairo_save(cr);
    cairo_translate(cr, 8, 8);
    cairo_scale(cr, 5, 2.5);
    circle(cr, 0, 0, 1);
    cairo_restore(cr);
    verticalGradient(cr, 5.5, hex(0xfff0b0), 10.5, hex(0xb07010));
    fillAndOutline(cr, kInk, 0.8);
    out.savePng(canvas, "bullet.png", {{0, 0, 16, 16}});
}

void writeArrow(AssetOutput& out) {
    Canvas canvas(64, 64);
    cairo_t* cr = canvas.cr();
    polygon(cr, {{6, 24}, {34, 24}, {34, 12}, {58, 32}, {34, 52}, {34, 40}, {6, 40}});
    verticalGradient(cr, 12, hex(0xa0ff60), 52, hex(0x208a20));
    fillAndOutline(cr, kInk, 2.5);
    highlight(cr, 28, 27, 16, 3, 0.45);
    out.savePng(canvas, "arrow.png", {{0, 0, 64, 64}});
}

void writeCursors(AssetOutput& out) {
    {
        Canvas canvas(32, 32);
        cairo_t* cr = canvas.cr();
        polygon(cr, {{1, 1}, {1, 24}, {7, 18}, {11, 28}, {15, 26}, {11, 17}, {19, 17}});
        verticalGradient(cr, 1, {1, 1, 1}, 28, hex(0xc0d8f0));
        fillAndOutline(cr, kInk, 1.5);
        out.savePng(canvas, "arrowcursor.png", {{0, 0, 32, 32}}, {{0, -16, -16}});
    }
    {
        Canvas canvas(32, 32);
        cairo_t* cr = canvas.cr();
        for (int pass = 0; pass < 2; pass++) {
            setColor(cr, pass ? hex(0xff4040) : kInk);
            cairo_set_line_width(cr, pass ? 1.5 : 3.5);
            circle(cr, 16, 16, 10);
            cairo_stroke(cr);
            cairo_move_to(cr, 16, 1);
            cairo_line_to(cr, 16, 10);
            cairo_move_to(cr, 16, 22);
            cairo_line_to(cr, 16, 31);
            cairo_move_to(cr, 1, 16);
            cairo_line_to(cr, 10, 16);
            cairo_move_to(cr, 22, 16);
            cairo_line_to(cr, 31, 16);
            cairo_stroke(cr);
        }
        out.savePng(canvas, "crosshaircursor.png", {{0, 0, 32, 32}}, {{0, 0, 0}});
    }
    {
        Canvas canvas(32, 32);
        cairo_t* cr = canvas.cr();
        // A pointing hand, fingertip at (12, 0).
        cairo_move_to(cr, 10, 3);
        cairo_curve_to(cr, 10, 0.5, 14, 0.5, 14, 3);
        cairo_line_to(cr, 14, 12);
        cairo_curve_to(cr, 16, 10, 19, 11, 19, 13);
        cairo_curve_to(cr, 21, 11, 24, 12, 24, 15);
        cairo_curve_to(cr, 26, 13, 29, 14, 28, 18);
        cairo_line_to(cr, 27, 25);
        cairo_curve_to(cr, 26, 29, 23, 31, 19, 31);
        cairo_line_to(cr, 14, 31);
        cairo_curve_to(cr, 11, 31, 9, 29, 7, 26);
        cairo_line_to(cr, 3, 19);
        cairo_curve_to(cr, 2, 16, 5, 15, 7, 17);
        cairo_line_to(cr, 10, 20);
        cairo_close_path(cr);
        verticalGradient(cr, 0, {1, 1, 1}, 31, hex(0xe0d0c0));
        fillAndOutline(cr, kInk, 1.5);
        out.savePng(canvas, "hand.png", {{0, 0, 32, 32}}, {{0, -4, -16}});
    }
}

// The symbol of a powerup kind in a box of the given size centred on the origin.
void powerSymbol(cairo_t* cr, int kind, double size) {
    double s = size / 64;
    cairo_save(cr);
    cairo_scale(cr, s, s);
    if (kind == 0) { // 4x damage
        cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
        cairo_set_font_size(cr, 26);
        cairo_text_path(cr, "4x");
        cairo_path_t* path = cairo_copy_path(cr);
        cairo_new_path(cr);
        cairo_text_extents_t e;
        cairo_text_extents(cr, "4x", &e);
        cairo_translate(cr, -e.x_bearing - e.width / 2, -e.y_bearing - e.height / 2);
        cairo_append_path(cr, path);
        cairo_path_destroy(path);
        verticalGradient(cr, -12, hex(0xffff80), 12, hex(0xff6010));
        fillAndOutline(cr, kInk, 2);
    } else if (kind == 1) { // sword
        cairo_rotate(cr, -M_PI / 4);
        roundedRect(cr, -3.5, -22, 7, 30, 3.5);
        verticalGradient(cr, -22, hex(0xffffff), 8, hex(0xff50e0));
        fillAndOutline(cr, kInk, 1.8);
        cairo_rectangle(cr, -9, 8, 18, 4);
        setColor(cr, hex(0xc0c0d0));
        fillAndOutline(cr, kInk, 1.5);
        cairo_rectangle(cr, -2.5, 12, 5, 9);
        setColor(cr, hex(0x604020));
        fillAndOutline(cr, kInk, 1.5);
    } else if (kind == 2) { // torpedo
        roundedRect(cr, -20, -6, 36, 12, 6);
        verticalGradient(cr, -6, hex(0xf0d060), 6, hex(0x806010));
        fillAndOutline(cr, kInk, 1.8);
        cairo_move_to(cr, -18, -4);
        cairo_line_to(cr, -24, -11);
        cairo_line_to(cr, -24, 11);
        cairo_line_to(cr, -18, 4);
        cairo_close_path(cr);
        setColor(cr, hex(0x505860));
        fillAndOutline(cr, kInk, 1.5);
    } else { // machine gun
        roundedRect(cr, -20, -8, 26, 14, 3);
        verticalGradient(cr, -8, hex(0x9aa4ae), 6, hex(0x3a424a));
        fillAndOutline(cr, kInk, 1.8);
        cairo_rectangle(cr, 6, -5, 16, 5);
        setColor(cr, hex(0x5a646e));
        fillAndOutline(cr, kInk, 1.5);
        cairo_rectangle(cr, -14, 6, 7, 12);
        setColor(cr, hex(0x6a4a2a));
        fillAndOutline(cr, kInk, 1.5);
    }
    cairo_restore(cr);
}

// A glossy bubble of the given radius, the pickup's case.
void bubble(cairo_t* cr, double x, double y, double r, Rgb tint) {
    circle(cr, x, y, r);
    cairo_pattern_t* g = cairo_pattern_create_radial(x, y, r * 0.2, x, y, r);
    cairo_pattern_add_color_stop_rgba(g, 0, tint.r, tint.g, tint.b, 0.25);
    cairo_pattern_add_color_stop_rgba(g, 0.8, tint.r, tint.g, tint.b, 0.5);
    cairo_pattern_add_color_stop_rgba(g, 1, tint.r * 0.6, tint.g * 0.6, tint.b * 0.6, 0.9);
    cairo_set_source(cr, g);
    cairo_pattern_destroy(g);
    cairo_fill_preserve(cr);
    setColor(cr, shade(tint, 1.4), 0.9);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

void writePowerups(AssetOutput& out) {
    static const uint32_t tints[4] = {0xff8030, 0xff50e0, 0xf0c040, 0x80a0c0};
    Canvas icons(256, 64);
    for (int k = 0; k < 4; k++) {
        cairo_t* cr = icons.cr();
        bubble(cr, k * 64 + 32, 32, 29, hex(tints[k]));
        cairo_save(cr);
        cairo_translate(cr, k * 64 + 32, 32);
        powerSymbol(cr, k, 56);
        cairo_restore(cr);
        highlight(cr, k * 64 + 22, 16, 10, 5, 0.7);
    }
    out.savePng(icons, "powerupicons.png", gridFrames(256, 64, 64, 64, 4));
    Canvas overlays(128, 32);
    for (int k = 0; k < 4; k++) {
        cairo_t* cr = overlays.cr();
        roundedRect(cr, k * 32 + 1.5, 1.5, 29, 29, 6);
        verticalGradient(cr, 0, shade(hex(tints[k]), 0.6), 32, shade(hex(tints[k]), 0.3), 0.85);
        fillAndOutline(cr, shade(hex(tints[k]), 1.4), 1.2);
        cairo_save(cr);
        cairo_translate(cr, k * 32 + 16, 16);
        powerSymbol(cr, k, 30);
        cairo_restore(cr);
    }
    out.savePng(overlays, "powerupoverlays.png", gridFrames(128, 32, 32, 32, 4));
}

void writeBall(AssetOutput& out, const std::string& name, Rgb colour) {
    Canvas canvas(32, 32);
    cairo_t* cr = canvas.cr();
    circle(cr, 16, 16, 13);
    radialGradient(cr, {12, 11}, 1, {16, 16}, 13, shade(colour, 1.6), colour, shade(colour, 0.45), 0.5);
    fillAndOutline(cr, kInk, 1.5);
    highlight(cr, 11, 9, 5, 3, 0.85);
    out.savePng(canvas, name, {{0, 0, 32, 32}});
}

void writeGoldenFishHud(AssetOutput& out) {
    static const FrameRect rects[7] = {{0, 0, 35, 43},  {35, 0, 67, 43},  {67, 0, 100, 43}, {100, 0, 127, 43},
                                       {0, 48, 32, 90}, {32, 48, 63, 90}, {63, 48, 128, 96}};
    // Frames 2, 3, 4, 5, 0, 1 show the counts 0 to 5.
    static const char* figures[6] = {"4", "5", "0", "1", "2", "3"};
    Canvas canvas(128, 128);
    cairo_t* cr = canvas.cr();
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 36);
    for (int i = 0; i < 6; i++) {
        const FrameRect& r = rects[i];
        cairo_text_extents_t e;
        cairo_text_extents(cr, figures[i], &e);
        double x = (r.left + r.right) / 2.0 - e.x_bearing - e.width / 2;
        double y = (r.top + r.bottom) / 2.0 - e.y_bearing - e.height / 2;
        cairo_move_to(cr, x, y);
        cairo_text_path(cr, figures[i]);
        verticalGradient(cr, r.top + 4, hex(0xfff4a0), r.bottom - 4, hex(0xd08a10));
        fillAndOutline(cr, hex(0x4a2a00), 2.2);
    }
    // Frame 6: the meter icon, a Gold Radudod as it swims in the levels.
    drawGoldRadudod(cr, {95.5, 67}, 1.3);
    out.savePng(canvas, "goldenfishhud.png", std::vector<FrameRect>(rects, rects + 7));
}

} // namespace

void writeItemArt(AssetOutput& out) {
    writeLaser(out);
    writeParticles(out);
    writeMissile(out);
    writeTorpedo(out);
    writeBomb(out);
    writeBullet(out);
    writeArrow(out);
    writeCursors(out);
    writePowerups(out);
    writeBall(out, "ball.png", hex(0xff9a20));
    writeBall(out, "ballblue.png", hex(0x3090ff));
    writeGoldenFishHud(out);
}
