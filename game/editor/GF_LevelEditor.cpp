// The level editor state: enter, leave, update and draw, the layer list, the editor camera, the function
// keys and the view aids. The tools' own work lives in the LevelEditor*.cpp files beside this one.
#include "GF_LevelEditor.h"

#include "BitmapFonts.h"
#include "CollisionShape.h"
#include "EditorPanels.h"
#include "FrameClock.h"
#include "GameWindow.h"
#include "GridLines.h"
#include "InputState.h"
#include "KGraphic.h"
#include "KText.h"
#include "LevelFile.h"
#include "PlacementList.h"
#include "ProgramStates.h"
#include "TileDefinition.h"
#include "TileMap.h"

#include <cmath>
#include <cstdio>

namespace {

// The virtual keys the editor polls directly.
constexpr int kKeyShift = 0x10;
constexpr int kKeyLeft = 0x25, kKeyUp = 0x26, kKeyRight = 0x27, kKeyDown = 0x28;
constexpr int kKeyF1 = 0x70, kKeyF2 = 0x71;

struct LayerRow {
    const char* caption;
    int layer; // the tile layer a row paints, -1 for the rows of the other tools
    int tool;
    bool visibleAtEnter;
};

constexpr std::array<LayerRow, kLayerListRows> kLayerRows = {{
    {"Back Water", kLayerBackWater, kToolTiles, true},
    {"Back Air", kLayerBackAir, kToolTiles, true},
    {"Mid Water", kLayerMidWater, kToolTiles, true},
    {"Mid Air", kLayerMidAir, kToolTiles, true},
    {"Front 1", kLayerFront1, kToolTiles, true},
    {"Front 2", kLayerFront2, kToolTiles, true},
    {"Front 3", kLayerFront3, kToolTiles, true},
    {"Front 4", kLayerFront4, kToolTiles, true},
    {"Collision", -1, kToolCollision, false},
    {"Substance", -1, kToolSubstance, false},
    {"Entities", -1, kToolEntities, true},
    {"Special", kLayerFront4, kToolProperties, false},
}};

// Further from the screen than any text reaches, and well inside what an int holds.
constexpr double kFarOffScreen = 1e6;

constexpr int kLayerListTop = 360, kLayerListStep = 17;
constexpr int kLayerButtonX = 680, kLayerButtonWidth = 100, kVisibilityX = 664, kLayerButtonHeight = 15;

} // namespace

GF_LevelEditor::GF_LevelEditor() = default;
GF_LevelEditor::~GF_LevelEditor() = default;

void GF_LevelEditor::enter() {
    cameraX = 0;
    cameraY = 550;
    lastPaintedCol = lastPaintedRow = -1;
    keyScrollSpeed = 1600;
    edgeMargin = 2;
    edgeScrollSpeed = 500;
    f1WasDown = isGameKeyDown(kKeyF1);
    f2WasDown = isGameKeyDown(kKeyF2);
    buildTileBrushes();
    currentLayer = nullptr;
    currentBrush = brushes.front().get();
    buildTerrainPalette();
    buildCollisionShapeList();
    buildSubstanceButtons();
    buildLevelPropertiesPanel();
    buildEntityPanel();
    buildLayerList();
    currentTool = kToolNone;
    if (!tileMap.levelLoaded) loadDefaultLevel();
}

void GF_LevelEditor::leave() {
    freeTileBrushes();
    freeTerrainPalette();
    freeCollisionShapeList();
    freeSubstanceButtons();
    freeLevelPropertiesPanel();
    freeEntityPanel();
    freeLayerList();
}

void GF_LevelEditor::update() {
    if (layerButtons.empty()) return; // not entered
    updateAnimatedTiles();
    updateEditorCamera();
    updateLayerList();
    updateAutoToggleKeys();
    switch (currentTool) {
    case kToolTiles:
        updateTilePainting();
        break;
    case kToolCollision:
        updateCollisionPainting();
        break;
    case kToolSubstance:
        updateSubstancePainting();
        break;
    case kToolEntities:
        updateEntityPanel();
        break;
    case kToolProperties:
        updateLevelPropertiesPanel();
        break;
    default:
        break;
    }
    // The back key closes the dialog on the screen as its "Cancel" would; with none shown it leaves the editor.
    if (backKeyReleased() && !closeShownDialog()) requestProgramState(kStateMainMenu, kLeaveAndEnter);
}

bool GF_LevelEditor::closeShownDialog() {
    if (currentTool == kToolEntities && dialogOpen) {
        closeEntityDialog();
        return true;
    }
    return currentTool == kToolProperties && closePropertyDialog();
}

void GF_LevelEditor::draw() {
    if (layerButtons.empty()) return;
    if (sharedGraphic) sharedGraphic->fillRect(0, 0, float(kGameWidth), float(kGameHeight), 1, 0, 1, 1);
    for (int row = 0; row < kTileLayerCount; row++)
        if (layerVisible(row))
            if (const TileLayer* layer = getTileLayer(kLayerRows[size_t(row)].layer)) layer->draw(cameraX, cameraY);
    if (layerVisible(kLayerRowCollision)) drawCollisionOverlay(cameraX, cameraY);
    if (layerVisible(kLayerRowSubstance)) {
        substanceOverlayAlpha = 0.5;
        drawSubstanceOverlay(cameraX, cameraY);
    }
    if (layerVisible(kLayerRowEntities)) Placements.drawPlacementMarkers(cameraX, cameraY);
    drawGrid();
    drawLevelBounds();
    drawEndMarker();
    drawCursorCoordinates();
    switch (currentTool) {
    case kToolTiles:
        drawTerrainPalette();
        break;
    case kToolCollision:
        drawCollisionButtons();
        break;
    case kToolSubstance:
        drawSubstanceButtons();
        break;
    case kToolEntities:
        drawEntityPanel();
        break;
    case kToolProperties:
        drawLevelPropertiesPanel();
        break;
    default:
        break;
    }
    drawLayerList();
}

bool GF_LevelEditor::layerVisible(int row) const {
    return size_t(row) < visibilityButtons.size() && visibilityButtons[size_t(row)]->selected;
}

void GF_LevelEditor::buildLayerList() {
    freeLayerList();
    for (int i = 0; i < kLayerListRows; i++) {
        const int y = kLayerListTop + kLayerListStep * i;
        const LayerRow& row = kLayerRows[size_t(i)];
        layerButtons.push_back(std::make_unique<EditorToggleButton>(kLayerButtonX, y, kLayerButtonWidth,
                                                                    kLayerButtonHeight, row.caption, true));
        auto visibility =
            std::make_unique<EditorToggleButton>(kVisibilityX, y, kLayerButtonHeight, kLayerButtonHeight, "0", true);
        visibility->selected = row.visibleAtEnter;
        visibilityButtons.push_back(std::move(visibility));
    }
}

void GF_LevelEditor::freeLayerList() {
    layerButtons.clear();
    visibilityButtons.clear();
}

void GF_LevelEditor::updateLayerList() {
    for (int i = 0; i < kLayerListRows; i++) {
        layerButtons[size_t(i)]->update();
        visibilityButtons[size_t(i)]->update();
    }
    for (int i = 0; i < kLayerListRows; i++) {
        if (!layerButtons[size_t(i)]->becameSelected()) continue;
        for (int other = 0; other < kLayerListRows; other++)
            if (other != i) layerButtons[size_t(other)]->selected = 0;
        visibilityButtons[size_t(i)]->selected = 1;
    }
    currentTool = kToolNone;
    for (int i = 0; i < kLayerListRows; i++) {
        if (!layerButtons[size_t(i)]->selected) continue;
        const LayerRow& row = kLayerRows[size_t(i)];
        currentTool = row.tool;
        if (row.layer >= 0) currentLayer = getTileLayer(row.layer);
        break;
    }
}

void GF_LevelEditor::drawLayerList() const {
    for (int i = 0; i < int(layerButtons.size()); i++) {
        layerButtons[size_t(i)]->draw();
        visibilityButtons[size_t(i)]->draw();
    }
}

bool GF_LevelEditor::isOverLayerList(int x, int y) const {
    PanelArea area;
    for (const auto& button : layerButtons) area.add(*button);
    for (const auto& button : visibilityButtons) area.add(*button);
    return area.contains(x, y);
}

void GF_LevelEditor::updateEditorCamera() {
    const double factor = isGameKeyDown(kKeyShift) ? 5 : 1;
    const double keyStep = frameTime * keyScrollSpeed * factor;
    if (isGameKeyDown(kKeyLeft)) cameraX -= keyStep;
    if (isGameKeyDown(kKeyRight)) cameraX += keyStep;
    if (isGameKeyDown(kKeyUp)) cameraY -= keyStep;
    if (isGameKeyDown(kKeyDown)) cameraY += keyStep;
    const double edgeStep = frameTime * edgeScrollSpeed * factor;
    if (MouseState.x < edgeMargin) cameraX -= edgeStep;
    if (MouseState.x > kGameWidth - edgeMargin) cameraX += edgeStep;
    if (MouseState.y < edgeMargin) cameraY -= edgeStep;
    if (MouseState.y > kGameHeight - edgeMargin) cameraY += edgeStep;
}

void GF_LevelEditor::updateAutoToggleKeys() {
    const bool f1 = isGameKeyDown(kKeyF1), f2 = isGameKeyDown(kKeyF2);
    if (f1 && !f1WasDown) properties->autoTile.selected = !properties->autoTile.selected;
    if (f2 && !f2WasDown) properties->autoCollision.selected = !properties->autoCollision.selected;
    f1WasDown = f1;
    f2WasDown = f2;
}

void GF_LevelEditor::drawGrid() const {
    if (!isGridOn()) return;
    if (currentTool == kToolTiles && currentLayer)
        drawGridLines(cameraX, cameraY, currentLayer->scrollX, currentLayer->scrollY);
    else if (currentTool == kToolCollision || currentTool == kToolSubstance)
        drawGridLines(cameraX, cameraY, 1, 1);
}

void GF_LevelEditor::drawLevelBounds() const {
    if (!sharedGraphic) return;
    const double viewX = std::trunc(cameraX), viewY = std::trunc(cameraY);
    const float left = float(tileMap.boundsLeft - viewX), right = float(tileMap.boundsRight - viewX);
    const float top = float(tileMap.boundsTop - viewY), bottom = float(tileMap.boundsBottom - viewY);
    sharedGraphic->drawLine(left, 0, left, float(kGameHeight), 1, 1, 1, 1);
    sharedGraphic->drawLine(right, 0, right, float(kGameHeight), 1, 1, 1, 1);
    sharedGraphic->drawLine(0, top, float(kGameWidth), top, 1, 1, 1, 1);
    sharedGraphic->drawLine(0, bottom, float(kGameWidth), bottom, 1, 1, 1, 1);
}

void GF_LevelEditor::drawEndMarker() const {
    const double ex = EndLevelX - cameraX, ey = EndLevelY - cameraY;
    if (sharedGraphic) {
        sharedGraphic->drawLine(float(ex - 30), float(ey - 30), float(ex + 30), float(ey + 30), 1, 0, 0, 1);
        sharedGraphic->drawLine(float(ex - 30), float(ey + 30), float(ex + 30), float(ey - 30), 1, 0, 0, 1);
    }
    // A marker far off the screen (a level file may put it anywhere) has no text to show.
    if (std::fabs(ex) > kFarOffScreen || std::fabs(ey) > kFarOffScreen) return;
    if (KText* font = getFont(1)) {
        const int x = int(std::trunc(ex)), y = int(std::trunc(ey));
        font->drawStringCentered("END LEVEL", x - 10, x + 10, y - 7);
    }
}

void GF_LevelEditor::drawCursorCoordinates() const {
    KText* font = getFont(1);
    if (!font) return;
    const long long worldX = (long long)std::trunc(cameraX) + MouseState.x;
    const long long worldY = (long long)std::trunc(cameraY) + MouseState.y;
    char text[64]; // drawn every frame: no string is built on the heap for it
    std::snprintf(text, sizeof text, "( %lld, %lld )", worldX, worldY);
    font->drawStringRight(text, kGameWidth - 10, 10);
}
