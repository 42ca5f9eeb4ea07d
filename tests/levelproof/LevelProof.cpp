// The level proof's run: the start as the level select starts a level, and the frame loop.
#include "LevelProof.h"

#include "CheatList.h"
#include "FrameClock.h"
#include "GF_GameEngine.h"
#include "GameOptions.h"
#include "GoldZuzevirMeter.h"
#include "InputState.h"
#include "KRandom.h"
#include "LevelCatalogue.h"
#include "LevelFile.h"
#include "Medals.h"
#include "ProgramStates.h"
#include "ScriptedPlayer.h"
#include "ShippedLevelFiles.h"

namespace {

constexpr uint32_t kProofSeed = 1;

} // namespace

double proofTimeLimit(const LevelText& level) {
    if (level.kind == LevelTextKind::Stunt) return level.timeLimit + 2;
    return 8 * 60;
}

std::string proofShortfall(const LevelText& level, const ProofResult& result) {
    if (result.overlay != kOverlayComplete) return "the level did not complete: " + result.stopReason;
    switch (level.kind) {
    case LevelTextKind::Stunt:
        if (result.score < level.medalScores[kMedalGold])
            return "a score of " + std::to_string(result.score) + " short of the gold " +
                   std::to_string(level.medalScores[kMedalGold]);
        return "";
    case LevelTextKind::Race:
        if (result.levelTime > level.medalTimes[kMedalGold])
            return "a time of " + std::to_string(result.levelTime) + " s over the gold " +
                   std::to_string(level.medalTimes[kMedalGold]) + " s";
        return "";
    default:
        if (result.goldZuzevirs != 5 || result.enemyPercent != 100)
            return std::to_string(result.goldZuzevirs) + " of 5 Gold Radudods and " +
                   std::to_string(result.enemyPercent) + " % of the enemies";
        return "";
    }
}

bool startProofLevel(const LevelText& level, std::string& error, int difficulty) {
    const int32_t kind = catalogueKindOf(level), index = catalogueIndexOf(level, error);
    if (index < 0) return false;
    LevelCatalogue.currentKind = kind;
    LevelCatalogue.currentIndex = index;
    return startProofLevelFile(LevelCatalogue.list(kind)[size_t(index)].path, error, difficulty);
}

bool startProofLevelFile(const std::string& path, std::string& error, int difficulty) {
    // The player's settings: the difficulty, free aim, no cheat.
    GameOptions.difficulty = difficulty;
    GameOptions.autoAim = false;
    for (int cheat = 0; cheat < kCheatCount; ++cheat) setCheatOn(cheat, false);
    kSrand(kProofSeed);
    if (!loadLevel(path)) {
        error = path + " does not load";
        return false;
    }
    requestProgramState(kStateGameEngine, kLeaveAndEnter);
    switchProgramState();
    return true;
}

ProofResult playProofLevel(const LevelText& level, const ProofObserver& observer, int statusEvery, double seconds,
                           bool fights) {
    GF_GameEngine* game = getGameEngine();
    ScriptedPlayer player(level, fights);
    setKeyPoll(scriptedKeyDown);
    MouseState = MouseStateRecord{};
    const double limit = seconds > 0 ? seconds : proofTimeLimit(level);
    const int frames = int(limit / kProofFrameTime);
    ProofResult result;
    std::string status;
    for (int frame = 0; frame < frames && game->getOpenOverlayKind() < 0; ++frame) {
        frameTime = kProofFrameTime;
        totalGameTime += frameTime;
        player.step(frameTime);
        if (player.isStuck()) {
            result.stopReason = player.stuck();
            break;
        }
        game->update();
        if (observer) {
            ProofFrame seen;
            seen.frame = frame;
            seen.levelTime = game->getLevelTime();
            if (statusEvery > 0 && frame % statusEvery == 0) {
                status = player.status(game->getLevelTime());
                seen.status = &status;
            }
            observer(seen);
        }
    }
    setKeyPoll(nullptr);
    result.overlay = game->getOpenOverlayKind();
    if (result.overlay < 0 && result.stopReason.empty())
        result.stopReason = "no end after " + std::to_string(int(limit)) + " s";
    result.levelTime = game->getLevelTime();
    result.goldZuzevirs = goldZuzevirMeter.count;
    result.enemyPercent = game->getEnemyPercentDestroyed();
    result.score = game->getBankedTrickPoints();
    result.status = player.status(game->getLevelTime());
    return result;
}
