// The saves the reliability tests write again and again: round n of the options, the progress and a custom
// level, each holding n and of a size that changes with n, so that a file cut short or made of two writes
// cannot pass for a whole one; and the round a file's bytes come from.
#pragma once

#include "GameOptions.h"
#include "LevelFile.h"
#include "ProgressTable.h"
#include "SaveFiles.h"

#include <string>
#include <vector>

namespace round_saves {

constexpr int kFiles = 3; // options, progress, level

inline GameOptionsRecord optionsOf(int32_t n) {
    GameOptionsRecord options;
    options.difficulty = n % 5;
    options.musicVolume = double(n % 101) / 100.0;
    options.soundVolume = 1.0 - options.musicVolume;
    options.reserved1 = n;
    options.windowed = n % 2 == 0;
    options.autoAim = n % 3 == 0;
    return options;
}

inline ProgressTableRecord progressOf(int32_t n) {
    ProgressTableRecord table;
    for (int i = 0; i <= n % 6; ++i) {
        LevelRecord record;
        record.name = "Level " + std::to_string(100 + i);
        record.completed = true;
        record.bestTime = n * 0.5;
        record.goldZuzevirs = n % 6;
        table.list(kListAction).push_back(record);
    }
    LevelRecord custom;
    custom.name = "Crash Test";
    custom.bestScore = n;
    table.list(kListCustom).push_back(custom);
    return table;
}

inline LevelData levelOf(int32_t n) {
    LevelData level;
    for (LevelLayerData& layer : level.layers) layer.tiles.reset(18, 10);
    level.layers[kLayerFront1].tiles.set(3, 4, uint16_t(1 + n % 300));
    level.collision.reset(18, 10);
    level.substance.reset(18, 10);
    level.levelWidth = 18 * 64.0;
    level.levelHeight = 10 * 64.0;
    for (int i = 0; i <= n % 4; ++i) level.placements.push_back({0, 64 * i, 64, 0, 0, 0, n, 0, 0, 0, 0, 0, 0, 0});
    level.endLevelX = n;
    return level;
}

// The three files in the per-user folder: options, progress, and the custom level "Crash Test".
inline std::vector<std::string> savePaths() {
    return {optionsFilePath(), progressFilePath(), getCustomLevelsFolder() + "Crash Test.lvl"};
}

// Round n of a file through the game's own writer; true when it was written.
inline bool writeRound(int file, int32_t n) {
    if (file == 0) {
        GameOptions = optionsOf(n);
        return writeOptions();
    }
    if (file == 1) {
        ProgressTable = progressOf(n);
        return writeProgress();
    }
    LevelData level = levelOf(n);
    return writeLevelData(savePaths()[2], level);
}

inline Bytes expectedBytes(int file, int32_t n) {
    if (file == 0) return encodeOptions(optionsOf(n));
    if (file == 1) return encodeProgress(progressOf(n));
    return encodeLevelFile(levelOf(n));
}

// The round a file's bytes come from, or -1 when they do not read.
inline int32_t roundOf(int file, const Bytes& bytes) {
    std::string error;
    if (file == 0) {
        GameOptionsRecord options;
        return decodeOptions(bytes.data(), bytes.size(), options) ? options.reserved1 : -1;
    }
    if (file == 1) {
        ProgressTableRecord table;
        if (!decodeProgress(bytes.data(), bytes.size(), table, error) || table.list(kListCustom).empty()) return -1;
        return table.list(kListCustom)[0].bestScore;
    }
    LevelData level;
    return parseLevelFile(bytes.data(), bytes.size(), level, error) ? int32_t(level.endLevelX) : -1;
}

} // namespace round_saves
