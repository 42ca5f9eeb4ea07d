// Fuzz target: a level file as the game takes one to play it. The ".lvl" reader loads it into the level model,
// the placements are spawned into the spatial grid and the game state plays three seconds of it and draws every
// frame (the sprite sheets and the shared drawing object are recording pictures over the data folder's files),
// while the player swims about, turns and fires with a weapon chosen by the input's length; a level that loads
// must also come back unchanged from the writer's bytes, and one that does not load must leave the model as it
// was. The game state's menus are stand-ins that close at once, so that play goes on after a level ends.
#include "FuzzSupport.h"

#include "BitmapFonts.h"
#include "Camera.h"
#include "CheatList.h"
#include "FrameClock.h"
#include "GF_Entity.h"
#include "GF_GameEngine.h"
#include "GameStateServices.h"
#include "GameWindow.h"
#include "InputState.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "KRandom.h"
#include "LevelFile.h"
#include "ParticlePool.h"
#include "PlacementList.h"
#include "ProgramStates.h"
#include "SpatialGrid.h"
#include "SpriteSheetTable.h"
#include "TargetLockList.h"
#include "TileDefinition.h"
#include "TileMap.h"
#include "TileOcclusion.h"

#include <algorithm>
#include <memory>

namespace {

const char* const kLevelPath = "fuzz/input.lvl";
// The longest frame the main loop lets through, so that few passes play three seconds, by which every kind
// that fires on its own has fired.
constexpr double kFrameTime = 0.05;
constexpr int kPassesPlayed = 60;
// The laser, then the weapons the cheats force on the player from its first frame.
constexpr int kWeaponCheats[] = {-1, kCheatHomingTorpedo, kCheat4xDamage, kCheatMachineGun, kCheatLaserSword};

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

int heldKey = 0; // the one direction key down in this pass

bool scriptedKeyDown(int virtualKey) {
    return virtualKey == heldKey;
}

// The player's input for a pass: a direction key that changes every half second, the mouse sweeping across
// the screen above and below the middle, and the primary button pressed and released, briefly or long enough for
// a charged shot.
void scriptInput(int pass) {
    static constexpr int kDirections[] = {'D', 'S', 'A', 'W'};
    heldKey = kDirections[(pass / 10) % 4];
    MouseState.x = 400 + (pass % 20 < 10 ? 1 : -1) * (pass % 10) * 35;
    MouseState.y = 300 + ((pass / 5) % 2 == 0 ? 150 : -150);
    MouseState.leftBefore = MouseState.leftNow;
    MouseState.leftNow = pass % 15 < ((pass / 15) % 2 == 0 ? 2 : 13);
}

} // namespace

// AddressSanitizer keeps freed blocks out of use in a quarantine of 256 MB; with the many blocks a level in play
// makes and frees, a smaller one (still many frames' worth of blocks) makes the runs far quicker.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=16";
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    useFuzzUserFolder(); // a level that ends is recorded in the progress file
    static ScopedGraphicRecording recording;
    loadSpriteSheets(); // the recording pictures take their sizes from the data folder's pictures
    loadBitmapFonts();
    sharedGraphic = createGraphic();
    createGameStateServices<ClosingOverlay>();
    buildTileDefinitions();
    setKeyPoll(scriptedKeyDown);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    serveFuzzInput(kLevelPath, data, size);
    kSrand(1);
    const int weaponCheat = kWeaponCheats[size % std::size(kWeaponCheats)];
    if (weaponCheat >= 0) setCheatOn(weaponCheat, true);
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
        if (weaponCheat >= 0) setCheatOn(weaponCheat, false);
        return 0;
    }

    // The writer's bytes read back as the same level.
    const std::vector<unsigned char> written = encodeLevelFile(parsed);
    LevelData again;
    FUZZ_CHECK(parseLevelFile(written.data(), written.size(), again, error));
    FUZZ_CHECK(sameLevel(parsed, again));

    GF_GameEngine& game = *getGameEngine();
    MouseState = MouseStateRecord{};
    game.enter();
    for (int pass = 0; pass < kPassesPlayed; ++pass) {
        frameTime = kFrameTime;
        totalGameTime += kFrameTime;
        scriptInput(pass);
        game.update();
        // The hidden tiles are planned on every tenth frame only (under the fuzzer's tracing of comparisons the
        // plan would cost most of the run); the other frames draw every tile.
        setTileOcclusion(pass % 10 == 0);
        game.draw();
        KGraphicRecorder::clearCalls(); // the calls are not looked at; only that they are made safely
    }
    game.leave();
    setTileOcclusion(true);

    // Each input starts from an empty world and the view at the origin, so a finding never depends on the one
    // before it.
    if (weaponCheat >= 0) setCheatOn(weaponCheat, false);
    clearCameraTarget();
    cameraX = cameraY = 0;
    totalGameTime = 0;
    clearTargetLocks();
    spatialGrid->clear();
    freeRetiredPlayer();
    resetParticles();
    return 0;
}
