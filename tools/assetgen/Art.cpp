// Canvas, colours, path and noise helpers of the asset generator.
#include "Art.h"

#include "Jpeg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

Rgb hex(uint32_t rgb) {
    return {((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0};
}

Rgb mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb shade(Rgb c, double factor) {
    if (factor <= 1.0) return {c.r * factor, c.g * factor, c.b * factor};
    return mix(c, {1, 1, 1}, std::min(1.0, factor - 1.0));
}

Canvas::Canvas(int width, int height)
    : w(width), h(height), picture(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      context(cairo_create(picture)) {
    cairo_set_line_join(context, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(context, CAIRO_LINE_CAP_ROUND);
}

Canvas::~Canvas() {
    cairo_destroy(context);
    cairo_surface_destroy(picture);
}

void Canvas::clear() {
    cairo_save(context);
    cairo_set_operator(context, CAIRO_OPERATOR_CLEAR);
    cairo_paint(context);
    cairo_restore(context);
}

AssetOutput::AssetOutput(std::string dataFolder) : root(std::move(dataFolder)) {}

AssetOutput::~AssetOutput() {
    for (Sheet& s : written) cairo_surface_destroy(s.picture);
}

std::string AssetOutput::path(const std::string& relative) const {
    return root + "/" + relative;
}

static cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(closure);
    bytes->insert(bytes->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

void AssetOutput::savePng(const Canvas& canvas, const std::string& name, std::vector<FrameRect> frames,
                          std::vector<Hotspot> hotspots, bool additive) {
    requireValidPremultiplied(canvas.surface(), name);
    std::vector<uint8_t> bytes;
    if (cairo_surface_write_to_png_stream(canvas.surface(), appendBytes, &bytes) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot encode " + name);
    writeFileAtomically(path("graphics/" + name), bytes);
    written.push_back(
        {name, cairo_surface_reference(canvas.surface()), std::move(frames), std::move(hotspots), additive});
}

void AssetOutput::saveJpeg(cairo_surface_t* picture, const std::string& name, int quality) const {
    requireValidPremultiplied(picture, name);
    writeFileAtomically(path("graphics/" + name), encodeJpeg(picture, quality));
}

void requireValidPremultiplied(cairo_surface_t* picture, const std::string& name) {
    cairo_surface_flush(picture);
    const unsigned char* data = cairo_image_surface_get_data(picture);
    const int stride = cairo_image_surface_get_stride(picture);
    for (int y = 0; y < cairo_image_surface_get_height(picture); y++)
        for (int x = 0; x < cairo_image_surface_get_width(picture); x++) {
            const unsigned char* px = data + y * stride + x * 4; // B, G, R, A in memory
            if (std::max({px[0], px[1], px[2]}) <= px[3]) continue;
            throw std::runtime_error(name + ": pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                                     ") has a colour above its alpha (premultiplied R " + std::to_string(px[2]) +
                                     " G " + std::to_string(px[1]) + " B " + std::to_string(px[0]) + ", alpha " +
                                     std::to_string(px[3]) + ")");
        }
}

std::vector<FrameRect> gridFrames(int width, int height, int cellWidth, int cellHeight, int count) {
    std::vector<FrameRect> frames;
    for (int top = 0; top + cellHeight <= height; top += cellHeight)
        for (int left = 0; left + cellWidth <= width; left += cellWidth) {
            if (count >= 0 && static_cast<int>(frames.size()) >= count) return frames;
            frames.push_back({left, top, left + cellWidth, top + cellHeight});
        }
    return frames;
}

void makeFolders(const std::string& path) {
    std::filesystem::create_directories(path);
}

void writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::path target(path);
    std::filesystem::create_directories(target.parent_path());
    std::string temporary = path + ".tmp";
    FILE* f = std::fopen(temporary.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + temporary);
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok) throw std::runtime_error("cannot write " + temporary);
    std::filesystem::rename(temporary, target);
}

void setColor(cairo_t* cr, Rgb c, double alpha) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void smoothClosedPath(cairo_t* cr, const std::vector<Point>& p) {
    size_t n = p.size();
    if (n < 3) return;
    cairo_move_to(cr, p[0].x, p[0].y);
    for (size_t i = 0; i < n; i++) {
        const Point& p0 = p[(i + n - 1) % n];
        const Point& p1 = p[i];
        const Point& p2 = p[(i + 1) % n];
        const Point& p3 = p[(i + 2) % n];
        cairo_curve_to(cr, p1.x + (p2.x - p0.x) / 6, p1.y + (p2.y - p0.y) / 6, p2.x - (p3.x - p1.x) / 6,
                       p2.y - (p3.y - p1.y) / 6, p2.x, p2.y);
    }
    cairo_close_path(cr);
}

void verticalGradient(cairo_t* cr, double y0, Rgb top, double y1, Rgb bottom, double alpha) {
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(g, 0, top.r, top.g, top.b, alpha);
    cairo_pattern_add_color_stop_rgba(g, 1, bottom.r, bottom.g, bottom.b, alpha);
    cairo_set_source(cr, g);
    cairo_pattern_destroy(g);
}

void fillAndOutline(cairo_t* cr, Rgb outline, double width) {
    cairo_fill_preserve(cr);
    setColor(cr, outline);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void glow(cairo_t* cr, double x, double y, double radius, Rgb c, double alpha) {
    cairo_pattern_t* g = cairo_pattern_create_radial(x, y, 0, x, y, radius);
    cairo_pattern_add_color_stop_rgba(g, 0, c.r, c.g, c.b, alpha);
    cairo_pattern_add_color_stop_rgba(g, 0.35, c.r, c.g, c.b, alpha * 0.55);
    cairo_pattern_add_color_stop_rgba(g, 1, c.r, c.g, c.b, 0);
    cairo_set_source(cr, g);
    cairo_arc(cr, x, y, radius, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

void highlight(cairo_t* cr, double x, double y, double rx, double ry, double alpha) {
    softEllipse(cr, x, y, rx, ry, {1, 1, 1}, alpha, 0.4);
}

void radialGradient(cairo_t* cr, Point focus, double focusRadius, Point centre, double radius, Rgb inner, Rgb middle,
                    Rgb outer, double middleStop) {
    cairo_pattern_t* g = cairo_pattern_create_radial(focus.x, focus.y, focusRadius, centre.x, centre.y, radius);
    cairo_pattern_add_color_stop_rgb(g, 0, inner.r, inner.g, inner.b);
    cairo_pattern_add_color_stop_rgb(g, middleStop, middle.r, middle.g, middle.b);
    cairo_pattern_add_color_stop_rgb(g, 1, outer.r, outer.g, outer.b);
    cairo_set_source(cr, g);
    cairo_pattern_destroy(g);
}

void softEllipse(cairo_t* cr, double x, double y, double rx, double ry, Rgb c, double alpha, double middleFactor) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, rx, ry);
    cairo_pattern_t* g = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(g, 0, c.r, c.g, c.b, alpha);
    cairo_pattern_add_color_stop_rgba(g, 0.6, c.r, c.g, c.b, alpha * middleFactor);
    cairo_pattern_add_color_stop_rgba(g, 1, c.r, c.g, c.b, 0);
    cairo_set_source(cr, g);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_restore(cr);
}

void polygon(cairo_t* cr, std::initializer_list<Point> points) {
    bool first = true;
    for (const Point& p : points) {
        if (first)
            cairo_move_to(cr, p.x, p.y);
        else
            cairo_line_to(cr, p.x, p.y);
        first = false;
    }
    cairo_close_path(cr);
}

void circle(cairo_t* cr, double x, double y, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
    cairo_close_path(cr);
}

static double lattice(int x, int y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h ^ (h >> 16)) & 0xffff) / 65535.0;
}

double tileNoise(double x, double y, int period, int cells, uint32_t seed) {
    double fx = x / period * cells, fy = y / period * cells;
    int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
    double tx = fx - x0, ty = fy - y0;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    auto at = [&](int cx, int cy) {
        return lattice(((cx % cells) + cells) % cells, ((cy % cells) + cells) % cells, seed);
    };
    double a = at(x0, y0), b = at(x0 + 1, y0), c = at(x0, y0 + 1), d = at(x0 + 1, y0 + 1);
    return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
}

double tileFractal(double x, double y, int period, uint32_t seed) {
    return 0.5 * tileNoise(x, y, period, 4, seed) + 0.3 * tileNoise(x, y, period, 8, seed + 1) +
           0.2 * tileNoise(x, y, period, 16, seed + 2);
}

uint32_t ArtRandom::next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

double ArtRandom::uniform(double lo, double hi) {
    return lo + (hi - lo) * (next() % 100000) / 100000.0;
}
