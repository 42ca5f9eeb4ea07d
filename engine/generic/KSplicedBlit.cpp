// Spliced-blit geometry: partitioning a source rectangle over the splices, clipping triangles to a splice and the
// affine map between a source and a destination triangle.
#include "KSplicedBlit.h"

#include <algorithm>
#include <cmath>

static bool covers(const PictureSplice& splice, float x, float y) {
    return splice.x1 <= x && x < splice.x2 && splice.y1 <= y && y < splice.y2;
}

// The first splice that covers (x, y), so that a piece always wins over its own border strips, which follow it.
static int coveringSplice(int count, const PictureSplice* splices, float x, float y) {
    for (int i = 0; i < count; i++)
        if (covers(splices[i], x, y)) return i;
    return -1;
}

// Where the next splice along row y starts after x, or limit when none does.
static float nextSpliceStart(int count, const PictureSplice* splices, float x, float y, float limit) {
    float next = limit;
    for (int i = 0; i < count; i++)
        if (splices[i].y1 <= y && y < splices[i].y2 && splices[i].x1 > x) next = std::min(next, splices[i].x1);
    return next;
}

int findSplicesInRect(int spliceCount, const PictureSplice* splices, float x1, float y1, float x2, float y2, int maxOut,
                      PictureSplice* out) {
    int written = 0;
    if (maxOut <= 0 || !(x1 < x2) || !(y1 < y2)) return 0;
    for (float y = y1; y < y2;) {
        // The band runs down to the nearest bottom of the splices met along its top row, and no further than
        // the top of a splice that starts lower, so a gap in the table never hides what lies below it.
        float bottom = y2;
        for (int i = 0; i < spliceCount; i++)
            if (splices[i].y1 > y && splices[i].x1 < x2 && splices[i].x2 > x1) bottom = std::min(bottom, splices[i].y1);
        for (float x = x1; x < x2;) {
            int i = coveringSplice(spliceCount, splices, x, y);
            if (i < 0) {
                x = nextSpliceStart(spliceCount, splices, x, y, x2);
                continue;
            }
            bottom = std::min(bottom, splices[i].y2);
            x = std::min(x2, splices[i].x2);
        }
        for (float x = x1; x < x2;) {
            int i = coveringSplice(spliceCount, splices, x, y);
            if (i < 0) {
                x = nextSpliceStart(spliceCount, splices, x, y, x2);
                continue;
            }
            const PictureSplice& splice = splices[i];
            float right = std::min(x2, splice.x2);
            if (written == maxOut) return written;
            out[written++] = {
                x, y, right, bottom, splice.texture, splice.u + (x - splice.x1), splice.v + (y - splice.y1)};
            x = right;
        }
        y = bottom;
    }
    return written;
}

namespace {
// A convex polygon while it is clipped: a triangle cut by four sides has at most 7 corners.
struct Polygon {
    static constexpr int kRoom = 8;
    SplicePoint point[kRoom];
    int count = 0;
    void add(const SplicePoint& p) {
        // Rounding can bend a nearly flat triangle so that a side crosses it more than twice; the extra
        // corners of such a sliver are dropped rather than written past the end.
        if (count < kRoom) point[count++] = p;
    }
};

// Keeps the part of the polygon where inside(p) holds; crossing(a, b) is where an edge crosses the side.
template <class Inside, class Crossing> Polygon clipSide(const Polygon& in, Inside inside, Crossing crossing) {
    Polygon result;
    for (int i = 0; i < in.count; i++) {
        const SplicePoint& current = in.point[i];
        const SplicePoint& previous = in.point[(i + in.count - 1) % in.count];
        bool currentIn = inside(current), previousIn = inside(previous);
        if (currentIn != previousIn) result.add(crossing(previous, current));
        if (currentIn) result.add(current);
    }
    return result;
}

SplicePoint crossAtX(const SplicePoint& a, const SplicePoint& b, float x) {
    float t = (x - a.x) / (b.x - a.x);
    return {x, a.y + (b.y - a.y) * t};
}

SplicePoint crossAtY(const SplicePoint& a, const SplicePoint& b, float y) {
    float t = (y - a.y) / (b.y - a.y);
    return {a.x + (b.x - a.x) * t, y};
}

float doubledArea(const SplicePoint& a, const SplicePoint& b, const SplicePoint& c) {
    return (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
}
} // namespace

int clipTriangleToSplices(const SpliceTriangle& triangle, const PictureSplice& splice, SpliceTriangle* out) {
    Polygon polygon;
    for (const SplicePoint& point : triangle.p) polygon.add(point);
    polygon = clipSide(
        polygon, [&](const SplicePoint& p) { return p.x >= splice.x1; },
        [&](const SplicePoint& a, const SplicePoint& b) { return crossAtX(a, b, splice.x1); });
    polygon = clipSide(
        polygon, [&](const SplicePoint& p) { return p.x <= splice.x2; },
        [&](const SplicePoint& a, const SplicePoint& b) { return crossAtX(a, b, splice.x2); });
    polygon = clipSide(
        polygon, [&](const SplicePoint& p) { return p.y >= splice.y1; },
        [&](const SplicePoint& a, const SplicePoint& b) { return crossAtY(a, b, splice.y1); });
    polygon = clipSide(
        polygon, [&](const SplicePoint& p) { return p.y <= splice.y2; },
        [&](const SplicePoint& a, const SplicePoint& b) { return crossAtY(a, b, splice.y2); });
    // A fan from the first corner; slivers without area (a triangle that only touches the rectangle) are dropped.
    int count = 0;
    for (int i = 1; i + 1 < polygon.count && count < kMaxClippedTriangles; i++) {
        SpliceTriangle part = {{polygon.point[0], polygon.point[i], polygon.point[i + 1]}};
        if (std::fabs(doubledArea(part.p[0], part.p[1], part.p[2])) > 1e-6f) out[count++] = part;
    }
    return count;
}

bool solveAffineTexCoords(const SpliceTriangle& from, const SpliceTriangle& to, SplicePoint point,
                          SplicePoint& mapped) {
    // to = (a x + b y + c, d x + e y + f) for each pair; the rows of the system are (x, y, 1) of from.
    const double x0 = from.p[0].x, y0 = from.p[0].y, x1 = from.p[1].x, y1 = from.p[1].y, x2 = from.p[2].x,
                 y2 = from.p[2].y;
    const double det = x0 * (y1 - y2) - y0 * (x1 - x2) + (x1 * y2 - x2 * y1);
    if (det == 0.0) return false;
    auto solve = [&](double r0, double r1, double r2, double& a, double& b, double& c) {
        a = (r0 * (y1 - y2) - y0 * (r1 - r2) + (r1 * y2 - r2 * y1)) / det;
        b = (x0 * (r1 - r2) - r0 * (x1 - x2) + (x1 * r2 - x2 * r1)) / det;
        c = (x0 * (y1 * r2 - y2 * r1) - y0 * (x1 * r2 - x2 * r1) + r0 * (x1 * y2 - x2 * y1)) / det;
    };
    double a, b, c, d, e, f;
    solve(to.p[0].x, to.p[1].x, to.p[2].x, a, b, c);
    solve(to.p[0].y, to.p[1].y, to.p[2].y, d, e, f);
    mapped = {float(a * point.x + b * point.y + c), float(d * point.x + e * point.y + f)};
    return true;
}
