// System tools over the host stand-ins, and the static KMiscTools object that starts them.
#include "KMiscTools.h"

#include "HostInput.h"
#include "HostSystem.h"
#include "KLog.h"
#include "KResource.h"
#include "KTrueText.h"
#include "KWindow.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {
bool started = false;
bool clockStarted = false;
uint64_t counterFrequency = 0;
uint64_t counterAtStart = 0;

std::string& osDescription() {
    static std::string value;
    return value;
}
std::string& dataFolder() {
    static std::string value;
    return value;
}
std::string& userName() {
    static std::string value;
    return value;
}
} // namespace

// Constructed during static initialisation, before the game's own start-up runs.
static KMiscTools systemTools;

KMiscTools::KMiscTools() {
    startUp();
}

KMiscTools::~KMiscTools() {
    KResource::shutDown();
    KTrueText::releaseLibrary();
}

void KMiscTools::startUp() {
    if (started) return;
    started = true;

    osDescription() = host::operatingSystemDescription();
    logMessage("System: running on %s", osDescription().c_str());

    startTimer();

    dataFolder() = host::executableFolder();
    logMessage("System: data path is %s", dataFolder().c_str());

    userName() = host::userName();

    KResource::createDefaultArchive();
}

void KMiscTools::startTimer() {
    if (clockStarted) return;
    clockStarted = true;
    // The monotonic counter is always present here. The main thread is left unbound: threads made later
    // would inherit the binding, and a monotonic clock does not need it.
    counterFrequency = host::counterFrequency();
    counterAtStart = host::counterNow();
    logMessage("System: using high-performance counter");
    logMessage("System: cpu mask is 0x%X", host::currentThreadCpuMask());
}

int KMiscTools::getMilliseconds() {
    if (!clockStarted) startTimer();
    uint64_t elapsed = host::counterNow() - counterAtStart;
    return int(uint32_t(elapsed * 1000u / counterFrequency));
}

std::string KMiscTools::makeDataPath(const std::string& name) {
    std::string rest = name;
    if (!rest.empty() && (rest[0] == '/' || rest[0] == ':' || rest[0] == '\\')) rest.erase(0, 1);
    // Only the name is normalised: the data folder is a real Linux path and may hold any character.
    std::replace(rest.begin(), rest.end(), '\\', '/');
    return (rest.size() >= 2 && rest[1] == ':') ? rest : dataFolder() + "/" + rest;
}

std::string KMiscTools::getAppDataFolder() {
    std::string folder = host::userDataFolder();
    if (folder.empty() || !host::createFolder(folder)) return makeDataPath("");
    return folder;
}

int KMiscTools::messageBox(const std::string& caption, const std::string& text) {
    logMessage("System: message box '%s': %s", caption.c_str(), text.c_str());
    // The box needs the system cursor and a window that is not full screen; both come back afterwards
    // (full screen after the next frame).
    bool cursorWasHidden = systemCursorHidden;
    if (cursorWasHidden) {
        systemCursorHidden = false;
        while (host::showCursor(true) < 0) {
        }
    }
    if (KWindow* window = getCurrentWindow()) window->leaveFullScreenForDialog();
    int answer = host::showMessageBox(caption, text);
    if (cursorWasHidden) {
        systemCursorHidden = true;
        while (host::showCursor(false) >= 0) {
        }
    }
    return answer;
}

void KMiscTools::enumerateFolder(const FolderCallback& callback, const std::string& folder) {
    if (!callback || folder.empty()) return;
    std::vector<host::FolderEntry> entries;
    if (!host::listFolder(folder, entries)) return;
    for (const host::FolderEntry& entry : entries)
        if (!callback(entry.name, entry.isFolder)) break;
}

bool KMiscTools::writeFileReplacing(const std::string& path, const void* bytes, size_t size) {
    if (host::writeFileReplacing(path, bytes, size)) return true;
    const int reason = errno; // kept past the log line for the caller's own report
    logMessage("System: cannot write '%s' (%s), the old file is kept, FAILED", path.c_str(), std::strerror(reason));
    errno = reason;
    return false;
}

const std::string& KMiscTools::getDataFolder() {
    return dataFolder();
}
const std::string& KMiscTools::getOsDescription() {
    return osDescription();
}
const std::string& KMiscTools::getUserName() {
    return userName();
}

std::string makeHighResName(const std::string& path) {
    size_t separator = path.find_last_of("/\\");
    size_t split = separator == std::string::npos ? 0 : separator + 1;
    return path.substr(0, split) + "ipad3res_" + path.substr(split);
}
