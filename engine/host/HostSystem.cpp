// POSIX and SDL2 implementation of the system-service stand-ins.
#include "HostSystem.h"

#include <SDL.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <limits.h>
#include <pwd.h>
#include <sched.h>
#include <signal.h>
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

// A new file beside the path that no other writer, in this process or another copy of the game, is using: the
// path + ".tmp." + the process id + "." + a count, created exclusively (a name left by an earlier process of
// the same id is passed over). The descriptor, or -1 with errno telling why.
static int createTemporaryBeside(const std::string& path, std::string& temporary) {
    static std::atomic<unsigned> count{0};
    const std::string stem = path + ".tmp." + std::to_string(getpid()) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = stem + std::to_string(count++);
        const int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST) return descriptor;
    }
    return -1;
}

// The process id in a temporary name of the path ("<name>.tmp.<pid>.<count>"), or 0 for any other name.
static pid_t writerOfTemporary(const std::string& fileName, const std::string& name) {
    const std::string stem = fileName + ".tmp.";
    if (name.compare(0, stem.size(), stem) != 0) return 0;
    char* end = nullptr;
    const long pid = std::strtol(name.c_str() + stem.size(), &end, 10);
    if (pid <= 0 || *end != '.' || end[1] == '\0') return 0;
    for (const char* digit = end + 1; *digit; ++digit)
        if (*digit < '0' || *digit > '9') return 0;
    return pid_t(pid);
}

// Removes the temporary files of the path that writers killed during a save left behind: those of processes
// that are gone. A live writer's (another copy of the game saving now) is left alone.
static void removeStaleTemporaries(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string fileName = slash == std::string::npos ? path : path.substr(slash + 1);
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    while (struct dirent* entry = readdir(dir)) {
        const pid_t writer = writerOfTemporary(fileName, entry->d_name);
        if (writer > 0 && writer != getpid() && kill(writer, 0) != 0 && errno == ESRCH)
            unlink((folder + entry->d_name).c_str());
    }
    closedir(dir);
}

bool writeFileReplacing(const std::string& path, const void* bytes, size_t size) {
    std::string temporary;
    const int descriptor = createTemporaryBeside(path, temporary);
    if (descriptor < 0) return false;
    bool written = true;
    for (size_t done = 0; written && done < size;) {
        const ssize_t step = write(descriptor, static_cast<const char*>(bytes) + done, size - done);
        if (step > 0) {
            done += size_t(step);
        } else if (step == 0) {
            errno = EIO; // no progress and no reason given: a failed write all the same
            written = false;
        } else if (errno != EINTR) {
            written = false;
        }
    }
    written = written && fsync(descriptor) == 0;
    if (close(descriptor) != 0) written = false;
    if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
        const int reason = errno; // for the caller's report, past the clean-up
        unlink(temporary.c_str());
        errno = reason;
        return false;
    }
    removeStaleTemporaries(path);
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
