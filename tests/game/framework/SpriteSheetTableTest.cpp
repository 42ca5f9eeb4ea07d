// The sprite-sheet table over the generated pictures (their sizes read by the recording picture): every
// sheet loads without a box and gets the frames the game numbers, the hotspot table, the theme entries
// loaded from tile set 4 and switched to another set with their frames kept, and the cursor drawn by sheet.
#include "SpriteSheetTable.h"
#include "FrameCountNeeds.h"
#include "HostSystem.h"
#include "InputState.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "MouseCursor.h"
#include "SpriteSheet.h"
#include "TempUserFolder.h"
#include "TileSetTable.h"

#include <gtest/gtest.h>

namespace {

class SpriteSheetTableTest : public testing::Test {
protected:
    void SetUp() override {
        host::setMessageBoxHandler(
            [this](const std::string& caption, const std::string& text) { boxes.push_back(caption + ": " + text); });
        loadSpriteSheets();
    }
    void TearDown() override {
        freeSpriteSheets();
        host::setMessageBoxHandler(nullptr);
    }

    static std::string pictureOf(int sheet) {
        return static_cast<KGraphicRecorder*>(getSpriteSheet(sheet)->getGraphic())->fileName();
    }

    ScopedGraphicRecording recording;
    TempUserFolder home;
    std::vector<std::string> boxes;
};

} // namespace

TEST_F(SpriteSheetTableTest, EverySheetLoadsWithTheFramesTheGameNumbers) {
    EXPECT_TRUE(boxes.empty()) << boxes.front();
    ASSERT_EQ(getSpriteSheet(kSpriteSheetCount - 1) != nullptr, true);
    EXPECT_EQ(getSpriteSheet(kSpriteSheetCount), nullptr);
    expectFrameCounts();
}

TEST_F(SpriteSheetTableTest, HotspotsFollowTheTable) {
    int total = 0, unflagged = 0;
    for (int n = 0; n < kSpriteSheetCount; n++) {
        const SpriteSheet* sheet = getSpriteSheet(n);
        for (int f = 0; f < sheet->frameCount(); f++)
            for (const SpriteHotspot& h : sheet->getFrame(f)->hotspots) {
                total++;
                if (h.flag == 0) unflagged++;
            }
    }
    EXPECT_EQ(total, 133);
    EXPECT_EQ(unflagged, 1);
    EXPECT_EQ(getSpriteSheet(1)->getFrame(7)->hotspots.at(1).flag, 0);

    const struct {
        int sheet, frame, index;
        double x, y, angle;
    } spots[] = {
        {0, 0, 0, 45, -10, 355}, {1, 5, 1, 44, 6, 0},  {2, 2, 2, 6, 2, 0},     {7, 4, 0, -63, 0, 0},
        {11, 0, 0, -16, 0, 180}, {15, 1, 1, 24, 0, 0}, {20, 10, 2, -32, 4, 0}, {25, 0, 1, 2, -30, 0},
    };
    for (const auto& s : spots) {
        const SpriteHotspot& h = getSpriteSheet(s.sheet)->getFrame(s.frame)->hotspots.at(size_t(s.index));
        EXPECT_EQ(h.x, s.x) << s.sheet << "/" << s.frame;
        EXPECT_EQ(h.y, s.y) << s.sheet << "/" << s.frame;
        EXPECT_EQ(h.angle, s.angle) << s.sheet << "/" << s.frame;
    }
    EXPECT_EQ(getSpriteSheet(2)->getFrame(2)->hotspots.size(), 3u);
    EXPECT_EQ(getSpriteSheet(7)->getFrame(3)->hotspots.size(), 0u);
}

TEST_F(SpriteSheetTableTest, ThemeEntriesComeFromTheTileSetAndKeepTheirFramesWhenItChanges) {
    EXPECT_EQ(currentTileSet, kTileSetAlien);
    const int themeSheets[kTileSetCells] = {3, 4, 5, 6, 9, 21, 26};
    for (int cell = 0; cell < kTileSetCells; cell++) {
        EXPECT_EQ(getTileSetTableSheet(kTileSetAlien, cell), themeSheets[cell]);
        EXPECT_EQ(pictureOf(themeSheets[cell]), getGraphicsFolder() + getTileSetTableFileName(kTileSetAlien, cell));
    }
    EXPECT_EQ(getTileSetTableFileName(kTileSetSnow, 0), "water1.png");
    EXPECT_EQ(getTileSetTableFileName(kTileSetVolcano, 4), "volcanowaterdrop.png");
    EXPECT_EQ(getTileSetTableFileName(kTileSetCount, 0), "");
    EXPECT_EQ(getTileSetTableSheet(0, kTileSetCells), -1);

    const SpriteFrame* drop = getSpriteSheet(9)->getFrame(1);
    EXPECT_EQ(drop->right - drop->left, 20);
    const SpriteFrame* repeat = getSpriteSheet(9)->getFrame(2);
    EXPECT_EQ(repeat->left, 0);
    EXPECT_EQ(repeat->right, 10);
    EXPECT_EQ(repeat->bottom, 12);
    EXPECT_FALSE(static_cast<KGraphicRecorder*>(getSpriteSheet(3)->getGraphic())->isLinear());
    EXPECT_TRUE(static_cast<KGraphicRecorder*>(getSpriteSheet(26)->getGraphic())->isLinear());

    std::vector<int> before;
    for (int sheet : themeSheets) before.push_back(getSpriteSheet(sheet)->frameCount());
    SpriteFrame* first = getSpriteSheet(4)->getFrame(0);
    currentTileSet = kTileSetPlain;
    applyTileSetImages();
    EXPECT_EQ(pictureOf(3), getGraphicsFolder() + "water1.png");
    EXPECT_EQ(pictureOf(6), getGraphicsFolder() + "rock.png");
    for (int cell = 0; cell < kTileSetCells; cell++)
        EXPECT_EQ(getSpriteSheet(themeSheets[cell])->frameCount(), before[size_t(cell)]);
    EXPECT_EQ(getSpriteSheet(4)->getFrame(0), first);
    EXPECT_TRUE(boxes.empty()) << boxes.front();
    currentTileSet = kTileSetAlien;
}

TEST_F(SpriteSheetTableTest, TheCursorIsDrawnFromItsSheetOnceTheTableIsLoaded) {
    MouseState.x = 30;
    MouseState.y = 40;
    CursorKind = kCursorHand;
    KGraphicRecorder::clearCalls();
    drawMouseCursor();
    ASSERT_EQ(KGraphicRecorder::calls().size(), 1u);
    EXPECT_EQ(KGraphicRecorder::calls()[0].picture, getSpriteSheet(30)->getGraphic());
    EXPECT_EQ(KGraphicRecorder::calls()[0].args, (std::vector<float>{0, 0, 32, 32, 18, 40, 0, 0}));

    freeSpriteSheets();
    EXPECT_EQ(getSpriteSheet(0), nullptr);
    KGraphicRecorder::clearCalls();
    drawMouseCursor();
    EXPECT_TRUE(KGraphicRecorder::calls().empty());
    CursorKind = kCursorArrow;
}
