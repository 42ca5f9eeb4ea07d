// The folder paths and their creation.
#include "FolderPaths.h"

#include "KMiscTools.h"

#include <filesystem>
#include <system_error>

namespace {

struct FolderPathSet {
    std::string user, customLevels;
    std::string graphics, sound, music, levels, fonts, stuntLevels, raceLevels;
};
FolderPathSet folderPaths;

std::string assetFolder(const char* sub) {
    return KMiscTools::makeDataPath(std::string("data/") + "full/" + sub);
}

void createFolder(const std::string& path) {
    std::error_code ignored;
    std::filesystem::create_directory(path, ignored);
}

} // namespace

void setUpFolders() {
    std::string appData = KMiscTools::getAppDataFolder();
    while (!appData.empty() && appData.back() == '/') appData.pop_back();
    folderPaths.user = appData + "/glimmerfin/";
    folderPaths.customLevels = folderPaths.user + "customlevels/";
    createFolder(folderPaths.user);
    createFolder(folderPaths.customLevels);

    folderPaths.graphics = assetFolder("graphics/");
    folderPaths.sound = assetFolder("sound/");
    folderPaths.music = assetFolder("music/");
    folderPaths.levels = assetFolder("levels/");
    folderPaths.fonts = assetFolder("f/");
    folderPaths.stuntLevels = assetFolder("stuntlevels/");
    folderPaths.raceLevels = assetFolder("racelevels/");
}

std::string getUserFolderPath() {
    return folderPaths.user;
}
std::string getCustomLevelsFolder() {
    return folderPaths.customLevels;
}
std::string getGraphicsFolder() {
    return folderPaths.graphics;
}
std::string getSoundFolder() {
    return folderPaths.sound;
}
std::string getMusicFolder() {
    return folderPaths.music;
}
std::string getLevelsFolder() {
    return folderPaths.levels;
}
std::string getFontsFolder() {
    return folderPaths.fonts;
}
std::string getStuntLevelsFolder() {
    return folderPaths.stuntLevels;
}
std::string getRaceLevelsFolder() {
    return folderPaths.raceLevels;
}
