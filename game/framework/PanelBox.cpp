// The panel box.
#include "PanelBox.h"

#include "DrawTools.h"
#include "GameWindow.h"
#include "KGraphic.h"

void drawPanelBox(int x, int y, int w, int h) {
    const float l = float(x), t = float(y), r = float(x + w), b = float(y + h);
    if (sharedGraphic) sharedGraphic->fillRect(l, t, r, b, 0.8f, 0.8f, 0.8f, 1);
    drawRectOutline(l, t, r, b, 0, 0, 0, 1);
}
