// Frame benchmark of the real game (run by hand from a release build, not a test): the shell started on the
// game's own data in a temporary user folder, then the main menu, the level select and every shipped Action,
// Stunt and Race level, each run for N passes with scripted input. Prints per scene the median and 95th
// percentile milliseconds of the update and of the draw (finished on the device; wall time, and the CPU time
// of the whole process with the renderer's threads), the OpenGL draw calls and DrawPrimitiveUP calls per
// frame, the heap allocations per frame of the main thread, the load average, and for a level the median time
// of loading its file (the game's loadLevel, read and spawned) over several loads, after a level of its own
// theme and after one of another theme.
// Usage: game_frame_benchmark [passes per scene] [scene name filter]
#include "../game/framework/SteadyPlay.h"
#include "CountedAllocationOperators.h"
#include "GameOptions.h"
#include "HeadlessRun.h"
#include "LevelFile.h"
#include "TileSetTable.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5))];
}

// The median milliseconds of the game's load of a level file: after a level of the same theme, and after one of
// another theme (the seven theme pictures of the level's tile set are loaded again).
struct LoadTimes {
    double sameTheme = 0, otherTheme = 0;
};
LoadTimes medianLoadMs(const std::string& path) {
    constexpr int kLoads = 9;
    std::vector<double> same, other;
    for (int i = 0; i < kLoads; ++i) {
        for (std::vector<double>* times : {&other, &same}) {
            if (times == &other) {
                currentTileSet = (currentTileSet + 1) % kTileSetCount;
                applyTileSetImages();
            }
            const auto start = std::chrono::steady_clock::now();
            loadLevel(path);
            times->push_back(steady_play::millisecondsSince(start));
        }
    }
    return {percentile(same, 0.5), percentile(other, 0.5)};
}

double loadAverage() {
    double one = 0;
    if (std::FILE* file = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(file, "%lf", &one) != 1) one = 0;
        std::fclose(file);
    }
    return one;
}

} // namespace

int main(int argc, char** argv) {
    using namespace steady_play;
    const int passes = argc > 1 ? std::max(10, std::atoi(argv[1])) : 300;
    const std::string filter = argc > 2 ? argv[2] : "";
    HeadlessRun run;
    GameOptions = GameOptionsRecord();
    if (!initGame()) {
        std::fprintf(stderr, "the game did not start\n");
        return 1;
    }
    const std::vector<Scene> scenes = everyScene();

    std::printf("%-34s %13s %13s %13s %7s %7s %7s %7s %5s %13s\n", "scene", "update ms", "draw ms", "draw cpu ms", "gl",
                "prims", "upd new", "drw new", "load", "level load ms");
    std::printf("%-34s %13s %13s %13s %7s %7s %7s %7s %5s %13s\n", "", "med / p95", "med / p95", "med / p95", "/frame",
                "/frame", "/frame", "/frame", "", "theme = / new");
    for (const Scene& scene : scenes) {
        const std::string name = scene.name();
        if (!filter.empty() && name.find(filter) == std::string::npos) continue;
        const LoadTimes load = scene.kind == kSceneLevel
                                   ? medianLoadMs(LevelCatalogue.list(scene.listKind)[size_t(scene.index)].path)
                                   : LoadTimes{};
        if (!enterScene(scene)) {
            std::printf("%-34s did not start\n", name.c_str());
            continue;
        }
        std::vector<double> update, draw, drawCpu;
        std::vector<double> gl, prims, updateNew, drawNew;
        for (int pass = 0; pass < passes + 30; ++pass) {
            const PassCost cost = timedPass(scene, pass);
            if (pass < 30) continue; // the first passes warm caches and finish the scene's entry
            update.push_back(cost.updateMs);
            draw.push_back(cost.drawMs);
            drawCpu.push_back(cost.drawCpuMs);
            gl.push_back(double(cost.glDrawCalls));
            prims.push_back(double(cost.drawPrimitiveCalls));
            updateNew.push_back(double(cost.updateAllocations));
            drawNew.push_back(double(cost.drawAllocations));
        }
        auto mean = [](const std::vector<double>& v) {
            double sum = 0;
            for (double x : v) sum += x;
            return v.empty() ? 0 : sum / double(v.size());
        };
        std::printf("%-34s %6.2f/%6.2f %6.2f/%6.2f %6.2f/%6.2f %7.0f %7.0f %7.1f %7.1f %5.1f %6.2f/%6.2f\n",
                    name.substr(0, 34).c_str(), percentile(update, 0.5), percentile(update, 0.95),
                    percentile(draw, 0.5), percentile(draw, 0.95), percentile(drawCpu, 0.5), percentile(drawCpu, 0.95),
                    mean(gl), mean(prims), mean(updateNew), mean(drawNew), loadAverage(), load.sameTheme,
                    load.otherTheme);
        std::fflush(stdout);
        auto* game = getGameEngine();
        if (scene.kind == kSceneLevel && game && game->getOpenOverlayKind() >= 0)
            std::printf("%-34s   (ended with overlay %d open)\n", "", game->getOpenOverlayKind());
    }
    stopScripting();
    requestProgramState(kQuitProgram, kLeaveAndEnter);
    runMainLoopPass();
    shutdownGame();
    return 0;
}
