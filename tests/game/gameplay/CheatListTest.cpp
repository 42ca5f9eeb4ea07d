// The cheat list: its fixed order and names, the unlock rules over the Action progress, the on flags, and the
// notice drawn while a cheat is on.
#include "CheatList.h"
#include "BitmapFonts.h"
#include "FolderPaths.h"
#include "HostSystem.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

CheatProgress progressNow;
CheatProgress readProgressNow() {
    return progressNow;
}

class CheatListTest : public testing::Test {
protected:
    void SetUp() override {
        progressNow = {};
        setCheatProgressReader(readProgressNow);
        buildCheatList();
    }
    void TearDown() override {
        freeCheatList();
        setCheatProgressReader(nullptr);
    }
};

const char* const kNames[kCheatCount] = {
    "Invincible",       "Mini Radudod",    "Big Radudod",    "Mini Enemies",    "Big Enemies",        "Low Gravity",
    "High Gravity",     "Flying Radudod",  "Super Laser",    "Cloaked Radudod", "Fast Radudod",       "Slow Radudod",
    "Enemies Run Away", "Cloaked Enemies", "Rudder Control", "No Enemies",      "Invinsible Enemies", "Homing Torpedo",
    "4x Damage",        "Machine Gun",     "Laser Sword",    "No Time Limit",   "Show Tricks",
};

} // namespace

TEST_F(CheatListTest, TwentyThreeCheatsInTheirFixedOrderAllOff) {
    ASSERT_EQ(CheatList.size(), size_t(kCheatCount));
    for (int i = 0; i < kCheatCount; i++) {
        EXPECT_STREQ(getCheatName(i), kNames[i]) << i;
        EXPECT_FALSE(isCheatOn(i)) << i;
    }
    EXPECT_STREQ(getCheatName(kCheatCount), "");
    EXPECT_STREQ(getCheatName(-1), "");
    EXPECT_FALSE(anyCheatOn());
    buildCheatList();
    EXPECT_EQ(CheatList.size(), size_t(kCheatCount)) << "a second build replaces the list";
}

TEST_F(CheatListTest, CheatsUnlockAtTheirThresholds) {
    struct Case {
        int index;
        bool byGold;
        int threshold;
    };
    const Case cases[] = {
        {kCheatBigRadudod, true, 35},      {kCheatSuperLaser, true, 70},      {kCheat4xDamage, true, 105},
        {kCheatMachineGun, true, 140},     {kCheatEnemiesRunAway, true, 180}, {kCheatLaserSword, true, 215},
        {kCheatCloakedRadudod, true, 250}, {kCheatCloakedEnemies, false, 10}, {kCheatSlowRadudod, false, 20},
        {kCheatMiniEnemies, false, 30},    {kCheatBigEnemies, false, 40},     {kCheatFlyingRadudod, false, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kNames[c.index]);
        CheatProgress below, at, other;
        (c.byGold ? below.gold : below.perfect) = c.threshold - 1;
        (c.byGold ? at.gold : at.perfect) = c.threshold;
        (c.byGold ? other.perfect : other.gold) = 100000; // the other count never unlocks it
        EXPECT_FALSE(isCheatUnlockedBy(c.index, below));
        EXPECT_TRUE(isCheatUnlockedBy(c.index, at));
        EXPECT_FALSE(isCheatUnlockedBy(c.index, other));
    }
    const int never[] = {0, 1, 5, 6, 10, 14, 15, 16, 17, 21, 22};
    for (int index : never) EXPECT_FALSE(isCheatUnlockedBy(index, {100000, 100000})) << kNames[index];
    EXPECT_FALSE(isCheatUnlockedBy(kCheatCount, {100000, 100000}));
    EXPECT_FALSE(isCheatUnlockedBy(-1, {100000, 100000}));
}

TEST_F(CheatListTest, UnlocksAreReadFromTheProgressAtEachQuery) {
    progressNow.gold = 34;
    EXPECT_FALSE(anyCheatUnlocked()) << "34 Ruri Veruders unlock nothing";
    progressNow.gold = 35;
    EXPECT_TRUE(isCheatUnlocked(kCheatBigRadudod));
    EXPECT_TRUE(anyCheatUnlocked());
    progressNow = {0, 10};
    EXPECT_FALSE(isCheatUnlocked(kCheatBigRadudod));
    EXPECT_TRUE(isCheatUnlocked(kCheatCloakedEnemies));
    setCheatProgressReader(nullptr);
    EXPECT_FALSE(anyCheatUnlocked()) << "without progress nothing is earned";
}

TEST_F(CheatListTest, OnFlags) {
    setCheatOn(kCheatNoTimeLimit, true);
    EXPECT_TRUE(isCheatOn(kCheatNoTimeLimit));
    EXPECT_TRUE(anyCheatOn());
    setCheatOn(kCheatCount, true);
    setCheatOn(-3, true);
    EXPECT_FALSE(isCheatOn(kCheatCount));
    setCheatOn(kCheatNoTimeLimit, false);
    EXPECT_FALSE(anyCheatOn());
    setCheatOn(kCheatShowTricks, true);
    freeCheatList();
    EXPECT_FALSE(anyCheatOn()) << "the flags go with the list";
    EXPECT_FALSE(isCheatOn(kCheatShowTricks));
}

TEST_F(CheatListTest, TheNoticeShowsOnlyWhileACheatIsOn) {
    ScopedGraphicRecording recording;
    host::setMessageBoxHandler([](const std::string&, const std::string&) {});
    setUpFolders();
    loadBitmapFonts();
    KGraphicRecorder::clearCalls();
    drawCheatsNotice();
    EXPECT_TRUE(KGraphicRecorder::calls().empty());

    setCheatOn(kCheatLowGravity, true);
    drawCheatsNotice();
    const auto calls = KGraphicRecorder::calls();
    EXPECT_EQ(calls.size(), std::string("Cheats On - Doesn't Count").size()) << "one glyph per character";
    ASSERT_FALSE(calls.empty());
    const float left = calls.front().args[4], right = calls.back().args[4];
    EXPECT_LT(left, 350) << "the text is wider than the 100 pixels it is centred over";
    EXPECT_GT(right, 450);
    EXPECT_NEAR((left + right) / 2, 400, 20);
    EXPECT_EQ(calls.front().args[5], 15);
    freeBitmapFonts();
    host::setMessageBoxHandler(nullptr);
}
