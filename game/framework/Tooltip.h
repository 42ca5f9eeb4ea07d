// The one hover tooltip of a frame: a widget asks for it on every pass it should show, and it is drawn over
// the current state's draw, then cleared. Measured with bitmap font 1 and drawn with bitmap font 0.
#pragma once

#include <cstdint>
#include <string>

class KText;

struct TooltipRecord {
    std::string text;
    bool shown = false;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};
extern TooltipRecord Tooltip;

// The fonts the tooltip uses: installed by the bitmap fonts once loaded, removed with nulls when freed.
// Without them the box is measured as empty text of line height 16, and no text is drawn.
void setTooltipFonts(KText* measureFont, int measureLineHeight, KText* drawFont);

// Sets this frame's tooltip below and right of the pointer, or left of / above it near the right or bottom edge.
void showTooltip(const std::string& text, int x, int y);
// Draws the pending tooltip (white box, black outline, text) and clears it.
void drawTooltip();
// No text, not shown, box 0, 0, 0, 0.
void clearTooltip();
