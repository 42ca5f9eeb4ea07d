// The level editor's placement markers: each placed object shown by its kind's name in a tinted box.
#include "BitmapFonts.h"
#include "DrawTools.h"
#include "EntityType.h"
#include "GameWindow.h"
#include "KGraphic.h"
#include "KText.h"
#include "PlacementList.h"
#include "TileMap.h"
#include "WholePixels.h"

void drawPlacementMarker(const EntityPlacement& record, double cameraX, double cameraY) {
    const int sx = wholePixels(record.x - cameraX), sy = wholePixels(record.y - cameraY);
    if (sx < -99 || sx >= kGameWidth + 100 || sy < -14 || sy >= kGameHeight + 15) return;
    KText* font = getFont(0);
    if (!font || !sharedGraphic) return;
    const char* name = entityTypeName(record.type);
    const int w = int(font->getStringWidth(name)), h = font->getHeight();
    const float x1 = float(sx - w / 2.0 - 4), y1 = float(sy - h / 2.0 - 4);
    const float x2 = float(sx + w / 2.0 + 4), y2 = float(sy + h / 2.0 + 4);
    // The same overlay alpha as the editor's substance view.
    const float a = float(substanceOverlayAlpha);
    sharedGraphic->fillRect(x1, y1, x2, y2, 1, a, a, a);
    font->drawString(name, sx - w / 2, sy - h / 2);
    drawRectOutline(x1, y1, x2, y2, 1, 1, 1, 1);
}

void PlacementList::drawPlacementMarkers(double cameraX, double cameraY) const {
    for (const auto& record : list) drawPlacementMarker(*record, cameraX, cameraY);
}
