// The editor's collision and substance painting tools: their button lists, the painting of the chosen code
// into the collision or substance grid under the mouse, and the collision overlay.
#include "CollisionShape.h"
#include "GF_LevelEditor.h"
#include "GameWindow.h"
#include "InputState.h"
#include "TileMap.h"

#include <algorithm>
#include <cmath>

namespace {

using ToggleList = std::vector<std::unique_ptr<EditorToggleButton>>;

// Steps 1 to 6 shared by both tools: one button at most stays selected, and a held button off the column of
// buttons (the gaps between them included) and off the layer list writes the selected code into the grid
// cell under the mouse.
void paintGridCell(const GF_LevelEditor& editor, ToggleList& buttons, int32_t& selected, ByteGrid& grid) {
    for (auto& button : buttons) button->update();
    for (auto& button : buttons)
        if (button->becameSelected())
            for (auto& other : buttons)
                if (other != button) other->selected = 0;
    selected = -1;
    for (size_t i = 0; i < buttons.size(); i++)
        if (buttons[i]->selected) selected = int32_t(i);
    const int mx = MouseState.x, my = MouseState.y;
    PanelArea panel;
    for (const auto& button : buttons) panel.add(*button);
    if (!MouseState.leftNow || panel.contains(mx, my) || editor.isOverLayerList(mx, my)) return;
    const int32_t col = int32_t(std::trunc((mx + editor.cameraX) / 64.0));
    const int32_t row = int32_t(std::trunc((my + editor.cameraY) / 64.0));
    if (selected != -1 && grid.contains(col, row)) grid.set(col, row, uint8_t(selected));
}

constexpr const char* kSubstanceCaptions[] = {"Water", "Air", "Transition"};

} // namespace

void GF_LevelEditor::buildCollisionShapeList() {
    freeCollisionShapeList();
    for (int code = 0; code < kCollisionShapeCount; code++)
        collisionButtons.push_back(
            std::make_unique<EditorToggleButton>(20, 20 + 20 * code, 130, 15, getCollisionShapeName(code), true));
}

void GF_LevelEditor::freeCollisionShapeList() {
    collisionButtons.clear();
    selectedCollision = -1;
}

void GF_LevelEditor::buildSubstanceButtons() {
    freeSubstanceButtons();
    for (int code = 0; code < 3; code++)
        substanceButtons.push_back(
            std::make_unique<EditorToggleButton>(20, 20 + 20 * code, 100, 15, kSubstanceCaptions[code], true));
}

void GF_LevelEditor::freeSubstanceButtons() {
    substanceButtons.clear();
    selectedSubstance = -1;
}

void GF_LevelEditor::updateCollisionPainting() {
    paintGridCell(*this, collisionButtons, selectedCollision, tileMap.collisionGrid);
}

void GF_LevelEditor::updateSubstancePainting() {
    paintGridCell(*this, substanceButtons, selectedSubstance, tileMap.substanceGrid);
}

void GF_LevelEditor::drawCollisionButtons() const {
    for (const auto& button : collisionButtons) button->draw();
}

void GF_LevelEditor::drawSubstanceButtons() const {
    for (const auto& button : substanceButtons) button->draw();
}

void GF_LevelEditor::drawCollisionOverlay(double viewX, double viewY) const {
    const ByteGrid& grid = tileMap.collisionGrid;
    const int32_t firstRow = int32_t(std::trunc(viewY / 64)), firstCol = int32_t(std::trunc(viewX / 64));
    const int offY = int(std::trunc(viewY - 64.0 * firstRow)), offX = int(std::trunc(viewX - 64.0 * firstCol));
    const int32_t colEnd = std::min(grid.cols(), firstCol + kGameWidth / 64 + 2);
    const int32_t rowEnd = std::min(grid.rows(), firstRow + kGameHeight / 64 + 2);
    for (int32_t row = std::max(firstRow, 0); row < rowEnd; row++)
        for (int32_t col = std::max(firstCol, 0); col < colEnd; col++) {
            CollisionShape* shape = getCollisionShape(grid.get(col, row));
            if (!shape || !shape->hasRects()) continue;
            shape->drawOutline(double((col - firstCol) * 64 - offX), double((row - firstRow) * 64 - offY));
        }
}
