// The level editor driven by scripted mouse and keys on the global level model: the layer list and its tools,
// the camera, tile, collision and substance painting, the entity panel through the placement list, the
// properties panel's changes, the save -> load round trip, the end marker, the function keys and the back key.
#include "../framework/ScriptedKeys.h"
#include "../framework/TempUserFolder.h"
#include "CollisionShape.h"
#include "EditorPanels.h"
#include "EntityType.h"
#include "FrameClock.h"
#include "GF_LevelEditor.h"
#include "GameWindow.h"
#include "HostSystem.h"
#include "KEngineKeys.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "LevelCatalogue.h"
#include "LevelFile.h"
#include "MouseCursor.h"
#include "PlacementList.h"
#include "ProgramStates.h"
#include "TileLayer.h"
#include "TileMap.h"
#include "TileSetTable.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int layerRowY(int row) {
    return 360 + 17 * row + 5;
}

constexpr int kLayerX = 700;
constexpr int kDigit0 = 51, kLetterA = 25, kBackspace = 22;

class LevelEditorTest : public testing::Test {
protected:
    void SetUp() override {
        savedFrameTime = frameTime;
        frameTime = 1.0 / 64;
        MouseState = MouseStateRecord();
        sharedGraphic = createGraphic();
        buildCollisionShapes();
        createTileMap();
        tileMap.levelLoaded = true; // open on the model as it stands
        Placements.clearPlacements();
        CurrentLevelGoals = LevelGoals();
        EndLevelX = EndLevelY = 0;
        StateRequest = StateRequestRecord();
        host::setMessageBoxHandler(
            [this](const std::string& caption, const std::string& text) { boxes.push_back(caption + ": " + text); });
        editor.enter();
    }
    void TearDown() override {
        editor.leave();
        host::setMessageBoxHandler(nullptr);
        deleteBackKey();
        Placements.clearPlacements();
        releaseTileMap();
        freeCollisionShapes();
        clearLevelCatalogue();
        delete sharedGraphic;
        sharedGraphic = nullptr;
        MouseState = MouseStateRecord();
        CursorKind = kCursorArrow;
        StateRequest = StateRequestRecord();
        frameTime = savedFrameTime;
    }

    void pass(int x, int y, bool down) {
        MouseState.leftBefore = MouseState.leftNow;
        MouseState.leftNow = down;
        MouseState.x = x;
        MouseState.y = y;
        editor.update();
    }
    void click(int x, int y) {
        pass(x, y, true);
        pass(x, y, false);
    }
    void chooseRow(int row) { click(kLayerX, layerRowY(row)); }
    // One key stroke; the mouse rests where it is.
    void typeKey(int engineKey) {
        keys.press(engineKeyVirtualKey(engineKey));
        pass(MouseState.x, MouseState.y, false);
        keys.release(engineKeyVirtualKey(engineKey));
        pass(MouseState.x, MouseState.y, false);
    }
    void typeText(const std::string& text) {
        for (char c : text) {
            if (c >= '0' && c <= '9')
                typeKey(kDigit0 + (c - '0'));
            else
                typeKey(kLetterA + (c - 'a'));
        }
    }
    // Focuses the field with a click, removes its text and types the new one.
    void retype(const EditorTextField& field, const std::string& text) {
        click(field.x + 5, field.y + 5);
        for (size_t i = field.text.size(); i > 0; i--) typeKey(kBackspace);
        typeText(text);
    }
    static void clickOn(LevelEditorTest& test, const EditorButton& button) { test.click(button.x + 3, button.y + 3); }
    void press(const EditorButton& button) { click(button.x + 3, button.y + 3); }
    void press(const EditorToggleButton& button) { click(button.x + 3, button.y + 3); }

    // The back key released on this pass, as the main loop's poll leaves it.
    void releaseBack() {
        if (!BackKey) createBackKey();
        BackKey->downBefore = true;
        BackKey->downNow = false;
        pass(MouseState.x, MouseState.y, false);
    }
    void saveAs(const std::string& name) {
        if (!props().save.selected) press(props().save);
        retype(props().saveName, name);
        press(props().saveButton);
    }

    LevelPropertiesWidgets& props() { return *editor.properties; }
    std::string customPath(const std::string& name) { return getCustomLevelsFolder() + name + ".lvl"; }

    TempUserFolder user;
    ScriptedKeys keys;
    ScopedGraphicRecording recording;
    GF_LevelEditor editor;
    std::vector<std::string> boxes; // "caption: text" of every message box shown
    double savedFrameTime = 0;
};

TEST_F(LevelEditorTest, EnterOpensOnTheModelOrTheDefaultLevel) {
    EXPECT_EQ(editor.currentTool, kToolNone);
    EXPECT_EQ(editor.cameraY, 550);
    EXPECT_EQ(editor.currentBrush, editor.brushes.front().get());
    EXPECT_EQ(editor.currentLayer, nullptr);
    EXPECT_EQ(editor.brushes.size(), size_t(kTileBrushCount));
    EXPECT_TRUE(editor.visibilityButtons[0]->selected);
    EXPECT_FALSE(editor.visibilityButtons[kLayerRowCollision]->selected);
    EXPECT_TRUE(editor.visibilityButtons[kLayerRowEntities]->selected);
    EXPECT_TRUE(editor.isGridOn() && editor.isAutoTileOn() && editor.isAutoCollisionOn());

    // A painted cell survives leave and enter: the editor owns no copy.
    tileMap.collisionGrid.set(3, 3, kShapeFull);
    editor.leave();
    editor.enter();
    EXPECT_EQ(tileMap.collisionGrid.get(3, 3), kShapeFull);

    // Before any level was read the editor opens the default level.
    editor.leave();
    tileMap.levelLoaded = false;
    editor.enter();
    EXPECT_TRUE(tileMap.levelLoaded);
    EXPECT_EQ(tileMap.collisionGrid.get(3, 3), kShapeNone);
    EXPECT_EQ(props().widthField.text, std::to_string(int(tileMap.levelWidth)));
}

TEST_F(LevelEditorTest, LayerListChoosesOneToolAtATime) {
    chooseRow(kLayerRowCollision);
    EXPECT_EQ(editor.currentTool, kToolCollision);
    EXPECT_TRUE(editor.visibilityButtons[kLayerRowCollision]->selected);
    chooseRow(kLayerFront2);
    EXPECT_EQ(editor.currentTool, kToolTiles);
    EXPECT_EQ(editor.currentLayer, getTileLayer(kLayerFront2));
    for (int row = 0; row < kLayerListRows; row++)
        EXPECT_EQ(editor.layerButtons[size_t(row)]->selected, row == kLayerFront2);
    chooseRow(kLayerFront2); // clicking the chosen row again leaves every tool
    EXPECT_EQ(editor.currentTool, kToolNone);
    EXPECT_EQ(editor.currentLayer, getTileLayer(kLayerFront2));
    chooseRow(kLayerRowSpecial);
    EXPECT_EQ(editor.currentTool, kToolProperties);
    EXPECT_EQ(editor.currentLayer, getTileLayer(kLayerFront4));
    // The visibility button hides a layer without changing the tool.
    click(670, layerRowY(kLayerFront1));
    EXPECT_FALSE(editor.visibilityButtons[kLayerFront1]->selected);
    EXPECT_EQ(editor.currentTool, kToolProperties);
    EXPECT_TRUE(editor.isOverLayerList(664, 360));
    EXPECT_FALSE(editor.isOverLayerList(663, 360));
    EXPECT_FALSE(editor.isOverLayerList(700, 359));
}

TEST_F(LevelEditorTest, CameraScrollsByKeysAndScreenEdges) {
    keys.set({0x10, 0x27}); // Shift + Right
    for (int i = 0; i < 64; i++) pass(400, 300, false);
    EXPECT_DOUBLE_EQ(editor.cameraX, 8000);
    keys.set({});
    for (int i = 0; i < 64; i++) pass(0, 300, false); // the left edge alone
    EXPECT_DOUBLE_EQ(editor.cameraX, 7500);
    keys.set({0x25, 0x27}); // opposite keys cancel
    pass(400, 300, false);
    EXPECT_DOUBLE_EQ(editor.cameraX, 7500);
    keys.set({0x26});
    for (int i = 0; i < 64; i++) pass(400, 300, false);
    EXPECT_DOUBLE_EQ(editor.cameraY, 550 - 1600); // not held to the level
}

TEST_F(LevelEditorTest, CollisionPaintingWritesEveryCrossedCell) {
    chooseRow(kLayerRowCollision);
    press(*editor.collisionButtons[kShapeTopHalf]);
    EXPECT_EQ(editor.selectedCollision, kShapeTopHalf);
    EXPECT_EQ(tileMap.collisionGrid.get(1, (25 + 550) / 64), kShapeNone); // not under the button it clicked
    for (int x = 200; x <= 600; x += 16) pass(x, 300, true);
    pass(600, 300, false);
    const int row = (300 + 550) / 64;
    for (int col = 200 / 64; col <= 600 / 64; col++)
        EXPECT_EQ(tileMap.collisionGrid.get(col, row), kShapeTopHalf) << col;
    EXPECT_EQ(tileMap.collisionGrid.get(600 / 64 + 1, row), kShapeNone);

    press(*editor.collisionButtons[kShapeFull]); // one selection at a time
    EXPECT_FALSE(editor.collisionButtons[kShapeTopHalf]->selected);
    pass(600, 300, true); // dragged onto the layer list: nothing painted there
    pass(kLayerX, layerRowY(3), true);
    pass(kLayerX, layerRowY(3), false);
    EXPECT_EQ(editor.currentTool, kToolCollision);
    EXPECT_EQ(tileMap.collisionGrid.get(kLayerX / 64, (layerRowY(3) + 550) / 64), kShapeNone);

    editor.cameraX = -100;
    editor.cameraY = 0;
    pass(50, 300, true); // trunc(-50 / 64) = column 0
    pass(10, 300, true); // column -1: nothing
    pass(10, 300, false);
    EXPECT_EQ(tileMap.collisionGrid.get(0, 300 / 64), kShapeFull);
}

TEST_F(LevelEditorTest, SubstancePaintingNeedsASelectedButton) {
    chooseRow(kLayerRowSubstance);
    EXPECT_EQ(editor.currentTool, kToolSubstance);
    press(*editor.substanceButtons[kSubstanceAir]);
    pass(300, 300, true);
    pass(300, 300, false);
    const int col = 300 / 64, row = (300 + 550) / 64;
    EXPECT_EQ(tileMap.substanceGrid.get(col, row), kSubstanceAir);
    press(*editor.substanceButtons[kSubstanceAir]); // clicked again: unselected
    EXPECT_EQ(editor.selectedSubstance, -1);
    tileMap.substanceGrid.set(col, row, kSubstanceWater);
    pass(300, 300, true);
    pass(300, 300, false);
    EXPECT_EQ(tileMap.substanceGrid.get(col, row), kSubstanceWater);
}

TEST_F(LevelEditorTest, TilePaintingPaintsEachEnteredCellOnce) {
    chooseRow(kLayerFront3);
    TileLayer& layer = *getTileLayer(kLayerFront3);
    editor.currentBrush = editor.brushes[3].get(); // full sand
    const int col = 300 / 64, row = (300 + 550) / 64;
    pass(300, 300, true);
    EXPECT_EQ(tileMap.collisionGrid.get(col, row), kShapeFull);
    EXPECT_NE(layer.grid.get(col, row), 0);
    EXPECT_NE(layer.grid.get(col, row - 1), 0); // auto-tiled above
    layer.grid.set(col, row, 0);
    pass(310, 305, true); // still in the same cell: not painted again
    EXPECT_EQ(layer.grid.get(col, row), 0);
    pass(30, 145, true); // over the eraser, then back
    pass(310, 305, true);
    pass(310, 305, false);
    EXPECT_NE(layer.grid.get(col, row), 0);

    press(*editor.eraserButton);
    EXPECT_EQ(editor.currentBrush, editor.brushes.front().get());
    pass(300, 300, true);
    pass(300, 300, false);
    EXPECT_EQ(layer.grid.get(col, row), 0);
    EXPECT_EQ(tileMap.collisionGrid.get(col, row), kShapeNone);

    // One palette group open at a time.
    press(editor.paletteGroups[4]->caption); // "Rock"
    press(editor.paletteGroups[5]->caption); // "Coral"
    EXPECT_FALSE(editor.paletteGroups[4]->caption.selected);
    EXPECT_TRUE(editor.paletteGroups[5]->caption.selected);
    EXPECT_EQ(editor.paletteGroups[5]->brushes.size(), 26u);
    EXPECT_EQ(editor.paletteGroups[2]->brushes[2], editor.brushes[16].get()); // "Water": 1, 2, 16 ..
}

TEST_F(LevelEditorTest, EntityPanelPlacesPicksEditsAndDeletes) {
    chooseRow(kLayerRowEntities);
    press(*editor.typeButtons[4]); // "Mine"
    EXPECT_EQ(editor.typeButtons[4]->caption, "Mine");
    EXPECT_EQ(Placements.count(), 0); // the button click added nothing
    click(300, 200);
    click(400, 200);
    click(500, 250);
    ASSERT_EQ(Placements.count(), 3);
    EXPECT_EQ(Placements.records()[1]->type, kEntityMine);
    EXPECT_EQ(Placements.records()[1]->x, 400);
    EXPECT_EQ(Placements.records()[1]->y, 750);

    press(*editor.typeButtons[2]); // Gold Radudod: the sixth is refused
    for (int i = 0; i < 6; i++) click(100 + 60 * i, 500);
    EXPECT_EQ(Placements.countGoldZuzevirPlacements(), kMaxGoldZuzevirPlacements);

    press(*editor.selectButton);
    click(330, 200); // 30 pixels from the first mine: nothing
    EXPECT_FALSE(editor.dialogOpen);
    click(310, 205);
    ASSERT_TRUE(editor.dialogOpen);
    EntityDialogWidgets& dialog = *editor.entityDialog;
    EXPECT_EQ(dialog.labels[0].text, std::string("Entity Type: ") + entityTypeName(kEntityMine));
    EXPECT_EQ(dialog.fields[0].text, "300");
    EXPECT_EQ(dialog.labels[6].text, entityVarLabel(kEntityMine, 1));
    const int before = Placements.count();
    click(30, 110); // the type buttons do not react while the dialog is open
    EXPECT_EQ(Placements.count(), before);
    retype(dialog.fields[0], "1200");
    retype(dialog.fields[5], "7"); // Var 1
    press(dialog.acceptButton);
    EXPECT_FALSE(editor.dialogOpen);
    EXPECT_EQ(Placements.records()[0]->x, 1200);
    EXPECT_EQ(Placements.records()[0]->vars[0], 7);

    click(400, 200); // the second mine: Cancel keeps it as it was
    ASSERT_TRUE(editor.dialogOpen);
    retype(dialog.fields[1], "5");
    press(dialog.cancelButton);
    EXPECT_EQ(Placements.records()[1]->y, 750);

    click(400, 200);
    ASSERT_TRUE(editor.dialogOpen);
    press(dialog.deleteButton);
    EXPECT_FALSE(editor.dialogOpen);
    EXPECT_EQ(Placements.count(), before - 1);
    EXPECT_EQ(Placements.findPlacementNear(400, 750), nullptr);
}

TEST_F(LevelEditorTest, PropertiesPanelChangesTheLevelModel) {
    chooseRow(kLayerRowSpecial);
    retype(props().widthField, "500");
    press(props().setDimensions);
    EXPECT_EQ(tileMap.levelWidth, 800); // raised to the screen
    EXPECT_EQ(props().widthField.text, "800");
    retype(props().heightField, "999999"); // more than the grids hold: held to the largest level a file can carry
    press(props().setDimensions);
    EXPECT_EQ(tileMap.levelHeight, kMaxLevelSide);
    EXPECT_EQ(tileMap.collisionGrid.rows(), kMaxGridSide);
    retype(props().clipField, "900");
    press(props().setClip);
    EXPECT_EQ(tileMap.clipLevel, 900);

    const int firstSet = currentTileSet;
    press(props().changeTileSet);
    EXPECT_EQ(currentTileSet, (firstSet + 1) % kTileSetCount);
    for (int i = 0; i < 4; i++) press(props().changeTileSet);
    EXPECT_EQ(currentTileSet, firstSet);

    // Game mode: a score typed in Stunt mode is written even when Action is chosen at "OK".
    press(props().gameMode);
    EXPECT_TRUE(props().actionMode.selected);
    press(props().stuntMode);
    EXPECT_FALSE(props().actionMode.selected);
    retype(props().scoreFields[2], "4500");
    press(props().stuntMode); // a radio toggle stays selected
    EXPECT_TRUE(props().stuntMode.selected);
    press(props().raceMode);
    retype(props().timeFields[0], "25");
    press(props().modeOk);
    EXPECT_FALSE(props().gameMode.selected);
    EXPECT_EQ(CurrentLevelGoals.gameMode, kGameModeRace);
    EXPECT_EQ(CurrentLevelGoals.medalScores[2], 4500);
    EXPECT_EQ(CurrentLevelGoals.medalTimes[0], 25.0);
    EXPECT_EQ(CurrentLevelGoals.timeLimit, 60.0);

    // A mode the dialog does not offer (from a level file) selects none, and "OK" keeps it.
    CurrentLevelGoals.gameMode = 7;
    press(props().gameMode);
    EXPECT_FALSE(props().actionMode.selected || props().stuntMode.selected || props().raceMode.selected);
    press(props().modeOk);
    EXPECT_EQ(CurrentLevelGoals.gameMode, 7);
    CurrentLevelGoals.gameMode = kGameModeRace;

    // Opening another dialog closes the game-mode dialog without writing it.
    press(props().gameMode);
    press(props().actionMode);
    press(props().load);
    EXPECT_FALSE(props().gameMode.selected);
    EXPECT_EQ(CurrentLevelGoals.gameMode, kGameModeRace);

    press(props().bounds);
    EXPECT_FALSE(props().load.selected);
    retype(props().rightField, "2000");
    press(props().setBounds);
    EXPECT_EQ(tileMap.boundsRight, 2000);
    EXPECT_FALSE(props().bounds.selected);
}

TEST_F(LevelEditorTest, EndMarkerFollowsClicksWhileEndLevelIsOn) {
    chooseRow(kLayerRowSpecial);
    click(400, 300);
    EXPECT_EQ(EndLevelX, 0); // off at enter
    press(props().endLevel);
    click(400, 300);
    EXPECT_EQ(EndLevelX, 400);
    EXPECT_EQ(EndLevelY, 850);
    click(600, 100);
    EXPECT_EQ(EndLevelX, 600);
    click(150, 138); // the clip field is on the panel
    EXPECT_EQ(EndLevelX, 600);
    press(props().bounds);
    click(600, 120); // an open dialog blocks it
    EXPECT_EQ(EndLevelX, 600);
    press(props().bounds);
    press(props().endLevel);
    click(600, 120);
    EXPECT_EQ(EndLevelX, 600);
}

TEST_F(LevelEditorTest, SaveAndLoadRoundTripThroughTheCustomFolder) {
    getTileLayer(kLayerFront1)->grid.set(4, 5, 12);
    tileMap.collisionGrid.set(4, 5, kShapeFull);
    Placements.addPlacement(kEntityMine, 640, 900);
    chooseRow(kLayerRowSpecial);
    press(props().save);
    press(props().saveButton); // an empty name: nothing, the dialog stays
    EXPECT_TRUE(props().save.selected);
    retype(props().saveName, "abc");
    press(props().saveButton);
    EXPECT_FALSE(props().save.selected);
    ASSERT_TRUE(std::filesystem::exists(customPath("abc")));
    EXPECT_EQ(props().loadName.text, "abc");
    ASSERT_EQ(Placements.count(), 2); // a player start was added
    EXPECT_EQ(Placements.records()[1]->type, kEntityZuzevir);
    ASSERT_EQ(LevelCatalogue.list(kListCustom).size(), 1u); // the catalogue lists it at once
    EXPECT_EQ(LevelCatalogue.list(kListCustom)[0].fileName, "abc.lvl");

    // Change the model, load it back, save it under another name: the same bytes.
    getTileLayer(kLayerFront1)->grid.set(4, 5, 0);
    Placements.clearPlacements();
    press(props().load);
    press(props().loadButton);
    EXPECT_FALSE(props().load.selected);
    EXPECT_EQ(getTileLayer(kLayerFront1)->grid.get(4, 5), 12);
    EXPECT_EQ(Placements.count(), 2);
    press(props().save);
    retype(props().saveName, "abd");
    press(props().saveButton);
    EXPECT_EQ(fileBytes(customPath("abd")), fileBytes(customPath("abc")));

    // "Load Default" opens the shipped start level.
    press(props().load);
    press(props().loadDefault);
    EXPECT_EQ(getTileLayer(kLayerFront1)->grid.get(4, 5), 0);
    EXPECT_TRUE(props().loadName.text.empty());
    EXPECT_EQ(boxes, std::vector<std::string>{}) << "nothing failed, nothing is told";
}

TEST_F(LevelEditorTest, ALevelSavedByTheEditorHoldsAPlayerWhateverItsSize) {
    const struct {
        double width, height;
        bool strayPlayer; // a player left outside the level by a shrink
    } cases[] = {{800, 600, false}, {1000, 1063, false}, {10000, 5000, false},
                 {800, 600, true},  {600, 400, false},   {40, 30, false}};
    chooseRow(kLayerRowSpecial);
    int saves = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(int(c.width)) + " x " + std::to_string(int(c.height)));
        Placements.clearPlacements();
        Placements.addPlacement(kEntityMine, 100, 100);
        if (c.strayPlayer) Placements.addPlacement(kEntityZuzevir, 500, 1000);
        setLevelSize(c.width, c.height);
        press(props().save);
        retype(props().saveName, "small" + std::to_string(saves++));
        press(props().saveButton);
        ASSERT_FALSE(props().save.selected);
        LevelData saved;
        ASSERT_TRUE(readLevelData(customPath(props().loadName.text), saved));
        int players = 0;
        for (const PlacementFields& record : saved.placements) {
            if (record[0] != kEntityZuzevir) continue;
            players++;
            EXPECT_GE(record[1], 0);
            EXPECT_GE(record[2], 0);
            EXPECT_LE(record[1], std::max(0.0, c.width - 64));
            EXPECT_LE(record[2], std::max(0.0, c.height - 64));
        }
        EXPECT_EQ(players, 1);
    }
}

TEST_F(LevelEditorTest, AnOpenEntityDialogNeverEditsARecordALoadOrSaveReplaced) {
    // A load replaces every record: the dialog left open under another tool closes, so its "Accept" cannot
    // write into a freed record or into a record of the loaded level.
    Placements.addPlacement(kEntityMine, 300, 750);
    chooseRow(kLayerRowEntities);
    click(300, 200);
    ASSERT_TRUE(editor.dialogOpen);
    chooseRow(kLayerRowSpecial);
    press(props().load);
    press(props().loadDefault);
    EXPECT_FALSE(editor.dialogOpen);
    EXPECT_EQ(editor.editedPlacement, nullptr);

    // A save drops the records outside the level: a dialog on one of them closes, one on a kept record stays.
    Placements.clearPlacements();
    Placements.addPlacement(kEntityMine, int32_t(tileMap.levelWidth) + 500, 750);
    Placements.addPlacement(kEntityMine, 300, 750);
    editor.cameraX = tileMap.levelWidth;
    chooseRow(kLayerRowEntities);
    press(*editor.selectButton);
    click(500, 200);
    ASSERT_TRUE(editor.dialogOpen);
    chooseRow(kLayerRowSpecial);
    press(props().save);
    retype(props().saveName, "edge");
    press(props().saveButton);
    ASSERT_TRUE(std::filesystem::exists(customPath("edge")));
    EXPECT_FALSE(editor.dialogOpen);
    editor.cameraX = 0;
    chooseRow(kLayerRowEntities);
    click(300, 200);
    ASSERT_TRUE(editor.dialogOpen);
    chooseRow(kLayerRowSpecial);
    press(props().save);
    press(props().saveButton);
    EXPECT_TRUE(editor.dialogOpen);
    EXPECT_EQ(editor.editedPlacement, Placements.findPlacementNear(300, 750));
}

TEST_F(LevelEditorTest, AFailedSaveIsToldKeepsTheDialogOpenAndLeavesTheLevelAsItWas) {
    // A level with no player and a mine outside it: a save that works adds the start and drops the mine.
    Placements.addPlacement(kEntityMine, int32_t(tileMap.levelWidth) + 100, 700);
    Placements.addPlacement(kEntityHoop, 300, 700);
    const std::vector<PlacementFields> designed = Placements.fieldList();
    std::filesystem::create_directory(customPath("taken")); // a folder where the file would go
    chooseRow(kLayerRowSpecial);
    const struct {
        std::string name, box;
    } cases[] = {
        {"taken", "Failed to Save Level: File \"" + customPath("taken") +
                      "\" could not be written (Is a directory); the level is not saved"},
        {"../escaped", "Failed to Save Level: File \"" + customPath("../escaped") +
                           "\" could not be written (a level name cannot hold \"/\"); the level is not saved"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.clear();
        press(props().save);
        props().saveName.setText(c.name);
        press(props().saveButton);
        EXPECT_EQ(boxes, std::vector<std::string>{c.box});
        EXPECT_TRUE(props().save.selected);
        EXPECT_EQ(Placements.fieldList(), designed) << "no start added, nothing dropped";
        press(props().saveCancel);
    }
    EXPECT_TRUE(std::filesystem::is_directory(customPath("taken")));
    EXPECT_FALSE(std::filesystem::exists(getCustomLevelsFolder() + "../escaped.lvl"));

    boxes.clear();
    saveAs("fine");
    EXPECT_EQ(boxes, std::vector<std::string>{});
    ASSERT_EQ(Placements.count(), 2);
    EXPECT_EQ(Placements.records()[0]->type, kEntityHoop);
    EXPECT_EQ(Placements.records()[1]->type, kEntityZuzevir);
}

TEST_F(LevelEditorTest, AFailedLoadIsToldWithTheReadersReasonAndLeavesTheLevelAsItWas) {
    LevelData refused;
    refused.goals.gameMode = kGameModeCount;
    const Bytes bytes = encodeLevelFile(refused);
    std::ofstream(customPath("refused"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    Placements.addPlacement(kEntityMine, 300, 700);
    getTileLayer(kLayerFront1)->grid.set(2, 2, 12);
    chooseRow(kLayerRowSpecial);
    const struct {
        std::string name, reason;
    } cases[] = {
        {"refused", "unknown game mode at byte " + std::to_string(bytes.size() - 4)}, // the last field
        {"nothing", "there is no such file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.clear();
        press(props().load);
        retype(props().loadName, c.name);
        press(props().loadButton);
        EXPECT_EQ(boxes, std::vector<std::string>{"Failed to Load Level: File \"" + customPath(c.name) +
                                                  "\" failed to load: " + c.reason});
        EXPECT_EQ(LevelFileFailure, c.reason);
        EXPECT_FALSE(props().load.selected);
        EXPECT_EQ(Placements.count(), 1);
        EXPECT_EQ(getTileLayer(kLayerFront1)->grid.get(2, 2), 12);
        EXPECT_EQ(CurrentLevelGoals.gameMode, kGameModeAction);
    }
    // A name that leads out of the custom-levels folder is not read at all.
    boxes.clear();
    press(props().load);
    props().loadName.setText("../elsewhere");
    press(props().loadButton);
    EXPECT_EQ(boxes, std::vector<std::string>{"Failed to Load Level: File \"" + customPath("../elsewhere") +
                                              "\" failed to load: a level name cannot hold \"/\""});
    EXPECT_EQ(Placements.count(), 1);
}

TEST_F(LevelEditorTest, ARaceLevelWithoutAHoopIsSavedWithAWordThatItNeedsOne) {
    chooseRow(kLayerRowSpecial);
    const struct {
        int32_t mode;
        bool hoop;
        bool told;
    } cases[] = {{kGameModeRace, false, true}, {kGameModeRace, true, false}, {kGameModeAction, false, false}};
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(n);
        Placements.clearPlacements();
        if (c.hoop) Placements.addPlacement(kEntityHoop, 300, 700);
        Placements.addPlacement(kEntityHoop, int32_t(tileMap.levelWidth) + 100, 700); // dropped by the save
        CurrentLevelGoals.gameMode = c.mode;
        boxes.clear();
        const std::string name = "race" + std::to_string(n++);
        saveAs(name);
        EXPECT_TRUE(std::filesystem::exists(customPath(name))) << "the designer's work is saved all the same";
        EXPECT_FALSE(props().save.selected);
        const std::vector<std::string> expected = {
            "Race Level Without Hoops: File \"" + customPath(name) +
            "\" is saved, but a Race level needs at least one Hoop to be finished: place a Hoop and save it again"};
        EXPECT_EQ(boxes, c.told ? expected : std::vector<std::string>{});
    }
}

TEST_F(LevelEditorTest, TheBackKeyClosesTheShownDialogAndLeavesOnlyWhenNoneIsShown) {
    // Each dialog is closed by the back key as by its "Cancel", with nothing written, and the editor stays.
    Placements.addPlacement(kEntityMine, 300, 750);
    const struct {
        const char* dialog;
        std::function<void()> open;
        std::function<bool()> isOpen;
    } cases[] = {
        {"entity",
         [this] {
             chooseRow(kLayerRowEntities);
             click(300, 200);
         },
         [this] { return editor.dialogOpen != 0; }},
        {"game mode",
         [this] {
             chooseRow(kLayerRowSpecial);
             press(props().gameMode);
             press(props().raceMode);
         },
         [this] { return props().gameMode.selected != 0; }},
        {"save",
         [this] {
             chooseRow(kLayerRowSpecial);
             press(props().save);
             retype(props().saveName, "kept");
         },
         [this] { return props().save.selected != 0; }},
        {"load",
         [this] {
             chooseRow(kLayerRowSpecial);
             press(props().load);
         },
         [this] { return props().load.selected != 0; }},
        {"bounds",
         [this] {
             chooseRow(kLayerRowSpecial);
             press(props().bounds);
             retype(props().rightField, "2000");
         },
         [this] { return props().bounds.selected != 0; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dialog);
        c.open();
        ASSERT_TRUE(c.isOpen());
        releaseBack();
        EXPECT_FALSE(c.isOpen());
        EXPECT_EQ(StateRequest.id, StateRequestRecord().id) << "the editor stays";
        releaseBack();
        EXPECT_EQ(StateRequest.id, kStateMainMenu) << "with no dialog shown the back key leaves";
        StateRequest = StateRequestRecord();
        chooseRow(editor.currentTool == kToolEntities ? kLayerRowEntities : kLayerRowSpecial); // no tool again
    }
    EXPECT_EQ(props().saveName.text, "kept");
    EXPECT_EQ(tileMap.boundsRight, 10000);
    EXPECT_EQ(CurrentLevelGoals.gameMode, kGameModeAction);
    EXPECT_EQ(Placements.count(), 1);

    // An entity dialog left open under another tool is not on the screen: the back key leaves.
    chooseRow(kLayerRowEntities);
    click(300, 200);
    ASSERT_TRUE(editor.dialogOpen);
    chooseRow(kLayerRowCollision);
    releaseBack();
    EXPECT_EQ(StateRequest.id, kStateMainMenu);
}

TEST_F(LevelEditorTest, AClickAnywhereOnAPanelNeverReachesTheMap) {
    // Points in the gaps between a panel's buttons, on their outlines and beside the shorter ones: under each
    // tool a held button there changes nothing under it; a point just off the panel does.
    editor.currentBrush = editor.brushes[3].get(); // full sand
    editor.cameraY = 0;
    const struct {
        int row;
        int x, y;
        const char* where;
    } cases[] = {
        {kLayerFront4, 60, 97, "between \"Sand\" and \"Rock\""},
        {kLayerFront4, 120, 90, "on the outline of \"Sand\""},
        {kLayerFront4, 60, 137, "between \"Coral\" and \"Eraser\""},
        {kLayerFront4, 700, 376, "between two rows of the layer list"},
        {kLayerFront4, 679, 400, "between a visibility button and its layer button"},
        {kLayerRowCollision, 60, 37, "between two collision buttons"},
        {kLayerRowCollision, 150, 60, "on the outline of a collision button"},
        {kLayerRowSubstance, 60, 57, "between \"Air\" and \"Transition\""},
        {kLayerRowEntities, 60, 36, "between \"Select\" and the first type button"},
        {kLayerRowEntities, 60, 144, "between two type buttons"},
        {kLayerRowSpecial, 60, 90, "between \"Set Level Dimensions\" and \"Toggle Grid\""},
        {kLayerRowSpecial, 30, 135, "on the \"Clip Level:\" label"},
        {kLayerRowSpecial, 200, 110, "beside \"Toggle Grid\""},
        {kLayerRowSpecial, 85, 575, "between \"Save\" and \"Load\""},
        {kLayerRowSpecial, 60, 530, "between \"Game Mode\" and \"Level Bounds\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        chooseRow(c.row);
        if (c.row == kLayerRowCollision && editor.selectedCollision != kShapeFull)
            press(*editor.collisionButtons[kShapeFull]);
        if (c.row == kLayerRowSubstance && editor.selectedSubstance != kSubstanceAir)
            press(*editor.substanceButtons[kSubstanceAir]);
        if (c.row == kLayerRowEntities) press(*editor.typeButtons[4]); // "Mine"
        if (c.row == kLayerRowSpecial && editor.endMarkerMode != 1) press(props().endLevel);
        EndLevelX = EndLevelY = -1;
        const int col = c.x / 64, row = c.y / 64;
        pass(c.x, c.y, true);
        pass(c.x, c.y, false);
        EXPECT_EQ(getTileLayer(kLayerFront4)->grid.get(col, row), 0);
        EXPECT_EQ(tileMap.collisionGrid.get(col, row), kShapeNone);
        EXPECT_EQ(tileMap.substanceGrid.get(col, row), kSubstanceWater);
        EXPECT_EQ(Placements.count(), 0);
        EXPECT_EQ(EndLevelX, -1);
        chooseRow(c.row); // back to no tool, the button choices gone with the next enter
    }
    // Just off the palette's column and off the layer list, the map takes the click.
    chooseRow(kLayerFront4);
    pass(122, 97, true);
    pass(122, 97, false);
    EXPECT_NE(getTileLayer(kLayerFront4)->grid.get(1, 1), 0);
    pass(663, 376, true);
    pass(663, 376, false);
    EXPECT_NE(getTileLayer(kLayerFront4)->grid.get(663 / 64, 376 / 64), 0);
}

TEST_F(LevelEditorTest, FarValuesFromALevelFileShowHeldToTheFieldRange) {
    // A level file may hold any finite real: fields show such values held to 32 bits, and an end marker far
    // off the screen draws no text, with no conversion past what an integer holds.
    CurrentLevelGoals.medalTimes[0] = 1e12;
    CurrentLevelGoals.timeLimit = -1e15;
    EndLevelX = 1e15;
    EndLevelY = -1e15;
    chooseRow(kLayerRowSpecial);
    press(props().gameMode);
    EXPECT_EQ(props().timeFields[0].text, "2147483647");
    EXPECT_EQ(props().timeLimitField.text, "-2147483648");
    editor.draw();
}

TEST_F(LevelEditorTest, FunctionKeysAndTheBackKey) {
    keys.press(0x70); // F1
    pass(400, 300, false);
    pass(400, 300, false); // held: flips once
    EXPECT_FALSE(editor.isAutoTileOn());
    keys.release(0x70);
    keys.press(0x71);
    pass(400, 300, false);
    EXPECT_FALSE(editor.isAutoCollisionOn());
    EXPECT_TRUE(editor.isAutoTileOn() == false);
    keys.release(0x71);

    createBackKey();
    BackKey->downBefore = true; // released this pass
    BackKey->downNow = false;
    chooseRow(kLayerRowEntities);
    pass(400, 300, false);
    deleteBackKey();
    EXPECT_EQ(StateRequest.id, kStateMainMenu);
    EXPECT_EQ(StateRequest.mode, kLeaveAndEnter);
}

TEST_F(LevelEditorTest, DrawShowsMagentaUnderHiddenLayersThenBoundsAndTheEndMarker) {
    for (auto& button : editor.visibilityButtons) button->selected = 0;
    EndLevelX = 100;
    EndLevelY = 600;
    KGraphicRecorder::clearCalls();
    editor.draw();
    const auto calls = KGraphicRecorder::callsOn(static_cast<KGraphicRecorder*>(sharedGraphic));
    ASSERT_GE(calls.size(), 7u);
    EXPECT_EQ(calls[0].operation, "fillRect");
    EXPECT_EQ(calls[0].args, (std::vector<float>{0, 0, 800, 600, 1, 0, 1, 1}));
    EXPECT_EQ(calls[1].operation, "drawLine"); // left bound at x = 0 - 0
    EXPECT_EQ(calls[1].args, (std::vector<float>{0, 0, 0, 600, 1, 1, 1, 1}));
    EXPECT_EQ(calls[3].args[1], float(tileMap.boundsTop - 550));
    EXPECT_EQ(calls[5].args, (std::vector<float>{70, 20, 130, 80, 1, 0, 0, 1})); // the end marker's cross
    // No tool: nothing after the marker but the layer list (two boxes and outlines per row).
    int fills = 0;
    for (size_t i = 7; i < calls.size(); i++) fills += calls[i].operation == "fillRect";
    EXPECT_EQ(fills, 2 * kLayerListRows);
}

TEST_F(LevelEditorTest, CollisionOverlayFillsEachShapeAtParallaxOne) {
    tileMap.collisionGrid.set(1, 1, kShapeFull);
    tileMap.collisionGrid.set(2, 1, kShapeLeftHalf);
    tileMap.collisionGrid.set(3, 1, kShapeNoTopLeft); // two rectangles
    KGraphicRecorder::clearCalls();
    editor.drawCollisionOverlay(70, 10); // first column 1, six pixels into it; first row 0
    const auto calls = KGraphicRecorder::callsOn(static_cast<KGraphicRecorder*>(sharedGraphic));
    ASSERT_EQ(calls.size(), 4u); // the empty cells draw nothing
    EXPECT_EQ(calls[0].args, (std::vector<float>{-6, 54, 58, 118, 1, 1, 1, 0.5f}));
    EXPECT_EQ(calls[1].args, (std::vector<float>{58, 54, 90, 118, 1, 1, 1, 0.5f}));
    EXPECT_EQ(calls[2].args, (std::vector<float>{154, 54, 186, 86, 1, 1, 1, 0.5f}));
    EXPECT_EQ(calls[3].args, (std::vector<float>{122, 86, 186, 118, 1, 1, 1, 0.5f}));
}

} // namespace
