// The progress records, their merge and the "completedlevels" file.
#include "ProgressTable.h"

#include "BinaryStream.h"
#include "CheatList.h"
#include "FileFailureBox.h"
#include "FolderPaths.h"
#include "GameOptions.h"
#include "GoldZuzevirMeter.h"
#include "KMiscTools.h"
#include "KResource.h"
#include "LevelFile.h"

#include <algorithm>
#include <cerrno>
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
// neither shows as nonsense nor wins every later merge. The statistics that the cheats count and the level
// select shows are held to what one run can reach: five Gold Radudods fill the meter, every enemy destroyed is
// 100 percent, and no score is below 0.
void cleanRecord(LevelRecord& record) {
    const LevelRecord defaults;
    if (!std::isfinite(record.bestTime) || record.bestTime < 0) record.bestTime = defaults.bestTime;
    if (record.highestDifficulty < 0 || record.highestDifficulty > 4)
        record.highestDifficulty = defaults.highestDifficulty;
    if (record.gameMode < 0 || record.gameMode >= kGameModeCount) record.gameMode = defaults.gameMode;
    if (record.medal < -1 || record.medal > 2) record.medal = defaults.medal;
    record.goldZuzevirs = std::clamp(record.goldZuzevirs, 0, int32_t(GoldZuzevirMeter::kFullCount));
    record.enemiesPercent = std::clamp(record.enemiesPercent, 0, 100);
    record.bestScore = std::max(record.bestScore, 0);
    record.bestTrick = std::max(record.bestTrick, 0);
}

bool readRecord(ByteSource& in, int32_t version, LevelRecord& record, std::string& error) {
    const size_t start = in.position();
    const int32_t length = in.int32();
    if (!in.failed() && (length < 1 || length > kMaxRecordNameBytes)) {
        error = "name length " + std::to_string(length) + " at byte " + std::to_string(start);
        return false;
    }
    // The length counts the name's NUL: the name is the text before the first NUL among the other bytes, as the
    // writer makes it, so that a name stored without its NUL reads as what is written back.
    char name[kMaxRecordNameBytes];
    if (!in.failed() && in.copy(name, size_t(length))) record.name.assign(name, strnlen(name, size_t(length - 1)));
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

// Keeps the damaged file under the first damaged-copy name not taken, as a second name for it (or a copy where
// the folder allows no second names), while the file itself stays in place until the repaired one replaces it
// by rename: a kill or a full disk during the repair leaves every readable record on the disk. An earlier
// damaged copy is never replaced; one that is this very file (a repair that did not finish) serves again. The
// name it is kept under, or empty when it could not be kept.
std::string keepDamagedCopy(const std::string& path) {
    namespace fs = std::filesystem;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::string aside = damagedCopyPath(path, attempt);
        std::error_code code;
        if (fs::equivalent(path, aside, code)) return aside;
        if (fs::exists(aside, code) || code) continue;
        // A second name fails rather than replace a copy that appeared meanwhile.
        fs::create_hard_link(path, aside, code);
        if (!code) return aside;
        if (code == std::errc::file_exists) continue;
        if (fs::copy_file(path, aside, fs::copy_options::none, code)) return aside;
        if (code == std::errc::file_exists) continue;
        fs::remove(aside, code); // a copy cut short (a full disk) is no copy
        return {};
    }
    return {};
}

enum class StoredFile { missing, unreadable, read };

// Reads the progress file into table (damage says what is wrong with a damaged one). A file that is there but
// cannot be read (no permission, an I/O error, a pipe or a folder of that name) is unreadable.
StoredFile readStoredFile(const std::string& path, ProgressTableRecord& table, std::string& damage) {
    std::error_code code;
    if (!std::filesystem::exists(path, code)) return code ? StoredFile::unreadable : StoredFile::missing;
    unsigned char* bytes = nullptr;
    size_t size = 0;
    if (!KResource::loadWholeFile(path, bytes, size)) return StoredFile::unreadable;
    decodeProgress(bytes, size, table, damage);
    delete[] bytes;
    return StoredFile::read;
}

LevelRecord& storedRecord(std::vector<LevelRecord>& list, const std::string& name) {
    auto at = std::lower_bound(list.begin(), list.end(), name,
                               [](const LevelRecord& record, const std::string& key) { return record.name < key; });
    if (at != list.end() && at->name == name) return *at;
    LevelRecord fresh;
    fresh.name = name;
    return *list.insert(at, std::move(fresh));
}

LevelRecord& storedRecord(int32_t kind, const std::string& name) {
    if (kind < 0 || kind >= kLevelListKinds) kind = kListCustom;
    return storedRecord(ProgressTable.list(kind), name);
}

// Before a file that holds more than the lists is replaced, it is read again and what it holds is merged into
// the lists (a damaged one kept aside first): each statistic keeps the best of both, and the game mode is the
// file's, since the lists' record may be only the default one of a level shown and not played. False, with
// why, while it still cannot be read or kept.
bool takeInTheStoredFile(const std::string& path, std::string& why) {
    ProgressTableRecord stored;
    std::string damage;
    const StoredFile found = readStoredFile(path, stored, damage);
    if (found == StoredFile::unreadable) {
        why = "it could not be read, so it is kept as it is";
        return false;
    }
    if (found == StoredFile::read) {
        if (!damage.empty() && keepDamagedCopy(path).empty()) {
            why = "it is damaged and no copy of it could be kept, so it is kept as it is";
            return false;
        }
        for (int32_t kind = 0; kind < kLevelListKinds; ++kind)
            for (const LevelRecord& record : stored.list(kind))
                mergeLevelRecord(storedRecord(ProgressTable.list(kind), record.name), record);
    }
    ProgressTable.fileHoldsMore = false;
    return true;
}

// The whole table through a temporary file; false, with why, and the old file kept on failure.
bool writeProgressFile(std::string& why) {
    const std::string path = progressFilePath();
    if (ProgressTable.fileHoldsMore && !takeInTheStoredFile(path, why)) return false;
    const std::vector<unsigned char> bytes = encodeProgress(ProgressTable);
    if (!KMiscTools::writeFileReplacing(path, bytes.data(), bytes.size())) { // the old file is kept
        why = std::strerror(errno);
        return false;
    }
    ProgressTable.version = kProgressVersion;
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
    ProgressTableRecord read;
    switch (readStoredFile(path, read, result.damage)) {
    case StoredFile::missing:
        ProgressTable.fileHoldsMore = false;
        writeProgress();
        return result;
    case StoredFile::unreadable:
        // Left as it is, and the lists as they were; the next save reads it again before it would replace it.
        result.unreadable = true;
        ProgressTable.fileHoldsMore = true;
        return result;
    case StoredFile::read:
        break;
    }
    ProgressTable = std::move(read);
    if (result.damage.empty()) return result;
    // The damaged file is kept under a name of its own, and what could be read of it is written at once, so
    // that the next start finds it. When no copy can be kept, the file stays as it is until one can.
    result.movedTo = keepDamagedCopy(path);
    ProgressTable.fileHoldsMore = result.movedTo.empty();
    if (!result.movedTo.empty()) writeProgress();
    return result;
}

bool writeProgress() {
    std::string why;
    return writeProgressFile(why);
}

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
    cleanRecord(result); // the record holds what reading it back gives
    mergeLevelRecord(storedRecord(LevelCatalogue.currentKind, result.name), result);
    // On failure the result stays in the lists for the next save, and the player is told (once) that it could
    // not be kept.
    std::string why;
    if (!writeProgressFile(why))
        showFileFailureBoxOnce("Failed to Save Progress", progressFilePath(), "failed to save (" + why + ")");
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
