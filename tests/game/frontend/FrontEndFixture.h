// A fixture for the front-end screens without a window: recording pictures, the shared drawing object, the
// game's real pictures and bitmap fonts from the data folder, the sound table on the hand-stepped mixer, the
// back key, the cheat list and the program-state objects. Input is scripted pass by pass: the mouse as the
// poll leaves it and keys through ScriptedKeys. Any "Failed to Load Picture" box is collected.
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
#include "MouseCursor.h"
#include "ProgramStates.h"
#include "SoundTable.h"
#include "Tooltip.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class FrontEndTest : public testing::Test {
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
        constructProgramStates();
        MouseState = MouseStateRecord();
        StateRequest = StateRequestRecord();
        clearTooltip();
        savedFrameTime = frameTime;
        frameTime = kPass;
        KGraphicRecorder::clearCalls();
    }
    void TearDown() override {
        destroyProgramStates();
        setCheatProgressReader(nullptr);
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

    static int livePictures() { return KGraphicRecorder::instances().count; }
    static std::vector<std::string> loadedFiles() {
        std::vector<std::string> names;
        KGraphicRecorder::instances().forEach([&](KGraphicRecorder* picture) {
            if (picture->hasPicture()) {
                const std::string& path = picture->fileName();
                names.push_back(path.substr(path.rfind('/') + 1));
            }
        });
        return names;
    }
    static std::vector<RecordedDraw> sharedCalls() {
        return KGraphicRecorder::callsOn(static_cast<KGraphicRecorder*>(sharedGraphic));
    }
    static bool requested(int32_t id) { return StateRequest.id == id && StateRequest.mode == kLeaveAndEnter; }

    ScopedGraphicRecording recording;
    TempUserFolder home;
    HandSteppedSound sound;
    ScriptedKeys keys;
    std::vector<std::string> boxes;
    double savedFrameTime = 0;
};
