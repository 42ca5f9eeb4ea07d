// Stand-in for the operating-system services the engine's system tools rely on: the monotonic
// clock, folders, the user and system names, sleeping and the warning message box.
// POSIX and SDL2 underneath; nothing above engine/host calls them directly.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace host {

// Monotonic counter and its ticks per second (the performance-counter stand-in).
uint64_t counterNow();
uint64_t counterFrequency();

void sleepMilliseconds(unsigned milliseconds);

std::string executableFolder(); // no trailing '/'
// The per-user application-data folder: $XDG_DATA_HOME, or ~/.local/share when that is unset, empty or not
// an absolute path (relative values are to be ignored).
// Empty when neither can be found.
std::string userDataFolder();
bool createFolder(const std::string& path); // true when the folder exists afterwards

struct FolderEntry {
    std::string name;
    bool isFolder = false;
};
// Every entry of the folder, "." and ".." included, sorted by byte order. False when it cannot be read.
bool listFolder(const std::string& folder, std::vector<FolderEntry>& entries);

// Writes the bytes to a temporary file of its own beside the path (two copies of the game saving into one
// folder never share one), flushes it to the disk and renames it over the path, so a crash or a full disk
// never leaves half a file where the old one was. False on any failure, with the old file untouched, no
// temporary left behind and errno telling why. A success also clears away the temporary files of the path that
// writers killed during a save left behind.
bool writeFileReplacing(const std::string& path, const void* bytes, size_t size);

std::string userName();
uint32_t currentThreadCpuMask();          // the processors the calling thread may run on, first 32 as bits
std::string operatingSystemDescription(); // e.g. "Linux 6.1.0 x86_64 (Debian GNU/Linux 12 (bookworm))"

// Warning message box. With a real display it is an SDL message box that waits for the user;
// headless (offscreen or dummy video, no display) it returns at once. A test can install a handler,
// which then receives every box instead. Returns 1 (the "OK" answer).
using MessageBoxHandler = std::function<void(const std::string& caption, const std::string& text)>;
void setMessageBoxHandler(MessageBoxHandler handler);
int showMessageBox(const std::string& caption, const std::string& text);

} // namespace host
