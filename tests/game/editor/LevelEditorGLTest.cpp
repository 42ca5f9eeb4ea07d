// The editor drawn by the real renderer after a full start-up: the default level under the layer list with
// its panels and dialogs open, saved from the back buffer as a PNG (kept where GLIMMERFIN_SHOT_DIR names a
// folder, so the picture can be looked at).
#include "EditorPanels.h"
#include "GF_LevelEditor.h"
#include "GameShell.h"
#include "GameWindow.h"
#include "HostSystem.h"
#include "InputState.h"
#include "KImage.h"
#include "KWindow.h"
#include "PlacementList.h"
#include "ProgramStates.h"
#include "TempFolder.h"
#include "TileMap.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

TEST(LevelEditorGL, DrawsTheDefaultLevelWithItsPanels) {
    host::setMessageBoxHandler([](const std::string&, const std::string&) {});
    ASSERT_TRUE(initGame());
    requestProgramState(kStateLevelEditor, kLeaveAndEnter);
    switchProgramState();
    auto* editor = dynamic_cast<GF_LevelEditor*>(currentState);
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(tileMap.levelLoaded);

    TempFolder folder;
    const char* keep = std::getenv("GLIMMERFIN_SHOT_DIR");
    const std::string dir = keep ? std::string(keep) + "/" : folder.path() + "/";
    // Three views: the tile palette with the "Rock" group open over Front 4; the properties panel with the
    // collision overlay and the game-mode dialog in Stunt mode; the entity panel with a placement's dialog.
    auto chooseRow = [&](int row) {
        for (auto& button : editor->layerButtons) button->selected = 0;
        editor->layerButtons[size_t(row)]->selected = 1;
        MouseState = MouseStateRecord();
        MouseState.x = 400;
        MouseState.y = 300;
        editor->update();
    };
    const std::function<void()> views[] = {
        [&] {
            chooseRow(7);
            editor->paletteGroups[4]->caption.selected = 1;
        },
        [&] {
            chooseRow(kLayerRowSpecial);
            editor->visibilityButtons[kLayerRowCollision]->selected = 1;
            editor->properties->gameMode.selected = 1;
            editor->properties->stuntMode.selected = 1;
            editor->properties->actionMode.selected = 0;
        },
        [&] {
            chooseRow(kLayerRowEntities);
            editor->editedPlacement = Placements.addPlacement(8, 600, 1300);
            editor->fillEntityDialog();
            editor->dialogOpen = 1;
        },
    };
    int view = 0;
    for (const auto& setUpView : views) {
        setUpView();
        editor->cameraX = 200;
        editor->cameraY = 1100;
        drawFrame();
        const std::string path = dir + "editor" + std::to_string(view++) + ".png";
        ASSERT_TRUE(gameWindow->saveBackBuffer(path.c_str(), K_IMAGE_PNG, kGameWidth, kGameHeight));
        EXPECT_GT(std::filesystem::file_size(path), 10000u);
        gameWindow->flipBackBuffer();
    }

    requestProgramState(kQuitProgram, kLeaveAndEnter);
    switchProgramState();
    gameWindow->terminate();
    shutdownGame();
    host::setMessageBoxHandler(nullptr);
    host::clearQuitPosted();
}
