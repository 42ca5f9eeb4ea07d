// The pictures of the front-end screens: the studio and publisher logos, the main menu's and the game
// select's buttons and heading, the standard menu buttons, the screen titles, the option widgets and the
// comic's two buttons. Buttons come in pairs of looks, the hover look first and the resting look second.
#include "AssetFamilies.h"
#include "FrontEndDrawing.h"

#include <algorithm>
#include <cmath>

namespace {

// Draws each pair of rectangles with the caption, hover look first.
void drawButtonPairs(cairo_t* cr, const std::vector<FrameRect>& frames, const std::vector<const char*>& captions,
                     double textSize) {
    for (size_t i = 0; i < captions.size(); i++) {
        drawButtonLook(cr, frames[2 * i], captions[i], true, textSize);
        drawButtonLook(cr, frames[2 * i + 1], captions[i], false, textSize);
    }
}

void writeButtonSheet(AssetOutput& out, const char* name, int width, int height, std::vector<FrameRect> frames,
                      const std::vector<const char*>& captions, double textSize) {
    Canvas c(width, height);
    drawButtonPairs(c.cr(), frames, captions, textSize);
    out.savePng(c, name, std::move(frames));
}

// A heading: large caption in warm gold over a soft glow, with bubbles around it.
void drawHeading(cairo_t* cr, const char* text, double cx, double cy, double size) {
    softEllipse(cr, cx, cy, size * 3.4, size * 0.9, hex(0x60c0ff), 0.35);
    ArtRandom rng(uint32_t(size * 13));
    for (int k = 0; k < 10; k++) {
        circle(cr, cx + rng.uniform(-size * 3.4, size * 3.4), cy + rng.uniform(-size * 0.8, size * 0.8),
               rng.uniform(2, 5));
        setColor(cr, {1, 1, 1}, 0.6);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
    }
    drawCaptionGradient(cr, text, cx, cy, size, hex(0xfff4b0), hex(0xf0a020), hex(0x1a1030));
}

void writeTitleButtons(AssetOutput& out) {
    writeButtonSheet(out, "titlebutton1.png", 256, 256,
                     {{0, 0, 232, 64}, {0, 64, 232, 128}, {0, 128, 250, 192}, {0, 192, 250, 256}},
                     {"Play Game", "Level Editor"}, 30);
    writeButtonSheet(out, "titlebutton2.png", 256, 256,
                     {{0, 0, 175, 64}, {0, 64, 175, 128}, {0, 128, 109, 192}, {0, 192, 109, 256}}, {"Options", "Exit"},
                     30);
}

void writeGameSelect(AssetOutput& out) {
    Canvas heading(512, 128);
    drawHeading(heading.cr(), "Select Game", 256, 70, 52);
    out.savePng(heading, "selectgameheading.png", gridFrames(512, 128, 256, 128));
    writeButtonSheet(out, "selectgamebuttons1.png", 256, 256,
                     {{0, 0, 145, 64}, {0, 64, 145, 128}, {0, 128, 132, 192}, {0, 192, 132, 256}}, {"Action", "Stunt"},
                     28);
    writeButtonSheet(out, "selectgamebuttons2.png", 256, 256,
                     {{0, 0, 120, 64}, {0, 64, 120, 128}, {0, 128, 171, 192}, {0, 192, 171, 256}}, {"Race", "Custom"},
                     28);
}

void writeMenuButtons(AssetOutput& out) {
    writeButtonSheet(out, "menubuttons.png", 256, 256,
                     {{0, 0, 108, 38},
                      {0, 38, 108, 76},
                      {0, 76, 66, 118},
                      {0, 118, 66, 160},
                      {0, 160, 76, 202},
                      {0, 202, 76, 244},
                      {108, 0, 246, 38},
                      {108, 38, 246, 76},
                      {66, 76, 217, 118},
                      {66, 118, 217, 160},
                      {76, 160, 212, 202},
                      {76, 202, 212, 244}},
                     {"Continue", "Exit", "Replay", "Main Menu", "Select Level", "Next Level"}, 16);
}

void writeMenuTitles(AssetOutput& out) {
    // The top half titles the pause menu, the bottom half the options screen.
    Canvas c(256, 256);
    drawHeading(c.cr(), "Paused", 128, 72, 44);
    drawHeading(c.cr(), "Options", 128, 200, 44);
    out.savePng(c, "menutitles2.png", {{0, 0, 256, 128}, {0, 128, 256, 256}});
}

// A round bead for the radio buttons: a ring, filled with a glowing pearl while selected.
void drawRadio(cairo_t* cr, double cx, double cy, bool hover, bool selected) {
    circle(cr, cx, cy, 11);
    radialGradient(cr, {cx - 3, cy - 4}, 1, {cx, cy}, 11, hover ? hex(0xffffff) : hex(0xd8f0ff),
                   hover ? hex(0x9ad8ff) : hex(0x5aa0d0), hex(0x1a4a80));
    fillAndOutline(cr, hex(0x0a1a30), 2);
    if (selected) {
        circle(cr, cx, cy, 5.5);
        radialGradient(cr, {cx - 1.5, cy - 2}, 0.5, {cx, cy}, 5.5, hex(0xffffff), hex(0xffe070), hex(0xe08010));
        fillAndOutline(cr, hex(0x3a2000), 1.2);
    }
}

// A square box, with a tick while checked.
void drawCheck(cairo_t* cr, double x, double y, bool hover, bool checked) {
    roundedRect(cr, x + 3, y + 3, 22, 22, 5);
    verticalGradient(cr, y + 3, hover ? hex(0xffffff) : hex(0xe0f4ff), y + 25, hover ? hex(0x8ad0ff) : hex(0x4a90c8));
    fillAndOutline(cr, hex(0x0a1a30), 2);
    if (checked) {
        cairo_move_to(cr, x + 8, y + 14);
        cairo_line_to(cr, x + 13, y + 20);
        cairo_line_to(cr, x + 22, y + 6);
        setColor(cr, hex(0x0a1a30));
        cairo_set_line_width(cr, 5);
        cairo_stroke_preserve(cr);
        setColor(cr, hex(0x50e060));
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
    }
}

// The knob: a rounded shell standing on the track.
void drawKnob(cairo_t* cr, double x, double y, bool hover) {
    std::vector<Point> shell = {{x + 16, y + 6},  {x + 27, y + 16}, {x + 28, y + 34},
                                {x + 16, y + 47}, {x + 4, y + 34},  {x + 5, y + 16}};
    smoothClosedPath(cr, shell);
    verticalGradient(cr, y + 6, hover ? hex(0xfff2b0) : hex(0xf0e0d0), y + 47, hover ? hex(0xf09a30) : hex(0xc08060));
    fillAndOutline(cr, hex(0x2a1a10), 2);
    for (int k = -1; k <= 1; k++) {
        cairo_move_to(cr, x + 16 + k * 6, y + 12);
        cairo_line_to(cr, x + 16 + k * 7, y + 42);
        setColor(cr, hex(0x2a1a10), 0.5);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
    }
    highlight(cr, x + 13, y + 18, 5, 4, 0.5);
}

void writeWidgets(AssetOutput& out) {
    Canvas c(128, 128);
    cairo_t* cr = c.cr();
    for (int k = 0; k < 4; k++) drawRadio(cr, 28 * k + 14, 14, k % 2 == 0, k >= 2);
    // The track: a left cap, a middle piece that repeats and a right cap, 7 x 7 each.
    for (int k = 0; k < 3; k++) {
        const double x = 7 * k;
        cairo_rectangle(cr, x, 29, 7, 5);
        verticalGradient(cr, 29, hex(0x9ad8ff), 34, hex(0x1a4a80));
        cairo_fill(cr);
        cairo_move_to(cr, x, 28.5);
        cairo_line_to(cr, x + 7, 28.5);
        cairo_move_to(cr, x, 34.5);
        cairo_line_to(cr, x + 7, 34.5);
        setColor(cr, hex(0x0a1a30));
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    cairo_move_to(cr, 0.5, 28.5);
    cairo_line_to(cr, 0.5, 34.5);
    cairo_move_to(cr, 20.5, 28.5);
    cairo_line_to(cr, 20.5, 34.5);
    setColor(cr, hex(0x0a1a30));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    drawKnob(cr, 21, 28, true);
    drawKnob(cr, 53, 28, false);
    for (int k = 0; k < 4; k++) drawCheck(cr, 28 * k, 80, k % 2 == 0, k >= 2);
    out.savePng(c, "radiobuttons.png",
                {{0, 0, 28, 28},
                 {28, 0, 56, 28},
                 {56, 0, 84, 28},
                 {84, 0, 112, 28},
                 {0, 28, 7, 35},
                 {7, 28, 14, 35},
                 {14, 28, 21, 35},
                 {21, 28, 53, 80},
                 {53, 28, 85, 80},
                 {0, 80, 28, 108},
                 {28, 80, 56, 108},
                 {56, 80, 84, 108},
                 {84, 80, 112, 108}});
}

void writeSceneButtons(AssetOutput& out) {
    Canvas c(128, 256);
    std::vector<FrameRect> frames;
    for (int k = 0; k < 4; k++) frames.push_back({0, 38 * k, 71, 38 * (k + 1)});
    drawButtonPairs(c.cr(), frames, {"Skip", "Next"}, 16);
    out.savePng(c, "scenebuttons.png", std::move(frames));
}

// Cuts a picture into 256 x 256 JPEG pieces named in row order.
void writePieces(AssetOutput& out, const Canvas& whole, const std::vector<std::string>& names) {
    const int columns = whole.width() / 256;
    for (size_t i = 0; i < names.size(); i++) {
        Canvas piece(256, 256);
        cairo_set_source_surface(piece.cr(), whole.surface(), -256.0 * double(int(i) % columns),
                                 -256.0 * double(int(i) / columns));
        cairo_paint(piece.cr());
        out.saveJpeg(piece.surface(), names[i]);
    }
}

// The studio logo: a wolf howling at a rising moon over the moor, and the studio's name.
void writeStudioLogo(AssetOutput& out) {
    Canvas c(512, 256);
    cairo_t* cr = c.cr();
    setColor(cr, {0, 0, 0});
    cairo_paint(cr);
    softEllipse(cr, 128, 110, 110, 110, hex(0x3050a0), 0.6);
    circle(cr, 128, 105, 62);
    radialGradient(cr, {110, 85}, 5, {128, 105}, 62, hex(0xffffff), hex(0xfff2c8), hex(0xe0c890));
    cairo_fill(cr);
    for (Point p : {Point{104, 92}, Point{146, 120}, Point{136, 82}})
        softEllipse(cr, p.x, p.y, 9, 7, hex(0xc0a870), 0.6);
    // The moor's ridge and the wolf on its rock, black against the moon.
    cairo_move_to(cr, 0, 200);
    cairo_curve_to(cr, 60, 176, 120, 186, 170, 172);
    cairo_curve_to(cr, 210, 166, 240, 182, 256, 190);
    cairo_line_to(cr, 256, 256);
    cairo_line_to(cr, 0, 256);
    cairo_close_path(cr);
    setColor(cr, hex(0x0c0c14));
    cairo_fill(cr);
    const std::vector<Point> wolf = {{118, 176}, {112, 150}, {116, 128}, {124, 112}, {130, 96},  {134, 84},  {140, 80},
                                     {146, 70},  {150, 74},  {148, 84},  {154, 92},  {150, 104}, {146, 118}, {150, 140},
                                     {152, 160}, {156, 176}, {146, 176}, {140, 150}, {132, 148}, {130, 176}};
    smoothClosedPath(cr, wolf);
    setColor(cr, hex(0x06060a));
    cairo_fill(cr);
    drawCaptionGradient(cr, "WEXMOOR", 384, 112, 40, hex(0xffffff), hex(0x8ab0e0), hex(0x203060));
    drawCaption(cr, "GAMES", 384, 160, 24, hex(0xc0d0f0), hex(0x101830));
    writePieces(out, c, {"logoleft.jpg", "logoright.jpg"});
}

// The publisher logo: a ripe berry with a leaf and the publisher's name on a warm plate.
void writePublisherLogo(AssetOutput& out) {
    Canvas c(512, 512);
    cairo_t* cr = c.cr();
    setColor(cr, {0, 0, 0});
    cairo_paint(cr);
    roundedRect(cr, 40, 40, 432, 432, 60);
    radialGradient(cr, {200, 160}, 20, {256, 256}, 300, hex(0xfff4e0), hex(0xf0c890), hex(0xa05a30));
    fillAndOutline(cr, hex(0x3a1a10), 4);
    for (int k = 0; k < 7; k++) {
        const double a = k * 2 * M_PI / 7;
        circle(cr, 256 + 34 * std::cos(a), 200 + 34 * std::sin(a), 30);
        radialGradient(cr, {248 + 34 * std::cos(a), 190 + 34 * std::sin(a)}, 3,
                       {256 + 34 * std::cos(a), 200 + 34 * std::sin(a)}, 30, hex(0xff90b0), hex(0xc02050),
                       hex(0x600020));
        fillAndOutline(cr, hex(0x3a0010), 2.5);
    }
    circle(cr, 256, 200, 30);
    radialGradient(cr, {248, 190}, 3, {256, 200}, 30, hex(0xff90b0), hex(0xc02050), hex(0x600020));
    fillAndOutline(cr, hex(0x3a0010), 2.5);
    cairo_move_to(cr, 256, 150);
    cairo_curve_to(cr, 290, 100, 340, 110, 350, 120);
    cairo_curve_to(cr, 320, 150, 280, 150, 256, 150);
    cairo_close_path(cr);
    verticalGradient(cr, 110, hex(0x90e070), 150, hex(0x2a7a30));
    fillAndOutline(cr, hex(0x103010), 2.5);
    drawCaptionGradient(cr, "Tollberry", 256, 350, 64, hex(0xffffff), hex(0xe05070), hex(0x3a0010));
    drawCaption(cr, "PUBLISHING", 256, 410, 26, hex(0x6a2a10), hex(0xfff0d0));
    writePieces(out, c, {"tollberrytl.jpg", "tollberrytr.jpg", "tollberrybl.jpg", "tollberrybr.jpg"});
}

} // namespace

void writeFrontEndArt(AssetOutput& out) {
    writeStudioLogo(out);
    writePublisherLogo(out);
    writeTitleButtons(out);
    writeGameSelect(out);
    writeMenuButtons(out);
    writeMenuTitles(out);
    writeWidgets(out);
    writeSceneButtons(out);
}
