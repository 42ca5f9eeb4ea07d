// The settings and the "options" file.
#include "GameOptions.h"

#include "BinaryStream.h"
#include "FileFailureBox.h"
#include "FolderPaths.h"
#include "KMiscTools.h"
#include "KResource.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

GameOptionsRecord GameOptions;

namespace {

constexpr size_t kMaxOptionsRead = 4096; // far more than any version; a longer file is read this far

double volumeOrDefault(double value) {
    return std::isfinite(value) && value >= 0.0 && value <= 1.0 ? value : 0.5;
}

double finiteOrDefault(double value, double fallback) {
    return std::isfinite(value) ? value : fallback;
}

} // namespace

std::string optionsFilePath() {
    return getUserFolderPath() + "options";
}

std::vector<unsigned char> encodeOptions(const GameOptionsRecord& options) {
    ByteSink writer;
    writer.int32(kOptionsVersion);
    writer.int32(options.difficulty);
    writer.real(options.musicVolume);
    writer.real(options.soundVolume);
    writer.int32(options.reserved1);
    writer.real(options.reserved2);
    writer.real(options.storedReal);
    writer.int32(options.windowed ? 1 : 0);
    writer.int32(options.autoAim ? 1 : 0);
    return writer.bytes;
}

bool decodeOptions(const unsigned char* bytes, size_t size, GameOptionsRecord& options) {
    if (size < kOptionsVersionSize[0]) return false;
    ByteSource reader(bytes, size);
    int32_t version = reader.int32();
    // A file cut short counts as the newest version it holds completely.
    int32_t covered = 0;
    while (covered + 1 < int32_t(kOptionsVersionSize.size()) && size >= kOptionsVersionSize[size_t(covered + 1)])
        ++covered;
    if (version > covered) version = covered;

    GameOptionsRecord read = options;
    read.difficulty = reader.int32();
    read.musicVolume = reader.real();
    read.soundVolume = reader.real();
    read.reserved1 = reader.int32();
    if (version > 0) read.reserved2 = reader.real();
    if (version > 1) read.storedReal = reader.real();
    if (version > 2) read.windowed = reader.int32() == 1;
    if (version > 3) read.autoAim = reader.int32() == 1;

    // Per-difficulty tables and the volume arithmetic take only the values the game itself writes.
    if (read.difficulty < 0 || read.difficulty > 4) read.difficulty = 1;
    read.musicVolume = volumeOrDefault(read.musicVolume);
    read.soundVolume = volumeOrDefault(read.soundVolume);
    read.reserved2 = finiteOrDefault(read.reserved2, 0.0);
    read.storedReal = finiteOrDefault(read.storedReal, 0.34);
    options = read;
    return true;
}

void readOptions() {
    const std::string path = optionsFilePath();
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        if (!error) writeOptions(); // a new installation
        return;
    }
    // Through the resource layer, which opens only a regular file and never waits on a pipe. A file that cannot
    // be read, or too short to hold any version, leaves the current settings.
    KResource file;
    if (file.open(path) != K_RES_OK) return;
    KResourceFile* in = file.getFile();
    long size = 0;
    if (in->seek(0, 2) != K_RES_OK || in->tell(size) != K_RES_OK || in->seek(0, 0) != K_RES_OK) return;
    std::vector<unsigned char> bytes(std::min(size_t(size), kMaxOptionsRead));
    if (in->read(bytes.data(), bytes.size()) == K_RES_OK) decodeOptions(bytes.data(), bytes.size(), GameOptions);
}

bool writeOptions() {
    const std::string path = optionsFilePath();
    const auto bytes = encodeOptions(GameOptions);
    return KMiscTools::writeFileReplacing(path, bytes.data(), bytes.size()); // on failure the old file is kept
}

void saveOptionsTellingFailure() {
    if (!writeOptions())
        showFileFailureBoxOnce("Failed to Save Options", optionsFilePath(),
                               std::string("failed to save (") + std::strerror(errno) + ")");
}
