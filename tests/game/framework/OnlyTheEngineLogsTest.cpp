// Only the engine writes to the log: the game's failures with its own files (options, progress, music, levels)
// leave no lines of the game's own, only the engine's lines, each naming an engine area.
#include "FolderPaths.h"
#include "GameOptions.h"
#include "HandSteppedSound.h"
#include "KLog.h"
#include "LevelFile.h"
#include "MusicPlaylist.h"
#include "ProgressTable.h"
#include "SaveFiles.h"
#include "TempFolder.h"
#include "TempUserFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>

namespace {

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The log's lines ("hh:mm:ss: Area: ...") whose area is not one of the engine's.
std::vector<std::string> linesOutsideTheEngine() {
    static const std::set<std::string> engineAreas = {"BMP",    "D3D8",   "D3D9",     "GIF",      "Image",
                                                      "Jpeg",   "OpenGL", "PNG",      "Resource", "Sound",
                                                      "System", "TGA",    "KTrueText"};
    std::istringstream lines(std::string(KLog::memoryBuffer(), KLog::memoryBufferUsed()));
    std::vector<std::string> outside;
    for (std::string line; std::getline(lines, line);) {
        const size_t areaStart = line.size() > 10 ? 10 : line.size(); // after "hh:mm:ss: "
        const std::string area = line.substr(areaStart, line.find(':', areaStart) - areaStart);
        if (!engineAreas.count(area)) outside.push_back(line);
    }
    return outside;
}

} // namespace

TEST(OnlyTheEngineLogs, TheGamesFileFailuresLeaveNoLinesOfItsOwn) {
    TempUserFolder home;
    HandSteppedSound sound;
    KLog::clearMemoryBuffer();

    // Options: too short, out of range, unreadable, unwritable.
    writeText(optionsFilePath(), "abc");
    readOptions();
    GameOptions.difficulty = 9;
    GameOptions.musicVolume = -3;
    writeOptions();
    readOptions();
    std::filesystem::remove(optionsFilePath());
    std::filesystem::create_directories(optionsFilePath() + "/inside");
    readOptions();
    EXPECT_FALSE(writeOptions());

    // Progress: damaged, then unwritable.
    writeText(progressFilePath(), std::string("\1\0\0\0\7\0\0\0", 8));
    EXPECT_FALSE(readProgress().damage.empty());
    {
        FileSizeLimit fullDisk(16);
        EXPECT_FALSE(writeProgress());
    }

    // Music: a track that cannot be played.
    TempFolder music;
    music.write("broken.ogg", "OggS but not really a stream");
    initMusicPlaylistFrom(music.path() + "/");
    freeMusicPlaylist();

    // Levels: missing, damaged, unwritable.
    LevelData level;
    EXPECT_FALSE(readLevelData(getCustomLevelsFolder() + "Missing.lvl", level));
    writeText(getCustomLevelsFolder() + "Bad.lvl", "not a level");
    EXPECT_FALSE(readLevelData(getCustomLevelsFolder() + "Bad.lvl", level));
    EXPECT_FALSE(writeLevelData(getCustomLevelsFolder() + "no such folder/x.lvl", level));

    EXPECT_EQ(linesOutsideTheEngine(), std::vector<std::string>{});
    GameOptions = GameOptionsRecord();
    ProgressTable = ProgressTableRecord{};
}
