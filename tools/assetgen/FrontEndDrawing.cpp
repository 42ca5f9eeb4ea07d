// Caption and button-look drawing for the front-end pictures.
#include "FrontEndDrawing.h"

#include <algorithm>

namespace {

void captionPath(cairo_t* cr, const char* text, double cx, double cy, double size) {
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text, &e);
    cairo_new_path(cr);
    cairo_move_to(cr, cx - e.width / 2 - e.x_bearing, cy - e.height / 2 - e.y_bearing);
    cairo_text_path(cr, text);
}

// Strokes the current path in the outline colour, then fills it with the source set before.
void strokeAndFill(cairo_t* cr, Rgb outline, double size) {
    cairo_save(cr);
    setColor(cr, outline);
    cairo_set_line_width(cr, std::max(2.0, size / 9));
    cairo_stroke_preserve(cr);
    cairo_restore(cr);
    cairo_fill(cr);
}

} // namespace

void drawCaption(cairo_t* cr, const char* text, double cx, double cy, double size, Rgb fill, Rgb outline) {
    captionPath(cr, text, cx, cy, size);
    setColor(cr, fill);
    strokeAndFill(cr, outline, size);
}

void drawCaptionGradient(cairo_t* cr, const char* text, double cx, double cy, double size, Rgb top, Rgb bottom,
                         Rgb outline) {
    captionPath(cr, text, cx, cy, size);
    verticalGradient(cr, cy - size / 2, top, cy + size / 2, bottom);
    strokeAndFill(cr, outline, size);
}

double captionWidth(cairo_t* cr, const char* text, double size) {
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text, &e);
    return e.x_advance;
}

void drawButtonLook(cairo_t* cr, FrameRect r, const char* caption, bool hover, double textSize) {
    const double inset = 3, x = r.left + inset, y = r.top + inset;
    const double w = r.right - r.left - 2 * inset, h = r.bottom - r.top - 2 * inset;
    if (hover) softEllipse(cr, x + w / 2, y + h / 2, w / 2 + 2, h / 2 + 2, hex(0xfff0a0), 0.55);
    roundedRect(cr, x, y, w, h, h / 2);
    if (hover)
        verticalGradient(cr, y, hex(0xffe27a), y + h, hex(0xe07a1a));
    else
        verticalGradient(cr, y, hex(0x5fd0f0), y + h, hex(0x1260a8));
    fillAndOutline(cr, hex(0x0a1a30), 2.2);
    highlight(cr, x + w / 2, y + h * 0.3, w * 0.4, h * 0.18, 0.45);
    const double fit = std::min(textSize, textSize * (w - 14) / captionWidth(cr, caption, textSize));
    drawCaption(cr, caption, x + w / 2, y + h / 2, fit, {1, 1, 1}, hex(0x0a1a30));
}
