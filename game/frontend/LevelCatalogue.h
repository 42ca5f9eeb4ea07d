// The level catalogue: the program's one index of playable levels, four lists of level files (Action, Stunt,
// Race, Custom) built from their folders, and the list kind and index of the level being played.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

enum LevelListKind : int32_t {
    kListAction = 0,
    kListStunt = 1,
    kListRace = 2,
    kListCustom = 3,
};
constexpr int kLevelListKinds = 4;

struct LevelEntry {
    std::string fileName; // as found in the folder, ".lvl" included ("12.Reef.lvl")
    std::string path;     // the folder followed by the file name
};

struct LevelCatalogueRecord {
    std::array<std::vector<LevelEntry>, kLevelListKinds> lists;
    int32_t currentKind = kListAction;
    int32_t currentIndex = -1; // -1: no level is current
    int32_t scanKind = kListAction;

    std::vector<LevelEntry>& list(int32_t kind) { return lists[size_t(kind)]; }
    bool contains(int32_t kind, int32_t index) const {
        return kind >= 0 && kind < kLevelListKinds && index >= 0 && size_t(index) < lists[size_t(kind)].size();
    }
};
extern LevelCatalogueRecord LevelCatalogue;

// The folder a kind's levels are listed from.
std::string levelFolderOf(int32_t kind);
// The file of the custom level the user names in the editor: the custom-levels folder + name + ".lvl". Empty
// for a name that would lead out of that folder (one holding a '/'); a backslash is an ordinary character.
std::string customLevelPath(const std::string& name);

// Empties the four lists and fills them again from the folders, each sorted by file name in byte order.
// Only names ending in ".lvl" (and longer than it) are kept; "default.lvl" is left out of the Action list.
// A missing folder gives an empty list. The current kind and index are kept.
void buildLevelCatalogue();
void clearLevelCatalogue();
// Adds a folder's level names to the list of a kind: the rules of buildLevelCatalogue for one folder.
void scanLevelFolder(int32_t kind, const std::string& folder);

// The file name without its last four characters (the ".lvl").
std::string levelDisplayName(const std::string& fileName);
// The display name of the current entry; empty when no level of the current list is current.
std::string currentLevelName();
