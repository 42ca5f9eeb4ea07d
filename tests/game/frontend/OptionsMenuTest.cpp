// The options screen under scripted mouse input: the widgets made from the settings in enter and freed in
// leave, the difficulty and volumes reaching the settings within half a second, the display mode switched
// through the window on each click (and kept when the window cannot switch), auto-aim, the cheat boxes of
// unlocked cheats only, and the options file written on leave, through the button or the back key.
#include "CheatList.h"
#include "CheckBox.h"
#include "FrontEndFixture.h"
#include "GF_OptionsMenu.h"
#include "GF_SpriteButton.h"
#include "GameOptions.h"
#include "KWindowD3D.h"
#include "MenuPieces.h"
#include "RadioGroup.h"
#include "Slider.h"

#include <filesystem>
#include <fstream>

namespace {

// A window that records the display-mode switches asked of it and can refuse them.
class SwitchRecordingWindow : public KWindowD3D {
public:
    bool toggleFullScreen(bool fullScreen) override {
        switches.push_back(fullScreen);
        return !refuse;
    }
    std::vector<bool> switches;
    bool refuse = false;
};

class OptionsMenuTest : public FrontEndTest {
protected:
    void SetUp() override {
        FrontEndTest::SetUp();
        setCheatProgressReader(nullptr);
        gameWindow = &window;
    }
    void TearDown() override {
        gameWindow = nullptr;
        FrontEndTest::TearDown();
    }
    GF_OptionsMenu& options() { return *static_cast<GF_OptionsMenu*>(programStates[kStateOptionsMenu].get()); }
    void clickBox(const CheckBox& box) { click(options(), box.x + 14, box.y + 14); }
    static std::vector<unsigned char> fileBytes() {
        std::ifstream in(optionsFilePath(), std::ios::binary);
        return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static std::vector<unsigned char> bytesOf(const GameOptionsRecord& o) {
        const auto bytes = encodeOptions(o);
        return std::vector<unsigned char>(bytes.begin(), bytes.end());
    }

    SwitchRecordingWindow window;
};

} // namespace

TEST_F(OptionsMenuTest, EnterShowsTheSettingsAndLeaveWritesThemAndFreesEverything) {
    GameOptions.difficulty = 3;
    GameOptions.musicVolume = 0.25;
    GameOptions.soundVolume = 1.0;
    GameOptions.windowed = false;
    GameOptions.autoAim = false;
    const int before = livePictures();
    options().enter();
    EXPECT_EQ(livePictures(), before + 3) << "title, widgets and the menu buttons";
    EXPECT_EQ(options().getDifficulty()->selection, 3);
    EXPECT_EQ(options().getDifficulty()->labels,
              (std::vector<std::string>{"Very Easy", "Easy", "Medium", "Hard", "Extreme"}));
    EXPECT_EQ(options().getMusicSlider()->knobCentre, 255 + 72); // the nearest step to 0.25
    EXPECT_EQ(options().getSoundSlider()->knobCentre, 542);
    EXPECT_EQ(options().getMusicSlider()->y, 275);
    EXPECT_EQ(options().getSoundSlider()->y, 345);
    EXPECT_TRUE(options().getFullScreenBox()->on);
    EXPECT_FALSE(options().getAutoAimBox()->on);
    EXPECT_EQ(options().getMainMenuButton()->x, 652);
    EXPECT_EQ(options().getMainMenuButton()->y, 550);
    // The cheat boxes run in rows of five from (20, 420), 150 apart and 30 lower for each row.
    EXPECT_EQ(options().getCheatBox(0)->x, 20);
    EXPECT_EQ(options().getCheatBox(4)->x, 620);
    EXPECT_EQ(options().getCheatBox(5)->x, 20);
    EXPECT_EQ(options().getCheatBox(5)->y, 450);
    EXPECT_EQ(options().getCheatBox(22)->y, 540);
    EXPECT_EQ(options().getCheatBox(22)->label, "Show Tricks");
    EXPECT_EQ(options().getCheatBox(23), nullptr);

    // Leaving writes the file even when nothing changed.
    std::filesystem::remove(optionsFilePath());
    options().leave();
    EXPECT_EQ(fileBytes(), bytesOf(GameOptions));
    EXPECT_EQ(GameOptions.difficulty, 3);
    EXPECT_DOUBLE_EQ(GameOptions.musicVolume, 72.0 / 287);
    EXPECT_EQ(livePictures(), before);
    EXPECT_EQ(options().getDifficulty(), nullptr);
    EXPECT_EQ(menuButtonAnimation(kMenuButtonMainMenu), nullptr);
    EXPECT_TRUE(window.switches.empty());
    EXPECT_TRUE(boxes.empty()) << boxes.front();
}

TEST_F(OptionsMenuTest, AVisitThatChangesNothingKeepsEveryVolumeTheKnobCanShow) {
    for (int step = 0; step <= 287; step++) {
        GameOptions.musicVolume = step / 287.0;
        GameOptions.soundVolume = 1 - step / 287.0;
        options().enter();
        options().leave();
        ASSERT_EQ(GameOptions.musicVolume, step / 287.0) << "knob step " << step;
        ASSERT_EQ(GameOptions.soundVolume, (287 - step) / 287.0) << "knob step " << step;
    }
    GameOptions.musicVolume = 0.3; // between two steps: the nearest step
    options().enter();
    EXPECT_EQ(options().getMusicSlider()->knobCentre, 255 + 86);
    options().leave();
}

TEST_F(OptionsMenuTest, DifficultyAndVolumesReachTheSettingsWithinHalfASecond) {
    GameOptions = GameOptionsRecord();
    options().enter();
    click(options(), 470 + 14, 100 + 3 * 30 + 14); // "Hard"
    EXPECT_EQ(options().getDifficulty()->selection, 3);
    // The music knob dragged far left, faster than the knob can keep under the pointer in one pass.
    const int knobX = options().getMusicSlider()->knobCentre, knobY = 275 + 26;
    pass(options(), knobX, knobY, false);
    pass(options(), knobX, knobY, true);
    pass(options(), 0, knobY + 40, true);
    pass(options(), 0, knobY + 40, false);
    EXPECT_EQ(options().getMusicSlider()->knobCentre, 255);
    EXPECT_EQ(GameOptions.difficulty, 1) << "not applied before half a second";
    idle(options(), 32 - 7 - 1); // 31 passes since enter
    EXPECT_EQ(GameOptions.difficulty, 1);
    idle(options());
    EXPECT_EQ(GameOptions.difficulty, 3);
    EXPECT_EQ(GameOptions.musicVolume, 0.0);
    EXPECT_DOUBLE_EQ(GameOptions.soundVolume, 144.0 / 287) << "the untouched slider keeps its value";

    // The sound knob to the far right; leaving applies it at once.
    const int soundX = options().getSoundSlider()->knobCentre, soundY = 345 + 26;
    pass(options(), soundX, soundY, false);
    pass(options(), soundX, soundY, true);
    pass(options(), 790, soundY, true);
    pass(options(), 790, soundY, false);
    options().leave();
    EXPECT_EQ(GameOptions.soundVolume, 1.0);
    GameOptionsRecord read = GameOptionsRecord();
    const std::vector<unsigned char> bytes = fileBytes();
    ASSERT_TRUE(decodeOptions(bytes.data(), bytes.size(), read));
    EXPECT_EQ(read.difficulty, 3);
    EXPECT_EQ(read.musicVolume, 0.0);
    EXPECT_EQ(read.soundVolume, 1.0);
}

TEST_F(OptionsMenuTest, FullScreenSwitchesTheWindowOnEachClickAndAutoAimFollowsItsBox) {
    GameOptions = GameOptionsRecord(); // windowed, auto-aim on
    options().enter();
    clickBox(*options().getFullScreenBox());
    EXPECT_EQ(window.switches, (std::vector<bool>{true}));
    EXPECT_FALSE(GameOptions.windowed);
    EXPECT_TRUE(options().getFullScreenBox()->button->selected) << "drawn checked";
    // Twice in two passes: press-release, press-release.
    pass(options(), 254, 114, true);
    pass(options(), 254, 114, false);
    pass(options(), 254, 114, true);
    pass(options(), 254, 114, false);
    EXPECT_EQ(window.switches, (std::vector<bool>{true, false, true}));
    EXPECT_FALSE(GameOptions.windowed);

    // A window that cannot switch keeps the box and the setting as the display is.
    window.refuse = true;
    clickBox(*options().getFullScreenBox());
    EXPECT_EQ(window.switches.size(), 4u);
    EXPECT_TRUE(options().getFullScreenBox()->on);
    EXPECT_FALSE(GameOptions.windowed);
    idle(options());
    EXPECT_EQ(window.switches.size(), 4u) << "no retry on every pass";

    clickBox(*options().getAutoAimBox());
    EXPECT_FALSE(GameOptions.autoAim);
    clickBox(*options().getAutoAimBox());
    EXPECT_TRUE(GameOptions.autoAim);
    options().leave();
    GameOptionsRecord read = GameOptionsRecord();
    const std::vector<unsigned char> bytes = fileBytes();
    ASSERT_TRUE(decodeOptions(bytes.data(), bytes.size(), read));
    EXPECT_FALSE(read.windowed);
    EXPECT_TRUE(read.autoAim);
}

TEST_F(OptionsMenuTest, OnlyUnlockedCheatsHaveBoxesAndTheHeadingShowsWithThem) {
    options().enter();
    KGraphicRecorder::clearCalls();
    options().draw();
    const size_t drawsLocked = KGraphicRecorder::calls().size();
    for (int i = 0; i < kCheatCount; i++) clickBox(*options().getCheatBox(i));
    EXPECT_FALSE(anyCheatOn()) << "boxes of locked cheats change nothing";

    // 35 Ruri Veruders unlock "Big Radudod" (index 2) and nothing next to it.
    setCheatProgressReader([] { return CheatProgress{35, 0}; });
    clickBox(*options().getCheatBox(3));
    EXPECT_FALSE(isCheatOn(3));
    clickBox(*options().getCheatBox(2));
    EXPECT_TRUE(isCheatOn(2));
    KGraphicRecorder::clearCalls();
    options().draw();
    EXPECT_GT(KGraphicRecorder::calls().size(), drawsLocked) << "the heading and the unlocked box are drawn";
    clickBox(*options().getCheatBox(2));
    EXPECT_FALSE(isCheatOn(2));
    options().leave();
}

TEST_F(OptionsMenuTest, TheMainMenuButtonAndTheBackKeyReturnToTheTarget) {
    options().setReturnTarget(kStateGameSelect);
    options().enter();
    const GF_SpriteButton& button = *options().getMainMenuButton();
    click(options(), button.x + button.width / 2, button.y + button.height / 2);
    EXPECT_TRUE(requested(kStateGameSelect));
    StateRequest = StateRequestRecord();
    pressBack(options());
    EXPECT_TRUE(requested(kStateGameSelect));
    options().leave();
}
