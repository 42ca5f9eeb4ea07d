// The level-complete overlay: its panel by game mode, the result lines and its three ways on.
#include "GF_CompleteMenu.h"

#include "CheatList.h"
#include "InputState.h"
#include "LevelFile.h"
#include "LevelStart.h"
#include "Medals.h"
#include "MenuPieces.h"
#include "OverlayHost.h"
#include "ProgramStates.h"
#include "SoundTable.h"
#include "TextTools.h"

namespace {
constexpr int kLaughSound = 6;
} // namespace

void GF_CompleteMenu::enter() {
    const int32_t mode = CurrentLevelGoals.gameMode;
    const bool tall = mode == kGameModeAction || mode == kGameModeStunt;
    beginEnter("menutitles1.png", /*titleTop=*/0, 304, tall ? 385 : 355);
    const int firstY = tall ? 340 : mode == kGameModeRace ? 315 : 365;
    addButton(kMenuButtonSelectLevel, firstY, "Select a new level to play");
    addButton(kMenuButtonRestart, firstY + 45, "Play this level again");
    addButton(kMenuButtonNextLevel, firstY + 90, "Play the next level");
    if (SoundEntry* laugh = getSoundEntry(kLaughSound)) laugh->play(1.0, 0.0);

    const LevelRunResult run = host ? host->getRunResult() : LevelRunResult();
    const std::string time = "Your Time: " + (host ? host->getLevelTimeText() : formatTime(run.levelTime));
    const std::string medal = std::string("Medal Awarded: ") + medalName(run.medal);
    if (mode == kGameModeAction) {
        addText(time, 145);
        addText("Enemies Destroyed: " + intToString(run.enemiesPercent) + "%", 165);
        addText("Ruri Veruders: " + intToString(run.goldZuzevirs) + " out of 5", 185);
    } else if (mode == kGameModeStunt) {
        addText("Score: " + intToGroupedString(run.bankedTrickPoints), 145);
        addText("Best Trick: " + intToGroupedString(run.bestTrick), 170);
        addText(medal, 195);
    } else if (mode == kGameModeRace) {
        addText(time, 135);
        addText(medal, 160);
    }
}

void GF_CompleteMenu::update() {
    updateButtons();
    if (clicked(kSelectLevel) || backKeyReleased())
        requestProgramState(kStateLevelSelect, kLeaveAndEnter);
    else if (clicked(kPlayAgain))
        restartCurrentLevel();
    else if (clicked(kNextLevel))
        startNextLevel(anyCheatOn());
}
