// The word-wrapping box layout behind the text faces' box operations: paragraphs, line breaks, trimming,
// justification, and per line one of six kinds of work (height, draw, callback draw, character rectangle,
// index at a point, widest line).
#pragma once

#include "KTextFace.h"

enum TextBoxLayoutKind : int {
    K_LAYOUT_HEIGHT = 0,
    K_LAYOUT_DRAW = 1,
    K_LAYOUT_CALLBACK_DRAW = 2,
    K_LAYOUT_CHAR_RECT = 3,
    K_LAYOUT_INDEX_AT_POINT = 4,
    K_LAYOUT_WIDEST_LINE = 5,
};

// The longest paragraph the layout keeps; later code points of a paragraph are counted but not shown.
constexpr int kTextBoxLineCapacity = 4094;

// outRect receives left, top, right, bottom of the character rectangle (kind 3); pointX, pointY are the
// point of the hit test (kind 4), measured like the rectangle from the box top. index is the character to
// report (kinds 2 and 3) or receives the hit (kind 4). Returns the widest line for kind 5, otherwise the last
// line's bottom (line y after the last line minus the line spacing). Leaves the face's word spacing at 0.
// Not re-entrant: the line buffer is shared by every box operation.
float layoutTextBox(KTextFace* face, int encoding, const char* text, float left, float top, float right, float bottom,
                    int alignment, int scrollX, int scrollY, float extra, float lineHeight, float lineSpacing, int kind,
                    int* index, TextDrawCallback callback, void* user, float* outRect, float pointX, float pointY,
                    bool* found);
