// The editor's level-properties panel: level size, clip level, end marker, tile set, game mode and goals,
// camera bounds, the view and painting switches, and the dialogs that save and load custom levels. The
// fields are copies of the level model, refreshed after every change and written back only by the buttons.
#include "EditorPanels.h"
#include "FolderPaths.h"
#include "GF_LevelEditor.h"
#include "InputState.h"
#include "LevelCatalogue.h"
#include "LevelFile.h"
#include "PanelBox.h"
#include "PlacementList.h"
#include "SpatialGrid.h"
#include "TileMap.h"
#include "TileSetTable.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// A model value as a field's text. The fields read back 32-bit values, and a value from a level file may be any
// finite real: it is shown held to the 32-bit range rather than converted past what an integer holds.
void setInt(EditorTextField& field, double value) {
    field.setInt((long long)std::trunc(std::clamp(value, double(INT32_MIN), double(INT32_MAX))));
}

} // namespace

void GF_LevelEditor::buildLevelPropertiesPanel() {
    properties = std::make_unique<LevelPropertiesWidgets>();
    endMarkerMode = -1;
    refreshPropertyFields();
}

void GF_LevelEditor::freeLevelPropertiesPanel() {
    properties.reset();
}

bool GF_LevelEditor::isGridOn() const {
    return properties && properties->grid.selected;
}

bool GF_LevelEditor::isAutoTileOn() const {
    return properties && properties->autoTile.selected;
}

bool GF_LevelEditor::isAutoCollisionOn() const {
    return properties && properties->autoCollision.selected;
}

void GF_LevelEditor::refreshPropertyFields() {
    LevelPropertiesWidgets& p = *properties;
    setInt(p.widthField, tileMap.levelWidth);
    setInt(p.heightField, tileMap.levelHeight);
    setInt(p.clipField, tileMap.clipLevel);
    p.leftField.setInt(tileMap.boundsLeft);
    p.rightField.setInt(tileMap.boundsRight);
    p.topField.setInt(tileMap.boundsTop);
    p.bottomField.setInt(tileMap.boundsBottom);
    refreshGameModeFields();
}

void GF_LevelEditor::refreshGameModeFields() {
    LevelPropertiesWidgets& p = *properties;
    const LevelGoals& goals = CurrentLevelGoals;
    p.actionMode.selected = goals.gameMode == kGameModeAction;
    p.stuntMode.selected = goals.gameMode == kGameModeStunt;
    p.raceMode.selected = goals.gameMode == kGameModeRace;
    for (size_t i = 0; i < 3; i++) {
        setInt(p.timeFields[i], goals.medalTimes[i]);
        p.scoreFields[i].setInt(goals.medalScores[i]);
    }
    setInt(p.timeLimitField, goals.timeLimit);
}

void GF_LevelEditor::loadDefaultLevel() {
    properties->saveName.setText("");
    properties->loadName.setText("");
    if (loadLevelFileForEditor(getLevelsFolder() + "default.lvl")) closeEntityDialog();
    refreshPropertyFields();
}

void GF_LevelEditor::updateLevelPropertiesPanel() {
    LevelPropertiesWidgets& p = *properties;
    p.widthField.update();
    p.heightField.update();
    p.setDimensions.update();
    p.changeTileSet.update();
    p.gameMode.update();

    if (p.setDimensions.clicked) {
        // At least the screen, at most what the level's grids can hold.
        const double w = std::clamp<double>(p.widthField.intValue(), kGameWidth, kMaxLevelSide);
        const double h = std::clamp<double>(p.heightField.intValue(), kGameHeight, kMaxLevelSide);
        setLevelSize(w, h);
        if (spatialGrid) spatialGrid->resize(w, h);
        refreshPropertyFields();
    }
    if (p.changeTileSet.clicked) {
        currentTileSet = (currentTileSet + 1) % kTileSetCount;
        applyTileSetImages();
    }
    if (p.gameMode.becameSelected()) {
        p.save.selected = p.load.selected = p.bounds.selected = 0;
        refreshGameModeFields();
    }
    if (p.gameMode.selected) {
        p.modeOk.update();
        p.modeCancel.update();
        EditorToggleButton* modes[] = {&p.actionMode, &p.stuntMode, &p.raceMode};
        for (EditorToggleButton* mode : modes) mode->update();
        for (EditorToggleButton* mode : modes)
            if (mode->becameSelected())
                for (EditorToggleButton* other : modes)
                    if (other != mode) other->selected = 0;
        if (p.raceMode.selected)
            for (EditorTextField& field : p.timeFields) field.update();
        if (p.stuntMode.selected) {
            for (EditorTextField& field : p.scoreFields) field.update();
            p.timeLimitField.update();
        }
        if (p.modeOk.clicked) {
            LevelGoals& goals = CurrentLevelGoals;
            // With no mode chosen (the level holds a mode the dialog does not offer) the level keeps its own.
            if (p.actionMode.selected)
                goals.gameMode = kGameModeAction;
            else if (p.stuntMode.selected)
                goals.gameMode = kGameModeStunt;
            else if (p.raceMode.selected)
                goals.gameMode = kGameModeRace;
            for (size_t i = 0; i < 3; i++) {
                goals.medalTimes[i] = double(p.timeFields[i].intValue());
                goals.medalScores[i] = p.scoreFields[i].intValue();
            }
            goals.timeLimit = double(p.timeLimitField.intValue());
            p.gameMode.selected = 0;
        } else if (p.modeCancel.clicked) {
            p.gameMode.selected = 0;
        }
    }

    p.grid.update();
    p.clipField.update();
    p.setClip.update();
    if (p.setClip.clicked) {
        setClipLevel(double(p.clipField.intValue()));
        refreshPropertyFields();
    }
    p.endLevel.update();
    if (p.endLevel.clicked) endMarkerMode = endMarkerMode == 1 ? -1 : 1;
    p.autoTile.update();
    p.autoCollision.update();

    p.save.update();
    if (p.save.becameSelected()) p.gameMode.selected = p.load.selected = p.bounds.selected = 0;
    if (p.save.selected) {
        p.saveName.update();
        p.saveButton.update();
        p.saveCancel.update();
        if (p.saveButton.clicked) {
            const std::string name = p.saveName.text;
            p.loadName.setText(name);
            if (!name.empty()) {
                const bool saved = saveCustomLevel(name);
                // A failed save keeps the dialog open, so the user sees it did not happen and may try again.
                if (saved) p.save.selected = 0;
            }
        } else if (p.saveCancel.clicked) {
            p.save.selected = 0;
        }
    }

    p.load.update();
    if (p.load.becameSelected()) p.gameMode.selected = p.save.selected = p.bounds.selected = 0;
    if (p.load.selected) {
        p.loadName.update();
        p.loadButton.update();
        p.loadCancel.update();
        p.loadDefault.update();
        if (p.loadButton.clicked) {
            const std::string name = p.loadName.text;
            p.saveName.setText(name);
            if (!name.empty()) {
                const std::string path = customLevelPath(name);
                if (!path.empty() && loadLevelFileForEditor(path)) closeEntityDialog();
                refreshPropertyFields();
                p.load.selected = 0;
            }
        } else if (p.loadCancel.clicked) {
            p.load.selected = 0;
        } else if (p.loadDefault.clicked) {
            loadDefaultLevel();
            p.load.selected = 0;
        }
    }

    p.bounds.update();
    if (p.bounds.becameSelected()) p.gameMode.selected = p.save.selected = p.load.selected = 0;
    if (p.bounds.selected) {
        p.leftField.update();
        p.rightField.update();
        p.topField.update();
        p.bottomField.update();
        p.setBounds.update();
        p.boundsCancel.update();
        if (p.setBounds.clicked) {
            tileMap.boundsLeft = p.leftField.intValue();
            tileMap.boundsRight = p.rightField.intValue();
            tileMap.boundsTop = p.topField.intValue();
            tileMap.boundsBottom = p.bottomField.intValue();
            refreshPropertyFields();
            p.bounds.selected = 0;
        } else if (p.boundsCancel.clicked) {
            p.bounds.selected = 0;
        }
    }

    placeEndMarker();
}

bool GF_LevelEditor::saveCustomLevel(const std::string& name) {
    // The name is a file name in the custom-levels folder: a '/' would write the level somewhere else.
    const std::string path = customLevelPath(name);
    if (path.empty()) return false;
    // Pruned before the start is added, so the level saved always holds a player, whatever its size. A dialog
    // on a pruned record closes before anything new is made, which could take the freed record's place.
    Placements.prunePlacements(tileMap.levelWidth, tileMap.levelHeight);
    closeEntityDialogIfGone();
    Placements.ensurePlayerStart(tileMap.levelWidth, tileMap.levelHeight);
    const bool saved = saveLevelFileForEditor(path);
    refreshPropertyFields();
    return saved;
}

void GF_LevelEditor::placeEndMarker() {
    const LevelPropertiesWidgets& p = *properties;
    if (p.gameMode.selected || p.save.selected || p.load.selected || p.bounds.selected) return;
    const int mx = MouseState.x, my = MouseState.y;
    const bool overButton = p.bounds.contains(mx, my) || p.load.contains(mx, my) || p.save.contains(mx, my) ||
                            p.setDimensions.contains(mx, my) || p.changeTileSet.contains(mx, my) ||
                            p.gameMode.contains(mx, my) || p.grid.contains(mx, my) || p.setClip.contains(mx, my) ||
                            p.endLevel.contains(mx, my) || p.autoTile.contains(mx, my) ||
                            p.autoCollision.contains(mx, my);
    const bool overField =
        p.widthField.contains(mx, my) || p.heightField.contains(mx, my) || p.clipField.contains(mx, my);
    if (overButton || overField || isOverLayerList(mx, my)) return;
    if (endMarkerMode != 1 || !mouseButtonPressed()) return;
    EndLevelX = mx + cameraX;
    EndLevelY = my + cameraY;
}

void GF_LevelEditor::drawLevelPropertiesPanel() const {
    const LevelPropertiesWidgets& p = *properties;
    p.widthField.draw();
    p.heightField.draw();
    p.setDimensions.draw();
    p.changeTileSet.draw();
    p.widthLabel.draw();
    p.heightLabel.draw();
    p.grid.draw();
    p.clipLabel.draw();
    p.clipField.draw();
    p.setClip.draw();
    p.endLevel.draw();
    p.autoTile.draw();
    p.autoCollision.draw();
    p.gameMode.draw();
    if (p.gameMode.selected) {
        drawPanelBox(LevelPropertiesWidgets::dx, LevelPropertiesWidgets::dy, 400, 350);
        p.actionMode.draw();
        p.raceMode.draw();
        p.stuntMode.draw();
        if (p.raceMode.selected)
            for (size_t i = 0; i < 3; i++) {
                p.timeLabels[i].draw();
                p.timeFields[i].draw();
            }
        if (p.stuntMode.selected) {
            for (const EditorLabel& label : p.scoreLabels) label.draw();
            p.timeLimitLabel.draw();
            for (const EditorTextField& field : p.scoreFields) field.draw();
            p.timeLimitField.draw();
        }
        p.modeOk.draw();
        p.modeCancel.draw();
    }
    p.save.draw();
    if (p.save.selected) {
        drawPanelBox(LevelPropertiesWidgets::sx, LevelPropertiesWidgets::sy, 400, 100);
        p.saveName.draw();
        p.saveButton.draw();
        p.saveCancel.draw();
    }
    p.load.draw();
    if (p.load.selected) {
        drawPanelBox(LevelPropertiesWidgets::sx, LevelPropertiesWidgets::sy, 400, 100);
        p.loadName.draw();
        p.loadButton.draw();
        p.loadCancel.draw();
        p.loadDefault.draw();
    }
    p.bounds.draw();
    if (p.bounds.selected) {
        drawPanelBox(LevelPropertiesWidgets::bx, LevelPropertiesWidgets::by, 300, 200);
        p.leftLabel.draw();
        p.rightLabel.draw();
        p.topLabel.draw();
        p.bottomLabel.draw();
        p.leftField.draw();
        p.rightField.draw();
        p.topField.draw();
        p.bottomField.draw();
        p.setBounds.draw();
        p.boundsCancel.draw();
    }
}
