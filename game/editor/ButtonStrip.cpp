// The tile palette's button strip and palette group.
#include "ButtonStrip.h"

#include "DrawTools.h"
#include "GF_SpriteButton.h"
#include "GameWindow.h"
#include "KGraphic.h"
#include "SpriteAnimation.h"
#include "TileBrush.h"
#include "TileDefinition.h"

#include <algorithm>

ButtonStrip::ButtonStrip(int sx, int sy)
    : x(sx), top(sy - 15), y(sy), cursorX(sx + 10), cursorY(sy - 5), rowBottom(sy - 5) {}

ButtonStrip::~ButtonStrip() = default;

void ButtonStrip::addButton(SpriteAnimation* animation, int angle, bool flipX, bool flipY) {
    const int w = animation ? animation->frameWidth() : 0;
    const int h = animation ? animation->frameHeight() : 0;
    if (x + widthLimit < cursorX + w + spacing) {
        cursorY = rowBottom + spacing;
        cursorX = x + spacing;
    }
    buttons.push_back(
        std::make_unique<GF_SpriteButton>(cursorX, cursorY, animation, angle, flipX, flipY, kButtonBoxed));
    cursorX += w + spacing;
    rowBottom = std::max(rowBottom, cursorY + h);
    boxWidth = std::max(boxWidth, cursorX - x);
    boxHeight = rowBottom + spacing - top;
    if (rowBottom + spacing > kGameHeight) {
        const int shift = rowBottom + spacing - kGameHeight + 15;
        top -= shift;
        cursorY -= shift;
        rowBottom -= shift;
        for (auto& button : buttons) button->y -= shift;
    }
}

void ButtonStrip::update() {
    clickedIndex = -1;
    for (size_t i = 0; i < buttons.size(); i++) {
        buttons[i]->update(false);
        if (buttons[i]->clicked) clickedIndex = int32_t(i);
    }
}

void ButtonStrip::draw() const {
    const float l = float(x), t = float(top), r = float(x + boxWidth), b = float(top + boxHeight);
    if (sharedGraphic) sharedGraphic->fillRect(l, t, r, b, 1, 1, 0.8f, 0.8f);
    drawRectOutline(l, t, r, b, 0, 0, 0, 1);
    for (const auto& button : buttons) button->draw();
}

TilePaletteGroup::TilePaletteGroup(const std::string& text, int groupY)
    : y(groupY), caption(20, groupY, 100, 15, text, /*mayUnselect=*/true), strip(20 + 100 + 30, groupY) {}

void TilePaletteGroup::addTile(TileBrush* brush) {
    brushes.push_back(brush);
    const TileDefinition* tile = brush->tiles.empty() ? nullptr : getTileDefinition(brush->tiles.front());
    if (tile)
        strip.addButton(tile->animation.get(), tile->rotation, tile->flipX, tile->flipY);
    else
        strip.addButton(nullptr, 0, false, false);
}

void TilePaletteGroup::draw() const {
    caption.draw();
    if (!caption.selected) return;
    if (sharedGraphic) sharedGraphic->drawLine(120, float(y + 7), 150, float(y + 7), 0, 0, 0, 1);
    strip.draw();
}
