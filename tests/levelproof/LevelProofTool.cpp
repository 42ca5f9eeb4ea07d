// level_proof: the level proof run by hand, for a level designer to watch the scripted player in a level. The
// game starts on its real window (offscreen unless SDL_VIDEODRIVER says otherwise) with its own data and a
// temporary user folder, then plays each level file given as the tests play it, printing one line per second of
// play (time, cell, command, health, enemies left, Gold Radudods) and, with GF_PROOF_SHOTS=DIR, saving a picture
// of the game every GF_PROOF_SHOT_EVERY seconds (2 by default) and at the end. GF_PROOF_DIFFICULTY=N plays at
// that difficulty (0 Very Easy, the default, to 4 Extreme). With GF_PROOF_RUSH set, each Action level is then
// played by each of the rushers of the rush check too, to its end, and their times are printed (their pictures
// are named after the rusher). Exit code 0 when every level met its goal.
// Usage: level_proof LEVEL.txt...
#include "LevelProof.h"
#include "RushRoutes.h"

#include "GF_GameEngine.h"
#include "GameOptions.h"
#include "GameShell.h"
#include "GameWindow.h"
#include "HeadlessRun.h"
#include "KImage.h"
#include "KWindow.h"
#include "ProgramStates.h"
#include "SoundTable.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

void savePicture(const std::string& path) {
    // Hoops hand themselves to the player as they are drawn and the player draws them in the next frame, as in
    // play, where every frame is drawn: one frame drawn first puts them in the picture.
    drawFrame();
    gameWindow->flipBackBuffer(false);
    drawFrame();
    if (!gameWindow->saveBackBuffer(path.c_str(), K_IMAGE_PNG, kGameWidth, kGameHeight))
        std::fprintf(stderr, "could not save %s\n", path.c_str());
    gameWindow->flipBackBuffer(false);
}

struct ToolSettings {
    const char* shots = nullptr;
    int shotEvery = 64;
    int difficulty = kDifficultyVeryEasy;
    bool rush = false;
};

// Plays the started level with pictures named stem-NNNN.png; returns the result.
ProofResult playWithPictures(const LevelText& level, const std::string& stem, const ToolSettings& settings,
                             bool fights) {
    auto picture = [&](const std::string& suffix) {
        if (settings.shots) savePicture(std::string(settings.shots) + "/" + stem + "-" + suffix + ".png");
    };
    picture("start");
    const ProofResult run = playProofLevel(
        level,
        [&](const ProofFrame& frame) {
            if (frame.status) std::printf("  %s\n", frame.status->c_str());
            if (settings.shots && frame.frame > 0 && frame.frame % settings.shotEvery == 0) {
                char seconds[16];
                std::snprintf(seconds, sizeof seconds, "%04d", int(frame.levelTime + 0.5));
                picture(seconds);
            }
        },
        int(1 / kProofFrameTime), 0, fights);
    picture("end");
    return run;
}

// Plays one level file; true when it met its goal.
bool proveLevel(const std::string& file, const ToolSettings& settings) {
    LevelText level;
    std::string error;
    if (!parseLevelText(file, level, error) || !startProofLevel(level, error, settings.difficulty)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    const std::string stem = std::filesystem::path(file).stem().string();
    std::printf("%s (%s)\n", file.c_str(), level.outputPath().c_str());
    const ProofResult run = playWithPictures(level, stem, settings, true);
    const std::string shortfall = proofShortfall(level, run);
    std::printf("  end: %s\n  after %.2f s, Gold Radudods %d/5, enemies destroyed %d %%, score %d\n",
                shortfall.empty() ? "the goal is met" : shortfall.c_str(), run.levelTime, run.goldZuzevirs,
                run.enemyPercent, run.score);
    if (!shortfall.empty()) std::printf("  at %s\n", run.status.c_str());
    if (settings.rush && level.kind == LevelTextKind::Action) {
        int n = 0;
        for (const RushRoute& rush : rushRoutes(level)) {
            const LevelText rushed = withRoute(level, rush);
            if (!startProofLevel(rushed, error, settings.difficulty)) break;
            std::string legs;
            for (const RouteCommand& leg : rush.route) legs += (legs.empty() ? "" : ", ") + leg.text;
            std::printf("  rusher '%s': %s\n", rush.name.c_str(), legs.empty() ? "(to the end marker)" : legs.c_str());
            const ProofResult r = playWithPictures(rushed, stem + "-rush" + std::to_string(++n), settings, false);
            std::printf("  rusher '%s': %s after %.2f s (%.0f %% of the proven time)%s%s\n", rush.name.c_str(),
                        r.overlay == kOverlayComplete ? "finished" : "not finished", r.levelTime,
                        100 * r.levelTime / std::max(run.levelTime, 0.01), r.stopReason.empty() ? "" : ": ",
                        r.stopReason.c_str());
        }
    }
    return shortfall.empty();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: level_proof LEVEL.txt...   (GF_PROOF_SHOTS=DIR GF_PROOF_SHOT_EVERY=SECONDS)\n");
        return 2;
    }
    HeadlessRun run;
    ToolSettings settings;
    settings.shots = std::getenv("GF_PROOF_SHOTS");
    const char* every = std::getenv("GF_PROOF_SHOT_EVERY");
    settings.shotEvery = std::max(1, int((every ? std::atof(every) : 2.0) / kProofFrameTime));
    if (const char* difficulty = std::getenv("GF_PROOF_DIFFICULTY"))
        settings.difficulty = std::clamp(std::atoi(difficulty), 0, 4);
    settings.rush = std::getenv("GF_PROOF_RUSH") != nullptr;
    if (settings.shots) std::filesystem::create_directories(settings.shots);
    GameOptions = GameOptionsRecord();
    if (!initGame()) {
        std::fprintf(stderr, "the game did not start\n");
        return 1;
    }
    // The tests play without sounds; a sound draws a number of the random generator when it plays, so the
    // run here is the tests' run only without them too.
    freeSoundTable();
    bool allMet = true;
    for (int i = 1; i < argc; ++i) allMet = proveLevel(argv[i], settings) && allMet;
    requestProgramState(kQuitProgram, kLeaveAndEnter);
    switchProgramState();
    shutdownGame();
    return allMet ? 0 : 1;
}
