// The ".lvl" level file: one level's theme, eight tile layers, collision and substance grids, size, clip level,
// camera bounds, entity placements, end marker and goals. The bytes are parsed into a plain LevelData record
// first and applied to the global level model only when the whole file has been read and checked.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

enum GameMode : int32_t {
    kGameModeAction = 0, // reach the "END LEVEL" marker
    kGameModeStunt = 1,  // score tricks before the time runs out
    kGameModeRace = 2,   // pass every hoop against the clock
};
constexpr int32_t kGameModeCount = 3;

// What a level asks of the player. Medal entries run bronze, silver, gold (the medal indexes 0, 1, 2).
struct LevelGoals {
    std::array<double, 3> medalTimes = {20.0, 18.0, 17.0};   // Race, seconds
    std::array<int32_t, 3> medalScores = {1000, 2000, 3000}; // Stunt, trick points
    double timeLimit = 60.0;                                 // seconds
    int32_t gameMode = kGameModeAction;

    bool operator==(const LevelGoals&) const = default;
};

constexpr int kLevelLayerCount = 8;  // Back Water, Back Air, Mid Water, Mid Air, Front 1 .. Front 4
constexpr int kPlacementFields = 14; // type, x, y, velocity x, velocity y, rotation, Var 1 .. Var 8
using PlacementRecord = std::array<int32_t, kPlacementFields>;

// A grid of cell codes as the file holds it: row-major, index = col + row x cols.
template <typename Code> struct LevelGridData {
    int32_t cols = 0, rows = 0;
    std::vector<Code> cells;

    Code get(int32_t col, int32_t row) const {
        return col >= 0 && col < cols && row >= 0 && row < rows ? cells[size_t(col) + size_t(row) * size_t(cols)]
                                                                : Code(0);
    }
    void set(int32_t col, int32_t row, Code code) {
        if (col >= 0 && col < cols && row >= 0 && row < rows) cells[size_t(col) + size_t(row) * size_t(cols)] = code;
    }
    void reset(int32_t newCols, int32_t newRows) {
        cols = newCols;
        rows = newRows;
        cells.assign(size_t(cols) * size_t(rows), Code(0));
    }
    bool operator==(const LevelGridData&) const = default;
};

struct LevelLayerData {
    LevelGridData<uint16_t> tiles;
    double clipBelowY = -1.0; // -1 = no clip line
    double clipAboveY = -1.0;

    bool operator==(const LevelLayerData&) const = default;
};

// Everything one level file holds, with the values of the empty default level.
struct LevelData {
    int32_t version = 1;
    int32_t tileSet = 4;
    std::array<LevelLayerData, kLevelLayerCount> layers;
    LevelGridData<uint8_t> collision; // collision-shape codes 0 .. 13
    LevelGridData<uint8_t> substance; // 0 water, 1 air, 2 transition
    double levelWidth = 10000.0, levelHeight = 5000.0, clipLevel = 1500.0;
    int32_t boundsLeft = 0, boundsRight = 10000, boundsTop = 0, boundsBottom = 5000;
    std::vector<PlacementRecord> placements;
    double endLevelX = 0.0, endLevelY = 0.0;
    LevelGoals goals;

    bool operator==(const LevelData&) const = default;
};

// The limits a file must keep. A level side of up to 999999 pixels is what the editor accepts; the cell count
// keeps the grids that the model builds from the size within a few tens of megabytes.
constexpr double kMaxLevelSide = 999999.0;
constexpr double kMaxLevelCells = 4194304.0;
constexpr int32_t kMaxGridSide = 65536;
constexpr int32_t kTileCodeLimit = 301;     // tile codes 0 .. 300
constexpr int32_t kCollisionCodeLimit = 14; // collision shapes 0 .. 13
constexpr int32_t kSubstanceCodeLimit = 3;  // substances 0 .. 2
constexpr int32_t kTileSetLimit = 5;        // themes 0 .. 4
constexpr int32_t kHoopType = 24;
constexpr int32_t kBackLayerMinWidth = 18; // Back Water and Back Air are widened to this on read

// Parses a whole file. On success out holds the level (the two back layers widened, their sky rows
// continued) and true is returned; otherwise out is untouched and error says what is wrong and where.
bool parseLevelFile(const unsigned char* bytes, size_t size, LevelData& out, std::string& error);
// The file's bytes for the level, always as version 1.
std::vector<unsigned char> encodeLevelFile(const LevelData& level);
// Deletes the placements that lie outside 0 <= x <= width - 64, 0 <= y <= height - 64 (they are not saved).
void prunePlacements(LevelData& level);

// File access with the log lines of a failure; a failed read leaves out as it was, a failed write the old file.
bool readLevelData(const std::string& path, LevelData& out);
bool writeLevelData(const std::string& path, LevelData& level); // prunes first, version becomes 1

// The parts of the global level model kept by other modules (the tile map and its theme, the placement list,
// the per-level play state) join the level file through these links, called in the order they were added:
// apply fills the part from a parsed file, capture copies it out for saving, startPlay runs when a level
// is loaded for play (after every apply).
struct LevelModelPart {
    std::function<void(const LevelData&)> apply;
    std::function<void(LevelData&)> capture;
    std::function<void()> startPlay;
};
void addLevelModelPart(LevelModelPart part);
void clearLevelModelParts();

// The level's own globals: its goals, the end marker, the version of the file last read or written and
// whether any level has been read (the editor loads "default.lvl" on entry only while none has).
extern LevelGoals CurrentLevelGoals;
extern double EndLevelX, EndLevelY;
extern int32_t LevelVersion;
extern bool LevelLoaded;
// How many hoops the level has (the Race goal).
extern int32_t RequiredHoops;

// Reads the file into the level model; false, and the model unchanged, when it cannot be read or is damaged.
bool readLevelFile(const std::string& path);
// Writes the level model (placements outside the level are deleted from it first) and rebuilds the level
// catalogue so that a newly saved level is listed at once; false, and the old file kept, on failure.
bool writeLevelFile(const std::string& path);
// The game's load: readLevelFile, then the per-level play state and the entities of every placement.
bool loadLevel(const std::string& path);
bool loadLevelFileForEditor(const std::string& path);
bool saveLevelFileForEditor(const std::string& path);
