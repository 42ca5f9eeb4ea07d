// The main menu.
#include "GF_MainMenu.h"

#include "BitmapFonts.h"
#include "FrameClock.h"
#include "GF_OptionsMenu.h"
#include "GF_SpriteButton.h"
#include "GameWindow.h"
#include "KGraphic.h"
#include "KRandom.h"
#include "KText.h"
#include "MenuPieces.h"
#include "MusicPlaylist.h"
#include "PlatformTools.h"
#include "ProgramStates.h"
#include "SoundTable.h"
#include "SpriteAnimation.h"
#include "SpriteSheet.h"
#include "SpriteSheetLayouts.h"

#include <algorithm>
#include <string>

namespace {

constexpr int kButtonCentreX = 180;
constexpr int kButtonY[4] = {250, 330, 410, 490};
constexpr int kFirstLaugh = 4; // sounds 4 .. 7 of the sound table
constexpr double kLaughAtFade = 0.1;
constexpr int kVersionFont = 1;
constexpr int kVersionMargin = 30;

} // namespace

GF_MainMenu::GF_MainMenu() : versionText(std::string("Version: ") + kGameVersion) {}
GF_MainMenu::~GF_MainMenu() = default;

void GF_MainMenu::enter() {
    background.load("title");
    firstSheet = std::make_unique<SpriteSheet>(kTitleButtons1Sheet.file, /*blend=*/1, /*filter=*/1);
    firstSheet->addLayoutFrames(kTitleButtons1Sheet);
    secondSheet = std::make_unique<SpriteSheet>(kTitleButtons2Sheet.file, /*blend=*/1, /*filter=*/1);
    secondSheet->addLayoutFrames(kTitleButtons2Sheet);
    animations[kPlay] = makeButtonAnimation(firstSheet.get(), 0);
    animations[kEditor] = makeButtonAnimation(firstSheet.get(), 2);
    animations[kOptions] = makeButtonAnimation(secondSheet.get(), 0);
    animations[kExit] = makeButtonAnimation(secondSheet.get(), 2);
    const std::string hints[4] = {"Click here to start playing Glimmerfin", "Create your own levels",
                                  "Change the difficulty and volume", std::string("Exit to ") + platformName()};
    for (size_t i = 0; i < buttons.size(); i++) {
        SpriteAnimation* animation = animations[i].get();
        buttons[i] = std::make_unique<GF_SpriteButton>(kButtonCentreX - animation->frameWidth() / 2, kButtonY[i],
                                                       animation, 0, false, false, kButtonImage);
        buttons[i]->setHint(hints[i]);
    }
    fade = 1.0;
    fadeSpeed = 1.0;
    laughed = false;
    startMusic();
}

void GF_MainMenu::leave() {
    for (auto& button : buttons) button.reset();
    for (auto& animation : animations) animation.reset();
    secondSheet.reset();
    firstSheet.reset();
    background.release();
}

GF_SpriteButton* GF_MainMenu::getButton(int button) const {
    return button >= 0 && button < int(buttons.size()) ? buttons[size_t(button)].get() : nullptr;
}

void GF_MainMenu::update() {
    // In this order: a later request in the same pass replaces an earlier one.
    buttons[kPlay]->update(false);
    if (buttons[kPlay]->clicked) requestProgramState(kStateGameSelect, kLeaveAndEnter);
    buttons[kEditor]->update(false);
    if (buttons[kEditor]->clicked) requestProgramState(kStateLevelEditor, kLeaveAndEnter);
    buttons[kOptions]->update(false);
    if (buttons[kOptions]->clicked) {
        if (auto* options = dynamic_cast<GF_OptionsMenu*>(programStates[kStateOptionsMenu].get()))
            options->setReturnTarget(kStateMainMenu);
        requestProgramState(kStateOptionsMenu, kLeaveAndEnter);
    }
    buttons[kExit]->update(false);
    if (buttons[kExit]->clicked) requestProgramState(kQuitProgram, kLeaveAndEnter);

    fade = std::clamp(fade - fadeSpeed * frameTime, 0.0, 1.0);
    if (fade <= kLaughAtFade && !laughed) {
        laughed = true;
        if (SoundEntry* laugh = getSoundEntry(kFirstLaugh + kRand() % 4)) laugh->play(1.0, 0.0);
    }
}

void GF_MainMenu::draw() {
    background.draw();
    for (auto& button : buttons) button->draw();
    if (KText* font = getFont(kVersionFont))
        font->drawStringRight(versionText.c_str(), kGameWidth - kVersionMargin, kGameHeight - kVersionMargin);
    if (sharedGraphic && fade > 0)
        sharedGraphic->fillRect(0, 0, float(kGameWidth), float(kGameHeight), 0, 0, 0, float(fade));
}
