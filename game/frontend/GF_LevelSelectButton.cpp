// The level button's hit test, pulse and drawing.
#include "GF_LevelSelectButton.h"

#include "BitmapFonts.h"
#include "FrameClock.h"
#include "GameWindow.h"
#include "KText.h"
#include "SpriteAnimation.h"
#include "SpriteSheet.h"
#include "TextTools.h"

#include <algorithm>

namespace {
constexpr int kRoundRadius = 20;
constexpr int kSquareInset = 10;
constexpr int kCaptionTop = 5;
constexpr int kCaptionEdge = 5;
constexpr int kMedalOffset = 17;
enum LookFrame { kLookHover = 0, kLookRest = 1, kLookLocked = 2, kLookAllGold = 3 };
} // namespace

GF_LevelSelectButton::GF_LevelSelectButton(int bx, int by, const std::string& displayName, SpriteAnimation* anim,
                                           bool isRound, SpriteSheet* medalSheet)
    : GF_SpriteButton(bx, by, anim, 0, false, false, kButtonImage), caption(stripLevelNumber(displayName)),
      round(isRound), medals(medalSheet) {}

bool GF_LevelSelectButton::containsPoint(int px, int py) {
    const int left = x + offsetX, top = y + offsetY;
    if (round) {
        const int dx = px - (left + width / 2), dy = py - (top + height / 2);
        return dx * dx + dy * dy < kRoundRadius * kRoundRadius;
    }
    return px >= left + kSquareInset && px < left + width - kSquareInset && py >= top + kSquareInset &&
           py < top + height - kSquareInset;
}

bool GF_LevelSelectButton::containsPointWithMargin(int px, int py) {
    return containsPoint(px, py);
}

void GF_LevelSelectButton::update(bool reset) {
    GF_SpriteButton::update(reset);
    if (reset) return;
    if (!nextLevel) {
        captionAlpha = hoverFade;
    } else if (!hovered) {
        pulse += (pulseFalling ? -kPulseSpeed : kPulseSpeed) * frameTime;
        if (pulse <= 0) pulseFalling = 0;
        if (pulse >= 1) pulseFalling = 1;
        pulse = std::clamp(pulse, 0.0, 1.0);
        hoverFade = pulse;
        captionAlpha -= fadeSpeed * frameTime;
    } else {
        pulse = hoverFade;
        captionAlpha += fadeSpeed * frameTime;
    }
    captionAlpha = std::clamp(captionAlpha, 0.0, 1.0);
}

void GF_LevelSelectButton::draw() {
    if (!animation) return;
    const int left = x + offsetX, top = y + offsetY;
    if (disabled) {
        animation->setSequence(kLookLocked);
        animation->drawTransformed(left, top, 0, 1.0, 1.0, false, false);
        return;
    }
    const bool down = pressed && hovered;
    const int dx = down ? left + 1 : left, dy = down ? top + 2 : top;
    animation->setSequence(kLookHover);
    animation->drawTransformed(dx, dy, 0, 1.0, hoverFade, false, false);
    animation->setSequence(kLookRest);
    animation->drawTransformed(dx, dy, 0, 1.0, baseAlpha, false, false);
    if (!round)
        if (KText* font = getFont(1)) {
            const int textWidth = int(font->getStringWidth(caption.c_str()));
            const int textX = std::clamp(dx + (width - textWidth) / 2, kCaptionEdge,
                                         std::max(kCaptionEdge, kGameWidth - kCaptionEdge - textWidth));
            font->setColor(1, 1, 1, float(captionAlpha));
            font->drawString(caption.c_str(), textX, dy + kCaptionTop);
            font->setColor(1, 1, 1, 1);
        }
    if (allGoldZuzevirs) {
        animation->setSequence(kLookAllGold);
        animation->drawTransformed(dx, dy, 0, 1.0, 1.0, false, false);
    }
    if (medals && medal >= 0 && medal <= 2)
        medals->drawFrame(2 - medal, dx + kMedalOffset, dy + kMedalOffset, false, false);
}
