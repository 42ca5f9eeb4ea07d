// A repeating timer on the frame time: fires on the pass its elapsed time reaches the interval, then starts
// again from zero (the overshoot is dropped).
#pragma once

struct IntervalTimer {
    double elapsed = 0.0;  // seconds
    double interval = 0.0; // seconds
    bool fired = false;

    void update(); // adds frameTime
};
