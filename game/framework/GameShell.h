// The game's shell: start-up of every shared service in a fixed order, the main loop (one update and one draw
// per pass, paced by the window's 60 fps cap) or the fixed-step loop, the window-event callback and the
// shutdown in a fixed order.
#pragma once

#include <cstdint>

struct WindowEvent;

// Start-up. False when the game window cannot be opened (after the "Graphics Problem" box); nothing then
// needs shutting down beyond what start-up released itself.
bool initGame();
// Runs passes until the window's quit flag is set.
void runMainLoop();
// One pass of the loop (all but the quit test): updateFrame, drawFrame, the flip.
void runMainLoopPass();
// A pass's update half: the window's events, then updateState.
void updateFrame();
// The same with the frame clock read as clockMs (milliseconds): tests step the world by a fixed time.
void updateFrame(uint32_t clockMs);
// One update: the frame clock, input, a pending state switch, the state's update, the music.
void updateState();
void updateState(uint32_t clockMs);
// The loop of a window in fixed-step mode: events every pass, an update each time a step of time has built
// up (see FixedStepPacer), and a drawn frame after the updates owed, until the window's quit flag is set.
void runFixedStepLoop();
// The fixed-step loop when the window is in that mode, else the main loop.
void runGameLoop();
// One frame's drawing: the view reset (no clear), the current state, the tooltip, the cursor.
void drawFrame();
// Deactivation during play opens the game state's pause menu; every other event is ignored. Returns true.
bool onWindowEvent(WindowEvent* event);
void shutdownGame();

// Told the name of each start-up and shutdown step as it begins (null: nobody is told).
using ShellStepObserver = void (*)(const char* step);
void setShellStepObserver(ShellStepObserver observer);

// The whole program: start-up, the loop and the shutdown. Returns the exit code (0).
int runGame();
