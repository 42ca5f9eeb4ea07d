// The progress records and "completedlevels": the file's exact bytes, version 0 files, damaged files that keep
// the records before the damage and are kept aside, values cleaned and names merged on reading, the merge
// rules, the sorted find-or-add, a failed write, and a recorded result.
#include "ProgressTable.h"
#include "../framework/TempUserFolder.h"
#include "CheatList.h"
#include "FileBuilder.h"
#include "FileFailureBox.h"
#include "GameOptions.h"
#include "HostSystem.h"
#include "KRandom.h"
#include "LevelFile.h"
#include "SaveFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

namespace {

// A record whose statistics follow from base, each within the range the game stores.
LevelRecord record(const std::string& name, bool completed, double time, int32_t base) {
    LevelRecord r;
    r.name = name;
    r.completed = completed;
    r.bestTime = time;
    r.enemiesPercent = base;
    r.goldZuzevirs = (base + 1) % 6;
    r.highestDifficulty = (base + 2) % 5;
    r.bestScore = base + 3;
    r.bestTrick = base + 4;
    r.gameMode = (base + 5) % 3;
    r.medal = (base + 6) % 4 - 1;
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

// A record of the sample file with the list it is in and the byte just after it.
struct PlacedRecord {
    int32_t kind;
    LevelRecord record;
    size_t end;
};

// Lists in the file's order: Action, Custom, Stunt, Race; where each record ends, when asked.
FileBuilder sampleFile(std::vector<PlacedRecord>* placed = nullptr) {
    const ProgressTableRecord table = sampleTable();
    FileBuilder file;
    const auto add = [&](int32_t kind, size_t index) {
        addRecord(file, table.lists[size_t(kind)][index]);
        if (placed) placed->push_back({kind, table.lists[size_t(kind)][index], file.bytes.size()});
    };
    file.int32(1).int32(2);
    add(kListAction, 0);
    add(kListAction, 1);
    file.int32(1);
    add(kListCustom, 0);
    file.int32(1);
    add(kListStunt, 0);
    file.int32(1);
    add(kListRace, 0);
    return file;
}

// Every record of the table within the game's ranges.
void expectInRange(const ProgressTableRecord& table, const std::string& context) {
    for (const auto& list : table.lists)
        for (const LevelRecord& r : list) {
            EXPECT_TRUE(std::isfinite(r.bestTime) && r.bestTime >= 0) << context;
            EXPECT_TRUE(r.highestDifficulty >= 0 && r.highestDifficulty <= 4) << context;
            EXPECT_TRUE(r.gameMode >= 0 && r.gameMode <= 2) << context;
            EXPECT_TRUE(r.medal >= -1 && r.medal <= 2) << context;
            EXPECT_TRUE(r.goldZuzevirs >= 0 && r.goldZuzevirs <= 5) << context;
            EXPECT_TRUE(r.enemiesPercent >= 0 && r.enemiesPercent <= 100) << context;
            EXPECT_TRUE(r.bestScore >= 0 && r.bestTrick >= 0) << context;
        }
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

TEST(ProgressFile, ADamagedFileFailsAndKeepsEveryWholeRecordBeforeTheDamage) {
    std::vector<PlacedRecord> placed;
    const Bytes whole = sampleFile(&placed).bytes;
    // Cut short anywhere: the lists before the one that was cut are whole, the cut one keeps some of the
    // records that fit (none when its count promises more than the file holds), the later ones are empty.
    const int32_t fileOrder[] = {kListAction, kListCustom, kListStunt, kListRace};
    for (size_t size = 0; size < whole.size(); ++size) {
        ProgressTableRecord fits;
        int32_t cutKind = -1;
        for (const PlacedRecord& p : placed) {
            if (p.end <= size)
                fits.list(p.kind).push_back(p.record);
            else if (cutKind < 0)
                cutKind = p.kind;
        }
        ProgressTableRecord out = sampleTable();
        std::string error;
        ASSERT_FALSE(decode(Bytes(whole.begin(), whole.begin() + std::ptrdiff_t(size)), out, error)) << size;
        EXPECT_FALSE(error.empty());
        bool beforeCut = true;
        for (int32_t kind : fileOrder) {
            const std::vector<LevelRecord>& got = out.list(kind);
            const std::vector<LevelRecord>& fit = fits.list(kind);
            if (kind == cutKind) {
                beforeCut = false;
                ASSERT_LE(got.size(), fit.size()) << size;
                EXPECT_TRUE(std::equal(got.begin(), got.end(), fit.begin())) << size;
            } else if (beforeCut) {
                EXPECT_EQ(got, fit) << size;
            } else {
                EXPECT_TRUE(got.empty()) << size;
            }
        }
    }
    // Cut inside the last record: everything else is kept.
    ProgressTableRecord out;
    std::string error;
    EXPECT_FALSE(decode(Bytes(whole.begin(), whole.end() - 1), out, error));
    EXPECT_NE(error.find("the file ends early"), std::string::npos) << error;
    ProgressTableRecord allButRace = sampleTable();
    allButRace.list(kListRace).clear();
    EXPECT_EQ(out.lists, allButRace.lists);
    struct Case {
        const char* name;
        size_t at; // where the bad int32 goes
        int32_t value;
        size_t keptAction;
        const char* reason;
    };
    const size_t secondName = placed[0].end, customCount = placed[1].end, customName = customCount + 4;
    const Case cases[] = {
        {"name length 0", 8, 0, 0, "name length 0 at byte 8"},
        {"negative name length", 8, -8, 0, "name length -8"},
        {"name length above 500", 8, 501, 0, "name length 501"},
        {"name length past the end", 8, 500, 0, "ends early"},
        {"huge record count", 4, INT32_MAX, 0, "more than the file holds"},
        {"the second record's name length", secondName, 9999, 1, "name length 9999"},
        {"the custom list's count", customCount, 1 << 24, 2, "more than the file holds"},
        {"the custom record's name length", customName, -1, 2, "name length -1"},
    };
    const std::vector<LevelRecord> action = sampleTable().lists[kListAction];
    for (const Case& c : cases) {
        Bytes bytes = whole;
        for (int i = 0; i < 4; ++i) bytes[c.at + size_t(i)] = uint8_t(uint32_t(c.value) >> (8 * i));
        ProgressTableRecord out = sampleTable();
        std::string error;
        EXPECT_FALSE(decode(bytes, out, error)) << c.name;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
        EXPECT_EQ(out.list(kListAction),
                  std::vector<LevelRecord>(action.begin(), action.begin() + std::ptrdiff_t(c.keptAction)))
            << c.name;
        EXPECT_TRUE(out.list(kListCustom).empty() && out.list(kListStunt).empty() && out.list(kListRace).empty())
            << c.name;
    }
}

TEST(ProgressFile, RecordsOfOneNameAreMergedAsTheyAreRead) {
    LevelRecord first = record("Reef", true, 50.0, 10), other = record("Kelp", false, DBL_MAX, 0),
                second = record("Reef", false, 40.0, 0);
    first.medal = 0, second.medal = 1, first.gameMode = 1, second.gameMode = 2;
    FileBuilder file;
    file.int32(1).int32(3);
    addRecord(file, first);
    addRecord(file, other);
    addRecord(file, second);
    file.int32(0).int32(0).int32(0);
    ProgressTableRecord read;
    std::string error;
    ASSERT_TRUE(decode(file.bytes, read, error)) << error;
    LevelRecord merged = first;
    mergeLevelRecord(merged, second);
    EXPECT_EQ(read.list(kListAction), (std::vector<LevelRecord>{other, merged}));
    EXPECT_TRUE(merged.completed);
    EXPECT_EQ(merged.bestTime, 40.0);
    EXPECT_EQ(merged.medal, 1);
    EXPECT_EQ(merged.gameMode, 2) << "the record later in the file is taken as the later run";
}

TEST(ProgressFile, ValuesOutsideTheirRangesTakeTheirDefaultsWhenRead) {
    const double inf = std::numeric_limits<double>::infinity();
    const LevelRecord kept = record("L", true, 12.5, 0);
    struct Case {
        const char* name;
        double time;
        int32_t difficulty, mode, medal;
        double keptTime;
        int32_t keptDifficulty, keptMode, keptMedal;
    };
    const int32_t d = kept.highestDifficulty, m = kept.gameMode, g = kept.medal;
    const Case cases[] = {
        {"in range", 12.5, d, m, g, 12.5, d, m, g},           {"the ends of the ranges", 0.0, 4, 2, -1, 0.0, 4, 2, -1},
        {"the other ends", 5999.0, 0, 0, 2, 5999.0, 0, 0, 2}, {"a medal of 7", 12.5, d, m, 7, 12.5, d, m, -1},
        {"a medal of -2", 12.5, d, m, -2, 12.5, d, m, -1},    {"difficulty 5", 12.5, 5, m, g, 12.5, 0, m, g},
        {"difficulty -1", 12.5, -1, m, g, 12.5, 0, m, g},     {"game mode 3", 12.5, d, 3, g, 12.5, d, 0, g},
        {"game mode -1", 12.5, d, -1, g, 12.5, d, 0, g},      {"a negative time", -5.0, d, m, g, DBL_MAX, d, m, g},
        {"an endless time", inf, d, m, g, DBL_MAX, d, m, g},  {"no time", std::nan(""), d, m, g, DBL_MAX, d, m, g},
    };
    for (const Case& c : cases) {
        LevelRecord stored = kept;
        stored.bestTime = c.time, stored.highestDifficulty = c.difficulty, stored.gameMode = c.mode;
        stored.medal = c.medal;
        LevelRecord expected = kept;
        expected.bestTime = c.keptTime, expected.highestDifficulty = c.keptDifficulty, expected.gameMode = c.keptMode;
        expected.medal = c.keptMedal;
        FileBuilder file;
        file.int32(1).int32(0).int32(1);
        addRecord(file, stored);
        file.int32(0).int32(0);
        ProgressTableRecord read;
        std::string error;
        ASSERT_TRUE(decode(file.bytes, read, error)) << c.name << ": " << error;
        ASSERT_EQ(read.list(kListCustom).size(), 1u) << c.name;
        EXPECT_EQ(read.list(kListCustom)[0], expected) << c.name;
        if (c.keptMedal != c.medal) {
            // A hand-edited medal no longer wins every later merge.
            LevelRecord bronze = expected;
            bronze.medal = 0;
            mergeLevelRecord(read.list(kListCustom)[0], bronze);
            EXPECT_EQ(read.list(kListCustom)[0].medal, 0) << c.name;
        }
    }
}

TEST(ProgressFile, StatisticsTheCheatsCountAreHeldToWhatOneRunReaches) {
    struct Case {
        const char* name;
        int32_t gold, enemies, score, trick;
        int32_t keptGold, keptEnemies, keptScore, keptTrick;
    };
    const Case cases[] = {
        {"in range", 3, 40, 900, 300, 3, 40, 900, 300},
        {"the ends of the ranges", 5, 100, 0, 0, 5, 100, 0, 0},
        {"a hand-edited 1000 Gold Radudods", 1000, 40, 900, 300, 5, 40, 900, 300},
        {"negative values", -7, -1, -500, -2, 0, 0, 0, 0},
        {"more than every enemy", 3, 250, 900, 300, 3, 100, 900, 300},
        {"the largest values", INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 5, 100, INT32_MAX, INT32_MAX},
        {"the smallest values", INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        LevelRecord stored = record("L", true, 12.5, 0);
        stored.goldZuzevirs = c.gold, stored.enemiesPercent = c.enemies, stored.bestScore = c.score;
        stored.bestTrick = c.trick;
        LevelRecord expected = stored;
        expected.goldZuzevirs = c.keptGold, expected.enemiesPercent = c.keptEnemies, expected.bestScore = c.keptScore;
        expected.bestTrick = c.keptTrick;
        FileBuilder file;
        file.int32(1).int32(1);
        addRecord(file, stored);
        file.int32(0).int32(0).int32(0);
        ProgressTableRecord read;
        std::string error;
        ASSERT_TRUE(decode(file.bytes, read, error)) << c.name << ": " << error;
        ASSERT_EQ(read.list(kListAction).size(), 1u) << c.name;
        EXPECT_EQ(read.list(kListAction)[0], expected) << c.name;
    }

    // One hand-edited record unlocks no cheat, and a negative one takes nothing from the others.
    FileBuilder file;
    file.int32(1).int32(3);
    LevelRecord edited = record("A", true, 1.0, 0), honest = record("B", true, 1.0, 0), negative = edited;
    edited.goldZuzevirs = 1000, honest.goldZuzevirs = 4, negative.name = "C", negative.goldZuzevirs = -100;
    for (const LevelRecord& r : {edited, honest, negative}) addRecord(file, r);
    file.int32(0).int32(0).int32(0);
    ProgressTableRecord read;
    std::string error;
    ASSERT_TRUE(decode(file.bytes, read, error)) << error;
    ProgressTable = read;
    EXPECT_EQ(totalGoldZuzevirs(), 5 + 4);
    setCheatProgressReader([] { return CheatProgress{totalGoldZuzevirs(), countPerfectLevels()}; });
    for (int i = 0; i < 23; i++) EXPECT_FALSE(isCheatUnlocked(i)) << i;
    setCheatProgressReader(nullptr);
    ProgressTable = ProgressTableRecord{};
}

TEST(ProgressFile, ANameStoredWithoutItsNulReadsAsWhatIsWrittenBack) {
    for (const int32_t length : {1, 2, 499, 500}) {
        FileBuilder file;
        file.int32(1).int32(1).int32(length).text(std::string(size_t(length), 'n'));
        file.int32(1).real(5.0).int32(0).int32(0).int32(0).int32(0).int32(0).int32(0).int32(-1);
        file.int32(0).int32(0).int32(0);
        ProgressTableRecord read;
        std::string error;
        ASSERT_TRUE(decode(file.bytes, read, error)) << length << ": " << error;
        ASSERT_EQ(read.list(kListAction).size(), 1u) << length;
        EXPECT_EQ(read.list(kListAction)[0].name, std::string(size_t(length - 1), 'n')) << length;
        ProgressTableRecord again;
        ASSERT_TRUE(decode(encodeProgress(read), again, error)) << length << ": " << error;
        EXPECT_EQ(again.lists, read.lists) << length;
    }
}

TEST(ProgressFile, MutatedFilesNeverCrashAndWhatIsReadWritesBackTheSame) {
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
        if (decode(bytes, table, error))
            ++parsed;
        else
            EXPECT_FALSE(error.empty());
        // Whole or only partly read, what was kept is in range and survives a write and a read unchanged.
        expectInRange(table, "round " + std::to_string(round));
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
         with(base, [](LevelRecord& r) { r.enemiesPercent = 100, r.highestDifficulty = 4, r.bestTrick = 900; })},
    };
    for (const Case& c : cases) {
        LevelRecord stored = c.stored;
        mergeLevelRecord(stored, c.result);
        EXPECT_EQ(stored, c.merged) << c.name;
    }
}

class ProgressTableTest : public ::testing::Test {
protected:
    void SetUp() override { ProgressTable = ProgressTableRecord{}; }
    void TearDown() override {
        ProgressTable = ProgressTableRecord{};
        clearLevelCatalogue();
        LevelCatalogue.currentIndex = -1;
        LevelCatalogue.currentKind = kListAction;
        CurrentLevelGoals = LevelGoals{};
    }
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

TEST_F(ProgressTableTest, MissingFileIsCreatedEmptyAndADamagedOneIsKeptAsideWithWhatItHeld) {
    EXPECT_TRUE(readProgress().damage.empty());
    EXPECT_EQ(fileBytes(progressFilePath()), (Bytes{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

    // Three starts, each finding a damaged file: every damaged copy keeps its own name, and the records read
    // before the damage are kept and written at once.
    const std::string path = progressFilePath();
    const std::string asides[] = {path + ".damaged", path + ".damaged.1", path + ".damaged.2"};
    std::vector<Bytes> damagedFiles;
    for (size_t start = 0; start < 3; ++start) {
        Bytes damaged = sampleFile().bytes;
        damaged.resize(damaged.size() - 1 - start); // the Race record cut short
        damaged[damaged.size() - 1] ^= uint8_t(start);
        damagedFiles.push_back(damaged);
        writeBytes(path, damaged);
        ProgressTable.list(kListRace) = {record("Forgotten", false, 1.0, 0)};
        const ProgressReadResult result = readProgress();
        EXPECT_NE(result.damage.find("the file ends early"), std::string::npos) << result.damage;
        EXPECT_EQ(result.movedTo, asides[start]);
        ProgressTableRecord kept = sampleTable();
        kept.list(kListRace).clear();
        EXPECT_EQ(ProgressTable.lists, kept.lists) << "start " << start;
        EXPECT_EQ(fileBytes(path), encodeProgress(kept)) << "start " << start;
        for (size_t earlier = 0; earlier <= start; ++earlier)
            EXPECT_EQ(fileBytes(asides[earlier]), damagedFiles[earlier]) << "start " << start;
    }

    writeBytes(path, sampleFile().bytes);
    const ProgressReadResult whole = readProgress();
    EXPECT_TRUE(whole.damage.empty());
    EXPECT_TRUE(whole.movedTo.empty());
    EXPECT_EQ(ProgressTable.lists, sampleTable().lists);
}

TEST_F(ProgressTableTest, AFailedWriteKeepsTheOldFile) {
    readProgress();
    writeBytes(progressFilePath(), sampleFile().bytes);
    readProgress();
    ProgressTable.list(kListCustom).push_back(record("New", true, 3.0, 0));
    {
        FileSizeLimit fullDisk(16);
        EXPECT_FALSE(writeProgress());
    }
    EXPECT_EQ(fileBytes(progressFilePath()), sampleFile().bytes);
    EXPECT_TRUE(temporariesBeside(progressFilePath()).empty());
    EXPECT_EQ(ProgressTable.list(kListCustom).size(), 2u) << "the lists in memory stay as they are";
    EXPECT_TRUE(writeProgress());
    EXPECT_EQ(fileBytes(progressFilePath()), encodeProgress(ProgressTable));
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
    EXPECT_EQ(stored.highestDifficulty, 3); // difficulty 3 beats the stored 2
    EXPECT_EQ(stored.gameMode, kGameModeRace);
    EXPECT_EQ(stored.medal, 2); // gold beats none
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

TEST_F(ProgressTableTest, AResultThatCannotBeSavedStaysInTheListsAndIsToldOnce) {
    readProgress();
    const Bytes before = fileBytes(progressFilePath());
    LevelCatalogue.list(kListCustom) = {{"A.lvl", "x/A.lvl"}, {"B.lvl", "x/B.lvl"}};
    LevelCatalogue.currentKind = kListCustom;
    std::vector<std::string> boxes;
    host::setMessageBoxHandler(
        [&](const std::string& caption, const std::string& text) { boxes.push_back(caption + ": " + text); });
    forgetToldFileFailures();
    LevelRunResult run;
    run.won = true;
    run.levelTime = 20.0;
    {
        FileSizeLimit fullDisk(16);
        for (int32_t index : {0, 1, 0}) {
            LevelCatalogue.currentIndex = index;
            recordLevelResult(run);
        }
    }
    const std::string told =
        "Failed to Save Progress: File \"" + progressFilePath() + "\" failed to save (File too large)";
    EXPECT_EQ(boxes, std::vector<std::string>{told}) << "one box for every failed save of the run";
    EXPECT_EQ(fileBytes(progressFilePath()), before);
    EXPECT_TRUE(findOrAddLevelRecord(kListCustom, "A").completed && findOrAddLevelRecord(kListCustom, "B").completed);

    // The next save that can be made keeps both results.
    recordLevelResult(run);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(fileBytes(progressFilePath()), encodeProgress(ProgressTable));
    ProgressTableRecord saved;
    std::string error;
    ASSERT_TRUE(decode(fileBytes(progressFilePath()), saved, error)) << error;
    EXPECT_EQ(saved.list(kListCustom).size(), 2u);
    host::setMessageBoxHandler(nullptr);
}

TEST_F(ProgressTableTest, CheatUnlockCountsLookOnlyAtActionRecords) {
    ProgressTable.list(kListAction) = {record("A", true, 1.0, 100), record("B", true, 1.0, 99)};
    ProgressTable.list(kListStunt) = {record("S", true, 1.0, 100)};
    ProgressTable.list(kListCustom) = {record("C", true, 1.0, 100)};
    EXPECT_EQ(totalGoldZuzevirs(), 5 + 4);
    EXPECT_EQ(countPerfectLevels(), 1);
}

TEST_F(ProgressTableTest, ReadingProgressLetsTheCheatsUnlockFromIt) {
    readProgress();
    ProgressTable.list(kListAction) = {record("A", true, 1.0, 100), record("B", true, 1.0, 100)};
    ProgressTable.list(kListAction)[0].goldZuzevirs = 5000;
    ProgressTable.list(kListAction)[1].goldZuzevirs = 5000;
    const CheatProgress earned{totalGoldZuzevirs(), countPerfectLevels()};
    int unlocked = 0;
    for (int i = 0; i < 23; i++) {
        EXPECT_EQ(isCheatUnlocked(i), isCheatUnlockedBy(i, earned)) << i;
        unlocked += isCheatUnlocked(i);
    }
    EXPECT_GT(unlocked, 0);
    ProgressTable = ProgressTableRecord{};
    for (int i = 0; i < 23; i++) EXPECT_EQ(isCheatUnlocked(i), isCheatUnlockedBy(i, CheatProgress{})) << i;
}

} // namespace
