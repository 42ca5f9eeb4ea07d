// Spine-based bodies: outline construction, two-tone shading, fins and eyes.
#include "Body.h"

#include <cmath>

Spine makeSpine(Point head, double angle, double length, int count, const std::function<double(double)>& bend,
                const std::function<void(double, double&, double&)>& profile) {
    Spine spine;
    double ca = std::cos(angle), sa = std::sin(angle);
    for (int i = 0; i < count; i++) {
        double s = static_cast<double>(i) / (count - 1);
        double along = -s * length, side = bend(s);
        // Rotate (along, side) by the head angle: along runs backwards from the head.
        spine.points.push_back({head.x + along * ca - side * sa, head.y + along * sa + side * ca});
        double u = 0, d = 0;
        profile(s, u, d);
        spine.up.push_back(u);
        spine.down.push_back(d);
    }
    return spine;
}

Point spineForward(const Spine& spine, size_t i) {
    const auto& p = spine.points;
    size_t a = i == 0 ? 0 : i - 1, b = i + 1 < p.size() ? i + 1 : i;
    double dx = p[a].x - p[b].x, dy = p[a].y - p[b].y, len = std::hypot(dx, dy);
    if (len < 1e-9) return {1, 0};
    return {dx / len, dy / len};
}

Point spineUp(const Spine& spine, size_t i) {
    Point f = spineForward(spine, i);
    return {f.y, -f.x};
}

Point spineAt(const Spine& spine, double s, double across) {
    double f = s * (spine.points.size() - 1);
    size_t i = static_cast<size_t>(std::floor(f));
    if (i >= spine.points.size() - 1) i = spine.points.size() - 2;
    double t = f - i;
    Point a = spine.points[i], b = spine.points[i + 1];
    Point ua = spineUp(spine, i), ub = spineUp(spine, i + 1);
    Point u = {ua.x + (ub.x - ua.x) * t, ua.y + (ub.y - ua.y) * t};
    return {a.x + (b.x - a.x) * t + u.x * across, a.y + (b.y - a.y) * t + u.y * across};
}

std::vector<Point> bodyOutline(const Spine& spine) {
    std::vector<Point> outline;
    size_t n = spine.points.size();
    for (size_t i = 0; i < n; i++) {
        Point u = spineUp(spine, i);
        outline.push_back({spine.points[i].x + u.x * spine.up[i], spine.points[i].y + u.y * spine.up[i]});
    }
    for (size_t k = n; k-- > 0;) {
        Point u = spineUp(spine, k);
        outline.push_back({spine.points[k].x - u.x * spine.down[k], spine.points[k].y - u.y * spine.down[k]});
    }
    return outline;
}

void drawBody(cairo_t* cr, const Spine& spine, const BodyStyle& style) {
    std::vector<Point> outline = bodyOutline(spine);
    double top = 1e9, bottom = -1e9;
    for (const Point& p : outline) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    // Belly tone everywhere, then the back tone above the belly line, clipped to the body.
    smoothClosedPath(cr, outline);
    verticalGradient(cr, top, shade(style.belly, 1.1), bottom, shade(style.belly, 0.85));
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    std::vector<Point> backShape;
    size_t n = spine.points.size();
    for (size_t i = 0; i < n; i++) {
        Point u = spineUp(spine, i);
        backShape.push_back({spine.points[i].x + u.x * (spine.up[i] + 6), spine.points[i].y + u.y * (spine.up[i] + 6)});
    }
    for (size_t k = n; k-- > 0;) {
        Point u = spineUp(spine, k);
        double d = spine.down[k] * style.bellyLine;
        backShape.push_back({spine.points[k].x - u.x * d, spine.points[k].y - u.y * d});
    }
    smoothClosedPath(cr, backShape);
    verticalGradient(cr, top, shade(style.back, 1.25), bottom, shade(style.back, 0.7));
    cairo_fill(cr);
    // A soft highlight along the back.
    for (size_t i = 1; i + 2 < n; i += 2) {
        Point u = spineUp(spine, i);
        double a = 0.22 * std::sin(M_PI * i / (n - 1));
        highlight(cr, spine.points[i].x + u.x * spine.up[i] * 0.55, spine.points[i].y + u.y * spine.up[i] * 0.55,
                  spine.up[i] * 0.9 + 2, spine.up[i] * 0.35 + 1, a);
    }
    cairo_restore(cr);
    smoothClosedPath(cr, outline);
    setColor(cr, style.outline);
    cairo_set_line_width(cr, style.outlineWidth);
    cairo_stroke(cr);
}

void drawFin(cairo_t* cr, const Spine& spine, double s, double across, const std::vector<Point>& shape,
             double scaleAcross, Rgb fill, Rgb outline, double width) {
    size_t i = static_cast<size_t>(std::lround(s * (spine.points.size() - 1)));
    Point base = spineAt(spine, s, across);
    Point f = spineForward(spine, i), u = spineUp(spine, i);
    std::vector<Point> placed;
    double top = 1e9, bottom = -1e9;
    for (const Point& p : shape) {
        Point q = {base.x + f.x * p.x + u.x * p.y * scaleAcross, base.y + f.y * p.x + u.y * p.y * scaleAcross};
        top = std::min(top, q.y);
        bottom = std::max(bottom, q.y);
        placed.push_back(q);
    }
    smoothClosedPath(cr, placed);
    verticalGradient(cr, top, shade(fill, 1.2), bottom, shade(fill, 0.75));
    fillAndOutline(cr, outline, width);
}

void drawEye(cairo_t* cr, Point at, double radius, Rgb iris) {
    circle(cr, at.x, at.y, radius);
    setColor(cr, hex(0x101820));
    cairo_fill(cr);
    circle(cr, at.x, at.y, radius * 0.65);
    setColor(cr, iris);
    cairo_fill(cr);
    circle(cr, at.x + radius * 0.3, at.y - radius * 0.35, radius * 0.35);
    setColor(cr, {1, 1, 1}, 0.95);
    cairo_fill(cr);
}
