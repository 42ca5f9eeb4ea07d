// The review picture: every written sheet on a checkerboard (additive sheets on dark water), with its frame
// rectangles outlined and its hotspots marked as crosses. It is not part of the game's data.
#include "AssetFamilies.h"

#include <algorithm>
#include <cstdio>

namespace {

const int kMaxWidth = 1600;
const int kGap = 12;
const int kLabel = 14;
const int kLabelWidth = 190; // room for the caption above each sheet

void checkerboard(cairo_t* cr, int x, int y, int w, int h, bool dark) {
    if (dark) {
        cairo_rectangle(cr, x, y, w, h);
        setColor(cr, hex(0x061a2e));
        cairo_fill(cr);
        return;
    }
    for (int cy = 0; cy < h; cy += 8)
        for (int cx = 0; cx < w; cx += 8) {
            cairo_rectangle(cr, x + cx, y + cy, std::min(8, w - cx), std::min(8, h - cy));
            setColor(cr, ((cx + cy) / 8) % 2 ? hex(0x9aa4ad) : hex(0x7b858f));
            cairo_fill(cr);
        }
}

} // namespace

void writeContactSheet(const AssetOutput& out, const std::string& path) {
    struct Placed {
        const AssetOutput::Sheet* sheet;
        int x, y;
    };
    std::vector<Placed> placed;
    int x = kGap, y = kGap, rowHeight = 0;
    for (const AssetOutput::Sheet& s : out.sheets()) {
        int w = cairo_image_surface_get_width(s.picture), h = cairo_image_surface_get_height(s.picture);
        int boxW = std::max(w, kLabelWidth);
        if (x + boxW + kGap > kMaxWidth && x > kGap) {
            x = kGap;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        placed.push_back({&s, x, y + kLabel});
        x += boxW + kGap;
        rowHeight = std::max(rowHeight, h + kLabel);
    }
    int height = y + rowHeight + kGap;
    Canvas canvas(kMaxWidth, height);
    cairo_t* cr = canvas.cr();
    setColor(cr, hex(0x30363c));
    cairo_paint(cr);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 11);
    for (const Placed& p : placed) {
        const AssetOutput::Sheet& s = *p.sheet;
        int w = cairo_image_surface_get_width(s.picture), h = cairo_image_surface_get_height(s.picture);
        char label[160];
        std::snprintf(label, sizeof label, "%s %dx%d, %zu frames", s.name.c_str(), w, h, s.frames.size());
        setColor(cr, {1, 1, 1});
        cairo_move_to(cr, p.x, p.y - 3);
        cairo_show_text(cr, label);
        checkerboard(cr, p.x, p.y, w, h, s.additive);
        cairo_save(cr);
        if (s.additive) cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
        cairo_set_source_surface(cr, s.picture, p.x, p.y);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_set_line_width(cr, 1);
        for (const FrameRect& f : s.frames) {
            cairo_rectangle(cr, p.x + f.left + 0.5, p.y + f.top + 0.5, f.right - f.left - 1, f.bottom - f.top - 1);
            setColor(cr, hex(0xffe040), 0.6);
            cairo_stroke(cr);
        }
        for (const Hotspot& hs : s.hotspots) {
            if (hs.frame >= static_cast<int>(s.frames.size())) continue;
            const FrameRect& f = s.frames[hs.frame];
            double cx = p.x + (f.left + f.right) / 2.0 + hs.x, cy = p.y + (f.top + f.bottom) / 2.0 + hs.y;
            cairo_move_to(cr, cx - 3, cy);
            cairo_line_to(cr, cx + 3, cy);
            cairo_move_to(cr, cx, cy - 3);
            cairo_line_to(cr, cx, cy + 3);
            setColor(cr, hex(0xff2060));
            cairo_stroke(cr);
        }
    }
    cairo_surface_flush(canvas.surface());
    cairo_surface_write_to_png(canvas.surface(), path.c_str());
}
