// The options screen.
#include "GF_OptionsMenu.h"

#include "BitmapFonts.h"
#include "CheatList.h"
#include "CheckBox.h"
#include "FrameClock.h"
#include "GF_SpriteButton.h"
#include "GameOptions.h"
#include "GameWindow.h"
#include "InputState.h"
#include "KText.h"
#include "KWindow.h"
#include "MenuPieces.h"
#include "ProgramStates.h"
#include "RadioGroup.h"
#include "Slider.h"
#include "SoundTable.h"
#include "SpriteAnimation.h"
#include "SpriteSheet.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kApplyPeriod = 0.5;
constexpr int kLabelFont = 1;

// The frames of "radiobuttons.png": radio button looks 0 .. 3, slider track pieces 4 .. 6 (left cap, middle,
// right cap), knob looks 7, 8, check box looks 9 .. 12.
constexpr int kWidgetFrames[13][4] = {
    {0, 0, 28, 28},    {28, 0, 56, 28},   {56, 0, 84, 28},    {84, 0, 112, 28}, {0, 28, 7, 35},
    {7, 28, 14, 35},   {14, 28, 21, 35},  {21, 28, 53, 80},   {53, 28, 85, 80}, {0, 80, 28, 108},
    {28, 80, 56, 108}, {56, 80, 84, 108}, {84, 80, 112, 108},
};
constexpr int kFirstRadioFrame = 0, kFirstTrackFrame = 4, kFirstKnobFrame = 7, kFirstBoxFrame = 9;

constexpr const char* kDifficultyNames[5] = {"Very Easy", "Easy", "Medium", "Hard", "Extreme"};
constexpr int kDifficultyTop = 100;
constexpr int kMusicSliderY = 275, kSoundSliderY = 345;
constexpr int kBoxesX = 240, kFullScreenY = 100, kAutoAimY = 130;
// The cheat boxes: rows from (20, 420), 150 apart, a new row 30 lower once x passes the screen width - 170.
constexpr int kCheatLeft = 20, kCheatTop = 420, kCheatStepX = 150, kCheatStepY = 30, kCheatRowEnd = kGameWidth - 170;
constexpr int kTitleY = -25;

// Places the knob at the position nearest the fraction. The knob's own placement truncates, and a fraction
// read back from a knob position does not always multiply back to that position exactly, so some settings
// would move one step lower on every visit to the screen.
void showFraction(Slider& slider, double f) {
    const int range = slider.knobRight() - slider.knobLeft();
    slider.setKnobX(slider.knobLeft() + int(std::lround(std::clamp(f, 0.0, 1.0) * range)));
}

void updateBox(CheckBox& box) {
    box.button->update(false);
    if (box.button->clicked) box.on = !box.on;
    box.button->selected = box.on;
}

} // namespace

GF_OptionsMenu::GF_OptionsMenu(int32_t target) : returnTarget(target) {}
GF_OptionsMenu::~GF_OptionsMenu() = default;

void GF_OptionsMenu::enter() {
    titleSheet = std::make_unique<SpriteSheet>("menutitles2.png", /*blend=*/1, /*filter=*/1);
    titleSheet->addFrame(0, 128, 256, 256);
    widgetSheet = std::make_unique<SpriteSheet>("radiobuttons.png", /*blend=*/1, /*filter=*/1);
    for (const auto& f : kWidgetFrames) widgetSheet->addFrame(f[0], f[1], f[2], f[3]);
    radioLooks = makeButtonAnimation(widgetSheet.get(), kFirstRadioFrame, 4);
    trackLooks = makeButtonAnimation(widgetSheet.get(), kFirstTrackFrame, 3);
    knobLooks = makeButtonAnimation(widgetSheet.get(), kFirstKnobFrame, 2);
    boxLooks = makeButtonAnimation(widgetSheet.get(), kFirstBoxFrame, 4);

    difficulty = std::make_unique<RadioGroup>(radioLooks.get(), kDifficultyTop);
    for (const char* name : kDifficultyNames) difficulty->addOption(name);
    musicSlider = std::make_unique<Slider>(trackLooks.get(), knobLooks.get(), kMusicSliderY);
    soundSlider = std::make_unique<Slider>(trackLooks.get(), knobLooks.get(), kSoundSliderY);

    fullScreenBox = std::make_unique<CheckBox>(boxLooks.get(), kBoxesX, kFullScreenY, "Full Screen", true);
    fullScreenBox->on = !GameOptions.windowed;
    fullScreenBox->button->selected = fullScreenBox->on;
    appliedFullScreen = fullScreenBox->on;
    autoAimBox = std::make_unique<CheckBox>(boxLooks.get(), kBoxesX, kAutoAimY, "Auto-Aim", true);
    autoAimBox->on = GameOptions.autoAim;
    autoAimBox->button->selected = autoAimBox->on;

    cheatBoxes.clear();
    int x = kCheatLeft, y = kCheatTop;
    for (int i = 0; i < int(CheatList.size()); i++) {
        auto box = std::make_unique<CheckBox>(boxLooks.get(), x, y, getCheatName(i), true);
        box->on = isCheatOn(i);
        box->button->selected = box->on;
        cheatBoxes.push_back(std::move(box));
        x += kCheatStepX;
        if (x > kCheatRowEnd) {
            x = kCheatLeft;
            y += kCheatStepY;
        }
    }

    buildMenuButtons();
    mainMenuButton = std::make_unique<GF_SpriteButton>(kGameWidth - 148, 550, menuButtonAnimation(kMenuButtonMainMenu),
                                                       0, false, false, kButtonImage);
    mainMenuButton->setHint("Go to the Main Menu");

    difficulty->select(GameOptions.difficulty);
    showFraction(*musicSlider, GameOptions.musicVolume);
    showFraction(*soundSlider, GameOptions.soundVolume);
    applyTimer = 0.0;
}

void GF_OptionsMenu::leave() {
    applyOptionsScreen();
    saveOptionsTellingFailure();
    mainMenuButton.reset();
    freeMenuButtons();
    cheatBoxes.clear();
    autoAimBox.reset();
    fullScreenBox.reset();
    soundSlider.reset();
    musicSlider.reset();
    difficulty.reset();
    boxLooks.reset();
    knobLooks.reset();
    trackLooks.reset();
    radioLooks.reset();
    widgetSheet.reset();
    titleSheet.reset();
}

CheckBox* GF_OptionsMenu::getCheatBox(int index) const {
    return index >= 0 && index < int(cheatBoxes.size()) ? cheatBoxes[size_t(index)].get() : nullptr;
}

void GF_OptionsMenu::updateSlider(Slider& slider) {
    slider.knob->update(false);
    // The knob follows the pointer for as long as a press that began on it is held, even when a quick move
    // leaves the knob behind for a pass.
    if (slider.knob->pressStarted && MouseState.leftNow) slider.setKnobX(MouseState.x);
}

void GF_OptionsMenu::updateFullScreen() {
    updateBox(*fullScreenBox);
    if (fullScreenBox->on == appliedFullScreen) return;
    if (gameWindow && !gameWindow->toggleFullScreen(fullScreenBox->on)) {
        // The display stays as it was, so the box and the setting do too.
        fullScreenBox->on = appliedFullScreen;
        fullScreenBox->button->selected = appliedFullScreen;
        return;
    }
    GameOptions.windowed = !fullScreenBox->on;
    appliedFullScreen = fullScreenBox->on;
}

void GF_OptionsMenu::update() {
    difficulty->update();
    updateSlider(*musicSlider);
    updateSlider(*soundSlider);
    mainMenuButton->update(false);
    if (mainMenuButton->clicked || backKeyReleased()) requestProgramState(returnTarget, kLeaveAndEnter);
    updateFullScreen();
    updateBox(*autoAimBox);
    GameOptions.autoAim = autoAimBox->on;
    for (int i = 0; i < int(cheatBoxes.size()); i++) {
        if (!isCheatUnlocked(i)) continue;
        CheckBox& box = *cheatBoxes[size_t(i)];
        updateBox(box);
        setCheatOn(i, box.on);
    }
    applyTimer += frameTime;
    if (applyTimer >= kApplyPeriod) {
        applyOptionsScreen();
        applyTimer = 0.0;
    }
}

void GF_OptionsMenu::applyOptionsScreen() {
    if (!difficulty) return;
    GameOptions.difficulty = difficulty->selection;
    GameOptions.musicVolume = musicSlider->getValue();
    GameOptions.soundVolume = soundSlider->getValue();
    applyVolumes();
}

void GF_OptionsMenu::draw() {
    drawMenuBackdrop(60, true);
    titleSheet->drawFrame(0, (kGameWidth - 256) / 2, kTitleY, false, false);
    KText* font = getFont(kLabelFont);
    if (font) font->drawString("Difficulty:", kGameWidth / 2, 108);
    difficulty->draw();
    if (font) font->drawString("Music Volume:", 360, 270);
    musicSlider->draw();
    if (font) font->drawString("Sound Effect Volume:", 335, 340);
    soundSlider->draw();
    if (font && anyCheatUnlocked())
        font->drawStringCentered("Cheats - Finishing a level does not count when cheats are turned on:", 0, kGameWidth,
                                 400);
    fullScreenBox->draw();
    autoAimBox->draw();
    for (int i = 0; i < int(cheatBoxes.size()); i++)
        if (isCheatUnlocked(i)) cheatBoxes[size_t(i)]->draw();
    mainMenuButton->draw();
}
