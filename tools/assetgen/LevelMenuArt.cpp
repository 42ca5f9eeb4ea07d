// The pictures of the level select, the in-level menus and the help pages: the level select's heading, its
// map and grid buttons (hover, rest, locked and the all-Gold-Radudods mark), the medals, the second menu-button
// sheet, the complete and failed titles, and the help pictures (space bar, mouse, W A S D keys, the mouse
// button's highlight).
#include "AssetFamilies.h"
#include "FrontEndDrawing.h"

#include <cmath>

namespace {

const Rgb kInk = hex(0x0a1a30);

// A title in warm gold over a soft blue glow, as the other menu titles.
void drawTitle(cairo_t* cr, const char* text, double cx, double cy, double size) {
    softEllipse(cr, cx, cy, size * 3.2, size * 0.9, hex(0x60c0ff), 0.35);
    drawCaptionGradient(cr, text, cx, cy, size, hex(0xfff4b0), hex(0xf0a020), hex(0x1a1030));
}

void writeHeading(AssetOutput& out) {
    Canvas c(512, 128);
    drawTitle(c.cr(), "Select Level", 200, 72, 50);
    out.savePng(c, kSelectLevelHeadingSheet.file, layoutFrames(kSelectLevelHeadingSheet, 512, 128));
}

// A bead (round) or a rounded tile (square) of the given half size around the centre, as the current path.
void levelButtonShape(cairo_t* cr, double cx, double cy, double half, bool round) {
    if (round)
        circle(cr, cx, cy, half);
    else
        roundedRect(cr, cx - half, cy - half, 2 * half, 2 * half, half * 0.4);
}

// One look of a level button in its cell: look 0 hover, 1 rest, 2 locked, 3 the gold mark drawn over the others.
// The hover look fills what reacts to the mouse (the inner 44 x 44 of a 64-pixel square cell, a circle of
// radius 19 in a 39-pixel round one); the rest and locked looks are 4 pixels smaller on every side, so that the
// hover look drawn beneath them shows as a glowing rim while the next level to play pulses.
void drawLevelLook(cairo_t* cr, double x, double y, double size, bool round, int look) {
    const double cx = x + size / 2, cy = y + size / 2;
    const double reach = round ? size / 2 - 0.5 : size / 2 - 10;
    const double body = reach - 4;
    if (look == 3) {
        // A small gold star on the body's top-right corner.
        const double sx = cx + body * 0.62, sy = cy - body * 0.62, outer = body * 0.42;
        std::vector<Point> star;
        for (int k = 0; k < 10; k++) {
            const double a = -M_PI / 2 + k * M_PI / 5, rr = k % 2 ? outer * 0.45 : outer;
            star.push_back({sx + rr * std::cos(a), sy + rr * std::sin(a)});
        }
        cairo_move_to(cr, star[0].x, star[0].y);
        for (const Point& p : star) cairo_line_to(cr, p.x, p.y);
        cairo_close_path(cr);
        radialGradient(cr, {sx - outer * 0.1, sy - outer * 0.2}, 1, {sx, sy}, outer, hex(0xfffbd0), hex(0xffd030),
                       hex(0xb07010));
        fillAndOutline(cr, hex(0x3a2000), 1.2);
        return;
    }
    if (look == 0) {
        // A warm look that fills the reacting area: a glowing rim round a face lit from below, dark enough at
        // the top for the white caption that the grids draw across it.
        levelButtonShape(cr, cx, cy, reach - 0.5, round); // the outline's outer edge on the reacting edge
        verticalGradient(cr, cy - reach, hex(0xc04a08), cy + reach, hex(0xffc040));
        fillAndOutline(cr, hex(0x5a2000), 1);
        levelButtonShape(cr, cx, cy, body - 1, round);
        verticalGradient(cr, cy - body, hex(0xb04a10), cy + body, hex(0xffe070));
        fillAndOutline(cr, kInk, 2);
        highlight(cr, cx, cy + body * 0.45, body * 0.5, body * 0.18, 0.35);
        return;
    }
    levelButtonShape(cr, cx, cy, body - 1, round);
    if (look == 1)
        radialGradient(cr, {cx - body * 0.3, cy - body * 0.4}, 1, {cx, cy}, body, hex(0xe0f8ff), hex(0x50b0e8),
                       hex(0x1a5090));
    else
        radialGradient(cr, {cx - body * 0.3, cy - body * 0.4}, 1, {cx, cy}, body, hex(0xb0b8c0), hex(0x687078),
                       hex(0x343a40));
    fillAndOutline(cr, kInk, 2);
    highlight(cr, cx - body * 0.25, cy - body * 0.45, body * 0.45, body * 0.2, 0.5);
    if (look == 2) {
        // A padlock.
        const double s = body / 18;
        roundedRect(cr, cx - 8 * s, cy - 2 * s, 16 * s, 12 * s, 2 * s);
        setColor(cr, hex(0xe8c050));
        cairo_fill_preserve(cr);
        setColor(cr, kInk);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        cairo_arc(cr, cx, cy - 2 * s, 5 * s, M_PI, 2 * M_PI);
        setColor(cr, hex(0xe8c050));
        cairo_set_line_width(cr, 2.5 * s);
        cairo_stroke(cr);
    }
}

void writeLevelButtons(AssetOutput& out) {
    for (const SheetLayout* sheet : {&kMapButtonSheet, &kLevelButtonsSheet}) {
        const bool round = sheet == &kMapButtonSheet;
        const int cell = sheet->gridWidth;
        Canvas c(4 * cell, cell);
        const std::vector<FrameRect> frames = layoutFrames(*sheet, c.width(), c.height());
        for (int look = 0; look < 4; look++)
            drawLevelLook(c.cr(), frames[size_t(look)].left, frames[size_t(look)].top, cell, round, look);
        out.savePng(c, sheet->file, frames);
    }
}

// Gold, silver and bronze coins with a ribbon.
void writeMedals(AssetOutput& out) {
    Canvas c(96, 32);
    cairo_t* cr = c.cr();
    const Rgb faces[3][3] = {{hex(0xfffbd0), hex(0xffd030), hex(0xa06a00)},
                             {hex(0xffffff), hex(0xc8d0d8), hex(0x687078)},
                             {hex(0xffe0c0), hex(0xd08040), hex(0x703810)}};
    for (int m = 0; m < 3; m++) {
        const double x = 32 * m;
        polygon(cr, {{x + 9, 2}, {x + 14, 2}, {x + 16, 12}, {x + 18, 2}, {x + 23, 2}, {x + 19, 16}, {x + 13, 16}});
        setColor(cr, m == 0 ? hex(0xd03030) : m == 1 ? hex(0x3060d0) : hex(0x30a050));
        cairo_fill(cr);
        circle(cr, x + 16, 20, 10);
        radialGradient(cr, {x + 13, 17}, 1, {x + 16, 20}, 10, faces[m][0], faces[m][1], faces[m][2]);
        fillAndOutline(cr, kInk, 1.5);
        circle(cr, x + 16, 20, 6);
        setColor(cr, faces[m][2], 0.6);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    out.savePng(c, kMedalsSheet.file, layoutFrames(kMedalsSheet, 96, 32));
}

void writeMenuButtons2(AssetOutput& out) {
    Canvas c(256, 256);
    const std::vector<FrameRect> frames = layoutFrames(kLevelSelectButtonsSheet, 256, 256);
    const char* captions[3] = {"Levels", "Select Game", "Back"};
    for (int k = 0; k < 3; k++) {
        drawButtonLook(c.cr(), frames[size_t(2 * k)], captions[k], true, 16);
        drawButtonLook(c.cr(), frames[size_t(2 * k + 1)], captions[k], false, 16);
    }
    out.savePng(c, kLevelSelectButtonsSheet.file, frames);
}

void writeMenuTitles(AssetOutput& out) {
    // The top half titles the level-complete menu, the bottom half the level-failed menu.
    Canvas c(256, 256);
    drawTitle(c.cr(), "Well Done!", 128, 72, 40);
    drawTitle(c.cr(), "Try Again", 128, 200, 40);
    out.savePng(c, kCompleteAndFailedTitlesSheet.file, layoutFrames(kCompleteAndFailedTitlesSheet, 256, 256));
}

// A key cap with its letter, its top face lighter than its sides.
void drawKey(cairo_t* cr, double x, double y, double w, double h, const char* letter) {
    roundedRect(cr, x, y, w, h, 5);
    setColor(cr, hex(0x8890a0));
    cairo_fill_preserve(cr);
    setColor(cr, kInk);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    roundedRect(cr, x + 3, y + 2, w - 6, h - 8, 4);
    verticalGradient(cr, y + 2, hex(0xf4f6fa), y + h - 6, hex(0xc0c8d4));
    cairo_fill(cr);
    if (letter[0]) drawCaption(cr, letter, x + w / 2, y + h / 2 - 3, 13, hex(0x203040), hex(0xf4f6fa));
}

void writeHelpPictures(AssetOutput& out) {
    // The space bar sits where the page's highlight falls: (29, 67) to (224, 97).
    Canvas space(256, 128);
    for (int k = 0; k < 8; k++) drawKey(space.cr(), 8 + 30 * k, 30, 28, 34, "");
    drawKey(space.cr(), 29, 67, 195, 30, "SPACE");
    out.savePng(space, "spacebar.png", {{0, 0, 256, 115}});

    // The mouse, its left button under the highlight's 64 x 64 square from (65, 58).
    Canvas mouse(256, 256);
    cairo_t* cr = mouse.cr();
    cairo_move_to(cr, 128, 40);
    cairo_curve_to(cr, 128, 20, 170, 10, 200, 30);
    setColor(cr, kInk);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    roundedRect(cr, 68, 50, 120, 190, 58);
    verticalGradient(cr, 50, hex(0xf0f4f8), 240, hex(0x9aa4b0));
    fillAndOutline(cr, kInk, 2.5);
    cairo_move_to(cr, 128, 52);
    cairo_line_to(cr, 128, 122);
    cairo_move_to(cr, 70, 122);
    cairo_line_to(cr, 186, 122);
    setColor(cr, kInk);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    out.savePng(mouse, "mouse.png", {{0, 0, 256, 256}});

    Canvas glowPicture(64, 64);
    roundedRect(glowPicture.cr(), 4, 2, 58, 62, 26);
    setColor(glowPicture.cr(), hex(0xff3020), 0.8);
    cairo_fill(glowPicture.cr());
    out.savePng(glowPicture, "mousehighlight.png", {{0, 0, 64, 64}});

    // W above A, S and D, where the page's four highlight squares fall.
    Canvas wasd(256, 256);
    drawKey(wasd.cr(), 111, 55, 30, 30, "W");
    drawKey(wasd.cr(), 82, 88, 30, 30, "A");
    drawKey(wasd.cr(), 115, 88, 30, 30, "S");
    drawKey(wasd.cr(), 148, 88, 30, 30, "D");
    for (int k = 0; k < 2; k++) drawKey(wasd.cr(), 49 + 132 * k, 88, 30, 30, "");
    drawKey(wasd.cr(), 40, 140, 176, 30, "");
    out.savePng(wasd, "wasd.png", {{0, 0, 256, 212}});
}

} // namespace

void writeLevelMenuArt(AssetOutput& out) {
    writeHeading(out);
    writeLevelButtons(out);
    writeMedals(out);
    writeMenuButtons2(out);
    writeMenuTitles(out);
    writeHelpPictures(out);
}
