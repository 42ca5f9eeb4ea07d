// The pause, level-complete and level-failed overlays under scripted input with a stand-in game state: their
// panels, buttons and result lines by game mode, where each button and the back key lead, the charge-up sound
// stopped and the laugh played on enter, and the pause menu keeping the HUD pieces on screen.
#include "../frontend/MenuScreenFixture.h"
#include "GF_CompleteMenu.h"
#include "GF_FailedMenu.h"
#include "GF_PauseMenu.h"
#include "GF_SpriteButton.h"
#include "KSound.h"
#include "OverlayHost.h"
#include "WindowFrame.h"

namespace {

class StandInGameState : public OverlayHost {
public:
    void requestCloseOverlay() override { closeRequests++; }
    std::string getLevelTimeText() const override { return "01:02:250"; }
    LevelRunResult getRunResult() const override { return run; }
    void showGoalArrow() override { arrowShows++; }
    void showGoldZuzevirMeter() override { meterShows++; }

    LevelRunResult run;
    int closeRequests = 0, arrowShows = 0, meterShows = 0;
};

class OverlayMenusTest : public MenuScreenTest {
protected:
    void SetUp() override {
        MenuScreenTest::SetUp();
        // Two levels of each list, the first current, so restart and next have somewhere to go.
        for (int32_t kind : {kListAction, kListStunt, kListRace}) {
            const int32_t mode = kind == kListStunt ? kGameModeStunt : kind == kListRace ? kGameModeRace : 0;
            const std::string path = levelFile("mode" + std::to_string(kind) + ".lvl", mode);
            LevelCatalogue.list(kind) = {{"01.One.lvl", path}, {"02.Two.lvl", path}};
        }
        pause.setHost(&game);
        complete.setHost(&game);
        failed.setHost(&game);
    }
    void TearDown() override {
        pause.leave();
        complete.leave();
        failed.leave();
        MenuScreenTest::TearDown();
    }
    void current(int32_t kind, int32_t index, int32_t mode) {
        LevelCatalogue.currentKind = kind;
        LevelCatalogue.currentIndex = index;
        CurrentLevelGoals.gameMode = mode;
    }
    void clickButton(OverlayMenu& menu, int n) {
        GF_SpriteButton* b = menu.getButton(n);
        ASSERT_NE(b, nullptr);
        click(menu, b->x + b->width / 2, b->y + b->height / 2);
    }
    static std::vector<std::string> lines(const OverlayMenu& menu) {
        std::vector<std::string> out;
        for (const auto& line : menu.getTextLines()) out.push_back(line.text + " @" + std::to_string(line.y));
        return out;
    }

    StandInGameState game;
    GF_PauseMenu pause;
    GF_CompleteMenu complete;
    GF_FailedMenu failed;
};

TEST_F(OverlayMenusTest, PauseMenuLaysOutFiveCentredButtons) {
    current(kListAction, 0, kGameModeAction);
    pause.enter();
    EXPECT_EQ(pause.panelWidth, 300);
    EXPECT_EQ(pause.panelHeight, 400);
    EXPECT_EQ(pause.panelX, 250);
    EXPECT_EQ(pause.panelY, 100);
    ASSERT_EQ(pause.getButtonCount(), 5);
    const int ys[5] = {220, 270, 320, 370, 420};
    const char* hints[5] = {"Continue playing game", "Restart this level", "Select a new level to play",
                            "Go to the Main Menu", "Exit to Linux"};
    for (int i = 0; i < 5; i++) {
        GF_SpriteButton* b = pause.getButton(i);
        EXPECT_EQ(b->y, ys[i]);
        EXPECT_GT(b->width, 0) << "the standard button pictures are loaded";
        EXPECT_EQ(b->x, (kGameWidth - b->width) / 2);
        EXPECT_EQ(b->drawMode, kButtonImage);
        EXPECT_EQ(b->hintText, hints[i]);
    }
    EXPECT_TRUE(boxes.empty()) << boxes.front();
}

TEST_F(OverlayMenusTest, PauseMenuButtonsAndTheBackKey) {
    struct Case {
        int button; // -1: the back key
        int32_t state;
        int closes;
    };
    const Case cases[] = {
        {-1, kNoProgramState, 1},
        {GF_PauseMenu::kContinue, kNoProgramState, 1},
        {GF_PauseMenu::kRestart, kStateGameEngine, 0},
        {GF_PauseMenu::kSelectLevel, kStateLevelSelect, 0},
        {GF_PauseMenu::kMainMenu, kStateMainMenu, 0},
        {GF_PauseMenu::kExit, kQuitProgram, 0},
    };
    for (const Case& c : cases) {
        current(kListStunt, 1, kGameModeStunt);
        pause.enter();
        game = StandInGameState();
        StateRequest = StateRequestRecord{};
        if (c.button < 0)
            pressBack(pause);
        else
            clickButton(pause, c.button);
        EXPECT_EQ(game.closeRequests, c.closes) << c.button;
        if (c.state == kNoProgramState) {
            EXPECT_EQ(StateRequest.id, kNoProgramState) << c.button;
        } else {
            EXPECT_TRUE(requested(c.state)) << c.button << " asked for " << StateRequest.id;
        }
        if (c.button == GF_PauseMenu::kRestart) {
            EXPECT_EQ(LevelCatalogue.currentIndex, 1);
        }
        pause.leave();
    }
}

TEST_F(OverlayMenusTest, PauseMenuShowsTheGoalArrowAndMeterEveryPass) {
    current(kListAction, 0, kGameModeAction);
    pause.enter();
    idle(pause, 3);
    EXPECT_EQ(game.arrowShows, 3);
    EXPECT_EQ(game.meterShows, 3);
    clickButton(pause, GF_PauseMenu::kContinue); // also in the pass that resumes play
    EXPECT_EQ(game.arrowShows, 6);
    EXPECT_EQ(game.meterShows, 6);
}

TEST_F(OverlayMenusTest, EnteringAMenuStopsTheChargeUpSound) {
    SoundEntry* chargeUp = getSoundEntry(16);
    ASSERT_NE(chargeUp, nullptr);
    for (OverlayMenu* menu : {static_cast<OverlayMenu*>(&pause), static_cast<OverlayMenu*>(&complete),
                              static_cast<OverlayMenu*>(&failed)}) {
        chargeUp->play(1.0, 0.0);
        ASSERT_TRUE(chargeUp->copies.front()->sound->isPlaying() || chargeUp->copies.size() > 1);
        menu->enter();
        for (const auto& copy : chargeUp->copies) EXPECT_FALSE(copy->sound->isPlaying());
        menu->leave();
    }
}

TEST_F(OverlayMenusTest, CompleteMenuShowsTheResultsOfItsGameMode) {
    game.run.enemiesPercent = 80;
    game.run.goldZuzevirs = 4;
    game.run.bankedTrickPoints = 12345;
    game.run.bestTrick = 2500;
    game.run.medal = 1;
    struct Case {
        int32_t mode;
        int height, firstY;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {kGameModeAction,
         385,
         340,
         {"Your Time: 01:02:250 @145", "Enemies Destroyed: 80% @165", "Ruri Veruders: 4 out of 5 @185"}},
        {kGameModeStunt, 385, 340, {"Score: 12,345 @145", "Best Trick: 2,500 @170", "Medal Awarded: Silver @195"}},
        {kGameModeRace, 355, 315, {"Your Time: 01:02:250 @135", "Medal Awarded: Silver @160"}},
    };
    for (const Case& c : cases) {
        CurrentLevelGoals.gameMode = c.mode;
        complete.enter();
        EXPECT_EQ(complete.panelWidth, 304);
        EXPECT_EQ(complete.panelHeight, c.height);
        EXPECT_EQ(complete.panelY, (kGameHeight - c.height) / 2);
        EXPECT_EQ(lines(complete), c.lines) << c.mode;
        ASSERT_EQ(complete.getButtonCount(), 3);
        for (int i = 0; i < 3; i++) EXPECT_EQ(complete.getButton(i)->y, c.firstY + 45 * i);
        EXPECT_EQ(complete.getButton(2)->hintText, "Play the next level");
        complete.leave();
    }
    // No medal reads "None".
    game.run.medal = -1;
    CurrentLevelGoals.gameMode = kGameModeRace;
    complete.enter();
    EXPECT_EQ(lines(complete)[1], "Medal Awarded: None @160");
    // The laugh was played at full volume, centred.
    SoundEntry* laugh = getSoundEntry(6);
    ASSERT_NE(laugh, nullptr);
    bool played = false;
    for (const auto& copy : laugh->copies) played = played || (copy->volume == 1.0 && copy->pan == 0.0);
    EXPECT_TRUE(played);
}

TEST_F(OverlayMenusTest, CompleteMenuWaysOn) {
    struct Case {
        int button;    // -1: the back key
        int32_t index; // the finished level
        int32_t state, indexAfter;
    };
    const Case cases[] = {
        {-1, 0, kStateLevelSelect, 0},
        {GF_CompleteMenu::kSelectLevel, 0, kStateLevelSelect, 0},
        {GF_CompleteMenu::kPlayAgain, 1, kStateGameEngine, 1},
        {GF_CompleteMenu::kNextLevel, 0, kStateGameEngine, 1},
        {GF_CompleteMenu::kNextLevel, 1, kStateLevelSelect, 1}, // after the last level of its list
    };
    for (const Case& c : cases) {
        current(kListRace, c.index, kGameModeRace);
        complete.enter();
        StateRequest = StateRequestRecord{};
        if (c.button < 0)
            pressBack(complete);
        else
            clickButton(complete, c.button);
        EXPECT_TRUE(requested(c.state)) << c.button << " after level " << c.index << " asked for " << StateRequest.id;
        EXPECT_EQ(LevelCatalogue.currentIndex, c.indexAfter) << c.button;
        EXPECT_EQ(game.closeRequests, 0);
        complete.leave();
    }
}

TEST_F(OverlayMenusTest, FailedMenuShowsWhatAMedalNeeded) {
    game.run.bankedTrickPoints = 900;
    CurrentLevelGoals.medalTimes = {6000.0, 50.0, 40.0};
    CurrentLevelGoals.medalScores = {1500, 3000, 4500};
    struct Case {
        int32_t mode;
        int height, firstY;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {kGameModeAction, 250, 300, {}},
        {kGameModeRace, 300, 325, {"Your Time: 01:02:250 @130", "Needed Time: - @150"}},
        {kGameModeStunt, 300, 325, {"Your Score: 900 @130", "Needed Score: 1,500 @150"}},
    };
    for (const Case& c : cases) {
        CurrentLevelGoals.gameMode = c.mode;
        failed.enter();
        EXPECT_EQ(failed.panelWidth, 300);
        EXPECT_EQ(failed.panelHeight, c.height);
        EXPECT_EQ(lines(failed), c.lines) << c.mode;
        ASSERT_EQ(failed.getButtonCount(), 2);
        EXPECT_EQ(failed.getButton(0)->y, c.firstY);
        EXPECT_EQ(failed.getButton(1)->y, c.firstY + 45);
        failed.leave();
    }
    current(kListAction, 1, kGameModeAction);
    failed.enter();
    pressBack(failed);
    EXPECT_TRUE(requested(kStateLevelSelect));
    StateRequest = StateRequestRecord{};
    clickButton(failed, GF_FailedMenu::kPlayAgain);
    EXPECT_TRUE(requested(kStateGameEngine));
    EXPECT_EQ(LevelCatalogue.currentIndex, 1);
}

TEST_F(OverlayMenusTest, LeaveFreesEverythingEnterLoaded) {
    const int before = KGraphicRecorder::instances().count;
    CurrentLevelGoals.gameMode = kGameModeStunt;
    failed.enter();
    EXPECT_GT(KGraphicRecorder::instances().count, before);
    KGraphicRecorder::clearCalls();
    failed.draw();
    EXPECT_FALSE(sharedCalls().empty()); // the window frame's fill
    failed.leave();
    EXPECT_EQ(KGraphicRecorder::instances().count, before);
    // A menu that is not open leaves the shared window frame to the one that is.
    pause.enter();
    failed.leave();
    complete.leave();
    EXPECT_NE(getWindowFrame(), nullptr);
    pause.leave();
    EXPECT_EQ(getWindowFrame(), nullptr);
}

} // namespace
