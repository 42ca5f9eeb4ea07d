// Points the per-user folder at a fresh temporary home for one test and builds the game's folders there;
// restores the previous home when the test ends.
#pragma once

#include "FolderPaths.h"
#include "TempFolder.h"

#include <cstdlib>
#include <optional>
#include <string>

class TempUserFolder {
public:
    TempUserFolder() {
        if (const char* old = std::getenv("XDG_DATA_HOME")) previous = old;
        setenv("XDG_DATA_HOME", home.path().c_str(), 1);
        setUpFolders();
    }
    ~TempUserFolder() {
        if (previous)
            setenv("XDG_DATA_HOME", previous->c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
    }
    TempUserFolder(const TempUserFolder&) = delete;
    TempUserFolder& operator=(const TempUserFolder&) = delete;

    const std::string& homePath() const { return home.path(); }
    std::string userFile(const std::string& name) const { return getUserFolderPath() + name; }

private:
    TempFolder home;
    std::optional<std::string> previous;
};
