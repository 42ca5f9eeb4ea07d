// The tile-set name table: for each of the five terrain themes, the seven sprite-sheet entries that hold its
// pictures and the picture file of each. The sprite-sheet table loads theme 4 at start-up through it, before
// the rest of the terrain tables exist; levels and the editor switch themes with applyTileSetImages.
#pragma once

#include <string>

enum TileSet : int {
    kTileSetPlain = 0,
    kTileSetSunset = 1,
    kTileSetSnow = 2,
    kTileSetVolcano = 3,
    kTileSetAlien = 4,
};

constexpr int kTileSetCount = 5;
constexpr int kTileSetCells = 7; // the theme sheets 3 (water), 4 (sand), 5 (sky), 6 (rock), 9 (drop), 21, 26

// The theme whose pictures are loaded (4 at start-up).
extern int currentTileSet;

// Fills the five rows with their sheets and file names.
void buildTileSetTable();
void setTileSetTableCell(int row, int cell, int sheet, const std::string& fileName);
// The cell's file name and sprite-sheet index; an empty name and -1 outside the table.
std::string getTileSetTableFileName(int row, int cell);
int getTileSetTableSheet(int row, int cell);
// Reloads the seven sheets of the current theme (replaceSpriteSheet); names already loaded are kept.
void applyTileSetImages();
