// The Gold Radudod meter of Action levels: slides down into view when one is collected, shows the count of
// five, stays three seconds and slides away; with all five (or more) it pulses.
#pragma once

#include "GameWindow.h"

#include <cstdint>

struct GoldZuzevirMeter {
    static constexpr int kFullCount = 5;
    static constexpr double kHiddenY = -64, kShownY = 10;
    static constexpr double kSlideSpeed = 250; // pixels per second
    static constexpr double kShowTime = 3;     // seconds
    static constexpr double kSmoothing = 15;
    static constexpr double kPulseLow = 0.8, kPulseHigh = 1.2, kPulseRate = 3;

    // Back to none collected, out of view (level load).
    void reset();
    // One more collected; the sound at (soundX, soundY), its own for the fifth.
    void collect(double soundX, double soundY);
    void update(double dt);
    // The meter at its drawn position, when it is in view.
    void draw() const;

    int32_t count = 0;
    uint8_t showing = 0;
    double showClock = 0;
    double slide = kHiddenY;
    double drawnY = kHiddenY;
    double x = kGameWidth - 125;
    double pulse = 1;
    double drawnScale = 1;
    uint8_t pulseGrowing = 0;
};

extern GoldZuzevirMeter goldZuzevirMeter;

void resetGoldZuzevirMeter();
// Steps the meter by the frame time and draws it (Action levels only).
void drawGoldZuzevirMeter();
