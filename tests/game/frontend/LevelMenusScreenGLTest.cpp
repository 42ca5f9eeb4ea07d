// The level select (map and grid), a help page and the pause menu drawn by the real game on a real window (offscreen
// video, Mesa GL), the back buffer saved as a picture: the screens load every picture they name without a failure box
// and cover the frame with their art. GLIMMERFIN_SCREENSHOTS names a folder to keep the pictures in for a look.
#include "../../tools/AssetFiles.h"
#include "../framework/TempUserFolder.h"
#include "GF_HelpScreen.h"
#include "GF_LevelSelect.h"
#include "GF_PauseMenu.h"
#include "GameShell.h"
#include "GameWindow.h"
#include "HostInput.h"
#include "HostSystem.h"
#include "KGraphic.h"
#include "KImage.h"
#include "KWindow.h"
#include "LevelCatalogue.h"
#include "ProgramStates.h"
#include "ProgressTable.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// An overlay alone as the current screen, over a dark fill.
class OverlayScreen : public GF_ProgramState {
public:
    explicit OverlayScreen(GF_ProgramState& shown) : overlay(shown) {}
    void enter() override { overlay.enter(); }
    void leave() override { overlay.leave(); }
    void update() override { overlay.update(); }
    void draw() override {
        if (sharedGraphic) sharedGraphic->fillRect(0, 0, kGameWidth, kGameHeight, 0.05f, 0.2f, 0.35f, 1);
        overlay.draw();
    }
    GF_ProgramState& overlay;
};

class LevelMenusScreen : public testing::Test {
protected:
    void SetUp() override {
        host::setMessageBoxHandler(
            [this](const std::string& caption, const std::string& text) { boxes.push_back(caption + ": " + text); });
    }
    void TearDown() override {
        host::setMessageBoxHandler(nullptr);
        host::clearCursorOverride();
        ProgressTable = ProgressTableRecord{};
    }
    // Saves the back buffer and reads it back; the share of pixels that are not black.
    double saveFrame(const std::string& name) {
        const char* keep = std::getenv("GLIMMERFIN_SCREENSHOTS");
        const std::string path = (keep ? std::string(keep) : home.homePath()) + "/" + name;
        EXPECT_TRUE(gameWindow->saveBackBuffer(path.c_str(), K_IMAGE_PNG, 800, 600));
        const Picture p = readPicture(path);
        if (!p.ok()) return 0;
        int lit = 0;
        for (int y = 0; y < p.height; y += 4)
            for (int x = 0; x < p.width; x += 4) {
                const uint8_t* px = p.pixel(x, y);
                lit += px[0] + px[1] + px[2] > 30;
            }
        return double(lit) / ((p.width / 4) * (p.height / 4));
    }

    TempUserFolder home;
    std::vector<std::string> boxes;
};

} // namespace

TEST_F(LevelMenusScreen, TheLevelSelectHelpPageAndPauseMenuDrawTheirArt) {
    ASSERT_TRUE(initGame());
    ASSERT_FALSE(LevelCatalogue.list(kListAction).empty()) << "the shipped levels are listed";
    LevelRecord done;
    done.name = levelDisplayName(LevelCatalogue.list(kListAction)[0].fileName);
    done.completed = true;
    done.bestTime = 95.25;
    done.enemiesPercent = 90;
    done.goldZuzevirs = 5;
    ProgressTable.list(kListAction).push_back(done);
    auto* select = static_cast<GF_LevelSelect*>(programStates[kStateLevelSelect].get());
    select->setListKind(kListAction);
    requestProgramState(kStateLevelSelect, kLeaveAndEnter);
    host::setCursorOverride(85 + 19, 232 + 19); // over the first level's spot
    for (int i = 0; i < 40; i++) runMainLoopPass();
    drawFrame();
    EXPECT_GT(saveFrame("levelselect.png"), 0.9);
    EXPECT_EQ(select->getStatsMode(), 0);

    // The Stunt grid.
    select->setListKind(kListStunt);
    requestProgramState(kStateLevelSelect, kLeaveAndEnter);
    for (int i = 0; i < 10; i++) runMainLoopPass();
    drawFrame();
    EXPECT_GT(saveFrame("stuntlevels.png"), 0.6); // the bands are black

    GF_HelpScreen help;
    help.setPage(2);
    GF_PauseMenu pause;
    host::setCursorOverride(10, 10);
    for (auto& [overlay, name] : {std::pair<GF_ProgramState*, const char*>{&help, "helppage.png"},
                                  std::pair<GF_ProgramState*, const char*>{&pause, "pausemenu.png"}}) {
        OverlayScreen page(*overlay);
        currentState->leave();
        currentState = &page;
        page.enter();
        for (int i = 0; i < 20; i++) runMainLoopPass();
        drawFrame();
        EXPECT_GT(saveFrame(name), 0.5) << name;
        page.leave();
        currentState = programStates[kStateMainMenu].get();
        currentState->enter();
    }
    EXPECT_TRUE(boxes.empty()) << boxes.front();
    gameWindow->terminate();
    shutdownGame();
}
