// The game's folders: the per-user folders under the XDG data home, the asset folders under the data folder.
#include "FolderPaths.h"
#include "KDataPaths.h"
#include "TempUserFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(FolderPaths, UserFoldersLieUnderTheDataHomeAndAreCreated) {
    TempUserFolder home;
    EXPECT_EQ(getUserFolderPath(), home.homePath() + "/glimmerfin/");
    EXPECT_EQ(getCustomLevelsFolder(), home.homePath() + "/glimmerfin/customlevels/");
    EXPECT_TRUE(fs::is_directory(getUserFolderPath()));
    EXPECT_TRUE(fs::is_directory(getCustomLevelsFolder()));
}

TEST(FolderPaths, AssetFoldersLieUnderDataFullBesideTheExecutable) {
    TempUserFolder home;
    const std::string root = getDataFolder() + "/data/full/";
    const struct {
        std::string path, expected;
    } cases[] = {
        {getGraphicsFolder(), root + "graphics/"},
        {getSoundFolder(), root + "sound/"},
        {getMusicFolder(), root + "music/"},
        {getLevelsFolder(), root + "levels/"},
        {getFontsFolder(), root + "f/"},
        {getStuntLevelsFolder(), root + "stuntlevels/"},
        {getRaceLevelsFolder(), root + "racelevels/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.path, c.expected);
        EXPECT_EQ(c.path.find('\\'), std::string::npos) << c.path;
    }
    EXPECT_EQ(getGraphicsFolder() + "laser.png", root + "graphics/laser.png");
}

TEST(FolderPaths, ASecondStartKeepsWhatTheFoldersHold) {
    TempUserFolder home;
    std::ofstream(getCustomLevelsFolder() + "mine.lvl") << "level";
    std::ofstream(getUserFolderPath() + "options") << "settings";
    setUpFolders();
    EXPECT_TRUE(fs::is_regular_file(getCustomLevelsFolder() + "mine.lvl"));
    EXPECT_EQ(fs::file_size(getUserFolderPath() + "options"), 8u);
}

TEST(FolderPaths, ADataHomeEndingInASlashGivesNoDoubleSlash) {
    TempUserFolder home;
    setenv("XDG_DATA_HOME", (home.homePath() + "/").c_str(), 1);
    setUpFolders();
    EXPECT_EQ(getUserFolderPath(), home.homePath() + "/glimmerfin/");
}
