// The first shipped Action level played through the game state from its file: a scripted swimmer steers
// along a row of waypoints with the direction keys and the mouse, and must reach the end marker in time.
#include "BehaviourWorld.h"

#include "../framework/TempUserFolder.h"

#include "GF_GameEngine.h"
#include "LevelCatalogue.h"
#include "LevelFile.h"
#include "LevelStart.h"
#include "MouseCursor.h"
#include "ParticlePool.h"
#include "ProgramStates.h"
#include "ProgressTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// An overlay that only stays open; the test stops at the first one.
class QuietOverlay : public GF_ProgramState {
public:
    void enter() override {}
    void leave() override {}
    void update() override {}
    void draw() override {}
};

struct Waypoint {
    double col, row;
};

} // namespace

class FirstLevelReplayTest : public BehaviourWorld {
protected:
    void SetUp() override {
        BehaviourWorld::SetUp();
        createParticlePool();
        createBackKey();
        programStates[kStateGameEngine] = std::make_unique<GF_GameEngine>();
        game = getGameEngine();
        for (int kind = 0; kind < kGameOverlayCount; ++kind)
            game->installOverlay(GameOverlayKind(kind), std::make_unique<QuietOverlay>());
        ProgressTable = ProgressTableRecord{};
        LevelStartRequest = LevelStartRequestRecord{};
        buildLevelCatalogue();
    }
    void TearDown() override {
        programStates[kStateGameEngine].reset();
        clearLevelCatalogue();
        ProgressTable = ProgressTableRecord{};
        LevelCatalogue.currentIndex = -1;
        deleteBackKey();
        destroyParticlePool();
        CurrentLevelGoals = LevelGoals{};
        BehaviourWorld::TearDown();
    }

    TempUserFolder user;
    GF_GameEngine* game = nullptr;
};

// Over the sandbar, past the floating rock, over the second bar and down to the marker: the route a new
// player takes, all of it in open water.
TEST_F(FirstLevelReplayTest, ScriptedSwimmerFinishesTheFirstActionLevel) {
    const std::vector<LevelEntry>& action = LevelCatalogue.list(kListAction);
    ASSERT_FALSE(action.empty());
    LevelCatalogue.currentKind = kListAction;
    LevelCatalogue.currentIndex = 0;
    ASSERT_TRUE(loadLevel(action.front().path));
    ASSERT_NE(playerEntity, nullptr);
    EXPECT_EQ(LevelEnemyTotal, 0);
    game->enter();

    const Waypoint route[] = {{20, 11}, {34, 8}, {48, 9}, {62, 9}, {76, 12}};
    size_t next = 0;
    int n = 0;
    constexpr int kLimit = 64 * 60; // a minute of play
    while (game->getOpenOverlayKind() < 0 && n < kLimit) {
        const double wx = route[next].col * 64 + 32, wy = route[next].row * 64 + 32;
        if (next + 1 < std::size(route) && std::hypot(playerEntity->x - wx, playerEntity->y - wy) < 160) ++next;
        // The keys push toward the waypoint, the mouse turns the swimmer to face it.
        heldKeys().clear();
        if (wx > playerEntity->x + 32) heldKeys().insert('D');
        if (wx < playerEntity->x - 32) heldKeys().insert('A');
        if (wy > playerEntity->y + 32) heldKeys().insert('S');
        if (wy < playerEntity->y - 32) heldKeys().insert('W');
        MouseState.x = int32_t(std::clamp(wx - getCameraX(), 0.0, 799.0));
        MouseState.y = int32_t(std::clamp(wy - getCameraY(), 0.0, 599.0));
        CursorKind = kCursorArrow;
        game->update();
        ++n;
    }
    ASSERT_EQ(game->getOpenOverlayKind(), kOverlayComplete)
        << "stopped at " << playerEntity->x / 64 << ", " << playerEntity->y / 64 << " after " << n << " frames";
    EXPECT_LT(n, kLimit);
    EXPECT_TRUE(findCurrentLevelRecord().completed);
}
