// Pipes where the game reads its files: a pipe opened for reading waits for a writer that never comes, so the
// game must refuse one without opening it that way. In every place the game opens a file (the options, the
// progress, a level of each list, the editor's load, a picture's test for its file) a pipe is refused at once:
// the settings and lists stay as they were, the level select stays, nothing replaces the pipe that holds the
// progress, and the player is told that the progress could not be saved.
#include "../game/framework/TempUserFolder.h"
#include "FileFailureBox.h"
#include "FinishesInTime.h"
#include "GameOptions.h"
#include "HostSystem.h"
#include "LevelCatalogue.h"
#include "LevelFile.h"
#include "LevelStart.h"
#include "PlatformTools.h"
#include "ProgramStates.h"
#include "ProgressTable.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

class NonRegularFiles : public testing::Test {
protected:
    void TearDown() override {
        GameOptions = GameOptionsRecord();
        ProgressTable = ProgressTableRecord();
        clearLevelCatalogue();
        StateRequest = StateRequestRecord();
    }
    static void makePipe(const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0) << path; }

    TempUserFolder home;
};

} // namespace

TEST_F(NonRegularFiles, APipeIsRefusedAtOnceWhereverTheGameOpensAFile) {
    const std::string level = getCustomLevelsFolder() + "Pipe.lvl";
    const std::string picture = home.homePath() + "/pipe.png";
    makePipe(optionsFilePath());
    makePipe(progressFilePath());
    makePipe(level);
    makePipe(picture);
    struct Place {
        const char* name;
        std::function<void()> open;
    };
    const std::vector<Place> places = {
        {"the options",
         [] {
             GameOptions.difficulty = 3;
             readOptions();
             EXPECT_EQ(GameOptions.difficulty, 3) << "the settings stay";
         }},
        {"the progress",
         [&] {
             ProgressTable.list(kListAction) = {LevelRecord{.name = "01.Kept"}};
             EXPECT_TRUE(readProgress().unreadable);
             EXPECT_EQ(ProgressTable.list(kListAction).size(), 1u) << "the lists stay";
             // A finished level is not saved over the pipe, and the player is told.
             std::vector<std::string> boxes;
             host::setMessageBoxHandler(
                 [&](const std::string& caption, const std::string& text) { boxes.push_back(caption + ": " + text); });
             forgetToldFileFailures();
             LevelCatalogue.list(kListCustom) = {{"Mine.lvl", level}};
             LevelCatalogue.currentKind = kListCustom;
             LevelCatalogue.currentIndex = 0;
             recordLevelResult(LevelRunResult{.won = true, .levelTime = 9.0});
             host::setMessageBoxHandler(nullptr);
             EXPECT_EQ(boxes, std::vector<std::string>{"Failed to Save Progress: File \"" + progressFilePath() +
                                                       "\" failed to save (it could not be read, so it is kept "
                                                       "as it is)"});
             EXPECT_TRUE(findOrAddLevelRecord(kListCustom, "Mine").completed) << "the result stays in memory";
         }},
        {"the editor's load", [&] { EXPECT_FALSE(loadLevelFileForEditor(level)); }},
        {"a picture's test for its file", [&] { EXPECT_FALSE(fileExists(picture)); }},
    };
    for (const Place& place : places) EXPECT_STREQ(finishesInTime(place.open), "finished") << place.name;

    // A level clicked in any list: the start refuses it and the level select stays.
    for (int32_t kind = 0; kind < kLevelListKinds; ++kind) {
        const char* outcome = finishesInTime([&] {
            LevelCatalogue.list(kind) = {{"Pipe.lvl", level}};
            startLevelOfKind(kind, 0);
            EXPECT_EQ(StateRequest.id, kStateLevelSelect);
        });
        EXPECT_STREQ(outcome, "finished") << "list " << kind;
    }
    for (const std::string& path : {optionsFilePath(), progressFilePath(), level, picture})
        EXPECT_TRUE(fs::is_fifo(path)) << path;
}
