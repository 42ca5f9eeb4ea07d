// The engine's own mouse cursor (a 16 x 23 arrow kept in the program as PNG bytes), and the preparation of
// the input functions when a window opens: key lookup, mouse mapping and the cursor picture.
#pragma once

#include <cstddef>

class KWindow;
class KGraphic;

extern const unsigned char kEngineCursorPng[];
extern const size_t kEngineCursorPngSize;

// When a window opens: fills the engine key lookup, makes the mouse functions serve the window with a fresh
// mapping, and (re)makes the cursor picture through the renderer factory, linearly filtered.
void prepareInput(KWindow* window);
// When the window closes: deletes the cursor picture and leaves the mouse functions without a window.
void releaseInput();
// Default world view, then the cursor with its tip at the rounded mouse position.
void drawEngineCursor();
KGraphic* getEngineCursorPicture();
