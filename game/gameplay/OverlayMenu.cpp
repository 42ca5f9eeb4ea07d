// The overlay menus' shared enter, buttons and drawing.
#include "OverlayMenu.h"

#include "BitmapFonts.h"
#include "GF_SpriteButton.h"
#include "GameWindow.h"
#include "KText.h"
#include "MenuPieces.h"
#include "SoundTable.h"
#include "SpriteAnimation.h"
#include "SpriteSheet.h"
#include "WindowFrame.h"

namespace {
constexpr int kChargeUpSound = 16;
constexpr int kTextHalfWidth = 50;
} // namespace

OverlayMenu::OverlayMenu() = default;
// A menu destroyed while open (the program ending during play) frees what its enter loaded.
OverlayMenu::~OverlayMenu() {
    leave();
}

void OverlayMenu::beginEnter(const char* titleFile, int titleTop, int width, int height) {
    leave();
    if (SoundEntry* chargeUp = getSoundEntry(kChargeUpSound)) chargeUp->stop();
    buildMenuButtons();
    loadWindowFrame();
    titleSheet = std::make_unique<SpriteSheet>(titleFile, /*blend=*/1, /*filter=*/1);
    titleSheet->addFrame(0, titleTop, 256, titleTop + 128);
    panelWidth = width;
    panelHeight = height;
    panelX = (kGameWidth - width) / 2;
    panelY = (kGameHeight - height) / 2;
}

void OverlayMenu::addButton(int menuButtonKind, int y, const std::string& text) {
    SpriteAnimation* look = menuButtonAnimation(menuButtonKind);
    auto button = std::make_unique<GF_SpriteButton>(0, y, look, 0, false, false, kButtonImage);
    button->x = (kGameWidth - button->width) / 2;
    button->setHint(text);
    buttons.push_back(std::move(button));
}

GF_SpriteButton* OverlayMenu::getButton(int n) const {
    return n >= 0 && size_t(n) < buttons.size() ? buttons[size_t(n)].get() : nullptr;
}

void OverlayMenu::updateButtons() {
    for (auto& button : buttons) button->update(false);
}

bool OverlayMenu::clicked(int n) const {
    const GF_SpriteButton* button = getButton(n);
    return button && button->clicked;
}

void OverlayMenu::leave() {
    // Only a menu that is open frees the shared pictures, so a second leave cannot take them from another.
    if (!titleSheet) return;
    buttons.clear();
    textLines.clear();
    titleSheet.reset();
    freeWindowFrame();
    freeMenuButtons();
}

void OverlayMenu::draw() {
    drawWindowFrame(panelX, panelY, panelWidth, panelHeight);
    if (titleSheet) titleSheet->drawFrame(0, (kGameWidth - 256) / 2, panelY, false, false);
    if (KText* font = getFont(1))
        for (const TextLine& line : textLines)
            font->drawStringCentered(line.text.c_str(), kGameWidth / 2 - kTextHalfWidth,
                                     kGameWidth / 2 + kTextHalfWidth, panelY + line.y);
    for (auto& button : buttons) button->draw();
}
