// What the fuzz targets share: the input served to the engine's resource layer as a named data file (so each
// target reads it through the very path the game reads its files, with no disk in between), a per-user
// folder in memory for the readers that work on real files, and the check that turns a broken promise of a
// reader into a finding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// From now on a read of the file of this name (through KResource) gives these bytes; the bytes must stay
// alive while they are read. Any other name reads from the file system as usual.
void serveFuzzInput(const std::string& name, const uint8_t* bytes, size_t size);

// Points the game's per-user folder at a fresh folder (in shared memory when the machine has it, so that the
// writers' syncs cost nothing), builds the game's folders there and removes it at exit.
void useFuzzUserFolder();

// Writes the bytes to a file, replacing it; the readers under test then open it as the game would.
void writeFuzzFile(const std::string& path, const uint8_t* bytes, size_t size);
// The file's bytes, or an empty string when it cannot be read.
std::string readFuzzFile(const std::string& path);

// A promise the reader or the code after it broke: says which and ends the run as a finding.
[[noreturn]] void fuzzFinding(const char* what);
#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition)) fuzzFinding(#condition);                                                                     \
    } while (0)
