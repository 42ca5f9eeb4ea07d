// Number, time and level-name formatting, and the small timer and file helpers.
#include "TextTools.h"
#include "DrawTools.h"
#include "FrameClock.h"
#include "GameWindow.h"
#include "IntervalTimer.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "PlatformTools.h"
#include "TempFolder.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

TEST(TextTools, GroupedNumbers) {
    const struct {
        int n;
        const char* text;
    } cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {999999, "999,999"},
        {1000000, "1,000,000"},
        {1234567, "1,234,567"},
        {1000000000, "1,000,000,000"},
        {2147483647, "2,147,483,647"},
        {-1234567, "-1234567"},
    };
    for (const auto& c : cases) EXPECT_EQ(intToGroupedString(c.n), c.text) << c.n;
    EXPECT_EQ(intToString(-5), "-5");
}

TEST(TextTools, TimesAndPadding) {
    const struct {
        double seconds;
        const char* text;
    } cases[] = {
        {0, "00:00:000"}, {83.5, "01:23:500"}, {5999.9999, "99:59:999"}, {6000, "-"}, {600.25, "10:00:250"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatTime(c.seconds), c.text) << c.seconds;
    // No time at all, as a damaged or hand-edited progress file may give a best time.
    for (double noTime : {std::nan(""), -std::numeric_limits<double>::infinity(), -1e300, -6000.0, -5.0, -0.001})
        EXPECT_EQ(formatTime(noTime), "-") << noTime;
    EXPECT_EQ(padWithZeros("7", 3), "007");
    EXPECT_EQ(padWithZeros("1234", 3), "1234");
}

TEST(TextTools, LevelNumbersAndSuffixes) {
    const struct {
        const char* name;
        const char* stripped;
    } cases[] = {
        {"12.Reef", "Reef"}, {"1.2.Deep", "2.Deep"}, {"Reef", "Reef"},         {"12", "12"},
        {".Reef", ".Reef"},  {"12.", "12."},         {"12a.Reef", "12a.Reef"}, {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(stripLevelNumber(c.name), c.stripped) << c.name;

    EXPECT_FALSE(endsWith(".lvl", ".lvl")); // the text must be longer than the suffix
    EXPECT_TRUE(endsWith("a.lvl", ".lvl"));
    EXPECT_FALSE(endsWith("a.LVL", ".lvl"));
    EXPECT_FALSE(endsWith("lvl", ".lvl"));
}

TEST(IntervalTimer, FiresWhenTheIntervalIsReachedAndStartsAgain) {
    IntervalTimer timer;
    timer.interval = 0.1;
    frameTime = 0.05;
    std::vector<bool> fired;
    for (int i = 0; i < 6; ++i) {
        timer.update();
        fired.push_back(timer.fired);
    }
    EXPECT_EQ(fired, (std::vector<bool>{false, true, false, true, false, true}));
}

TEST(PlatformTools, FileExistsOnlyForReadableFiles) {
    TempFolder temp;
    EXPECT_TRUE(fileExists(temp.write("a.lvl", "x")));
    EXPECT_FALSE(fileExists(temp.file("missing.lvl")));
    EXPECT_FALSE(fileExists(temp.path()));
    EXPECT_STREQ(platformName(), "Linux");
}

TEST(DrawTools, RectOutlineIsFourLinesOnTheSharedDrawingObject) {
    ScopedGraphicRecording recording;
    sharedGraphic = createGraphic();
    KGraphicRecorder::clearCalls();
    drawRectOutline(10, 20, 30, 40, 0, 0, 0, 1);
    const auto calls = KGraphicRecorder::calls();
    delete sharedGraphic;
    sharedGraphic = nullptr;
    ASSERT_EQ(calls.size(), 4u);
    const std::vector<float> expected[] = {
        {10, 20, 30, 20, 0, 0, 0, 1},
        {10, 40, 30, 40, 0, 0, 0, 1},
        {10, 20, 10, 40, 0, 0, 0, 1},
        {30, 20, 30, 40, 0, 0, 0, 1},
    };
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(calls[i].operation, "drawLine");
        EXPECT_EQ(calls[i].args, expected[i]) << i;
    }
    drawRectOutline(10, 20, 30, 40, 0, 0, 0, 1); // without the object: nothing, no crash
}
