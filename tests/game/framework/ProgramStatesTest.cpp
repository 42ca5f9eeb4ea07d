// The state switch: leave and enter by transition mode, ids that name no state, the quit request, and the
// deactivation that opens the pause menu during play.
#include "ProgramStates.h"
#include "GF_GameEngine.h"
#include "GF_LogoIntro.h"
#include "GF_OptionsMenu.h"
#include "GameShell.h"
#include "GameWindow.h"
#include "HostWindow.h"
#include "KWindowD3D.h"
#include "KWindowEvent.h"
#include "RecordingState.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

using Log = std::vector<std::string>;

// Recording states in every slot that has an object, named by their id; state 3 is current.
class StateSwitch : public testing::Test {
protected:
    void SetUp() override {
        for (int id : {1, 2, 3, 4, 5, 6, 7, 9, 10})
            programStates[size_t(id)] = std::make_unique<RecordingState>(std::to_string(id), log);
        currentState = programStates[3].get();
        StateRequest = StateRequestRecord();
    }
    void TearDown() override {
        destroyProgramStates();
        StateRequest = StateRequestRecord();
    }
    Log log;
};

} // namespace

TEST_F(StateSwitch, LeaveAndEnterFollowTheModeAndTheIdPicksTheState) {
    const struct {
        int32_t id, mode;
        Log expected;
        int currentAfter;
    } cases[] = {
        {4, kEnterOnly, {"4.enter"}, 4},
        {4, kLeaveOnly, {"3.leave"}, 4}, // the new state resumes without enter
        {4, kLeaveAndEnter, {"3.leave", "4.enter"}, 4},
        {1, kLeaveOnly, {"3.leave"}, 1},
        {10, kLeaveAndEnter, {"3.leave", "10.enter"}, 10},
        {8, kLeaveAndEnter, {"3.leave", "3.enter"}, 3}, // ids naming no state keep the current one
        {11, kLeaveAndEnter, {"3.leave", "3.enter"}, 3},
        {99, kEnterOnly, {"3.enter"}, 3},
    };
    for (const auto& c : cases) {
        currentState = programStates[3].get();
        log.clear();
        requestProgramState(c.id, c.mode);
        switchProgramState();
        EXPECT_EQ(log, c.expected) << "id " << c.id << " mode " << c.mode;
        EXPECT_EQ(currentState, programStates[size_t(c.currentAfter)].get()) << "id " << c.id;
        EXPECT_EQ(StateRequest.id, kNoProgramState);
    }
}

TEST_F(StateSwitch, QuitWithMode2LeavesAndReentersThenClosesTheWindow) {
    KWindowD3D window; // never opened: only its quit flag is used
    gameWindow = &window;
    requestProgramState(kQuitProgram, kLeaveAndEnter);
    switchProgramState();
    gameWindow = nullptr;
    host::clearQuitPosted();
    EXPECT_EQ(log, (Log{"3.leave", "3.enter"}));
    EXPECT_EQ(currentState, programStates[3].get());
    EXPECT_TRUE(window.isQuitRequested());
}

TEST_F(StateSwitch, ALaterRequestReplacesAnEarlierOne) {
    requestProgramState(4, kLeaveAndEnter);
    requestProgramState(9, kEnterOnly);
    switchProgramState();
    EXPECT_EQ(log, (Log{"9.enter"}));
    EXPECT_EQ(currentState, programStates[9].get());
}

TEST(ProgramStates, TheNineStatesAreMadeAndTheOptionsScreenReturnsToTheMainMenu) {
    constructProgramStates();
    for (int id = 0; id < kProgramStateSlots; ++id)
        EXPECT_EQ(programStates[size_t(id)] != nullptr, id != 0 && id != 8) << id;
    EXPECT_NE(dynamic_cast<GF_GameEngine*>(programStates[kStateGameEngine].get()), nullptr);
    EXPECT_NE(dynamic_cast<GF_LogoIntro*>(programStates[kStateLogoIntro].get()), nullptr);
    auto* options = dynamic_cast<GF_OptionsMenu*>(programStates[kStateOptionsMenu].get());
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->getReturnTarget(), kStateMainMenu);
    destroyProgramStates();
    for (const auto& state : programStates) EXPECT_EQ(state, nullptr);
    EXPECT_EQ(currentState, nullptr);
}

TEST(WindowEvents, DeactivationOpensThePauseMenuOnceAndOnlyDuringPlay) {
    constructProgramStates();
    auto* game = static_cast<GF_GameEngine*>(programStates[kStateGameEngine].get());
    WindowEvent deactivated;
    deactivated.type = K_EVENT_DEACTIVATED;
    WindowEvent activated;
    activated.type = K_EVENT_ACTIVATED;

    currentState = programStates[kStateMainMenu].get();
    EXPECT_TRUE(onWindowEvent(&deactivated));
    EXPECT_EQ(game->getOpenOverlay(), nullptr); // another screen: nothing happens

    currentState = game;
    EXPECT_TRUE(onWindowEvent(&activated));
    EXPECT_EQ(game->getOpenOverlay(), nullptr); // other events are ignored
    EXPECT_TRUE(onWindowEvent(&deactivated));
    EXPECT_EQ(game->getOpenOverlay(), game->getOverlay(kOverlayPause));
    EXPECT_TRUE(onWindowEvent(&deactivated)); // already paused: unchanged
    EXPECT_EQ(game->getOpenOverlay(), game->getOverlay(kOverlayPause));
    destroyProgramStates();
}
