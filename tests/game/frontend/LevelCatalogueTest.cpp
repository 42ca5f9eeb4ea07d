// The level catalogue and the level-start operations: which files are listed and in what order, and where
// each way into a level leads (the game, the comic, the level select) with the help page it leaves.
#include "LevelCatalogue.h"
#include "../framework/TempUserFolder.h"
#include "LevelFile.h"
#include "LevelStart.h"
#include "ProgramStates.h"
#include "ProgressTable.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

std::vector<std::string> names(int32_t kind) {
    std::vector<std::string> out;
    for (const LevelEntry& entry : LevelCatalogue.list(kind)) out.push_back(entry.fileName);
    return out;
}

class LevelCatalogueTest : public ::testing::Test {
protected:
    void TearDown() override {
        clearLevelCatalogue();
        LevelCatalogue.currentKind = kListAction;
        LevelCatalogue.currentIndex = -1;
        LevelStartRequest = LevelStartRequestRecord{};
        StateRequest = StateRequestRecord{};
        ProgressTable = ProgressTableRecord{};
        CurrentLevelGoals = LevelGoals{};
    }
    TempUserFolder user;
    TempFolder folder;
};

TEST_F(LevelCatalogueTest, OnlyLevelFilesAreListedInByteOrder) {
    for (const char* name : {"default.lvl", "02.B.lvl", "01.A.lvl", "notes.txt", ".lvl", "x.LVL", "2.Y.lvl", "10.X.lvl",
                             "Reefs.lvl", "Reef.lvl"})
        folder.write(name, "");
    std::filesystem::create_directory(folder.file("03.Folder.lvl"));
    const std::string path = folder.path() + "/";
    scanLevelFolder(kListAction, path);
    EXPECT_EQ(names(kListAction),
              (std::vector<std::string>{"01.A.lvl", "02.B.lvl", "10.X.lvl", "2.Y.lvl", "Reef.lvl", "Reefs.lvl"}));
    EXPECT_EQ(LevelCatalogue.list(kListAction)[0].path, path + "01.A.lvl");
    // Only the Action list leaves out the editor's start level.
    scanLevelFolder(kListStunt, path);
    EXPECT_EQ(names(kListStunt).front(), "01.A.lvl");
    EXPECT_EQ(names(kListStunt).size(), 7u);
    EXPECT_EQ(names(kListStunt).back(), "default.lvl"); // lower case sorts after upper case
}

TEST_F(LevelCatalogueTest, RebuildReplacesTheListsAndKeepsTheCurrentLevel) {
    std::FILE* f = std::fopen((getCustomLevelsFolder() + "07.Shark Bay.lvl").c_str(), "wb");
    std::fclose(f);
    LevelCatalogue.list(kListCustom) = {{"old.lvl", "old.lvl"}};
    LevelCatalogue.currentKind = kListCustom;
    LevelCatalogue.currentIndex = 0;
    buildLevelCatalogue();
    EXPECT_EQ(names(kListCustom), (std::vector<std::string>{"07.Shark Bay.lvl"}));
    EXPECT_EQ(LevelCatalogue.currentIndex, 0);
    EXPECT_EQ(currentLevelName(), "07.Shark Bay");
    EXPECT_EQ(levelDisplayName("12.Reef.lvl"), "12.Reef");
    LevelCatalogue.currentIndex = -1;
    EXPECT_EQ(currentLevelName(), "");
    LevelCatalogue.currentIndex = 5; // past the end: no name, not a read past the list
    EXPECT_EQ(currentLevelName(), "");
}

class LevelStartTest : public LevelCatalogueTest {
protected:
    void SetUp() override {
        actionPath = levelFile("action.lvl", kGameModeAction);
        racePath = levelFile("race.lvl", kGameModeRace);
        stuntPath = levelFile("stunt.lvl", kGameModeStunt);
        damagedPath = folder.write("damaged.lvl", "\1\0\0\0");
        for (int i = 0; i < 22; ++i)
            LevelCatalogue.list(kListAction).push_back({std::to_string(i) + ".lvl", actionPath});
        LevelCatalogue.list(kListRace) = {{"01.R.lvl", racePath}, {"02.R.lvl", damagedPath}};
        LevelCatalogue.list(kListCustom) = {{"Mine.lvl", racePath}, {"Trick.lvl", stuntPath}};
    }
    std::string levelFile(const std::string& name, int32_t mode) {
        LevelData level;
        level.goals.gameMode = mode;
        const std::string path = folder.file(name);
        EXPECT_TRUE(writeLevelData(path, level));
        return path;
    }
    void expectRequest(int32_t id) {
        EXPECT_EQ(StateRequest.id, id);
        EXPECT_EQ(StateRequest.mode, kLeaveAndEnter);
        StateRequest = StateRequestRecord{};
    }
    void expectCurrent(int32_t kind, int32_t index) {
        EXPECT_EQ(LevelCatalogue.currentKind, kind);
        EXPECT_EQ(LevelCatalogue.currentIndex, index);
    }
    std::string actionPath, racePath, stuntPath, damagedPath;
};

TEST_F(LevelStartTest, ActionLevelsOpenTheirHelpPageAndSomeTheirComicFirst) {
    struct Case {
        int32_t index;
        bool withComic;
        int32_t state, helpPage, comicScene;
    };
    const Case cases[] = {
        {0, true, kStateComicManager, -1, 0},   {0, false, kStateGameEngine, 0, -1},
        {1, true, kStateGameEngine, 1, -1},     {3, true, kStateGameEngine, 3, -1},
        {4, true, kStateGameEngine, -1, -1},    {20, true, kStateComicManager, -1, 1},
        {20, false, kStateGameEngine, -1, -1},  {22, false, kStateLevelSelect, -1, -1},
        {-1, false, kStateLevelSelect, -1, -1},
    };
    for (const Case& c : cases) {
        LevelStartRequest = LevelStartRequestRecord{};
        LevelStartRequest.comicScene = -1;
        startActionLevel(c.index, c.withComic);
        SCOPED_TRACE(c.index);
        expectRequest(c.state);
        EXPECT_EQ(LevelStartRequest.helpPageOnEnter, c.helpPage);
        EXPECT_EQ(LevelStartRequest.comicScene, c.comicScene);
        if (c.comicScene >= 0) {
            EXPECT_EQ(LevelStartRequest.comicLevelIndex, c.index);
        }
        if (c.state == kStateGameEngine) expectCurrent(kListAction, c.index);
    }
    // Restarting level 20 does not replay its comic.
    restartCurrentLevel();
    expectRequest(kStateGameEngine);
    expectCurrent(kListAction, 20);
}

TEST_F(LevelStartTest, ModeLevelsChooseTheHelpPageFromTheFilesGameMode) {
    startRaceLevel(0);
    expectRequest(kStateGameEngine);
    expectCurrent(kListRace, 0);
    EXPECT_EQ(LevelStartRequest.helpPageOnEnter, kHelpPageRacing);

    startCustomLevel(1);
    expectRequest(kStateGameEngine);
    expectCurrent(kListCustom, 1);
    EXPECT_EQ(LevelStartRequest.helpPageOnEnter, kHelpPageStunt);

    LevelStartRequest = LevelStartRequestRecord{};
    startCustomLevel(0); // a custom level in Race mode shows the racing page too
    EXPECT_EQ(LevelStartRequest.helpPageOnEnter, kHelpPageRacing);

    startStuntLevel(0); // the Stunt list is empty
    expectRequest(kStateLevelSelect);
    expectCurrent(kListCustom, 0);
}

TEST_F(LevelStartTest, ALevelThatCannotBeLoadedReturnsToTheLevelSelect) {
    startRaceLevel(0);
    expectRequest(kStateGameEngine);
    startRaceLevel(1);
    expectRequest(kStateLevelSelect);
    expectCurrent(kListRace, 0); // the level being recorded stays the one that was played
    EXPECT_EQ(CurrentLevelGoals.gameMode, kGameModeRace);
}

TEST_F(LevelStartTest, NextLevelFollowsTheListAndEndsAtTheLevelSelect) {
    startActionLevel(18, false);
    startNextLevel(/*anyCheatOn=*/false);
    expectRequest(kStateGameEngine);
    expectCurrent(kListAction, 19);
    startNextLevel(false); // level 20 opens with its comic
    expectRequest(kStateComicManager);
    EXPECT_EQ(LevelStartRequest.comicScene, 1);

    startActionLevel(21, false);
    startNextLevel(false);
    expectRequest(kStateLevelSelect);

    startCustomLevel(0);
    startNextLevel(false);
    expectRequest(kStateGameEngine);
    expectCurrent(kListCustom, 1);
    startNextLevel(false);
    expectRequest(kStateLevelSelect);
}

TEST_F(LevelStartTest, WithACheatOnlyACompletedLevelLeadsToTheNext) {
    startActionLevel(5, false);
    StateRequest = StateRequestRecord{};
    startNextLevel(/*anyCheatOn=*/true);
    expectRequest(kStateLevelSelect);
    ASSERT_EQ(ProgressTable.list(kListAction).size(), 1u); // the look-up added the level's record
    EXPECT_EQ(ProgressTable.list(kListAction)[0].name, "5");

    ProgressTable.list(kListAction)[0].completed = true;
    startNextLevel(true);
    expectRequest(kStateGameEngine);
    expectCurrent(kListAction, 6);

    startCustomLevel(0); // custom levels are never held back
    startNextLevel(true);
    expectRequest(kStateGameEngine);
    expectCurrent(kListCustom, 1);
}

} // namespace
