// The sprite-sheet table: the game's 37 sheets under fixed numbers, with their frames and hotspots. Code
// everywhere draws by sheet and frame number. Seven entries hold the pictures of the current tile set.
#pragma once

#include <string>

class SpriteSheet;

constexpr int kSpriteSheetCount = 37;

// Builds the 37 entries in number order, loads tile set 4 into the theme entries and cuts their frames.
void loadSpriteSheets();
// Entry n, or null outside the table (or before loadSpriteSheets).
SpriteSheet* getSpriteSheet(int n);
// Loads a new picture into entry n; its frames stay as they were cut.
void replaceSpriteSheet(const std::string& fileName, int n);
// Deletes every entry and empties the table.
void freeSpriteSheets();
