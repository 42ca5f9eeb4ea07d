// A fixture for the level select and the in-level menus without a window: recording pictures, the shared
// drawing object, the game's real pictures and bitmap fonts from the data folder, the sound table on the
// hand-stepped mixer, the back key and the cheat list. Input is scripted pass by pass: the mouse as the poll
// leaves it and the back key through ScriptedKeys. Catalogue, progress and level goals are reset afterwards.
#pragma once

#include "../framework/HandSteppedSound.h"
#include "../framework/ScriptedKeys.h"
#include "../framework/TempUserFolder.h"
#include "BitmapFonts.h"
#include "CheatList.h"
#include "FrameClock.h"
#include "GF_ProgramState.h"
#include "GameWindow.h"
#include "HostSystem.h"
#include "InputState.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "LevelCatalogue.h"
#include "LevelFile.h"
#include "LevelStart.h"
#include "MouseCursor.h"
#include "ProgramStates.h"
#include "ProgressTable.h"
#include "SoundTable.h"
#include "Tooltip.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class MenuScreenTest : public testing::Test {
protected:
    static constexpr double kPass = 1.0 / 64; // exact in binary

    void SetUp() override {
        host::setMessageBoxHandler(
            [this](const std::string& caption, const std::string& text) { boxes.push_back(caption + ": " + text); });
        sharedGraphic = createGraphic();
        loadBitmapFonts();
        buildSoundTable();
        createBackKey();
        buildCheatList();
        MouseState = MouseStateRecord();
        StateRequest = StateRequestRecord();
        clearTooltip();
        savedFrameTime = frameTime;
        frameTime = kPass;
        KGraphicRecorder::clearCalls();
    }
    void TearDown() override {
        freeCheatList();
        deleteBackKey();
        freeSoundTable();
        freeBitmapFonts();
        delete sharedGraphic;
        sharedGraphic = nullptr;
        MouseState = MouseStateRecord();
        StateRequest = StateRequestRecord();
        CursorKind = kCursorArrow;
        clearTooltip();
        frameTime = savedFrameTime;
        host::setMessageBoxHandler(nullptr);
        clearLevelCatalogue();
        LevelCatalogue.currentKind = kListAction;
        LevelCatalogue.currentIndex = -1;
        LevelStartRequest = LevelStartRequestRecord{};
        ProgressTable = ProgressTableRecord{};
        CurrentLevelGoals = LevelGoals{};
    }

    // One pass of the main loop for the state: the mouse poll's result, the back key, the update.
    void pass(GF_ProgramState& state, int x, int y, bool down) {
        MouseState.leftBefore = MouseState.leftNow;
        MouseState.leftNow = down;
        MouseState.x = x;
        MouseState.y = y;
        BackKey->update();
        state.update();
    }
    void idle(GF_ProgramState& state, int passes = 1) {
        for (int i = 0; i < passes; i++) pass(state, MouseState.x, MouseState.y, false);
    }
    // Moves onto the point, presses and releases there: three passes, the click on the last.
    void click(GF_ProgramState& state, int x, int y) {
        pass(state, x, y, false);
        pass(state, x, y, true);
        pass(state, x, y, false);
    }
    // The back key pressed for a pass and released on the next.
    void pressBack(GF_ProgramState& state) {
        keys.press(0x1B);
        idle(state);
        keys.release(0x1B);
        idle(state);
    }
    static std::vector<RecordedDraw> sharedCalls() {
        return KGraphicRecorder::callsOn(static_cast<KGraphicRecorder*>(sharedGraphic));
    }
    static bool requested(int32_t id) { return StateRequest.id == id && StateRequest.mode == kLeaveAndEnter; }
    // A level file with default contents but the given game mode, in the test's folder.
    std::string levelFile(const std::string& name, int32_t mode) {
        LevelData level;
        level.goals.gameMode = mode;
        const std::string path = folder.file(name);
        EXPECT_TRUE(writeLevelData(path, level));
        return path;
    }

    ScopedGraphicRecording recording;
    TempUserFolder home;
    TempFolder folder;
    HandSteppedSound sound;
    ScriptedKeys keys;
    std::vector<std::string> boxes;
    double savedFrameTime = 0;
};
