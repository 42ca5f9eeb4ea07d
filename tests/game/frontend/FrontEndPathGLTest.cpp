// The front end on a real window with the game's own data: the logo skipped by a key, the main menu, the game
// select and back, the options screen switching the real window to full screen and back by its box and
// leaving by the back key with the options file written, all through the main loop's passes.
#include "../framework/ScriptedShell.h"
#include "../framework/TempUserFolder.h"
#include "GF_MainMenu.h"
#include "GF_SpriteButton.h"
#include "GameOptions.h"
#include "GameShell.h"
#include "GameWindow.h"
#include "HostInput.h"
#include "HostSystem.h"
#include "HostWindow.h"
#include "KWindow.h"
#include "ProgramStates.h"

#include <gtest/gtest.h>

namespace {

class FrontEndPath : public testing::Test {
protected:
    void SetUp() override {
        GameOptions = GameOptionsRecord();
        host::setMessageBoxHandler(
            [this](const std::string& caption, const std::string& text) { boxes.push_back(caption + ": " + text); });
    }
    void TearDown() override {
        host::setMessageBoxHandler(nullptr);
        host::clearQuitPosted();
        GameOptions = GameOptionsRecord();
    }
    void passes(int n) { shell.passes(n); }
    void clickAt(int x, int y) { shell.clickAt(x, y); }
    void clickButton(const GF_SpriteButton* button) { ASSERT_TRUE(shell.clickButton(button)); }
    void tapKey(int virtualKey) { shell.tapKey(virtualKey); }

    TempUserFolder home;
    ScriptedShell shell;
    std::vector<std::string> boxes;
};

} // namespace

TEST_F(FrontEndPath, LogoToMainMenuToGameSelectAndOptionsOnARealWindow) {
    ASSERT_TRUE(initGame());
    EXPECT_EQ(currentState, programStates[kStateLogoIntro].get());
    host::setCursorOverride(790, 590);
    passes(3);
    tapKey(0x20); // space skips the logo
    passes(1);
    auto* menu = static_cast<GF_MainMenu*>(programStates[kStateMainMenu].get());
    ASSERT_EQ(currentState, menu);

    clickButton(menu->getButton(GF_MainMenu::kPlay));
    passes(1);
    EXPECT_EQ(currentState, programStates[kStateGameSelect].get());
    tapKey(0x1B); // the back key: one level up
    passes(1);
    ASSERT_EQ(currentState, menu);

    clickButton(menu->getButton(GF_MainMenu::kOptions));
    passes(1);
    ASSERT_EQ(currentState, programStates[kStateOptionsMenu].get());
    const host::WindowHandle handle = gameWindow->getWindowHandle();
    EXPECT_FALSE(host::isPopupStyle(handle));
    clickAt(240 + 14, 100 + 14); // "Full Screen"
    EXPECT_TRUE(host::isPopupStyle(handle)) << "full screen is a borderless desktop-sized window";
    EXPECT_FALSE(GameOptions.windowed);
    clickAt(240 + 14, 100 + 14);
    EXPECT_FALSE(host::isPopupStyle(handle));
    EXPECT_TRUE(GameOptions.windowed);
    clickAt(240 + 14, 130 + 14); // "Auto-Aim" off
    passes(40);
    clickAt(470 + 14, 100 + 3 * 30 + 14); // "Hard"
    tapKey(0x1B);
    passes(1);
    EXPECT_EQ(currentState, menu);
    GameOptionsRecord written = GameOptionsRecord();
    written.autoAim = true;
    std::FILE* file = std::fopen(optionsFilePath().c_str(), "rb");
    ASSERT_NE(file, nullptr);
    unsigned char bytes[kOptionsFileSize];
    const size_t size = std::fread(bytes, 1, sizeof bytes, file);
    std::fclose(file);
    ASSERT_TRUE(decodeOptions(bytes, size, written));
    EXPECT_FALSE(written.autoAim) << "written when the screen was left";
    EXPECT_TRUE(written.windowed);
    EXPECT_EQ(written.difficulty, 3);

    requestProgramState(kQuitProgram, kLeaveAndEnter);
    passes(1);
    EXPECT_TRUE(gameWindow->isQuitRequested());
    shutdownGame();
    EXPECT_TRUE(boxes.empty()) << boxes.front();
}
