// What a frame of play leaves of the frames before it, on a real window: a custom level whose back layers are
// empty (only a floor and a few pillars of terrain) entered from the level select, the dolphin swimming across
// it; and a Race level in which the dolphin dies, its hoops still drawn, until the failed menu opens. The frames
// are saved through the back buffer, into GF_SCREENSHOT_DIR when that is set.
#include "../framework/SteadyShell.h"

#include "EntityType.h"
#include "GF_Entity.h"
#include "KGraphic.h"
#include "KImage.h"
#include "KWindowD3D.h"
#include "LevelFile.h"
#include "ProgressTable.h"
#include "TileDefinition.h"
#include "TileMap.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using namespace steady_play;

constexpr int kCols = 80, kRows = 10; // the floor in view from top to bottom

class FrameFill : public SteadyShell {
protected:
    void SetUp() override {
        SteadyShell::SetUp();
        for (int key = 0; key < 256; ++key) keyDown(key) = false;
        setKeyPoll(scriptedPoll);
    }

    // The frame of this moment drawn over what the back buffer holds, read back, and kept as a PNG.
    void drawnFrame(KImage& image, const std::string& shotName = "") {
        drawFrame();
        EXPECT_TRUE(static_cast<KWindowD3D*>(gameWindow)->getBackBufferAsImage(kGameWidth, kGameHeight, image));
        if (!shotName.empty()) {
            const char* keep = std::getenv("GF_SCREENSHOT_DIR");
            const std::string shot = (keep ? std::string(keep) : home.homePath()) + "/" + shotName;
            EXPECT_TRUE(gameWindow->saveBackBuffer(shot.c_str(), K_IMAGE_PNG, kGameWidth, kGameHeight));
        }
    }

    // A tile code that fills its whole cell with the tile set loaded now.
    static uint16_t fillingTile() {
        for (int code = 1; code < kTileCodeCount; code++)
            if (const TileDefinition* tile = getTileDefinition(code); tile && tile->coverage == kTileFillsCell)
                return uint16_t(code);
        ADD_FAILURE() << "no tile fills its cell";
        return 0;
    }

    // A custom level of open water with nothing in its back layers: a floor of two rows and a pillar every ten
    // cells on the first front layer, the player near its left end, the end marker at its far right.
    void writeCustomLevel(const std::string& name) {
        LevelData level;
        for (LevelLayerData& layer : level.layers) layer.tiles.reset(kCols, kRows);
        level.collision.reset(kCols, kRows);
        level.substance.reset(kCols, kRows);
        const uint16_t rock = fillingTile();
        TileGrid& front = level.layers[kLayerFront1].tiles;
        for (int col = 0; col < kCols; ++col) {
            for (int row = kRows - 2; row < kRows; ++row) front.set(col, row, rock);
            if (col % 10 == 5)
                for (int row = kRows - 5; row < kRows - 2; ++row) front.set(col, row, rock);
        }
        level.levelWidth = kCols * 64.0;
        level.levelHeight = kRows * 64.0;
        level.clipLevel = 0;
        level.boundsRight = kCols * 64;
        level.boundsBottom = kRows * 64;
        level.placements = {PlacementFields{kEntityZuzevir, 300, 400, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
        level.endLevelX = (kCols - 2) * 64.0;
        level.endLevelY = 400;
        ASSERT_TRUE(writeLevelData(getCustomLevelsFolder() + name, level));
        buildLevelCatalogue();
    }

    static int32_t customIndex(const std::string& name) {
        const auto& list = LevelCatalogue.list(kListCustom);
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i].fileName == name) return int32_t(i);
        return -1;
    }

    // Into the level as the player enters it; a help page the level opens with is closed at once.
    static void enterLevel(int32_t kind, int32_t index) {
        host::setCursorOverride(760, 300);
        startLevelOfKind(kind, index);
        steadyPass();
        if (getGameEngine()->getOpenOverlayKind() >= 0) getGameEngine()->requestCloseOverlay();
        steadyPass();
    }
};

// Where no tile covers the game area, the frame is black: nothing of the level select it was entered from, and
// no trail of the swimming dolphin, shows through. Drawn a second time over a magenta screen, the same frame
// comes out pixel for pixel.
TEST_F(FrameFill, ALevelWithEmptyBackLayersLeavesNoTrails) {
    writeCustomLevel("emptyback.lvl");
    const int32_t index = customIndex("emptyback.lvl");
    ASSERT_GE(index, 0);
    requestProgramState(kStateLevelSelect, kLeaveAndEnter);
    for (int pass = 0; pass < 5; ++pass) steadyPass();

    enterLevel(kListCustom, index);
    GF_GameEngine* game = getGameEngine();
    ASSERT_EQ(currentState, game);
    ASSERT_EQ(game->getOpenOverlayKind(), -1);
    const double startX = playerEntity->x;
    keyDown('D') = true;
    for (int pass = 0; pass < 300; ++pass) steadyPass(); // five seconds: the goal arrow has faded by then
    keyDown('D') = false;
    ASSERT_EQ(game->getOpenOverlayKind(), -1);
    EXPECT_GT(playerEntity->x, startX + 600) << "the dolphin swam across the screen";

    KImage played, fresh;
    drawnFrame(played, "framefill-emptyback.png");
    gameWindow->setDefaultWorldView();
    sharedGraphic->fillRect(0, 0, float(kGameWidth), float(kGameHeight), 1, 0, 1, 1);
    drawnFrame(fresh);
    ASSERT_EQ(played.getWidth(), fresh.getWidth());
    int differing = 0, black = 0, first = -1;
    for (int y = 0; y < kGameHeight; ++y)
        for (int x = 0; x < kGameWidth; ++x) {
            const uint32_t a = played.getPixel(x, y), b = fresh.getPixel(x, y);
            if ((a & 0xFFFFFFu) != (b & 0xFFFFFFu) && differing++ == 0) first = y * kGameWidth + x;
            if ((a & 0xFFFFFFu) == 0) black++;
        }
    EXPECT_EQ(differing, 0) << "first at (" << first % kGameWidth << ", " << first / kGameWidth << ")";
    EXPECT_GT(black, kGameWidth * kGameHeight / 2) << "the empty water is black";
    EXPECT_LT(black, kGameWidth * kGameHeight * 9 / 10) << "the floor, the pillars, the dolphin and the HUD show";
    gameWindow->flipBackBuffer(/*waitForForeground=*/false);
}

// A Race level in which the dolphin dies: its hoops stay on the screen, and 3 s of play later the failed menu
// opens, the run recorded as lost.
TEST_F(FrameFill, ARaceLevelFailsThreeSecondsAfterTheDolphinDied) {
    ASSERT_FALSE(LevelCatalogue.list(kListRace).empty());
    enterLevel(kListRace, 0);
    GF_GameEngine* game = getGameEngine();
    ASSERT_EQ(currentState, game);
    ASSERT_GT(RequiredHoops, 0);
    keyDown('D') = true;
    for (int pass = 0; pass < 30; ++pass) steadyPass();
    keyDown('D') = false;
    playerEntity->takeDamage(1e9, nullptr);
    for (int pass = 0; pass < 60; ++pass) steadyPass(); // a second after the death
    ASSERT_TRUE(playerEntity->removed);
    ASSERT_EQ(game->getOpenOverlayKind(), -1);
    KImage frame;
    drawnFrame(frame, "framefill-race-dead-1s.png");
    gameWindow->flipBackBuffer(/*waitForForeground=*/false);
    int passes = 60;
    while (game->getOpenOverlayKind() < 0 && passes < 60 * 5) {
        steadyPass();
        ++passes;
    }
    EXPECT_EQ(game->getOpenOverlayKind(), kOverlayFailed);
    EXPECT_NEAR(passes * kFrameStepMs / 1000.0, kDeathFailTime, 0.02);
    for (; passes < 4 * 60; ++passes) steadyPass(); // four seconds after the death
    drawnFrame(frame, "framefill-race-dead-4s.png");
    gameWindow->flipBackBuffer(/*waitForForeground=*/false);
    const LevelRecord stored = findCurrentLevelRecord();
    EXPECT_FALSE(stored.name.empty()) << "the run is recorded";
    EXPECT_FALSE(stored.completed);
    EXPECT_EQ(stored.bestTime, LevelRecord{}.bestTime) << "the HUD's best time stays \"-\"";
}

} // namespace
