// Long play leaves nothing behind: every shipped level is started and played in turn by the scripted player, a
// slice of each, round after round, update only, with the sound table on the hand-stepped mixer. After each round
// the heap the program holds from operator new and the live engine objects of each instance list are taken: the
// heap after the last round stays within a megabyte of the heap after the first, and the object counts never move.
// Its own binary: it counts the heap by replacing the global operator new.
#include "../game/framework/HandSteppedSound.h"
#include "CountedAllocationOperators.h"
#include "LevelProof.h"
#include "ProofWorld.h"
#include "ShippedLevelFiles.h"

#include "KGraphicRecorder.h"
#include "KResource.h"
#include "KSound.h"
#include "SoundTable.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <vector>

namespace {

constexpr int kRounds = 20;
constexpr double kSliceSeconds = 3;
constexpr int64_t kHeapGrowthAllowed = 1 << 20;
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

struct RoundFigures {
    int64_t heapBytes = 0;
    LiveObjects objects;
};

class LongPlaySoak : public ProofWorld {
protected:
    void SetUp() override {
        ProofWorld::SetUp();
        buildSoundTable();
    }
    void TearDown() override {
        freeSoundTable();
        ProofWorld::TearDown();
    }

    HandSteppedSound sound;
};

} // namespace

TEST_F(LongPlaySoak, EveryLevelRoundAfterRoundLeavesNoGrowth) {
    std::vector<LevelText> levels;
    for (const std::string& file : shippedLevelFiles()) {
        std::string error;
        ASSERT_TRUE(parseLevelText(file, levels.emplace_back(), error)) << error;
    }
    ASSERT_FALSE(levels.empty());
    // The voices sound and end as they would on a device, one update's worth of mixing after each update.
    const ProofObserver mixer = [](const ProofFrame&) { KSound::getDevice()->step(kMixedFramesPerUpdate, nullptr); };

    std::vector<RoundFigures> rounds;
    rounds.reserve(kRounds); // the figures themselves stay out of the heap they measure
    for (int round = 1; round <= kRounds; ++round) {
        for (const LevelText& level : levels) {
            std::string error;
            ASSERT_TRUE(startProofLevel(level, error)) << error;
            playProofLevel(level, mixer, 0, kSliceSeconds);
        }
        const RoundFigures figures{counted_allocations::liveBytes.load(), liveObjects()};
        std::printf("round %2d: heap %lld bytes; live pictures %d, sounds %d, resource archives %d\n", round,
                    static_cast<long long>(figures.heapBytes), figures.objects.pictures, figures.objects.sounds,
                    figures.objects.archives);
        rounds.push_back(figures);
    }

    const int64_t growth = rounds.back().heapBytes - rounds.front().heapBytes;
    std::printf("%zu levels, %.0f s of play each, %d rounds: heap after round 1 %lld bytes, after round %d %lld "
                "bytes, difference %lld bytes\n",
                levels.size(), kSliceSeconds, kRounds, static_cast<long long>(rounds.front().heapBytes), kRounds,
                static_cast<long long>(rounds.back().heapBytes), static_cast<long long>(growth));
    EXPECT_LE(std::llabs(growth), kHeapGrowthAllowed);
    for (size_t round = 1; round < rounds.size(); ++round)
        EXPECT_EQ(rounds[round].objects, rounds.front().objects) << "after round " << round + 1;
}
