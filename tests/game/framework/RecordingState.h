// A program state that writes each call ("name.enter", "name.update", ...) into a shared log, and can run a
// given action during its update (to make a state request from inside a pass) and its draw.
#pragma once

#include "GF_ProgramState.h"

#include <functional>
#include <string>
#include <vector>

class RecordingState : public GF_ProgramState {
public:
    RecordingState(std::string name, std::vector<std::string>& log) : name(std::move(name)), log(log) {}
    void enter() override { log.push_back(name + ".enter"); }
    void leave() override { log.push_back(name + ".leave"); }
    void update() override {
        log.push_back(name + ".update");
        if (onUpdate) onUpdate();
    }
    void draw() override {
        log.push_back(name + ".draw");
        if (onDraw) onDraw();
    }

    std::function<void()> onUpdate, onDraw;

private:
    std::string name;
    std::vector<std::string>& log;
};
