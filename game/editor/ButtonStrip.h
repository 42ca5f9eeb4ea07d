// The tile palette's widgets: a framed strip of picture buttons that wraps into rows and slides up to stay on
// the screen, and a palette group whose caption toggle opens its strip of tile brushes.
#pragma once

#include "EditorWidgets.h"

#include <memory>
#include <string>
#include <vector>

class GF_SpriteButton;
class SpriteAnimation;
struct TileBrush;

class ButtonStrip {
public:
    ButtonStrip(int x, int y);
    ~ButtonStrip();
    ButtonStrip(const ButtonStrip&) = delete;
    ButtonStrip& operator=(const ButtonStrip&) = delete;

    void addButton(SpriteAnimation* animation, int angle, bool flipX, bool flipY);
    void update();
    void draw() const;
    // The framed box with its outline.
    PanelArea area() const { return PanelArea().add(x, top, boxWidth, boxHeight); }
    const std::vector<std::unique_ptr<GF_SpriteButton>>& buttonList() const { return buttons; }

    int32_t x, top;
    int32_t widthLimit = 400, boxWidth = 0, boxHeight = 0, spacing = 10;
    int32_t y, cursorX, cursorY, rowBottom;
    int32_t clickedIndex = -1;

private:
    std::vector<std::unique_ptr<GF_SpriteButton>> buttons;
};

class TilePaletteGroup {
public:
    TilePaletteGroup(const std::string& caption, int y);

    // Appends the brush and a strip button showing the picture of its first tile code.
    void addTile(TileBrush* brush);
    void draw() const;

    int32_t x = 20, y, width = 100, height = 15;
    int32_t clickedIndex = -1;
    EditorToggleButton caption;
    ButtonStrip strip;
    std::vector<TileBrush*> brushes; // not owned
};
