// The editor drawn by the real renderer after a full start-up, read back from the frame's pixels: the default
// level under the layer list with the tile palette, the properties panel and its game-mode dialog, and the
// entity dialog; then the save dialog opened through the main loop and closed by the back key, which only with
// no dialog left leaves for the main menu. GF_SCREENSHOT_DIR names a folder to keep the pictures in for a look.
#include "../framework/ScriptedKeys.h"
#include "EditorPanels.h"
#include "GF_LevelEditor.h"
#include "GameShell.h"
#include "GameWindow.h"
#include "HostInput.h"
#include "HostSystem.h"
#include "InputState.h"
#include "KImage.h"
#include "KWindow.h"
#include "KWindowD3D.h"
#include "PlacementList.h"
#include "ProgramStates.h"
#include "TileLayer.h"
#include "TileMap.h"

#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The fills of the editor's widgets, as the renderer packs them (each channel truncated from value x 255).
struct Colour {
    int r, g, b;
};
constexpr Colour kButtonFill = {191, 191, 255}; // (0.75, 0.75, 1.0)
constexpr Colour kChosenFill = {255, 127, 127}; // (1.0, 0.5, 0.5): a pressed button, a selected toggle
constexpr Colour kPanelFill = {204, 204, 204};  // (0.8, 0.8, 0.8): a dialog's box
constexpr Colour kFieldFill = {255, 255, 255};  // a text field

constexpr int kVkEscape = 0x1B, kVkLeftButton = 0x01;

class LevelEditorGL : public testing::Test {
protected:
    void SetUp() override {
        host::setMessageBoxHandler(
            [this](const std::string& caption, const std::string& text) { boxes.push_back(caption + ": " + text); });
        ASSERT_TRUE(initGame());
        requestProgramState(kStateLevelEditor, kLeaveAndEnter);
        switchProgramState();
        editor = dynamic_cast<GF_LevelEditor*>(currentState);
        ASSERT_NE(editor, nullptr);
    }
    void TearDown() override {
        requestProgramState(kQuitProgram, kLeaveAndEnter);
        switchProgramState();
        gameWindow->terminate();
        shutdownGame();
        host::clearCursorOverride();
        host::setMessageBoxHandler(nullptr);
        host::clearQuitPosted();
    }

    // Draws the frame, keeps it as a picture when asked to, and reads it back.
    static void frame(const std::string& name, KImage& image) {
        drawFrame();
        if (const char* keep = std::getenv("GF_SCREENSHOT_DIR")) {
            const std::string path = std::string(keep) + "/" + name;
            EXPECT_TRUE(gameWindow->saveBackBuffer(path.c_str(), K_IMAGE_PNG, kGameWidth, kGameHeight));
        }
        EXPECT_TRUE(dynamic_cast<KWindowD3D*>(gameWindow)->getBackBufferAsImage(kGameWidth, kGameHeight, image));
        gameWindow->flipBackBuffer();
    }
    static bool shows(const KImage& image, int x, int y, Colour colour) {
        const uint32_t px = image.getPixel(x, y);
        auto near = [](uint32_t channel, int want) { return std::abs(int(channel) - want) <= 2; };
        return near(KImage::red(px), colour.r) && near(KImage::green(px), colour.g) && near(KImage::blue(px), colour.b);
    }
    // One click through the main loop at a point: pressed on one pass, released on the next.
    void click(int x, int y) {
        host::setCursorOverride(x, y);
        keys.press(kVkLeftButton);
        runMainLoopPass();
        keys.release(kVkLeftButton);
        runMainLoopPass();
    }
    void pressBackKey() {
        keys.press(kVkEscape);
        runMainLoopPass();
        keys.release(kVkEscape);
        runMainLoopPass();
    }

    ScriptedKeys keys;
    GF_LevelEditor* editor = nullptr;
    std::vector<std::string> boxes;
};

} // namespace

TEST_F(LevelEditorGL, DrawsTheDefaultLevelWithItsPanelsAndDialogs) {
    EXPECT_TRUE(tileMap.levelLoaded);
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
    struct View {
        const char* picture;
        std::function<void()> setUp;
        std::function<void(const KImage&)> check;
    };
    using D = LevelPropertiesWidgets;
    using E = EntityDialogWidgets;
    const View views[] = {
        {"editor-tile-palette.png",
         [&] {
             chooseRow(kLayerFront4);
             editor->paletteGroups[4]->caption.selected = 1;
         },
         [&](const KImage& image) {
             EXPECT_TRUE(shows(image, 23, 112, kChosenFill)) << "the open \"Rock\" group";
             EXPECT_TRUE(shows(image, 23, 92, kButtonFill)) << "the closed \"Sand\" group";
             EXPECT_TRUE(shows(image, 683, 360 + 17 * kLayerFront4 + 12, kChosenFill)) << "the chosen layer";
             EXPECT_TRUE(shows(image, 683, 360 + 12, kButtonFill)) << "another layer";
             // The strip's box: light yellow, blended over the map.
             const ButtonStrip& strip = editor->paletteGroups[4]->strip;
             const uint32_t px = image.getPixel(strip.x + 4, strip.top + 4);
             EXPECT_GE(KImage::red(px), 200u);
             EXPECT_GE(KImage::green(px), 200u);
         }},
        {"editor-game-mode-dialog.png",
         [&] {
             chooseRow(kLayerRowSpecial);
             editor->visibilityButtons[kLayerRowCollision]->selected = 1;
             editor->properties->gameMode.selected = 1;
             editor->properties->stuntMode.selected = 1;
             editor->properties->actionMode.selected = 0;
         },
         [&](const KImage& image) {
             EXPECT_TRUE(shows(image, D::dx + 300, D::dy + 200, kPanelFill)) << "the dialog's box";
             EXPECT_TRUE(shows(image, D::dx + 153, D::dy + 37, kChosenFill)) << "\"Stunt Mode\"";
             EXPECT_TRUE(shows(image, D::dx + 23, D::dy + 37, kButtonFill)) << "\"Action Mode\"";
             EXPECT_TRUE(shows(image, D::dx + 115, D::dy + 82, kFieldFill)) << "a score field";
             EXPECT_TRUE(shows(image, 23, 522, kChosenFill)) << "the \"Game Mode\" toggle";
         }},
        {"editor-entity-dialog.png",
         [&] {
             chooseRow(kLayerRowEntities);
             editor->editedPlacement = Placements.addPlacement(8, 600, 1300);
             editor->fillEntityDialog();
             editor->dialogOpen = 1;
         },
         [&](const KImage& image) {
             EXPECT_TRUE(shows(image, E::dx + 300, E::dy + 420, kPanelFill)) << "the dialog's box";
             EXPECT_TRUE(shows(image, E::dx + 160, E::dy + 85, kFieldFill)) << "the Pos X field";
             EXPECT_TRUE(shows(image, 23, 23, kButtonFill)) << "\"Select\"";
         }},
    };
    for (const View& view : views) {
        SCOPED_TRACE(view.picture);
        view.setUp();
        editor->cameraX = 200;
        editor->cameraY = 1100;
        KImage image;
        frame(view.picture, image);
        view.check(image);
    }
    EXPECT_EQ(boxes, std::vector<std::string>{});
}

TEST_F(LevelEditorGL, TheBackKeyClosesTheSaveDialogThenLeavesForTheMainMenu) {
    using D = LevelPropertiesWidgets;
    const int row = 360 + 17 * kLayerRowSpecial + 5;
    click(700, row);             // "Special"
    click(23, kGameHeight - 27); // "Save"
    ASSERT_TRUE(editor->properties->save.selected);
    editor->properties->saveName.setText("Kelp Maze");
    host::setCursorOverride(400, 200);
    runMainLoopPass();
    KImage open;
    frame("editor-save-dialog-open.png", open);
    EXPECT_TRUE(shows(open, D::sx + 200, D::sy + 55, kPanelFill)) << "the save dialog's box";
    EXPECT_TRUE(shows(open, D::sx + 370, D::sy + 30, kFieldFill)) << "its name field";
    EXPECT_TRUE(shows(open, 23, kGameHeight - 18, kChosenFill)) << "the \"Save\" toggle";

    pressBackKey();
    EXPECT_EQ(currentState, editor) << "the editor stays";
    EXPECT_FALSE(editor->properties->save.selected);
    EXPECT_EQ(editor->properties->saveName.text, "Kelp Maze");
    KImage closed;
    frame("editor-save-dialog-after-escape.png", closed);
    EXPECT_FALSE(shows(closed, D::sx + 200, D::sy + 55, kPanelFill)) << "no dialog box";
    EXPECT_FALSE(shows(closed, D::sx + 370, D::sy + 30, kFieldFill)) << "no name field";
    EXPECT_TRUE(shows(closed, 23, kGameHeight - 18, kButtonFill)) << "the \"Save\" toggle is off";
    EXPECT_TRUE(shows(closed, 23, 522, kButtonFill)) << "the panel is still shown";

    pressBackKey();
    runMainLoopPass(); // the change of state happens at the start of a pass
    EXPECT_EQ(currentState, programStates[kStateMainMenu].get());
    EXPECT_EQ(boxes, std::vector<std::string>{});
}
