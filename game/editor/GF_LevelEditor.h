// The level editor screen (state 2): a shell around five tools that edit the global level model in place
// (tile painting, collision and substance painting, the entity panel and the level-properties panel with
// saving and loading), the layer list that picks the tool and the visible layers, the editor's own camera
// and its view aids. Every panel is built on enter and freed on leave; the level model is never copied.
#pragma once

#include "ButtonStrip.h"
#include "EditorWidgets.h"
#include "GF_ProgramState.h"
#include "TileBrush.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class TileLayer;
struct EntityPlacement;

enum EditorTool : int32_t {
    kToolNone = 0,
    kToolTiles = 1,
    kToolCollision = 2,
    kToolSubstance = 3,
    kToolEntities = 4,
    kToolProperties = 5, // "Special"
};

constexpr int kLayerListRows = 12;
constexpr int kLayerRowCollision = 8, kLayerRowSubstance = 9, kLayerRowEntities = 10, kLayerRowSpecial = 11;
constexpr int kEntityTypeButtons = 15;
constexpr int kEntityDialogFields = 13;

// The widgets of the level-properties panel and its four dialogs (game mode, save, load, level bounds).
struct LevelPropertiesWidgets;
// The entity panel's dialog: its title and value labels, its 13 value fields and its three buttons.
struct EntityDialogWidgets;

class GF_LevelEditor : public GF_ProgramState {
public:
    GF_LevelEditor();
    ~GF_LevelEditor() override;

    void enter() override;
    void leave() override;
    void update() override;
    void draw() override;

    // The layer list.
    void buildLayerList();
    void freeLayerList();
    void updateLayerList();
    void drawLayerList() const;
    // Anywhere on the layer list, the gaps between its buttons included.
    bool isOverLayerList(int x, int y) const;
    void updateEditorCamera();
    void updateAutoToggleKeys();
    // The back key's first use: closes the dialog on the screen (the entity dialog under the entity tool, a
    // level-properties dialog under "Special"); false when no dialog is shown.
    bool closeShownDialog();

    // The view aids.
    void drawGrid() const;
    void drawLevelBounds() const;
    void drawEndMarker() const;
    void drawCursorCoordinates() const;

    // Tile painting.
    void buildTileBrushes();
    void freeTileBrushes();
    void buildTerrainPalette();
    void freeTerrainPalette();
    void updateTilePainting();
    void drawTerrainPalette() const;
    // On the palette's column of captions and the eraser, or on the open group's strip.
    bool isOverTerrainPalette(int x, int y) const;
    // The painting rules with the current "Auto (T)ile" and "Auto (C)ollision" switches.
    TilePainter tilePainter() const;

    // Collision and substance painting.
    void buildCollisionShapeList();
    void freeCollisionShapeList();
    void buildSubstanceButtons();
    void freeSubstanceButtons();
    void updateCollisionPainting();
    void updateSubstancePainting();
    void drawCollisionButtons() const;
    void drawSubstanceButtons() const;
    void drawCollisionOverlay(double viewX, double viewY) const;

    // The entity panel.
    void buildEntityPanel();
    void freeEntityPanel();
    void buildEntityDialog();
    void updateEntityPanel();
    void drawEntityPanel() const;
    void fillEntityDialog();
    void applyEntityDialog();
    void closeEntityDialog();
    // Closes the dialog when its placement is no longer in the list (a load replaced the list, or a save
    // pruned the records outside the level), so no edit reaches a freed or a different record.
    void closeEntityDialogIfGone();
    // On the column of "Select" and the type buttons, the gaps between them included.
    bool isOverEntityButtons(int x, int y) const;
    static int32_t entityListType(int index);

    // The level-properties panel, saving and loading.
    void buildLevelPropertiesPanel();
    void freeLevelPropertiesPanel();
    void updateLevelPropertiesPanel();
    void drawLevelPropertiesPanel() const;
    void refreshPropertyFields();
    void refreshGameModeFields();
    void loadDefaultLevel();
    void placeEndMarker();
    // On either block of the panel's widgets (the settings at the top, the dialog toggles at the bottom).
    bool isOverPropertiesPanel(int x, int y) const;
    bool isPropertyDialogOpen() const;
    // Closes whichever of the four dialogs is open, as its "Cancel" does; false when none was.
    bool closePropertyDialog();
    // Writes the level into the custom-levels folder with a player start. Only a written level is changed
    // (the start added, the records outside it dropped); a failure is told in a message box and returns false.
    bool saveCustomLevel(const std::string& name);
    // Reads a level file into the model; a failure is told in a message box and leaves the model as it was.
    bool loadIntoEditor(const std::string& path);
    bool isGridOn() const;
    bool isAutoTileOn() const;
    bool isAutoCollisionOn() const;

    double cameraX = 0, cameraY = 550;
    int32_t lastPaintedCol = -1, lastPaintedRow = -1;
    double keyScrollSpeed = 1600.0;
    double edgeScrollSpeed = 500.0;
    int32_t edgeMargin = 2;

    std::vector<std::unique_ptr<TileBrush>> brushes;
    TileLayer* currentLayer = nullptr;
    const TileBrush* currentBrush = nullptr;
    std::vector<std::unique_ptr<TilePaletteGroup>> paletteGroups;
    std::unique_ptr<EditorButton> eraserButton;

    int32_t selectedSubstance = -1;
    std::vector<std::unique_ptr<EditorToggleButton>> substanceButtons;
    int32_t selectedCollision = -1;
    std::vector<std::unique_ptr<EditorToggleButton>> collisionButtons;

    std::vector<std::unique_ptr<EditorToggleButton>> layerButtons;
    std::vector<std::unique_ptr<EditorToggleButton>> visibilityButtons;

    std::unique_ptr<LevelPropertiesWidgets> properties;
    int32_t endMarkerMode = -1; // 1: a click places the end marker

    uint8_t dialogOpen = 0;
    EntityPlacement* editedPlacement = nullptr;
    std::unique_ptr<EntityDialogWidgets> entityDialog;
    std::unique_ptr<EditorButton> selectButton;
    std::vector<std::unique_ptr<EditorButton>> typeButtons;
    int32_t selectedTypeIndex = -1;

    int32_t currentTool = kToolNone;

private:
    bool layerVisible(int row) const;
    bool f1WasDown = false, f2WasDown = false;
};
