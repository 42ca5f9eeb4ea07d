// The comic panels: Radudod the dolphin's story told in 27 pictures of 256 x 256 (five scenes), each a small
// scene of sea, sky, the dolphin and its friends and foes, with a caption box in the corner. The first scene
// opens the game; the next three each open the world the player enters (ice, volcano, alien), and the last
// tells the end.
#include "AssetFamilies.h"
#include "FrontEndDrawing.h"

#include <cmath>
#include <string>

namespace {

enum Setting { kDeepSea, kSurface, kSunset, kIce, kVolcano, kDarkReef, kAlien, kMachineBase };
// kGold is a group of Gold Radudods (the story's Ruri Veruders).
enum Actor { kNone, kDolphin, kDolphinLeft, kShark, kTurtle, kGold, kLights, kLaser, kDrone, kFriends };

struct Cast {
    Actor actor;
    double x, y, angle, scale;
};

struct Panel {
    const char* file;
    Setting setting;
    const char* caption; // '|' breaks the line
    Cast cast[3];
};

void drawWater(cairo_t* cr, double top, Rgb upper, Rgb lower, uint32_t seed) {
    cairo_rectangle(cr, 0, top, 256, 256 - top);
    verticalGradient(cr, top, upper, 256, lower);
    cairo_fill(cr);
    ArtRandom rng(seed);
    for (int k = 0; k < 4; k++) {
        const double x = rng.uniform(0, 256), w = rng.uniform(14, 30);
        cairo_move_to(cr, x, top);
        cairo_line_to(cr, x + w, top);
        cairo_line_to(cr, x + w * 2 + 40, 256);
        cairo_line_to(cr, x + 40, 256);
        cairo_close_path(cr);
        setColor(cr, {1, 1, 1}, 0.08);
        cairo_fill(cr);
    }
    for (int k = 0; k < 14; k++) {
        circle(cr, rng.uniform(0, 256), rng.uniform(top + 10, 250), rng.uniform(1.5, 4));
        setColor(cr, {1, 1, 1}, 0.45);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
}

void drawSky(cairo_t* cr, double horizon, Rgb top, Rgb bottom, Rgb sun) {
    cairo_rectangle(cr, 0, 0, 256, horizon);
    verticalGradient(cr, 0, top, horizon, bottom);
    cairo_fill(cr);
    softEllipse(cr, 190, horizon * 0.45, 50, 50, sun, 0.7);
    circle(cr, 190, horizon * 0.45, 16);
    setColor(cr, shade(sun, 1.3));
    cairo_fill(cr);
}

void drawSeaFloor(cairo_t* cr, Rgb sand, uint32_t seed) {
    cairo_move_to(cr, 0, 256);
    for (int x = 0; x <= 256; x += 16) cairo_line_to(cr, x, 232 + 6 * std::sin(x * 0.05 + seed));
    cairo_line_to(cr, 256, 256);
    cairo_close_path(cr);
    verticalGradient(cr, 226, sand, 256, shade(sand, 0.6));
    cairo_fill(cr);
    ArtRandom rng(seed);
    for (int k = 0; k < 4; k++) {
        const double x = rng.uniform(10, 246), h = rng.uniform(24, 54);
        cairo_move_to(cr, x, 240);
        cairo_curve_to(cr, x - 8, 240 - h * 0.4, x + 8, 240 - h * 0.7, x + rng.uniform(-6, 6), 240 - h);
        setColor(cr, hex(0x1a6a4a), 0.9);
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
    }
}

void drawSetting(cairo_t* cr, Setting setting, uint32_t seed) {
    switch (setting) {
    case kDeepSea:
        drawWater(cr, 0, hex(0x2a9ad0), hex(0x0a2a60), seed);
        drawSeaFloor(cr, hex(0xd8b870), seed);
        break;
    case kSurface:
        drawSky(cr, 120, hex(0x3a80d8), hex(0xc8ecff), hex(0xfff0a0));
        drawWater(cr, 120, hex(0x40c8e0), hex(0x0a3a7a), seed);
        break;
    case kSunset:
        drawSky(cr, 120, hex(0x6a3a8a), hex(0xffa060), hex(0xffd060));
        drawWater(cr, 120, hex(0xe08050), hex(0x3a1a5a), seed);
        break;
    case kIce:
        drawSky(cr, 90, hex(0x90c0f0), hex(0xf0f8ff), hex(0xffffff));
        drawWater(cr, 90, hex(0x80d8f0), hex(0x1a4a8a), seed);
        for (double x : {20.0, 150.0}) {
            polygon(cr, {{x, 90}, {x + 20, 60}, {x + 50, 70}, {x + 80, 90}, {x + 60, 112}, {x + 14, 108}});
            verticalGradient(cr, 60, hex(0xffffff), 112, hex(0xa0d0f0));
            fillAndOutline(cr, hex(0x305a80), 2);
        }
        break;
    case kVolcano:
        drawSky(cr, 110, hex(0x3a1010), hex(0xd05a20), hex(0xff8030));
        polygon(cr, {{40, 110}, {100, 40}, {130, 40}, {200, 110}});
        verticalGradient(cr, 40, hex(0x5a3a30), 110, hex(0x2a1a18));
        fillAndOutline(cr, hex(0x100808), 2);
        softEllipse(cr, 115, 36, 26, 16, hex(0xffa020), 0.9);
        drawWater(cr, 110, hex(0x6a4a5a), hex(0x1a0a1a), seed);
        break;
    case kDarkReef:
        drawWater(cr, 0, hex(0x1a3050), hex(0x050a18), seed);
        drawSeaFloor(cr, hex(0x504a40), seed);
        break;
    case kAlien:
        // The alien world: a violet sky with a green glow over a teal sea, crystal spires on the horizon.
        drawSky(cr, 110, hex(0x1a0a3a), hex(0x60d8a0), hex(0xe0a0ff));
        for (double x : {30.0, 70.0, 180.0, 215.0}) {
            const double h = 30 + std::fmod(x, 27.0);
            polygon(cr, {{x - 12, 110}, {x - 3, 110 - h}, {x + 4, 110 - h * 0.8}, {x + 12, 110}});
            verticalGradient(cr, 110 - h, hex(0x9a7ad0), 110, hex(0x3a2a6a));
            fillAndOutline(cr, hex(0x140a28), 1.5);
        }
        drawWater(cr, 110, hex(0x40b8a8), hex(0x2a1660), seed);
        break;
    case kMachineBase:
        // The machines' base in the deep of the alien sea.
        drawWater(cr, 0, hex(0x3a3a7a), hex(0x0c0820), seed);
        for (int k = 0; k < 3; k++) {
            roundedRect(cr, 30 + k * 70, 130 - k * 20, 56, 126 + k * 20, 6);
            verticalGradient(cr, 110, hex(0x8a9aaa), 256, hex(0x3a4450));
            fillAndOutline(cr, hex(0x101820), 2);
            for (int w = 0; w < 3; w++) {
                cairo_rectangle(cr, 42 + k * 70, 146 - k * 20 + w * 28, 32, 10);
                setColor(cr, hex(0x70f0b0), 0.9);
                cairo_fill(cr);
            }
        }
        break;
    }
}

void drawShark(cairo_t* cr, double x, double y, double scale) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, scale);
    smoothClosedPath(cr, {{-60, 0}, {-30, -16}, {20, -18}, {56, -4}, {60, 6}, {20, 16}, {-30, 12}});
    verticalGradient(cr, -18, hex(0xa8b8c8), 16, hex(0x4a5866));
    fillAndOutline(cr, hex(0x101820), 2.5);
    polygon(cr, {{-6, -16}, {6, -38}, {14, -16}});
    setColor(cr, hex(0x6a7a8a));
    fillAndOutline(cr, hex(0x101820), 2);
    polygon(cr, {{-58, 0}, {-80, -20}, {-74, 0}, {-80, 20}});
    setColor(cr, hex(0x6a7a8a));
    fillAndOutline(cr, hex(0x101820), 2);
    circle(cr, 38, -6, 4);
    setColor(cr, hex(0xff3020));
    cairo_fill(cr);
    for (int t = 0; t < 5; t++) polygon(cr, {{30.0 + t * 5, 6}, {32.5 + t * 5, 11}, {35.0 + t * 5, 6}});
    setColor(cr, {1, 1, 1});
    cairo_fill(cr);
    for (int r = 0; r < 3; r++) {
        circle(cr, -30 + r * 18, 0, 2);
        setColor(cr, hex(0x202830));
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

void drawTurtle(cairo_t* cr, double x, double y, double scale) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, scale);
    for (int s = -1; s <= 1; s += 2) {
        smoothClosedPath(cr, {{s * 20.0, 8}, {s * 44.0, 20}, {s * 40.0, 28}, {s * 16.0, 16}});
        setColor(cr, hex(0x7ac070));
        fillAndOutline(cr, hex(0x1a3010), 2);
    }
    circle(cr, 46, -6, 12);
    setColor(cr, hex(0x8ad080));
    fillAndOutline(cr, hex(0x1a3010), 2);
    circle(cr, 50, -9, 2.5);
    setColor(cr, hex(0x101010));
    cairo_fill(cr);
    smoothClosedPath(cr, {{-40, 6}, {-30, -20}, {0, -30}, {30, -20}, {40, 6}, {0, 14}});
    verticalGradient(cr, -30, hex(0xc09050), 14, hex(0x6a4a20));
    fillAndOutline(cr, hex(0x2a1a08), 2.5);
    for (int k = -1; k <= 1; k++) {
        circle(cr, k * 16, -10, 7);
        setColor(cr, hex(0x8a6a30), 0.8);
        cairo_fill(cr);
    }
    // A wise old beard.
    polygon(cr, {{44, 4}, {40, 16}, {50, 6}});
    setColor(cr, {1, 1, 1});
    cairo_fill(cr);
    cairo_restore(cr);
}

void drawDrone(cairo_t* cr, double x, double y, double scale) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, scale);
    circle(cr, 0, 0, 16);
    radialGradient(cr, {-5, -6}, 2, {0, 0}, 16, hex(0xd0d8e0), hex(0x7a8898), hex(0x3a4450));
    fillAndOutline(cr, hex(0x101820), 2);
    circle(cr, 5, 0, 5);
    setColor(cr, hex(0xff4030));
    cairo_fill(cr);
    glow(cr, 5, 0, 12, hex(0xff6040), 0.5);
    cairo_restore(cr);
}

void drawCast(cairo_t* cr, const Cast& c) {
    switch (c.actor) {
    case kNone:
        break;
    case kDolphin:
        drawDolphin(cr, {c.x, c.y}, c.angle, c.scale);
        break;
    case kDolphinLeft:
        cairo_save(cr);
        cairo_translate(cr, c.x, c.y);
        cairo_scale(cr, -1, 1);
        drawDolphin(cr, {0, 0}, c.angle, c.scale);
        cairo_restore(cr);
        break;
    case kShark:
        drawShark(cr, c.x, c.y, c.scale);
        break;
    case kTurtle:
        drawTurtle(cr, c.x, c.y, c.scale);
        break;
    case kGold:
        drawGoldRadudod(cr, {c.x, c.y}, 1.6 * c.scale);
        drawGoldRadudod(cr, {c.x + 38 * c.scale, c.y + 12 * c.scale}, 1.25 * c.scale, -1);
        drawGoldRadudod(cr, {c.x - 36 * c.scale, c.y + 16 * c.scale}, 1.1 * c.scale, 0.6);
        break;
    case kLights:
        for (int k = 0; k < 5; k++) glow(cr, c.x + k * 28 - 56, c.y + 14 * std::sin(k * 1.7), 16, hex(0xff6060), 0.8);
        break;
    case kLaser:
        cairo_move_to(cr, c.x, c.y);
        cairo_line_to(cr, c.x + 120 * std::cos(c.angle * M_PI / 180), c.y - 120 * std::sin(c.angle * M_PI / 180));
        setColor(cr, hex(0x40ff80), 0.5);
        cairo_set_line_width(cr, 10);
        cairo_stroke_preserve(cr);
        setColor(cr, {1, 1, 1});
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
        break;
    case kDrone:
        drawDrone(cr, c.x, c.y, c.scale);
        drawDrone(cr, c.x + 50, c.y + 30, c.scale * 0.8);
        break;
    case kFriends:
        for (int k = 0; k < 6; k++) {
            ArtRandom rng(uint32_t(k + 5));
            const double fx = c.x + rng.uniform(-90, 90), fy = c.y + rng.uniform(-40, 40);
            smoothClosedPath(cr, {{fx - 10, fy}, {fx, fy - 6}, {fx + 10, fy}, {fx, fy + 6}});
            setColor(cr, k % 2 ? hex(0xffa040) : hex(0xff70b0));
            fillAndOutline(cr, hex(0x2a1010), 1.5);
            polygon(cr, {{fx - 9, fy}, {fx - 16, fy - 6}, {fx - 16, fy + 6}});
            fillAndOutline(cr, hex(0x2a1010), 1.5);
        }
        break;
    }
}

// The caption box in the top-left corner, one or two lines.
void drawCaptionBox(cairo_t* cr, const std::string& caption) {
    const size_t bar = caption.find('|');
    const std::string first = caption.substr(0, bar);
    const std::string second = bar == std::string::npos ? "" : caption.substr(bar + 1);
    const double size = 15;
    const double width = std::max(captionWidth(cr, first.c_str(), size), captionWidth(cr, second.c_str(), size)) + 16;
    const double height = second.empty() ? 26 : 46;
    roundedRect(cr, 8, 8, std::min(width, 240.0), height, 5);
    setColor(cr, hex(0xfffbe8));
    fillAndOutline(cr, hex(0x1a1a1a), 2);
    const double cx = 8 + std::min(width, 240.0) / 2;
    drawCaption(cr, first.c_str(), cx, 21, size, hex(0x1a1a1a), hex(0xfffbe8));
    if (!second.empty()) drawCaption(cr, second.c_str(), cx, 41, size, hex(0x1a1a1a), hex(0xfffbe8));
}

// The story, scene by scene.
const Panel kPanels[] = {
    {"scene1frame01.jpg", kDeepSea, "Far down in the|Glimmer Sea...", {{kDolphin, 128, 150, 10, 1.3}}},
    {"scene1frame02.jpg", kSurface, "Radudod loved|to leap!", {{kDolphin, 120, 100, 35, 1.2}}},
    {"scene1frame03.jpg",
     kDeepSea,
     "Then strange|lights came...",
     {{kLights, 150, 130, 0, 1}, {kDolphinLeft, 70, 190, 0, 0.9}}},
    {"scene1frame04.jpg", kDeepSea, "Robo sharks!", {{kShark, 140, 140, 0, 1.3}}},
    {"scene1frame05.jpg",
     kDeepSea,
     "They took the|Ruri Veruders!",
     {{kGold, 110, 160, 0, 1.2}, {kShark, 190, 110, 0, 0.7}}},
    {"scene1frame06.jpg", kDarkReef, "The reef|went dark.", {{kDolphin, 128, 160, -10, 1.0}}},
    {"scene1frame07.jpg",
     kDeepSea,
     "An old turtle|swam up.",
     {{kTurtle, 150, 150, 0, 1.3}, {kDolphin, 60, 190, 0, 0.7}}},
    {"scene1frame08.jpg",
     kDeepSea,
     "\"Take this laser,|young one.\"",
     {{kDolphin, 80, 160, 0, 1.0}, {kLaser, 130, 150, 10, 1}}},
    {"scene1frame09.jpg",
     kDeepSea,
     "\"Bring the|Veruders home.\"",
     {{kTurtle, 90, 160, 0, 1.0}, {kGold, 190, 150, 0, 0.9}}},
    {"scene1frame10.jpg", kSurface, "Radudod set|off at once!", {{kDolphin, 140, 170, 0, 1.3}}},
    {"scene1frame11.jpg",
     kSurface,
     "The adventure|begins!",
     {{kDolphin, 128, 90, 60, 1.1}, {kFriends, 128, 190, 0, 1}}},
    // Before the ice world.
    {"scene2frame1.jpg", kIce, "Onward, to|the icy north!", {{kDolphin, 128, 120, 40, 1.1}}},
    {"scene2frame2.jpg", kIce, "Icy waters!|Brrr...", {{kDolphinLeft, 128, 170, -5, 1.2}}},
    {"scene2frame3.jpg", kIce, "More machines|were waiting.", {{kDrone, 110, 160, 0, 1.2}}},
    {"scene2frame4.jpg", kIce, "Radudod was|not afraid.", {{kDolphin, 110, 180, 15, 1.2}, {kDrone, 200, 150, 0, 0.8}}},
    {"scene2frame5.jpg",
     kIce,
     "Zap!",
     {{kDolphin, 70, 180, 10, 1.0}, {kLaser, 120, 170, 12, 1}, {kShark, 215, 150, 0, 0.5}}},
    {"scene2frame6.jpg",
     kIce,
     "Something glowed|under the ice.",
     {{kGold, 128, 200, 0, 1.0}, {kShark, 170, 130, 0, 0.6}}},
    // Before the volcano world.
    {"scene3frame1.jpg", kVolcano, "The water grew|warm and dark.", {{kDolphin, 128, 190, 10, 1.0}}},
    {"scene3frame2.jpg",
     kVolcano,
     "The volcano|rumbled.",
     {{kDolphinLeft, 150, 200, -5, 1.0}, {kDrone, 45, 110, 0, 0.7}}},
    {"scene3frame3.jpg",
     kVolcano,
     "A Veruder shone|in the ash!",
     {{kGold, 128, 205, 0, 1.0}, {kDolphin, 110, 140, -20, 0.9}}},
    // Before the alien world.
    {"scene4frame1.jpg", kAlien, "A strange|violet sea...", {{kDolphin, 128, 185, 0, 1.1}}},
    {"scene4frame2.jpg", kMachineBase, "The machines'|secret base!", {{kDrone, 90, 90, 0, 1.0}}},
    {"scene4frame3.jpg", kMachineBase, "One last|push!", {{kDolphin, 120, 170, 20, 1.3}, {kLaser, 170, 150, 30, 1}}},
    {"scene5frame1.jpg",
     kDeepSea,
     "The Veruders|were home.",
     {{kGold, 128, 180, 0, 1.3}, {kDolphin, 128, 100, 0, 0.9}}},
    {"scene5frame2.jpg", kDeepSea, "The reef|glowed again.", {{kFriends, 128, 160, 0, 1}, {kTurtle, 180, 200, 0, 0.6}}},
    {"scene5frame3.jpg", kSurface, "Everyone|cheered!", {{kDolphin, 128, 95, 50, 1.1}, {kFriends, 128, 200, 0, 1}}},
    {"scene5frame4.jpg", kSurface, "The End", {{kDolphin, 100, 160, 10, 1.0}, {kDolphinLeft, 170, 170, 10, 0.8}}},
};

} // namespace

void writeComicArt(AssetOutput& out) {
    uint32_t seed = 1;
    for (const Panel& panel : kPanels) {
        Canvas c(256, 256);
        cairo_t* cr = c.cr();
        drawSetting(cr, panel.setting, seed++);
        for (const Cast& cast : panel.cast) drawCast(cr, cast);
        drawCaptionBox(cr, panel.caption);
        roundedRect(cr, 2, 2, 252, 252, 8);
        setColor(cr, hex(0x101010));
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
        out.saveJpeg(c.surface(), panel.file);
    }
}
