// The editor's entity panel: "Select" and the 15 type buttons choose what a map click does (pick the nearest
// placement and open its dialog, or add a placement of the type); the dialog edits, deletes or keeps it.
#include "EditorPanels.h"
#include "EntityType.h"
#include "GF_LevelEditor.h"
#include "InputState.h"
#include "PanelBox.h"
#include "PlacementList.h"

#include <cmath>

namespace {

constexpr std::array<int32_t, kEntityTypeButtons> kEntityListTypes = {
    kEntityZuzevir,   kEntityLaserFish, kEntityGoldFish, kEntityTurret,    kEntityMine,
    kEntityAutoGun,   kEntityBird,      kEntityEel,      kEntityTntTurtle, kEntityEvilZuzevir,
    kEntityRoboShark, kEntityDrone,     kEntityOrnament, kEntityPowerup,   kEntityHoop,
};

} // namespace

int32_t GF_LevelEditor::entityListType(int index) {
    return index >= 0 && index < kEntityTypeButtons ? kEntityListTypes[size_t(index)] : -1;
}

void GF_LevelEditor::buildEntityPanel() {
    freeEntityPanel();
    selectedTypeIndex = -1;
    selectButton = std::make_unique<EditorButton>(20, 20, 100, 15, "Select");
    for (int i = 0; i < kEntityTypeButtons; i++)
        typeButtons.push_back(
            std::make_unique<EditorButton>(20, 38 + 18 * i, 100, 15, entityTypeName(entityListType(i))));
    buildEntityDialog();
}

void GF_LevelEditor::buildEntityDialog() {
    closeEntityDialog();
    entityDialog = std::make_unique<EntityDialogWidgets>();
}

void GF_LevelEditor::freeEntityPanel() {
    selectButton.reset();
    typeButtons.clear();
    entityDialog.reset();
    closeEntityDialog();
}

bool GF_LevelEditor::isOverEntityButtons(int x, int y) const {
    PanelArea panel;
    if (selectButton) panel.add(*selectButton);
    for (const auto& button : typeButtons) panel.add(*button);
    return panel.contains(x, y);
}

void GF_LevelEditor::fillEntityDialog() {
    if (!editedPlacement) return;
    EntityDialogWidgets& dialog = *entityDialog;
    dialog.labels[0].setText(std::string("Entity Type: ") + placementTypeName(*editedPlacement));
    const PlacementFields fields = editedPlacement->fields();
    for (int i = 1; i < kPlacementFieldCount; i++) dialog.fields[size_t(i - 1)].setInt(fields[size_t(i)]);
    for (int n = 1; n <= kEntityVarCount; n++)
        dialog.labels[size_t(5 + n)].setText(placementVarLabel(n, *editedPlacement));
}

void GF_LevelEditor::applyEntityDialog() {
    if (!editedPlacement) return;
    PlacementFields fields = editedPlacement->fields();
    for (int i = 1; i < kPlacementFieldCount; i++) fields[size_t(i)] = entityDialog->fields[size_t(i - 1)].intValue();
    *editedPlacement = EntityPlacement::fromFields(fields);
}

void GF_LevelEditor::closeEntityDialog() {
    dialogOpen = 0;
    editedPlacement = nullptr;
}

void GF_LevelEditor::closeEntityDialogIfGone() {
    if (!editedPlacement) return;
    for (const auto& record : Placements.records())
        if (record.get() == editedPlacement) return;
    closeEntityDialog();
}

void GF_LevelEditor::updateEntityPanel() {
    if (dialogOpen) {
        EntityDialogWidgets& dialog = *entityDialog;
        for (EditorTextField& field : dialog.fields) field.update();
        dialog.deleteButton.update();
        dialog.cancelButton.update();
        dialog.acceptButton.update();
        if (dialog.deleteButton.clicked) {
            Placements.deletePlacement(editedPlacement);
            closeEntityDialog();
        } else if (dialog.cancelButton.clicked) {
            closeEntityDialog();
        } else if (dialog.acceptButton.clicked) {
            applyEntityDialog();
            closeEntityDialog();
        }
        return;
    }
    selectButton->update();
    if (selectButton->clicked) selectedTypeIndex = -1;
    for (int i = 0; i < int(typeButtons.size()); i++) {
        typeButtons[size_t(i)]->update();
        if (typeButtons[size_t(i)]->clicked) selectedTypeIndex = i;
    }
    const int mx = MouseState.x, my = MouseState.y;
    if (!mouseButtonPressed() || isOverEntityButtons(mx, my) || isOverLayerList(mx, my)) return;
    const double worldX = mx + cameraX, worldY = my + cameraY;
    if (selectedTypeIndex < 0) {
        editedPlacement = Placements.findPlacementNear(worldX, worldY);
        if (editedPlacement) {
            fillEntityDialog();
            dialogOpen = 1;
        }
        return;
    }
    // Placements store 32-bit positions: a click outside that range (a camera driven far away) adds nothing.
    if (std::fabs(worldX) >= 2147483647.0 || std::fabs(worldY) >= 2147483647.0) return;
    Placements.addPlacement(entityListType(selectedTypeIndex), int32_t(std::trunc(worldX)),
                            int32_t(std::trunc(worldY)));
}

void GF_LevelEditor::drawEntityPanel() const {
    if (selectButton) selectButton->draw();
    for (const auto& button : typeButtons) button->draw();
    if (!dialogOpen || !entityDialog) return;
    const EntityDialogWidgets& dialog = *entityDialog;
    drawPanelBox(EntityDialogWidgets::dx, EntityDialogWidgets::dy, EntityDialogWidgets::width,
                 EntityDialogWidgets::height);
    for (const EditorLabel& label : dialog.labels) label.draw();
    for (const EditorTextField& field : dialog.fields) field.draw();
    dialog.deleteButton.draw();
    dialog.cancelButton.draw();
    dialog.acceptButton.draw();
}
