// The mouse functions over the host's cursor position, in the game window's back-buffer pixels.
#include "KMouse.h"

#include "HostInput.h"
#include "KWindow.h"

namespace {
KWindow* mouseWindow = nullptr;
int viewOffsetX = 0;
int viewOffsetY = 0;
float viewScale = 1.0f;
short wheelDelta = 0;
bool touchEmulation = false;
int emulatedX = 0;
int emulatedY = 0;
bool touchDown = false;

bool readCursor(int& x, int& y) {
    return host::getCursorPos(mouseWindow->getWindowHandle(), x, y);
}
} // namespace

int mapWindowToGame(int position, int offset, float scale) {
    return int(float(position - offset) * scale);
}

int mapWindowToGameRounded(int position, int offset, float scale) {
    return int((float(position) + 0.5f - float(offset)) * scale);
}

int mapGameToWindow(int position, int offset, float scale) {
    return int(float(position) / scale + float(offset));
}

int getMouseX() {
    if (!mouseWindow) return 0;
    if (touchEmulation) return emulatedX;
    int x, y;
    readCursor(x, y);
    return mapWindowToGame(x, viewOffsetX, viewScale);
}

int getMouseY() {
    if (!mouseWindow) return 0;
    if (touchEmulation) return emulatedY;
    int x, y;
    readCursor(x, y);
    return mapWindowToGame(y, viewOffsetY, viewScale);
}

int getMouseXRounded() {
    if (!mouseWindow) return 0;
    int x, y;
    readCursor(x, y);
    return mapWindowToGameRounded(x, viewOffsetX, viewScale);
}

int getMouseYRounded() {
    if (!mouseWindow) return 0;
    int x, y;
    readCursor(x, y);
    return mapWindowToGameRounded(y, viewOffsetY, viewScale);
}

void setMousePosition(int x, int y) {
    if (!mouseWindow) return;
    host::setCursorPos(mouseWindow->getWindowHandle(), mapGameToWindow(x, viewOffsetX, viewScale),
                       mapGameToWindow(y, viewOffsetY, viewScale));
}

bool setViewMapping(int offsetX, int offsetY, float scale) {
    bool changed = offsetX != viewOffsetX || offsetY != viewOffsetY || scale != viewScale;
    viewOffsetX = offsetX;
    viewOffsetY = offsetY;
    viewScale = scale;
    return changed;
}

int showSystemCursor(bool show) {
    return host::showCursor(show);
}

short getMouseWheel() {
    return wheelDelta;
}

void setMouseWheel(short delta) {
    wheelDelta = delta;
}

void setMouseWindow(KWindow* window) {
    mouseWindow = window;
    viewOffsetX = viewOffsetY = 0;
    viewScale = 1.0f;
    wheelDelta = 0;
}

KWindow* getMouseWindow() {
    return mouseWindow;
}

void setMouseTouchEmulation(bool on) {
    touchEmulation = on;
}

void setEmulatedPointer(int x, int y) {
    emulatedX = x;
    emulatedY = y;
}

void setTouchDown(bool down) {
    touchDown = down;
}

bool isTouchDown() {
    return touchDown;
}
