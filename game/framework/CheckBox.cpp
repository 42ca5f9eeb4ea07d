// The check box's draw.
#include "CheckBox.h"

#include "BitmapFonts.h"
#include "KText.h"

namespace {
constexpr int kLabelFont = 1;
constexpr int kLabelDrop = 8;
} // namespace

CheckBox::CheckBox(SpriteAnimation* anim, int bx, int by, const std::string& text, bool onRight)
    : animation(anim), label(text), x(bx), y(by),
      button(std::make_unique<GF_SpriteButton>(bx, by, anim, 0, false, false, kButtonImage2)), labelOnRight(onRight) {}

void CheckBox::draw() {
    button->draw();
    KText* font = getFont(kLabelFont);
    if (!font) return;
    if (labelOnRight)
        font->drawString(label.c_str(), x + boxWidth + gap, y + kLabelDrop);
    else
        font->drawStringRight(label.c_str(), x - gap, y + kLabelDrop);
}
