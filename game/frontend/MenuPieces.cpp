// The standard menu buttons, the two-look button animation and the menu backdrop.
#include "MenuPieces.h"

#include "GameWindow.h"
#include "KGraphic.h"
#include "SpriteAnimation.h"
#include "SpriteSheet.h"
#include "SpriteSheetLayouts.h"

#include <array>
#include <iterator>

namespace {

constexpr double kButtonLookSeconds = 0.1;
constexpr int kTopBand = 75;

static_assert(std::size(sheet_frames::kMenuButtons) == 2 * kMenuButtonKinds, "a pair of looks for each kind");

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
    menuButtons.sheet = std::make_unique<SpriteSheet>(kMenuButtonsSheet.file, /*blend=*/1, /*filter=*/1);
    menuButtons.sheet->addLayoutFrames(kMenuButtonsSheet);
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
