// The base of every screen of the program (logo intros, menus, level select, comics, the game, the editor).
// A state lives from start-up to shutdown; enter and leave may run many times on the same object.
#pragma once

class GF_ProgramState {
public:
    virtual void enter() = 0;  // the state becomes current: load what it shows
    virtual void leave() = 0;  // the state stops being current: release what enter loaded
    virtual void update() = 0; // once per main-loop pass; reads frameTime
    virtual void draw() = 0;   // once per drawn frame
    virtual ~GF_ProgramState() = default;
};
