// Fuzz target: the "completedlevels" progress file as the game reads it at start-up. A file that reads must
// keep every record when written back; a damaged one must be kept whole beside the new one and leave the
// lists as they were; the lookups the level select and the cheats make must work on whatever was read.
#include "FuzzSupport.h"

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
    const std::string aside = path + ".damaged";
    std::error_code ignored;
    std::filesystem::remove(aside, ignored);
    writeFuzzFile(path, data, size);

    ProgressTable = ProgressTableRecord{};
    ProgressTableRecord decoded;
    std::string error;
    const bool good = decodeProgress(data, size, decoded, error);
    readProgress();
    if (!good) {
        // Nothing of a damaged file is lost, and the lists stay empty.
        FUZZ_CHECK(!error.empty());
        FUZZ_CHECK(readFuzzFile(aside) == std::string_view(reinterpret_cast<const char*>(data), size));
        FUZZ_CHECK(!std::filesystem::exists(path, ignored));
        FUZZ_CHECK(sameLists(ProgressTable, ProgressTableRecord{}));
        return 0;
    }
    FUZZ_CHECK(sameLists(ProgressTable, decoded));
    for (const std::vector<LevelRecord>& list : ProgressTable.lists)
        for (size_t i = 1; i < list.size(); ++i) FUZZ_CHECK(!(list[i].name < list[i - 1].name));

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
