// Fuzz target: the "options" file as the game reads it at start-up, before the window opens. Whatever the
// file holds, the settings that come out are ones the game can use (a known difficulty, volumes from 0 to 1,
// finite stored values), and written back they read as the same settings.
#include "FuzzSupport.h"

#include "GameOptions.h"

#include <cmath>

namespace {

bool sameOptions(const GameOptionsRecord& a, const GameOptionsRecord& b) {
    return a.difficulty == b.difficulty && a.musicVolume == b.musicVolume && a.soundVolume == b.soundVolume &&
           a.reserved1 == b.reserved1 && a.reserved2 == b.reserved2 && a.storedReal == b.storedReal &&
           a.windowed == b.windowed && a.autoAim == b.autoAim;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    useFuzzUserFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = optionsFilePath();
    writeFuzzFile(path, data, size);
    GameOptions = GameOptionsRecord{};
    readOptions();

    const GameOptionsRecord read = GameOptions;
    FUZZ_CHECK(read.difficulty >= 0 && read.difficulty <= 4);
    FUZZ_CHECK(read.musicVolume >= 0.0 && read.musicVolume <= 1.0);
    FUZZ_CHECK(read.soundVolume >= 0.0 && read.soundVolume <= 1.0);
    FUZZ_CHECK(std::isfinite(read.reserved2) && std::isfinite(read.storedReal));
    // A file too short for any version is left alone and nothing changes.
    if (size < kOptionsVersionSize[0]) {
        FUZZ_CHECK(sameOptions(read, GameOptionsRecord{}));
        FUZZ_CHECK(readFuzzFile(path).size() == size);
    }

    FUZZ_CHECK(writeOptions());
    FUZZ_CHECK(readFuzzFile(path).size() == kOptionsFileSize);
    GameOptions = GameOptionsRecord{};
    readOptions();
    FUZZ_CHECK(sameOptions(GameOptions, read));
    return 0;
}
