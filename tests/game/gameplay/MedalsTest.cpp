// The medal rules as tables: Race medals by time once every hoop is passed, Stunt medals by score once the
// time limit has passed; the names by the same rules.
#include "Medals.h"

#include <gtest/gtest.h>

TEST(MedalsTest, RaceMedalsByTimeWithEveryHoopPassed) {
    LevelGoals goals; // 17, 18, 20 s
    RequiredHoops = 4;
    struct Case {
        int passed;
        double time;
        int medal;
        const char* name;
    } cases[] = {
        {4, 10.0, kMedalGold, "Gold"},     {4, 17.0, kMedalGold, "Gold"},     {4, 17.001, kMedalSilver, "Silver"},
        {4, 18.0, kMedalSilver, "Silver"}, {4, 20.0, kMedalBronze, "Bronze"}, {4, 20.01, kMedalNone, "None"},
        {3, 10.0, kMedalNone, "None"},     {5, 17.0, kMedalGold, "Gold"},
    };
    for (const Case& c : cases) {
        PassedHoops = c.passed;
        EXPECT_EQ(medalForTime(goals, c.time), c.medal) << c.passed << " hoops, " << c.time << " s";
        EXPECT_STREQ(medalNameForTime(goals, c.time), c.name);
    }
    RequiredHoops = PassedHoops = 0;
}

TEST(MedalsTest, StuntMedalsByScoreOnlyAfterTheTimeLimit) {
    LevelGoals goals; // 1000, 2000, 3000 points; 60 s
    struct Case {
        double time;
        int32_t score;
        int medal;
        const char* name;
    } cases[] = {
        {60.0, 5000, kMedalNone, "None"},     {60.01, 3000, kMedalGold, "Gold"},
        {61.0, 2999, kMedalSilver, "Silver"}, {61.0, 2000, kMedalSilver, "Silver"},
        {61.0, 1000, kMedalBronze, "Bronze"}, {61.0, 999, kMedalNone, "None"},
        {30.0, 100000, kMedalNone, "None"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(medalForScore(goals, c.time, c.score), c.medal) << c.time << " s, " << c.score;
        EXPECT_STREQ(medalNameForScore(goals, c.time, c.score), c.name);
    }
}
