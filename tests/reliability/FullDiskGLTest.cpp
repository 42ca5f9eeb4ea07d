// Saves that meet a full disk: the game, on a real window, runs in a child process whose files may not grow past
// a few bytes (RLIMIT_FSIZE), so that every save it makes fails part-way, as on a full disk (the signal the
// limit sends is ignored, as a full disk sends none: the write just fails). The options screen is left, a level
// is played to its end twice and the editor saves a level: each write fails with its log line, keeps the old
// file whole and leaves no temporary file, and the game goes on (the next screen opens, the result stays in
// memory, the editor's save dialog stays open). The player is told once that the options and once that the
// progress could not be saved, however often they fail; at the end the game shuts down normally.
#include "../game/framework/TempUserFolder.h"
#include "EditorPanels.h"
#include "GF_LevelEditor.h"
#include "GameOptions.h"
#include "HostSystem.h"
#include "KLog.h"
#include "LevelStart.h"
#include "ProgressTable.h"
#include "SaveFiles.h"
#include "ShellPlay.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr rlim_t kFileLimit = 16; // bytes: smaller than any file the game writes

// The boxes the game showed, as "caption: text".
std::vector<std::string> boxes;

size_t boxesSaying(const std::string& text) {
    return size_t(std::count(boxes.begin(), boxes.end(), text));
}

std::string logText() {
    return std::string(KLog::memoryBuffer(), KLog::memoryBufferUsed());
}

// The engine's line for a file whose write could not finish: the file is named, and the limit is the reason.
bool failedWriteLogged(const std::string& path) {
    return logText().find("System: cannot write '" + path + "' (File too large), the old file is kept") !=
           std::string::npos;
}

// The child's part: the game started, then the limit, then the three saves and the shutdown. Failures are
// reported by the child's own checks; its exit status says whether any failed.
void playWithAFullDisk(const std::string& levelPath) {
    host::setMessageBoxHandler(
        [](const std::string& caption, const std::string& text) { boxes.push_back(caption + ": " + text); });
    ASSERT_TRUE(initGame());
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit = {kFileLimit, kFileLimit};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    ScriptedShell shell;
    shell.passes(2);

    // The options screen, left with the back key after a change: the write fails, the main menu opens.
    KLog::clearMemoryBuffer();
    requestProgramState(kStateOptionsMenu, kLeaveAndEnter);
    shell.passes(2);
    ASSERT_EQ(currentState, programStates[kStateOptionsMenu].get());
    shell.clickAt(470 + 14, 100 + 3 * 30 + 14); // "Hard"
    shell.tapKey(0x1B);
    shell.passes(1);
    EXPECT_EQ(currentState, programStates[kStateMainMenu].get());
    EXPECT_EQ(GameOptions.difficulty, 3) << "the settings in use stay as chosen";
    EXPECT_TRUE(failedWriteLogged(optionsFilePath())) << logText();
    const std::string optionsBox =
        "Failed to Save Options: File \"" + optionsFilePath() + "\" failed to save (File too large)";
    EXPECT_EQ(boxesSaying(optionsBox), 1u) << testing::PrintToString(boxes);

    // A level played to its end: the result cannot be written, the complete menu opens all the same and the
    // record is kept in memory for the next write.
    KLog::clearMemoryBuffer();
    buildLevelCatalogue();
    startLevelOfKind(kListCustom, 0);
    shell.passes(1);
    ASSERT_EQ(currentState, getGameEngine());
    EXPECT_TRUE(shell_play::playToTheEnd(shell, 3000));
    EXPECT_TRUE(findOrAddLevelRecord(kListCustom, "Good Level").completed);
    EXPECT_TRUE(failedWriteLogged(progressFilePath())) << logText();
    const std::string progressBox =
        "Failed to Save Progress: File \"" + progressFilePath() + "\" failed to save (File too large)";
    EXPECT_EQ(boxesSaying(progressBox), 1u) << testing::PrintToString(boxes);
    // Played again: the save fails again and the player is not told twice.
    KLog::clearMemoryBuffer();
    restartCurrentLevel();
    shell.passes(2);
    ASSERT_EQ(currentState, getGameEngine());
    EXPECT_TRUE(shell_play::playToTheEnd(shell, 3000));
    EXPECT_TRUE(failedWriteLogged(progressFilePath())) << logText();
    EXPECT_EQ(boxesSaying(progressBox), 1u) << testing::PrintToString(boxes);

    // The editor saves the level over its file: the save fails and the dialog stays open.
    KLog::clearMemoryBuffer();
    requestProgramState(kStateLevelEditor, kLeaveAndEnter);
    shell.passes(2);
    auto* editor = static_cast<GF_LevelEditor*>(programStates[kStateLevelEditor].get());
    ASSERT_EQ(currentState, editor);
    shell.clickAt(700, 360 + 17 * kLayerRowSpecial + 5); // the properties panel
    LevelPropertiesWidgets& properties = *editor->properties;
    shell.clickAt(properties.save.x + 3, properties.save.y + 3);
    ASSERT_TRUE(properties.save.selected);
    properties.saveName.setText("Good Level");
    shell.clickAt(properties.saveButton.x + 3, properties.saveButton.y + 3);
    EXPECT_TRUE(properties.save.selected) << "a failed save keeps its dialog open";
    EXPECT_TRUE(failedWriteLogged(levelPath)) << logText();

    // The shutdown writes the options once more, fails again, and ends normally.
    KLog::clearMemoryBuffer();
    requestProgramState(kQuitProgram, kLeaveAndEnter);
    shell.passes(1);
    shutdownGame();
    EXPECT_TRUE(failedWriteLogged(optionsFilePath())) << logText();
    EXPECT_EQ(boxesSaying(optionsBox), 1u) << "the shutdown's save tells no one: " << testing::PrintToString(boxes);
    host::setMessageBoxHandler(nullptr);
}

} // namespace

TEST(FullDisk, FailedSavesKeepTheOldFilesAndTheGameGoesOn) {
    TempUserFolder home;
    GameOptions = GameOptionsRecord();
    GameOptions.difficulty = 2;
    ASSERT_TRUE(writeOptions());
    ProgressTable = ProgressTableRecord();
    findOrAddLevelRecord(kListAction, "01.First Swim");
    ASSERT_TRUE(writeProgress());
    ProgressTable = ProgressTableRecord();
    const std::string levelPath = getCustomLevelsFolder() + "Good Level.lvl";
    LevelData level = shell_play::openWaterLevel();
    ASSERT_TRUE(writeLevelData(levelPath, level));
    const std::vector<std::string> paths = {optionsFilePath(), progressFilePath(), levelPath};
    std::vector<Bytes> before;
    for (const std::string& path : paths) before.push_back(fileBytes(path));

    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        playWithAFullDisk(levelPath);
        std::fflush(nullptr);
        _exit(testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the game ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the game's checks failed (above)";

    for (size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(fileBytes(paths[i]), before[i]) << paths[i] << " is not the old file";
        EXPECT_TRUE(temporariesBeside(paths[i]).empty()) << paths[i];
    }
    GameOptions = GameOptionsRecord();
    ProgressTable = ProgressTableRecord();
    clearLevelCatalogue();
}
