// The editor drawn by the real renderer after a full start-up: the default level under the layer list with
// the properties panel open, saved from the back buffer as a PNG (kept where GLIMMERFIN_SHOT_DIR names a
// folder, so the picture can be looked at).
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
    // Two views: the tile palette with the "Rock" group open over Front 4, then the properties panel with
    // the collision overlay and the game-mode dialog open.
    const int views[2][2] = {{7, 4}, {11, -1}};
    for (int view = 0; view < 2; view++) {
        for (auto& button : editor->layerButtons) button->selected = 0;
        editor->layerButtons[size_t(views[view][0])]->selected = 1;
        MouseState = MouseStateRecord();
        MouseState.x = 400;
        MouseState.y = 300;
        editor->update();
        if (views[view][1] >= 0)
            editor->paletteGroups[size_t(views[view][1])]->caption.selected = 1;
        else
            editor->visibilityButtons[kLayerRowCollision]->selected = 1;
        editor->cameraX = 200;
        editor->cameraY = 1100;
        drawFrame();
        const std::string path = dir + "editor" + std::to_string(view) + ".png";
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
