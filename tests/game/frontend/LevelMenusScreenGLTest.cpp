// The level select (map and grid), a help page and the pause menu drawn by the real game on a real window (offscreen
// video, Mesa GL), the back buffer saved as a picture: the screens load every picture they name without a failure box
// and cover the frame with their art; the next level's button pulses on the map and in the grid, read on the frame's
// pixels over time, and the caption of a hovered custom level stays clear of its neighbours' buttons.
// GLIMMERFIN_SCREENSHOTS names a folder to keep the pictures in for a look.
#include "../../tools/AssetFiles.h"
#include "../framework/TempUserFolder.h"
#include "BitmapFonts.h"
#include "GF_HelpScreen.h"
#include "GF_LevelSelect.h"
#include "GF_LevelSelectButton.h"
#include "GF_PauseMenu.h"
#include "GameShell.h"
#include "GameWindow.h"
#include "HostInput.h"
#include "HostSystem.h"
#include "KGraphic.h"
#include "KImage.h"
#include "KText.h"
#include "KWindow.h"
#include "KWindowD3D.h"
#include "LevelCatalogue.h"
#include "LevelFile.h"
#include "ProgramStates.h"
#include "ProgressTable.h"

#include <algorithm>
#include <cmath>
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

    // The frame as drawn now.
    static void grab(KImage& frame) {
        EXPECT_TRUE(dynamic_cast<KWindowD3D*>(gameWindow)->getBackBufferAsImage(kGameWidth, kGameHeight, frame));
    }
    // Keeps the frame as a picture when GLIMMERFIN_SCREENSHOTS names a folder.
    static void keepFrame(const std::string& name) {
        const char* keep = std::getenv("GLIMMERFIN_SCREENSHOTS");
        if (!keep) return;
        EXPECT_TRUE(gameWindow->saveBackBuffer((std::string(keep) + "/" + name).c_str(), K_IMAGE_PNG, 800, 600));
    }
    // How warm (red over blue) the frame is on average at the points round the button's centre, half a
    // ring width inside the edge of what reacts: the rim where the hover look shows past the resting one.
    static double rimWarmth(const KImage& frame, const GF_LevelSelectButton& button) {
        const double cx = button.x + button.width / 2.0, cy = button.y + button.height / 2.0;
        const double reach = button.round ? 19 : 22, rim = reach - 2;
        const double points[][2] = {{rim, 0}, {-rim, 0}, {0, rim}, {0, -rim}};
        double warmth = 0;
        for (const auto& p : points) {
            const uint32_t px = frame.getPixel(int(cx + p[0]), int(cy + p[1]));
            warmth += double(KImage::red(px)) - double(KImage::blue(px));
        }
        return warmth / 4;
    }
    // Runs passes with the pointer away from the buttons; the rim's warmth and the pulse at each pass, and
    // the frame kept at the pulse's height.
    struct PulseRun {
        double warmthAtTop = -1000, warmthAtBottom = 1000, lockedLow = 1000, lockedHigh = -1000;
    };
    PulseRun watchPulse(GF_LevelSelect& select, int next, int locked, const std::string& picture) {
        PulseRun run;
        GF_LevelSelectButton& button = *select.getLevelButton(next);
        double highest = -1;
        for (int pass = 0; pass < 60; pass++) {
            runMainLoopPass();
            drawFrame();
            KImage frame;
            grab(frame);
            const double warmth = rimWarmth(frame, button);
            if (button.pulse > 0.95) run.warmthAtTop = std::max(run.warmthAtTop, warmth);
            if (button.pulse < 0.05) run.warmthAtBottom = std::min(run.warmthAtBottom, warmth);
            const double steady = rimWarmth(frame, *select.getLevelButton(locked));
            run.lockedLow = std::min(run.lockedLow, steady);
            run.lockedHigh = std::max(run.lockedHigh, steady);
            if (button.pulse > highest) {
                highest = button.pulse;
                if (highest > 0.95) keepFrame(picture);
            }
        }
        return run;
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

TEST_F(LevelMenusScreen, TheNextLevelsButtonPulsesOnTheMapAndInTheGrid) {
    ASSERT_TRUE(initGame());
    auto* select = static_cast<GF_LevelSelect*>(programStates[kStateLevelSelect].get());
    host::setCursorOverride(300, 590); // away from every button
    const struct {
        int32_t kind;
        const char* picture;
    } cases[] = {{kListAction, "levelselect-map-pulse.png"}, {kListStunt, "levelselect-grid-pulse.png"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        ProgressTable = ProgressTableRecord{}; // nothing played: the first level is the next one
        select->setListKind(c.kind);
        requestProgramState(kStateLevelSelect, kLeaveAndEnter);
        runMainLoopPass();
        ASSERT_TRUE(select->getLevelButton(0)->nextLevel);
        ASSERT_TRUE(select->getLevelButton(1)->disabled);
        const PulseRun run = watchPulse(*select, 0, 1, c.picture);
        EXPECT_GT(run.warmthAtTop - run.warmthAtBottom, 80) << "the rim glows warm at the pulse's height";
        EXPECT_LT(run.lockedHigh - run.lockedLow, 1) << "a locked button stays as it is";
    }
    EXPECT_TRUE(boxes.empty()) << boxes.front();
    gameWindow->terminate();
    shutdownGame();
}

TEST_F(LevelMenusScreen, AHoveredCustomLevelsCaptionStaysClearOfItsNeighbours) {
    const char* names[] = {"Reef", "Coral Maze", "Deep", "Kelp", "Wreck", "Trench", "Shoal", "Lagoon"};
    for (const char* name : names) {
        LevelData level;
        ASSERT_TRUE(writeLevelData(getCustomLevelsFolder() + name + ".lvl", level));
    }
    ASSERT_TRUE(initGame());
    auto* select = static_cast<GF_LevelSelect*>(programStates[kStateLevelSelect].get());
    select->setListKind(kListCustom);
    requestProgramState(kStateLevelSelect, kLeaveAndEnter);
    runMainLoopPass();
    ASSERT_EQ(select->getLevelButtonCount(), 8);
    // The custom list is in byte order: "Coral Maze" comes first, its neighbour to the right is drawn later.
    const GF_LevelSelectButton& hovered = *select->getLevelButton(0);
    ASSERT_EQ(hovered.caption, "Coral Maze");
    host::setCursorOverride(hovered.x + 32, hovered.y + 32);
    for (int pass = 0; pass < 30; pass++) runMainLoopPass();
    drawFrame();
    keepFrame("levelselect-custom-hovered.png");
    ASSERT_DOUBLE_EQ(hovered.captionAlpha, 1);
    const int width = int(getFont(1)->getStringWidth(hovered.caption.c_str()));
    ASSERT_GT(width, 44) << "wider than what reacts, so it reaches over the gap toward the next button";
    const int textX = hovered.x + (hovered.width - width) / 2, textY = hovered.y + 5;
    KImage frame;
    grab(frame);
    // Where the caption passes beyond its own button, the text shows and no neighbour's button lies over it;
    // over its own button, the white text stands on a dark part of the hover look.
    int ink = 0, buttonArt = 0, behindText = 0;
    double behindLight = 0;
    for (int y = textY + 2; y < textY + 14; y++)
        for (int x = textX; x < textX + width; x++) {
            const uint32_t px = frame.getPixel(x, y);
            const int r = int(KImage::red(px)), g = int(KImage::green(px)), b = int(KImage::blue(px));
            const bool white = r > 200 && g > 200 && b > 200;
            if (x >= hovered.x + 10 && x < hovered.x + 54) {
                if (y >= hovered.y + 10 && !white) behindText++, behindLight += (r + g + b) / 3.0;
                continue;
            }
            ink += white;
            buttonArt += b > 120 && b > r + 50;
        }
    EXPECT_GT(ink, 5);
    EXPECT_EQ(buttonArt, 0);
    ASSERT_GT(behindText, 0);
    EXPECT_LT(behindLight / behindText, 140) << "white on a dark ground";
    EXPECT_TRUE(boxes.empty()) << boxes.front();
    gameWindow->terminate();
    shutdownGame();
}
