// The progress records, their merge and the "completedlevels" file.
#include "ProgressTable.h"

#include "BinaryStream.h"
#include "FolderPaths.h"
#include "GameOptions.h"
#include "KLog.h"
#include "KMiscTools.h"
#include "KResource.h"
#include "LevelFile.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

ProgressTableRecord ProgressTable;

namespace {

// The lists in file order.
constexpr std::array<int32_t, kLevelListKinds> kFileOrder = {kListAction, kListCustom, kListStunt, kListRace};
// The smallest record: name length, a name of only its NUL, completed, best time and four statistics.
constexpr uint64_t kMinRecordBytes = 4 + 1 + 4 + 8 + 4 * 4;

bool byName(const LevelRecord& a, const LevelRecord& b) {
    return a.name < b.name;
}

bool readRecord(ByteSource& in, int32_t version, LevelRecord& record, std::string& error) {
    const size_t start = in.position();
    const int32_t length = in.int32();
    if (!in.failed() && (length < 1 || length > kMaxRecordNameBytes)) {
        error = "name length " + std::to_string(length) + " at byte " + std::to_string(start);
        return false;
    }
    char name[kMaxRecordNameBytes];
    if (!in.failed() && in.copy(name, size_t(length))) record.name.assign(name, strnlen(name, size_t(length)));
    record.completed = in.int32() == 1;
    record.bestTime = in.real();
    if (std::isnan(record.bestTime)) record.bestTime = DBL_MAX; // no time is better than an unreadable one
    record.enemiesPercent = in.int32();
    record.goldZuzevirs = in.int32();
    record.highestDifficulty = in.int32();
    record.bestScore = in.int32();
    if (version > 0) {
        record.bestTrick = in.int32();
        record.gameMode = in.int32();
        record.medal = in.int32();
    }
    if (in.failed()) {
        error = "the file ends early at byte " + std::to_string(in.position());
        return false;
    }
    return true;
}

// A count of 0 or less is an empty list.
bool readList(ByteSource& in, int32_t version, std::vector<LevelRecord>& list, std::string& error) {
    const size_t start = in.position();
    const int32_t count = in.int32();
    if (in.failed()) {
        error = "the file ends early at byte " + std::to_string(start);
        return false;
    }
    if (count <= 0) return true;
    if (uint64_t(count) * kMinRecordBytes > in.remaining()) {
        error = "record count " + std::to_string(count) + " at byte " + std::to_string(start) +
                " is more than the file holds";
        return false;
    }
    list.resize(size_t(count));
    for (LevelRecord& record : list)
        if (!readRecord(in, version, record, error)) return false;
    // A file this program wrote is in name order already; sorting keeps the lookups right for any other.
    std::stable_sort(list.begin(), list.end(), byName);
    return true;
}

} // namespace

std::string progressFilePath() {
    return getUserFolderPath() + "completedlevels";
}

std::vector<unsigned char> encodeProgress(const ProgressTableRecord& table) {
    ByteSink out;
    out.int32(kProgressVersion);
    for (int32_t kind : kFileOrder) {
        const std::vector<LevelRecord>& list = table.lists[size_t(kind)];
        out.int32(int32_t(list.size()));
        for (const LevelRecord& record : list) {
            // A name that would not fit the reader's limit is cut there, so the file stays readable.
            const size_t length = std::min(record.name.size(), size_t(kMaxRecordNameBytes - 1));
            out.int32(int32_t(length + 1));
            out.append(record.name.data(), length);
            out.uint8(0);
            out.int32(record.completed ? 1 : 0);
            out.real(record.bestTime);
            out.int32(record.enemiesPercent);
            out.int32(record.goldZuzevirs);
            out.int32(record.highestDifficulty);
            out.int32(record.bestScore);
            out.int32(record.bestTrick);
            out.int32(record.gameMode);
            out.int32(record.medal);
        }
    }
    return std::move(out.bytes);
}

bool decodeProgress(const unsigned char* bytes, size_t size, ProgressTableRecord& out, std::string& error) {
    ByteSource in(bytes, size);
    ProgressTableRecord table;
    table.version = in.int32();
    if (in.failed()) {
        error = "the file ends early at byte 0";
        return false;
    }
    const int lists = table.version > 0 ? kLevelListKinds : 2; // version 0 holds only Action and Custom
    for (int i = 0; i < lists; ++i)
        if (!readList(in, table.version, table.list(kFileOrder[size_t(i)]), error)) return false;
    out = std::move(table);
    return true;
}

void readProgress() {
    const std::string path = progressFilePath();
    std::error_code code;
    if (!std::filesystem::exists(path, code)) {
        writeProgress();
        return;
    }
    unsigned char* bytes = nullptr;
    size_t size = 0;
    if (!KResource::loadWholeFile(path, bytes, size)) {
        logMessage("Progress file %s could not be read; it is left as it is", path.c_str());
        return;
    }
    std::string error;
    const bool ok = decodeProgress(bytes, size, ProgressTable, error);
    delete[] bytes;
    if (ok) return;
    // The damaged file is kept beside the new one, so that nothing of it is lost when progress is next written.
    const std::string aside = path + ".damaged";
    std::filesystem::rename(path, aside, code);
    if (code)
        logMessage("Progress file %s is damaged (%s) and could not be moved aside: %s", path.c_str(), error.c_str(),
                   code.message().c_str());
    else
        logMessage("Progress file %s is damaged (%s); it was moved to %s and progress starts afresh", path.c_str(),
                   error.c_str(), aside.c_str());
}

bool writeProgress() {
    const std::string path = progressFilePath();
    const std::vector<unsigned char> bytes = encodeProgress(ProgressTable);
    if (!KMiscTools::writeFileReplacing(path, bytes.data(), bytes.size())) {
        logMessage("Progress file %s could not be written; the old file is kept", path.c_str());
        return false;
    }
    ProgressTable.version = kProgressVersion;
    return true;
}

namespace {

LevelRecord& storedRecord(int32_t kind, const std::string& name) {
    if (kind < 0 || kind >= kLevelListKinds) kind = kListCustom;
    std::vector<LevelRecord>& list = ProgressTable.list(kind);
    auto at = std::lower_bound(list.begin(), list.end(), name,
                               [](const LevelRecord& record, const std::string& key) { return record.name < key; });
    if (at != list.end() && at->name == name) return *at;
    LevelRecord fresh;
    fresh.name = name;
    return *list.insert(at, std::move(fresh));
}

} // namespace

LevelRecord findOrAddLevelRecord(int32_t kind, const std::string& name) {
    return storedRecord(kind, name);
}

LevelRecord findCurrentLevelRecord() {
    return findOrAddLevelRecord(LevelCatalogue.currentKind, currentLevelName());
}

void mergeLevelRecord(LevelRecord& stored, const LevelRecord& result) {
    stored.completed = stored.completed || result.completed;
    if (result.bestTime < stored.bestTime) stored.bestTime = result.bestTime;
    stored.enemiesPercent = std::max(stored.enemiesPercent, result.enemiesPercent);
    stored.goldZuzevirs = std::max(stored.goldZuzevirs, result.goldZuzevirs);
    stored.highestDifficulty = std::max(stored.highestDifficulty, result.highestDifficulty);
    stored.bestScore = std::max(stored.bestScore, result.bestScore);
    stored.bestTrick = std::max(stored.bestTrick, result.bestTrick);
    stored.medal = std::max(stored.medal, result.medal);
    stored.gameMode = result.gameMode;
}

void recordLevelResult(const LevelRunResult& run) {
    LevelRecord result;
    result.name = currentLevelName();
    result.completed = run.won;
    result.bestTime = run.levelTime;
    result.enemiesPercent = run.enemiesPercent;
    result.goldZuzevirs = run.goldZuzevirs;
    result.highestDifficulty = GameOptions.difficulty;
    result.bestScore = run.bankedTrickPoints;
    result.bestTrick = run.bestTrick;
    result.gameMode = CurrentLevelGoals.gameMode;
    result.medal = run.medal;
    mergeLevelRecord(storedRecord(LevelCatalogue.currentKind, result.name), result);
    writeProgress();
}

int32_t totalGoldZuzevirs() {
    int64_t total = 0;
    for (const LevelRecord& record : ProgressTable.list(kListAction)) total += record.goldZuzevirs;
    return int32_t(std::clamp<int64_t>(total, INT32_MIN, INT32_MAX));
}

int32_t countPerfectLevels() {
    return int32_t(std::count_if(ProgressTable.list(kListAction).begin(), ProgressTable.list(kListAction).end(),
                                 [](const LevelRecord& record) { return record.enemiesPercent >= 100; }));
}
