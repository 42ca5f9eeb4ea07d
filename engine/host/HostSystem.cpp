// POSIX and SDL2 implementation of the system-service stand-ins.
#include "HostSystem.h"

#include <SDL.h>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <limits.h>
#include <pwd.h>
#include <sched.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <time.h>
#include <unistd.h>

namespace host {

uint64_t counterNow() {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return uint64_t(now.tv_sec) * 1000000u + uint64_t(now.tv_nsec) / 1000u;
}

uint64_t counterFrequency() {
    return 1000000u;
}

void sleepMilliseconds(unsigned milliseconds) {
    struct timespec wait = {time_t(milliseconds / 1000), long(milliseconds % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
}

std::string executableFolder() {
    std::vector<char> path(PATH_MAX + 1);
    ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0) return ".";
    std::string full(path.data(), size_t(length));
    size_t slash = full.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return full.substr(0, slash);
}

static std::string homeFolder() {
    const char* home = getenv("HOME");
    if (home && *home) return home;
    struct passwd* entry = getpwuid(getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "";
}

std::string userDataFolder() {
    const char* xdg = getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') return xdg;
    std::string home = homeFolder();
    if (home.empty()) return "";
    return home + "/.local/share";
}

bool createFolder(const std::string& path) {
    if (path.empty()) return false;
    // Create each missing parent first, like `mkdir -p`.
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0755);
    mkdir(path.c_str(), 0755);
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool listFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    DIR* dir = opendir(folder.c_str());
    if (!dir) return false;
    while (struct dirent* entry = readdir(dir)) {
        FolderEntry item;
        item.name = entry->d_name;
        struct stat info;
        std::string full = folder + "/" + item.name;
        item.isFolder = stat(full.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        entries.push_back(item);
    }
    closedir(dir);
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return true;
}

bool writeFileReplacing(const std::string& path, const void* bytes, size_t size) {
    std::string temporary = path + ".tmp";
    FILE* file = fopen(temporary.c_str(), "wb");
    if (!file) return false;
    bool written = fwrite(bytes, 1, size, file) == size && fflush(file) == 0 && fsync(fileno(file)) == 0;
    if (fclose(file) != 0) written = false;
    if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
        const int reason = errno; // for the caller's report, past the clean-up
        remove(temporary.c_str());
        errno = reason;
        return false;
    }
    return true;
}

std::string userName() {
    struct passwd* entry = getpwuid(getuid());
    if (entry && entry->pw_name) return entry->pw_name;
    const char* user = getenv("USER");
    return user ? user : "";
}

uint32_t currentThreadCpuMask() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) != 0) return 1;
    uint32_t mask = 0;
    for (int cpu = 0; cpu < 32; cpu++)
        if (CPU_ISSET(cpu, &set)) mask |= 1u << cpu;
    return mask;
}

static std::string distributionName() {
    std::ifstream release("/etc/os-release");
    std::string line;
    const std::string key = "PRETTY_NAME=";
    while (std::getline(release, line)) {
        if (line.compare(0, key.size(), key) != 0) continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        return value;
    }
    return "";
}

std::string operatingSystemDescription() {
    struct utsname names;
    std::string description = "Linux";
    if (uname(&names) == 0) description = std::string(names.sysname) + " " + names.release + " " + names.machine;
    std::string distribution = distributionName();
    if (!distribution.empty()) description += " (" + distribution + ")";
    return description;
}

static MessageBoxHandler& messageBoxHandler() {
    static MessageBoxHandler handler;
    return handler;
}

void setMessageBoxHandler(MessageBoxHandler handler) {
    messageBoxHandler() = std::move(handler);
}

// A box can only be shown, and waited for, where a person can see it.
static bool hasRealDisplay() {
    const char* driver = getenv("SDL_VIDEODRIVER");
    if (driver && (strcmp(driver, "offscreen") == 0 || strcmp(driver, "dummy") == 0)) return false;
    const char* x11 = getenv("DISPLAY");
    const char* wayland = getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

int showMessageBox(const std::string& caption, const std::string& text) {
    if (messageBoxHandler()) {
        messageBoxHandler()(caption, text);
        return 1;
    }
    if (hasRealDisplay()) SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption.c_str(), text.c_str(), nullptr);
    return 1;
}

} // namespace host
