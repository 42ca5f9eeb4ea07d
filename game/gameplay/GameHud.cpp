// The HUD's mode panel: a dark box with a light outline and the figures in bitmap font 2.
#include "GameHud.h"

#include "BitmapFonts.h"
#include "DrawTools.h"
#include "GameWindow.h"
#include "KGraphic.h"
#include "KText.h"
#include "TextTools.h"

#include <algorithm>
#include <string>

namespace {

constexpr int kHudFont = 2;

void drawPanel(float x1, float y1, float x2, float y2) {
    if (!sharedGraphic) return;
    sharedGraphic->fillRect(x1, y1, x2, y2, 0, 0, 0.2f, 0.7f);
    drawRectOutline(x1, y1, x2, y2, 0.7f, 0.7f, 0.9f, 1);
}

void drawLabel(KText* font, const std::string& text, float x, float y) {
    font->drawStringF(text.c_str(), x, y, 0, 1);
}

} // namespace

void drawHud(const LevelGoals& goals, const HudFigures& figures) {
    KText* font = getFont(kHudFont);
    if (goals.gameMode == kGameModeRace) {
        drawPanel(kGameWidth - 215, 18, kGameWidth - 10, 78);
        if (!font) return;
        drawLabel(font, "Time: " + formatTime(figures.levelTime), 642, 28);
        drawLabel(font, "Best Time: " + formatTime(figures.bestTime), 593, 52);
    } else if (goals.gameMode == kGameModeStunt) {
        drawPanel(kGameWidth - 230, 18, kGameWidth - 10, 100);
        if (!font) return;
        drawLabel(font, "Score: " + intToString(figures.bankedScore), 625, 25);
        drawLabel(font, "Best Score: " + intToString(figures.bestScore), 576, 49);
        drawLabel(font, "Time Left: " + formatTime(std::max(0.0, goals.timeLimit - figures.levelTime)), 585, 74);
    }
}
