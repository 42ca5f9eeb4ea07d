// A key poll for tests: the virtual keys (and mouse buttons 1, 2) listed as down are down.
// Installed for the lifetime of the object; the host's poll comes back after.
#pragma once

#include "InputState.h"

#include <set>

class ScriptedKeys {
public:
    ScriptedKeys() {
        down().clear();
        setKeyPoll(poll);
    }
    ~ScriptedKeys() {
        setKeyPoll(nullptr);
        down().clear();
    }
    ScriptedKeys(const ScriptedKeys&) = delete;
    ScriptedKeys& operator=(const ScriptedKeys&) = delete;

    void press(int virtualKey) { down().insert(virtualKey); }
    void release(int virtualKey) { down().erase(virtualKey); }
    void set(std::set<int> keys) { down() = std::move(keys); }

private:
    static std::set<int>& down() {
        static std::set<int> keys;
        return keys;
    }
    static bool poll(int virtualKey) { return down().count(virtualKey) != 0; }
};
