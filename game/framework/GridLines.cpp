// The editor grid lines.
#include "GridLines.h"

#include "GameWindow.h"
#include "KGraphic.h"

namespace {

constexpr int kGridStep = 64;

// The screen position of the first line: the layer offset's whole cells, less the offset.
int firstLine(double offset) {
    return int(double(int(offset) / kGridStep * kGridStep) - offset);
}

} // namespace

void drawGridLines(double cameraX, double cameraY, double scrollX, double scrollY) {
    if (!sharedGraphic) return;
    for (int x = firstLine(cameraX * scrollX); x < kGameWidth; x += kGridStep)
        sharedGraphic->drawLine(float(x), 0, float(x), float(kGameHeight), 1, 0, 0, 0.5f);
    for (int y = firstLine(cameraY * scrollY); y < kGameHeight; y += kGridStep)
        sharedGraphic->drawLine(0, float(y), float(kGameWidth), float(y), 1, 0, 0, 0.5f);
}
