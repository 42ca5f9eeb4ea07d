// Touch emulation: turns the left mouse button into one touch, so that a game made for touch screens can be
// driven by a mouse. The window runs every record through it before its event callback and again after it,
// and ticks it once per frame; the records it makes itself go straight to the callback.
#pragma once

#include "KWindowEvent.h"

#include <functional>

class KTouchEmulation {
public:
    using Send = std::function<void(WindowEvent&)>;

    static constexpr int kDoubleTapMs = 500;
    static constexpr int kReleaseDelayMs = 20;
    static constexpr int kAwayPosition = -1000;

    // Rewrites the record (type 0 = dropped) before the callback; nowMs is the clock, for double taps.
    void beforeCallback(WindowEvent& record, int nowMs, const Send& send);
    // For a record the callback accepted: the mouse records a touch begin, move or end stands for.
    void afterCallback(const WindowEvent& record, const Send& send);
    // Once per frame with the milliseconds since the last one: ends a release countdown.
    void tick(int elapsedMs, const Send& send);

    void reset();

    bool isTouching() const { return touching; }
    int getReleaseCountdown() const { return releaseCountdown; }

private:
    void sendMouse(int type, int x, int y, const Send& send);

    bool touching = false;
    int lastX = -1, lastY = -1;
    int releaseCountdown = -1;
    int releaseX = 0, releaseY = 0;
    bool pressTimed = false; // a press whose time can still make a double tap
    int lastPressMs = 0;
    int pendingDoubleClicks = 0;
};
