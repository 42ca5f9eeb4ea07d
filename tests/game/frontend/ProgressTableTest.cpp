// The progress records and "completedlevels": the file's exact bytes, version 0 files, damaged files that
// fail cleanly and are kept aside, the merge rules, the sorted find-or-add, and a recorded result.
#include "ProgressTable.h"
#include "../framework/TempUserFolder.h"
#include "FileBuilder.h"
#include "GameOptions.h"
#include "KLog.h"
#include "KRandom.h"
#include "LevelFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
}

LevelRecord record(const std::string& name, bool completed, double time, int32_t base) {
    LevelRecord r;
    r.name = name;
    r.completed = completed;
    r.bestTime = time;
    r.enemiesPercent = base;
    r.goldZuzevirs = base + 1;
    r.highestDifficulty = base + 2;
    r.bestScore = base + 3;
    r.bestTrick = base + 4;
    r.gameMode = base + 5;
    r.medal = base + 6;
    return r;
}

void addRecord(FileBuilder& file, const LevelRecord& r, bool versionOne = true) {
    file.int32(int32_t(r.name.size() + 1)).text(r.name).uint8(0);
    file.int32(r.completed ? 1 : 0).real(r.bestTime).int32(r.enemiesPercent).int32(r.goldZuzevirs);
    file.int32(r.highestDifficulty).int32(r.bestScore);
    if (versionOne) file.int32(r.bestTrick).int32(r.gameMode).int32(r.medal);
}

ProgressTableRecord sampleTable() {
    ProgressTableRecord table;
    table.list(kListAction) = {record("01.Reef", true, 38.0, 10), record("02.Kelp", false, DBL_MAX, 20)};
    table.list(kListStunt) = {record("Loops", true, 12.5, 30)};
    table.list(kListRace) = {record("Sprint", false, 99.0, 40)};
    table.list(kListCustom) = {record("Mine", true, 7.0, 50)};
    return table;
}

// Lists in the file's order: Action, Custom, Stunt, Race.
FileBuilder sampleFile() {
    const ProgressTableRecord table = sampleTable();
    FileBuilder file;
    file.int32(1).int32(2);
    addRecord(file, table.lists[kListAction][0]);
    addRecord(file, table.lists[kListAction][1]);
    file.int32(1);
    addRecord(file, table.lists[kListCustom][0]);
    file.int32(1);
    addRecord(file, table.lists[kListStunt][0]);
    file.int32(1);
    addRecord(file, table.lists[kListRace][0]);
    return file;
}

bool decode(const Bytes& bytes, ProgressTableRecord& out, std::string& error) {
    return decodeProgress(bytes.data(), bytes.size(), out, error);
}

TEST(ProgressFile, WrittenTableMatchesTheFileBuiltByHandAndReadsBack) {
    const Bytes expected = sampleFile().bytes;
    EXPECT_EQ(encodeProgress(sampleTable()), expected);
    // The first record: name length 8 ("01.Reef" and its NUL), then completed 1 and 38.0.
    EXPECT_EQ(Bytes(expected.begin() + 8, expected.begin() + 20),
              (Bytes{8, 0, 0, 0, '0', '1', '.', 'R', 'e', 'e', 'f', 0}));

    ProgressTableRecord read;
    std::string error;
    ASSERT_TRUE(decode(expected, read, error)) << error;
    EXPECT_EQ(read.lists, sampleTable().lists);
    EXPECT_EQ(read.version, 1);
}

TEST(ProgressFile, VersionZeroFileHasNoStuntOrRaceListsAndRecordsGetTheirDefaults) {
    FileBuilder file;
    file.int32(0).int32(1);
    addRecord(file, record("01.Reef", true, 38.0, 10), /*versionOne=*/false);
    file.int32(0);
    file.int32(1).int32(99); // bytes past the last list of a version 0 file are not read
    ProgressTableRecord read;
    std::string error;
    ASSERT_TRUE(decode(file.bytes, read, error)) << error;
    EXPECT_EQ(read.version, 0);
    ASSERT_EQ(read.list(kListAction).size(), 1u);
    const LevelRecord& r = read.list(kListAction)[0];
    EXPECT_EQ(r.bestScore, 13);
    EXPECT_EQ(r.bestTrick, 0);
    EXPECT_EQ(r.gameMode, 0);
    EXPECT_EQ(r.medal, -1);
    EXPECT_TRUE(read.list(kListStunt).empty());
    EXPECT_TRUE(read.list(kListRace).empty());
    // Written back, it is version 1 with all four lists.
    EXPECT_EQ(encodeProgress(read).size(), 4 + 4 + (4 + 8 + 4 + 8 + 28) + 3 * 4);
}

TEST(ProgressFile, ListCountsOfZeroOrLessAreEmptyAndOnlyOneMeansCompleted) {
    FileBuilder file;
    file.int32(1).int32(-3).int32(0).int32(INT32_MIN);
    LevelRecord odd = record("Odd", true, 5.0, 1);
    file.int32(2);
    addRecord(file, odd);
    addRecord(file, record("Zed", true, 6.0, 1));
    // "Odd" stores completed as 2, which is not 1: version, four counts, its name length and "Odd\0".
    const size_t oddCompleted = 4 + 4 * 4 + 4 + 4;
    file.bytes[oddCompleted] = 2;
    ProgressTableRecord read;
    std::string error;
    ASSERT_TRUE(decode(file.bytes, read, error)) << error;
    EXPECT_TRUE(read.list(kListAction).empty());
    EXPECT_TRUE(read.list(kListCustom).empty());
    EXPECT_TRUE(read.list(kListStunt).empty());
    ASSERT_EQ(read.list(kListRace).size(), 2u);
    EXPECT_FALSE(read.list(kListRace)[0].completed);
    EXPECT_TRUE(read.list(kListRace)[1].completed);
}

TEST(ProgressFile, NamesAreReadToTheirFirstNulAndUnsortedListsAreSorted) {
    FileBuilder file;
    file.int32(1).int32(2);
    LevelRecord b = record("B", false, 1.0, 0), a = record("A", false, 2.0, 0);
    file.int32(6).text("B").uint8(0).text("junk");
    file.int32(0).real(1.0).int32(0).int32(1).int32(2).int32(3).int32(4).int32(5).int32(6);
    addRecord(file, a);
    file.int32(0).int32(0).int32(0);
    ProgressTableRecord read;
    std::string error;
    ASSERT_TRUE(decode(file.bytes, read, error)) << error;
    ASSERT_EQ(read.list(kListAction).size(), 2u);
    EXPECT_EQ(read.list(kListAction)[0].name, "A");
    EXPECT_EQ(read.list(kListAction)[1].name, "B");
    EXPECT_EQ(read.list(kListAction)[1].goldZuzevirs, 1);
}

TEST(ProgressFile, DamagedFilesFailAndLeaveTheTableAlone) {
    const Bytes whole = sampleFile().bytes;
    const ProgressTableRecord sentinel = sampleTable();
    for (size_t size = 0; size < whole.size(); ++size) {
        ProgressTableRecord out = sentinel;
        std::string error;
        ASSERT_FALSE(decode(Bytes(whole.begin(), whole.begin() + std::ptrdiff_t(size)), out, error)) << size;
        EXPECT_EQ(out.lists, sentinel.lists) << size;
    }
    struct Case {
        const char* name;
        int32_t firstNameLength;
        int32_t actionCount;
        const char* reason;
    };
    const Case cases[] = {
        {"name length 0", 0, 2, "name length 0"},
        {"negative name length", -8, 2, "name length -8"},
        {"name length above 500", 501, 2, "name length 501"},
        {"name length past the end", 500, 2, "ends early"},
        {"huge record count", 8, INT32_MAX, "more than the file holds"},
    };
    for (const Case& c : cases) {
        Bytes bytes = whole;
        for (int i = 0; i < 4; ++i) bytes[4 + size_t(i)] = uint8_t(uint32_t(c.actionCount) >> (8 * i));
        for (int i = 0; i < 4; ++i) bytes[8 + size_t(i)] = uint8_t(uint32_t(c.firstNameLength) >> (8 * i));
        ProgressTableRecord out = sentinel;
        std::string error;
        EXPECT_FALSE(decode(bytes, out, error)) << c.name;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
        EXPECT_EQ(out.lists, sentinel.lists) << c.name;
    }
}

TEST(ProgressFile, MutatedFilesNeverCrashAndWhatParsesWritesBackTheSame) {
    const Bytes original = sampleFile().bytes;
    kSrand(4102);
    int parsed = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes bytes = original;
        const int flips = 1 + kRand() % 3;
        for (int i = 0; i < flips; ++i) bytes[size_t(kRand()) * 31 % bytes.size()] = uint8_t(kRand() & 0xff);
        if (kRand() % 8 == 0) bytes.resize(size_t(kRand()) % bytes.size());
        ProgressTableRecord table;
        std::string error;
        if (!decode(bytes, table, error)) {
            EXPECT_FALSE(error.empty());
            continue;
        }
        ++parsed;
        ProgressTableRecord again;
        ASSERT_TRUE(decode(encodeProgress(table), again, error)) << "round " << round << ": " << error;
        EXPECT_EQ(again.lists, table.lists) << "round " << round;
    }
    EXPECT_GT(parsed, 100);
}

TEST(ProgressRecords, MergeKeepsTheBestOfEachStatistic) {
    struct Case {
        const char* name;
        LevelRecord stored, result, merged;
    };
    auto with = [](LevelRecord r, auto change) {
        change(r);
        return r;
    };
    const LevelRecord base = record("L", true, 38.0, 10);
    const std::vector<Case> cases = {
        {"a slower win keeps the time", base, with(base, [](LevelRecord& r) { r.bestTime = 40.5; }), base},
        {"a faster lost run takes the time but not the completion",
         with(base, [](LevelRecord& r) { r.completed = false; }),
         with(base, [](LevelRecord& r) { r.completed = false, r.bestTime = 30.0; }),
         with(base, [](LevelRecord& r) { r.completed = false, r.bestTime = 30.0; })},
        {"a lost run never clears the completion", base, with(base, [](LevelRecord& r) { r.completed = false; }), base},
        {"bronze never replaces silver", with(base, [](LevelRecord& r) { r.medal = 1; }),
         with(base, [](LevelRecord& r) { r.medal = 0; }), with(base, [](LevelRecord& r) { r.medal = 1; })},
        {"a first medal replaces none", with(base, [](LevelRecord& r) { r.medal = -1; }),
         with(base, [](LevelRecord& r) { r.medal = 0; }), with(base, [](LevelRecord& r) { r.medal = 0; })},
        {"the game mode is always the latest", with(base, [](LevelRecord& r) { r.gameMode = 2; }),
         with(base, [](LevelRecord& r) { r.gameMode = 0; }), with(base, [](LevelRecord& r) { r.gameMode = 0; })},
        {"counts take the larger", base,
         with(base,
              [](LevelRecord& r) {
                  r.name = "other", r.enemiesPercent = 100, r.goldZuzevirs = 0, r.highestDifficulty = 4,
                  r.bestScore = 5, r.bestTrick = 900;
              }),
         with(base, [](LevelRecord& r) { r.enemiesPercent = 100, r.bestTrick = 900, r.gameMode = 15; })},
    };
    for (const Case& c : cases) {
        LevelRecord stored = c.stored;
        mergeLevelRecord(stored, c.result);
        EXPECT_EQ(stored, c.merged) << c.name;
    }
}

class ProgressTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        ProgressTable = ProgressTableRecord{};
        KLog::clearMemoryBuffer();
    }
    void TearDown() override {
        ProgressTable = ProgressTableRecord{};
        clearLevelCatalogue();
        LevelCatalogue.currentIndex = -1;
        LevelCatalogue.currentKind = kListAction;
        CurrentLevelGoals = LevelGoals{};
    }
    std::string log() const { return std::string(KLog::memoryBuffer(), KLog::memoryBufferUsed()); }
    TempUserFolder user;
};

TEST_F(ProgressTableTest, FindOrAddInsertsDefaultsInNameOrderAndReturnsCopies) {
    for (const char* name : {"10.X", "2.Y", "Reefs", "Reef", "2.Y"}) findOrAddLevelRecord(kListStunt, name);
    std::vector<std::string> names;
    for (const LevelRecord& r : ProgressTable.list(kListStunt)) names.push_back(r.name);
    EXPECT_EQ(names, (std::vector<std::string>{"10.X", "2.Y", "Reef", "Reefs"}));
    LevelRecord copy = findOrAddLevelRecord(kListStunt, "Reef");
    EXPECT_EQ(copy, LevelRecord{.name = "Reef"});
    copy.completed = true;
    EXPECT_FALSE(findOrAddLevelRecord(kListStunt, "Reef").completed);
    EXPECT_TRUE(ProgressTable.list(kListAction).empty());
}

TEST_F(ProgressTableTest, MissingFileIsCreatedEmptyAndADamagedOneIsKeptAside) {
    readProgress();
    EXPECT_EQ(fileBytes(progressFilePath()), (Bytes{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

    Bytes damaged = sampleFile().bytes;
    damaged.resize(damaged.size() - 1);
    writeBytes(progressFilePath(), damaged);
    ProgressTable.list(kListRace) = {record("Kept", false, 1.0, 0)};
    readProgress();
    EXPECT_EQ(ProgressTable.list(kListRace).size(), 1u);
    EXPECT_TRUE(ProgressTable.list(kListAction).empty());
    EXPECT_EQ(fileBytes(progressFilePath() + ".damaged"), damaged);
    EXPECT_NE(log().find("Progress file " + progressFilePath() + " is damaged (the file ends early"),
              std::string::npos);

    writeBytes(progressFilePath(), sampleFile().bytes);
    readProgress();
    EXPECT_EQ(ProgressTable.lists, sampleTable().lists);
}

TEST_F(ProgressTableTest, RecordedResultIsMergedIntoTheCurrentListAndTheFileRewritten) {
    LevelCatalogue.list(kListRace) = {{"01.Sprint.lvl", "x/01.Sprint.lvl"}, {"02.Dash.lvl", "x/02.Dash.lvl"}};
    LevelCatalogue.currentKind = kListRace;
    LevelCatalogue.currentIndex = 1;
    CurrentLevelGoals.gameMode = kGameModeRace;
    GameOptions.difficulty = 3;
    ProgressTable.list(kListRace) = {record("02.Dash", true, 38.0, 10)};

    LevelRunResult run;
    run.won = false;
    run.levelTime = 30.0;
    run.enemiesPercent = 50;
    run.medal = 2;
    recordLevelResult(run);
    const LevelRecord stored = findCurrentLevelRecord();
    EXPECT_EQ(stored.name, "02.Dash");
    EXPECT_TRUE(stored.completed);
    EXPECT_EQ(stored.bestTime, 30.0);
    EXPECT_EQ(stored.highestDifficulty, 12); // stored 12 beats difficulty 3
    EXPECT_EQ(stored.gameMode, kGameModeRace);
    EXPECT_EQ(stored.medal, 16);
    EXPECT_EQ(fileBytes(progressFilePath()), encodeProgress(ProgressTable));
    GameOptions.difficulty = 1;

    // A first run of another level adds its record in name order.
    LevelCatalogue.currentIndex = 0;
    run.won = true;
    recordLevelResult(run);
    ASSERT_EQ(ProgressTable.list(kListRace).size(), 2u);
    EXPECT_EQ(ProgressTable.list(kListRace)[0].name, "01.Sprint");
    EXPECT_TRUE(ProgressTable.list(kListRace)[0].completed);
}

TEST_F(ProgressTableTest, CheatUnlockCountsLookOnlyAtActionRecords) {
    ProgressTable.list(kListAction) = {record("A", true, 1.0, 100), record("B", true, 1.0, 99)};
    ProgressTable.list(kListStunt) = {record("S", true, 1.0, 100)};
    ProgressTable.list(kListCustom) = {record("C", true, 1.0, 100)};
    EXPECT_EQ(totalGoldZuzevirs(), 101 + 100);
    EXPECT_EQ(countPerfectLevels(), 1);
}

} // namespace
