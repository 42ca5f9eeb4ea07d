// The level-start operations: every way into a level (level select, the comic before some Action levels,
// restart and next level) records the list kind and index, loads the level file and requests the game state.
#pragma once

#include <cstdint>

// What a start leaves for the screens that come next: the help page the game state opens when it enters
// (-1 none; the game state clears it when it opens the page), and the comic scene to play with the Action
// level the comic starts when it ends.
struct LevelStartRequestRecord {
    int32_t helpPageOnEnter = -1;
    int32_t comicScene = 0;
    int32_t comicLevelIndex = 0;
};
extern LevelStartRequestRecord LevelStartRequest;

constexpr int32_t kHelpPageRacing = 4;
constexpr int32_t kHelpPageStunt = 5;

// Each starts the level at that index of its list; an index past the end, or a level file that cannot be
// loaded (a message box names the file and says why), returns to the level select and leaves the current
// level as it was.
void startActionLevel(int32_t index, bool withComic);
void startStuntLevel(int32_t index);
void startRaceLevel(int32_t index);
void startCustomLevel(int32_t index);
void startLevelOfKind(int32_t kind, int32_t index); // Action without its comic

// The current level again (an Action level without its comic).
void restartCurrentLevel();
// "Play the next level". With a cheat on, only past a level already completed without cheats.
void startNextLevel(bool anyCheatOn);

// Action levels 0, 20, 30 and 40 open with comic scene 0 .. 3: asks for the comic state and reports true.
bool startComicForLevel(int32_t index);
// Action levels 0 .. 3 open the help page of the same number with the level.
void setHelpPageForLevel(int32_t index);
