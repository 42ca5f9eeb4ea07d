// The user's settings (difficulty, volumes, window mode, auto-aim) and the binary "options" file in the
// per-user folder that keeps them: read once at start-up, written when the options screen is left and at
// shutdown.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct GameOptionsRecord {
    int32_t difficulty = 1;   // 0 Very Easy, 1 Easy, 2 Medium, 3 Hard, 4 Extreme
    double musicVolume = 0.5; // 0 .. 1; music is silent at or below 0.01
    double soundVolume = 0.5; // 0 .. 1
    int32_t reserved1 = 0;    // kept and written back
    double reserved2 = 0.0;   // kept and written back
    double storedReal = 0.34; // kept and written back
    bool windowed = true;
    bool autoAim = true;
};
extern GameOptionsRecord GameOptions;

// The file: little-endian, no padding. Version 4 holds every field; versions 0 to 3 end earlier.
constexpr int32_t kOptionsVersion = 4;
constexpr size_t kOptionsFileSize = 52;
constexpr std::array<size_t, 5> kOptionsVersionSize = {28, 36, 44, 48, 52};

std::string optionsFilePath(); // the per-user folder + "options"

// Reads the file into GameOptions. A missing file is created with the current values. A file that exists but
// cannot be read, or is too short to hold even the oldest version, is left alone and the settings stay as they
// are. A short file counts as the newest version it holds completely; a value out of range or not finite is
// replaced by its default.
void readOptions();
// Writes GameOptions as version 4 through a temporary file renamed over the old one; on failure the old file
// stays and a log line tells why. True when the file was replaced.
bool writeOptions();
// writeOptions where the player is there to be told: a failure shows the box "Failed to Save Options", once in
// a run, and the settings in use stay as chosen.
void saveOptionsTellingFailure();

// The file's bytes for the settings, and the settings the bytes give over a starting record (false, and the
// record unchanged, when the bytes hold no complete version).
std::vector<unsigned char> encodeOptions(const GameOptionsRecord& options);
bool decodeOptions(const unsigned char* bytes, size_t size, GameOptionsRecord& options);
