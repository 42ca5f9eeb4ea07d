// The player's progress: one LevelRecord per level shown or played, in four name-sorted lists (Action, Stunt,
// Race, Custom), and the binary "completedlevels" file in the per-user folder that keeps them. A finished
// level's result is merged into its record, keeping the best of each statistic, and the file is rewritten.
#pragma once

#include "LevelCatalogue.h"

#include <array>
#include <cfloat>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct LevelRecord {
    std::string name; // the level's display name, number prefix kept
    bool completed = false;
    double bestTime = DBL_MAX; // seconds
    int32_t enemiesPercent = 0;
    int32_t goldZuzevirs = 0;
    int32_t highestDifficulty = 0;
    int32_t bestScore = 0;
    int32_t bestTrick = 0;
    int32_t gameMode = 0;
    int32_t medal = -1; // 2 Gold, 1 Silver, 0 Bronze, -1 none

    bool operator==(const LevelRecord&) const = default;
};

struct ProgressTableRecord {
    std::array<std::vector<LevelRecord>, kLevelListKinds> lists; // by LevelListKind
    int32_t version = 1;

    std::vector<LevelRecord>& list(int32_t kind) { return lists[size_t(kind)]; }
};
extern ProgressTableRecord ProgressTable;

constexpr int32_t kProgressVersion = 1;
constexpr int32_t kMaxRecordNameBytes = 500; // a stored name length, its NUL included

std::string progressFilePath(); // the per-user folder + "completedlevels"

// The file's bytes for a table (always version 1, lists in the order Action, Custom, Stunt, Race).
std::vector<unsigned char> encodeProgress(const ProgressTableRecord& table);
// Parses a whole file; on success out holds the table (each list in name order) and true is returned,
// otherwise out is untouched and error says what is wrong and where.
bool decodeProgress(const unsigned char* bytes, size_t size, ProgressTableRecord& out, std::string& error);

// Reads the file into ProgressTable. A missing file is created from the current lists. A damaged file is
// moved aside to "completedlevels.damaged" (so nothing of it is lost) and the lists stay as they are; an
// unreadable one is left alone.
void readProgress();
// Writes the whole table through a temporary file; false, and the old file kept, on failure.
bool writeProgress();

// The record of that name in the kind's list; a default one is inserted in name order when it is missing.
LevelRecord findOrAddLevelRecord(int32_t kind, const std::string& name);
LevelRecord findCurrentLevelRecord();
// Keeps the best of each statistic; the game mode is always the result's, the name the stored one.
void mergeLevelRecord(LevelRecord& stored, const LevelRecord& result);

// What one run of the current level achieved, as the game state counts it.
struct LevelRunResult {
    bool won = false;
    double levelTime = 0.0;
    int32_t enemiesPercent = 0;
    int32_t goldZuzevirs = 0;
    int32_t bankedTrickPoints = 0;
    int32_t bestTrick = 0;
    int32_t medal = -1; // for the score (Stunt) or the time (Race); -1 in Action
};
// Merges the run into the current level's record (the difficulty from the options, the game mode from the
// loaded level) and rewrites the file. Called only while no cheat is on.
void recordLevelResult(const LevelRunResult& run);

int32_t totalGoldZuzevirs();  // over the Action list
int32_t countPerfectLevels(); // Action records with every enemy destroyed
