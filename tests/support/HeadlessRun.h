// The surroundings of a program run by hand over the game's own data (the frame benchmark, the level proof
// tool): offscreen video and dummy audio unless the caller's environment chose otherwise, a temporary user
// folder in place of the real one, and message boxes printed instead of shown. Undone when it goes.
#pragma once

#include "HostSystem.h"
#include "TempFolder.h"

#include <cstdio>
#include <cstdlib>
#include <string>

class HeadlessRun {
public:
    HeadlessRun() {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        setenv("XDG_DATA_HOME", home.path().c_str(), 1);
        host::setMessageBoxHandler([](const std::string& caption, const std::string& text) {
            std::fprintf(stderr, "box: %s: %s\n", caption.c_str(), text.c_str());
        });
    }
    ~HeadlessRun() { host::setMessageBoxHandler(nullptr); }
    HeadlessRun(const HeadlessRun&) = delete;
    HeadlessRun& operator=(const HeadlessRun&) = delete;

private:
    TempFolder home;
};
