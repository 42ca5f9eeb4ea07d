// The progress file keeps what the game could read of it, whatever happens while it is replaced. A damaged file
// with 21 readable records is repaired at start-up: killed during the repair's write (at its first byte, early
// and half-way), or with the disk full under it, the records stay readable on the disk, the damaged file is
// kept whole beside it, and the next start repairs it. A file that exists but cannot be read is never replaced
// by a file made without it: the finished level is told as not saved, and once the file reads again the next
// save merges the result into it.
#include "../game/framework/TempUserFolder.h"
#include "FileFailureBox.h"
#include "GameOptions.h"
#include "HostSystem.h"
#include "LevelCatalogue.h"
#include "LevelFile.h"
#include "ProgressTable.h"
#include "SaveFiles.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

// 21 Action records, then a Race record that the damage cuts short.
ProgressTableRecord readableRecords() {
    ProgressTableRecord table;
    for (int i = 0; i < 21; ++i) {
        LevelRecord record;
        record.name = (i < 9 ? "0" : "") + std::to_string(i + 1) + ".Level";
        record.completed = true;
        record.bestTime = 30.0 + i;
        record.goldZuzevirs = i % 6;
        table.list(kListAction).push_back(record);
    }
    return table;
}

Bytes damagedFile() {
    ProgressTableRecord table = readableRecords();
    table.list(kListRace).push_back(LevelRecord{.name = "Lost Sprint", .completed = true});
    Bytes bytes = encodeProgress(table);
    bytes.resize(bytes.size() - 3);
    return bytes;
}

// The lists the bytes give, damaged or not.
ProgressTableRecord listsOf(const Bytes& bytes) {
    ProgressTableRecord table;
    std::string error;
    decodeProgress(bytes.data(), bytes.size(), table, error);
    return table;
}

class ProgressFileKept : public testing::Test {
protected:
    void SetUp() override {
        path = progressFilePath();
        writeBytes(path, damaged);
    }
    void TearDown() override {
        ProgressTable = ProgressTableRecord();
        clearLevelCatalogue();
        LevelCatalogue.currentKind = kListAction;
        LevelCatalogue.currentIndex = -1;
    }

    // The next start reads every record, writes them whole and keeps the one damaged copy it already had.
    void expectTheNextStartRepairs() {
        ProgressTable = ProgressTableRecord();
        const ProgressReadResult next = readProgress();
        EXPECT_EQ(next.movedTo, path + ".damaged");
        EXPECT_EQ(ProgressTable.lists, readableRecords().lists);
        EXPECT_EQ(fileBytes(path), encodeProgress(readableRecords()));
        EXPECT_EQ(fileBytes(path + ".damaged"), damaged);
        EXPECT_FALSE(fs::exists(path + ".damaged.1")) << "the unfinished repair's copy serves again";
        EXPECT_TRUE(temporariesBeside(path).empty());
    }

    void unreadableFileSaves();

    TempUserFolder home;
    const Bytes damaged = damagedFile();
    std::string path;
};

} // namespace

TEST_F(ProgressFileKept, ARepairKilledDuringItsWriteLosesNothing) {
    ASSERT_EQ(listsOf(damaged).lists, readableRecords().lists);
    const size_t repairedSize = encodeProgress(readableRecords()).size();
    // The file-size limit ends the process with its signal when the repair's write reaches it: a kill at a
    // known byte of the write.
    for (const rlim_t killedAt : {rlim_t(0), rlim_t(16), rlim_t(repairedSize / 2)}) {
        SCOPED_TRACE("killed at byte " + std::to_string(killedAt));
        writeBytes(path, damaged);
        fs::remove(path + ".damaged");
        std::fflush(nullptr);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_DFL);
            const rlimit limit = {killedAt, killedAt};
            setrlimit(RLIMIT_FSIZE, &limit);
            ProgressTable = ProgressTableRecord();
            readProgress();
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "the repair was not killed in its write";

        EXPECT_EQ(listsOf(fileBytes(path)).lists, readableRecords().lists) << "the readable records are on the disk";
        EXPECT_EQ(fileBytes(path + ".damaged"), damaged);
        expectTheNextStartRepairs();
    }
}

TEST_F(ProgressFileKept, ARepairOnAFullDiskLosesNothing) {
    {
        FileSizeLimit fullDisk(16);
        ProgressTable = ProgressTableRecord();
        const ProgressReadResult read = readProgress();
        EXPECT_FALSE(read.damage.empty());
        EXPECT_EQ(ProgressTable.lists, readableRecords().lists) << "what was read is in the lists";
    }
    EXPECT_EQ(fileBytes(path), damaged) << "the damaged file stays where it was until a repair replaces it";
    EXPECT_TRUE(temporariesBeside(path).empty());
    expectTheNextStartRepairs();
}

TEST_F(ProgressFileKept, AFileThatCannotBeReadIsNeverReplacedByOneMadeWithoutIt) {
    writeBytes(path, encodeProgress(readableRecords()));
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        unreadableFileSaves();
        std::fflush(nullptr);
        _exit(testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    ASSERT_EQ(WEXITSTATUS(status), 0) << "the checks above failed (2: the test could not give up root)";

    ProgressTableRecord expected = readableRecords();
    expected.list(kListCustom)
        .push_back(LevelRecord{.name = "Mine",
                               .completed = true,
                               .bestTime = 11.0,
                               .highestDifficulty = GameOptions.difficulty,
                               .gameMode = CurrentLevelGoals.gameMode});
    ProgressTableRecord saved;
    std::string error;
    const Bytes bytes = fileBytes(path);
    ASSERT_TRUE(decodeProgress(bytes.data(), bytes.size(), saved, error)) << error;
    EXPECT_EQ(saved.lists, expected.lists);
}

// The child's part: the file made unreadable, a level recorded twice, the file readable again in between.
void ProgressFileKept::unreadableFileSaves() {
    // The file is made unreadable by its permissions, which bind only a user other than root.
    if (geteuid() == 0) {
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(home.homePath()))
            lchown(entry.path().c_str(), 65534, 65534);
        if (chown(home.homePath().c_str(), 65534, 65534) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
    }
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    std::vector<std::string> boxes;
    host::setMessageBoxHandler(
        [&](const std::string& caption, const std::string& text) { boxes.push_back(caption + ": " + text); });
    forgetToldFileFailures();
    ProgressTable = ProgressTableRecord();
    EXPECT_TRUE(readProgress().unreadable);
    struct stat before, after;
    ASSERT_EQ(stat(path.c_str(), &before), 0);

    LevelCatalogue.list(kListCustom) = {{"Mine.lvl", getCustomLevelsFolder() + "Mine.lvl"}};
    LevelCatalogue.currentKind = kListCustom;
    LevelCatalogue.currentIndex = 0;
    recordLevelResult(LevelRunResult{.won = true, .levelTime = 12.0});
    ASSERT_EQ(stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the file was replaced";
    EXPECT_EQ(after.st_size, before.st_size);
    EXPECT_EQ(boxes, std::vector<std::string>{"Failed to Save Progress: File \"" + path +
                                              "\" failed to save (it could not be read, so it is kept as it is)"});

    // It reads again (the permission is back): the next save takes in what it holds.
    ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    recordLevelResult(LevelRunResult{.won = true, .levelTime = 11.0});
    EXPECT_EQ(boxes.size(), 1u);
    host::setMessageBoxHandler(nullptr);
}
