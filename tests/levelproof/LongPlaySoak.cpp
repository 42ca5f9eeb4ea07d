// Long play leaves nothing behind: every shipped level is started and played in turn, round after round, a slice
// of each, by the scripted player following its route and fighting on the way, with the fire button clicked a few
// times a second besides, so that every level fires and moves. Each frame is drawn (the HUD, the fonts and the
// shared drawing object included, over recording pictures) and its sound mixed on the hand-stepped mixer. After
// each round the process is measured: its resident memory, its threads, its open files, the heap it holds from
// operator new and the live engine objects of each instance list. From the first round on, the threads, the open
// files and the objects never move, the heap stays within a megabyte and the resident memory within eight.
// Its own binary: it counts the heap by replacing the global operator new.
#include "../game/framework/HandSteppedSound.h"
#include "CountedAllocationOperators.h"
#include "LevelProof.h"
#include "ProofWorld.h"
#include "ScriptedPlayer.h"
#include "ShippedLevelFiles.h"

#include "BitmapFonts.h"
#include "FrameClock.h"
#include "GameWindow.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "KResource.h"
#include "KSound.h"
#include "SoundTable.h"
#include "TileOcclusion.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRounds = 4;
constexpr double kSliceSeconds = 6;
constexpr int kClickEvery = 16; // frames: four clicks a second, each a laser shot
constexpr int64_t kHeapGrowthAllowed = 1 << 20;
constexpr int64_t kResidentGrowthAllowed = 8 << 20;
// The mixer's frames for one update: 44.1 kHz over 64 updates a second.
constexpr uint32_t kMixedFramesPerUpdate = 44100 / 64;

// The live objects of the engine's instance lists that play without a window makes: the pictures (recording
// ones here), the sounds and the mounted resource archives.
struct LiveObjects {
    int pictures = 0;
    int sounds = 0;
    int archives = 0;
    bool operator==(const LiveObjects&) const = default;
};

std::ostream& operator<<(std::ostream& out, const LiveObjects& objects) {
    return out << objects.pictures << " pictures, " << objects.sounds << " sounds, " << objects.archives
               << " resource archives";
}

LiveObjects liveObjects() {
    return {KGraphicRecorder::instances().count, KSound::liveCount(), KResource::mountedArchives().count};
}

// The process as the system sees it: resident bytes, threads and open file descriptors.
struct ProcessFigures {
    int64_t residentBytes = 0;
    int threads = 0;
    int openFiles = 0;
};

ProcessFigures processFigures() {
    ProcessFigures figures;
    long pages = 0, resident = 0;
    if (std::ifstream statm("/proc/self/statm"); statm >> pages >> resident)
        figures.residentBytes = int64_t(resident) * sysconf(_SC_PAGESIZE);
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error)) {
        (void)task;
        figures.threads++;
    }
    // The listing's own descriptor is among them, the same one every time.
    for (const auto& descriptor : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        (void)descriptor;
        figures.openFiles++;
    }
    return figures;
}

struct RoundFigures {
    int64_t heapBytes = 0;
    ProcessFigures process;
    LiveObjects objects;
};

class LongPlaySoak : public ProofWorld {
protected:
    void SetUp() override {
        ProofWorld::SetUp();
        buildSoundTable();
        loadBitmapFonts();
        sharedGraphic = createGraphic();
        // Every tile is drawn: unoptimised, the plan of the hidden tiles (arithmetic on fixed tables, nothing
        // allocated) would cost most of a sanitizer build's frame.
        setTileOcclusion(false);
    }
    void TearDown() override {
        setTileOcclusion(true);
        delete sharedGraphic;
        sharedGraphic = nullptr;
        freeBitmapFonts();
        freeSoundTable();
        ProofWorld::TearDown();
    }

    // One slice of the started level: the scripted player's input, a click of the fire button every
    // kClickEvery frames on top of it, then the game's update, its draw and the mixing of its sound. Returns the
    // frames played, fewer where the level ended or the route could not go on.
    static int playSlice(const LevelText& level) {
        GF_GameEngine* game = getGameEngine();
        ScriptedPlayer player(level);
        setKeyPoll(scriptedKeyDown);
        MouseState = MouseStateRecord{};
        const int frames = int(kSliceSeconds / kProofFrameTime);
        int frame = 0;
        for (; frame < frames && game->getOpenOverlayKind() < 0; ++frame) {
            frameTime = kProofFrameTime;
            totalGameTime += frameTime;
            player.step(frameTime);
            if (player.isStuck()) break;
            if (frame % kClickEvery == 0) MouseState.leftNow = true; // a press, released by the next step
            game->update();
            game->draw();
            KGraphicRecorder::clearCalls();
            KSound::getDevice()->step(kMixedFramesPerUpdate, nullptr);
        }
        setKeyPoll(nullptr);
        return frame;
    }

    HandSteppedSound sound;
};

} // namespace

// AddressSanitizer keeps freed blocks out of use in a quarantine of 256 MB, which the resident memory would show
// as growth over the first rounds; a small quarantine fills within the first.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=16";
}

TEST_F(LongPlaySoak, EveryLevelRoundAfterRoundLeavesNoGrowth) {
    std::vector<LevelText> levels;
    for (const std::string& file : shippedLevelFiles()) {
        std::string error;
        ASSERT_TRUE(parseLevelText(file, levels.emplace_back(), error)) << error;
    }
    ASSERT_FALSE(levels.empty());

    std::vector<RoundFigures> rounds;
    rounds.reserve(kRounds); // the figures themselves stay out of the heap they measure
    int64_t framesPlayed = 0;
    for (int round = 1; round <= kRounds; ++round) {
        for (const LevelText& level : levels) {
            std::string error;
            ASSERT_TRUE(startProofLevel(level, error)) << error;
            framesPlayed += playSlice(level);
        }
        const RoundFigures figures{counted_allocations::liveBytes.load(), processFigures(), liveObjects()};
        std::printf("round %d: resident %lld bytes, %d threads, %d open files, heap %lld bytes; live pictures %d, "
                    "sounds %d, resource archives %d\n",
                    round, static_cast<long long>(figures.process.residentBytes), figures.process.threads,
                    figures.process.openFiles, static_cast<long long>(figures.heapBytes), figures.objects.pictures,
                    figures.objects.sounds, figures.objects.archives);
        rounds.push_back(figures);
    }

    const RoundFigures &first = rounds.front(), &last = rounds.back();
    std::printf("%zu levels, up to %.0f s of play and drawing each, %d rounds, %lld frames played: resident %lld -> "
                "%lld bytes, heap %lld -> %lld bytes\n",
                levels.size(), kSliceSeconds, kRounds, static_cast<long long>(framesPlayed),
                static_cast<long long>(first.process.residentBytes), static_cast<long long>(last.process.residentBytes),
                static_cast<long long>(first.heapBytes), static_cast<long long>(last.heapBytes));
    EXPECT_LE(std::llabs(last.heapBytes - first.heapBytes), kHeapGrowthAllowed);
    EXPECT_LE(last.process.residentBytes - first.process.residentBytes, kResidentGrowthAllowed);
    for (size_t round = 1; round < rounds.size(); ++round) {
        EXPECT_EQ(rounds[round].objects, first.objects) << "after round " << round + 1;
        EXPECT_EQ(rounds[round].process.threads, first.process.threads) << "after round " << round + 1;
        EXPECT_EQ(rounds[round].process.openFiles, first.process.openFiles) << "after round " << round + 1;
    }
}
