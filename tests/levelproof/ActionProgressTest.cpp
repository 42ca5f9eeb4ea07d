// The cheats are earned by playing the Action levels to the full: each level of the real Action list is recorded
// through the progress table as a won run records it (all five Gold Radudods, every enemy destroyed), and then
// every cheat that can be earned at all is unlocked. The full series holds 50 levels; while the list is shorter,
// exactly the cheats that its Ruri Veruders and perfect levels earn are unlocked.
#include "../game/framework/TempUserFolder.h"

#include "CheatList.h"
#include "LevelCatalogue.h"
#include "ProgressTable.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr size_t kFullActionSeries = 50;

} // namespace

TEST(ActionProgress, WinningEveryActionLevelToTheFullUnlocksEveryEarnableCheat) {
    TempUserFolder user;
    buildLevelCatalogue();
    buildCheatList();
    ProgressTable = ProgressTableRecord{};
    readProgress(); // as at start-up: the cheats read their progress from the table from now on
    const std::vector<LevelEntry>& action = LevelCatalogue.list(kListAction);
    ASSERT_FALSE(action.empty());
    EXPECT_FALSE(anyCheatUnlocked());
    LevelRunResult perfect;
    perfect.won = true;
    perfect.levelTime = 90;
    perfect.enemiesPercent = 100;
    perfect.goldZuzevirs = 5;
    LevelCatalogue.currentKind = kListAction;
    for (size_t i = 0; i < action.size(); ++i) {
        LevelCatalogue.currentIndex = int32_t(i);
        recordLevelResult(perfect);
    }
    const int32_t levels = int32_t(action.size());
    EXPECT_EQ(totalGoldZuzevirs(), 5 * levels);
    EXPECT_EQ(countPerfectLevels(), levels);
    for (int cheat = 0; cheat < kCheatCount; ++cheat) {
        SCOPED_TRACE(getCheatName(cheat));
        const bool earnable = isCheatUnlockedBy(cheat, {INT_MAX, INT_MAX});
        if (!earnable || action.size() >= kFullActionSeries) {
            EXPECT_EQ(isCheatUnlocked(cheat), earnable);
        } else {
            EXPECT_EQ(isCheatUnlocked(cheat), isCheatUnlockedBy(cheat, {5 * levels, levels}))
                << "with " << levels << " of the " << kFullActionSeries << " Action levels";
        }
    }
    freeCheatList();
    clearLevelCatalogue();
    ProgressTable = ProgressTableRecord{};
}
