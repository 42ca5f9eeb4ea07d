// The level select over a hand-made catalogue and progress table: the buttons it lays out (map spots, grids,
// "No Level" fillers), the lock rule and the marks, a level button starting its level, the ways back, the
// statistics panel of the hovered level and the next level's pulse.
#include "GF_LevelSelect.h"
#include "GF_LevelSelectButton.h"
#include "MenuScreenFixture.h"

#include <cfloat>

namespace {

class LevelSelectTest : public MenuScreenTest {
protected:
    void TearDown() override {
        select.leave();
        MenuScreenTest::TearDown();
    }
    // n entries "01.Level 1.lvl" .. of the kind, every one pointing at a loadable level of the kind's mode.
    void fillList(int32_t kind, int n) {
        const int32_t mode = kind == kListStunt ? kGameModeStunt : kind == kListRace ? kGameModeRace : kGameModeAction;
        const std::string path = levelFile("level.lvl", mode);
        auto& list = LevelCatalogue.list(kind);
        list.clear();
        for (int i = 1; i <= n; i++) list.push_back({name(i) + ".lvl", path});
    }
    static std::string name(int i) { return (i < 10 ? "0" : "") + std::to_string(i) + ".Level " + std::to_string(i); }
    void progress(int32_t kind, int i, bool completed, int32_t medal = -1, int32_t golds = 0) {
        LevelRecord r;
        r.name = name(i);
        r.completed = completed;
        r.medal = medal;
        r.goldZuzevirs = golds;
        ProgressTable.list(kind).push_back(r);
    }
    void open(int32_t kind) {
        select.setListKind(kind);
        select.enter();
    }
    // The centre of level button n.
    void centreOf(int n, int& x, int& y) const {
        const GF_LevelSelectButton* b = select.getLevelButton(n);
        x = b->x + b->width / 2;
        y = b->y + b->height / 2;
    }
    void clickLevel(int n) {
        int x, y;
        centreOf(n, x, y);
        click(select, x, y);
    }
    void hoverLevel(int n, int passes = 1) {
        int x, y;
        centreOf(n, x, y);
        for (int i = 0; i < passes; i++) {
            pass(select, x, y, false);
            select.draw();
        }
    }

    GF_LevelSelect select;
};

TEST_F(LevelSelectTest, ActionLevelsSitOnTheMapSpotsWithFillersUpToFifty) {
    fillList(kListAction, 12);
    open(kListAction);
    ASSERT_EQ(select.getLevelButtonCount(), 50);
    const GF_LevelSelectButton* first = select.getLevelButton(0);
    EXPECT_EQ(first->x, 85);
    EXPECT_EQ(first->y, 232);
    EXPECT_EQ(first->width, 39); // the map button's cell
    EXPECT_TRUE(first->round);
    EXPECT_EQ(first->caption, "Level 1");
    EXPECT_EQ(select.getLevelButton(11)->x, 157);
    for (int i = 12; i < 50; i++) {
        const GF_LevelSelectButton* filler = select.getLevelButton(i);
        EXPECT_EQ(filler->caption, "No Level");
        EXPECT_TRUE(filler->disabled) << i;
        EXPECT_EQ(filler->medal, -1);
    }
    EXPECT_EQ(select.getLevelButton(49)->x, 724);
    EXPECT_EQ(select.getLevelButton(49)->y, 448);
    EXPECT_TRUE(boxes.empty()) << boxes.front();

    // More than fifty: the rest stack past the map, no fillers.
    select.leave();
    fillList(kListAction, 53);
    open(kListAction);
    ASSERT_EQ(select.getLevelButtonCount(), 53);
    for (int i = 50; i < 53; i++) {
        EXPECT_EQ(select.getLevelButton(i)->x, 500);
        EXPECT_EQ(select.getLevelButton(i)->y, 500);
    }
}

TEST_F(LevelSelectTest, LocksFollowTheFirstUncompletedLevelAndMarksComeFromTheRecords) {
    fillList(kListStunt, 7);
    progress(kListStunt, 1, true, /*medal=*/2);
    progress(kListStunt, 2, true, 0, /*golds=*/5);
    progress(kListStunt, 3, true, -1, 4);
    progress(kListStunt, 5, true, 1);
    open(kListStunt);
    ASSERT_EQ(select.getLevelButtonCount(), 10);
    const bool locked[10] = {false, false, false, false, false, true, true, true, true, true};
    for (int i = 0; i < 10; i++) EXPECT_EQ(bool(select.getLevelButton(i)->disabled), locked[i]) << i;
    for (int i = 0; i < 10; i++) EXPECT_EQ(bool(select.getLevelButton(i)->nextLevel), i == 3) << i;
    EXPECT_EQ(select.getLevelButton(0)->medal, 2);
    EXPECT_EQ(select.getLevelButton(1)->medal, 0);
    EXPECT_EQ(select.getLevelButton(4)->medal, 1);
    EXPECT_TRUE(select.getLevelButton(1)->allGoldZuzevirs);
    EXPECT_FALSE(select.getLevelButton(2)->allGoldZuzevirs); // four of five
    // The records of levels never played were added to the table.
    EXPECT_EQ(ProgressTable.list(kListStunt).size(), 7u);

    // A locked level does not start.
    clickLevel(5);
    EXPECT_EQ(StateRequest.id, kNoProgramState);
}

TEST_F(LevelSelectTest, GridsFillRowsAndCustomLevelsNeverLock) {
    open(kListStunt); // an empty list: ten fillers and nothing to start
    ASSERT_EQ(select.getLevelButtonCount(), 10);
    const int xs[5] = {90, 230, 370, 510, 650};
    for (int i = 0; i < 10; i++) {
        EXPECT_EQ(select.getLevelButton(i)->x, xs[i % 5]) << i;
        EXPECT_EQ(select.getLevelButton(i)->y, i < 5 ? 200 : 320) << i;
        EXPECT_TRUE(select.getLevelButton(i)->disabled);
    }
    for (int i = 0; i < 10; i++) clickLevel(i);
    EXPECT_EQ(StateRequest.id, kNoProgramState);
    select.leave();

    fillList(kListCustom, 17);
    open(kListCustom);
    ASSERT_EQ(select.getLevelButtonCount(), 17); // no fillers
    for (int i = 0; i < 17; i++) {
        EXPECT_FALSE(select.getLevelButton(i)->disabled) << i;
        EXPECT_FALSE(select.getLevelButton(i)->nextLevel) << i;
        EXPECT_FALSE(select.getLevelButton(i)->round);
    }
    EXPECT_EQ(select.getLevelButton(14)->x, 730);
    EXPECT_EQ(select.getLevelButton(15)->x, 30);
    EXPECT_EQ(select.getLevelButton(15)->y, 150);
    select.leave();

    open(7); // a kind no list has: an empty grid, and drawing it reads no list
    EXPECT_EQ(select.getLevelButtonCount(), 10);
    hoverLevel(0);
    EXPECT_TRUE(select.getPanelTexts().empty());
}

TEST_F(LevelSelectTest, ALevelButtonStartsItsLevel) {
    struct Case {
        int32_t kind;
        int index;
        int32_t state, helpPage;
    };
    const Case cases[] = {
        {kListAction, 0, kStateComicManager, -1}, // the first Action level opens with its comic
        {kListAction, 1, kStateGameEngine, 1},
        {kListStunt, 0, kStateGameEngine, kHelpPageStunt},
        {kListRace, 0, kStateGameEngine, kHelpPageRacing},
        {kListCustom, 2, kStateGameEngine, -1},
    };
    for (const Case& c : cases) {
        fillList(c.kind, 3);
        ProgressTable = ProgressTableRecord{};
        progress(c.kind, 1, true);
        open(c.kind);
        StateRequest = StateRequestRecord{};
        LevelStartRequest = LevelStartRequestRecord{};
        clickLevel(c.index);
        EXPECT_TRUE(requested(c.state)) << c.kind << " " << c.index << " asked for " << StateRequest.id;
        EXPECT_EQ(LevelStartRequest.helpPageOnEnter, c.helpPage) << c.kind;
        if (c.state == kStateGameEngine) {
            EXPECT_EQ(LevelCatalogue.currentKind, c.kind);
            EXPECT_EQ(LevelCatalogue.currentIndex, c.index);
        }
        select.leave();
    }
}

TEST_F(LevelSelectTest, ARefusedCustomLevelIsToldNamingItsFileAndTheReadersReason) {
    // One refused code of each kind the reader checks, and a file that went missing after the list was made.
    struct Case {
        const char* fileName;
        void (*spoil)(LevelData&);
        const char* reason;
    };
    const Case cases[] = {
        {"mode.lvl", [](LevelData& l) { l.goals.gameMode = kGameModeCount; }, "unknown game mode at byte "},
        {"tiles.lvl", [](LevelData& l) { l.layers[kLayerFront1].tiles.set(0, 0, kTileCodeCount); },
         "tile code out of range at byte "},
        {"collision.lvl", [](LevelData& l) { l.collision.set(0, 0, kCollisionShapeCount); }, "collision code at byte "},
        {"substance.lvl", [](LevelData& l) { l.substance.set(0, 0, kSubstanceTransition + 1); },
         "substance code at byte "},
        {"theme.lvl", [](LevelData& l) { l.tileSet = 5; }, "unknown tile set at byte "},
        {"gone.lvl", nullptr, "there is no such file"},
    };
    fillList(kListCustom, 1);
    const LevelGoals playedGoals = CurrentLevelGoals;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName);
        const std::string path = folder.file(c.fileName);
        if (c.spoil) {
            LevelData level;
            level.layers[kLayerFront1].tiles.reset(1, 1);
            level.collision.reset(1, 1);
            level.substance.reset(1, 1);
            c.spoil(level);
            const std::vector<unsigned char> bytes = encodeLevelFile(level);
            folder.write(c.fileName, std::string(bytes.begin(), bytes.end()));
        }
        LevelCatalogue.list(kListCustom).resize(1);
        LevelCatalogue.list(kListCustom).push_back({c.fileName, path});
        open(kListCustom);
        boxes.clear();
        StateRequest = StateRequestRecord{};
        clickLevel(1);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].rfind("Failed to Load Level: File \"" + path + "\" failed to load: " + c.reason, 0), 0u)
            << boxes[0];
        EXPECT_EQ(LevelFileFailure.rfind(c.reason, 0), 0u) << LevelFileFailure;
        EXPECT_TRUE(requested(kStateLevelSelect)) << "back to the list, not into a game";
        EXPECT_EQ(CurrentLevelGoals, playedGoals);
        select.leave();
    }
}

TEST_F(LevelSelectTest, TheMapSpotsOfTheChaptersPlayTheirComicFirst) {
    fillList(kListAction, 50);
    for (int i = 1; i < 50; i++) progress(kListAction, i, true);
    open(kListAction);
    struct Case {
        int index, comicScene; // -1: the level starts at once
    };
    const Case cases[] = {{0, 0}, {19, -1}, {20, 1}, {21, -1}, {29, -1}, {30, 2}, {40, 3}, {49, -1}};
    for (const auto [index, comicScene] : cases) {
        SCOPED_TRACE(index);
        StateRequest = StateRequestRecord{};
        LevelStartRequest = LevelStartRequestRecord{};
        LevelStartRequest.comicScene = -1;
        clickLevel(index);
        const bool comic = comicScene >= 0;
        EXPECT_TRUE(requested(comic ? kStateComicManager : kStateGameEngine)) << "asked for " << StateRequest.id;
        EXPECT_EQ(LevelStartRequest.comicScene, comicScene);
        if (comic) {
            EXPECT_EQ(LevelStartRequest.comicLevelIndex, index);
        }
    }
}

TEST_F(LevelSelectTest, BackKeyGoesToTheGameSelectAndTheMenuButtonsToTheirScreens) {
    fillList(kListRace, 2);
    open(kListRace);
    pressBack(select);
    EXPECT_TRUE(requested(kStateGameSelect));

    StateRequest = StateRequestRecord{};
    GF_SpriteButton* mainMenu = select.getMainMenuButton();
    EXPECT_EQ(mainMenu->y, 552);
    EXPECT_EQ(mainMenu->hitHeight, 26);
    click(select, mainMenu->x + mainMenu->width / 2, mainMenu->y + mainMenu->height / 2);
    EXPECT_TRUE(requested(kStateMainMenu));

    StateRequest = StateRequestRecord{};
    GF_SpriteButton* selectGame = select.getSelectGameButton();
    EXPECT_EQ(selectGame->x, kGameWidth - 82);
    EXPECT_EQ(selectGame->y, 518);
    EXPECT_EQ(selectGame->width, 72); // frames 4 and 5 of the second button sheet
    click(select, selectGame->x + selectGame->width / 2, selectGame->y + selectGame->height / 2);
    EXPECT_TRUE(requested(kStateGameSelect));
    // 13 px above the centre is outside the hit box.
    StateRequest = StateRequestRecord{};
    click(select, mainMenu->x + mainMenu->width / 2, mainMenu->y + mainMenu->height / 2 - 14);
    EXPECT_EQ(StateRequest.id, kNoProgramState);
}

std::vector<std::string> texts(const GF_LevelSelect& select) {
    std::vector<std::string> out;
    for (const auto& t : select.getPanelTexts()) out.push_back(t.text);
    return out;
}

TEST_F(LevelSelectTest, ThePanelShowsTheHoveredLevelsStatistics) {
    fillList(kListAction, 3);
    LevelRecord r;
    r.name = "02.Minesweeper";
    r.completed = true;
    r.bestTime = 83.5;
    r.enemiesPercent = 75;
    r.goldZuzevirs = 3;
    r.highestDifficulty = 3;
    ProgressTable.list(kListAction).push_back(r);
    LevelCatalogue.list(kListAction)[1].fileName = "02.Minesweeper.lvl";
    open(kListAction);
    hoverLevel(1, 8);
    EXPECT_EQ(select.getStatsMode(), 0);
    EXPECT_EQ(texts(select), (std::vector<std::string>{"\"Sweeping Mines\" Level Stats", "Best Time: ", "01:23:500",
                                                       "Highest Difficulty: ", "HARD", "Enemies Destroyed: ", "75%",
                                                       "Ruri Veruders: ", "3 out of 5"}));
    EXPECT_DOUBLE_EQ(select.getPanelAlpha(), 8 * 2 * kPass);
    // An uncompleted level shows dashes.
    hoverLevel(0); // never completed
    EXPECT_EQ(texts(select)[2], "-");
    EXPECT_EQ(texts(select)[4], "-");
    EXPECT_EQ(texts(select)[8], "-");
    // Nothing hovered: the last record stays and fades out.
    const double alpha = select.getPanelAlpha();
    pass(select, 790, 300, false);
    select.draw();
    EXPECT_EQ(select.getStatsMode(), 0);
    EXPECT_DOUBLE_EQ(select.getPanelAlpha(), alpha - 2 * kPass);
    select.leave();

    // Stunt: score, trick and medal; values below 1 are dashes.
    fillList(kListStunt, 2);
    LevelRecord s;
    s.name = name(1);
    s.completed = true;
    s.bestScore = 1234567;
    s.medal = 1;
    ProgressTable.list(kListStunt).push_back(s);
    open(kListStunt);
    hoverLevel(0);
    EXPECT_EQ(select.getStatsMode(), 1);
    EXPECT_EQ(texts(select), (std::vector<std::string>{"Best Score: ", "1,234,567", "Best Trick: ", "-",
                                                       "Medal Awarded: ", "Silver"}));
    select.leave();

    // Custom: a level never played has no statistics; one with a time shows its own mode's block.
    fillList(kListCustom, 2);
    LevelRecord c;
    c.name = name(2);
    c.bestTime = 40;
    c.gameMode = kGameModeRace;
    ProgressTable.list(kListCustom).push_back(c);
    open(kListCustom);
    hoverLevel(0);
    EXPECT_EQ(select.getStatsMode(), -1);
    EXPECT_EQ(texts(select), (std::vector<std::string>{"No Stats Available"}));
    hoverLevel(1);
    EXPECT_EQ(select.getStatsMode(), 2);
    EXPECT_EQ(texts(select), (std::vector<std::string>{"Best Time: ", "00:40:000", "Medal Awarded: ", "-"}));
}

TEST_F(LevelSelectTest, HitTestsOfRoundAndSquareButtons) {
    GF_LevelSelectButton round(100, 100, "1.A", nullptr, /*round=*/true, nullptr);
    round.width = round.height = 39;
    EXPECT_TRUE(round.containsPoint(119, 119));
    EXPECT_TRUE(round.containsPoint(119 + 19, 119));
    EXPECT_FALSE(round.containsPoint(119 + 20, 119)); // strictly less than 20 px
    EXPECT_FALSE(round.containsPoint(119 + 15, 119 + 15));
    GF_LevelSelectButton square(100, 100, "B", nullptr, /*round=*/false, nullptr);
    square.width = square.height = 64;
    EXPECT_TRUE(square.containsPoint(110, 110));
    EXPECT_FALSE(square.containsPoint(109, 110));
    EXPECT_TRUE(square.containsPoint(153, 153));
    EXPECT_FALSE(square.containsPoint(154, 120));
    square.holdMargin = 30; // the margin is not used
    EXPECT_FALSE(square.containsPointWithMargin(95, 120));
}

TEST_F(LevelSelectTest, TheNextLevelPulsesUntilHovered) {
    fillList(kListRace, 2);
    open(kListRace);
    GF_LevelSelectButton* next = select.getLevelButton(0);
    ASSERT_TRUE(next->nextLevel);
    pass(select, 790, 300, false);
    // 4 per second: after 16 passes of 1/64 s the pulse reaches 1 and turns down.
    for (int i = 0; i < 15; i++) idle(select);
    EXPECT_DOUBLE_EQ(next->hoverFade, 1.0);
    idle(select, 8);
    EXPECT_DOUBLE_EQ(next->hoverFade, 0.5);
    EXPECT_DOUBLE_EQ(next->captionAlpha, 0.0);
    // Hovered: the caption fades in and the pulse follows the hover fade.
    hoverLevel(0, 4);
    EXPECT_DOUBLE_EQ(next->captionAlpha, 4 * next->fadeSpeed * kPass);
    EXPECT_DOUBLE_EQ(next->pulse, next->hoverFade);
}

} // namespace
