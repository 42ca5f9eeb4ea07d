// The window frame's picture and draw.
#include "WindowFrame.h"

#include "GameWindow.h"
#include "KGraphic.h"
#include "SpriteSheet.h"
#include "SpriteSheetLayouts.h"

#include <memory>

namespace {

std::unique_ptr<SpriteSheet> windowFrame;

constexpr int kCell = kWindowFrameSheet.gridWidth;
enum FrameCell { kTopLeft, kTopRight, kBottomRight, kBottomLeft, kTop, kRight, kBottom, kLeft };

} // namespace

void loadWindowFrame() {
    if (windowFrame) return;
    windowFrame = std::make_unique<SpriteSheet>(kWindowFrameSheet.file, 1, 1);
    windowFrame->addLayoutFrames(kWindowFrameSheet);
}

void freeWindowFrame() {
    windowFrame.reset();
}

SpriteSheet* getWindowFrame() {
    return windowFrame.get();
}

void drawWindowFrame(int x, int y, int w, int h) {
    x = x / 2 * 2;
    y = y / 2 * 2;
    w = w / 2 * 2;
    h = h / 2 * 2;
    const int across = w / kCell, down = h / kCell;
    const int x2 = x + across * kCell - kCell, y2 = y + down * kCell - kCell;
    if (sharedGraphic)
        sharedGraphic->fillRect(float(x + 8), float(y + 8), float(x2 + 8), float(y2 + 8), 0, 0, 0.2f, 0.8f);
    SpriteSheet* sheet = windowFrame.get();
    if (!sheet) return;
    sheet->drawFrame(kTopLeft, x, y, false, false);
    sheet->drawFrame(kTopRight, x2, y, false, false);
    sheet->drawFrame(kBottomRight, x2, y2, false, false);
    sheet->drawFrame(kBottomLeft, x, y2, false, false);
    for (int i = 1; i <= across - 2; i++) {
        sheet->drawFrame(kTop, x + kCell * i, y, false, false);
        sheet->drawFrame(kBottom, x + kCell * i, y2, false, false);
    }
    for (int i = 1; i <= down - 2; i++) {
        sheet->drawFrame(kLeft, x, y + kCell * i, false, false);
        sheet->drawFrame(kRight, x2, y + kCell * i, false, false);
    }
}
