// What the reliability tests do with the whole game through its shell: a small custom level that can be played
// to its end, the way from the logo to the custom levels' select screen, and play until the level is complete.
#pragma once

#include "../game/framework/ScriptedShell.h"
#include "GF_GameEngine.h"
#include "GF_GameSelect.h"
#include "GF_MainMenu.h"
#include "LevelCatalogue.h"
#include "LevelFile.h"
#include "ProgramStates.h"

namespace shell_play {

// 20 x 12 cells of open water; the player starts at (300, 400) facing right and the end marker waits 400 pixels
// ahead, so holding "right" finishes the level in a few seconds of play.
inline LevelData openWaterLevel() {
    constexpr int32_t cols = 20, rows = 12;
    LevelData level;
    for (LevelLayerData& layer : level.layers) layer.tiles.reset(cols, rows);
    level.collision.reset(cols, rows);
    level.substance.reset(cols, rows);
    level.levelWidth = cols * 64.0;
    level.levelHeight = rows * 64.0;
    level.clipLevel = 0;
    level.boundsRight = int32_t(level.levelWidth);
    level.boundsBottom = int32_t(level.levelHeight);
    level.placements.push_back({0, 300, 400, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    level.endLevelX = 700;
    level.endLevelY = 400;
    return level;
}

// From the logo (any key skips it) through the main menu and the game select to the level select of the
// custom levels; true when it is there.
inline bool reachCustomLevelSelect(ScriptedShell& shell) {
    host::setCursorOverride(790, 590);
    shell.passes(3);
    shell.tapKey(0x20);
    shell.passes(1);
    auto* menu = static_cast<GF_MainMenu*>(programStates[kStateMainMenu].get());
    if (currentState != menu || !shell.clickButton(menu->getButton(GF_MainMenu::kPlay))) return false;
    shell.passes(1);
    auto* select = static_cast<GF_GameSelect*>(programStates[kStateGameSelect].get());
    if (currentState != select || !shell.clickButton(select->getButton(GF_GameSelect::kCustom))) return false;
    shell.passes(1);
    return currentState == programStates[kStateLevelSelect].get();
}

// Holds "right" (the pointer ahead of the player) until the level-complete menu opens; true when it did
// within the passes given.
inline bool playToTheEnd(ScriptedShell& shell, int maxPasses) {
    GF_GameEngine* game = getGameEngine();
    host::setCursorOverride(790, 300);
    shell.keys.press('D');
    bool completed = false;
    for (int i = 0; i < maxPasses && !completed; i++) {
        shell.passes(1);
        completed = currentState == game && game->getOpenOverlayKind() == kOverlayComplete;
    }
    shell.keys.release('D');
    return completed;
}

} // namespace shell_play
