// The hover tooltip.
#include "Tooltip.h"

#include "DrawTools.h"
#include "GameWindow.h"
#include "KGraphic.h"
#include "KText.h"

TooltipRecord Tooltip;

namespace {
KText* measureFont = nullptr;
KText* drawFont = nullptr;
int measureLineHeight = 16;
} // namespace

void setTooltipFonts(KText* measure, int lineHeight, KText* draw) {
    measureFont = measure;
    measureLineHeight = measure ? lineHeight : 16;
    drawFont = draw;
}

void showTooltip(const std::string& text, int x, int y) {
    Tooltip.text = text;
    Tooltip.shown = true;
    const float textWidth = measureFont ? measureFont->getStringWidth(text.c_str(), 0, 1) : 0.0f;
    const int width = int(textWidth + 9);
    const int height = measureLineHeight + 4;
    Tooltip.right = x + 16 + width;
    Tooltip.bottom = y + 32 + height;
    if (Tooltip.right > kGameWidth) Tooltip.right = x - 2;
    if (Tooltip.bottom > kGameHeight) Tooltip.bottom = y - 2;
    Tooltip.left = Tooltip.right - width;
    Tooltip.top = Tooltip.bottom - height;
}

void drawTooltip() {
    if (!Tooltip.shown) return;
    if (sharedGraphic) {
        sharedGraphic->fillRect(float(Tooltip.left), float(Tooltip.top), float(Tooltip.right), float(Tooltip.bottom), 1,
                                1, 1, 1);
        drawRectOutline(float(Tooltip.left), float(Tooltip.top), float(Tooltip.right), float(Tooltip.bottom), 0, 0, 0,
                        1);
    }
    if (drawFont) drawFont->drawString(Tooltip.text.c_str(), Tooltip.left + 4, Tooltip.top + 2);
    Tooltip.shown = false;
}

void clearTooltip() {
    Tooltip = TooltipRecord();
}
