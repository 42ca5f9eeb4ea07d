// Saves that survive a crash: a child process starts as the game does (reading the options, the progress and a
// custom level), then writes all three again and again with the game's writers until it is killed with SIGKILL
// at a random moment. After every kill each file reads and is exactly what one of its writes made, the one
// before or the one after the write the kill interrupted; a temporary file left behind changes nothing for the
// next start. 200 kills.
#include "../game/framework/TempUserFolder.h"
#include "FolderPaths.h"
#include "LevelCatalogue.h"
#include "RoundSaves.h"
#include "SaveFiles.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sys/mman.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace round_saves;
constexpr int kKills = 200;

// What the writer tells the test, in memory shared across the fork. For each file: the round of the write under
// way and the round of the last write that returned.
struct WriterLog {
    std::atomic<int32_t> writing[kFiles];
    std::atomic<int32_t> written[kFiles];
    std::atomic<bool> started;
    std::atomic<int32_t> startFailures;
};

class SavesSurviveKill : public testing::Test {
protected:
    void SetUp() override {
        void* memory = mmap(nullptr, sizeof(WriterLog), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        ASSERT_NE(memory, MAP_FAILED);
        log = new (memory) WriterLog();
        paths = savePaths();
    }
    void TearDown() override {
        log->~WriterLog();
        munmap(log, sizeof(WriterLog));
        GameOptions = GameOptionsRecord();
        ProgressTable = ProgressTableRecord();
        clearLevelCatalogue();
    }

    // The game's start (every file read as start-up and the editor read them), then saves until killed.
    [[noreturn]] void runWriter() {
        GameOptions = GameOptionsRecord();
        ProgressTable = ProgressTableRecord();
        readOptions();
        readProgress();
        LevelData level;
        const int32_t rounds[kFiles] = {
            GameOptions.reserved1,
            ProgressTable.list(kListCustom).empty() ? -1 : ProgressTable.list(kListCustom)[0].bestScore,
            readLevelData(paths[2], level) ? int32_t(level.endLevelX) : -1};
        int32_t n = 0;
        for (int file = 0; file < kFiles; ++file) {
            if (rounds[file] < 0) log->startFailures++;
            log->writing[file] = log->written[file] = rounds[file];
            n = std::max(n, rounds[file]);
        }
        log->started = true;
        for (;;) {
            ++n;
            for (int file = 0; file < kFiles; ++file) {
                log->writing[file] = n;
                writeRound(file, n);
                log->written[file] = n;
            }
        }
    }

    TempUserFolder home;
    WriterLog* log = nullptr;
    std::vector<std::string> paths;
};

} // namespace

TEST_F(SavesSurviveKill, EveryFileIsOneWholeSaveAfterEachOf200Kills) {
    for (int file = 0; file < kFiles; ++file) ASSERT_TRUE(writeRound(file, 0));

    std::mt19937 random(15);
    std::uniform_int_distribution<int> delayMicroseconds(0, 20000);
    int killsInsideAWrite = 0, killsLeavingATemporaryFile = 0;
    for (int attempt = 0; attempt < kKills; ++attempt) {
        log->started = false;
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) runWriter();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!log->started && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        ASSERT_EQ(kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the writer ended by itself";
        ASSERT_TRUE(log->started) << "the writer did not start in time";
        ASSERT_EQ(log->startFailures, 0) << "after kill " << attempt << " a start read a file that was not whole";

        bool insideAWrite = false, temporaryLeft = false;
        for (int file = 0; file < kFiles; ++file) {
            const Bytes bytes = fileBytes(paths[size_t(file)]);
            const int32_t saved = roundOf(file, bytes);
            const int32_t before = log->written[file], after = log->writing[file];
            ASSERT_TRUE(saved == before || saved == after)
                << paths[size_t(file)] << " after kill " << attempt << " is from round " << saved << ", not " << before
                << " or " << after;
            ASSERT_EQ(bytes, expectedBytes(file, saved)) << paths[size_t(file)] << " after kill " << attempt;
            insideAWrite = insideAWrite || before != after;
            temporaryLeft = temporaryLeft || !temporariesBeside(paths[size_t(file)]).empty();
        }
        killsInsideAWrite += insideAWrite;
        killsLeavingATemporaryFile += temporaryLeft;
    }
    std::printf("%d kills, %d inside a write, %d leaving a temporary file\n", kKills, killsInsideAWrite,
                killsLeavingATemporaryFile);
    EXPECT_GT(killsInsideAWrite, 0) << "no kill landed inside a write: the test proved nothing";

    // A last start: nothing was moved aside as damaged, the level is listed once and saves go on.
    for (const auto& file : std::filesystem::directory_iterator(getUserFolderPath()))
        EXPECT_EQ(file.path().filename().string().find("completedlevels.damaged"), std::string::npos);
    buildLevelCatalogue();
    ASSERT_EQ(LevelCatalogue.list(kListCustom).size(), 1u);
    EXPECT_EQ(LevelCatalogue.list(kListCustom)[0].fileName, "Crash Test.lvl");
    const int32_t last = log->written[2];
    LevelData next = levelOf(last + 1);
    EXPECT_TRUE(writeLevelData(paths[2], next));
    EXPECT_TRUE(temporariesBeside(paths[2]).empty()) << "the temporary files of killed writers are cleared away";
}
