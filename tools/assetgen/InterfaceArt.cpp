// The window frame of the dialogs and the two full-screen backdrops (title and map), each drawn as one
// 800 x 600 picture and cut into the eight 256 x 256 JPEG textures the game draws it from.
#include "AssetFamilies.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The level buttons' spots on the map, top-left corners of the 39 x 39 buttons, in level order; the level
// select places its buttons at these same points.
constexpr int kMapSpotCount = 50;
constexpr int kMapSpots[kMapSpotCount][2] = {
    {85, 232},  {28, 252},  {19, 163},  {70, 131},  {128, 140}, {186, 146}, {243, 135}, {290, 168}, {277, 216},
    {247, 255}, {199, 281}, {157, 288}, {109, 292}, {70, 306},  {60, 355},  {100, 378}, {148, 387}, {207, 377},
    {250, 354}, {285, 326}, {336, 332}, {367, 360}, {414, 342}, {403, 285}, {467, 304}, {447, 376}, {375, 415},
    {394, 468}, {475, 425}, {495, 353}, {457, 222}, {446, 147}, {494, 175}, {513, 247}, {556, 214}, {530, 146},
    {515, 82},  {576, 93},  {613, 148}, {618, 207}, {568, 340}, {585, 407}, {628, 370}, {629, 310}, {673, 286},
    {703, 325}, {680, 373}, {644, 414}, {668, 468}, {724, 448}};
constexpr double kMapButtonHalf = 19.5;

Point mapSpotCentre(int i) {
    return {kMapSpots[i][0] + kMapButtonHalf, kMapSpots[i][1] + kMapButtonHalf};
}

void writeWindowFrame(AssetOutput& out) {
    // The frame is drawn once as a 48 x 48 window and cut into its four corners and four edges; the
    // border runs 8 pixels in from the outside, over the edge of the panel's fill.
    Canvas whole(48, 48);
    cairo_t* cr = whole.cr();
    roundedRect(cr, 7, 7, 34, 34, 9);
    setColor(cr, hex(0x061830), 0.9);
    cairo_set_line_width(cr, 8);
    cairo_stroke(cr);
    roundedRect(cr, 7, 7, 34, 34, 9);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, 48);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.75, 0.92, 1.0);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.2, 0.5, 0.85);
    cairo_set_source(cr, g);
    cairo_pattern_destroy(g);
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    roundedRect(cr, 6, 6, 36, 36, 10);
    setColor(cr, {1, 1, 1}, 0.6);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    Canvas strip(128, 16);
    static const int cells[8][2] = {{0, 0}, {32, 0}, {32, 32}, {0, 32}, {16, 0}, {32, 16}, {16, 32}, {0, 16}};
    for (int i = 0; i < 8; i++) {
        cairo_set_source_surface(strip.cr(), whole.surface(), i * 16 - cells[i][0], -cells[i][1]);
        cairo_rectangle(strip.cr(), i * 16, 0, 16, 16);
        cairo_fill(strip.cr());
    }
    out.savePng(strip, "windowframe.png", gridFrames(128, 16, 16, 16, 8));
}

void islandSilhouette(cairo_t* cr, double x, double y, double w, Rgb c) {
    cairo_move_to(cr, x - w / 2, y);
    cairo_curve_to(cr, x - w / 4, y - w * 0.18, x + w / 4, y - w * 0.2, x + w / 2, y);
    cairo_close_path(cr);
    setColor(cr, c);
    cairo_fill(cr);
    // A palm on top.
    cairo_move_to(cr, x, y - w * 0.15);
    cairo_curve_to(cr, x + 3, y - w * 0.3, x + 6, y - w * 0.4, x + 4, y - w * 0.5);
    setColor(cr, c);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    for (double a : {-2.8, -2.2, -1.2, -0.5, 0.1})
        for (int k = 0; k < 1; k++) {
            cairo_move_to(cr, x + 4, y - w * 0.5);
            cairo_curve_to(cr, x + 4 + 10 * std::cos(a), y - w * 0.5 + 10 * std::sin(a) - 4, x + 4 + 20 * std::cos(a),
                           y - w * 0.5 + 20 * std::sin(a), x + 4 + 24 * std::cos(a),
                           y - w * 0.5 + 24 * std::sin(a) + 6);
            cairo_set_line_width(cr, 3.5);
            cairo_stroke(cr);
        }
}

void drawTitleScene(cairo_t* cr) {
    const double horizon = 230;
    cairo_rectangle(cr, 0, 0, 800, horizon);
    verticalGradient(cr, 0, hex(0x1e56b8), horizon, hex(0xbfe8ff));
    cairo_fill(cr);
    softEllipse(cr, 610, 110, 120, 120, hex(0xfff6c0), 0.8);
    softEllipse(cr, 610, 110, 34, 34, hex(0xffffff), 1.0);
    ArtRandom rng(7);
    for (int k = 0; k < 14; k++) {
        double x = rng.uniform(-40, 840), y = rng.uniform(40, 170), r = rng.uniform(25, 60);
        softEllipse(cr, x, y, r * 1.8, r * 0.5, {1, 1, 1}, 0.55);
        softEllipse(cr, x + r * 0.5, y - r * 0.2, r, r * 0.45, {1, 1, 1}, 0.5);
    }
    islandSilhouette(cr, 150, horizon + 2, 150, hex(0x3a7a8a));
    islandSilhouette(cr, 700, horizon + 2, 90, hex(0x4a8a9a));
    // The sea: bright under the surface, deep blue towards the floor, with light shafts and bubbles.
    cairo_rectangle(cr, 0, horizon, 800, 600 - horizon);
    cairo_pattern_t* sea = cairo_pattern_create_linear(0, horizon, 0, 600);
    cairo_pattern_add_color_stop_rgb(sea, 0, 0.2, 0.78, 0.88);
    cairo_pattern_add_color_stop_rgb(sea, 0.35, 0.08, 0.45, 0.72);
    cairo_pattern_add_color_stop_rgb(sea, 1, 0.02, 0.12, 0.32);
    cairo_set_source(cr, sea);
    cairo_pattern_destroy(sea);
    cairo_fill(cr);
    for (int k = 0; k < 9; k++) {
        double x = 40 + k * 95 + rng.uniform(-20, 20), w = rng.uniform(20, 50);
        cairo_move_to(cr, x, horizon);
        cairo_line_to(cr, x + w, horizon);
        cairo_line_to(cr, x + w * 2.2 + 60, 600);
        cairo_line_to(cr, x + 60, 600);
        cairo_close_path(cr);
        cairo_pattern_t* ray = cairo_pattern_create_linear(0, horizon, 0, 600);
        cairo_pattern_add_color_stop_rgba(ray, 0, 1, 1, 1, 0.18);
        cairo_pattern_add_color_stop_rgba(ray, 1, 1, 1, 1, 0);
        cairo_set_source(cr, ray);
        cairo_pattern_destroy(ray);
        cairo_fill(cr);
    }
    for (int k = 0; k < 40; k++) {
        double x = rng.uniform(0, 800);
        cairo_move_to(cr, x, horizon + rng.uniform(1, 6));
        cairo_rel_line_to(cr, rng.uniform(20, 60), 0);
        setColor(cr, {1, 1, 1}, 0.5);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
    cairo_move_to(cr, 0, horizon);
    cairo_line_to(cr, 800, horizon);
    setColor(cr, {1, 1, 1}, 0.8);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // The sea floor with reefs and kelp.
    cairo_move_to(cr, 0, 600);
    cairo_line_to(cr, 0, 540);
    for (int x = 0; x <= 800; x += 40) cairo_line_to(cr, x, 545 + 18 * std::sin(x * 0.012) + 8 * std::sin(x * 0.05));
    cairo_line_to(cr, 800, 600);
    cairo_close_path(cr);
    verticalGradient(cr, 520, hex(0xc8a860), 600, hex(0x5a4a2a));
    cairo_fill(cr);
    for (int k = 0; k < 12; k++) {
        double x = rng.uniform(0, 800), h = rng.uniform(40, 110);
        cairo_move_to(cr, x, 560);
        cairo_curve_to(cr, x - 15, 560 - h * 0.4, x + 15, 560 - h * 0.7, x + rng.uniform(-10, 10), 560 - h);
        setColor(cr, hex(0x1a6a4a), 0.85);
        cairo_set_line_width(cr, rng.uniform(4, 8));
        cairo_stroke(cr);
    }
    for (int k = 0; k < 8; k++) {
        double x = rng.uniform(0, 800), r = rng.uniform(18, 40);
        softEllipse(cr, x, 565, r, r * 0.6, k % 2 ? hex(0xf07a9a) : hex(0xf09a40), 0.9);
    }
    for (int k = 0; k < 60; k++) {
        double x = rng.uniform(0, 800), y = rng.uniform(horizon + 20, 540), r = rng.uniform(1.5, 5);
        circle(cr, x, y, r);
        setColor(cr, {1, 1, 1}, 0.45);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    drawDolphin(cr, {250, 390}, -18, 1.6);
    drawDolphin(cr, {560, 450}, -8, 1.1);
}

void drawMapScene(cairo_t* cr) {
    cairo_rectangle(cr, 0, 0, 800, 600);
    radialGradient(cr, {400, 300}, 80, {400, 300}, 520, hex(0x4099cc), hex(0x267099), hex(0x0f386b), 0.5);
    cairo_fill(cr);
    ArtRandom rng(21);
    for (int k = 0; k < 120; k++) {
        double x = rng.uniform(0, 800), y = rng.uniform(0, 600);
        cairo_move_to(cr, x, y);
        cairo_curve_to(cr, x + 5, y - 4, x + 10, y - 4, x + 15, y);
        cairo_curve_to(cr, x + 20, y - 4, x + 25, y - 4, x + 30, y);
        setColor(cr, {1, 1, 1}, 0.18);
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
    }
    // Five islands, one under each world of ten level buttons, drawn first so that the route runs over them.
    struct Isle {
        uint32_t shore, land;
    };
    const Isle isles[5] = {
        {0xf0dca0, 0x4aa040}, {0xf0b080, 0xc06040}, {0xf4f8ff, 0xb8c8e0}, {0x5a5458, 0x3a2a2a}, {0xe0a0f0, 0x6a3a9a}};
    for (int world = 0; world < 5; world++) {
        Point middle{0, 0};
        for (int k = 0; k < 10; k++) {
            const Point spot = mapSpotCentre(world * 10 + k);
            middle.x += spot.x / 10;
            middle.y += spot.y / 10;
        }
        double reach = 0; // the farthest button of the world from its middle
        for (int k = 0; k < 10; k++) {
            const Point spot = mapSpotCentre(world * 10 + k);
            reach = std::max(reach, std::hypot(spot.x - middle.x, spot.y - middle.y));
        }
        const double r = reach * 0.8;
        std::vector<Point> shape;
        for (int k = 0; k < 12; k++) {
            double a = k * M_PI / 6, out = r * rng.uniform(0.8, 1.05);
            shape.push_back({middle.x + out * std::cos(a), middle.y + out * 0.75 * std::sin(a)});
        }
        smoothClosedPath(cr, shape);
        setColor(cr, {1, 1, 1}, 0.35);
        cairo_set_line_width(cr, 10);
        cairo_stroke_preserve(cr);
        setColor(cr, hex(isles[world].shore));
        fillAndOutline(cr, hex(0x1a2a3a), 2);
        std::vector<Point> inner;
        for (const Point& p : shape)
            inner.push_back({middle.x + (p.x - middle.x) * 0.6, middle.y + (p.y - middle.y) * 0.6 - 4});
        smoothClosedPath(cr, inner);
        verticalGradient(cr, middle.y - r, shade(hex(isles[world].land), 1.3), middle.y + r * 0.5,
                         shade(hex(isles[world].land), 0.7));
        fillAndOutline(cr, shade(hex(isles[world].land), 0.4), 1.5);
    }
    // The dotted route through every level button in play order: a smooth curve (Catmull-Rom through the
    // button centres), with a shadow so that it reads on land and water alike.
    cairo_move_to(cr, mapSpotCentre(0).x, mapSpotCentre(0).y);
    for (int i = 0; i + 1 < kMapSpotCount; i++) {
        const Point p0 = mapSpotCentre(std::max(i - 1, 0)), p1 = mapSpotCentre(i), p2 = mapSpotCentre(i + 1);
        const Point p3 = mapSpotCentre(std::min(i + 2, kMapSpotCount - 1));
        cairo_curve_to(cr, p1.x + (p2.x - p0.x) / 6, p1.y + (p2.y - p0.y) / 6, p2.x - (p3.x - p1.x) / 6,
                       p2.y - (p3.y - p1.y) / 6, p2.x, p2.y);
    }
    cairo_path_t* route = cairo_copy_path(cr);
    double dash[2] = {6, 6};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_translate(cr, 1.5, 1.5);
    setColor(cr, hex(0x0a1a2a), 0.5);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    cairo_translate(cr, -1.5, -1.5);
    cairo_append_path(cr, route);
    cairo_path_destroy(route);
    setColor(cr, {1, 1, 1}, 0.85);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    // Compass rose.
    cairo_save(cr);
    cairo_translate(cr, 735, 95); // top right, clear of the buttons and the heading
    for (int k = 0; k < 8; k++) {
        double len = k % 2 ? 26 : 48;
        cairo_save(cr);
        cairo_rotate(cr, k * M_PI / 4);
        cairo_move_to(cr, 0, -len);
        cairo_line_to(cr, 7, 0);
        cairo_line_to(cr, 0, 7);
        cairo_line_to(cr, -7, 0);
        cairo_close_path(cr);
        setColor(cr, k % 2 ? hex(0xc0d8e8) : hex(0xfff0c0));
        fillAndOutline(cr, hex(0x1a2a3a), 1.5);
        cairo_restore(cr);
    }
    circle(cr, 0, 0, 6);
    setColor(cr, hex(0xd04030));
    fillAndOutline(cr, hex(0x1a2a3a), 1.5);
    cairo_restore(cr);
    // A rope border.
    cairo_rectangle(cr, 10, 10, 780, 580);
    setColor(cr, hex(0xe8d8a8), 0.9);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
    cairo_rectangle(cr, 10, 10, 780, 580);
    double rope[2] = {6, 6};
    cairo_set_dash(cr, rope, 2, 0);
    setColor(cr, hex(0x8a6a3a));
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
}

// Copies the source rectangle (sx, sy, w, h) of the scene to (dx, dy) of the texture.
void place(Canvas& texture, const Canvas& scene, int sx, int sy, int w, int h, int dx, int dy) {
    cairo_t* cr = texture.cr();
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, scene.surface(), dx - sx, dy - sy);
    cairo_rectangle(cr, dx, dy, w, h);
    cairo_fill(cr);
    cairo_restore(cr);
}

void writeBackdrop(AssetOutput& out, const std::string& prefix, void (*draw)(cairo_t*)) {
    Canvas scene(800, 600);
    draw(scene.cr());
    for (int n = 1; n <= 8; n++) {
        Canvas tex(256, 256);
        setColor(tex.cr(), {0, 0, 0});
        cairo_paint(tex.cr());
        if (n <= 6)
            place(tex, scene, ((n - 1) % 3) * 256, ((n - 1) / 3) * 256, 256, 256, 0, 0);
        else if (n == 7) {
            place(tex, scene, 0, 512, 256, 88, 0, 0);
            place(tex, scene, 256, 512, 256, 88, 0, 128);
        } else {
            place(tex, scene, 768, 0, 32, 256, 0, 0);
            place(tex, scene, 768, 256, 32, 256, 32, 0);
            place(tex, scene, 768, 512, 32, 88, 64, 0);
            place(tex, scene, 512, 512, 128, 88, 96, 0);
            place(tex, scene, 640, 512, 128, 88, 96, 88);
        }
        out.saveJpeg(tex.surface(), prefix + std::to_string(n) + ".jpg");
    }
}

} // namespace

void writeInterfaceArt(AssetOutput& out) {
    writeWindowFrame(out);
    writeBackdrop(out, "title", drawTitleScene);
    writeBackdrop(out, "map", drawMapScene);
}
