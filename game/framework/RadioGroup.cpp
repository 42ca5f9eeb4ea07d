// The radio group's options, selection and draw.
#include "RadioGroup.h"

#include "BitmapFonts.h"
#include "KText.h"

namespace {
constexpr int kLabelFont = 1;
constexpr int kLabelDrop = 8;
} // namespace

RadioGroup::RadioGroup(SpriteAnimation* animation, int top) : buttonAnimation(animation), topY(top) {}

void RadioGroup::addOption(const std::string& label) {
    const int row = int(buttons.size());
    labels.push_back(label);
    buttons.push_back(std::make_unique<GF_SpriteButton>(leftX, topY + row * rowHeight, buttonAnimation, 0, false, false,
                                                        kButtonImage2));
}

void RadioGroup::select(int n) {
    if (n < 0 || n >= int(buttons.size())) return;
    for (auto& button : buttons) button->selected = 0;
    buttons[size_t(n)]->selected = 1;
    selection = n;
}

void RadioGroup::update() {
    for (auto& button : buttons) button->update(false);
    for (size_t i = 0; i < buttons.size(); i++)
        if (buttons[i]->clicked) select(int(i));
}

void RadioGroup::draw() {
    for (auto& button : buttons) button->draw();
    KText* font = getFont(kLabelFont);
    if (!font) return;
    for (size_t i = 0; i < labels.size(); i++)
        font->drawString(labels[i].c_str(), leftX + labelOffset, topY + int(i) * rowHeight + kLabelDrop);
}
