// Game state tests: whole levels built through the level model and played frame by frame with scripted input
// (1/64 s frames, seeded generator), the frame rules of the overlays, the level clock under its cheat, the
// end tests of the three game modes with what they record, the goal arrow and the hurt sound.
#include "BehaviourWorld.h"

#include "../framework/TempUserFolder.h"

#include "GF_GameEngine.h"
#include "GameOptions.h"
#include "KResource.h"
#include "LevelCatalogue.h"
#include "LevelFile.h"
#include "LevelStart.h"
#include "Medals.h"
#include "MouseCursor.h"
#include "ParticlePool.h"
#include "PlacementList.h"
#include "ProgramStates.h"
#include "ProgressTable.h"
#include "TempFolder.h"
#include "TextTools.h"
#include "TrickScorer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// An overlay that writes what is done to it into a journal, and asks to be closed when told to.
class JournalOverlay : public GF_ProgramState {
public:
    JournalOverlay(std::string name, std::vector<std::string>* journal) : name(std::move(name)), journal(journal) {}
    void enter() override { journal->push_back(name + " enter"); }
    void leave() override { journal->push_back(name + " leave"); }
    void update() override {
        journal->push_back(name + " update");
        if (closeOnUpdate) getGameEngine()->requestCloseOverlay();
    }
    void draw() override { journal->push_back(name + " draw"); }

    std::string name;
    std::vector<std::string>* journal;
    bool closeOnUpdate = false;
};

constexpr int kCols = 40, kRows = 20; // 2560 x 1280 pixels

} // namespace

class GameStateTest : public BehaviourWorld {
protected:
    void SetUp() override {
        BehaviourWorld::SetUp();
        createParticlePool();
        createBackKey();
        programStates[kStateGameEngine] = std::make_unique<GF_GameEngine>();
        game = getGameEngine();
        const char* names[kGameOverlayCount] = {"pause", "complete", "failed", "help"};
        for (int kind = 0; kind < kGameOverlayCount; ++kind) {
            auto overlay = std::make_unique<JournalOverlay>(names[kind], &journal);
            overlays[size_t(kind)] = overlay.get();
            game->installOverlay(GameOverlayKind(kind), std::move(overlay));
        }
        ProgressTable = ProgressTableRecord{};
        LevelCatalogue.list(kListAction) = {{"01.Reef.lvl", folder.file("01.Reef.lvl")}};
        LevelCatalogue.list(kListStunt) = {{"01.Jumps.lvl", folder.file("01.Jumps.lvl")}};
        LevelCatalogue.list(kListRace) = {{"01.Loop.lvl", folder.file("01.Loop.lvl")}};
        LevelStartRequest = LevelStartRequestRecord{};
    }
    void TearDown() override {
        programStates[kStateGameEngine].reset();
        clearLevelCatalogue();
        ProgressTable = ProgressTableRecord{};
        LevelCatalogue.currentIndex = -1;
        deleteBackKey();
        destroyParticlePool();
        PassedHoops = RequiredHoops = 0;
        CurrentLevelGoals = LevelGoals{};
        BehaviourWorld::TearDown();
    }

    // A level of open water under a band of air, with the player and whatever else is placed, written to a
    // file and loaded as the game loads a level; then the game state is entered.
    void startLevel(int32_t kind, int32_t mode, std::vector<PlacementFields> placements, double endX = 0,
                    double endY = 0) {
        LevelData level;
        for (LevelLayerData& layer : level.layers) layer.tiles.reset(kCols, kRows);
        level.collision.reset(kCols, kRows);
        level.substance.reset(kCols, kRows);
        for (int col = 0; col < kCols; ++col)
            for (int row = 0; row < 4; ++row) level.substance.set(col, row, kSubstanceAir);
        level.levelWidth = kCols * 64.0;
        level.levelHeight = kRows * 64.0;
        level.clipLevel = 256;
        level.boundsRight = kCols * 64;
        level.boundsBottom = kRows * 64;
        level.placements = std::move(placements);
        level.endLevelX = endX;
        level.endLevelY = endY;
        level.goals.gameMode = mode;
        level.goals.timeLimit = 1.0;
        level.goals.medalTimes = {3.0, 2.0, 1.0};
        level.goals.medalScores = {0, 5000, 9000};
        level.goals.gameMode = mode;
        const std::string path = LevelCatalogue.list(kind)[0].path;
        ASSERT_TRUE(writeLevelData(path, level));
        LevelCatalogue.currentKind = kind;
        LevelCatalogue.currentIndex = 0;
        ASSERT_TRUE(loadLevel(path));
        ASSERT_NE(playerEntity, nullptr);
        game->enter();
    }
    static PlacementFields at(int type, int x, int y) { return {type, x, y, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}; }

    // One main-loop pass of the game state with the keys held and the mouse as they are.
    void pass(bool backReleased = false) {
        if (backReleased) {
            BackKey->downBefore = true;
            BackKey->downNow = false;
        }
        CursorKind = kCursorArrow;
        game->update();
        ++passes;
    }
    // Passes until an overlay opens or the limit is reached; the number of passes run.
    int playUntilOverlay(int limit) {
        int n = 0;
        while (game->getOpenOverlayKind() < 0 && n < limit) {
            pass();
            ++n;
        }
        return n;
    }
    void clearJournal() { journal.clear(); }
    TempUserFolder user; // the progress file goes here
    TempFolder folder;
    GF_GameEngine* game = nullptr;
    std::vector<std::string> journal;
    JournalOverlay* overlays[kGameOverlayCount] = {};
    int passes = 0;
};

// A whole Action level: the player swims right to the end marker, shooting on the way; the level completes
// when it comes within reach and the run is recorded as won with its time and enemies.
TEST_F(GameStateTest, ActionReplaySwimsToTheEndMarkerAndRecordsTheWin) {
    startLevel(kListAction, kGameModeAction, {at(kEntityZuzevir, 300, 700), at(kEntityTurret, 2000, 1100)}, 1400, 700);
    EXPECT_EQ(LevelEnemyTotal, 1);
    heldKeys().insert('D');
    MouseState.x = 790;
    MouseState.y = 300;
    int n = 0;
    size_t lasersSeen = 0;
    while (game->getOpenOverlayKind() < 0 && n < 64 * 20) {
        MouseState.leftBefore = MouseState.leftNow;
        MouseState.leftNow = (n / 8) % 2 == 0; // a click every 16 frames
        pass();
        ++n;
        lasersSeen = std::max(lasersSeen, ofType(kEntityLaser1).size() + ofType(kEntityLaser2).size());
    }
    ASSERT_EQ(game->getOpenOverlayKind(), kOverlayComplete);
    EXPECT_EQ(n, 111); // the replay's own figure: a change in any step of the world shows here
    EXPECT_LT(std::abs(playerEntity->x - 1400), kEndMarkerReach + 40);
    const double expectedTime = (n - 1) / 64.0; // the clock stops with the frame the test fires in
    EXPECT_DOUBLE_EQ(game->getLevelTime(), expectedTime);
    EXPECT_GT(lasersSeen, 0u);

    const LevelRecord stored = findCurrentLevelRecord();
    EXPECT_EQ(stored.name, "01.Reef");
    EXPECT_TRUE(stored.completed);
    EXPECT_DOUBLE_EQ(stored.bestTime, expectedTime);
    EXPECT_EQ(stored.enemiesPercent, 0); // the turret is still there
    EXPECT_EQ(stored.gameMode, kGameModeAction);

    // The progress file on disk holds the record.
    ProgressTableRecord reread;
    {
        unsigned char* bytes = nullptr;
        size_t size = 0;
        ASSERT_TRUE(KResource::loadWholeFile(progressFilePath(), bytes, size));
        std::string error;
        EXPECT_TRUE(decodeProgress(bytes, size, reread, error)) << error;
        delete[] bytes;
    }
    EXPECT_EQ(reread.list(kListAction), ProgressTable.list(kListAction));

    // The world is frozen under the overlay: the player, the clock and the camera stay.
    const double x = playerEntity->x, camera = getCameraX(), time = game->getLevelTime();
    for (int i = 0; i < 30; ++i) pass();
    EXPECT_EQ(playerEntity->x, x);
    EXPECT_EQ(getCameraX(), camera);
    EXPECT_EQ(game->getLevelTime(), time);
    EXPECT_EQ(ProgressTable.list(kListAction).size(), 1u);
}

// Dead for 3.0 s of world steps fails an Action level; paused frames do not count, and nothing is recorded.
TEST_F(GameStateTest, ActionLevelFailsThreeSecondsAfterDeathNotCountingPausedFrames) {
    startLevel(kListAction, kGameModeAction, {at(kEntityZuzevir, 300, 700)}, 2400, 700);
    playerEntity->dead = 1;
    for (int i = 0; i < 64; ++i) pass();
    pass(true); // paused (the death timer counts this frame's test, as the tests run before the pause opens)
    for (int i = 0; i < 100; ++i) pass();
    overlays[kOverlayPause]->closeOnUpdate = true;
    pass();
    ASSERT_EQ(game->getOpenOverlayKind(), -1);
    EXPECT_DOUBLE_EQ(game->getDeathTimer(), 65 / 64.0);
    const int more = playUntilOverlay(1000);
    EXPECT_EQ(game->getOpenOverlayKind(), kOverlayFailed);
    EXPECT_EQ(more, 3 * 64 - 65);
    EXPECT_DOUBLE_EQ(game->getDeathTimer(), 3.0);
    EXPECT_TRUE(ProgressTable.list(kListAction).empty()); // a failed Action run is not recorded
}

// A dead player whose body lies on the end marker does not finish the level: it fails.
TEST_F(GameStateTest, DeadPlayerOnTheEndMarkerFailsInsteadOfCompleting) {
    startLevel(kListAction, kGameModeAction, {at(kEntityZuzevir, 300, 700)}, 300, 700);
    playerEntity->dead = 1;
    playUntilOverlay(1000);
    EXPECT_EQ(game->getOpenOverlayKind(), kOverlayFailed);
}

// Stunt and Race end by their goals; each end is recorded with its won flag and medal, and the clock decides
// at the first frame strictly past the limit.
TEST_F(GameStateTest, StuntAndRaceEndsByTableAreRecordedWithTheirResult) {
    struct Case {
        const char* what;
        int32_t kind, mode;
        int32_t bankBefore; // trick points banked before the run
        bool noTimeLimit;
        int hoopsPassedAt; // pass at which the hoop count is reached (-1 never)
        int limit;
        int expectOverlay; // -1 still playing
        int expectPasses;
        bool recorded, won;
        int32_t medal;
    };
    const Case cases[] = {
        // Time limit 1 s: after 64 passes the clock stands at exactly 1.0, nothing fires; the 66th pass sees
        // 65/64 > 1 and ends the level.
        {"stunt past the limit with the bronze score", kListStunt, kGameModeStunt, 100, false, -1, 500,
         kOverlayComplete, 66, true, true, kMedalBronze},
        {"stunt past the limit without it", kListStunt, kGameModeStunt, -1, false, -1, 500, kOverlayFailed, 66, true,
         false, kMedalNone},
        {"stunt under no time limit never ends", kListStunt, kGameModeStunt, 0, true, -1, 500, -1, 500, false, false,
         kMedalNone},
        {"race with the last hoop in time", kListRace, kGameModeRace, 0, false, 100, 500, kOverlayComplete, 101, true,
         true, kMedalSilver},
        {"race with the last hoop late", kListRace, kGameModeRace, 0, false, 250, 500, kOverlayFailed, 251, true, false,
         kMedalNone},
        {"race with hoops missing never fails", kListRace, kGameModeRace, 0, false, -1, 1000, -1, 1000, false, false,
         kMedalNone},
        // The cheat is a cheat: the run is not recorded.
        {"race under no time limit completes late", kListRace, kGameModeRace, 0, true, 900, 1000, kOverlayComplete, 901,
         false, false, kMedalNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgressTable = ProgressTableRecord{};
        setCheatOn(kCheatNoTimeLimit, c.noTimeLimit);
        std::vector<PlacementFields> placements = {at(kEntityZuzevir, 300, 700)};
        if (c.mode == kGameModeRace) placements.push_back(at(kEntityHoop, 2000, 1000));
        startLevel(c.kind, c.mode, placements);
        if (c.bankBefore < 0) CurrentLevelGoals.medalScores[kMedalBronze] = 10;
        if (c.bankBefore > 0) game->bankTrickPoints(c.bankBefore);
        int n = 0;
        while (game->getOpenOverlayKind() < 0 && n < c.limit) {
            if (n == c.hoopsPassedAt) PassedHoops = RequiredHoops;
            pass();
            ++n;
        }
        EXPECT_EQ(game->getOpenOverlayKind(), c.expectOverlay);
        EXPECT_EQ(n, c.expectPasses);
        const std::vector<LevelRecord>& list = ProgressTable.list(c.kind);
        ASSERT_EQ(list.size(), c.recorded ? 1u : 0u);
        if (c.recorded) {
            EXPECT_EQ(list[0].completed, c.won);
            EXPECT_EQ(list[0].medal, c.medal);
            EXPECT_EQ(list[0].gameMode, c.mode);
        }
        if (c.noTimeLimit) {
            EXPECT_EQ(game->getLevelTime(), 0.0);
        }
        game->leave();
    }
    setCheatOn(kCheatNoTimeLimit, false);
}

// A Race level ends 3.0 s of world steps after the player's death, recorded as lost (with no time), as a late
// finish is; a race without hoops never finishes, and none of its runs is recorded, whether the player lives or
// dies.
TEST_F(GameStateTest, RaceFailsThreeSecondsAfterDeathAndARaceWithoutHoopsRecordsNothing) {
    struct Case {
        const char* what;
        bool withHoop, dies;
        int expectOverlay; // -1 still playing
        int expectPasses;
        bool recorded;
    };
    constexpr int kDeathPass = 10, kLimit = 64 * 20;
    const Case cases[] = {
        // The hit kills at once: the death timer counts from the pass it came in.
        {"death in a race", true, true, kOverlayFailed, kDeathPass + 3 * 64, true},
        {"race without hoops", false, false, -1, kLimit, false},
        {"death in a race without hoops", false, true, kOverlayFailed, kDeathPass + 3 * 64, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgressTable = ProgressTableRecord{};
        std::vector<PlacementFields> placements = {at(kEntityZuzevir, 300, 700)};
        if (c.withHoop) placements.push_back(at(kEntityHoop, 2000, 1000));
        startLevel(kListRace, kGameModeRace, placements);
        int n = 0;
        while (game->getOpenOverlayKind() < 0 && n < kLimit) {
            if (c.dies && n == kDeathPass) playerEntity->takeDamage(1e9, nullptr);
            pass();
            ++n;
        }
        EXPECT_EQ(game->getOpenOverlayKind(), c.expectOverlay);
        EXPECT_EQ(n, c.expectPasses);
        if (c.dies) {
            EXPECT_TRUE(playerEntity->removed) << "the dead player has left the grid";
            EXPECT_DOUBLE_EQ(game->getDeathTimer(), kDeathFailTime);
        }
        const std::vector<LevelRecord>& list = ProgressTable.list(kListRace);
        ASSERT_EQ(list.size(), c.recorded ? 1u : 0u);
        if (c.recorded) {
            EXPECT_FALSE(list[0].completed);
            EXPECT_EQ(list[0].medal, kMedalNone);
            EXPECT_EQ(list[0].bestTime, LevelRecord{}.bestTime) << "the moment of the death is no best time";
        }
        EXPECT_EQ(std::filesystem::exists(progressFilePath()), c.recorded);
        std::filesystem::remove(progressFilePath());
        game->leave();
    }
}

// With any cheat on, or with no current level of the catalogue to file it under, a finished level is not
// recorded and no progress file is written.
TEST_F(GameStateTest, CheatOnOrNoCatalogueLevelKeepsAFinishedLevelOutOfTheRecords) {
    for (bool cheat : {true, false}) {
        SCOPED_TRACE(cheat ? "cheat on" : "no current level");
        setCheatOn(kCheatInvincible, cheat);
        startLevel(kListAction, kGameModeAction, {at(kEntityZuzevir, 300, 700)}, 320, 700);
        if (!cheat) LevelCatalogue.currentIndex = -1;
        pass();
        EXPECT_EQ(game->getOpenOverlayKind(), kOverlayComplete);
        EXPECT_TRUE(ProgressTable.list(kListAction).empty());
        EXPECT_FALSE(std::filesystem::exists(progressFilePath()));
        game->leave();
    }
    setCheatOn(kCheatInvincible, false);
}

// The HUD's best figures come from the level's stored record: none for a level never played (its best time
// shows as "-"), the stored ones on a later visit, and the new record as soon as the finish is recorded.
TEST_F(GameStateTest, HudBestFiguresFollowTheStoredRecord) {
    startLevel(kListRace, kGameModeRace, {at(kEntityZuzevir, 300, 700), at(kEntityHoop, 2000, 1000)});
    EXPECT_EQ(game->getStoredBestTime(), LevelRecord{}.bestTime);
    EXPECT_EQ(formatTime(game->getStoredBestTime()), "-");
    for (int n = 0; n < 10; ++n) pass();
    PassedHoops = RequiredHoops;
    pass();
    ASSERT_EQ(game->getOpenOverlayKind(), kOverlayComplete);
    EXPECT_DOUBLE_EQ(game->getStoredBestTime(), game->getLevelTime());
    const double best = game->getLevelTime();
    game->leave();

    // A failed run stored earlier still counts: its time is the record's best time.
    ProgressTable = ProgressTableRecord{};
    startLevel(kListRace, kGameModeRace, {at(kEntityZuzevir, 300, 700), at(kEntityHoop, 2000, 1000)});
    for (int n = 0; n < 250; ++n) pass();
    PassedHoops = RequiredHoops;
    pass();
    ASSERT_EQ(game->getOpenOverlayKind(), kOverlayFailed);
    const double failedTime = game->getLevelTime();
    game->leave();
    startLevel(kListRace, kGameModeRace, {at(kEntityZuzevir, 300, 700), at(kEntityHoop, 2000, 1000)});
    EXPECT_DOUBLE_EQ(game->getStoredBestTime(), failedTime);
    EXPECT_GT(failedTime, best);
    game->leave();
}

// The overlay frame rules: what opens, enters, updates and leaves in each frame, as a table of scripts.
TEST_F(GameStateTest, OverlayFrameRulesByTable) {
    struct Case {
        const char* what;
        bool backReleased;
        bool completes; // the player sits on the end marker
        bool closeOnUpdate;
        std::vector<std::string> journal;
        int open;
        bool worldRan;
    };
    const Case cases[] = {
        {"back key: the pause opens and updates in the same frame",
         true,
         false,
         false,
         {"pause enter", "pause update"},
         kOverlayPause,
         false},
        {"back key as the level completes: the complete overlay replaces the pause",
         true,
         true,
         false,
         {"pause enter", "pause leave", "complete enter", "complete update"},
         kOverlayComplete,
         false},
        {"an overlay that asks to close in its first update is left at once",
         true,
         false,
         true,
         {"pause enter", "pause update", "pause leave"},
         -1,
         false},
        {"no key, no end: the world steps", false, false, false, {}, -1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        startLevel(kListAction, kGameModeAction, {at(kEntityZuzevir, 300, 700)}, c.completes ? 310 : 2400, 700);
        for (JournalOverlay* overlay : overlays) overlay->closeOnUpdate = c.closeOnUpdate;
        clearJournal();
        const double time = game->getLevelTime();
        pass(c.backReleased);
        EXPECT_EQ(journal, c.journal);
        EXPECT_EQ(game->getOpenOverlayKind(), c.open);
        EXPECT_EQ(game->getLevelTime() > time, c.worldRan);
        EXPECT_EQ(CursorKind == kCursorCrosshair, c.worldRan);
        game->leave();
    }
}

// The back key consumed by the pass that opened the pause does not reach the pause menu's own test, and a
// second release inside the menu goes to the menu; the window's deactivation opens the pause only in play.
TEST_F(GameStateTest, BackKeyOpensThePauseOnceAndLeaveClosesTheOverlay) {
    startLevel(kListAction, kGameModeAction, {at(kEntityZuzevir, 300, 700)}, 2400, 700);
    pass(true);
    EXPECT_FALSE(backKeyReleased()); // consumed
    EXPECT_EQ(game->getOpenOverlayKind(), kOverlayPause);
    clearJournal();
    game->openPauseMenu(); // the pause reopened over itself (a deactivation): left and entered again
    EXPECT_EQ(journal, (std::vector<std::string>{"pause leave", "pause enter"}));
    clearJournal();
    game->draw();
    EXPECT_EQ(journal, std::vector<std::string>{"pause draw"});
    clearJournal();
    game->leave();
    EXPECT_EQ(journal, std::vector<std::string>{"pause leave"});
    EXPECT_EQ(game->getOpenOverlayKind(), -1);
    clearJournal();
    game->leave(); // a second leave leaves no overlay twice
    EXPECT_TRUE(journal.empty());
}

// A level started with a help page opens the help overlay on enter and takes the page from the request.
// The world under the page is drawn around the player from the first frame, though no world step has run.
TEST_F(GameStateTest, HelpPageRequestedAtLevelStartOpensTheHelpOverlay) {
    LevelStartRequest.helpPageOnEnter = 2;
    startLevel(kListAction, kGameModeAction, {at(kEntityZuzevir, 2300, 1000)}, 300, 700);
    EXPECT_EQ(game->getOpenOverlayKind(), kOverlayHelp);
    const GridWindow& drawn = spatialGrid->drawWindow();
    const int32_t playerCol = int32_t(playerEntity->x / kGridCellSize),
                  playerRow = int32_t(playerEntity->y / kGridCellSize);
    EXPECT_TRUE(drawn.firstCol <= playerCol && playerCol <= drawn.lastCol && drawn.firstRow <= playerRow &&
                playerRow <= drawn.lastRow)
        << "columns " << drawn.firstCol << ".." << drawn.lastCol << ", rows " << drawn.firstRow << ".."
        << drawn.lastRow;
    EXPECT_EQ(game->getHelpPage(), 2);
    EXPECT_EQ(LevelStartRequest.helpPageOnEnter, -1);
    EXPECT_EQ(journal, std::vector<std::string>{"help enter"});
    overlays[kOverlayHelp]->closeOnUpdate = true;
    pass();
    EXPECT_EQ(game->getOpenOverlayKind(), -1);
    pass();
    EXPECT_GT(game->getLevelTime(), 0.0);
}

// The world step's order as seen from outside: the grid sees the camera of this frame, entities made during
// the frame are filed by its end, the particles move, and the clock advances last by exactly one frame.
TEST_F(GameStateTest, WorldStepOrderSeenFromOutside) {
    startLevel(kListAction, kGameModeAction, {at(kEntityZuzevir, 300, 700)}, 2400, 700);
    heldKeys().insert('D');
    MouseState.x = 790;
    MouseState.y = 300;
    MouseState.leftNow = true;
    for (int i = 0; i < 20; ++i) pass();
    MouseState.leftBefore = true;
    MouseState.leftNow = false; // the release fires the laser
    static const ParticlePreset drifting{8, 8, 0, 0, 100, 100, 5, 5, 10, 10, 1, 1, 0, 0, 0, 0};
    spawnParticle(500, 500, 10, 0, drifting);
    const double particleX = particlePool->firstLive()->x;
    pass();
    EXPECT_EQ(spatialGrid->viewX(), getCameraX());
    EXPECT_EQ(spatialGrid->viewY(), getCameraY());
    EXPECT_TRUE(spatialGrid->pending().empty());
    EXPECT_FALSE(ofType(kEntityLaser1).empty() && ofType(kEntityLaser2).empty());
    EXPECT_GT(particlePool->firstLive()->x, particleX);
    EXPECT_DOUBLE_EQ(game->getLevelTime(), 21 / 64.0);
}

// Trick points banked by the scorer reach the Stunt score; the enemy share stays within 0 .. 100.
TEST_F(GameStateTest, BankedPointsAndEnemyShare) {
    startLevel(kListAction, kGameModeAction,
               {at(kEntityZuzevir, 300, 700), at(kEntityTurret, 1000, 1000), at(kEntityTurret, 1500, 1000)}, 2400, 700);
    EXPECT_EQ(game->getEnemyPercentDestroyed(), 0);
    trickScorer.bankHandler(700);
    trickScorer.bankHandler(25000);
    EXPECT_EQ(game->getBankedTrickPoints(), 25700);
    trickScorer.bankHandler(INT32_MAX); // the score is held at the largest figure instead of wrapping
    EXPECT_EQ(game->getBankedTrickPoints(), INT32_MAX);
    // Enemies made during play may outnumber the placed ones: the share does not go below 0.
    for (int i = 0; i < 3; ++i) place(kEntityTurret, 800 + 100 * i, 1100);
    EXPECT_EQ(game->getEnemyPercentDestroyed(), 0);
    LevelEnemyTotal = 0;
    EXPECT_EQ(game->getEnemyPercentDestroyed(), 100);
    game->setLevelTime(75.5);
    EXPECT_EQ(game->getLevelTimeText(), "01:15:500");
}

// The goal arrow opens every level with its fade-in, is shown again after 10 s without firing or when near the
// marker, and a show while it is up holds it fully visible.
TEST_F(GameStateTest, GoalArrowShowsOnEnterOnIdleAndNearTheMarker) {
    startLevel(kListAction, kGameModeAction, {at(kEntityZuzevir, 300, 700)}, 2400, 700);
    EXPECT_TRUE(game->isGoalArrowShowing());
    EXPECT_EQ(game->getGoalArrowClock(), 0.0);
    for (int i = 0; i < 64 * 2; ++i) game->draw(); // the draw runs the arrow's clock
    EXPECT_DOUBLE_EQ(game->getGoalArrowClock(), 2.0);
    game->showGoalArrow();
    EXPECT_DOUBLE_EQ(game->getGoalArrowClock(), 0.25);
    for (int i = 0; i < 64 * 4; ++i) game->draw();
    EXPECT_FALSE(game->isGoalArrowShowing());
    // Ten seconds and a frame without a shot bring it back at the start of its fade-in.
    for (int i = 0; i < 64 * 10; ++i) pass();
    EXPECT_FALSE(game->isGoalArrowShowing());
    pass();
    EXPECT_TRUE(game->isGoalArrowShowing());
    EXPECT_EQ(game->getGoalArrowClock(), 0.0);
    // A level entered while the last one left the arrow up fades it in from the start all the same.
    for (int i = 0; i < 64; ++i) game->draw();
    ASSERT_TRUE(game->isGoalArrowShowing());
    startLevel(kListAction, kGameModeAction, {at(kEntityZuzevir, 300, 700)}, 2400, 700);
    EXPECT_TRUE(game->isGoalArrowShowing());
    EXPECT_EQ(game->getGoalArrowClock(), 0.0);
}

// The hurt sound sums losses frame by frame: 2 per frame is heard in the third frame, once half a second has
// passed since the last; a frame without loss starts the sum again.
TEST(HurtSoundTrackerTest, LossesAddUpToOneSoundByTable) {
    struct Case {
        const char* what;
        std::vector<double> health; // per frame of 1/64 s
        std::vector<int> soundFrames;
    };
    const Case cases[] = {
        {"2 per frame for three frames", {100, 100, 98, 96, 94, 94}, {4}},
        {"a pause in the loss starts the sum again", {100, 100, 98, 96, 96, 94, 92, 90}, {7}},
        {"one big hit", {100, 100, 90}, {2}},
        {"healing is no loss", {100, 90, 100, 95}, {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HurtSoundTracker tracker;
        tracker.timeSinceSound = 1; // long since the last
        tracker.previousHealth = c.health[0];
        std::vector<int> heard;
        for (size_t i = 0; i < c.health.size(); ++i)
            if (tracker.step(1.0 / 64, c.health[i])) heard.push_back(int(i));
        EXPECT_EQ(heard, c.soundFrames);
    }
    // Two hits within half a second: the second is heard only once 0.5 s have passed, with its loss kept.
    HurtSoundTracker tracker;
    tracker.timeSinceSound = 1;
    tracker.previousHealth = 100;
    EXPECT_TRUE(tracker.step(1.0 / 64, 90));
    int frame = 0;
    double health = 90;
    while (!tracker.step(1.0 / 64, health -= 1) && frame < 100) ++frame;
    EXPECT_EQ(frame, 31); // heard in the 32nd frame: 32 frames of 1/64 s make 0.5 s
}
