// A labelled check box: a picture button in image mode with its label in bitmap font 1, to the right of the
// box or ending just left of it. The owner updates the button and keeps the on flag from its clicks.
#pragma once

#include "GF_SpriteButton.h"

#include <memory>
#include <string>

class CheckBox {
public:
    CheckBox(SpriteAnimation* animation, int x, int y, const std::string& label, bool labelOnRight);
    void draw();

    SpriteAnimation* animation = nullptr;
    std::string label;
    uint8_t on = 0;
    int32_t x = 0, y = 0;
    std::unique_ptr<GF_SpriteButton> button;
    int32_t boxWidth = 28;
    int32_t gap = 2;
    uint8_t labelOnRight = 1;
};
