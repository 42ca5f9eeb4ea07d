// Drawing helpers over the shared drawing object (GameWindow.h); they draw nothing while it does not exist.
#pragma once

// Four lines: top, bottom, left, right.
void drawRectOutline(float x1, float y1, float x2, float y2, float r, float g, float b, float a);
