// The frame clock: the time step of every pass, taken from the engine's millisecond clock and clamped so that
// no pass has a zero step or one longer than 0.05 s (the game runs slower rather than jump below 20 fps).
#pragma once

#include <cstdint>

extern double frameTime;     // seconds, this pass
extern double totalGameTime; // seconds, the sum of every frame time since start-up
extern double gameSpeed;     // factor on the frame time; 1.0
extern uint32_t frameClockLastReading;

constexpr double kMinFrameTime = 0.001;
constexpr double kMaxFrameTime = 0.05;

// One step with the clock reading given (milliseconds; the difference is taken in unsigned 32-bit arithmetic).
void stepFrameClock(uint32_t nowMs);
// Restarts the clock at the engine's clock reading now (start-up, after the window opened).
void startFrameClock();
