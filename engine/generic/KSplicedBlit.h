// Geometry for drawing an arbitrary quad over a spliced picture: the quad is cut into triangles, each triangle
// is split along the splices it crosses, and every part is drawn from its own texture with texture positions
// from the affine map of the source triangle onto the destination triangle.
#pragma once

#include "KSplicer.h"

struct SplicePoint {
    float x, y;
};

struct SpliceTriangle {
    SplicePoint p[3];
};

// A triangle clipped to a rectangle is a convex polygon of at most 7 corners, so at most 5 triangles.
constexpr int kMaxClippedTriangles = 5;

// Cuts the source rectangle (x1, y1)-(x2, y2), right and bottom exclusive, into parts that do not overlap, each
// inside one splice, walking it row by row; where splices overlap (the shared seams and the border strips) the
// earlier splice wins, so border strips never appear. Each part is written as a PictureSplice with its own
// texture position: a point (x, y) of the part is the texel (x - x1 + u, y - y1 + v). A part may be one pixel
// thin where two pieces overlap; every part must be drawn, or that row or column is left out. Writes at most
// maxOut parts and returns their count.
int findSplicesInRect(int spliceCount, const PictureSplice* splices, float x1, float y1, float x2, float y2, int maxOut,
                      PictureSplice* out);

// Clips the source triangle to the splice's rectangle, one side after the other, and writes the part inside it
// as up to kMaxClippedTriangles triangles (in picture pixels). Returns their count; 0 when nothing is inside.
int clipTriangleToSplices(const SpliceTriangle& triangle, const PictureSplice& splice, SpliceTriangle* out);

// Solves the affine map that takes the three points of from onto the three points of to (Cramer's rule) and
// maps point through it into mapped. False, with mapped untouched, when from is degenerate (no area).
bool solveAffineTexCoords(const SpliceTriangle& from, const SpliceTriangle& to, SplicePoint point, SplicePoint& mapped);
