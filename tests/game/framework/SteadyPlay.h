// Drives the real game through its busiest scenes for the frame benchmark, the allocation budget test and the
// comparison of the fill savings with the plain draw: the shell started on the game's own data, a scene entered
// (the main menu, the level select, or a shipped level through the level-start operations), then main-loop
// passes with scripted input, each split into its update half and its draw half (the drawing finished on the
// device) and measured for time (the draw also for the CPU time of the whole process), heap allocations of the
// main thread and the stand-in device's draw counters.
// The world steps by a fixed frame time each pass and the random generator starts from a fixed seed, so the
// play is the same on every run.
#pragma once

#include "CountedAllocations.h"
#include "FrameClock.h"
#include "GF_GameEngine.h"
#include "GameOptions.h"
#include "GameShell.h"
#include "GameWindow.h"
#include "HostD3D8.h"
#include "HostInput.h"
#include "HostSystem.h"
#include "InputState.h"
#include "KGraphicD3DDevice.h"
#include "KRandom.h"
#include "KWindow.h"
#include "LevelCatalogue.h"
#include "LevelStart.h"
#include "ProgramStates.h"

#include <chrono>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace steady_play {

struct PassCost {
    double updateMs = 0, drawMs = 0;
    double drawCpuMs = 0; // CPU time of every thread of the process over the draw (the renderer's threads too)
    uint64_t updateAllocations = 0, drawAllocations = 0;
    uint64_t glDrawCalls = 0, drawPrimitiveCalls = 0;
};

enum SceneKind { kSceneMainMenu, kSceneLevelSelect, kSceneLevel };

struct Scene {
    SceneKind kind;
    int32_t listKind = kListAction; // for a level
    int32_t index = 0;
    std::string name() const {
        if (kind == kSceneMainMenu) return "main menu";
        if (kind == kSceneLevelSelect) return "level select";
        static const char* const kinds[] = {"Action", "Stunt", "Race", "Custom"};
        return std::string(kinds[listKind]) + " " + std::to_string(index) + " " +
               LevelCatalogue.list(listKind)[size_t(index)].fileName;
    }
};

// The main menu, the level select and every level of the Action, Stunt and Race lists.
inline std::vector<Scene> everyScene() {
    std::vector<Scene> scenes = {{kSceneMainMenu}, {kSceneLevelSelect}};
    for (int32_t kind : {kListAction, kListStunt, kListRace})
        for (size_t i = 0; i < LevelCatalogue.list(kind).size(); ++i) scenes.push_back({kSceneLevel, kind, int32_t(i)});
    return scenes;
}

inline bool& keyDown(int key) {
    static bool keys[256] = {};
    return keys[key & 0xFF];
}
inline bool scriptedPoll(int key) {
    return keyDown(key);
}

inline IDirect3DDevice8* device() {
    auto* window = dynamic_cast<KGraphicD3DWindow*>(gameWindow);
    return window ? window->getD3DDevice() : nullptr;
}

constexpr uint32_t kFrameStepMs = 17;

// A pass's update with the world stepped by one frame of 60 fps, however long the pass took: the same play on
// every machine and every run.
inline void steadyUpdate() {
    updateFrame(frameClockLastReading + kFrameStepMs);
}

inline void steadyPass() {
    steadyUpdate();
    drawFrame();
    gameWindow->flipBackBuffer(/*waitForForeground=*/false);
}

// The scene, entered the way the player enters it; a help page the level opens with is closed at once. The
// passes of the entry are the shell's own (the first steps the world by the time the level took to load), or
// the given ones (steadyPass: the same play on every run from the entry on).
inline bool enterScene(const Scene& scene, void (*pass)() = runMainLoopPass) {
    for (int key = 0; key < 256; ++key) keyDown(key) = false;
    // No button let go at the entry that the scene before held down.
    MouseState = MouseStateRecord();
    kSrand(1); // the same enemies' choices on every run
    setKeyPoll(scriptedPoll);
    host::setCursorOverride(400, 300);
    if (scene.kind == kSceneMainMenu) {
        requestProgramState(kStateMainMenu, kLeaveAndEnter);
    } else if (scene.kind == kSceneLevelSelect) {
        LevelCatalogue.currentKind = kListAction;
        requestProgramState(kStateLevelSelect, kLeaveAndEnter);
    } else {
        startLevelOfKind(scene.listKind, scene.index);
    }
    pass();
    if (scene.kind != kSceneLevel) return true;
    auto* game = getGameEngine();
    if (currentState != game) return false;
    if (game->getOpenOverlayKind() >= 0) game->requestCloseOverlay();
    pass();
    return game->getOpenOverlayKind() < 0;
}

// The scripted player: swims right with turns up and down, fires in bursts at a point ahead; on the menus the
// pointer sweeps across the buttons.
inline void scriptInput(const Scene& scene, int pass) {
    if (scene.kind != kSceneLevel) {
        host::setCursorOverride(100 + (pass * 7) % 600, 100 + (pass * 3) % 400);
        return;
    }
    keyDown('D') = true;
    keyDown('W') = pass % 120 < 40;
    keyDown('S') = pass % 120 >= 60 && pass % 120 < 100;
    keyDown(1) = pass % 16 < 8;
    host::setCursorOverride(700, 200 + (pass * 5) % 200);
}

inline double processCpuMs() {
    timespec now = {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

inline double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// One main-loop pass as the shell runs it, measured in its two halves. The flip (the present and the frame
// cap's wait) is outside both.
inline PassCost timedPass(const Scene& scene, int pass) {
    scriptInput(scene, pass);
    PassCost cost;
    IDirect3DDevice8* d3d = device();
    auto start = std::chrono::steady_clock::now();
    {
        counted_allocations::Scope counted;
        steadyUpdate();
        cost.updateAllocations = counted.allocations();
    }
    cost.updateMs = millisecondsSince(start);
    if (d3d) {
        d3d->finish(); // what the last present left to the renderer's threads is not the draw's
        d3d->resetCounters();
    }
    const double cpuStart = processCpuMs();
    start = std::chrono::steady_clock::now();
    {
        counted_allocations::Scope counted;
        drawFrame();
        if (d3d) d3d->finish();
        cost.drawAllocations = counted.allocations();
    }
    cost.drawMs = millisecondsSince(start);
    cost.drawCpuMs = processCpuMs() - cpuStart;
    if (d3d) {
        cost.glDrawCalls = d3d->glDrawCalls();
        cost.drawPrimitiveCalls = d3d->drawPrimitiveCalls();
    }
    gameWindow->flipBackBuffer(/*waitForForeground=*/false);
    return cost;
}

// The back buffer as the last draw left it, 0xAARRGGBB words, row 0 at the top.
inline std::vector<uint32_t> backBufferPixels() {
    std::vector<uint32_t> pixels(size_t(kGameWidth) * kGameHeight);
    IDirect3DSurface8* surface = nullptr;
    if (!device() || device()->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &surface) != D3D_OK) return {};
    D3DLOCKED_RECT locked;
    if (surface->LockRect(&locked, nullptr, D3DLOCK_READONLY) == D3D_OK) {
        for (int y = 0; y < kGameHeight; y++)
            std::memcpy(&pixels[size_t(y) * kGameWidth], static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch,
                        size_t(kGameWidth) * 4);
        surface->UnlockRect();
    } else {
        pixels.clear();
    }
    surface->Release();
    return pixels;
}

inline void stopScripting() {
    setKeyPoll(nullptr);
    host::clearCursorOverride();
}

// The shell started for scripted play whose frames or costs are compared: without music (a track that ends, at a
// moment of real time, opens the next file and draws it from the seeded generator) and without waits between the
// passes.
inline bool startShellForScriptedPlay() {
    GameOptions = GameOptionsRecord();
    GameOptions.musicVolume = 0;
    host::setMessageBoxHandler([](const std::string&, const std::string&) {});
    if (!initGame()) return false;
    gameWindow->setMaxFrameRate(-1);
    return true;
}

inline void stopShellForScriptedPlay() {
    stopScripting();
    gameWindow->terminate();
    shutdownGame();
    host::setMessageBoxHandler(nullptr);
    host::clearQuitPosted();
    GameOptions = GameOptionsRecord();
}

} // namespace steady_play
