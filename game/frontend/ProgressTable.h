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
    // The file holds what the lists may lack (it could not be read, or it is damaged and no copy of it could be
    // kept): the next save reads it again and merges the lists into it rather than replace it without them.
    bool fileHoldsMore = false;

    std::vector<LevelRecord>& list(int32_t kind) { return lists[size_t(kind)]; }
};
extern ProgressTableRecord ProgressTable;

constexpr int32_t kProgressVersion = 1;
constexpr int32_t kMaxRecordNameBytes = 500; // a stored name length, its NUL included

std::string progressFilePath(); // the per-user folder + "completedlevels"

// The file's bytes for a table (always version 1, lists in the order Action, Custom, Stunt, Race).
std::vector<unsigned char> encodeProgress(const ProgressTableRecord& table);
// Parses a file into out: each list in name order, the records of one name merged, values outside what the
// game stores (medal, difficulty, game mode, a negative or non-finite time) set to their defaults and the
// statistics held to what one run reaches (Gold Radudods 0 .. 5, enemies 0 .. 100 percent, scores 0 or more). True for
// a whole file; for a damaged one false, error says what is wrong and where, and out holds every whole record read
// before the damage.
bool decodeProgress(const unsigned char* bytes, size_t size, ProgressTableRecord& out, std::string& error);

// What reading the progress file found: the damage (empty for a whole or a missing file), where the damaged
// file was moved (empty when it was not), and whether the file could not be read at all.
struct ProgressReadResult {
    std::string damage;
    std::string movedTo;
    bool unreadable = false;
};
// Reads the file into ProgressTable. A missing file is created from the current lists. An unreadable one is
// left alone with the lists as they are, and is never replaced by a file made without it: each later save
// first reads it again and merges the lists into what it holds, and fails while it still cannot be read. A
// damaged file gives the records read before the damage; it is kept whole as "completedlevels.damaged"
// (".damaged.1", ".damaged.2", ... when that name is taken, so no earlier copy is replaced), and those records
// replace it at once by rename, so that at every moment one of the two files holds them.
ProgressReadResult readProgress();
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
// loaded level) and rewrites the file. When the file cannot be written the result stays in the lists for the
// next save and the player is told, once in a run, with the box "Failed to Save Progress". Called only while no
// cheat is on.
void recordLevelResult(const LevelRunResult& run);

int32_t totalGoldZuzevirs();  // over the Action list
int32_t countPerfectLevels(); // Action records with every enemy destroyed
