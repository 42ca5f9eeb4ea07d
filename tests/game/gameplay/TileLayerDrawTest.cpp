// Tile drawing over the game's sprite sheets with recording pictures: the definitions of the tile codes,
// the draw of each draw mode, the window of cells a layer draws for a camera and its scroll factors, the
// rows cut at a clip line, the animated water tiles, the editor's substance overlay, and the tiles a frame
// leaves out because tiles drawn over them fill their cells.
#include "FolderPaths.h"
#include "FrameClock.h"
#include "GameWindow.h"
#include "HostSystem.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "SpriteAnimation.h"
#include "SpriteSheet.h"
#include "SpriteSheetTable.h"
#include "TerrainCodes.h"
#include "TerrainTables.h"
#include "TileDefinition.h"
#include "TileMap.h"
#include "TileOcclusion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

class TileDrawTest : public testing::Test {
protected:
    void SetUp() override {
        host::setMessageBoxHandler(
            [this](const std::string& caption, const std::string&) { boxes.push_back(caption); });
        setUpFolders();
        loadSpriteSheets();
        buildTerrainTables();
        savedFrameTime = frameTime;
        KGraphicRecorder::clearCalls();
    }
    void TearDown() override {
        frameTime = savedFrameTime;
        freeTerrainTables();
        freeSpriteSheets();
        host::setMessageBoxHandler(nullptr);
    }

    static TileGrid& gridOf(int layer) { return getTileLayer(layer)->grid; }
    static void fill(int layer, uint16_t code) {
        TileGrid& grid = gridOf(layer);
        for (int row = 0; row < grid.rows(); row++)
            for (int col = 0; col < grid.cols(); col++) grid.set(col, row, code);
    }
    // The tile blits recorded since the last clear (every recorded call is a tile's in these tests).
    static std::vector<RecordedDraw> draws() {
        std::vector<RecordedDraw> out;
        for (const RecordedDraw& call : KGraphicRecorder::calls())
            if (call.operation.rfind("blit", 0) == 0) out.push_back(call);
        return out;
    }
    static const SpriteFrame* frameOf(int sheet, int frame) { return getSpriteSheet(sheet)->getFrame(frame); }

    ScopedGraphicRecording recording;
    std::vector<std::string> boxes;
    double savedFrameTime = 0;
};

} // namespace

TEST_F(TileDrawTest, TileCodesNameTheirSheetFramesTurnsAndMirrors) {
    ASSERT_TRUE(boxes.empty()) << boxes.front();
    struct Case {
        int code, sheet, frame;
        bool opaque;
        int rotation;
        bool flipX;
        int drawMode;
    };
    const Case cases[] = {
        {1, 3, 0, false, 0, true, kTileBlended},
        {2, 3, 8, false, 0, false, kTileBlended},
        {3, 4, 8, true, 0, false, kTileOpaque},
        {4, 4, 8, true, 90, false, kTileOpaqueRotated},
        {6, 4, 8, true, 270, false, kTileOpaqueRotated},
        {7, 4, 8, true, 0, true, kTileOpaque},
        {10, 4, 8, true, 270, true, kTileOpaqueRotated},
        {11, 4, 9, false, 0, false, kTileBlended},
        {12, 4, 9, false, 90, false, kTileBlendedRotated},
        {59, 4, 15, true, 0, false, kTileOpaque},
        {66, 4, 15, true, 270, true, kTileOpaqueRotated},
        {67, 5, 0, true, 0, false, kTileOpaque},
        {68, 5, 0, true, 0, true, kTileOpaque},
        {80, 5, 6, true, 0, true, kTileOpaque},
        {81, 6, 0, true, 0, false, kTileOpaque},
        {89, 6, 1, false, 0, false, kTileBlended},
        {137, 6, 7, true, 0, false, kTileOpaque},
        {145, 6, 8, true, 0, false, kTileOpaque},
        {153, 6, 9, false, 0, false, kTileBlended},
        {208, 6, 15, true, 270, true, kTileOpaqueRotated},
        {209, 5, 8, true, 0, false, kTileOpaque},
        {213, 5, 12, true, 0, false, kTileOpaque},
        {214, 5, 12, true, 0, true, kTileOpaque},
        {215, 5, 13, true, 0, false, kTileOpaque},
        {216, 5, 13, true, 0, true, kTileOpaque},
        {217, 4, 0, false, 0, false, kTileBlended},
        {228, 4, 5, false, 0, true, kTileBlended},
        {229, 4, 6, false, 0, false, kTileBlended},
        {230, 4, 6, false, 0, true, kTileBlended},
        {233, 4, 7, false, 0, false, kTileBlended},
        {234, 4, 7, false, 0, true, kTileBlended},
        {237, 21, 18, false, 0, false, kTileBlended},
        {241, 21, 35, false, 0, false, kTileBlended},
        {245, 21, 19, false, 0, false, kTileBlended},
        {269, 21, 0, false, 0, false, kTileBlended},
        {277, 21, 1, false, 0, false, kTileBlended},
        {281, 21, 1, false, 0, false, kTileBlended},
        {300, 21, 11, false, 0, false, kTileBlended},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        TileDefinition* tile = getTileDefinition(c.code);
        ASSERT_NE(tile, nullptr);
        bool fx, fy;
        EXPECT_EQ(tile->animation->currentSheetFrame(fx, fy), frameOf(c.sheet, c.frame));
        EXPECT_EQ(tile->opaque, c.opaque);
        EXPECT_EQ(tile->rotation, c.rotation);
        EXPECT_EQ(tile->flipX, c.flipX);
        EXPECT_EQ(tile->flipY, 0);
        EXPECT_EQ(tile->drawMode, c.drawMode);
    }
    ASSERT_NE(getTileDefinition(0), nullptr);
    EXPECT_EQ(getTileDefinition(0)->animation, nullptr);
    EXPECT_EQ(getTileDefinition(kTileCodeCount), nullptr);
    EXPECT_EQ(getTileDefinition(-1), nullptr);
}

TEST_F(TileDrawTest, EachDrawModeEndsInItsBlit) {
    TileGrid& grid = gridOf(kLayerFront1);
    grid.set(0, 0, 3);   // opaque
    grid.set(1, 0, 7);   // opaque, mirrored
    grid.set(2, 0, 4);   // opaque, turned 90
    grid.set(3, 0, 11);  // blended
    grid.set(4, 0, 12);  // blended, turned 90
    grid.set(5, 0, 999); // no such code: nothing
    getTileLayer(kLayerFront1)->draw(0, 0);
    const auto calls = draws();
    ASSERT_EQ(calls.size(), 5u);
    const SpriteFrame* f8 = frameOf(4, 8);
    EXPECT_EQ(calls[0].operation, "blitRect");
    EXPECT_EQ(calls[0].args,
              (std::vector<float>{float(f8->left), float(f8->top), float(f8->right), float(f8->bottom), 0, 0, 0, 0}));
    EXPECT_EQ(calls[1].operation, "blitRect");
    EXPECT_EQ(calls[1].args[4], 64);
    EXPECT_EQ(calls[1].args[6], 1) << "mirrored";
    EXPECT_EQ(calls[2].operation, "blitRectFx");
    EXPECT_EQ(calls[2].args[4], 128);
    EXPECT_EQ(calls[2].args[6], 90) << "angle";
    EXPECT_EQ(calls[2].args[7], 1) << "zoom";
    EXPECT_EQ(calls[3].operation, "blitAlphaRect");
    EXPECT_EQ(calls[3].args[4], 192);
    EXPECT_EQ(calls[4].operation, "blitAlphaRectFx");
    EXPECT_EQ(calls[4].args[6], 90);
    EXPECT_EQ(calls[4].args[8], 1) << "alpha";
}

TEST_F(TileDrawTest, ALayerDrawsOnlyTheCellsInView) {
    fill(kLayerFront1, 81);
    getTileLayer(kLayerFront1)->draw(1000.5, 500.25);
    auto calls = draws();
    ASSERT_EQ(calls.size(), 14u * 11u);
    // Column 15 starts 40 pixels left of the screen, row 7 52 pixels above it.
    EXPECT_EQ(calls.front().args[4], -40);
    EXPECT_EQ(calls.front().args[5], -52);
    EXPECT_EQ(calls.back().args[4], -40 + 13 * 64);
    EXPECT_EQ(calls.back().args[5], -52 + 10 * 64);

    // Past the grid's right edge only the columns the grid has are drawn, each once.
    KGraphicRecorder::clearCalls();
    getTileLayer(kLayerFront1)->draw(9800, 0); // columns 153 .. 155 of 156
    calls = draws();
    ASSERT_EQ(calls.size(), 3u * 11u);
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(), [](const RecordedDraw& c) { return c.args[4] == 2 * 64 - 8; }),
              11);

    // Left of the level (bounds narrower than the screen) column 0 moves right.
    KGraphicRecorder::clearCalls();
    getTileLayer(kLayerFront1)->draw(-200, 0);
    calls = draws();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front().args[4], 200);
}

TEST_F(TileDrawTest, ScrollFactorsScaleTheCameraPerLayer) {
    gridOf(kLayerMidAir).set(8, 13, 81);  // scroll 0.5, 1
    gridOf(kLayerBackAir).set(0, 13, 81); // scroll 0, 1
    gridOf(kLayerFront4).set(16, 13, 81); // scroll 1, 1
    const double camX = 1000, camY = 800;
    getTileLayer(kLayerMidAir)->draw(camX, camY);
    getTileLayer(kLayerBackAir)->draw(camX, camY);
    getTileLayer(kLayerFront4)->draw(camX, camY);
    const auto calls = draws();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].args[4], 8 * 64 - 500);
    EXPECT_EQ(calls[0].args[5], 13 * 64 - 800);
    EXPECT_EQ(calls[1].args[4], 0) << "the back layers stand still sideways";
    EXPECT_EQ(calls[1].args[5], 13 * 64 - 800);
    EXPECT_EQ(calls[2].args[4], 16 * 64 - 1000);

    // The Back Water layer does not move at all.
    gridOf(kLayerBackWater).set(2, 10, 81);
    KGraphicRecorder::clearCalls();
    getTileLayer(kLayerBackWater)->draw(5000, 4000);
    ASSERT_EQ(draws().size(), 1u);
    EXPECT_EQ(draws()[0].args[4], 128);
    EXPECT_EQ(draws()[0].args[5], 640);
}

TEST_F(TileDrawTest, AWaterLayerIsCutAtTheClipLevel) {
    fill(kLayerBackWater, 3);
    const SpriteFrame* f = frameOf(4, 8);
    // Camera y 1460: the water line lies 40 pixels down the screen, across row 0.
    getTileLayer(kLayerBackWater)->draw(0, 1460);
    auto calls = draws();
    ASSERT_EQ(calls.size(), 14u * 11u);
    for (int col = 0; col < 14; col++) {
        SCOPED_TRACE(col);
        EXPECT_EQ(calls[size_t(col)].operation, "blitAlphaRectFx");
        EXPECT_EQ(calls[size_t(col)].args[1], f->top + 40) << "the part above the line is cut off";
        EXPECT_EQ(calls[size_t(col)].args[5], 40);
    }
    EXPECT_EQ(calls[14].operation, "blitRect");
    EXPECT_EQ(calls[14].args[5], 64);

    // Camera y 1400: row 0 lies wholly above the line and is skipped, row 1 is cut at y = 100.
    KGraphicRecorder::clearCalls();
    getTileLayer(kLayerBackWater)->draw(0, 1400);
    calls = draws();
    ASSERT_EQ(calls.size(), 14u * 10u);
    EXPECT_EQ(calls[0].args[1], f->top + 36);
    EXPECT_EQ(calls[0].args[5], 100);

    // Camera y 700: the line lies below the layer's last row and nothing of the water layer shows.
    KGraphicRecorder::clearCalls();
    getTileLayer(kLayerBackWater)->draw(0, 700);
    EXPECT_TRUE(draws().empty());

    // A line a level file puts far below any screen: a water layer shows nothing, an air layer all, whole.
    struct Case {
        bool waterSide;
        double line;
        size_t draws;
    };
    TileLayer& layer = *getTileLayer(kLayerBackWater);
    for (const Case c :
         {Case{true, 1e300, 0}, Case{true, 3e9, 0}, Case{false, 1e300, 14 * 11}, Case{false, 3e9, 14 * 11}}) {
        SCOPED_TRACE(c.line);
        layer.clipAboveY = c.waterSide ? c.line : -1;
        layer.clipBelowY = c.waterSide ? -1 : c.line;
        KGraphicRecorder::clearCalls();
        layer.draw(0, 1460);
        calls = draws();
        ASSERT_EQ(calls.size(), c.draws);
        for (const RecordedDraw& call : calls) EXPECT_EQ(call.operation, "blitRect");
    }
}

TEST_F(TileDrawTest, ALayerLimitedToTheAirIsCutToItsPartAboveTheLine) {
    TileLayer& layer = *getTileLayer(kLayerFront2);
    layer.clipBelowY = 1000;
    layer.grid.set(0, 14, 3); // screen row 0 at camera y 896
    layer.grid.set(0, 15, 3); // row 1: across the line at y = 104
    layer.grid.set(1, 15, 4); // the same, turned 90 degrees
    layer.grid.set(0, 16, 3); // below the line: skipped
    layer.draw(0, 896);
    const auto calls = draws();
    ASSERT_EQ(calls.size(), 3u);
    const SpriteFrame* f = frameOf(4, 8);
    EXPECT_EQ(calls[0].operation, "blitRect");
    EXPECT_EQ(calls[1].operation, "blitAlphaRectFx");
    EXPECT_EQ(calls[1].args[3], f->bottom - 24) << "the part below the line is cut off";
    EXPECT_EQ(calls[1].args[5], 64);

    // The turned tile keeps the band of its picture that faces up after the turn (the right edge for a
    // quarter turn counter-clockwise), 40 pixels of it, drawn turned about the centre of the screen band it
    // fills: x 64 .. 128, y 64 .. 104.
    ASSERT_EQ(calls[2].operation, "blitAlphaRectFxF");
    EXPECT_EQ(calls[2].args, (std::vector<float>{float(f->left + 24), float(f->top), float(f->right), float(f->bottom),
                                                 96 - 20, 84 - 32, 90, 1, 1, 0, 0, 0, 0}));
}

TEST_F(TileDrawTest, TurnedTilesKeepTheBandThatFacesUp) {
    TileLayer& layer = *getTileLayer(kLayerFront2);
    layer.clipBelowY = 1000;
    const uint16_t codes[] = {5, 6, 8, 10}; // frame 8 turned 180 and 270, and mirrored turned 90 and 270
    for (int i = 0; i < 4; i++) layer.grid.set(i, 15, codes[i]);
    layer.draw(0, 906); // row 15's top at y = 54, the line 40 pixels below it
    const auto calls = draws();
    ASSERT_EQ(calls.size(), 4u);
    const SpriteFrame* f = frameOf(4, 8);
    const float l = float(f->left), t = float(f->top), r = float(f->right), b = float(f->bottom);
    // {source x1, y1, x2, y2}: the picture's bottom for a half turn, its left edge for a quarter turn
    // clockwise, and the mirrored turns take the other side.
    const float sources[4][4] = {{l, b - 40, r, b}, {l, t, l + 40, b}, {l, t, l + 40, b}, {r - 40, t, r, b}};
    for (int i = 0; i < 4; i++) {
        SCOPED_TRACE(codes[i]);
        ASSERT_EQ(calls[size_t(i)].operation, "blitAlphaRectFxF");
        const std::vector<float>& a = calls[size_t(i)].args;
        EXPECT_EQ((std::vector<float>{a[0], a[1], a[2], a[3]}),
                  (std::vector<float>{sources[i][0], sources[i][1], sources[i][2], sources[i][3]}));
        // Drawn about the centre of the band x .. x + 64, 54 .. 94 on the screen.
        EXPECT_EQ(a[4] + (a[2] - a[0]) / 2, i * 64 + 32);
        EXPECT_EQ(a[5] + (a[3] - a[1]) / 2, 54 + 20);

        // The part below the same line (the water layers' cut) takes the rest of the picture.
        KGraphicRecorder::clearCalls();
        getTileDefinition(codes[i])->drawBelow(i * 64, 54, 94);
        ASSERT_EQ(draws().size(), 1u);
        const std::vector<float> q = draws()[0].args; // the quad's source corners (u1, v1) .. (u1, v2) first
        const float below[4] = {std::min(q[0], q[2]), std::min(q[1], q[5]), std::max(q[0], q[2]), std::max(q[1], q[5])};
        const bool sideways = codes[i] != 5;
        EXPECT_EQ(sideways ? below[2] - below[0] : below[3] - below[1], 24);
        EXPECT_EQ(sideways ? (below[0] == a[2] || below[2] == a[0]) : below[3] == a[1], true)
            << "the two parts meet without overlap";
    }
}

TEST_F(TileDrawTest, WaterTilesAnimateAndStillTilesDoNot) {
    frameTime = 0.0625; // two updates per step of tile 1, eight per step of tile 2
    TileDefinition* fast = getTileDefinition(1);
    TileDefinition* slow = getTileDefinition(2);
    auto frameNow = [](TileDefinition* tile) {
        bool fx, fy;
        return tile->animation->currentSheetFrame(fx, fy);
    };
    for (int update = 1; update <= 16; update++) {
        updateAnimatedTiles();
        EXPECT_EQ(frameNow(fast), frameOf(3, (update / 2) % 8)) << update;
        EXPECT_EQ(frameNow(slow), frameOf(3, 8 + update / 8 % 4)) << update;
    }
    EXPECT_EQ(frameNow(getTileDefinition(81)), frameOf(6, 0));
    EXPECT_EQ(getTileDefinition(81)->animation->sequenceCount(), 0);

    // A drawn water tile shows the current frame, mirrored as its definition says.
    updateAnimatedTiles();
    updateAnimatedTiles();
    gridOf(kLayerFront1).set(0, 0, 1);
    getTileLayer(kLayerFront1)->draw(0, 0);
    ASSERT_EQ(draws().size(), 1u);
    EXPECT_EQ(draws()[0].operation, "blitAlphaRect");
    EXPECT_EQ(draws()[0].args[0], frameOf(3, 1)->left);
    EXPECT_EQ(draws()[0].args[6], 1);
}

TEST_F(TileDrawTest, TheSubstanceOverlayBoxesEveryVisibleCell) {
    sharedGraphic = createGraphic();
    ByteGrid& grid = tileMap.substanceGrid;
    grid.set(1, 1, kSubstanceWater);
    grid.set(2, 1, kSubstanceTransition);
    for (int col = 0; col < grid.cols(); col++) grid.set(col, 0, kSubstanceAir);
    KGraphicRecorder::clearCalls();
    drawSubstanceOverlay(32, 32);
    const auto calls = KGraphicRecorder::callsOn(static_cast<KGraphicRecorder*>(sharedGraphic));
    delete sharedGraphic;
    sharedGraphic = nullptr;
    // 14 x 11 cells, one of them split into two boxes.
    ASSERT_EQ(calls.size(), 14u * 11u + 1u);
    EXPECT_EQ(calls[0].args, (std::vector<float>{-32, -32, 32, 32, 1, 1, 1, 0.5f})) << "air, white";
    const RecordedDraw& water = calls[14 + 1];
    EXPECT_EQ(water.args, (std::vector<float>{32, 32, 96, 96, 0, 0, 1, 0.5f})) << "water, blue";
    EXPECT_EQ(calls[14 + 2].args, (std::vector<float>{96, 32, 160, 64, 1, 1, 1, 0.5f})) << "upper half";
    EXPECT_EQ(calls[14 + 3].args, (std::vector<float>{96, 64, 160, 96, 0, 0, 1, 0.5f})) << "lower half";
}

TEST_F(TileDrawTest, FrameAlphaGivesEachTileItsCover) {
    // Frames measured from the shipped pictures: sky and the solid sand fully opaque, the sand's edges and the
    // water surface partly clear, an unused coral frame wholly clear.
    EXPECT_EQ(frameOf(5, 0)->alpha, kFrameAlphaOpaque);
    EXPECT_EQ(frameOf(4, 8)->alpha, kFrameAlphaOpaque);
    EXPECT_EQ(frameOf(4, 9)->alpha, kFrameAlphaMixed);
    EXPECT_EQ(frameOf(21, 5)->alpha, kFrameAlphaClear);
    struct Case {
        int code;
        TileCoverage coverage;
    };
    const Case cases[] = {
        {67, kTileFillsCell},        // sky, drawn opaque
        {4, kTileFillsCell},         // solid sand turned 90 degrees, drawn opaque
        {11, kTileCoverageUnknown},  // a sand edge, blended
        {1, kTileCoverageUnknown},   // the animated water surface, blended
        {237, kTileFillsCell},       // a solid coral block: blended, but every texel opaque
        {241, kTileFillsCell},       // the other solid coral frame
        {253, kTileCoverageUnknown}, // a coral plant
    };
    for (const Case& c : cases) EXPECT_EQ(getTileDefinition(c.code)->coverage, c.coverage) << c.code;

    // A blended tile of a wholly clear frame draws nothing; an opaque one still fills its cell.
    TileDefinition* tile = getTileDefinition(253);
    tile->animation = std::make_unique<SpriteAnimation>();
    tile->animation->addFrame(getSpriteSheet(21), 5);
    classifyTileDefinitions();
    EXPECT_EQ(tile->coverage, kTileDrawsNothing);
    tile->drawMode = kTileOpaque;
    classifyTileDefinitions();
    EXPECT_EQ(tile->coverage, kTileFillsCell);
    // A frame that is not a whole cell covers nothing; this one is not even known, since linear filtering
    // reaches past the picture's edge around it.
    tile->animation->addFrame(getSpriteSheet(9), 0);
    classifyTileDefinitions();
    EXPECT_EQ(tile->coverage, kTileCoverageUnknown);
    EXPECT_EQ(frameOf(9, 0)->alpha, kFrameAlphaUnknown);

    // Another picture for a theme sheet is measured afresh.
    getSpriteSheet(5)->getFrame(0)->alpha = kFrameAlphaMixed;
    classifyTileDefinitions();
    EXPECT_EQ(frameOf(5, 0)->alpha, kFrameAlphaMixed) << "measured once per picture";
    replaceSpriteSheet("snowwatersky.png", 5);
    classifyTileDefinitions();
    EXPECT_EQ(frameOf(5, 0)->alpha, kFrameAlphaOpaque);
}

// What no tile fills is handed on as few rectangles as the gaps allow, screen lines with the same gaps joined:
// two sand cells side by side on empty back layers leave the band above, the band below and the two sides of
// their row; back layers that fill the screen leave nothing.
TEST_F(TileDrawTest, WhatNoTileFillsComesAsRectanglesOfTheGaps) {
    constexpr uint16_t kSky = 67, kSand = 3;
    gridOf(kLayerFront2).set(1, 2, kSand);
    gridOf(kLayerFront2).set(2, 2, kSand);
    auto occlusion = std::make_unique<TileOcclusion>();
    occlusion->plan(0, 0);
    const std::vector<ScreenRect>& gaps = occlusion->uncoveredRects();
    ASSERT_EQ(gaps.size(), 4u);
    const int expected[4][4] = {{0, 0, 800, 128}, {0, 128, 64, 192}, {192, 128, 800, 192}, {0, 192, 800, 600}};
    for (size_t i = 0; i < gaps.size(); i++) {
        SCOPED_TRACE(i);
        EXPECT_EQ(gaps[i].left, expected[i][0]);
        EXPECT_EQ(gaps[i].top, expected[i][1]);
        EXPECT_EQ(gaps[i].right, expected[i][2]);
        EXPECT_EQ(gaps[i].bottom, expected[i][3]);
    }

    getTileLayer(kLayerBackWater)->clipAboveY = -1;
    fill(kLayerBackWater, kSky);
    occlusion->plan(0, 0);
    EXPECT_TRUE(occlusion->uncoveredRects().empty());
}

TEST_F(TileDrawTest, TilesWhollyUnderTilesThatFillTheirCellsAreLeftOut) {
    constexpr uint16_t kSky = 67, kSand = 3, kSandEdge = 11;
    getTileLayer(kLayerBackWater)->clipAboveY = -1; // drawn whole, under the Back Air layer
    fill(kLayerBackWater, kSky);
    fill(kLayerBackAir, kSky);
    // At camera x 32 the front layers sit half a cell left of the back ones: back cell (1, row) spans screen
    // x 64 .. 127 and front cells 1 and 2 of the row cover it between them.
    TileGrid& front2 = gridOf(kLayerFront2);
    front2.set(1, 2, kSand);
    front2.set(2, 2, kSand); // row 2: covered
    front2.set(1, 4, kSand);
    front2.set(2, 4, kSandEdge); // row 4: partly clear over one half
    front2.set(1, 6, kSand);
    gridOf(kLayerFront3).set(2, 6, kSand); // row 6: covered by two layers, one drawn after the entities
    front2.set(5, 8, kSand);               // row 8: only half of back cell 4 and half of back cell 5
    // Front 4 limited to the air above y = 100: its row 1 is cut at the line and fills only part of its cells.
    getTileLayer(kLayerFront4)->clipBelowY = 100;
    gridOf(kLayerFront4).set(4, 0, kSand);
    gridOf(kLayerFront4).set(5, 0, kSand);
    gridOf(kLayerFront4).set(4, 1, kSand);
    gridOf(kLayerFront4).set(5, 1, kSand);

    auto occlusion = std::make_unique<TileOcclusion>();
    occlusion->plan(32, 0);
    auto hidden = [&](int layer, int col, int row) {
        return (occlusion->hiddenTiles(layer)[size_t(row)] >> col & 1) != 0;
    };
    for (int row = 0; row < 11; row++)
        for (int col = 0; col < 14; col++) EXPECT_TRUE(hidden(kLayerBackWater, col, row)) << col << "," << row;
    EXPECT_TRUE(hidden(kLayerBackAir, 1, 2));
    EXPECT_FALSE(hidden(kLayerBackAir, 1, 4));
    EXPECT_TRUE(hidden(kLayerBackAir, 1, 6));
    EXPECT_FALSE(hidden(kLayerBackAir, 4, 8));
    EXPECT_FALSE(hidden(kLayerBackAir, 5, 8));
    EXPECT_TRUE(hidden(kLayerBackAir, 4, 0)) << "under a whole row above the line";
    EXPECT_FALSE(hidden(kLayerBackAir, 4, 1)) << "under a row cut at the line";
    EXPECT_FALSE(hidden(kLayerBackAir, 0, 2));
    EXPECT_TRUE(hidden(kLayerBackAir, 13, 3)) << "a cell wholly right of the screen";
    EXPECT_FALSE(hidden(kLayerFront2, 1, 4)) << "nothing is drawn over it";

    // The layer's draw leaves out exactly the hidden cells.
    int hiddenCount = 0;
    for (uint16_t bits : occlusion->hiddenTiles(kLayerBackAir)) hiddenCount += __builtin_popcount(bits);
    getTileLayer(kLayerBackAir)->draw(32, 0, &occlusion->hiddenTiles(kLayerBackAir));
    EXPECT_EQ(draws().size(), size_t(14 * 11 - hiddenCount));
    KGraphicRecorder::clearCalls();
    getTileLayer(kLayerBackWater)->draw(32, 0, &occlusion->hiddenTiles(kLayerBackWater));
    EXPECT_TRUE(draws().empty());
}
