// The editor's tile painting tool: the brush list, the terrain palette of six brush groups and the eraser,
// and the painting of the current brush into the current layer under the mouse.
#include "EditorPanels.h"
#include "GF_LevelEditor.h"
#include "InputState.h"
#include "TileLayer.h"

#include <cmath>

namespace {

struct PaletteRow {
    const char* caption;
    int y;
    std::vector<int> brushes;
};

std::vector<int> brushRange(int first, int last) {
    std::vector<int> range;
    for (int i = first; i <= last; i++) range.push_back(i);
    return range;
}

std::vector<PaletteRow> paletteRows() {
    std::vector<int> water = {1, 2};
    for (int i = 16; i <= 22; i++) water.push_back(i);
    return {{"Sky", 20, brushRange(49, 53)}, {"Island", 40, brushRange(54, 62)}, {"Water", 60, water},
            {"Sand", 80, brushRange(3, 15)}, {"Rock", 100, brushRange(23, 48)},  {"Coral", 120, brushRange(69, 94)}};
}

// The cell under a screen point on a layer: the camera scaled by the layer's parallax, truncated towards zero.
int32_t cellUnder(double camera, double scroll, int mouse) {
    return int32_t(std::trunc((camera * scroll + mouse) / 64.0));
}

} // namespace

void GF_LevelEditor::buildTileBrushes() {
    brushes = buildTileBrushList();
}

void GF_LevelEditor::freeTileBrushes() {
    currentBrush = nullptr;
    brushes.clear();
}

void GF_LevelEditor::buildTerrainPalette() {
    freeTerrainPalette();
    for (const PaletteRow& row : paletteRows()) {
        auto group = std::make_unique<TilePaletteGroup>(row.caption, row.y);
        for (int index : row.brushes) group->addTile(brushes[size_t(index)].get());
        paletteGroups.push_back(std::move(group));
    }
    eraserButton = std::make_unique<EditorButton>(20, 140, 100, 15, "Eraser");
}

void GF_LevelEditor::freeTerrainPalette() {
    paletteGroups.clear();
    eraserButton.reset();
}

TilePainter GF_LevelEditor::tilePainter() const {
    TilePainter painter(brushes);
    painter.autoTile = isAutoTileOn();
    painter.autoCollision = isAutoCollisionOn();
    return painter;
}

bool GF_LevelEditor::isOverTerrainPalette(int x, int y) const {
    PanelArea column;
    for (const auto& group : paletteGroups) {
        column.add(group->caption);
        if (group->caption.selected && group->strip.area().contains(x, y)) return true;
    }
    if (eraserButton) column.add(*eraserButton);
    return column.contains(x, y);
}

void GF_LevelEditor::updateTilePainting() {
    const int mx = MouseState.x, my = MouseState.y;
    if (!MouseState.leftNow || isOverTerrainPalette(mx, my) || isOverLayerList(mx, my)) {
        lastPaintedCol = lastPaintedRow = -1;
    } else if (currentLayer && currentBrush) {
        const int32_t col = cellUnder(cameraX, currentLayer->scrollX, mx);
        const int32_t row = cellUnder(cameraY, currentLayer->scrollY, my);
        if ((col != lastPaintedCol || row != lastPaintedRow) && currentLayer->grid.contains(col, row)) {
            tilePainter().paintTile(*currentLayer, col, row, *currentBrush);
            lastPaintedCol = col;
            lastPaintedRow = row;
        }
    }

    for (size_t i = 0; i < paletteGroups.size(); i++) {
        TilePaletteGroup& group = *paletteGroups[i];
        group.caption.update();
        group.clickedIndex = -1;
        if (group.caption.selected) {
            group.strip.update();
            group.clickedIndex = group.strip.clickedIndex;
            if (group.clickedIndex >= 0) group.caption.selected = 0;
        }
        if (group.caption.becameSelected())
            for (size_t other = 0; other < paletteGroups.size(); other++)
                if (other != i) paletteGroups[other]->caption.selected = 0;
        if (group.clickedIndex >= 0 && size_t(group.clickedIndex) < group.brushes.size())
            currentBrush = group.brushes[size_t(group.clickedIndex)];
    }

    eraserButton->update();
    if (eraserButton->clicked) {
        currentBrush = brushes.front().get();
        for (auto& group : paletteGroups) group->caption.selected = 0;
    }
}

void GF_LevelEditor::drawTerrainPalette() const {
    for (const auto& group : paletteGroups) group->draw();
    if (eraserButton) eraserButton->draw();
}
