// The game select screen.
#include "GF_GameSelect.h"

#include "GF_LevelSelect.h"
#include "GF_SpriteButton.h"
#include "GameWindow.h"
#include "InputState.h"
#include "MenuPieces.h"
#include "ProgramStates.h"
#include "SpriteAnimation.h"
#include "SpriteSheet.h"
#include "SpriteSheetLayouts.h"

namespace {

struct KindButton {
    int width; // the width the button is centred by
    int y;
    const char* hint;
};
// By list kind (Action, Stunt, Race, Custom). Action and Stunt are centred one pixel narrower than their
// pictures (145 and 132).
constexpr KindButton kKindButtons[4] = {
    {144, 130, "Main mode of play - Blast away your enemies"},
    {131, 220, "Perform tricks to earn points"},
    {120, 310, "Race through hoops to beat the clock"},
    {171, 400, "Play the levels that you created"},
};
constexpr int kHeadingCell = kSelectGameHeadingSheet.gridWidth;
constexpr int kHeadingY = -23;

void openLevelSelect(int kind) {
    if (auto* select = dynamic_cast<GF_LevelSelect*>(programStates[kStateLevelSelect].get())) select->setListKind(kind);
    requestProgramState(kStateLevelSelect, kLeaveAndEnter);
}

} // namespace

GF_GameSelect::GF_GameSelect() = default;
GF_GameSelect::~GF_GameSelect() = default;

void GF_GameSelect::enter() {
    headingSheet = std::make_unique<SpriteSheet>(kSelectGameHeadingSheet.file, /*blend=*/1, /*filter=*/1);
    headingSheet->addLayoutFrames(kSelectGameHeadingSheet);
    firstSheet = std::make_unique<SpriteSheet>(kSelectGameButtons1Sheet.file, /*blend=*/1, /*filter=*/1);
    firstSheet->addLayoutFrames(kSelectGameButtons1Sheet);
    secondSheet = std::make_unique<SpriteSheet>(kSelectGameButtons2Sheet.file, /*blend=*/1, /*filter=*/1);
    secondSheet->addLayoutFrames(kSelectGameButtons2Sheet);
    animations[kAction] = makeButtonAnimation(firstSheet.get(), 0);
    animations[kStunt] = makeButtonAnimation(firstSheet.get(), 2);
    animations[kRace] = makeButtonAnimation(secondSheet.get(), 0);
    animations[kCustom] = makeButtonAnimation(secondSheet.get(), 2);
    buildMenuButtons();
    for (int kind = 0; kind < 4; kind++) {
        const KindButton& k = kKindButtons[kind];
        buttons[size_t(kind)] = std::make_unique<GF_SpriteButton>(
            (kGameWidth - k.width) / 2, k.y, animations[size_t(kind)].get(), 0, false, false, kButtonImage);
        buttons[size_t(kind)]->setHint(k.hint);
    }
    buttons[kMainMenu] = std::make_unique<GF_SpriteButton>(
        kGameWidth - 147, 552, menuButtonAnimation(kMenuButtonMainMenu), 0, false, false, kButtonImage);
    buttons[kMainMenu]->setHint("Go to the Main Menu");
}

void GF_GameSelect::leave() {
    for (auto& button : buttons) button.reset();
    freeMenuButtons();
    for (auto& animation : animations) animation.reset();
    secondSheet.reset();
    firstSheet.reset();
    headingSheet.reset();
}

GF_SpriteButton* GF_GameSelect::getButton(int button) const {
    return button >= 0 && button < int(buttons.size()) ? buttons[size_t(button)].get() : nullptr;
}

void GF_GameSelect::update() {
    for (int kind = 0; kind < 4; kind++) {
        buttons[size_t(kind)]->update(false);
        if (buttons[size_t(kind)]->clicked) openLevelSelect(kind);
    }
    buttons[kMainMenu]->update(false);
    if (buttons[kMainMenu]->clicked || backKeyReleased()) requestProgramState(kStateMainMenu, kLeaveAndEnter);
}

void GF_GameSelect::draw() {
    drawMenuBackdrop(89, true);
    const int headingX = (kGameWidth - 2 * kHeadingCell) / 2;
    headingSheet->drawFrame(0, headingX, kHeadingY, false, false);
    headingSheet->drawFrame(1, headingX + kHeadingCell, kHeadingY, false, false);
    for (auto& button : buttons) button->draw();
}
