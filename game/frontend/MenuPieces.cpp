// The standard menu buttons, the two-look button animation and the menu backdrop.
#include "MenuPieces.h"

#include "GameWindow.h"
#include "KGraphic.h"
#include "SpriteAnimation.h"
#include "SpriteSheet.h"

#include <array>

namespace {

constexpr double kButtonLookSeconds = 0.1;
constexpr int kTopBand = 75;

struct FrameBox {
    int left, top, right, bottom;
};

// Hover look first, resting look second, for each kind in MenuButtonKind order.
constexpr FrameBox kMenuButtonFrames[2 * kMenuButtonKinds] = {
    {0, 0, 108, 38},    {0, 38, 108, 76},    {0, 76, 66, 118},    {0, 118, 66, 160},
    {0, 160, 76, 202},  {0, 202, 76, 244},   {108, 0, 246, 38},   {108, 38, 246, 76},
    {66, 76, 217, 118}, {66, 118, 217, 160}, {76, 160, 212, 202}, {76, 202, 212, 244},
};

struct MenuButtonSet {
    std::unique_ptr<SpriteSheet> sheet;
    std::array<std::unique_ptr<SpriteAnimation>, kMenuButtonKinds> animations;
};
MenuButtonSet menuButtons;

} // namespace

std::unique_ptr<SpriteAnimation> makeButtonAnimation(SpriteSheet* sheet, int firstFrame, int looks) {
    auto animation = std::make_unique<SpriteAnimation>();
    for (int look = 0; look < looks; look++) {
        animation->addFrame(sheet, firstFrame + look);
        animation->addSequence(kButtonLookSeconds)->addStep(look, false, false, kButtonLookSeconds);
    }
    return animation;
}

void buildMenuButtons() {
    freeMenuButtons();
    menuButtons.sheet = std::make_unique<SpriteSheet>("menubuttons.png", /*blend=*/1, /*filter=*/1);
    for (const FrameBox& f : kMenuButtonFrames) menuButtons.sheet->addFrame(f.left, f.top, f.right, f.bottom);
    for (int kind = 0; kind < kMenuButtonKinds; kind++)
        menuButtons.animations[size_t(kind)] = makeButtonAnimation(menuButtons.sheet.get(), 2 * kind);
}

void freeMenuButtons() {
    for (auto& animation : menuButtons.animations) animation.reset();
    menuButtons.sheet.reset();
}

SpriteAnimation* menuButtonAnimation(int kind) {
    if (kind < 0 || kind >= kMenuButtonKinds) return nullptr;
    return menuButtons.animations[size_t(kind)].get();
}

void drawMenuBackdrop(int bottomBand, bool withFill) {
    if (!sharedGraphic) return;
    const float w = float(kGameWidth), h = float(kGameHeight);
    const float top = float(kTopBand), bottom = h - float(bottomBand);
    if (withFill) sharedGraphic->fillRect(0, top, w, bottom, 0.0627f, 0.098f, 0.133f, 1.0f);
    const float bandAlpha = withFill ? 1.0f : 0.2f;
    sharedGraphic->fillRect(0, 0, w, top, 0, 0, 0, bandAlpha);
    sharedGraphic->fillRect(0, bottom, w, h, 0, 0, 0, bandAlpha);
    sharedGraphic->drawLine(0, top, w, top, 1, 1, 1, 1);
    sharedGraphic->drawLine(0, bottom, w, bottom, 1, 1, 1, 1);
}
