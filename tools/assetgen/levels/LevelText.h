// The shipped levels' text format: one readable file per level (name, tile set, goals, the terrain as a grid
// of characters, optional decoration grids, entities as lines, the end marker and the scripted player's
// route), its parser with file-and-line errors, and the listing of the level files of a levels folder.
// The format itself is described in levels/README.md.
#pragma once

#include "EntityPlacement.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

enum class LevelTextKind { Action, Stunt, Race, Default };

// One command of the scripted player's route.
struct RouteCommand {
    enum Kind { Go, Clear, Wait, Leap, Flip, Dive, Repeat };
    Kind kind = Go;
    double col = 0, row = 0; // go, clear: the cell; leap: the column
    double amount = 0;       // clear: radius in cells; wait: seconds; flip: turns
    int line = 0;            // where it stands in its file
    std::string text;        // as written, for reports
};

// A terrain cell: open, or a solid cell of one of the auto-tiling terrain groups.
constexpr int kTerrainOpen = 0;
constexpr int kTerrainGroupCount = 5; // sand, rock, dark rock, coral, second coral (brush groups 1 .. 5)
// The terrain group of a grid character (1 .. 5), 0 for open water or air ('.' and '~'), -1 for no terrain
// character.
int terrainGroupOfChar(char c);
// The tile codes a decoration character stands for (one is picked per cell); empty for no decoration character.
const std::vector<uint16_t>& decorTilesOfChar(char c);

struct LevelText {
    std::string path;
    LevelTextKind kind = LevelTextKind::Action;
    int number = 0; // 1 .. 99 from the file name; 0 for the default level
    std::string name;
    int tileSet = 0;
    uint32_t seed = 0;
    std::vector<std::string> terrain; // rows of equal length, top row first
    int surfaceRow = 0;
    std::vector<std::string> decorBehind, decorFront; // empty, or the terrain's size
    std::vector<EntityPlacement> entities;
    std::vector<int> entityLines;
    bool hasEndMarker = false;
    double endCol = 0, endRow = 0;
    std::array<int32_t, 3> medalScores = {1000, 2000, 3000}; // Stunt, bronze .. gold
    double timeLimit = 60;                                   // Stunt
    std::array<double, 3> medalTimes = {20, 18, 17};         // Race, bronze .. gold
    std::vector<RouteCommand> route;

    int cols() const { return terrain.empty() ? 0 : int(terrain.front().size()); }
    int rows() const { return int(terrain.size()); }
    int32_t gameMode() const;
    // The ".lvl" path below the data folder: "levels/07.Name.lvl", "stuntlevels/..", "racelevels/..",
    // "levels/default.lvl".
    std::string outputPath() const;
};

// Reads and checks a whole file. On failure error holds "path:line: what is wrong".
bool parseLevelText(const std::string& path, LevelText& out, std::string& error);

// The word a level file names an entity kind by ("missilefish"); the kind's number for a kind with no word.
std::string kindWordOf(int32_t type);

// The world pixel of a cell coordinate (the cell's centre; half cells allowed).
int32_t cellCentre(double cell);

// The level files below a levels folder, in a fixed order: default.txt, then action/, stunt/ and race/, each by
// file name. Other files of those folders are listed too, so that the parser reports a badly named one.
std::vector<std::string> findLevelTextFiles(const std::string& levelsFolder);
