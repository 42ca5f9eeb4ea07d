// The level's terrain: the default level, resizing, the clip level and the world queries.
#include "TileMap.h"

#include "CheatList.h"
#include "GameWindow.h"
#include "KGraphic.h"

#include <algorithm>
#include <cmath>

TileMap tileMap;
double substanceOverlayAlpha = 0.5;

namespace {

struct LayerSetting {
    double scrollX, scrollY;
    bool clippedToWater; // drawn only below the clip level
};

constexpr LayerSetting kLayerSettings[kTileLayerCount] = {
    {0, 0, true},     {0, 1, false},                                 // Back Water, Back Air
    {0.5, 0.5, true}, {0.5, 1, false},                               // Mid Water, Mid Air
    {1, 1, false},    {1, 1, false},   {1, 1, false}, {1, 1, false}, // Front 1 .. 4
};

} // namespace

TileLayer* getTileLayer(int id) {
    if (id < 0 || id >= kTileLayerCount) return nullptr;
    return tileMap.layers[size_t(id)].get();
}

void createTileMap() {
    tileMap.levelWidth = 10000;
    tileMap.levelHeight = 5000;
    tileMap.clipLevel = 1500;
    tileMap.boundsLeft = 0;
    tileMap.boundsRight = 10000;
    tileMap.boundsTop = 0;
    tileMap.boundsBottom = 5000;
    tileMap.levelLoaded = false;
    for (int id = 0; id < kTileLayerCount; id++) {
        const LayerSetting& s = kLayerSettings[id];
        tileMap.layers[size_t(id)] =
            std::make_unique<TileLayer>(-1.0, s.clippedToWater ? tileMap.clipLevel : -1.0, s.scrollX, s.scrollY);
    }
    const TileGrid& front = tileMap.layers[kLayerFront4]->grid;
    tileMap.collisionGrid.reset(front.cols(), front.rows());
    tileMap.substanceGrid.reset(front.cols(), front.rows());
}

void releaseTileMap() {
    for (auto& layer : tileMap.layers) layer.reset();
    tileMap.collisionGrid.reset(0, 0);
    tileMap.substanceGrid.reset(0, 0);
}

void setLevelSize(double width, double height) {
    tileMap.levelWidth = width;
    tileMap.levelHeight = height;
    for (auto& layer : tileMap.layers)
        if (layer) layer->fitToLevel(width, height);
    const TileLayer* front = tileMap.layers[kLayerFront4].get();
    if (!front) return;
    tileMap.collisionGrid.resize(front->grid.cols(), front->grid.rows());
    tileMap.substanceGrid.resize(front->grid.cols(), front->grid.rows());
}

void setClipLevel(double y) {
    tileMap.clipLevel = y;
    const double line = std::trunc(y);
    for (auto& layer : tileMap.layers) {
        if (!layer) continue;
        if (layer->clipBelowY >= 0) layer->clipBelowY = line;
        if (layer->clipAboveY >= 0) layer->clipAboveY = line;
    }
}

bool isInsideLevel(double x, double y) {
    return x >= 0 && x <= tileMap.levelWidth - kTileSize && y >= 0 && y <= tileMap.levelHeight - kTileSize;
}

int getSubstanceAt(double x, double y) {
    if (!isInsideLevel(x, y)) return kSubstanceAir;
    const int32_t col = cellOfCoordinate(x), row = cellOfCoordinate(y);
    // A grid smaller than the level (it is fitted to the level after every read) answers air past its edge.
    if (!tileMap.substanceGrid.contains(col, row)) return kSubstanceAir;
    const uint8_t code = tileMap.substanceGrid.get(col, row);
    if (code == kSubstanceTransition)
        return int32_t(std::fmod(std::trunc(y), kTileSize)) < kTileSize / 2 ? kSubstanceAir : kSubstanceWater;
    // Only water and air are media; a code the editor never paints counts as air.
    return code == kSubstanceWater ? kSubstanceWater : kSubstanceAir;
}

void findWaterSurface(double x, double y, double& outX, double& outY) {
    outX = x;
    outY = y;
    const int32_t col = cellOfCoordinate(x);
    int32_t row = cellOfCoordinate(y);
    const ByteGrid& grid = tileMap.substanceGrid;
    for (int look = 0; look < 3; look++) {
        if (!grid.contains(col, row)) return;
        const uint8_t code = grid.get(col, row);
        if (code == kSubstanceTransition) {
            outY = double(row) * kTileSize + kTileSize / 2;
            return;
        }
        row += code == kSubstanceWater ? -1 : 1;
    }
}

double getGravity() {
    if (isCheatOn(kCheatLowGravity)) return 400;
    if (isCheatOn(kCheatHighGravity)) return 1600;
    return 800;
}

void drawSubstanceOverlay(double cameraX, double cameraY) {
    if (!sharedGraphic) return;
    const ByteGrid& grid = tileMap.substanceGrid;
    const int32_t firstCol = int32_t(std::trunc(cameraX / kTileSize));
    const int32_t firstRow = int32_t(std::trunc(cameraY / kTileSize));
    const int offX = int(std::trunc(cameraX - firstCol * double(kTileSize)));
    const int offY = int(std::trunc(cameraY - firstRow * double(kTileSize)));
    const int32_t colTo = std::min(firstCol + kGameWidth / kTileSize + 1, grid.cols() - 1);
    const int32_t rowTo = std::min(firstRow + kGameHeight / kTileSize + 1, grid.rows() - 1);
    const float a = float(substanceOverlayAlpha);
    for (int32_t row = std::max(firstRow, 0); row <= rowTo; row++) {
        const float top = float((row - firstRow) * kTileSize - offY);
        for (int32_t col = std::max(firstCol, 0); col <= colTo; col++) {
            const float left = float((col - firstCol) * kTileSize - offX);
            const float right = left + kTileSize, bottom = top + kTileSize, middle = top + kTileSize / 2;
            switch (grid.get(col, row)) {
            case kSubstanceWater:
                sharedGraphic->fillRect(left, top, right, bottom, 0, 0, 1, a);
                break;
            case kSubstanceAir:
                sharedGraphic->fillRect(left, top, right, bottom, 1, 1, 1, a);
                break;
            case kSubstanceTransition:
                sharedGraphic->fillRect(left, top, right, middle, 1, 1, 1, a);
                sharedGraphic->fillRect(left, middle, right, bottom, 0, 0, 1, a);
                break;
            default:
                break; // a code the editor never paints shows nothing
            }
        }
    }
}
