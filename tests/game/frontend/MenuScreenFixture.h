// The front-end fixture for the level select and the in-level menus: beside what the front-end screens need,
// level files of a chosen game mode in the test's folder, and the catalogue, current level, progress and level
// goals put back afterwards.
#pragma once

#include "FrontEndFixture.h"
#include "LevelCatalogue.h"
#include "LevelFile.h"
#include "LevelStart.h"
#include "ProgressTable.h"
#include "TempFolder.h"

#include <string>

class MenuScreenTest : public FrontEndTest {
protected:
    void TearDown() override {
        FrontEndTest::TearDown();
        clearLevelCatalogue();
        LevelCatalogue.currentKind = kListAction;
        LevelCatalogue.currentIndex = -1;
        LevelStartRequest = LevelStartRequestRecord{};
        ProgressTable = ProgressTableRecord{};
        CurrentLevelGoals = LevelGoals{};
    }
    // A level file with default contents but the given game mode, in the test's folder.
    std::string levelFile(const std::string& name, int32_t mode) {
        LevelData level;
        level.goals.gameMode = mode;
        const std::string path = folder.file(name);
        EXPECT_TRUE(writeLevelData(path, level));
        return path;
    }

    TempFolder folder;
};
