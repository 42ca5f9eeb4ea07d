// Fuzz target: a level file as the game takes one to play it. The ".lvl" reader loads it into the level model,
// the placements are spawned into the spatial grid and the game state plays a few passes (its completion and
// failure tests, the camera and the world); a level that loads must also come back unchanged from the
// writer's bytes, and one that does not load must leave the model as it was. The game state's menus are
// stand-ins that close at once, so that play goes on after a level ends.
#include "FuzzSupport.h"

#include "Camera.h"
#include "FrameClock.h"
#include "GF_Entity.h"
#include "GF_GameEngine.h"
#include "GameStateServices.h"
#include "InputState.h"
#include "KRandom.h"
#include "LevelFile.h"
#include "ParticlePool.h"
#include "PlacementList.h"
#include "ProgramStates.h"
#include "SpatialGrid.h"
#include "TargetLockList.h"
#include "TileDefinition.h"
#include "TileMap.h"

#include <memory>

#include <algorithm>

namespace {

const char* const kLevelPath = "fuzz/input.lvl";
constexpr int kPassesPlayed = 3;

bool sameGrids(const LevelData& a, const LevelData& b) {
    auto same = [](const auto& x, const auto& y) {
        return x.cols() == y.cols() && x.rows() == y.rows() &&
               std::equal(x.data(), x.data() + size_t(x.cols()) * size_t(x.rows()), y.data());
    };
    for (size_t i = 0; i < a.layers.size(); ++i)
        if (!same(a.layers[i].tiles, b.layers[i].tiles) || a.layers[i].clipBelowY != b.layers[i].clipBelowY ||
            a.layers[i].clipAboveY != b.layers[i].clipAboveY)
            return false;
    return same(a.collision, b.collision) && same(a.substance, b.substance);
}

bool sameLevel(const LevelData& a, const LevelData& b) {
    return a.tileSet == b.tileSet && sameGrids(a, b) && a.levelWidth == b.levelWidth &&
           a.levelHeight == b.levelHeight && a.clipLevel == b.clipLevel && a.boundsLeft == b.boundsLeft &&
           a.boundsRight == b.boundsRight && a.boundsTop == b.boundsTop && a.boundsBottom == b.boundsBottom &&
           a.placements == b.placements && a.endLevelX == b.endLevelX && a.endLevelY == b.endLevelY &&
           a.goals == b.goals;
}

// An overlay menu that closes at its first update.
class ClosingOverlay : public GF_ProgramState {
public:
    void enter() override {}
    void leave() override {}
    void update() override { getGameEngine()->requestCloseOverlay(); }
    void draw() override {}
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    useFuzzUserFolder(); // a level that ends is recorded in the progress file
    createGameStateServices<ClosingOverlay>();
    buildTileDefinitions();
    frameTime = 1.0 / 64;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    serveFuzzInput(kLevelPath, data, size);
    kSrand(1);
    const double widthBefore = tileMap.levelWidth;
    const int placementsBefore = Placements.count();

    LevelData parsed;
    std::string error;
    const bool parses = parseLevelFile(data, size, parsed, error);
    const bool loaded = loadLevel(kLevelPath);
    FUZZ_CHECK(parses == loaded);
    if (!loaded) {
        FUZZ_CHECK(!error.empty());
        FUZZ_CHECK(tileMap.levelWidth == widthBefore && Placements.count() == placementsBefore);
        return 0;
    }

    // The writer's bytes read back as the same level.
    const std::vector<unsigned char> written = encodeLevelFile(parsed);
    LevelData again;
    FUZZ_CHECK(parseLevelFile(written.data(), written.size(), again, error));
    FUZZ_CHECK(sameLevel(parsed, again));

    GF_GameEngine& game = *getGameEngine();
    game.enter();
    for (int i = 0; i < kPassesPlayed; ++i) game.update();
    game.leave();

    // Each input starts from an empty world, so a finding never depends on the one before it.
    clearCameraTarget();
    clearTargetLocks();
    spatialGrid->clear();
    freeRetiredPlayer();
    resetParticles();
    return 0;
}
