// The game's own mouse cursor (the system cursor stays hidden for the whole run): which picture is drawn this
// frame, set by the widgets and screens during their update, and where it goes.
#pragma once

#include <cstdint>

enum CursorKindValue : int32_t { kCursorArrow = 0, kCursorCrosshair = 1, kCursorHand = 2 };
extern int32_t CursorKind; // reset to the arrow every pass before the current state's update

// The sprite sheet of a cursor kind and the top-left corner its frame 0 is drawn at; sheet -1 draws nothing.
struct CursorPlacement {
    int sheet;
    int x, y;
};
CursorPlacement mouseCursorPlacement(int32_t kind, int mouseX, int mouseY);

// Draws frame 0 of a sprite sheet, unflipped, with its top-left corner at (x, y). Installed by the sprite-sheet
// table once the sheets are loaded (and removed with null when they are freed); no cursor is drawn without it.
using SheetFrameDrawer = void (*)(int sheet, int frame, int x, int y);
void setSheetFrameDrawer(SheetFrameDrawer drawer);

// The cursor of the current CursorKind at the mouse point.
void drawMouseCursor();
