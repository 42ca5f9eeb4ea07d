// The progress records, their merge and the "completedlevels" file.
#include "ProgressTable.h"

#include "BinaryStream.h"
#include "CheatList.h"
#include "FolderPaths.h"
#include "GameOptions.h"
#include "KMiscTools.h"
#include "KResource.h"
#include "LevelFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
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

// A value outside what the game itself stores (a hand-edited or damaged file) takes the default, so that it
// neither shows as nonsense nor wins every later merge.
void cleanRecord(LevelRecord& record) {
    const LevelRecord defaults;
    if (!std::isfinite(record.bestTime) || record.bestTime < 0) record.bestTime = defaults.bestTime;
    if (record.highestDifficulty < 0 || record.highestDifficulty > 4)
        record.highestDifficulty = defaults.highestDifficulty;
    if (record.gameMode < 0 || record.gameMode >= kGameModeCount) record.gameMode = defaults.gameMode;
    if (record.medal < -1 || record.medal > 2) record.medal = defaults.medal;
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
    cleanRecord(record);
    return true;
}

// Name order, as the lookups need it, with the records of one name merged into the first (a file written by
// this program holds each name once, in order, already).
void sortAndMerge(std::vector<LevelRecord>& list) {
    std::stable_sort(list.begin(), list.end(), byName);
    auto kept = list.begin();
    for (auto next = list.begin(); next != list.end(); ++next) {
        if (next == kept) continue;
        if (next->name == kept->name)
            mergeLevelRecord(*kept, *next);
        else if (++kept != next)
            *kept = std::move(*next);
    }
    if (!list.empty()) list.erase(kept + 1, list.end());
}

// A count of 0 or less is an empty list. On damage the list keeps the whole records read before it.
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
    bool whole = true;
    for (int32_t i = 0; i < count && whole; ++i) {
        LevelRecord record;
        whole = readRecord(in, version, record, error);
        if (whole) list.push_back(std::move(record));
    }
    sortAndMerge(list);
    return whole;
}

// The free name beside the progress file for a damaged copy: ".damaged", then ".damaged.1", ".damaged.2", ...
std::string damagedCopyPath(const std::string& path, int attempt) {
    std::string aside = path + ".damaged";
    if (attempt > 0) {
        aside += ".";
        aside += std::to_string(attempt);
    }
    return aside;
}

// Moves the file to the first damaged-copy name not taken; an earlier damaged copy is never replaced. The
// name it went to, or empty when it could not be moved.
std::string moveAsideDamaged(const std::string& path) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::string aside = damagedCopyPath(path, attempt);
        std::error_code code;
        if (std::filesystem::exists(aside, code) || code) continue;
        // A second name for the file fails rather than replace one that appeared meanwhile.
        std::filesystem::create_hard_link(path, aside, code);
        if (!code) {
            std::filesystem::remove(path, code);
            return aside;
        }
        if (code == std::errc::file_exists) continue;
        std::filesystem::rename(path, aside, code); // a folder without second names: the name was free
        return code ? std::string() : aside;
    }
    return {};
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
    bool whole = !in.failed();
    if (!whole) error = "the file ends early at byte 0";
    const int lists = table.version > 0 ? kLevelListKinds : 2; // version 0 holds only Action and Custom
    for (int i = 0; i < lists && whole; ++i)
        whole = readList(in, table.version, table.list(kFileOrder[size_t(i)]), error);
    out = std::move(table);
    return whole;
}

// The cheats' unlock rules read the Action progress as it stands at each query.
static CheatProgress cheatProgressFromTable() {
    return CheatProgress{totalGoldZuzevirs(), countPerfectLevels()};
}

ProgressReadResult readProgress() {
    setCheatProgressReader(cheatProgressFromTable);
    ProgressReadResult result;
    const std::string path = progressFilePath();
    std::error_code code;
    if (!std::filesystem::exists(path, code)) {
        writeProgress();
        return result;
    }
    unsigned char* bytes = nullptr;
    size_t size = 0;
    if (!KResource::loadWholeFile(path, bytes, size)) {
        result.unreadable = true; // left as it is; the lists stay as they were
        return result;
    }
    ProgressTableRecord read;
    const bool whole = decodeProgress(bytes, size, read, result.damage);
    delete[] bytes;
    ProgressTable = std::move(read);
    if (whole) return result;
    // The damaged file is kept under a name of its own, and what could be read of it is written at once, so
    // that the next start finds it.
    result.movedTo = moveAsideDamaged(path);
    if (!result.movedTo.empty()) writeProgress();
    return result;
}

bool writeProgress() {
    const std::string path = progressFilePath();
    const std::vector<unsigned char> bytes = encodeProgress(ProgressTable);
    if (!KMiscTools::writeFileReplacing(path, bytes.data(), bytes.size())) return false; // the old file is kept
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
