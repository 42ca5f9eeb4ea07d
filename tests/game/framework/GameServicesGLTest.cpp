// The game services on a real window (offscreen video, Mesa GL), read back from the back buffer: start-up
// loading every sheet, font, sound and track from the data folder without a box; the sprite draws (blend
// modes, flips, zoom, the clipped draws, and the clipped turned tiles against the unclipped turn); text in
// every bitmap font and every font of the TrueType set.
#include "BitmapFonts.h"
#include "FontSet.h"
#include "FrameCountNeeds.h"
#include "GameShell.h"
#include "GameWindow.h"
#include "HostSystem.h"
#include "KGraphic.h"
#include "KImage.h"
#include "KSound.h"
#include "KText.h"
#include "KTrueText.h"
#include "KWindow.h"
#include "KWindowD3D.h"
#include "MusicPlaylist.h"
#include "SoundTable.h"
#include "SpriteSheet.h"
#include "SpriteSheetTable.h"
#include "TempUserFolder.h"
#include "TextFont.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

constexpr uint32_t kRed = 0xFF0000FF, kGreen = 0xFF00FF00, kBlue = 0xFFFF0000, kWhite = 0xFFFFFFFF;
constexpr uint32_t kYellow = 0xFF00FFFF;

struct Rgb {
    int r, g, b;
};

Rgb rgbOf(uint32_t pixel) {
    return {int(pixel & 0xFF), int((pixel >> 8) & 0xFF), int((pixel >> 16) & 0xFF)};
}

bool near(Rgb a, Rgb b, int tolerance = 3) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

class GameServicesGL : public testing::Test {
protected:
    void SetUp() override {
        host::setMessageBoxHandler(
            [this](const std::string& caption, const std::string& text) { boxes.push_back(caption + ": " + text); });
    }
    void TearDown() override {
        if (windowOpen) destroyGameWindow();
        host::setMessageBoxHandler(nullptr);
    }

    bool openWindow() {
        windowOpen = createGameWindow(/*windowed=*/true);
        return windowOpen;
    }
    static void clear(float r, float g, float b) {
        gameWindow->setClearColor(r, g, b, 1);
        gameWindow->setWorldView(0, 0, 0, 1, /*clear=*/true);
    }
    static void grab(KImage& image) {
        EXPECT_TRUE(dynamic_cast<KWindowD3D*>(gameWindow)->getBackBufferAsImage(800, 600, image));
    }

    // A 128 x 64 picture: a yellow cell (never drawn), then the 64 x 64 test tile with red, green, blue and
    // white quadrants (top-left, top-right, bottom-left, bottom-right). Frame 0 is the tile.
    std::unique_ptr<SpriteSheet> tileSheet(uint8_t blend) {
        tilePixels.assign(128 * 64, kYellow);
        for (int y = 0; y < 64; y++)
            for (int x = 0; x < 64; x++)
                tilePixels[size_t(y) * 128 + 64 + size_t(x)] =
                    y < 32 ? (x < 32 ? kRed : kGreen) : (x < 32 ? kBlue : kWhite);
        auto sheet = std::make_unique<SpriteSheet>(0);
        sheet->getGraphic()->makePictureFromPixels(tilePixels.data(), 128, 64, true, true, false, nullptr);
        sheet->getGraphic()->setBlendMode(blend ? K_BLEND_NORMAL : K_BLEND_ADDITIVE);
        sheet->getGraphic()->setLinearFiltering(false);
        sheet->addFrame(64, 0, 128, 64);
        return sheet;
    }

    // Pixels with any channel differing from the background within the box.
    static int inkIn(const KImage& image, int x1, int y1, int x2, int y2, Rgb background) {
        int ink = 0;
        for (int y = std::max(0, y1); y < std::min(600, y2); y++)
            for (int x = std::max(0, x1); x < std::min(800, x2); x++)
                if (!near(rgbOf(image.getPixel(x, y)), background, 40)) ink++;
        return ink;
    }

    TempUserFolder home;
    std::vector<std::string> boxes;
    std::vector<uint32_t> tilePixels;
    bool windowOpen = false;
};

} // namespace

TEST_F(GameServicesGL, StartUpLoadsEverySheetFontSoundAndTrackWithoutABox) {
    ASSERT_TRUE(initGame());
    EXPECT_TRUE(boxes.empty()) << boxes.front();
    expectFrameCounts();
    for (int n = 0; n < kSpriteSheetCount; n++)
        EXPECT_GT(getSpriteSheet(n)->getGraphic()->getWidth(), 0) << "sheet " << n << " decoded";
    for (int n = 0; n < kBitmapFontCount; n++) {
        ASSERT_NE(getFont(n), nullptr);
        EXPECT_GT(getFont(n)->getStringWidth("Glimmerfin"), 0) << "font " << n;
    }
    for (int id = 0; id < kSoundCount; id++)
        for (const auto& copy : getSoundEntry(id)->copies) EXPECT_TRUE(copy->sound->isLoaded()) << "sound " << id;
    EXPECT_GE(MusicPlaylist.tracks.size(), 1u);
    EXPECT_GE(MusicPlaylist.current, 0);
    for (int pass = 0; pass < 3; pass++) runMainLoopPass();
    shutdownGame();
    EXPECT_EQ(getSpriteSheet(0), nullptr);
    EXPECT_EQ(getFont(0), nullptr);
    EXPECT_EQ(getSoundEntry(0), nullptr);
    EXPECT_EQ(MusicPlaylist.music, nullptr);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(GameServicesGL, SpriteDrawsBlendFlipZoomAndClip) {
    ASSERT_TRUE(openWindow());
    auto sheet = tileSheet(1);
    // Half-transparent red: opaque in the unblended blit, half over the grey in the blended draws.
    for (uint32_t& p : tilePixels)
        if (p == kRed) p = 0x800000FF;
    sheet->getGraphic()->makePictureFromPixels(tilePixels.data(), 128, 64, true, true, false, nullptr);
    auto additive = tileSheet(0);
    for (uint32_t& p : tilePixels)
        if (p == kRed) p = 0x800000FF;
    additive->getGraphic()->makePictureFromPixels(tilePixels.data(), 128, 64, true, true, false, nullptr);
    additive->getGraphic()->setBlendMode(K_BLEND_ADDITIVE);

    clear(0.5f, 0.5f, 0.5f);
    sheet->blitFrame(0, 0, 0, false, false);
    sheet->drawFrame(0, 100, 0, false, false);
    additive->drawFrame(0, 200, 0, false, false);
    sheet->drawFrame(0, 300, 0, /*flipX=*/true, false);
    sheet->drawFrameTransformed(0, 432, 32, 0, /*zoom=*/2, 1, false, false);
    sheet->drawFrameClippedBottom(0, 600, 0, 40, 0, 1, 1, false, false);
    sheet->drawFirstFrameClipped(700, 0, 740, 0, 1, 1);
    KImage image;
    grab(image);
    const Rgb grey = rgbOf(image.getPixel(799, 599));
    EXPECT_TRUE(near(rgbOf(image.getPixel(10, 10)), {255, 0, 0})) << "unblended";
    EXPECT_TRUE(near(rgbOf(image.getPixel(110, 10)), {191, 63, 63}, 4)) << "normal blend";
    EXPECT_TRUE(near(rgbOf(image.getPixel(210, 10)), {255, 127, 127}, 4)) << "additive";
    EXPECT_TRUE(near(rgbOf(image.getPixel(250, 50)), {255, 255, 255})) << "additive white saturates";
    EXPECT_TRUE(near(rgbOf(image.getPixel(310, 10)), {0, 255, 0})) << "flipped: green on the left";
    EXPECT_TRUE(near(rgbOf(image.getPixel(360, 10)), {191, 63, 63}, 4));
    EXPECT_TRUE(near(rgbOf(image.getPixel(401, 1)), {191, 63, 63}, 4)) << "zoom 2 about the centre";
    EXPECT_TRUE(near(rgbOf(image.getPixel(526, 126)), {255, 255, 255}));
    EXPECT_TRUE(near(rgbOf(image.getPixel(620, 39)), {0, 0, 255})) << "above the cut line";
    EXPECT_TRUE(near(rgbOf(image.getPixel(620, 41)), grey)) << "below the cut line";
    EXPECT_TRUE(near(rgbOf(image.getPixel(739, 50)), {255, 255, 255})) << "left of the cut line";
    EXPECT_TRUE(near(rgbOf(image.getPixel(741, 50)), grey)) << "right of the cut line";
}

TEST_F(GameServicesGL, ClippedTurnedTilesMatchTheUnclippedTurnBelowTheLine) {
    ASSERT_TRUE(openWindow());
    auto sheet = tileSheet(1);
    constexpr int kX = 100, kY = 100;
    for (int angle : {0, 90, 180, 270}) {
        for (bool flipX : {false, true}) {
            for (int cut : {1, 20, 32, 63}) {
                const int limit = kY + cut;
                clear(0, 0, 0);
                sheet->drawFrameTransformed(0, kX, kY, angle, 1, 1, flipX, false);
                KImage whole;
                grab(whole);
                clear(0, 0, 0);
                sheet->drawFrameClippedRotated(0, kX, kY, limit, angle, 1, 1, flipX, false);
                KImage clipped;
                grab(clipped);
                int wrongBelow = 0, drawnAbove = 0, drawnBelow = 0;
                for (int y = kY - 8; y < kY + 72; y++) {
                    for (int x = kX - 8; x < kX + 72; x++) {
                        const uint32_t c = clipped.getPixel(x, y);
                        const bool ink = rgbOf(c).r + rgbOf(c).g + rgbOf(c).b > 0;
                        if (y >= limit) {
                            if (c != whole.getPixel(x, y)) wrongBelow++;
                            if (ink) drawnBelow++;
                        } else if (ink) {
                            drawnAbove++;
                        }
                    }
                }
                EXPECT_EQ(wrongBelow, 0) << "angle " << angle << " flip " << flipX << " cut " << cut;
                EXPECT_EQ(drawnAbove, 0) << "angle " << angle << " flip " << flipX << " cut " << cut;
                EXPECT_EQ(drawnBelow, 64 * (64 - cut)) << "angle " << angle << " flip " << flipX << " cut " << cut;
            }
        }
    }
}

TEST_F(GameServicesGL, TextShowsInEveryBitmapFontAndEveryTrueTypeFont) {
    ASSERT_TRUE(openWindow());
    loadBitmapFonts();
    const std::string text = "Glimmerfin 42";
    for (int n = 0; n < kBitmapFontCount; n++) {
        KText* font = getFont(n);
        ASSERT_NE(font, nullptr);
        // Font 0 is dark print for the white tooltip box; the others are white.
        const Rgb background = n == 0 ? Rgb{255, 255, 255} : Rgb{0, 0, 64};
        clear(background.r / 255.0f, background.g / 255.0f, background.b / 255.0f);
        const int width = int(font->getStringWidth(text.c_str()));
        font->drawString(text.c_str(), 100, 200);
        KImage image;
        grab(image);
        const int height = font->getHeight();
        EXPECT_GT(inkIn(image, 100, 200, 100 + width + 1, 200 + height, background), 10 * int(text.size()))
            << "font " << n;
        EXPECT_EQ(inkIn(image, 0, 0, 800, 600, background),
                  inkIn(image, 100, 200, 100 + width + 1, 200 + height, background))
            << "font " << n << " draws only inside its string's box";
    }
    freeBitmapFonts();

    for (int n = 0; n < 3; n++) {
        TextFont* font = FontSet::instance().get(n);
        clear(1, 1, 1);
        const int width = font->textWidth(text);
        const int height = font->getTrueText()->getHeight();
        font->drawText(text, 100, 200); // opaque black
        KImage image;
        grab(image);
        const int ink = inkIn(image, 100, 200, 100 + width + 2, 200 + height, {255, 255, 255});
        EXPECT_GT(ink, 20 * int(text.size())) << "TrueType font " << n;
        EXPECT_EQ(inkIn(image, 0, 0, 800, 600, {255, 255, 255}), ink) << "TrueType font " << n;
    }
    EXPECT_GT(FontSet::instance().get(0)->textWidth(text), FontSet::instance().get(2)->textWidth(text));
}
