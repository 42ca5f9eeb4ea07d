// The comics: the five scenes as built, what enter loads (the page on screen only) and leave frees, pictures
// fading in one after another, "Next comic" revealing then turning the page, the scene's end and "Go
// straight to game" starting the Action level without its comic, and the way back to the studio logo.
#include "FrontEndFixture.h"
#include "GF_ComicManager.h"
#include "GF_SpriteButton.h"
#include "LevelCatalogue.h"
#include "LevelStart.h"

#include <algorithm>

namespace {

class ComicManagerTest : public FrontEndTest {
protected:
    void SetUp() override {
        FrontEndTest::SetUp();
        // With no levels listed, starting an Action level falls back to the level select: a request for
        // state 4 shows the level was started without its comic, which would have asked for state 7.
        clearLevelCatalogue();
        LevelStartRequest = LevelStartRequestRecord();
    }
    void TearDown() override {
        LevelStartRequest = LevelStartRequestRecord();
        FrontEndTest::TearDown();
    }
    GF_ComicManager& comics() { return *static_cast<GF_ComicManager*>(programStates[kStateComicManager].get()); }
    void clickNext() { click(comics(), 700 + 35, 550 + 19); }
    void clickGo() { click(comics(), 600 + 35, 550 + 19); }
    ComicPage& page() { return *comics().scene(comics().getCurrentScene())->page(); }
    static std::vector<std::string> comicFilesLoaded() {
        std::vector<std::string> files = loadedFiles(), comic;
        for (const std::string& f : files)
            if (f.rfind("scene", 0) == 0 && f != "scenebuttons.png") comic.push_back(f);
        std::sort(comic.begin(), comic.end());
        return comic;
    }
    // The alpha of every comic picture drawn in one draw of the screen.
    std::vector<float> drawnAlphas() {
        KGraphicRecorder::clearCalls();
        comics().draw();
        std::vector<float> alphas;
        for (const RecordedDraw& call : KGraphicRecorder::calls())
            if (call.operation == "blitAlphaRectFx" && call.args[2] == 256) alphas.push_back(call.args[8]);
        return alphas;
    }
};

} // namespace

TEST_F(ComicManagerTest, TheFiveScenesAreBuiltAtStartUpWithoutPictures) {
    const std::vector<std::vector<size_t>> pagesOfFrames = {{6, 5}, {6}, {3}, {3}, {4}};
    for (int s = 0; s < 5; s++) {
        const ComicScene* scene = comics().scene(s);
        ASSERT_NE(scene, nullptr);
        EXPECT_TRUE(scene->active);
        ASSERT_EQ(scene->pages.size(), pagesOfFrames[size_t(s)].size()) << s;
        for (size_t p = 0; p < scene->pages.size(); p++) {
            EXPECT_EQ(scene->pages[p]->frames.size(), pagesOfFrames[size_t(s)][p]) << s;
            for (const auto& frame : scene->pages[p]->frames) {
                EXPECT_EQ(frame->picture, nullptr);
                EXPECT_EQ(frame->fadeInTime, 1.5);
            }
        }
    }
    EXPECT_EQ(comics().scene(5), nullptr);
    const ComicFrame& tenth = *comics().scene(0)->pages[1]->frames[3];
    EXPECT_EQ(tenth.fileName, "scene1frame10.jpg");
    EXPECT_EQ(tenth.x, 140);
    EXPECT_EQ(tenth.y, 272);
    EXPECT_EQ(comics().scene(4)->pages[0]->frames[0]->x, 110);
}

TEST_F(ComicManagerTest, PicturesFadeInOneAfterAnotherAndNextTurnsThePageThenStartsTheLevel) {
    const int before = livePictures();
    comics().enter();
    EXPECT_EQ(livePictures(), before + 7) << "the button sheet and the six pictures of the first page";
    EXPECT_EQ(comicFilesLoaded(),
              (std::vector<std::string>{"scene1frame01.jpg", "scene1frame02.jpg", "scene1frame03.jpg",
                                        "scene1frame04.jpg", "scene1frame05.jpg", "scene1frame06.jpg"}));
    EXPECT_EQ(comics().getGoButton()->hintText, "Go straight to game");
    EXPECT_EQ(comics().getNextButton()->hintText, "Next comic");

    idle(comics(), 48);
    EXPECT_EQ(drawnAlphas(), (std::vector<float>{0.5f}));
    idle(comics(), 48); // 1.5 s: the first is full, the second starts on the next pass
    EXPECT_EQ(page().revealIndex, 1);
    idle(comics());
    const std::vector<float> alphas = drawnAlphas();
    ASSERT_EQ(alphas.size(), 2u);
    EXPECT_FLOAT_EQ(alphas[0], 1.0f);
    EXPECT_FLOAT_EQ(alphas[1], float(kPass / 1.5));
    idle(comics(), 6 * 96 - 97 - 1);
    EXPECT_FALSE(page().revealed);
    idle(comics()); // 9 s
    EXPECT_TRUE(page().revealed);
    EXPECT_EQ(drawnAlphas(), std::vector<float>(6, 1.0f));

    clickNext();
    EXPECT_TRUE(page().ending);
    idle(comics(), 16); // the fade-out runs from the pass after the click
    EXPECT_FLOAT_EQ(drawnAlphas()[0], 0.5f) << "the page fades out over half a second";
    idle(comics(), 16);
    EXPECT_EQ(comics().scene(0)->currentPage, 1);
    EXPECT_EQ(comicFilesLoaded(),
              (std::vector<std::string>{"scene1frame07.jpg", "scene1frame08.jpg", "scene1frame09.jpg",
                                        "scene1frame10.jpg", "scene1frame11.jpg"}));
    EXPECT_EQ(livePictures(), before + 6);

    clickNext(); // reveals the second page
    clickNext(); // turns it: the last page, so the scene ends
    EXPECT_EQ(StateRequest.id, kNoProgramState);
    idle(comics(), 32);
    EXPECT_TRUE(comics().scene(0)->finished);
    EXPECT_TRUE(requested(kStateLevelSelect)) << "the level started without its comic (and, unlisted, fell back)";
    comics().leave();
    EXPECT_EQ(livePictures(), before);
    EXPECT_TRUE(boxes.empty()) << boxes.front();
}

TEST_F(ComicManagerTest, NextDuringTheFirstFadeShowsTheWholePageAtFullStrength) {
    comics().enter();
    idle(comics(), 10);
    clickNext();
    EXPECT_TRUE(page().revealed);
    EXPECT_FALSE(page().ending);
    EXPECT_EQ(drawnAlphas(), std::vector<float>(6, 1.0f));
    KGraphicRecorder::clearCalls();
    comics().draw();
    const std::vector<RecordedDraw> fills = sharedCalls();
    ASSERT_GE(fills.size(), 2u);
    EXPECT_EQ(fills[0].args, (std::vector<float>{0, 0, 800, 600, 1, 1, 1, 1}));
    EXPECT_EQ(fills[1].args, (std::vector<float>{0, 0, 800, 600, 0, 0, 0.2f, 1}));
    comics().leave();
}

TEST_F(ComicManagerTest, GoStraightToGameStartsTheLevelFromAnyPage) {
    LevelStartRequest.comicScene = 1;
    LevelStartRequest.comicLevelIndex = 20;
    comics().enter();
    EXPECT_EQ(comics().getCurrentScene(), 1);
    EXPECT_EQ(comics().getLevelIndex(), 20);
    EXPECT_EQ(comicFilesLoaded().front(), "scene2frame1.jpg");
    idle(comics(), 5);
    clickGo();
    EXPECT_TRUE(requested(kStateLevelSelect));
    EXPECT_FALSE(comics().scene(1)->finished);
    comics().leave();
}

TEST_F(ComicManagerTest, OpenedForNoLevelTheSceneEndsOnTheStudioLogo) {
    LevelStartRequest.comicScene = 4;
    LevelStartRequest.comicLevelIndex = -1;
    comics().enter();
    EXPECT_EQ(comicFilesLoaded(), (std::vector<std::string>{"scene5frame1.jpg", "scene5frame2.jpg", "scene5frame3.jpg",
                                                            "scene5frame4.jpg"}));
    clickNext();
    clickNext();
    idle(comics(), 32);
    EXPECT_TRUE(requested(kStateLogoIntro));
    comics().leave();

    // A scene number outside the five plays nothing and goes straight on.
    StateRequest = StateRequestRecord();
    LevelStartRequest.comicScene = 9;
    comics().enter();
    idle(comics());
    EXPECT_TRUE(requested(kStateLogoIntro));
    comics().draw();
    comics().leave();
}
