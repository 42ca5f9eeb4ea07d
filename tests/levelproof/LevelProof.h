// One run of the level proof: a shipped level started from the level catalogue as the game starts it, then
// played through the game state's own update, frame by frame (1/64 s, a seeded generator, a chosen difficulty,
// no cheat, free aim) by the scripted player following the level's route, until an overlay opens, the player
// is stuck or the time is up. The caller has the game's services in place (the game state among the
// program states, the spatial grid, the particle pool, the sprite sheets for the hotspots).
#pragma once

#include "LevelText.h"

#include <functional>
#include <string>

struct ProofResult {
    int overlay = -1; // the game state's overlay that ended the run; -1 none
    double levelTime = 0;
    int goldZuzevirs = 0;
    int enemyPercent = 0;
    int score = 0;          // Stunt: the banked trick points
    std::string stopReason; // why the run stopped without an overlay
    std::string status;     // where the player was at the end
};

// Seen once per frame after the game's update, and by a watcher that wants pictures or a trace.
struct ProofFrame {
    int frame = 0;
    double levelTime = 0;
    const std::string* status = nullptr; // filled only when wantStatus answered true for the frame
};

using ProofObserver = std::function<void(const ProofFrame&)>;

// The difficulties every level is proven at (the options' numbers): the easiest, and the one a new player
// starts at.
constexpr int kDifficultyVeryEasy = 0, kDifficultyEasy = 1;

// Starts the level's ".lvl" from the catalogue's list of its kind at the difficulty; false with a message when
// it is not there.
bool startProofLevel(const LevelText& level, std::string& error, int difficulty = kDifficultyVeryEasy);
// Starts a level file as the current level stands in the catalogue (none: its end is not recorded).
bool startProofLevelFile(const std::string& path, std::string& error, int difficulty = kDifficultyVeryEasy);
// Plays the started level. The observer (may be empty) is called after each update; statusEvery > 0 fills the
// frame's status every that many frames. A run stops after seconds of play when seconds > 0, else after the
// level's proofTimeLimit. With fights false the player only swims along the route, firing nothing.
ProofResult playProofLevel(const LevelText& level, const ProofObserver& observer = {}, int statusEvery = 0,
                           double seconds = 0, bool fights = true);

// What the run fell short of for its level's goal: empty when it met it (an Action level completed with all
// five Gold Radudods and every enemy destroyed, a Stunt run completed at the gold score, a Race completed
// within the gold time).
std::string proofShortfall(const LevelText& level, const ProofResult& result);

// The seconds a run may last before it counts as stuck: the Stunt time limit and a little, else minutes.
double proofTimeLimit(const LevelText& level);
constexpr double kProofFrameTime = 1.0 / 64;
