// A small TrueType face built table by table (head, hhea, maxp, hmtx, loca, glyf and a format-4 character map),
// for tests and seeds that need a face of known glyphs rather than a shipped one.
#pragma once

#include <cstdint>
#include <vector>

// Glyph 0 is empty; 1 is a square of side `squareSide` font units (1000 to the em); 2 a triangle with curved
// sides; 3 a composite of 1 and of 2 scaled by one half. 'A', 'B' and 'C' map to glyphs 1, 2 and 3.
std::vector<unsigned char> smallTrueTypeFace(int squareSide = 500);
