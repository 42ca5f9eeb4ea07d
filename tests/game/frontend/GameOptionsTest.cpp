// The "options" file: the exact bytes of a new installation, every older version read and written back as
// version 4, damaged files, a file that cannot be read, and writes that never lose the old file.
#include "GameOptions.h"
#include "../framework/TempUserFolder.h"
#include "FileFailureBox.h"
#include "HostSystem.h"
#include "KRandom.h"
#include "SaveFiles.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;

// A file built by hand, field by field, little-endian.
struct FileBuilder {
    Bytes bytes;
    FileBuilder& int32(int32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(uint32_t(v) >> (8 * i)));
        return *this;
    }
    FileBuilder& real(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        for (int i = 0; i < 8; ++i) bytes.push_back(static_cast<unsigned char>(bits >> (8 * i)));
        return *this;
    }
    Bytes cut(size_t size) const { return Bytes(bytes.begin(), bytes.begin() + long(size)); }
};

// Every field of a version-4 file, with values that differ from the defaults.
FileBuilder fullFile(int32_t version = 4) {
    FileBuilder file;
    file.int32(version).int32(3).real(0.25).real(0.75).int32(7).real(1.5).real(2.5).int32(0).int32(0);
    return file;
}

// The bytes of a new installation: 4, 1, 0.5, 0.5, 0, 0.0, 0.34, 1, 1.
const Bytes kNewInstallation = {
    0x04, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,                                     // version, difficulty
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE0, 0x3F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, // music 0.5, sound 0.5
    0xE0, 0x3F, 0x00, 0x00, 0x00, 0x00,                                                 // ... reserved1
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,                                     // reserved2 0.0
    0xC3, 0xF5, 0x28, 0x5C, 0x8F, 0xC2, 0xD5, 0x3F,                                     // storedReal 0.34
    0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,                                     // windowed, autoAim
};

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
}

class OptionsFile : public testing::Test {
protected:
    void SetUp() override { GameOptions = GameOptionsRecord(); }
    void TearDown() override { GameOptions = GameOptionsRecord(); }
    TempUserFolder home;
    std::string path = optionsFilePath();
};

bool sameOptions(const GameOptionsRecord& a, const GameOptionsRecord& b) {
    return a.difficulty == b.difficulty && a.musicVolume == b.musicVolume && a.soundVolume == b.soundVolume &&
           a.reserved1 == b.reserved1 && a.reserved2 == b.reserved2 && a.storedReal == b.storedReal &&
           a.windowed == b.windowed && a.autoAim == b.autoAim;
}

} // namespace

TEST_F(OptionsFile, ANewInstallationCreatesTheDefaultFile) {
    EXPECT_EQ(path, home.userFile("options"));
    ASSERT_FALSE(fs::exists(path));
    readOptions();
    EXPECT_EQ(readFile(path), kNewInstallation);
    EXPECT_TRUE(sameOptions(GameOptions, GameOptionsRecord()));
    EXPECT_TRUE(temporariesBeside(path).empty());
}

TEST_F(OptionsFile, EachOlderVersionKeepsTheFieldsItLacksAndIsWrittenBackAsVersion4) {
    const GameOptionsRecord d;
    const struct {
        int32_t version;
        size_t size;
        GameOptionsRecord expected;
    } cases[] = {
        {0, 28, {3, 0.25, 0.75, 7, d.reserved2, d.storedReal, true, true}},
        {1, 36, {3, 0.25, 0.75, 7, 1.5, d.storedReal, true, true}},
        {2, 44, {3, 0.25, 0.75, 7, 1.5, 2.5, true, true}},
        {3, 48, {3, 0.25, 0.75, 7, 1.5, 2.5, false, true}},
        {4, 52, {3, 0.25, 0.75, 7, 1.5, 2.5, false, false}},
    };
    for (const auto& c : cases) {
        GameOptions = GameOptionsRecord();
        writeFile(path, fullFile(c.version).cut(c.size));
        readOptions();
        EXPECT_TRUE(sameOptions(GameOptions, c.expected)) << "version " << c.version;
        ASSERT_TRUE(writeOptions());
        const Bytes written = readFile(path);
        const GameOptionsRecord& e = c.expected;
        FileBuilder expected;
        expected.int32(4).int32(e.difficulty).real(e.musicVolume).real(e.soundVolume).int32(e.reserved1);
        expected.real(e.reserved2).real(e.storedReal).int32(e.windowed).int32(e.autoAim);
        EXPECT_EQ(written, expected.bytes) << "version " << c.version;
    }
}

TEST_F(OptionsFile, DamagedFilesGiveDefaultsWhereTheyAreWrong) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const GameOptionsRecord d;
    auto file = [](int32_t version, int32_t difficulty, double music, double sound, double reserved2, double stored,
                   int32_t windowed, int32_t autoAim) {
        FileBuilder f;
        f.int32(version).int32(difficulty).real(music).real(sound).int32(0).real(reserved2).real(stored);
        return f.int32(windowed).int32(autoAim).bytes;
    };
    const struct {
        const char* what;
        Bytes bytes;
        GameOptionsRecord expected;
    } cases[] = {
        {"empty", {}, d},
        {"shorter than version 0", fullFile().cut(27), d},
        {"version 4 cut to 44 bytes reads as version 2", fullFile().cut(44), {3, 0.25, 0.75, 7, 1.5, 2.5, true, true}},
        {"version 4 cut to 50 bytes reads as version 3", fullFile().cut(50), {3, 0.25, 0.75, 7, 1.5, 2.5, false, true}},
        {"a newer version reads its version-4 part", fullFile(9).bytes, {3, 0.25, 0.75, 7, 1.5, 2.5, false, false}},
        {"a negative version reads as version 0", fullFile(-1).bytes, {3, 0.25, 0.75, 7, 0.0, 0.34, true, true}},
        {"bytes after the last field",
         [] {
             auto b = fullFile().bytes;
             b.resize(60, 0xAA);
             return b;
         }(),
         {3, 0.25, 0.75, 7, 1.5, 2.5, false, false}},
        {"difficulty 5", file(4, 5, 0.2, 0.3, 0, 0.34, 1, 1), {1, 0.2, 0.3, 0, 0, 0.34, true, true}},
        {"difficulty -1", file(4, -1, 0.2, 0.3, 0, 0.34, 1, 1), {1, 0.2, 0.3, 0, 0, 0.34, true, true}},
        {"volumes not finite", file(4, 2, nan, inf, 0, 0.34, 1, 1), {2, 0.5, 0.5, 0, 0, 0.34, true, true}},
        {"volumes out of range", file(4, 2, 1.5, -0.1, 0, 0.34, 1, 1), {2, 0.5, 0.5, 0, 0, 0.34, true, true}},
        {"kept values not finite", file(4, 2, 0.2, 0.3, inf, nan, 1, 1), {2, 0.2, 0.3, 0, 0.0, 0.34, true, true}},
        {"flags other than exactly 1", file(4, 2, 1.0, 0.0, 0, 0.34, 2, -1), {2, 1.0, 0.0, 0, 0, 0.34, false, false}},
    };
    for (const auto& c : cases) {
        GameOptions = GameOptionsRecord();
        writeFile(path, c.bytes);
        readOptions();
        EXPECT_TRUE(sameOptions(GameOptions, c.expected)) << c.what;
        EXPECT_EQ(readFile(path), c.bytes) << c.what << ": reading never changes the file";
    }
}

TEST_F(OptionsFile, AFileThatCannotBeReadIsLeftAlone) {
    fs::create_directory(path); // exists, but reading it fails
    GameOptions.difficulty = 2;
    readOptions();
    EXPECT_EQ(GameOptions.difficulty, 2);
    EXPECT_TRUE(fs::is_directory(path));
}

TEST_F(OptionsFile, AFailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile) {
    fs::create_directory(path);
    writeFile(path + "/inside", {1, 2, 3}); // the rename over a folder that holds something fails
    EXPECT_FALSE(writeOptions());
    EXPECT_TRUE(fs::is_regular_file(path + "/inside"));
    EXPECT_TRUE(temporariesBeside(path).empty());

    fs::remove_all(home.homePath() + "/glimmerfin");
    EXPECT_FALSE(writeOptions()); // no user folder at all
}

TEST_F(OptionsFile, ASaveThatFailsWhereThePlayerIsThereIsToldOnce) {
    writeFile(path, kNewInstallation);
    std::vector<std::string> boxes;
    host::setMessageBoxHandler(
        [&](const std::string& caption, const std::string& text) { boxes.push_back(caption + ": " + text); });
    forgetToldFileFailures();
    GameOptions.difficulty = 4;
    {
        FileSizeLimit fullDisk(16);
        saveOptionsTellingFailure();
        saveOptionsTellingFailure();
    }
    EXPECT_EQ(boxes, std::vector<std::string>{"Failed to Save Options: File \"" + path +
                                              "\" failed to save (File too large)"});
    EXPECT_EQ(readFile(path), kNewInstallation);
    EXPECT_EQ(GameOptions.difficulty, 4) << "the settings in use stay as chosen";
    saveOptionsTellingFailure();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(readFile(path)[4], 4);
    host::setMessageBoxHandler(nullptr);
}

TEST_F(OptionsFile, AWriteReplacesTheOldFileWhole) {
    writeFile(path, Bytes(100, 0xEE));
    GameOptions.difficulty = 4;
    GameOptions.windowed = false;
    ASSERT_TRUE(writeOptions());
    Bytes expected = kNewInstallation;
    expected[4] = 4;
    expected[44] = 0;
    EXPECT_EQ(readFile(path), expected);
    EXPECT_TRUE(temporariesBeside(path).empty());
}

TEST(OptionsDecoding, RandomBytesAlwaysGiveSettingsTheGameCanUse) {
    kSrand(7);
    Bytes bytes;
    for (int round = 0; round < 5000; ++round) {
        bytes.resize(size_t(kRand() % 64));
        for (unsigned char& b : bytes) b = static_cast<unsigned char>(kRand() & 0xFF);
        if (bytes.size() >= 4 && kRand() % 2) bytes[0] = static_cast<unsigned char>(kRand() % 6); // a real version
        GameOptionsRecord options;
        const bool taken = decodeOptions(bytes.data(), bytes.size(), options);
        EXPECT_EQ(taken, bytes.size() >= 28);
        EXPECT_GE(options.difficulty, 0);
        EXPECT_LE(options.difficulty, 4);
        EXPECT_TRUE(options.musicVolume >= 0.0 && options.musicVolume <= 1.0);
        EXPECT_TRUE(options.soundVolume >= 0.0 && options.soundVolume <= 1.0);
        EXPECT_TRUE(std::isfinite(options.reserved2) && std::isfinite(options.storedReal));
    }
}
