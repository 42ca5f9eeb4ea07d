// A level file whose placements hold the extremes of every field (positions, speeds and angles at both ends of
// the 32-bit range, the largest and smallest Vars, numbers that name no kind) is started from the Custom list
// on the real window and played and drawn for seconds: the player swims, turns and fires with each weapon, and
// every kind that fires (the dolphins placed far off among them) spawns its shots out there. Under the
// sanitizers any conversion out of range or overflow on the way ends the test. The last frame is saved (kept
// with GF_SCREENSHOT_DIR).
#include "GameStateWindow.h"

#include "CheatList.h"
#include "GF_Entity.h"
#include "GF_GameEngine.h"
#include "LevelCatalogue.h"
#include "LevelFile.h"
#include "LevelStart.h"
#include "PlacementList.h"
#include "ProgramStates.h"
#include "SmallLevels.h"

#include <cmath>
#include <limits>

namespace {

constexpr int32_t kLow = std::numeric_limits<int32_t>::min(), kHigh = std::numeric_limits<int32_t>::max();

// Where the player starts: inside the level, or out at the far corner, where it falls through the air, its goal
// arrow drawn from there; with wide bounds the camera follows it out there.
enum class PlayerStart { Inside, FarCorner, FarCornerInView };

struct HostileCase {
    const char* name;
    int weaponCheat; // -1: the laser
    PlayerStart start;
};

const HostileCase kCases[] = {
    {"Laser", -1, PlayerStart::Inside},
    {"HomingTorpedo", kCheatHomingTorpedo, PlayerStart::Inside},
    {"MachineGun", kCheatMachineGun, PlayerStart::Inside},
    {"LaserSword", kCheatLaserSword, PlayerStart::Inside},
    {"FarCornerLaser", -1, PlayerStart::FarCorner},
    {"FarCornerInViewLaser", -1, PlayerStart::FarCornerInView},
};

LevelData hostileLevel(const HostileCase& c) {
    LevelData level = hostilePlacementLevel();
    if (c.start == PlayerStart::FarCorner) level.placements.back() = {kEntityZuzevir, kHigh, kHigh};
    if (c.start == PlayerStart::FarCornerInView) {
        level.boundsLeft = level.boundsTop = kLow;
        level.boundsRight = level.boundsBottom = kHigh;
        level.placements.back() = {kEntityZuzevir, kHigh - 2000, kHigh - 2000};
    }
    return level;
}

constexpr int kDirections[] = {'D', 'S', 'A', 'W'};

} // namespace

class HostilePlacementsGL : public GameStateGL, public testing::WithParamInterface<HostileCase> {
protected:
    void TearDown() override {
        for (int cheat = 0; cheat < kCheatCount; ++cheat) setCheatOn(cheat, false);
        GameStateGL::TearDown();
    }
};

TEST_P(HostilePlacementsGL, PlaysAndDrawsWithoutFault) {
    const HostileCase& c = GetParam();
    LevelData level = hostileLevel(c);
    ASSERT_TRUE(writeLevelData(getCustomLevelsFolder() + "hostile.lvl", level));
    buildLevelCatalogue();
    ASSERT_EQ(LevelCatalogue.list(kListCustom).size(), 1u);
    // The player survives whatever the level holds, so that play goes on for the whole run.
    setCheatOn(kCheatInvincible, true);
    if (c.weaponCheat >= 0) setCheatOn(c.weaponCheat, true);

    startCustomLevel(0);
    runMainLoopPass();
    GF_GameEngine* game = getGameEngine();
    ASSERT_EQ(currentState, game);
    ASSERT_NE(playerEntity, nullptr);
    EXPECT_EQ(size_t(Placements.count()), level.placements.size()); // the level loads whole

    // Swims round a square (right, down, left, up), the mouse circling the player, the button pressed and released
    // (short clicks and charged shots), until four seconds of play have passed.
    for (int pass = 0; game->getLevelTime() < 4.0 && pass < 4000; ++pass) {
        for (int key : kDirections) heldKeys().erase(key);
        heldKeys().insert(kDirections[(pass / 32) % 4]);
        const double turn = pass * 0.05;
        host::setCursorOverride(400 + int(250 * std::cos(turn)), 300 + int(200 * std::sin(turn)));
        const int phase = pass % 40, releaseAt = (pass / 40) % 4 == 3 ? 39 : 10;
        if (phase == 0) heldKeys().insert(1);
        if (phase == releaseAt) heldKeys().erase(1);
        runMainLoopPass();
        ASSERT_EQ(game->getOpenOverlayKind(), -1) << "after " << game->getLevelTime() << " s";
    }
    EXPECT_GE(game->getLevelTime(), 4.0);
    ASSERT_NE(playerEntity, nullptr);
    EXPECT_TRUE(std::isfinite(playerEntity->x) && std::isfinite(playerEntity->y));

    save(std::string("hostile-") + c.name + ".png");
}

INSTANTIATE_TEST_SUITE_P(Extremes, HostilePlacementsGL, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<HostileCase>& info) { return std::string(info.param.name); });
