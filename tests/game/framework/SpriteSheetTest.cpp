// Sprite sheets on the recording picture: grid cutting, loading once per name, the masked probe and the
// failure box, hotspots on absent frames, and the source and destination every draw variant hands on.
#include "SpriteSheet.h"
#include "FolderPaths.h"
#include "HostSystem.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "TempFolder.h"
#include "TempUserFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

namespace {

class SpriteSheetTest : public testing::Test {
protected:
    void SetUp() override {
        host::setMessageBoxHandler(
            [this](const std::string& caption, const std::string& text) { boxes.push_back(caption + ": " + text); });
        KGraphicRecorder::clearCalls();
    }
    void TearDown() override { host::setMessageBoxHandler(nullptr); }

    // An empty sheet whose picture is width x height pixels.
    static std::unique_ptr<SpriteSheet> sheetOfSize(int width, int height) {
        auto sheet = std::make_unique<SpriteSheet>(1);
        std::vector<uint32_t> pixels(size_t(width) * size_t(height), 0xFFFFFFFF);
        sheet->getGraphic()->makePictureFromPixels(pixels.data(), width, height, true, true, false, nullptr);
        return sheet;
    }

    static const RecordedDraw& onlyCall() {
        EXPECT_EQ(KGraphicRecorder::calls().size(), 1u);
        return KGraphicRecorder::calls().back();
    }

    ScopedGraphicRecording recording;
    TempUserFolder home;
    std::vector<std::string> boxes;
};

std::vector<float> args(std::initializer_list<float> values) {
    return values;
}

} // namespace

TEST_F(SpriteSheetTest, GridCutsWholeCellsRowByRowUpToTheCount) {
    auto sheet = sheetOfSize(200, 130);
    sheet->sliceGrid(64, 64, -1);
    ASSERT_EQ(sheet->frameCount(), 6) << "3 per row, 2 rows; the 8- and 2-pixel remainders are no frames";
    const SpriteFrame* last = sheet->getFrame(5);
    EXPECT_EQ(last->left, 128);
    EXPECT_EQ(last->top, 64);
    EXPECT_EQ(last->right, 192);
    EXPECT_EQ(last->bottom, 128);
    EXPECT_EQ(last->sheet, sheet.get());
    EXPECT_EQ(sheet->getFrame(3)->left, 0) << "the second row starts at the left";

    auto limited = sheetOfSize(200, 130);
    limited->sliceGrid(64, 64, 4);
    EXPECT_EQ(limited->frameCount(), 4);

    auto guarded = sheetOfSize(200, 130);
    guarded->sliceGrid(0, 64, -1);
    guarded->sliceGrid(64, -1, -1);
    EXPECT_EQ(guarded->frameCount(), 0) << "an empty cell size cuts nothing (and does not loop)";
}

TEST_F(SpriteSheetTest, LoadingTheSameNameAgainNeitherReloadsNorReappliesTheFlags) {
    SpriteSheet sheet("bullet.png", 0, 1);
    auto* picture = static_cast<KGraphicRecorder*>(sheet.getGraphic());
    ASSERT_TRUE(picture->hasPicture());
    EXPECT_EQ(picture->fileName(), getGraphicsFolder() + "bullet.png");
    EXPECT_EQ(picture->getDestFactor(), K_FACTOR_ONE) << "blend 0 is additive";
    EXPECT_TRUE(picture->isLinear());

    picture->setBlendMode(K_BLEND_NORMAL);
    picture->setLinearFiltering(false);
    sheet.load("bullet.png");
    EXPECT_EQ(picture->getDestFactor(), K_FACTOR_INV_SRC_ALPHA);
    EXPECT_FALSE(picture->isLinear());

    sheet.load("bomb.png");
    EXPECT_EQ(picture->fileName(), getGraphicsFolder() + "bomb.png");
    EXPECT_EQ(picture->getDestFactor(), K_FACTOR_ONE);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SpriteSheetTest, MaskedModeTakesThePngFirstAndNamesTheFailure) {
    SpriteSheet sheet(1);
    sheet.loadMode = kLoadMasked;
    sheet.load("bullet.jpg");
    EXPECT_EQ(static_cast<KGraphicRecorder*>(sheet.getGraphic())->fileName(), getGraphicsFolder() + "bullet.png");
    EXPECT_TRUE(boxes.empty());

    sheet.load("nosuchpicture.jpg");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0],
              "Failed to Load Picture: File \"" + getGraphicsFolder() + "nosuchpicture\" masked failed to load");
}

// Masked mode over the files that lie beside each other: the ".png" alone when it is there, else the ".jpg"
// with the first of the masks ".bmp", ".png", ".jpg" that exists, else the ".jpg" alone; with neither picture,
// the failure box.
TEST_F(SpriteSheetTest, MaskedModeChoosesThePictureAndItsMaskByWhatLiesBesideIt) {
    struct Case {
        const char* what;
        std::vector<std::string> files;
        const char* picture; // "" when nothing loads
        const char* mask;
    };
    const Case cases[] = {
        {"png first", {"pic.png", "pic.jpg", "picmask.bmp"}, "pic.png", ""},
        {"bmp mask first", {"pic.jpg", "picmask.bmp", "picmask.png", "picmask.jpg"}, "pic.jpg", "picmask.bmp"},
        {"then the png mask", {"pic.jpg", "picmask.png", "picmask.jpg"}, "pic.jpg", "picmask.png"},
        {"then the jpg mask", {"pic.jpg", "picmask.jpg"}, "pic.jpg", "picmask.jpg"},
        {"no mask", {"pic.jpg"}, "pic.jpg", ""},
        {"a mask without its picture", {"picmask.bmp"}, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.clear();
        TempFolder folder;
        for (const std::string& name : c.files) folder.write(name, "picture bytes");
        // Named from the graphics folder, as the game names its sheets.
        const std::string name = std::filesystem::relative(folder.path(), getGraphicsFolder()).string() + "/pic.jpg";
        SpriteSheet sheet(1);
        sheet.loadMode = kLoadMasked;
        sheet.load(name);
        auto* picture = static_cast<KGraphicRecorder*>(sheet.getGraphic());
        const std::string base = getGraphicsFolder() + name.substr(0, name.size() - 7);
        if (*c.picture) {
            EXPECT_TRUE(boxes.empty());
            EXPECT_TRUE(picture->hasPicture());
            EXPECT_EQ(picture->fileName(), base + c.picture);
            EXPECT_EQ(picture->maskFileName(), *c.mask ? base + c.mask : "");
        } else {
            EXPECT_FALSE(picture->hasPicture());
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0], "Failed to Load Picture: File \"" + base + "pic\" masked failed to load");
        }
    }
}

TEST_F(SpriteSheetTest, AMissingPictureShowsOneBoxAndItsSheetDrawsNothing) {
    SpriteSheet sheet("nosuchpicture.png", 1, 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Failed to Load Picture: File \"" + getGraphicsFolder() + "nosuchpicture.png\" failed to load");
    sheet.sliceGrid(64, 64, -1);
    EXPECT_EQ(sheet.frameCount(), 0);
    sheet.addHotspot(0, 1, 2, 3); // ignored: the frame does not exist
    EXPECT_EQ(sheet.getFrame(0), nullptr);
    sheet.drawFrame(0, 10, 10, false, false);
    sheet.drawFrameClippedRotated(3, 10, 10, 20, 90, 1, 1, false, false);
    sheet.drawFirstFrameClipped(10, 10, 30, 0, 1, 1);
    EXPECT_TRUE(KGraphicRecorder::calls().empty());
}

TEST_F(SpriteSheetTest, EachDrawHandsTheFrameRectangleToItsPictureOperation) {
    auto sheet = sheetOfSize(128, 64);
    sheet->addFrame(10, 20, 42, 36); // 32 x 16
    KGraphicRecorder::clearCalls();
    const struct {
        const char* operation;
        std::function<void(SpriteSheet&)> draw;
        std::vector<float> args;
    } cases[] = {
        {"blitRect", [](SpriteSheet& s) { s.blitFrame(0, 5, 6, true, false); }, args({10, 20, 42, 36, 5, 6, 1, 0})},
        {"blitAlphaRect", [](SpriteSheet& s) { s.drawFrame(0, 5, 6, false, true); },
         args({10, 20, 42, 36, 5, 6, 0, 1})},
        {"blitRectFx", [](SpriteSheet& s) { s.drawFrameStretched(0, 5, 6, 30, 2, true, true); },
         args({10, 20, 42, 36, 5, 6, 30, 2, 1, 1, 0, 0})},
        {"blitAlphaRectFx", [](SpriteSheet& s) { s.drawFrameTransformed(0, 5, 6, 45, 1.5, 0.25, false, true); },
         args({10, 20, 42, 36, 5, 6, 45, 1.5f, 0.25f, 0, 1, 0, 0})},
        // 6 + 16 - 12 = 10 pixels lie below the line y = 12 and are cut off the source bottom.
        {"blitAlphaRectFx", [](SpriteSheet& s) { s.drawFrameClippedBottom(0, 5, 6, 12, 0, 1, 1, false, false); },
         args({10, 20, 42, 26, 5, 6, 0, 1, 1, 0, 0, 0, 0})},
        {"blitAlphaRectFx", [](SpriteSheet& s) { s.drawFrameClippedBottom(0, 5, 6, 40, 0, 1, 1, false, false); },
         args({10, 20, 42, 36, 5, 6, 0, 1, 1, 0, 0, 0, 0})},
        // A cut equal to the height leaves an empty strip.
        {"blitAlphaRectFx", [](SpriteSheet& s) { s.drawFrameClippedBottom(0, 5, 6, 6, 0, 1, 1, false, false); },
         args({10, 20, 42, 20, 5, 6, 0, 1, 1, 0, 0, 0, 0})},
        // 5 + 32 - 30 = 7 pixels right of x = 30 are cut.
        {"blitAlphaRectFx", [](SpriteSheet& s) { s.drawFirstFrameClipped(5, 6, 30, 10, 1, 0.5); },
         args({10, 20, 35, 36, 5, 6, 10, 1, 0.5f, 0, 0, 0, 0})},
        {"blitAlphaRectFx", [](SpriteSheet& s) { s.drawFirstFrameClipped(5, 6, 37, 0, 1, 1); },
         args({10, 20, 42, 36, 5, 6, 0, 1, 1, 0, 0, 0, 0})},
    };
    for (const auto& c : cases) {
        KGraphicRecorder::clearCalls();
        c.draw(*sheet);
        ASSERT_EQ(KGraphicRecorder::calls().size(), 1u) << c.operation;
        EXPECT_EQ(KGraphicRecorder::calls()[0].operation, c.operation);
        EXPECT_EQ(KGraphicRecorder::calls()[0].args, c.args) << c.operation;
    }

    KGraphicRecorder::clearCalls();
    sheet->drawFrameClippedBottom(0, 5, 6, 5, 0, 1, 1, false, false); // a cut one pixel larger than the frame
    sheet->drawFirstFrameClipped(5, 6, 4, 0, 1, 1);                   // a cut wider than the frame
    sheet->drawFrame(1, 5, 6, false, false);                          // no frame 1
    EXPECT_TRUE(KGraphicRecorder::calls().empty());

    // Far off the screen in a large level: cut to 16 bits, 65500 would become -36, at the left edge.
    for (const auto& c : cases) c.draw(*sheet); // the frame's own points draw
    const size_t drawn = KGraphicRecorder::calls().size();
    sheet->drawFrame(0, 65500, 6, false, false);
    sheet->blitFrame(0, 5, -65500, false, false);
    sheet->drawFrameTransformed(0, 32768, 6, 0, 1, 1, false, false);
    sheet->drawFrameClippedRotated(0, 5, 65500, 65510, 90, 1, 1, false, false);
    sheet->drawFirstFrameClipped(-32769, 6, 30, 0, 1, 1);
    EXPECT_EQ(KGraphicRecorder::calls().size(), drawn);
    sheet->drawFrame(0, 32767, -32768, false, false);
    EXPECT_EQ(KGraphicRecorder::calls().size(), drawn + 1) << "the last points of the range still draw";
}

TEST_F(SpriteSheetTest, ClippedRotatedCutsTheSideThatFacesUpAfterTheTurn) {
    auto sheet = sheetOfSize(256, 256);
    sheet->addFrame(64, 128, 128, 192); // a 64 x 64 tile
    // Drawn at (100, 200) with the screen line at y = 216: the top 16 rows of the turned tile are cut.
    const struct {
        double angle;
        bool flipX;
        std::vector<float> source; // four corners
        std::vector<float> dest;   // where each corner lands
    } cases[] = {
        {90, false, args({64, 128, 112, 128, 112, 192, 64, 192}), args({100, 264, 100, 216, 164, 216, 164, 264})},
        {90, true, args({80, 128, 128, 128, 128, 192, 80, 192}), args({100, 216, 100, 264, 164, 264, 164, 216})},
        {180, false, args({64, 128, 128, 128, 128, 176, 64, 176}), args({164, 264, 100, 264, 100, 216, 164, 216})},
        {180, true, args({64, 128, 128, 128, 128, 176, 64, 176}), args({100, 264, 164, 264, 164, 216, 100, 216})},
        {270, false, args({80, 128, 128, 128, 128, 192, 80, 192}), args({164, 216, 164, 264, 100, 264, 100, 216})},
        {270, true, args({64, 128, 112, 128, 112, 192, 64, 192}), args({164, 264, 164, 216, 100, 216, 100, 264})},
        {-90, false, args({80, 128, 128, 128, 128, 192, 80, 192}), args({164, 216, 164, 264, 100, 264, 100, 216})},
    };
    for (const auto& c : cases) {
        KGraphicRecorder::clearCalls();
        sheet->drawFrameClippedRotated(0, 100, 200, 216, c.angle, 1, 1, c.flipX, false);
        ASSERT_EQ(KGraphicRecorder::calls().size(), 1u);
        const RecordedDraw& call = KGraphicRecorder::calls()[0];
        EXPECT_EQ(call.operation, "blitArbitraryQuad");
        std::vector<float> source(call.args.begin(), call.args.begin() + 8);
        std::vector<float> dest(call.args.begin() + 8, call.args.end());
        EXPECT_EQ(source, c.source) << "angle " << c.angle << " flip " << c.flipX;
        EXPECT_EQ(dest, c.dest) << "angle " << c.angle << " flip " << c.flipX;
    }

    KGraphicRecorder::clearCalls();
    sheet->drawFrameClippedRotated(0, 100, 200, 216, 30, 1, 0.5, true, false);
    EXPECT_EQ(onlyCall().operation, "blitAlphaRectFx");
    EXPECT_EQ(onlyCall().args, args({64, 144, 128, 192, 100, 216, 30, 1, 0.5f, 1, 0, 0, 0}))
        << "near upright: the source top is cut and the rest drawn at the line";

    KGraphicRecorder::clearCalls();
    sheet->drawFrameClippedRotated(0, 100, 200, 200, 90, 1, 1, false, false);
    EXPECT_EQ(onlyCall().operation, "blitAlphaRectFx") << "a cut below 1 draws the whole turned frame";
    EXPECT_EQ(onlyCall().args, args({64, 128, 128, 192, 100, 200, 90, 1, 1, 0, 0, 0, 0}));

    KGraphicRecorder::clearCalls();
    sheet->drawFrameClippedRotated(0, 100, 200, 265, 90, 1, 1, false, false);
    EXPECT_TRUE(KGraphicRecorder::calls().empty()) << "a cut past the frame height draws nothing";
}
