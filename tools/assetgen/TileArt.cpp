// The pictures of the five tile sets (plain, sunset, snow, volcano, alien). Every picture of one sheet has
// the same size and layout in every set. Terrain frames follow the collision shapes: solid quarters of a
// 64-pixel cell with a rim along each side that faces open water; textures repeat every 64 pixels and are
// symmetric near the cell edges, so rotated and flipped tiles still join without seams.
#include "AssetFamilies.h"

#include <cmath>
#include <functional>
#include <set>

namespace {

const int T = 64;

struct Material {
    Rgb base, dark, light; // texture colours
    Rgb rim, outline;      // the crust along open sides and its outline
    double speckle;        // density of pebbles or polyps, 0..1
    uint32_t seed;
    double cracks; // 0 none, else the strength of glowing or dark cracks
    Rgb crack;
};

struct Theme {
    std::string prefix;
    std::string water, sand, sky, rock, drop, coral, ornaments;
    Rgb waterTop, waterDeep, foam;
    Rgb skyTop, skyHorizon, cloud;
    Rgb deepTop, deepBottom, rays;
    Material sand0, rockA, rockB, coralA, coralB;
    Rgb plant1, plant2, stone, trunk, leaf;
};

Material mat(uint32_t base, uint32_t dark, uint32_t light, uint32_t rim, uint32_t outline, double speckle,
             uint32_t seed, double cracks = 0, uint32_t crack = 0) {
    return {hex(base), hex(dark), hex(light), hex(rim), hex(outline), speckle, seed, cracks, hex(crack)};
}

std::vector<Theme> themes() {
    std::vector<Theme> t(5);
    // Plain: blue sky, clear turquoise sea, golden sand, brown rock, pink and orange coral.
    t[0] = {"",
            "water1.png",
            "islandsand.png",
            "watersky.png",
            "rock.png",
            "waterdrop.png",
            "coral.png",
            "ornaments.png",
            hex(0x3cc8e0),
            hex(0x1a6aa8),
            hex(0xeaffff),
            hex(0x2a70d0),
            hex(0xbfe6ff),
            hex(0xffffff),
            hex(0x2a9ccc),
            hex(0x124476),
            hex(0xbff4ff),
            mat(0xe2c27a, 0xb8934a, 0xf6e0a6, 0xfff0c0, 0x5a3c14, 0.5, 11),
            mat(0x8a7a6a, 0x5a4a3e, 0xb0a08e, 0xc8b8a0, 0x2a1e16, 0.2, 21, 0.4, 0x3a2c22),
            mat(0x6a6e76, 0x42464e, 0x969aa2, 0xaab0b8, 0x1a1c22, 0.2, 31, 0.4, 0x2a2c34),
            mat(0xf07a9a, 0xb0405e, 0xffb4c8, 0xffd0dc, 0x5a1028, 0.9, 41),
            mat(0xf09a40, 0xb0601a, 0xffc880, 0xffe0b0, 0x5a2c08, 0.9, 51),
            hex(0x2aa040),
            hex(0x7ac030),
            hex(0x8a8478),
            hex(0x8a5a2a),
            hex(0x3ab040)};
    // Sunset: warm orange and violet sky over a rose-tinted sea.
    t[1] = t[0];
    t[1].prefix = "sunset";
    t[1].water = "sunsetwater1.png";
    t[1].sand = "sunsetislandsand.png";
    t[1].sky = "sunsetwatersky.png";
    t[1].waterTop = hex(0x6a9ad0);
    t[1].waterDeep = hex(0x2a3a88);
    t[1].foam = hex(0xffe8d0);
    t[1].skyTop = hex(0x4a2a7a);
    t[1].skyHorizon = hex(0xffa050);
    t[1].cloud = hex(0xffd0a0);
    t[1].deepTop = hex(0x4a6ab0);
    t[1].deepBottom = hex(0x24205e);
    t[1].rays = hex(0xffd8b0);
    t[1].sand0 = mat(0xe0a070, 0xb07048, 0xf4c89a, 0xffe0c0, 0x5a2a14, 0.5, 12);
    // Snow: pale sky, icy rock, frosted sand and blue-white coral.
    t[2] = t[0];
    t[2].prefix = "snow";
    t[2].sand = "snowislandsand.png";
    t[2].sky = "snowwatersky.png";
    t[2].rock = "snowrock.png";
    t[2].coral = "snowcoral.png";
    t[2].ornaments = "snowornaments.png";
    t[2].skyTop = hex(0x7a90b0);
    t[2].skyHorizon = hex(0xe8f0f8);
    t[2].cloud = hex(0xffffff);
    t[2].deepTop = hex(0x5a9ab8);
    t[2].deepBottom = hex(0x183c58);
    t[2].sand0 = mat(0xe8eef6, 0xa8b8cc, 0xffffff, 0xffffff, 0x3a4a64, 0.3, 13);
    t[2].rockA = mat(0x7a8aa0, 0x4a5a70, 0xb8c8da, 0xf4f8ff, 0x1a2434, 0.2, 23, 0.4, 0x303c50);
    t[2].rockB = mat(0x5a6a80, 0x3a4658, 0x90a0b4, 0xe8f0ff, 0x141c28, 0.2, 33, 0.4, 0x263040);
    t[2].coralA = mat(0x9ad0f0, 0x5a90c0, 0xd8f4ff, 0xf0ffff, 0x1a3a5a, 0.9, 43);
    t[2].coralB = mat(0xb8b0f0, 0x7a70c0, 0xe8e4ff, 0xf8f4ff, 0x2a2460, 0.9, 53);
    t[2].plant1 = hex(0x4a8a7a);
    t[2].plant2 = hex(0x8ab0c0);
    t[2].stone = hex(0xa0acbc);
    t[2].trunk = hex(0x5a4030);
    t[2].leaf = hex(0x2a6a4a);
    // Volcano: smoky red sky, murky sea, black sand, basalt with glowing lava cracks.
    t[3] = t[0];
    t[3].prefix = "volcano";
    t[3].water = "volcanowater1.png";
    t[3].sand = "volcanoislandsand.png";
    t[3].sky = "volcanowatersky.png";
    t[3].rock = "volcanorock.png";
    t[3].drop = "volcanowaterdrop.png";
    t[3].coral = "volcanocoral.png";
    t[3].ornaments = "volcanoornaments.png";
    t[3].waterTop = hex(0x6a7a6a);
    t[3].waterDeep = hex(0x2a2020);
    t[3].foam = hex(0xffd0a0);
    t[3].skyTop = hex(0x1a0a0a);
    t[3].skyHorizon = hex(0xd04a1a);
    t[3].cloud = hex(0x5a4040);
    t[3].deepTop = hex(0x6a5e4a);
    t[3].deepBottom = hex(0x3a2a26);
    t[3].rays = hex(0xffa060);
    t[3].sand0 = mat(0x4a4448, 0x2a2628, 0x6a6468, 0x8a8488, 0x0a0808, 0.6, 14);
    t[3].rockA = mat(0x3a3236, 0x1e1a1c, 0x5a5054, 0x7a6a6a, 0x0a0606, 0.2, 24, 1.0, 0xff5a10);
    t[3].rockB = mat(0x4a3a30, 0x2a2018, 0x6a5a4a, 0x8a6a50, 0x100a06, 0.2, 34, 0.8, 0xffa020);
    t[3].coralA = mat(0xc05a2a, 0x7a2a10, 0xf0904a, 0xffb070, 0x3a0a00, 0.9, 44);
    t[3].coralB = mat(0x8a8a7a, 0x4a4a40, 0xb8b8a8, 0xd8d8c8, 0x1a1a14, 0.9, 54);
    t[3].plant1 = hex(0x6a5a3a);
    t[3].plant2 = hex(0xa04a20);
    t[3].stone = hex(0x3a3436);
    t[3].trunk = hex(0x2a2020);
    t[3].leaf = hex(0x5a4a3a);
    // Alien: violet sky with a soft green glow over a teal sea; slate-blue and plum rock with glowing veins,
    // mauve sand, jade and sea-green coral with faint veins of light.
    t[4] = t[0];
    t[4].prefix = "alien";
    t[4].water = "alienwater1.png";
    t[4].sand = "alienislandsand.png";
    t[4].sky = "alienwatersky.png";
    t[4].rock = "alienrock.png";
    t[4].drop = "alienwaterdrop.png";
    t[4].coral = "aliencoral.png";
    t[4].ornaments = "alienornaments.png";
    t[4].waterTop = hex(0x3fb4a6);
    t[4].waterDeep = hex(0x3a1a7a);
    t[4].foam = hex(0xd0f4e4);
    t[4].skyTop = hex(0x1c0e3c);
    t[4].skyHorizon = hex(0x72cfa8);
    t[4].cloud = hex(0xd2b0f0);
    t[4].deepTop = hex(0x2a8488);
    t[4].deepBottom = hex(0x2a2262);
    t[4].rays = hex(0xa8f0d8);
    t[4].sand0 = mat(0x9a74a4, 0x684878, 0xc4a2cc, 0xe8d2ee, 0x2e1238, 0.5, 15);
    t[4].rockA = mat(0x3e5868, 0x1e2c3a, 0x68909e, 0x8ed2c4, 0x0a141a, 0.2, 25, 0.6, 0x4ed8bc);
    t[4].rockB = mat(0x4a3e66, 0x2a2046, 0x7c6aa0, 0xbca4e4, 0x100a20, 0.2, 35, 0.6, 0xc080e8);
    t[4].coralA = mat(0x3e9a9c, 0x1c5e68, 0x7cc4c0, 0xbce8e2, 0x082a30, 0.7, 45, 0.3, 0x9cf0e4);
    t[4].coralB = mat(0x5e8a72, 0x2e5448, 0x94b89c, 0xc8e6cc, 0x0e241c, 0.7, 55, 0.35, 0xa8f0c8);
    t[4].plant1 = hex(0x3cb096);
    t[4].plant2 = hex(0xb878c4);
    t[4].stone = hex(0x5a4a8a);
    t[4].trunk = hex(0x6a3a8a);
    t[4].leaf = hex(0x48c0a4);
    return t;
}

// --- Textures -----------------------------------------------------------------------------------------

// A 64 x 64 texture of the material that repeats and, near the cell edges, looks the same under every
// rotation and flip of the cell.
cairo_surface_t* materialTexture(const Material& m) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, T, T);
    unsigned char* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    auto raw = [&](double x, double y) {
        double n = tileFractal(x, y, T, m.seed);
        double v = n;
        if (m.cracks > 0) {
            double r = std::fabs(tileNoise(x, y, T, 4, m.seed + 7) - 0.5);
            v = std::min(v, 0.5 + r * 4);
        }
        return v;
    };
    auto symmetric = [&](double x, double y) {
        double sum = 0;
        double xs[2] = {x, T - 1 - x}, ys[2] = {y, T - 1 - y};
        for (double a : xs)
            for (double b : ys) sum += raw(a, b) + raw(b, a);
        return sum / 8;
    };
    ArtRandom rng(m.seed);
    std::vector<Point> specks;
    for (int i = 0; i < static_cast<int>(m.speckle * 18); i++)
        specks.push_back({rng.uniform(10, 54), rng.uniform(10, 54)});
    for (int y = 0; y < T; y++)
        for (int x = 0; x < T; x++) {
            double edge = std::min(std::min(x, y), std::min(T - 1 - x, T - 1 - y));
            double w = std::clamp((edge - 2) / 10.0, 0.0, 1.0);
            double v = symmetric(x, y) * (1 - w) + raw(x, y) * w;
            Rgb c = v < 0.5 ? mix(m.dark, m.base, v * 2) : mix(m.base, m.light, (v - 0.5) * 2);
            if (m.cracks > 0) {
                double r = std::fabs(tileNoise(x, y, T, 4, m.seed + 7) - 0.5);
                double crack = std::clamp(1 - r * 14, 0.0, 1.0) * m.cracks * w;
                c = mix(c, m.crack, crack);
            }
            for (const Point& p : specks) {
                double d = std::hypot(x - p.x, y - p.y);
                if (d < 2.2) c = mix(c, d < 1.2 ? m.light : m.dark, 0.6);
            }
            unsigned char* px = data + y * stride + x * 4;
            px[0] = static_cast<unsigned char>(std::lround(c.b * 255));
            px[1] = static_cast<unsigned char>(std::lround(c.g * 255));
            px[2] = static_cast<unsigned char>(std::lround(c.r * 255));
            px[3] = 255;
        }
    cairo_surface_mark_dirty(s);
    return s;
}

// --- Terrain cells ------------------------------------------------------------------------------------

enum Quarter { TL = 1, TR = 2, BL = 4, BR = 8 };
const int kFull = TL | TR | BL | BR;

// Fills the current path with the texture, then draws the crust along each open edge (a polyline): a rim
// inside the filled region and the outline on the edge itself. Terrain cells and the island pieces share it,
// so that an island piece standing on a beach looks like the beach.
void crustedFill(cairo_t* cr, cairo_surface_t* texture, const Material& m,
                 const std::vector<std::vector<Point>>& edges) {
    auto trace = [&](const std::vector<Point>& edge) {
        cairo_move_to(cr, edge.front().x, edge.front().y);
        for (size_t i = 1; i < edge.size(); i++) cairo_line_to(cr, edge[i].x, edge[i].y);
    };
    cairo_save(cr);
    cairo_path_t* region = cairo_copy_path(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_set_source_surface(cr, texture, 0, 0);
    cairo_fill(cr);
    cairo_save(cr);
    cairo_append_path(cr, region);
    cairo_clip(cr);
    for (int pass = 0; pass < 2; pass++)
        for (const auto& edge : edges) {
            trace(edge);
            setColor(cr, pass ? m.rim : mix(m.rim, m.dark, 0.5), pass ? 0.9 : 0.7);
            cairo_set_line_width(cr, pass ? 7 : 12);
            cairo_stroke(cr);
        }
    cairo_restore(cr);
    cairo_path_destroy(region);
    for (const auto& edge : edges) {
        trace(edge);
        setColor(cr, m.outline);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

// How far an open side bulges out at t (0..32) along its 32-pixel segment: two low bumps that vanish at the
// segment ends, so every rotation and flip of a frame meets its neighbours' edges exactly.
double edgeBump(double t) {
    return 2.5 * std::pow(std::sin(M_PI * t / 16), 2);
}

// One cell of terrain: the solid quarters filled with the texture, a crust along the open sides.
void terrainCell(cairo_t* cr, int x0, int y0, int quarters, cairo_surface_t* texture, const Material& m) {
    cairo_save(cr);
    cairo_translate(cr, x0, y0);
    cairo_rectangle(cr, 0, 0, T, T);
    cairo_clip(cr);
    auto solid = [&](int qx, int qy) { return (quarters & (1 << (qy * 2 + qx))) != 0; };
    // The open sides: 32-pixel segments between a solid and an empty quarter, with the outward direction.
    struct Segment {
        Point start, along, out;
    };
    std::vector<Segment> open;
    for (int qy = 0; qy < 2; qy++)
        for (int qx = 0; qx < 2; qx++) {
            if (!solid(qx, qy)) continue;
            if (!solid(qx, 1 - qy)) open.push_back({{qx * 32.0, 32}, {1, 0}, {0, qy ? -1.0 : 1.0}});
            if (!solid(1 - qx, qy)) open.push_back({{32, qy * 32.0}, {0, 1}, {qx ? -1.0 : 1.0, 0}});
        }
    std::vector<std::vector<Point>> edges;
    for (const Segment& s : open) {
        std::vector<Point> edge;
        for (int t = 0; t <= 32; t++)
            edge.push_back(
                {s.start.x + s.along.x * t + s.out.x * edgeBump(t), s.start.y + s.along.y * t + s.out.y * edgeBump(t)});
        edges.push_back(edge);
    }
    for (int qy = 0; qy < 2; qy++)
        for (int qx = 0; qx < 2; qx++)
            if (solid(qx, qy)) cairo_rectangle(cr, qx * 32, qy * 32, 32, 32);
    for (const auto& edge : edges) {
        cairo_move_to(cr, edge.front().x, edge.front().y);
        for (const Point& p : edge) cairo_line_to(cr, p.x, p.y);
        cairo_close_path(cr);
    }
    crustedFill(cr, texture, m, edges);
    cairo_restore(cr);
}

// Frames of a rotation-set terrain group: full, bottom half x2, bottom-right x2, no-top-left x2, full.
const int kRotationGroup[8] = {kFull, BL | BR, BL | BR, BR, BR, TR | BL | BR, TR | BL | BR, kFull};

// Frame k of a terrain group is drawn with its own pebbles.
Material groupVariant(const Material& m, int k) {
    Material variant = m;
    variant.seed = m.seed * 31 + k;
    return variant;
}

void terrainGroup(cairo_t* cr, int firstFrame, const Material& m, int columns) {
    for (int k = 0; k < 8; k++) {
        Material variant = groupVariant(m, k);
        cairo_surface_t* tex = materialTexture(variant);
        int f = firstFrame + k;
        terrainCell(cr, (f % columns) * T, (f / columns) * T, kRotationGroup[k], tex, variant);
        cairo_surface_destroy(tex);
    }
}

// --- Decorations --------------------------------------------------------------------------------------

void frond(cairo_t* cr, double x, double y, double length, double angle, double width, Rgb colour) {
    double ex = x + length * std::cos(angle), ey = y + length * std::sin(angle);
    double nx = -std::sin(angle) * width, ny = std::cos(angle) * width;
    double mx = (x + ex) / 2, my = (y + ey) / 2 + length * 0.15;
    cairo_move_to(cr, x, y);
    cairo_curve_to(cr, mx + nx, my + ny, mx + nx, my + ny, ex, ey);
    cairo_curve_to(cr, mx - nx, my - ny, mx - nx, my - ny, x, y);
    cairo_close_path(cr);
    verticalGradient(cr, std::min(y, ey) - width, shade(colour, 1.3), std::max(y, ey) + width, shade(colour, 0.7));
    fillAndOutline(cr, shade(colour, 0.3), 1.1);
}

void palmCrown(cairo_t* cr, double x, double y, Rgb leaf) {
    for (double a : {-2.9, -2.3, -1.6, -0.9, -0.25, 0.35, 2.6}) frond(cr, x, y, 26, a, 5, leaf);
    circle(cr, x, y, 3.5);
    setColor(cr, hex(0x6a4a20));
    fillAndOutline(cr, hex(0x2a1a08), 1);
}

void trunk(cairo_t* cr, double x0, double y0, double x1, double y1, Rgb colour) {
    cairo_move_to(cr, x0, y0);
    cairo_curve_to(cr, x0 + 6, (y0 * 2 + y1) / 3, x1 - 4, (y0 + y1 * 2) / 3, x1, y1);
    setColor(cr, shade(colour, 0.35));
    cairo_set_line_width(cr, 8.5);
    cairo_stroke_preserve(cr);
    setColor(cr, colour);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
    for (int k = 1; k < 6; k++) {
        double t = k / 6.0, px = x0 + (x1 - x0) * t + 3 * std::sin(t * M_PI), py = y0 + (y1 - y0) * t;
        cairo_move_to(cr, px - 3, py);
        cairo_line_to(cr, px + 3, py - 1);
    }
    setColor(cr, shade(colour, 0.5));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void stone(cairo_t* cr, double x, double y, double rx, double ry, Rgb colour) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, rx, ry);
    circle(cr, 0, 0, 1);
    cairo_restore(cr);
    verticalGradient(cr, y - ry, shade(colour, 1.35), y + ry, shade(colour, 0.55));
    fillAndOutline(cr, shade(colour, 0.25), 1.4);
    highlight(cr, x - rx * 0.3, y - ry * 0.45, rx * 0.45, ry * 0.25, 0.35);
}

void kelp(cairo_t* cr, double x, double bottom, double height, Rgb colour, double sway) {
    for (int k = 0; k < 3; k++) {
        double bx = x + (k - 1) * 6;
        cairo_move_to(cr, bx - 2, bottom);
        cairo_curve_to(cr, bx - 8 + sway, bottom - height * 0.4, bx + 8 + sway, bottom - height * 0.7, bx + sway,
                       bottom - height + k * 6);
        cairo_curve_to(cr, bx + 10 + sway, bottom - height * 0.7, bx - 4 + sway, bottom - height * 0.4, bx + 2, bottom);
        cairo_close_path(cr);
        verticalGradient(cr, bottom - height, shade(colour, 1.3), bottom, shade(colour, 0.6));
        fillAndOutline(cr, shade(colour, 0.3), 1.2);
    }
}

// The top line of an island piece at x (0..64): the top of the sand terrain's bottom-half edge tile, so that
// the pieces join one another and a piece on a beach joins the beach. An end slopes down to the water over
// its outer 48 pixels.
enum class IslandEnd { None, Left, Right };

double islandTop(double x, IslandEnd end) {
    if (end == IslandEnd::Right) x = T - x;
    if (end != IslandEnd::None && x < 48) return 32 + 30 * std::pow(1 - x / 48, 1.8);
    return 32 - edgeBump(std::fmod(x, 32.0));
}

// A piece of an island in the cell at (x0, y0): the sand's texture from the top line down to the bottom of
// the cell (the island stands in the water surface row), with the terrain's crust along the top.
void islandSand(cairo_t* cr, double x0, double y0, IslandEnd end, cairo_surface_t* texture, const Material& m) {
    cairo_save(cr);
    cairo_translate(cr, x0, y0);
    std::vector<Point> top;
    for (int x = 0; x <= T; x++) top.push_back({double(x), islandTop(x, end)});
    cairo_move_to(cr, 0, T);
    for (const Point& p : top) cairo_line_to(cr, p.x, p.y);
    cairo_line_to(cr, T, T);
    cairo_close_path(cr);
    crustedFill(cr, texture, m, {top});
    cairo_restore(cr);
}

void islandPieces(cairo_t* cr, const Theme& t) {
    // The pieces wear the texture of the bottom-half edge tile (frame 1 of the sand group).
    const Material m = groupVariant(t.sand0, 1);
    cairo_surface_t* texture = materialTexture(m);
    // 0 left end of an island, 1 its flat middle, 2 right end, 3 a palm trunk on sand, 4 a palm crown,
    // 5 a low bush on sand, 6 stones on sand, 7 a tuft of grass on sand.
    islandSand(cr, 0, 0, IslandEnd::Left, texture, m);
    islandSand(cr, 64, 0, IslandEnd::None, texture, m);
    islandSand(cr, 128, 0, IslandEnd::Right, texture, m);
    islandSand(cr, 192, 0, IslandEnd::None, texture, m);
    trunk(cr, 222, 35, 224, 0, t.trunk);
    palmCrown(cr, 32, 64 + 44, t.leaf);
    trunk(cr, 32, 64 + 47, 32, 64 + 64, t.trunk);
    islandSand(cr, 64, 64, IslandEnd::None, texture, m);
    for (int k = 0; k < 5; k++) frond(cr, 96, 64 + 35, 16, -M_PI / 2 + (k - 2) * 0.5, 5, t.plant1);
    islandSand(cr, 128, 64, IslandEnd::None, texture, m);
    stone(cr, 156, 64 + 30, 14, 10, t.stone);
    stone(cr, 170, 64 + 35, 8, 6, shade(t.stone, 0.9));
    islandSand(cr, 192, 64, IslandEnd::None, texture, m);
    for (int k = 0; k < 7; k++)
        frond(cr, 224 + (k - 3) * 3, 64 + 37, 14 + (k % 3) * 4, -M_PI / 2 + (k - 3) * 0.22, 2, t.plant2);
    cairo_surface_destroy(texture);
}

void ornamentFrames(cairo_t* cr, const Theme& t) {
    kelp(cr, 32, 64, 58, t.plant1, 4);
    // A fan plant.
    for (int k = 0; k < 9; k++) frond(cr, 96, 62, 28 + (k % 2) * 6, -M_PI / 2 + (k - 4) * 0.28, 4, t.plant2);
    stone(cr, 160, 46, 24, 16, t.stone);
    stone(cr, 150, 54, 12, 9, shade(t.stone, 1.1));
    stone(cr, 224, 50, 18, 13, shade(t.stone, 0.85));
    stone(cr, 238, 56, 9, 7, t.stone);
    stone(cr, 210, 57, 8, 6, shade(t.stone, 1.05));
}

// --- Water, sky, drops --------------------------------------------------------------------------------

// Wave height of the surface at x in frame f of 8: one wave every 64 pixels, moving 8 pixels per frame.
double surfaceAt(double x, int frame) {
    double p = 2 * M_PI * (x + frame * 8) / T;
    double q = 2 * M_PI * (x * 2 - frame * 16) / T;
    return 32 + 3.5 * std::sin(p) + 1.2 * std::sin(q);
}

void causticsCell(cairo_t* cr, int x0, int y0, int frame4, const Theme& t, double topY) {
    cairo_surface_t* s = cairo_get_target(cr);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    for (int y = static_cast<int>(topY); y < T; y++)
        for (int x = 0; x < T; x++) {
            double a = tileNoise(x + frame4 * 16, y, T, 4, 77);
            double b = tileNoise(x, y + frame4 * 16, T, 4, 78);
            double c = std::clamp(1 - std::fabs(a - b) * 9, 0.0, 1.0);
            unsigned char* px = data + (y0 + y) * stride + (x0 + x) * 4;
            // Premultiplied: add a little light where the two noise fields cross. A channel holds at most
            // the pixel's alpha (full brightness at that coverage), so the light stops there.
            const double alpha = px[3];
            const double add = c * 0.22 * alpha;
            px[0] = static_cast<unsigned char>(std::min(alpha, px[0] + add * t.rays.b));
            px[1] = static_cast<unsigned char>(std::min(alpha, px[1] + add * t.rays.g));
            px[2] = static_cast<unsigned char>(std::min(alpha, px[2] + add * t.rays.r));
        }
    cairo_surface_mark_dirty(s);
}

const double kWaterAlpha = 0.62;

void waterSheet(AssetOutput& out, const Theme& t) {
    Canvas canvas(256, 192);
    cairo_t* cr = canvas.cr();
    for (int f = 0; f < 8; f++) {
        int x0 = (f % 4) * T, y0 = (f / 4) * T;
        cairo_move_to(cr, x0, y0 + T);
        for (int x = 0; x <= T; x++) cairo_line_to(cr, x0 + x, y0 + surfaceAt(x, f));
        cairo_line_to(cr, x0 + T, y0 + T);
        cairo_close_path(cr);
        verticalGradient(cr, y0 + 28, shade(t.waterTop, 1.15), y0 + T, t.waterTop, kWaterAlpha);
        cairo_fill(cr);
        causticsCell(cr, x0, y0, f % 4, t, 38);
        // Foam along the crest.
        cairo_move_to(cr, x0, y0 + surfaceAt(0, f));
        for (int x = 1; x <= T; x++) cairo_line_to(cr, x0 + x, y0 + surfaceAt(x, f));
        setColor(cr, t.foam, 0.95);
        cairo_set_line_width(cr, 2.2);
        cairo_stroke(cr);
        cairo_move_to(cr, x0, y0 + surfaceAt(0, f) + 4);
        for (int x = 1; x <= T; x++) cairo_line_to(cr, x0 + x, y0 + surfaceAt(x, f) + 4);
        setColor(cr, t.foam, 0.3);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
    for (int f = 0; f < 4; f++) {
        int x0 = f * T, y0 = 2 * T;
        cairo_rectangle(cr, x0, y0, T, T);
        setColor(cr, t.waterTop, kWaterAlpha);
        cairo_fill(cr);
        causticsCell(cr, x0, y0, f, t, 0);
    }
    out.savePng(canvas, t.water, gridFrames(256, 192, T, T));
}

void band(cairo_t* cr, int x0, int y0, Rgb top, Rgb bottom) {
    cairo_rectangle(cr, x0, y0, T, T);
    verticalGradient(cr, y0, top, y0 + T, bottom);
    cairo_fill(cr);
}

// Gives the deep water depth: broad, faint veils of lighter and darker water. They repeat every 64 pixels
// across, and towards the top and bottom edges they even out along the row, so deep cells join one another,
// the bands above them and their own mirrored copies in any order.
void deepWaterVeils(cairo_t* cr, Point cell) {
    cairo_surface_t* s = cairo_get_target(cr);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    auto veil = [](double x, double y) {
        return 0.65 * tileNoise(x, y, T, 2, 91) + 0.35 * tileNoise(x, y, T, 4, 92) - 0.5;
    };
    for (int y = 0; y < T; y++) {
        double rowMean = 0;
        for (int x = 0; x < T; x++) rowMean += veil(x, y) / T;
        // Fully evened out on the edge rows themselves, so a deep cell meets a plain band without a step.
        const double w = std::clamp((std::min(y, T - 1 - y)) / 16.0, 0.0, 1.0);
        const double edgeFade = std::clamp(std::min(y, T - 1 - y) / 4.0, 0.0, 1.0);
        for (int x = 0; x < T; x++) {
            const double v = (rowMean * (1 - w) + veil(x, y) * w) * edgeFade;
            const double factor = 1 + 0.22 * v;
            unsigned char* px = data + (static_cast<int>(cell.y) + y) * stride + (static_cast<int>(cell.x) + x) * 4;
            for (int k = 0; k < 3; k++) px[k] = static_cast<unsigned char>(std::clamp(px[k] * factor, 0.0, 255.0));
        }
    }
    cairo_surface_mark_dirty(s);
}

void skySheet(AssetOutput& out, const Theme& t) {
    Canvas canvas(256, 256);
    cairo_t* cr = canvas.cr();
    auto cell = [](int f) { return Point{static_cast<double>((f % 4) * T), static_cast<double>((f / 4) * T)}; };
    // 0..7: the opaque deep-water backdrop, in bands that stack from the surface downwards: 0 (or 4, the same
    // band with light shafts) under the surface, then 1, 2, and the deep colour of 3, on which 5 (bubbles) and
    // 6 (a far reef) are scattered. Each band starts with the colour the one above ends with, and the first
    // starts with the surface water as it shows over the horizon, so a column of bands has no seams.
    Rgb d0 = mix(t.skyHorizon, t.waterTop, kWaterAlpha), d1 = t.deepTop, d3 = t.deepBottom, d2 = mix(d1, d3, 0.5);
    Rgb deep[8][2] = {{d0, d1}, {d1, d2}, {d2, d3}, {d3, d3}, {d0, d1}, {d3, d3}, {d3, d3}, {d3, d3}};
    for (int f = 0; f < 8; f++) {
        Point c = cell(f);
        band(cr, c.x, c.y, deep[f][0], deep[f][1]);
        if (f == 3 || f >= 5) deepWaterVeils(cr, c);
    }
    // Light shafts falling from the surface and fading out before the band ends, clear of the side edges.
    {
        Point c = cell(4);
        const double shafts[3][3] = {{14, 5, 0.16}, {34, 8, 0.12}, {50, 4, 0.14}}; // x, half width, strength
        for (const auto& s : shafts) {
            cairo_move_to(cr, c.x + s[0] - s[1], c.y);
            cairo_line_to(cr, c.x + s[0] + s[1], c.y);
            cairo_line_to(cr, c.x + s[0] + s[1] + 4, c.y + 56);
            cairo_line_to(cr, c.x + s[0] - s[1] + 4, c.y + 56);
            cairo_close_path(cr);
            cairo_pattern_t* fade = cairo_pattern_create_linear(0, c.y, 0, c.y + 56);
            cairo_pattern_add_color_stop_rgba(fade, 0, t.rays.r, t.rays.g, t.rays.b, s[2]);
            cairo_pattern_add_color_stop_rgba(fade, 1, t.rays.r, t.rays.g, t.rays.b, 0);
            cairo_set_source(cr, fade);
            cairo_fill(cr);
            cairo_pattern_destroy(fade);
        }
    }
    // A far school of small fish in the haze, and a few rising bubbles, away from the edges.
    {
        Point c = cell(5);
        ArtRandom school(55);
        for (int k = 0; k < 7; k++) {
            const double x = c.x + school.uniform(10, 36), y = c.y + school.uniform(34, 54),
                         size = school.uniform(2.8, 4.2);
            cairo_save(cr);
            cairo_translate(cr, x, y);
            cairo_scale(cr, size, size * 0.55);
            circle(cr, 0, 0, 1);
            cairo_restore(cr);
            cairo_move_to(cr, x - size * 0.8, y);
            cairo_line_to(cr, x - size * 1.7, y - size * 0.6);
            cairo_line_to(cr, x - size * 1.7, y + size * 0.6);
            cairo_close_path(cr);
            setColor(cr, mix(d3, t.rays, 0.28));
            cairo_fill(cr);
        }
    }
    {
        Point c = cell(5);
        ArtRandom rng(5);
        for (int k = 0; k < 6; k++) {
            double x = c.x + rng.uniform(34, 54), y = c.y + rng.uniform(8, 40), r = rng.uniform(1.2, 2.8);
            circle(cr, x, y, r);
            setColor(cr, t.rays, 0.12);
            cairo_fill_preserve(cr);
            setColor(cr, t.rays, 0.4);
            cairo_set_line_width(cr, 0.8);
            cairo_stroke(cr);
            circle(cr, x - r * 0.35, y - r * 0.35, r * 0.3);
            setColor(cr, t.rays, 0.5);
            cairo_fill(cr);
        }
    }
    // A far reef, hazy at the top and fading into the deep water at its foot. Both sides meet the cell edges at
    // the same low height, so a run of reefs reads as one ridge; its shapes are lopsided (a stand of coral
    // spires on the left, a rounded head and a low fan on the right), so that the mirrored copies the levels
    // scatter among the plain ones vary the ridge.
    {
        Point c = cell(6);
        cairo_save(cr);
        cairo_rectangle(cr, c.x, c.y, T, T);
        cairo_clip(cr);
        cairo_move_to(cr, c.x, c.y + T);
        cairo_line_to(cr, c.x, c.y + 52);
        cairo_curve_to(cr, c.x + 2, c.y + 50, c.x + 4, c.y + 46, c.x + 6, c.y + 44);
        cairo_line_to(cr, c.x + 8, c.y + 22);
        cairo_line_to(cr, c.x + 11, c.y + 40);
        cairo_line_to(cr, c.x + 14, c.y + 14);
        cairo_line_to(cr, c.x + 17, c.y + 36);
        cairo_line_to(cr, c.x + 20, c.y + 28);
        cairo_line_to(cr, c.x + 23, c.y + 42);
        cairo_curve_to(cr, c.x + 28, c.y + 40, c.x + 30, c.y + 30, c.x + 38, c.y + 30);
        cairo_curve_to(cr, c.x + 45, c.y + 30, c.x + 47, c.y + 40, c.x + 50, c.y + 42);
        cairo_curve_to(cr, c.x + 54, c.y + 38, c.x + 58, c.y + 40, c.x + 60, c.y + 46);
        cairo_curve_to(cr, c.x + 62, c.y + 50, c.x + 63, c.y + 52, c.x + T, c.y + 52);
        cairo_line_to(cr, c.x + T, c.y + T);
        cairo_close_path(cr);
        verticalGradient(cr, c.y + 14, mix(d3, d2, 0.55), c.y + T, d3);
        cairo_fill(cr);
        // A darker crevice and a few lighter polyps on the head, in the same haze.
        cairo_move_to(cr, c.x + 34, c.y + 33);
        cairo_curve_to(cr, c.x + 36, c.y + 40, c.x + 33, c.y + 46, c.x + 35, c.y + 54);
        setColor(cr, d3, 0.55);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        for (const Point& p : {Point{40, 34}, Point{44, 37}, Point{30, 36}})
            softEllipse(cr, c.x + p.x, c.y + p.y, 2.5, 2, mix(d3, d2, 0.9), 0.5);
        cairo_restore(cr);
    }
    // 8..13: the sky from the zenith down to the horizon.
    Rgb s0 = t.skyTop, s3 = t.skyHorizon, s1 = mix(s0, s3, 0.33), s2 = mix(s0, s3, 0.66);
    // 8 is the plain zenith that repeats upwards, 9 leads down to the cloud bank (12 and 13), and 10 and 11
    // (with a lone cloud high in the cell, above the waves) are the horizon behind the surface row.
    Rgb skies[6][2] = {{s0, s0}, {s0, s1}, {s2, s3}, {s2, s3}, {s1, s2}, {s1, s2}};
    for (int f = 8; f < 14; f++) {
        Point c = cell(f);
        band(cr, c.x, c.y, skies[f - 8][0], skies[f - 8][1]);
    }
    // Frame 11 carries a lone cloud; 12 and 13 form a 128-pixel cloud bank: 13 is its right half and 12 the
    // mirrored left half, so the alternating run (12 flipped, 13, 12 flipped, 13...) joins seamlessly.
    auto puffs = [&](Point c, double offset, bool mirror, uint32_t seed, int count, double period) {
        cairo_save(cr);
        cairo_rectangle(cr, c.x, c.y, T, T);
        cairo_clip(cr);
        ArtRandom rng(seed);
        for (int k = 0; k < count; k++) {
            double px = rng.uniform(0, period), py = rng.uniform(30, 42), r = rng.uniform(6, 11);
            for (double rep = -period; rep <= period; rep += period) {
                double x = px + rep - offset;
                if (mirror) x = T - x;
                softEllipse(cr, c.x + x, c.y + py, r * 1.7, r, t.cloud, 0.85, 0.6);
            }
        }
        cairo_restore(cr);
    };
    {
        Point c = cell(11);
        cairo_save(cr);
        cairo_translate(cr, c.x + 32, c.y + 15);
        cairo_scale(cr, 18, 7);
        circle(cr, 0, 0, 1);
        cairo_restore(cr);
        setColor(cr, t.cloud, 0.55);
        cairo_fill(cr);
    }
    puffs(cell(12), 0, true, 99, 10, 128);
    puffs(cell(13), 64, false, 99, 10, 128);
    out.savePng(canvas, t.sky, gridFrames(256, 256, T, T));
}

void dropSheet(AssetOutput& out, const Theme& t) {
    Canvas canvas(32, 32);
    cairo_t* cr = canvas.cr();
    Rgb tint = mix(t.waterTop, {1, 1, 1}, 0.5);
    circle(cr, 5, 6, 4);
    setColor(cr, tint, 0.25);
    cairo_fill_preserve(cr);
    setColor(cr, shade(tint, 1.3), 0.9);
    cairo_set_line_width(cr, 1.1);
    cairo_stroke(cr);
    highlight(cr, 3.8, 4.5, 1.6, 1.2, 0.95);
    cairo_move_to(cr, 20, 2);
    cairo_curve_to(cr, 22, 7, 27, 10, 27, 13.5);
    cairo_curve_to(cr, 27, 17, 24, 19, 20, 19);
    cairo_curve_to(cr, 16, 19, 13, 17, 13, 13.5);
    cairo_curve_to(cr, 13, 10, 18, 7, 20, 2);
    cairo_close_path(cr);
    verticalGradient(cr, 2, shade(tint, 1.2), 19, t.waterTop, 0.85);
    fillAndOutline(cr, shade(t.waterDeep, 0.6), 1);
    highlight(cr, 17.5, 12, 2, 3, 0.8);
    std::vector<FrameRect> frames = {{0, 0, 10, 12}, {10, 0, 30, 20}, {0, 0, 10, 12}};
    out.savePng(canvas, t.drop, frames);
}

void sandSheet(AssetOutput& out, const Theme& t) {
    Canvas canvas(256, 256);
    islandPieces(canvas.cr(), t);
    terrainGroup(canvas.cr(), 8, t.sand0, 4);
    out.savePng(canvas, t.sand, gridFrames(256, 256, T, T));
}

void rockSheet(AssetOutput& out, const Theme& t) {
    Canvas canvas(256, 256);
    terrainGroup(canvas.cr(), 0, t.rockA, 4);
    terrainGroup(canvas.cr(), 8, t.rockB, 4);
    out.savePng(canvas, t.rock, gridFrames(256, 256, T, T));
}

void coralSheet(AssetOutput& out, const Theme& t) {
    // Frame -> solid quarters. Frames 0 and 17 and 1..16 are the second coral, 18..35 the first.
    static const int shapes[36] = {
        kFull,        BL | BR,      TR | BR,      TL | TR,      TL | BL, 0,       TR | BR, TL | TR, TL | BL,
        TR | BL | BR, TL | TR | BR, TL | TR | BL, TL | BL | BR, BR,      TR,      TL,      BL,      kFull,
        kFull,        BL | BR,      TR | BR,      TL | TR,      TL | BL, BL | BR, TR | BR, TL | TR, TL | BL,
        TR | BL | BR, TL | TR | BR, TL | TR | BL, TL | BL | BR, BR,      TR,      TL,      BL,      kFull};
    Canvas canvas(384, 384);
    for (int f = 0; f < 36; f++) {
        if (shapes[f] == 0) continue;
        Material m = f >= 18 ? t.coralA : t.coralB;
        m.seed = m.seed * 37 + f;
        cairo_surface_t* tex = materialTexture(m);
        terrainCell(canvas.cr(), (f % 6) * T, (f / 6) * T, shapes[f], tex, m);
        cairo_surface_destroy(tex);
    }
    out.savePng(canvas, t.coral, gridFrames(384, 384, T, T, 36));
}

void ornamentSheet(AssetOutput& out, const Theme& t) {
    Canvas canvas(256, 64);
    ornamentFrames(canvas.cr(), t);
    out.savePng(canvas, t.ornaments, gridFrames(256, 64, T, T));
}

} // namespace

void writeTileArt(AssetOutput& out) {
    std::set<std::string> done;
    auto once = [&](const std::string& name, const std::function<void()>& write) {
        if (done.insert(name).second) write();
    };
    for (const Theme& t : themes()) {
        once(t.water, [&] { waterSheet(out, t); });
        once(t.sand, [&] { sandSheet(out, t); });
        once(t.sky, [&] { skySheet(out, t); });
        once(t.rock, [&] { rockSheet(out, t); });
        once(t.drop, [&] { dropSheet(out, t); });
        once(t.coral, [&] { coralSheet(out, t); });
        once(t.ornaments, [&] { ornamentSheet(out, t); });
    }
}
