// The game played through its front door by script, for the front-door test (FrontDoorGLTest), which starts it
// from a folder of its own so that its data folder is one the test prepared. It starts the game, opens the
// level select of the custom levels, clicks every level in turn (playing to the end each one that starts,
// then going back to the level select) and quits. What it saw goes to a report, one line each: "box <caption>:
// <text>", "listed <caption>", "refused <caption>", "played <caption>", "not finished <caption>", "ended";
// the engine's log goes to a file.
// Usage: front_door_player REPORT_FILE LOG_FILE
#include "GF_CompleteMenu.h"
#include "GF_LevelSelect.h"
#include "GF_LevelSelectButton.h"
#include "HostSystem.h"
#include "KLog.h"
#include "ShellPlay.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

constexpr int kPassesToFinish = 3000;

int stop(const char* why) {
    std::fprintf(stderr, "front_door_player: %s\n", why);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s REPORT_FILE LOG_FILE\n", argv[0]);
        return 2;
    }
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::ofstream report(argv[1]);
    std::FILE* log = std::fopen(argv[2], "w");
    if (!report || !log) return 2;
    KLog::setLogFile(log);
    host::setMessageBoxHandler([&report](const std::string& caption, const std::string& text) {
        report << "box " << caption << ": " << text << "\n";
    });

    if (!initGame()) return stop("the game did not start");
    ScriptedShell shell;
    if (!shell_play::reachCustomLevelSelect(shell)) return stop("the custom levels' select screen was not reached");
    auto* levelSelect = static_cast<GF_LevelSelect*>(programStates[kStateLevelSelect].get());
    const int count = levelSelect->getLevelButtonCount();
    for (int i = 0; i < count; i++) report << "listed " << levelSelect->getLevelButton(i)->caption << "\n";

    for (int i = 0; i < count; i++) {
        // The level select builds its buttons anew on every visit.
        if (currentState != levelSelect || i >= levelSelect->getLevelButtonCount())
            return stop("the level select did not come back with every level");
        const std::string caption = levelSelect->getLevelButton(i)->caption;
        shell.clickButton(levelSelect->getLevelButton(i));
        shell.passes(2);
        if (currentState == levelSelect) {
            report << "refused " << caption << "\n";
            continue;
        }
        const bool finished = shell_play::playToTheEnd(shell, kPassesToFinish);
        report << (finished ? "played " : "not finished ") << caption << "\n";
        if (!finished) return stop("a level that started was not finished");
        auto* complete = static_cast<GF_CompleteMenu*>(getGameEngine()->getOpenOverlay());
        shell.clickButton(complete->getButton(GF_CompleteMenu::kSelectLevel));
        shell.passes(2);
    }

    requestProgramState(kQuitProgram, kLeaveAndEnter);
    shell.passes(1);
    shutdownGame();
    report << "ended\n";
    KLog::setLogFile(nullptr);
    std::fclose(log);
    return 0;
}
