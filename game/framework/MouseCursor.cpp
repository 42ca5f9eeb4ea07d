// The game cursor's kinds and placement.
#include "MouseCursor.h"

#include "InputState.h"

int32_t CursorKind = kCursorArrow;

namespace {
SheetFrameDrawer sheetFrameDrawer = nullptr;

constexpr int kArrowSheet = 28;     // "arrowcursor.png": the tip at its top-left pixel
constexpr int kCrosshairSheet = 29; // "crosshaircursor.png": 32 x 32, centred
constexpr int kHandSheet = 30;      // "hand.png": the fingertip 12 pixels in
} // namespace

CursorPlacement mouseCursorPlacement(int32_t kind, int mouseX, int mouseY) {
    switch (kind) {
    case kCursorArrow:
        return {kArrowSheet, mouseX, mouseY};
    case kCursorCrosshair:
        return {kCrosshairSheet, mouseX - 16, mouseY - 16};
    case kCursorHand:
        return {kHandSheet, mouseX - 12, mouseY};
    default:
        return {-1, mouseX, mouseY};
    }
}

void setSheetFrameDrawer(SheetFrameDrawer drawer) {
    sheetFrameDrawer = drawer;
}

void drawMouseCursor() {
    const CursorPlacement placement = mouseCursorPlacement(CursorKind, MouseState.x, MouseState.y);
    if (placement.sheet < 0 || !sheetFrameDrawer) return;
    sheetFrameDrawer(placement.sheet, 0, placement.x, placement.y);
}
