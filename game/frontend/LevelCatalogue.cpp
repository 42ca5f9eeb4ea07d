// The level catalogue's lists and their folder scan.
#include "LevelCatalogue.h"

#include "FolderPaths.h"
#include "KMiscTools.h"
#include "TextTools.h"

#include <algorithm>

LevelCatalogueRecord LevelCatalogue;

std::string levelFolderOf(int32_t kind) {
    switch (kind) {
    case kListAction:
        return getLevelsFolder();
    case kListStunt:
        return getStuntLevelsFolder();
    case kListRace:
        return getRaceLevelsFolder();
    default:
        return getCustomLevelsFolder();
    }
}

std::string customLevelPath(const std::string& name) {
    if (name.find('/') != std::string::npos) return {};
    return getCustomLevelsFolder() + name + ".lvl";
}

void scanLevelFolder(int32_t kind, const std::string& folder) {
    LevelCatalogue.scanKind = kind;
    std::vector<LevelEntry>& list = LevelCatalogue.list(kind);
    KMiscTools::enumerateFolder(
        [&](const std::string& name, bool isFolder) {
            if (isFolder || !endsWith(name, ".lvl")) return true;          // a folder named like a level is not one
            if (kind == kListAction && name == "default.lvl") return true; // the editor's start level
            list.push_back(LevelEntry{name, folder + name});
            return true;
        },
        folder);
    // std::string's ordering compares bytes as unsigned char, so "10.X.lvl" comes before "2.Y.lvl".
    std::stable_sort(list.begin(), list.end(),
                     [](const LevelEntry& a, const LevelEntry& b) { return a.fileName < b.fileName; });
}

void buildLevelCatalogue() {
    clearLevelCatalogue();
    for (int32_t kind = 0; kind < kLevelListKinds; ++kind) scanLevelFolder(kind, levelFolderOf(kind));
}

void clearLevelCatalogue() {
    for (std::vector<LevelEntry>& list : LevelCatalogue.lists) list.clear();
}

std::string levelDisplayName(const std::string& fileName) {
    return fileName.size() >= 4 ? fileName.substr(0, fileName.size() - 4) : std::string();
}

std::string currentLevelName() {
    if (!LevelCatalogue.contains(LevelCatalogue.currentKind, LevelCatalogue.currentIndex)) return {};
    return levelDisplayName(
        LevelCatalogue.list(LevelCatalogue.currentKind)[size_t(LevelCatalogue.currentIndex)].fileName);
}
