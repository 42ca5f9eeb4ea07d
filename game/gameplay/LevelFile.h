// The ".lvl" level file: one level's theme, eight tile layers, collision and substance grids, size, clip level,
// camera bounds, entity placements, end marker and goals. The bytes are parsed into a plain LevelData record
// first and applied to the global level model only when the whole file has been read and checked.
#pragma once

#include "CellGrid.h"
#include "EntityPlacement.h"
#include "TerrainCodes.h"

#include <array>
#include <cstddef>
#include <cstdint>
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

// A tile layer as the file holds it: its grid (row-major, index = col + row x cols) and its two clip lines.
struct LevelLayerData {
    TileGrid tiles;
    double clipBelowY = -1.0; // -1 = no clip line
    double clipAboveY = -1.0;
};

// Everything one level file holds, with the values of the empty default level.
struct LevelData {
    int32_t version = 1;
    int32_t tileSet = 4;
    std::array<LevelLayerData, kTileLayerCount> layers; // in TileLayerId order
    ByteGrid collision;                                 // CollisionShapeCode per cell
    ByteGrid substance;                                 // SubstanceCode per cell
    double levelWidth = 10000.0, levelHeight = 5000.0, clipLevel = 1500.0;
    int32_t boundsLeft = 0, boundsRight = 10000, boundsTop = 0, boundsBottom = 5000;
    std::vector<PlacementFields> placements; // type, x, y, velocity x, velocity y, rotation, Var 1 .. Var 8
    double endLevelX = 0.0, endLevelY = 0.0;
    LevelGoals goals;
};

// A level side may be at most as long as the tile map's grids can hold (kMaxGridSide cells).
constexpr double kMaxLevelSide = double(kMaxGridSide) * kTileSize;
constexpr int32_t kBackLayerMinWidth = 18; // Back Water and Back Air are widened to this on read

// Parses a whole file. On success out holds the level (the two back layers widened, their sky rows
// continued) and true is returned; otherwise out is untouched and error says what is wrong and where.
bool parseLevelFile(const unsigned char* bytes, size_t size, LevelData& out, std::string& error);
// The file's bytes for the level, always as version 1.
std::vector<unsigned char> encodeLevelFile(const LevelData& level);

// File access: a failed read (no file, or a damaged one) leaves out as it was, a failed write the old file.
// Either failure leaves its reason in LevelFileFailure.
bool readLevelData(const std::string& path, LevelData& out);
bool writeLevelData(const std::string& path, LevelData& level); // as given; the version becomes 1

// Why the last read or write of a level file failed: the reader's reason for a damaged file ("unknown game
// mode at byte 1234"), or what kept the file from being opened or written. Empty after a success.
extern std::string LevelFileFailure;
// Tell the user, in a message box naming the file, that the level at path did not load or was not saved, and
// why (most often LevelFileFailure).
void showLevelLoadFailure(const std::string& path, const std::string& reason);
void showLevelSaveFailure(const std::string& path, const std::string& reason);

// The level's own globals beside the tile map: its goals, the end marker and the version of the file last
// read or written.
extern LevelGoals CurrentLevelGoals;
extern double EndLevelX, EndLevelY;
extern int32_t LevelVersion;
// The Race goal: how many hoops the level has, and how many the player has passed (0 after every read).
extern int32_t RequiredHoops, PassedHoops;
// The enemies that the last loadLevel spawned (the game state's enemy total; the "No Enemies" cheat spawns none).
extern int32_t LevelEnemyTotal;

// Reads the file into the level model (the tile map and its theme, the placement list, the spatial grid's
// size, the goals and end marker); false, and the model unchanged, when it cannot be read or is damaged.
bool readLevelFile(const std::string& path);
// Writes the level model without the placements outside the level, and deletes those from the list once the
// file is written; rebuilds the level catalogue so that a newly saved level is listed at once. False on
// failure, with the old file and the level model kept as they were.
bool writeLevelFile(const std::string& path);
// The game's load: readLevelFile, then the Gold Radudod meter reset, the spatial grid emptied, the last
// level's player let go and every placement spawned.
bool loadLevel(const std::string& path);
bool loadLevelFileForEditor(const std::string& path);
bool saveLevelFileForEditor(const std::string& path);
