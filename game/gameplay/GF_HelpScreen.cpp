// The help overlay's page table, layout, highlight pulse and drawing.
#include "GF_HelpScreen.h"

#include "BitmapFonts.h"
#include "FrameClock.h"
#include "GameWindow.h"
#include "InputState.h"
#include "KGraphic.h"
#include "KText.h"
#include "LevelFile.h"
#include "OverlayHost.h"
#include "SpriteSheet.h"
#include "TextBlock.h"
#include "TextTools.h"
#include "WindowFrame.h"

#include <algorithm>

namespace {

struct HelpPage {
    const char* title;
    const char* text;
    const char* picture; // null: the page shows the level's medal goals instead
    int pictureHeight, gap;
    double highlightMax;
};

constexpr HelpPage kPages[kHelpPageCount] = {
    {"Swimming:", "Press the SPACE BAR to swim towards the cursor.", "spacebar.png", 115, 20, 0.5},
    {"Shooting:", "Press the LEFT MOUSE BUTTON to shoot your laser.", "mouse.png", 256, 40, 1.0},
    {"Super Laser:",
     "Press and hold the LEFT MOUSE BUTTON to charge up your Super Laser.  Release the mouse button to unleash "
     "the laser.",
     "mouse.png", 256, 60, 1.0},
    {"Directional Control:",
     "Use the W, A, S, and D keys for greater control.  Using these controls will help you maneuver during "
     "battle.",
     "wasd.png", 212, 60, 0.5},
    {"Racing:", "Go through all the hoops as fast as you can.\nEarn a medal by beating these times:", nullptr, 50, 60,
     0.5},
    {"Stunt Mode:", "Do as many tricks as you can in the given time.\nEarn a medal by beating these scores:", nullptr,
     50, 60, 0.5},
};

constexpr int kPanelWidth = 400;
constexpr int kPictureWidth = 256;
constexpr double kHighlightSpeed = 1.0; // alpha per second
constexpr int kLetterSpacing = 1;

struct Square {
    float left, top, right, bottom;
};
constexpr Square kSpaceBar = {29, 67, 224, 97};
constexpr Square kWasdKeys[4] = {{111, 55, 141, 85}, {82, 88, 112, 118}, {115, 88, 145, 118}, {148, 88, 178, 118}};
constexpr int kMouseButtonX = 65, kMouseButtonY = 58;

} // namespace

GF_HelpScreen::GF_HelpScreen() = default;
// A page destroyed while open (the program ending during play) frees what its enter loaded.
GF_HelpScreen::~GF_HelpScreen() {
    leave();
}

void GF_HelpScreen::enter() {
    leave();
    const HelpPage& row = kPages[page];
    title = row.title;
    text = row.text;
    pictureFile = row.picture ? row.picture : "";
    pictureHeight = row.pictureHeight;
    gap = row.gap;
    highlightMax = row.highlightMax;
    if (page == 1 || page == 2) {
        mouseHighlight = std::make_unique<SpriteSheet>("mousehighlight.png", /*blend=*/1, /*filter=*/1);
        mouseHighlight->addFrame(0, 0, 64, 64);
    }
    panelWidth = kPanelWidth;
    panelHeight = gap + pictureHeight + 100;
    panelX = (kGameWidth - kPanelWidth) / 2;
    panelY = (kGameHeight - panelHeight) / 2;
    textBlock = std::make_unique<TextBlock>(text, panelX + 25, panelY + 40, 350, 20, getFont(1), kLetterSpacing);
    if (row.picture) {
        picture = std::make_unique<SpriteSheet>(pictureFile, /*blend=*/1, /*filter=*/1);
        picture->addFrame(0, 0, kPictureWidth, pictureHeight);
    }
    pictureX = (kGameWidth - kPictureWidth) / 2;
    pictureY = panelY + gap + 40;
    highlightAlpha = 0;
    highlightRising = true;
    const LevelGoals& goals = CurrentLevelGoals;
    static const char* const labels[3] = {"Bronze: ", "Silver: ", "Gold: "};
    for (int n = 0; n < 3; n++) {
        if (page == 4)
            medalLines[n] = labels[n] + formatTime(goals.medalTimes[size_t(n)]);
        else if (page == 5)
            medalLines[n] = labels[n] + intToGroupedString(goals.medalScores[size_t(n)]);
        else
            medalLines[n].clear();
    }
    loadWindowFrame();
}

void GF_HelpScreen::leave() {
    // Only an open page frees the shared window frame, so a second leave cannot take it from another overlay.
    if (!textBlock) return;
    freeWindowFrame();
    picture.reset();
    textBlock.reset();
    mouseHighlight.reset();
}

void GF_HelpScreen::update() {
    if (anyInputPressed() && host) host->requestCloseOverlay();
}

void GF_HelpScreen::draw() {
    KText* font = getFont(1);
    drawWindowFrame(panelX, panelY, panelWidth, panelHeight);
    if (textBlock) textBlock->draw();
    const int centre = kGameWidth / 2;
    if (font) font->drawStringCentered(title.c_str(), centre, centre, panelY + 20, kLetterSpacing);
    if (font && (page == 4 || page == 5))
        for (int n = 0; n < 3; n++)
            font->drawStringCentered(medalLines[n].c_str(), centre, centre, pictureY + 16 * n, kLetterSpacing);
    if (picture) picture->drawFrame(0, pictureX, pictureY, false, false);
    if (font)
        font->drawStringCentered("Press any key to continue", centre, centre, panelY + panelHeight - 40,
                                 kLetterSpacing);

    highlightAlpha += (highlightRising ? kHighlightSpeed : -kHighlightSpeed) * frameTime;
    if (highlightAlpha >= highlightMax) highlightRising = false;
    if (highlightAlpha <= 0) highlightRising = true;
    highlightAlpha = std::clamp(highlightAlpha, 0.0, highlightMax);

    auto redSquare = [&](const Square& s) {
        if (sharedGraphic)
            sharedGraphic->fillRect(float(pictureX) + s.left, float(pictureY) + s.top, float(pictureX) + s.right,
                                    float(pictureY) + s.bottom, 1, 0, 0, float(highlightAlpha));
    };
    if (page == 0) redSquare(kSpaceBar);
    if ((page == 1 || page == 2) && mouseHighlight)
        mouseHighlight->drawFrameTransformed(0, pictureX + kMouseButtonX, pictureY + kMouseButtonY, 0, 1.0,
                                             highlightAlpha, false, false);
    if (page == 3)
        for (const Square& s : kWasdKeys) redSquare(s);
}
