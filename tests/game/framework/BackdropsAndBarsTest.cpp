// The full-screen tiled picture's thirteen pieces, the editor grid lines for any layer offset, and the
// player bars: easing after a hit, the flash, an empty bar for negative health, the band colours, the
// weapon bar and the missing player.
#include "FrameClock.h"
#include "GameWindow.h"
#include "GridLines.h"
#include "HostSystem.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "PlayerBars.h"
#include "SpriteSheet.h"
#include "SpriteSheetTable.h"
#include "TempUserFolder.h"
#include "TiledPicture.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

class BackdropsAndBarsTest : public testing::Test {
protected:
    void SetUp() override {
        host::setMessageBoxHandler(
            [this](const std::string& caption, const std::string&) { boxes.push_back(caption); });
        sharedGraphic = createGraphic();
        savedFrameTime = frameTime;
        PlayerBars = PlayerBarState();
        KGraphicRecorder::clearCalls();
    }
    void TearDown() override {
        setPlayerBarSource(nullptr);
        delete sharedGraphic;
        sharedGraphic = nullptr;
        frameTime = savedFrameTime;
        host::setMessageBoxHandler(nullptr);
    }
    static std::vector<RecordedDraw> sharedCalls() {
        return KGraphicRecorder::callsOn(static_cast<KGraphicRecorder*>(sharedGraphic));
    }

    ScopedGraphicRecording recording;
    TempUserFolder home;
    std::vector<std::string> boxes;
    double savedFrameTime = 0;
};

struct TestPlayer : PlayerBarSource {
    double health = 100, maxHealth = 100;
    bool recharging = false;
    double rechargeTime = 0, rechargeDuration = 2;
    double level = 3, maxLevel = 4;
    int icon = -1;
    bool colored = false;
    double getHealth() const override { return health; }
    double getMaxHealth() const override { return maxHealth; }
    bool isWeaponRecharging() const override { return recharging; }
    double getRechargeTime() const override { return rechargeTime; }
    double getRechargeDuration() const override { return rechargeDuration; }
    double getWeaponLevel() const override { return level; }
    double getWeaponMaxLevel() const override { return maxLevel; }
    int getWeaponIcon() const override { return icon; }
    bool getWeaponBarColor(float& r, float& g, float& b) const override {
        r = 1;
        g = 0.5f;
        b = 0;
        return colored;
    }
};

} // namespace

TEST_F(BackdropsAndBarsTest, TiledPictureCoversTheScreenInThirteenPieces) {
    TiledPicture picture;
    picture.load("title");
    EXPECT_TRUE(boxes.empty());
    KGraphicRecorder::clearCalls();
    picture.draw();
    const auto& calls = KGraphicRecorder::calls();
    ASSERT_EQ(calls.size(), 13u);
    const struct {
        int texture;
        std::vector<float> args;
    } expected[13] = {
        {1, {0, 0, 256, 256, 0, 0, 0, 0}},       {2, {0, 0, 256, 256, 256, 0, 0, 0}},
        {3, {0, 0, 256, 256, 512, 0, 0, 0}},     {4, {0, 0, 256, 256, 0, 256, 0, 0}},
        {5, {0, 0, 256, 256, 256, 256, 0, 0}},   {6, {0, 0, 256, 256, 512, 256, 0, 0}},
        {7, {0, 0, 256, 88, 0, 512, 0, 0}},      {7, {0, 128, 256, 216, 256, 512, 0, 0}},
        {8, {0, 0, 32, 256, 768, 0, 0, 0}},      {8, {32, 0, 64, 256, 768, 256, 0, 0}},
        {8, {64, 0, 96, 88, 768, 512, 0, 0}},    {8, {96, 0, 224, 88, 512, 512, 0, 0}},
        {8, {96, 88, 224, 176, 640, 512, 0, 0}},
    };
    for (size_t i = 0; i < 13; i++) {
        EXPECT_EQ(calls[i].operation, "blitRect");
        EXPECT_EQ(calls[i].args, expected[i].args) << i;
        EXPECT_EQ(calls[i].picture->fileName(),
                  getGraphicsFolder() + "title" + std::to_string(expected[i].texture) + ".jpg");
    }
    picture.release();
    KGraphicRecorder::clearCalls();
    picture.draw();
    EXPECT_TRUE(KGraphicRecorder::calls().empty());

    TiledPicture missing;
    missing.load("nosuchbackdrop");
    EXPECT_EQ(boxes.size(), 8u) << "one box per missing texture";
}

TEST_F(BackdropsAndBarsTest, GridLinesStartAtTheLayerOffset) {
    const struct {
        double camera, scroll;
        float first;
        size_t verticals;
    } cases[] = {
        {0, 1, 0, 13}, {100, 1, -36, 14}, {130.75, 1, -2, 13}, {-100, 1, 36, 12}, {1000, 0.5, -52, 14}, {640, 0, 0, 13},
    };
    for (const auto& c : cases) {
        KGraphicRecorder::clearCalls();
        drawGridLines(c.camera, 0, c.scroll, 1);
        std::vector<RecordedDraw> verticals;
        for (const RecordedDraw& call : sharedCalls())
            if (call.args[0] == call.args[2]) verticals.push_back(call);
        ASSERT_EQ(verticals.size(), c.verticals) << c.camera << " x " << c.scroll;
        EXPECT_EQ(verticals[0].args[0], c.first) << c.camera << " x " << c.scroll;
        EXPECT_EQ(verticals[1].args[0] - verticals[0].args[0], 64);
        EXPECT_EQ(verticals[0].args[3], 600);
        EXPECT_EQ(verticals[0].args[4], 1);
        EXPECT_EQ(verticals[0].args[7], 0.5f);
    }
    KGraphicRecorder::clearCalls();
    drawGridLines(0, 70, 1, 1);
    EXPECT_EQ(sharedCalls().size(), 13u + 10u) << "horizontals from y -6 every 64 below 600";
}

TEST_F(BackdropsAndBarsTest, HealthEasesAfterAHitAndFlashesUntilItCatchesUp) {
    TestPlayer player;
    setPlayerBarSource(&player);
    frameTime = 1.0 / 60;
    updatePlayerBars();
    EXPECT_FALSE(PlayerBars.damageFlash);
    player.health = 50;
    updatePlayerBars();
    EXPECT_TRUE(PlayerBars.damageFlash);
    for (int i = 0; i < 5; i++) updatePlayerBars(); // a tenth of a second
    EXPECT_NEAR(PlayerBars.shownHealth, 0.5 + 0.5 * std::pow(1 - 10.0 / 60, 6), 1e-12);
    EXPECT_NEAR((1.0 - PlayerBars.shownHealth) / 0.5, 2.0 / 3, 0.05) << "about two thirds of the way";
    EXPECT_TRUE(PlayerBars.damageFlash);
    int passes = 0;
    while (PlayerBars.damageFlash && passes < 1000) {
        updatePlayerBars();
        passes++;
    }
    EXPECT_LE(PlayerBars.shownHealth - 0.5, 0.01);
    EXPECT_LT(passes, 60);

    player.health = -20;
    for (int i = 0; i < 600; i++) updatePlayerBars();
    EXPECT_EQ(PlayerBars.healthFraction, 0.0);
    EXPECT_GE(PlayerBars.shownHealth, 0.0);
    KGraphicRecorder::clearCalls();
    drawPlayerBars();
    const auto calls = sharedCalls();
    ASSERT_GE(calls.size(), 4u);
    EXPECT_LE(calls[0].args[2], 10.01f) << "an empty bar, never a negative one";
}

TEST_F(BackdropsAndBarsTest, BarsDrawBandsInTheirColoursAndTheWeaponBar) {
    loadSpriteSheets();
    TestPlayer player;
    player.icon = 2;
    setPlayerBarSource(&player);
    frameTime = 1.0 / 64;
    for (int i = 0; i < 2000; i++) updatePlayerBars(); // settled: health full, weapon 3 / 4
    KGraphicRecorder::clearCalls();
    drawPlayerBars();
    const auto calls = sharedCalls();
    ASSERT_EQ(calls.size(), 4u + 4u + 2u + 4u);
    EXPECT_EQ(calls[0].args, (std::vector<float>{10, 15, 260, 18, 0.5f, 0.5f, 1, 1}));
    EXPECT_EQ(calls[1].args, (std::vector<float>{10, 18, 260, 27, 0.3f, 0.3f, 1, 1}));
    EXPECT_EQ(calls[2].args, (std::vector<float>{10, 27, 260, 30, 0.1f, 0.1f, 0.7f, 1}));
    EXPECT_EQ(calls[3].args, (std::vector<float>{260, 15, 260, 30, 0, 0, 0, 0.5f}));
    EXPECT_EQ(calls[4].operation, "drawLine");
    EXPECT_NEAR(calls[8].args[2], 85, 1e-3) << "the weapon bar three quarters full";
    EXPECT_EQ(calls[8].args[4], 1) << "white without a weapon colour";
    EXPECT_EQ(calls[9].args, (std::vector<float>{calls[8].args[2], 33, 110, 40, 0, 0, 0, 0.5f}));

    const auto head = KGraphicRecorder::callsOn(static_cast<KGraphicRecorder*>(getSpriteSheet(12)->getGraphic()));
    ASSERT_EQ(head.size(), 1u);
    EXPECT_EQ(head[0].args[4], 10);
    EXPECT_EQ(head[0].args[5], 23);
    const auto icon = KGraphicRecorder::callsOn(static_cast<KGraphicRecorder*>(getSpriteSheet(34)->getGraphic()));
    ASSERT_EQ(icon.size(), 1u);
    EXPECT_EQ(icon[0].args[0], getSpriteSheet(34)->getFrame(2)->left) << "frame 2 of the overlays";
    EXPECT_EQ(icon[0].args[4], 80);
    EXPECT_EQ(icon[0].args[5], 43);

    player.health = 40;
    player.recharging = true;
    player.rechargeTime = 0.5; // a quarter of the way: 0.75 left to fill
    player.colored = true;
    KGraphicRecorder::clearCalls();
    drawPlayerBars();
    const auto flashed = sharedCalls();
    EXPECT_EQ(flashed[0].args[4], 0.9f);
    EXPECT_EQ(flashed[1].args[4], 0.8f);
    EXPECT_EQ(flashed[2].args[4], 0.7f);
    EXPECT_EQ(PlayerBars.weaponFraction, 0.75);
    EXPECT_EQ(flashed[8].args[5], 0.5f) << "the weapon's own colour";

    setPlayerBarSource(nullptr);
    KGraphicRecorder::clearCalls();
    drawPlayerBars();
    EXPECT_TRUE(KGraphicRecorder::calls().empty()) << "no player, no bars";
    freeSpriteSheets();
}
