// The level generator: reads every level text file of the levels folder (Action, Stunt, Race and the editor's
// "default.txt") and writes each level's ".lvl" into the data folder through the game's own level model,
// brushes and level writer. Any fault in a file stops it with the file, the line and what is wrong.
// Usage: levelgen --data DIR --levels DIR
#include "LevelBuilder.h"
#include "LevelText.h"
#include "PlacementList.h"
#include "TileMap.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 5 || std::string(argv[1]) != "--data" || std::string(argv[3]) != "--levels") {
        std::fprintf(stderr, "usage: levelgen --data DIR --levels DIR\n");
        return 2;
    }
    const std::string data = std::string(argv[2]) + "/";
    std::vector<LevelText> levels;
    std::map<std::string, std::string> outputs; // output path -> the file that makes it
    bool ok = true;
    for (const std::string& file : findLevelTextFiles(argv[4])) {
        LevelText level;
        std::string error;
        if (!parseLevelText(file, level, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            ok = false;
            continue;
        }
        // Two files of one list with the same number would make two entries for one place in it.
        std::string place = level.outputPath();
        place = place.substr(0, place.find('.'));
        if (const auto [other, added] = outputs.emplace(place, file); !added) {
            std::fprintf(stderr, "%s: has the number of %s\n", file.c_str(), other->second.c_str());
            ok = false;
            continue;
        }
        levels.push_back(std::move(level));
    }
    if (!ok) return 1;
    if (levels.empty()) {
        std::fprintf(stderr, "levelgen: no level files in %s\n", argv[4]);
        return 1;
    }
    // The three folders hold only what is built here: a level dropped from the list or renamed must not stay
    // behind in the game's lists.
    for (const char* folder : {"levels", "stuntlevels", "racelevels"}) {
        std::filesystem::create_directories(data + folder);
        std::error_code error;
        for (const auto& file : std::filesystem::directory_iterator(data + folder, error))
            if (file.path().extension() == ".lvl") std::filesystem::remove(file.path(), error);
    }
    for (const LevelText& level : levels) ok = buildLevel(level, data + level.outputPath()) && ok;
    Placements.clearPlacements();
    releaseTileMap();
    return ok ? 0 : 1;
}
