// Rectangle outlines on the shared drawing object.
#include "DrawTools.h"

#include "GameWindow.h"
#include "KGraphic.h"

void drawRectOutline(float x1, float y1, float x2, float y2, float r, float g, float b, float a) {
    if (!sharedGraphic) return;
    sharedGraphic->drawLine(x1, y1, x2, y1, r, g, b, a);
    sharedGraphic->drawLine(x1, y2, x2, y2, r, g, b, a);
    sharedGraphic->drawLine(x1, y1, x1, y2, r, g, b, a);
    sharedGraphic->drawLine(x2, y1, x2, y2, r, g, b, a);
}
