// The main menu and the game select: pictures and buttons made in enter and freed in leave, every button's
// state request (mode 2), the options screen's return target, the level select's list kind, the back key,
// the fade in from black, the laugh once per visit, the music start and the menu backdrop's bands.
#include "FolderPaths.h"
#include "FrontEndFixture.h"
#include "GF_GameSelect.h"
#include "GF_LevelSelect.h"
#include "GF_MainMenu.h"
#include "GF_OptionsMenu.h"
#include "GF_SpriteButton.h"
#include "GameOptions.h"
#include "KSound.h"
#include "MenuPieces.h"
#include "MusicPlaylist.h"

namespace {

class MainMenuTest : public FrontEndTest {
protected:
    GF_MainMenu& menu() { return *static_cast<GF_MainMenu*>(programStates[kStateMainMenu].get()); }
    GF_GameSelect& select() { return *static_cast<GF_GameSelect*>(programStates[kStateGameSelect].get()); }
    GF_OptionsMenu& options() { return *static_cast<GF_OptionsMenu*>(programStates[kStateOptionsMenu].get()); }
    GF_LevelSelect& levels() { return *static_cast<GF_LevelSelect*>(programStates[kStateLevelSelect].get()); }

    static bool anyLaughPlaying() {
        for (int id = 4; id <= 7; id++)
            for (const auto& copy : getSoundEntry(id)->copies)
                if (copy->sound->isPlaying()) return true;
        return false;
    }
};

// The centre of a button.
struct Centre {
    int x, y;
};
Centre centreOf(const GF_SpriteButton& b) {
    return {b.x + b.width / 2, b.y + b.height / 2};
}

} // namespace

TEST_F(MainMenuTest, EnterMakesFourButtonsCentredOnTheLeftColumnAndLeaveFreesEverything) {
    const int before = livePictures();
    menu().enter();
    EXPECT_EQ(livePictures(), before + 10) << "eight backdrop textures and two button sheets";
    const struct {
        int x, y, width;
        const char* hint;
    } expected[4] = {{64, 250, 232, "Click here to start playing Glimmerfin"},
                     {55, 330, 250, "Create your own levels"},
                     {93, 410, 175, "Change the difficulty and volume"},
                     {126, 490, 109, "Exit to Linux"}};
    for (int i = 0; i < 4; i++) {
        const GF_SpriteButton* b = menu().getButton(i);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->x, expected[i].x) << i;
        EXPECT_EQ(b->y, expected[i].y) << i;
        EXPECT_EQ(b->width, expected[i].width) << i;
        EXPECT_EQ(b->height, 64) << i;
        EXPECT_EQ(b->drawMode, kButtonImage) << i;
        EXPECT_EQ(b->hintText, expected[i].hint) << i;
    }
    menu().leave();
    EXPECT_EQ(livePictures(), before);
    EXPECT_EQ(menu().getButton(0), nullptr);
    EXPECT_TRUE(boxes.empty()) << boxes.front();
}

TEST_F(MainMenuTest, EachButtonRequestsItsStateWithModeTwo) {
    const struct {
        int button;
        int32_t state;
    } cases[] = {{GF_MainMenu::kPlay, kStateGameSelect},
                 {GF_MainMenu::kEditor, kStateLevelEditor},
                 {GF_MainMenu::kOptions, kStateOptionsMenu},
                 {GF_MainMenu::kExit, kQuitProgram}};
    for (const auto& c : cases) {
        options().setReturnTarget(kStateLevelSelect);
        StateRequest = StateRequestRecord();
        MouseState = MouseStateRecord();
        menu().enter();
        const Centre p = centreOf(*menu().getButton(c.button));
        click(menu(), p.x, p.y);
        EXPECT_TRUE(requested(c.state)) << "button " << c.button << " asked for " << StateRequest.id;
        if (c.button == GF_MainMenu::kOptions) {
            EXPECT_EQ(options().getReturnTarget(), kStateMainMenu);
        }
        menu().leave();
    }
}

TEST_F(MainMenuTest, FadesInOverASecondAndLaughsOncePerVisitAfterNineTenths) {
    menu().enter();
    idle(menu(), 57);
    EXPECT_DOUBLE_EQ(menu().getFade(), 1 - 57.0 / 64);
    EXPECT_FALSE(menu().laughPlayed());
    idle(menu());
    EXPECT_TRUE(menu().laughPlayed()) << "the fade has reached 0.1 or less";
    EXPECT_TRUE(anyLaughPlaying());
    KGraphicRecorder::clearCalls();
    menu().draw();
    const std::vector<RecordedDraw> calls = sharedCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().operation, "fillRect") << "the fade is drawn last, over everything";
    EXPECT_FLOAT_EQ(calls.back().args[7], float(1 - 58.0 / 64));
    idle(menu(), 10);
    EXPECT_EQ(menu().getFade(), 0.0);
    menu().leave();

    // A visit left within 0.9 s never laughs; the next visit starts the fade and the laugh afresh.
    for (int id = 4; id <= 7; id++) getSoundEntry(id)->stop();
    menu().enter();
    EXPECT_EQ(menu().getFade(), 1.0);
    EXPECT_FALSE(menu().laughPlayed());
    idle(menu(), 57);
    menu().leave();
    EXPECT_FALSE(anyLaughPlaying());
}

TEST_F(MainMenuTest, EnteringStartsTheMusicUnlessItsVolumeIsAtTheSilentMinimum) {
    initMusicPlaylistFrom(getMusicFolder());
    ASSERT_GE(MusicPlaylist.current, 0);
    GameOptions.musicVolume = 0.01;
    menu().enter();
    EXPECT_TRUE(MusicPlaylist.muted);
    EXPECT_FALSE(MusicPlaylist.playing);
    menu().leave();
    GameOptions.musicVolume = 0.5;
    MusicPlaylist.muted = false;
    menu().enter();
    EXPECT_TRUE(MusicPlaylist.playing);
    menu().leave();
    freeMusicPlaylist();
}

TEST_F(MainMenuTest, GameSelectOpensTheLevelSelectOnEachKindAndGoesBackToTheMainMenu) {
    const int before = livePictures();
    select().enter();
    EXPECT_EQ(livePictures(), before + 4) << "heading, two button sheets and the menu buttons";
    EXPECT_NE(menuButtonAnimation(kMenuButtonMainMenu), nullptr);
    const struct {
        int button, x, y;
        const char* hint;
    } layout[5] = {{GF_GameSelect::kAction, 328, 130, "Main mode of play - Blast away your enemies"},
                   {GF_GameSelect::kStunt, 334, 220, "Perform tricks to earn points"},
                   {GF_GameSelect::kRace, 340, 310, "Race through hoops to beat the clock"},
                   {GF_GameSelect::kCustom, 314, 400, "Play the levels that you created"},
                   {GF_GameSelect::kMainMenu, 653, 552, "Go to the Main Menu"}};
    for (const auto& l : layout) {
        const GF_SpriteButton* b = select().getButton(l.button);
        EXPECT_EQ(b->x, l.x) << l.button;
        EXPECT_EQ(b->y, l.y) << l.button;
        EXPECT_EQ(b->hintText, l.hint) << l.button;
    }
    for (int kind = 3; kind >= 0; kind--) {
        levels().setListKind(-1);
        StateRequest = StateRequestRecord();
        const Centre p = centreOf(*select().getButton(kind));
        click(select(), p.x, p.y);
        EXPECT_TRUE(requested(kStateLevelSelect)) << kind;
        EXPECT_EQ(levels().getListKind(), kind);
    }
    StateRequest = StateRequestRecord();
    const Centre back = centreOf(*select().getButton(GF_GameSelect::kMainMenu));
    click(select(), back.x, back.y);
    EXPECT_TRUE(requested(kStateMainMenu));
    StateRequest = StateRequestRecord();
    pressBack(select());
    EXPECT_TRUE(requested(kStateMainMenu)) << "the back key goes one level up";
    select().leave();
    EXPECT_EQ(livePictures(), before);
    EXPECT_EQ(menuButtonAnimation(kMenuButtonMainMenu), nullptr);
    EXPECT_TRUE(boxes.empty()) << boxes.front();
}

TEST_F(MainMenuTest, TheFilledBackdropPaintsItsBandsOpaqueSoNothingOfEarlierFramesShows) {
    KGraphicRecorder::clearCalls();
    drawMenuBackdrop(89, true);
    std::vector<std::vector<float>> fills, lines;
    for (const RecordedDraw& call : sharedCalls()) (call.operation == "fillRect" ? fills : lines).push_back(call.args);
    const float dark[4] = {0.0627f, 0.098f, 0.133f, 1};
    ASSERT_EQ(fills.size(), 3u);
    EXPECT_EQ((std::vector<float>(fills[0].begin(), fills[0].begin() + 4)), (std::vector<float>{0, 75, 800, 511}));
    for (int k = 0; k < 4; k++) EXPECT_FLOAT_EQ(fills[0][size_t(4 + k)], dark[k]);
    EXPECT_EQ(fills[1], (std::vector<float>{0, 0, 800, 75, 0, 0, 0, 1}));
    EXPECT_EQ(fills[2], (std::vector<float>{0, 511, 800, 600, 0, 0, 0, 1}));
    EXPECT_EQ(lines, (std::vector<std::vector<float>>{{0, 75, 800, 75, 1, 1, 1, 1}, {0, 511, 800, 511, 1, 1, 1, 1}}));

    KGraphicRecorder::clearCalls();
    drawMenuBackdrop(60, false); // over a picture: the bands only darken it
    const std::vector<RecordedDraw> over = sharedCalls();
    ASSERT_EQ(over.size(), 4u);
    EXPECT_EQ(over[0].args, (std::vector<float>{0, 0, 800, 75, 0, 0, 0, 0.2f}));
    EXPECT_EQ(over[1].args, (std::vector<float>{0, 540, 800, 600, 0, 0, 0, 0.2f}));
}
