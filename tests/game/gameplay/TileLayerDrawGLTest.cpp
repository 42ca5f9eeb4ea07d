// Tiles drawn on a real window (offscreen video, Mesa GL): every turn and mirror of a tile, cut at a line
// to its part above or below, shows exactly the pixels of the whole tile on its side of the line; a theme's
// tile sheets learn their frames' alpha while they load.
#include "FolderPaths.h"
#include "GameWindow.h"
#include "HostSystem.h"
#include "KGraphic.h"
#include "KImage.h"
#include "KWindow.h"
#include "KWindowD3D.h"
#include "SpriteSheet.h"
#include "SpriteSheetTable.h"
#include "TerrainTables.h"
#include "TileDefinition.h"
#include "TileSetTable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

class TileDrawGL : public testing::Test {
protected:
    void SetUp() override {
        host::setMessageBoxHandler(
            [this](const std::string& caption, const std::string&) { boxes.push_back(caption); });
        setUpFolders();
        opened = createGameWindow(/*windowed=*/true);
        if (!opened) return;
        loadSpriteSheets();
        buildTerrainTables();
    }
    void TearDown() override {
        if (opened) {
            freeTerrainTables();
            freeSpriteSheets();
            destroyGameWindow();
        }
        host::setMessageBoxHandler(nullptr);
    }

    // The back buffer after drawing on black.
    void frame(KImage& image, const std::function<void()>& draw) {
        gameWindow->setDefaultWorldView();
        sharedGraphic->fillRect(0, 0, kGameWidth, kGameHeight, 0, 0, 0, 1);
        draw();
        EXPECT_TRUE(static_cast<KWindowD3D*>(gameWindow)->getBackBufferAsImage(kGameWidth, kGameHeight, image));
        gameWindow->flipBackBuffer();
    }

    std::vector<std::string> boxes;
    bool opened = false;
};

int channelDifference(uint32_t a, uint32_t b) {
    int most = 0;
    for (int shift = 0; shift < 24; shift += 8)
        most = std::max(most, std::abs(int((a >> shift) & 255) - int((b >> shift) & 255)));
    return most;
}

bool isBlack(uint32_t pixel) {
    return (pixel & 0xFFFFFF) == 0;
}

} // namespace

TEST_F(TileDrawGL, CutTilesKeepThePixelsOfTheirSide) {
    ASSERT_TRUE(opened);
    ASSERT_TRUE(boxes.empty()) << boxes.front();
    // Sand frame 8 (opaque) and rock frame 1 (blended), each in its eight turns and mirrors.
    std::vector<int> codes;
    for (int code = 3; code <= 10; code++) codes.push_back(code);
    for (int code = 89; code <= 96; code++) codes.push_back(code);
    constexpr int top = 96, line = top + 24;
    auto placeOf = [](size_t i) { return int(i % 8) * 80 + 40; };
    auto rowOf = [](size_t i) { return i < 8 ? 0 : 200; };

    KImage whole, above, below;
    frame(whole, [&] {
        for (size_t i = 0; i < codes.size(); i++) getTileDefinition(codes[i])->draw(placeOf(i), top + rowOf(i));
    });
    frame(above, [&] {
        for (size_t i = 0; i < codes.size(); i++)
            getTileDefinition(codes[i])->drawAbove(placeOf(i), top + rowOf(i), line + rowOf(i));
    });
    frame(below, [&] {
        for (size_t i = 0; i < codes.size(); i++)
            getTileDefinition(codes[i])->drawBelow(placeOf(i), top + rowOf(i), line + rowOf(i));
    });

    for (size_t i = 0; i < codes.size(); i++) {
        SCOPED_TRACE(codes[i]);
        int drawn = 0, wrongAbove = 0, wrongBelow = 0;
        for (int y = top; y < top + 64; y++) {
            for (int x = placeOf(i); x < placeOf(i) + 64; x++) {
                const int py = y + rowOf(i);
                const uint32_t w = whole.getPixel(x, py), a = above.getPixel(x, py), b = below.getPixel(x, py);
                if (!isBlack(w)) drawn++;
                if (y == line - 1 || y == line) continue; // the row at the line may go either way
                if (y < line) {
                    wrongAbove += channelDifference(a, w) > 8;
                    wrongBelow += !isBlack(b);
                } else {
                    wrongAbove += !isBlack(a);
                    wrongBelow += channelDifference(b, w) > 8;
                }
            }
        }
        EXPECT_GT(drawn, 64 * 64 / 2) << "the tile shows";
        EXPECT_EQ(wrongAbove, 0);
        EXPECT_EQ(wrongBelow, 0);
    }

    // The turns differ from one another, so the comparison above tells them apart.
    int differing = 0;
    for (int y = top; y < top + 64; y++)
        for (int x = 0; x < 64; x++)
            differing += channelDifference(whole.getPixel(placeOf(0) + x, y), whole.getPixel(placeOf(1) + x, y)) > 8;
    EXPECT_GT(differing, 100);
}

TEST_F(TileDrawGL, ATilesSheetLoadedForAnotherThemeKnowsItsFramesAlphaAsItLoads) {
    ASSERT_TRUE(opened);
    // The sheets the tiles draw from (sand, sky, rock, coral) were measured when the terrain tables were built;
    // from then on each new file is measured from the decode of its own load, with no classification between.
    for (int set = 0; set < kTileSetCount; set++)
        for (int cell : {1, 2, 3, 5}) {
            const std::string file = getTileSetTableFileName(set, cell);
            const int n = getTileSetTableSheet(set, cell);
            SCOPED_TRACE(file);
            replaceSpriteSheet(file, n);
            const SpriteSheet& loaded = *getSpriteSheet(n);
            // The same frames measured from the file by a sheet that was never asked before.
            SpriteSheet fresh(loaded.filtersLinearly());
            for (int f = 0; f < loaded.frameCount(); f++) {
                const SpriteFrame& frame = *loaded.getFrame(f);
                fresh.addFrame(frame.left, frame.top, frame.right, frame.bottom);
            }
            fresh.load(file);
            fresh.measureFrameAlpha();
            int known = 0;
            for (int f = 0; f < loaded.frameCount(); f++) {
                EXPECT_EQ(loaded.getFrame(f)->alpha, fresh.getFrame(f)->alpha) << "frame " << f;
                known += loaded.getFrame(f)->alpha != kFrameAlphaUnknown;
            }
            EXPECT_GT(known, 0);
        }
    EXPECT_TRUE(boxes.empty()) << boxes.front();
}
