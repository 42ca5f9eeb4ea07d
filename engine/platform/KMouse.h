// The mouse functions: window pixels (back-buffer pixels of the game window) to game coordinates and back,
// the view mapping the window keeps up to date as the game area moves, the wheel, and the emulated pointer
// that touch emulation moves.
#pragma once

class KWindow;

// The mapping itself: game = trunc((p - offset) x scale); the rounded form adds half a pixel first;
// the inverse gives the window pixel of a game coordinate.
int mapWindowToGame(int position, int offset, float scale);
int mapWindowToGameRounded(int position, int offset, float scale);
int mapGameToWindow(int position, int offset, float scale);

// 0 without a window; the emulated pointer while touch emulation is on; else the cursor, mapped.
int getMouseX();
int getMouseY();
// Always the real cursor, mapped with half-pixel rounding (the window's event records use these).
int getMouseXRounded();
int getMouseYRounded();
// Moves the pointer to a game position; nothing without a window.
void setMousePosition(int x, int y);
// Stores the mapping; true when the offset or the scale changed.
bool setViewMapping(int offsetX, int offsetY, float scale);

// The system cursor's display counter: +1 (show) or -1 (hide) per call, returns the new count; the cursor
// is visible while the count is >= 0. Callers loop until the count is where they want it.
int showSystemCursor(bool show);

short getMouseWheel();
void setMouseWheel(short delta);

// The window the functions serve (null: none): set when a window opens, cleared when it closes. Setting it
// resets the mapping (offset 0, scale 1) and the wheel.
void setMouseWindow(KWindow* window);
KWindow* getMouseWindow();

// Touch emulation: the flag (a copy of the window's), the emulated pointer and the touch-down state.
void setMouseTouchEmulation(bool on);
void setEmulatedPointer(int x, int y);
void setTouchDown(bool down);
bool isTouchDown();
