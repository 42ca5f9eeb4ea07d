// The engine's system services: start-up facts (system name, data folder, user name), the millisecond
// clock, data and per-user folder paths, the warning message box and the folder listing.
// One static object is constructed before the game's start-up and destroyed after it returns.
#pragma once

#include "KObjectBase.h"

#include <functional>
#include <string>

class KMiscTools : public KObjectBase {
public:
    KMiscTools();  // runs startUp
    ~KMiscTools(); // releases the resources (and the shared TrueType library)

    static void startUp();    // once
    static void startTimer(); // once

    static int getMilliseconds(); // since the clock started

    // A leading '/', ':' or '\\' is skipped; a name with ':' as its second character is kept as it is,
    // anything else is placed under the data folder. Every '\\' of the name becomes '/'.
    static std::string makeDataPath(const std::string& name);
    static std::string getAppDataFolder(); // the per-user application-data folder, created when missing
    static int messageBox(const std::string& caption, const std::string& text);

    // Calls back for every entry of the folder ("." and ".." included, byte order) until it returns false.
    using FolderCallback = std::function<bool(const std::string& name, bool isFolder)>;
    static void enumerateFolder(const FolderCallback& callback, const std::string& folder);

    // Replaces the file's contents through a temporary file and a rename; false (old file kept, a log line
    // saying why, and errno telling it) on failure.
    static bool writeFileReplacing(const std::string& path, const void* bytes, size_t size);

    static const std::string& getDataFolder();
    static const std::string& getOsDescription();
    static const std::string& getUserName();
};

// The path with "ipad3res_" inserted before its file-name part (the high-resolution variant's name).
std::string makeHighResName(const std::string& path);
