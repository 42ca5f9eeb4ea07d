// The level-failed overlay: its panel by game mode, the needed-and-reached lines and its two ways on.
#include "GF_FailedMenu.h"

#include "InputState.h"
#include "LevelFile.h"
#include "LevelStart.h"
#include "Medals.h"
#include "MenuPieces.h"
#include "OverlayHost.h"
#include "ProgramStates.h"
#include "TextTools.h"

void GF_FailedMenu::enter() {
    const int32_t mode = CurrentLevelGoals.gameMode;
    const bool action = mode == kGameModeAction;
    beginEnter("menutitles1.png", /*titleTop=*/128, 300, action ? 250 : 300);
    addButton(kMenuButtonSelectLevel, action ? 300 : 325, "Select a new level to play");
    addButton(kMenuButtonRestart, action ? 345 : 370, "Play this level again");

    const LevelRunResult run = host ? host->getRunResult() : LevelRunResult();
    if (mode == kGameModeRace) {
        addText("Your Time: " + (host ? host->getLevelTimeText() : formatTime(run.levelTime)), 130);
        addText("Needed Time: " + formatTime(CurrentLevelGoals.medalTimes[kMedalBronze]), 150);
    } else if (mode == kGameModeStunt) {
        addText("Your Score: " + intToGroupedString(run.bankedTrickPoints), 130);
        addText("Needed Score: " + intToGroupedString(CurrentLevelGoals.medalScores[kMedalBronze]), 150);
    }
}

void GF_FailedMenu::update() {
    updateButtons();
    if (clicked(kSelectLevel) || backKeyReleased())
        requestProgramState(kStateLevelSelect, kLeaveAndEnter);
    else if (clicked(kPlayAgain))
        restartCurrentLevel();
}
