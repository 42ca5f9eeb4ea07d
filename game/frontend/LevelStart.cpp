// The level-start operations over the level catalogue.
#include "LevelStart.h"

#include "LevelCatalogue.h"
#include "LevelFile.h"
#include "ProgramStates.h"
#include "ProgressTable.h"

#include <array>

LevelStartRequestRecord LevelStartRequest;

namespace {

constexpr std::array<int32_t, 4> kComicLevels = {0, 20, 30, 40}; // scene n opens level kComicLevels[n]
constexpr int32_t kLevelHelpPages = 4;                           // Action levels 0 .. 3 each teach a control

// Loads the entry and asks for the game; false (nothing changed) when the file cannot be loaded, which a
// message box names with the reason.
bool playEntry(int32_t kind, int32_t index) {
    if (!LevelCatalogue.contains(kind, index)) return false;
    const std::string path = LevelCatalogue.list(kind)[size_t(index)].path;
    if (!loadLevel(path)) {
        showLevelLoadFailure(path, LevelFileFailure);
        return false;
    }
    LevelCatalogue.currentKind = kind;
    LevelCatalogue.currentIndex = index;
    requestProgramState(kStateGameEngine, kLeaveAndEnter);
    return true;
}

void returnToLevelSelect() {
    requestProgramState(kStateLevelSelect, kLeaveAndEnter);
}

void startModeLevel(int32_t kind, int32_t index) {
    if (!playEntry(kind, index)) {
        returnToLevelSelect();
        return;
    }
    // The page follows the mode the file declares, so a custom Race level also shows the racing page.
    if (CurrentLevelGoals.gameMode == kGameModeRace) LevelStartRequest.helpPageOnEnter = kHelpPageRacing;
    if (CurrentLevelGoals.gameMode == kGameModeStunt) LevelStartRequest.helpPageOnEnter = kHelpPageStunt;
}

} // namespace

bool startComicForLevel(int32_t index) {
    for (size_t scene = 0; scene < kComicLevels.size(); ++scene)
        if (kComicLevels[scene] == index) {
            LevelStartRequest.comicScene = int32_t(scene);
            LevelStartRequest.comicLevelIndex = index;
            requestProgramState(kStateComicManager, kLeaveAndEnter);
            return true;
        }
    return false;
}

void setHelpPageForLevel(int32_t index) {
    if (index >= 0 && index < kLevelHelpPages) LevelStartRequest.helpPageOnEnter = index;
}

void startActionLevel(int32_t index, bool withComic) {
    if (withComic && startComicForLevel(index)) return;
    // The page is chosen only for a level that starts, so a failed start leaves no page waiting.
    if (playEntry(kListAction, index))
        setHelpPageForLevel(index);
    else
        returnToLevelSelect();
}

void startStuntLevel(int32_t index) {
    startModeLevel(kListStunt, index);
}
void startRaceLevel(int32_t index) {
    startModeLevel(kListRace, index);
}
void startCustomLevel(int32_t index) {
    startModeLevel(kListCustom, index);
}

void startLevelOfKind(int32_t kind, int32_t index) {
    if (kind == kListAction)
        startActionLevel(index, /*withComic=*/false);
    else if (kind == kListStunt || kind == kListRace || kind == kListCustom)
        startModeLevel(kind, index);
    else
        returnToLevelSelect();
}

void restartCurrentLevel() {
    startLevelOfKind(LevelCatalogue.currentKind, LevelCatalogue.currentIndex);
}

void startNextLevel(bool anyCheatOn) {
    const int32_t kind = LevelCatalogue.currentKind;
    if (anyCheatOn && kind != kListCustom && !findOrAddLevelRecord(kind, currentLevelName()).completed) {
        returnToLevelSelect();
        return;
    }
    const int32_t next = LevelCatalogue.currentIndex + 1;
    if (kind == kListAction) {
        if (startComicForLevel(next)) return;
        startActionLevel(next, /*withComic=*/false);
    } else {
        startLevelOfKind(kind, next);
    }
}
