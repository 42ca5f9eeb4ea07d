// Fuzz target: the "completedlevels" progress file as the game reads it at start-up. The lists read are what
// the bytes hold (for a damaged file, the records before the damage, the file itself kept whole beside); the
// lookups the level select and the cheats make work on them; written back, they read as the same lists.
#include "FuzzSupport.h"

#include "FolderPaths.h"
#include "ProgressTable.h"

#include <filesystem>
#include <string_view>

namespace {

bool sameLists(const ProgressTableRecord& a, const ProgressTableRecord& b) {
    return a.lists == b.lists;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    useFuzzUserFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = progressFilePath();
    std::error_code ignored;
    for (const auto& file : std::filesystem::directory_iterator(getUserFolderPath(), ignored))
        if (file.path().filename().string().rfind("completedlevels.", 0) == 0) std::filesystem::remove(file, ignored);
    writeFuzzFile(path, data, size);

    ProgressTable = ProgressTableRecord{};
    ProgressTableRecord decoded;
    std::string error;
    const bool whole = decodeProgress(data, size, decoded, error);
    const ProgressReadResult read = readProgress();
    // What the reader gives is what the bytes hold (for a damaged file, the records before the damage).
    FUZZ_CHECK(sameLists(ProgressTable, decoded));
    for (const std::vector<LevelRecord>& list : ProgressTable.lists)
        for (size_t i = 1; i < list.size(); ++i) FUZZ_CHECK(list[i - 1].name < list[i].name);
    if (whole) {
        FUZZ_CHECK(read.damage.empty() && read.movedTo.empty());
    } else {
        // Nothing of a damaged file is lost: it is kept as it was, and what was read of it is written at once.
        FUZZ_CHECK(!read.damage.empty() && !read.movedTo.empty());
        FUZZ_CHECK(readFuzzFile(read.movedTo) == std::string_view(reinterpret_cast<const char*>(data), size));
    }

    // What the game does with the lists: the statistics for the cheats, the level select's lookups (which add a
    // record for a level not yet listed) and the whole file written again, which reads as the same lists.
    totalGoldZuzevirs();
    countPerfectLevels();
    for (int32_t kind = 0; kind < kLevelListKinds; ++kind) findOrAddLevelRecord(kind, "01.Reef");
    FUZZ_CHECK(writeProgress());
    const std::string written = readFuzzFile(path);
    ProgressTableRecord reread;
    FUZZ_CHECK(decodeProgress(reinterpret_cast<const unsigned char*>(written.data()), written.size(), reread, error));
    FUZZ_CHECK(sameLists(reread, ProgressTable));
    return 0;
}
