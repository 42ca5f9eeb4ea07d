// Two copies of the game saving into one per-user folder: two processes write the options, the progress and a
// custom level again and again with the game's writers, while the test reads the files. No write fails, and
// every file read, during the run and after it, is exactly one whole save of one of the two; no temporary file
// is left.
#include "../game/framework/TempUserFolder.h"
#include "RoundSaves.h"
#include "SaveFiles.h"

#include <atomic>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace round_saves;
constexpr int kWriters = 2;
constexpr int32_t kRounds = 300;

// Round n of writer w is save number n * kWriters + w, so that each save is of one writer alone.
int32_t saveNumber(int32_t round, int writer) {
    return round * kWriters + writer;
}

struct WritersLog {
    std::atomic<int32_t> failedWrites;
    std::atomic<int32_t> running;
};

} // namespace

TEST(TwoWriters, EveryFileIsOneWholeSaveOfOneOfThem) {
    TempUserFolder home;
    const std::vector<std::string> paths = savePaths();
    for (int file = 0; file < kFiles; ++file) ASSERT_TRUE(writeRound(file, 0));
    void* memory = mmap(nullptr, sizeof(WritersLog), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(memory, MAP_FAILED);
    auto* log = new (memory) WritersLog();
    log->running = kWriters;

    std::vector<pid_t> writers;
    for (int writer = 0; writer < kWriters; ++writer) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int32_t round = 1; round <= kRounds; ++round)
                for (int file = 0; file < kFiles; ++file)
                    if (!writeRound(file, saveNumber(round, writer))) log->failedWrites++;
            log->running--;
            _exit(0);
        }
        writers.push_back(child);
    }

    // Read while they write: each file read is some whole save.
    int reads = 0;
    auto whole = [&](const char* when) {
        for (int file = 0; file < kFiles; ++file) {
            const Bytes bytes = fileBytes(paths[size_t(file)]);
            const int32_t save = roundOf(file, bytes);
            ++reads;
            if (save < 0 || bytes != expectedBytes(file, save)) {
                ADD_FAILURE() << paths[size_t(file)] << " is not one whole save " << when;
                return false;
            }
        }
        return true;
    };
    while (log->running > 0 && whole("while they write")) {
    }
    for (pid_t child : writers) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_TRUE(whole("after they are done"));
    std::printf("%d files read during %d saves of each writer\n", reads, kRounds * kFiles);
    EXPECT_EQ(log->failedWrites, 0) << "saves failed";
    for (const std::string& path : paths) EXPECT_TRUE(temporariesBeside(path).empty()) << path;

    log->~WritersLog();
    munmap(memory, sizeof(WritersLog));
    GameOptions = GameOptionsRecord();
    ProgressTable = ProgressTableRecord();
}
