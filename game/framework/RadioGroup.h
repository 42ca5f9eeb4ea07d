// A vertical group of radio buttons with labels in bitmap font 1; a click selects that option.
#pragma once

#include "GF_SpriteButton.h"

#include <memory>
#include <string>
#include <vector>

class RadioGroup {
public:
    RadioGroup(SpriteAnimation* buttonAnimation, int topY);
    void addOption(const std::string& label);
    void select(int n);
    void update();
    void draw();

    SpriteAnimation* buttonAnimation = nullptr;
    std::vector<std::string> labels;
    std::vector<std::unique_ptr<GF_SpriteButton>> buttons;
    int32_t selection = 0;
    int32_t leftX = 470;
    int32_t topY = 0;
    int32_t labelOffset = 30;
    int32_t rowHeight = 30;
};
