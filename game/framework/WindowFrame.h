// The framed window box of the menus: a dark blue translucent fill inside a border of 16-pixel cells cut
// from "windowframe.png" (corners 0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left; edges 4 top,
// 5 right, 6 bottom, 7 left). One frame picture serves every screen.
#pragma once

class SpriteSheet;

void loadWindowFrame();
void freeWindowFrame();
SpriteSheet* getWindowFrame(); // null unless loaded
// The box at (x, y), w x h, taken down to even numbers and whole cells.
void drawWindowFrame(int x, int y, int w, int h);
