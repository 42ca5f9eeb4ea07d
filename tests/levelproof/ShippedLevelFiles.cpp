// The shipped level files and their places in the level catalogue.
#include "ShippedLevelFiles.h"

#include "LevelCatalogue.h"

#include <cctype>
#include <filesystem>

std::vector<std::string> shippedLevelFiles() {
    std::vector<std::string> files;
    for (const std::string& file : findLevelTextFiles(GLIMMERFIN_LEVEL_TEXTS_DIR))
        if (std::filesystem::path(file).filename() != "default.txt") files.push_back(file);
    return files;
}

std::vector<std::string> shippedActionLevelFiles() {
    std::vector<std::string> files;
    for (const std::string& file : shippedLevelFiles())
        if (std::filesystem::path(file).parent_path().filename() == "action") files.push_back(file);
    return files;
}

std::string shippedLevelTestName(const testing::TestParamInfo<std::string>& info) {
    const std::filesystem::path file(info.param);
    std::string name = file.parent_path().filename().string() + "_" + file.stem().string();
    name[0] = char(std::toupper(static_cast<unsigned char>(name[0])));
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

int32_t catalogueKindOf(const LevelText& level) {
    if (level.kind == LevelTextKind::Stunt) return kListStunt;
    if (level.kind == LevelTextKind::Race) return kListRace;
    return kListAction;
}

int32_t catalogueIndexOf(const LevelText& level, std::string& error) {
    const std::string fileName = std::filesystem::path(level.outputPath()).filename().string();
    buildLevelCatalogue();
    const std::vector<LevelEntry>& list = LevelCatalogue.list(catalogueKindOf(level));
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].fileName == fileName) return int32_t(i);
    error = fileName + " is not in the level list (is the data folder built?)";
    return -1;
}

bool findShippedLevel(const std::string& file, int32_t& kind, int32_t& index, std::string& error) {
    LevelText level;
    if (!parseLevelText(file, level, error)) return false;
    kind = catalogueKindOf(level);
    index = catalogueIndexOf(level, error);
    return index >= 0;
}
