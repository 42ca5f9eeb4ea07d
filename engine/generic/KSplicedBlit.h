// Geometry for drawing over a spliced picture, shared by the picture back ends: the row walk that draws a
// rectangle piece by piece, and the arbitrary quad, cut into triangles, each triangle split along the splices it
// crosses and every part drawn from its own texture with texture positions from the affine map of the source
// triangle onto the destination triangle.
#pragma once

#include "KSplicer.h"

#include <algorithm>

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

// Walks the source rectangle (sx1, sy1)-(sx2, sy2) row by row over the splices. The splicer's pieces overlap by
// their border strips, so each splice remembers the texture row it has drawn down to and a later piece skips
// those rows. For every piece still to draw, calls draw(piece, u1, v1, u2, v2, localX, localY): the texel
// rectangle inside the piece's texture and the top-left corner of its quad relative to the centre (cx, cy) of a
// drawing whose y grows upwards, with the flips applied.
template <class Draw>
void walkSplicedRect(int spliceCount, const PictureSplice* splices, float sx1, float sy1, float sx2, float sy2,
                     float cx, float cy, bool flipX, bool flipY, Draw draw) {
    float drawnTo[kMaxPictureSplices] = {};
    float x0 = std::max(sx1, 0.0f), y0 = std::max(sy1, 0.0f);
    for (float y = y0; y < sy2;) {
        float rowStep = sy2 - y0 + 1;
        float x = x0;
        bool found = true;
        while (x < sx2 && found) {
            found = false;
            for (int i = 0; i < spliceCount && x < sx2; i++) {
                const PictureSplice& piece = splices[i];
                if (!(piece.x1 <= x && x < piece.x2 && piece.y1 <= y && y < piece.y2)) continue;
                found = true;
                float w = std::min(sx2, piece.x2) - x, h = std::min(sy2, piece.y2) - y;
                float tu = x - piece.x1 + piece.u, tv = y - piece.y1 + piece.v;
                if (tv + h > drawnTo[i]) {
                    float skip = tv < drawnTo[i] ? drawnTo[i] - tv : 0;
                    drawnTo[i] = tv + h;
                    float localX = flipX ? (sx2 - sx1) - (x - sx1) - w - cx : (x - sx1) - cx;
                    float localY = flipY ? cy - ((sy2 - sy1) - (y - sy1) - h) : cy - (y - sy1) - skip;
                    draw(piece, tu, tv + skip, tu + w, tv + h, localX, localY);
                }
                x += w;
                rowStep = std::min(rowStep, h);
            }
        }
        if (rowStep <= 0) break;
        y += rowStep;
    }
}

// Walks an arbitrary quad over a spliced width x height picture: source corners s[0..3] go to destination
// corners d[0..3], cut into the triangles 0-1-2 and 0-2-3. For every part with an area whose texture is below
// textureCount, and every piece of a triangle inside it: keepGoing() is asked first (false ends the walk);
// before the part's first piece prepare(part) is called (false skips the rest of that triangle in this part);
// then draw(dest, texel) gets the piece's three destination points and the texel positions of its corners
// inside the part's texture.
template <class KeepGoing, class Prepare, class Draw>
void walkSplicedQuad(int spliceCount, const PictureSplice* splices, int textureCount, float width, float height,
                     const SplicePoint (&s)[4], const SplicePoint (&d)[4], KeepGoing keepGoing, Prepare prepare,
                     Draw draw) {
    constexpr int kMaxParts = 4 * kMaxPictureSplices;
    PictureSplice parts[kMaxParts];
    int partCount = findSplicesInRect(spliceCount, splices, 0, 0, width, height, kMaxParts, parts);
    const SpliceTriangle sources[2] = {{{s[0], s[1], s[2]}}, {{s[0], s[2], s[3]}}};
    const SpliceTriangle dests[2] = {{{d[0], d[1], d[2]}}, {{d[0], d[2], d[3]}}};
    for (int p = 0; p < partCount; p++) {
        const PictureSplice& part = parts[p];
        // The parts tile the picture without overlapping, one-pixel seam rows included: every part with an area
        // is drawn, or the seams would show as gaps.
        if (part.x2 <= part.x1 || part.y2 <= part.y1) continue;
        if (part.texture < 0 || part.texture >= textureCount) continue;
        bool prepared = false;
        for (int t = 0; t < 2; t++) {
            SpliceTriangle pieces[kMaxClippedTriangles];
            int pieceCount = clipTriangleToSplices(sources[t], part, pieces);
            for (int i = 0; i < pieceCount; i++) {
                if (!keepGoing()) return;
                if (!prepared) {
                    if (!prepare(part)) break;
                    prepared = true;
                }
                SplicePoint dest[3], texel[3];
                for (int k = 0; k < 3; k++) {
                    SplicePoint source = pieces[i].p[k];
                    if (!solveAffineTexCoords(sources[t], dests[t], source, dest[k])) dest[k] = source;
                    texel[k] = {source.x - part.x1 + part.u, source.y - part.y1 + part.v};
                }
                draw(dest, texel);
            }
        }
    }
}
