// Touch emulation as plain logic: mouse records in, touch and mouse records out, in the order the window's
// callback sees them (before-callback records, the record itself, after-callback records).
#include "KTouchEmulation.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
struct Seen {
    int type, x, y, phase;
};

struct Harness {
    KTouchEmulation touch;
    std::vector<Seen> seen;
    KTouchEmulation::Send send = [this](WindowEvent& e) { note(e); };

    void note(const WindowEvent& e) {
        bool isTouch = e.type == K_EVENT_TOUCH || e.type == K_EVENT_DOUBLETAP;
        seen.push_back({e.type, isTouch ? e.touchX : e.x, isTouch ? e.touchY : e.y, e.touchPhase});
    }
    // What the window does with one record: translate, deliver when not dropped, then the after step.
    void deliver(int type, int button, int x, int y, int now) {
        WindowEvent e;
        e.type = type;
        e.button = button;
        e.x = x;
        e.y = y;
        touch.beforeCallback(e, now, send);
        if (e.type == K_EVENT_NONE) return;
        note(e);
        touch.afterCallback(e, send);
    }
    std::vector<int> types() const {
        std::vector<int> out;
        for (const Seen& s : seen) out.push_back(s.type);
        return out;
    }
};
} // namespace

TEST(KTouchEmulation, PressMoveReleaseBecomeOneTouchWithDelayedButtonUp) {
    Harness h;
    h.deliver(K_EVENT_MOUSEDOWN, 1, 10, 20, 0);
    h.deliver(K_EVENT_MOUSEMOVE, 0, 15, 25, 5);
    h.deliver(K_EVENT_MOUSEUP, 1, 15, 25, 10);
    // begin, its button-down and move; move and its mouse move; end (the button-up waits for the countdown)
    EXPECT_EQ(h.types(), (std::vector<int>{100, 3, 1, 100, 1, 100}));
    EXPECT_EQ(h.seen[0].phase, K_TOUCH_BEGIN);
    EXPECT_EQ(h.seen[3].phase, K_TOUCH_MOVE);
    EXPECT_EQ(h.seen[5].phase, K_TOUCH_END);
    EXPECT_EQ(h.touch.getReleaseCountdown(), 20);

    h.seen.clear();
    h.touch.tick(16, h.send);
    EXPECT_TRUE(h.seen.empty());
    EXPECT_EQ(h.touch.getReleaseCountdown(), 4);
    h.touch.tick(16, h.send);
    ASSERT_EQ(h.types(), (std::vector<int>{2, 1}));
    EXPECT_EQ(h.seen[0].x, 15);
    EXPECT_EQ(h.seen[1].x, -1000);
    EXPECT_EQ(h.touch.getReleaseCountdown(), -1);
}

TEST(KTouchEmulation, TwoClicksInsideHalfASecondGiveADoubleTapAndOneDoubleClick) {
    Harness h;
    h.deliver(K_EVENT_MOUSEDOWN, 1, 50, 60, 1000);
    h.deliver(K_EVENT_MOUSEUP, 1, 50, 60, 1100);
    h.seen.clear();
    // The second press arrives as a double-click while the first release is still counting down.
    h.deliver(K_EVENT_DOUBLECLICK, 1, 51, 61, 1300);
    EXPECT_EQ(h.types(), (std::vector<int>{2, 1, 106, 100, 3, 1, 8}));
    EXPECT_EQ(h.seen[0].x, 50);    // the pending release at the old point
    EXPECT_EQ(h.seen[1].x, -1000); // and the pointer sent away
    EXPECT_EQ(h.seen[6].x, 51);
    h.seen.clear();
    h.deliver(K_EVENT_MOUSEUP, 1, 51, 61, 1400);
    EXPECT_EQ(h.types(), (std::vector<int>{100}));
    // A third press soon after starts a fresh pair: no double tap.
    h.touch.tick(30, h.send);
    h.seen.clear();
    h.deliver(K_EVENT_MOUSEDOWN, 1, 52, 62, 1500);
    EXPECT_EQ(h.types(), (std::vector<int>{100, 3, 1}));
}

TEST(KTouchEmulation, DoubleTapSpansTheClockWrap) {
    Harness h;
    h.deliver(K_EVENT_MOUSEDOWN, 1, 50, 60, INT32_MAX - 100);
    h.deliver(K_EVENT_MOUSEUP, 1, 50, 60, INT32_MAX);
    h.seen.clear();
    h.deliver(K_EVENT_DOUBLECLICK, 1, 50, 60, INT32_MIN + 199); // 300 ms after the first press
    EXPECT_EQ(h.types(), (std::vector<int>{2, 1, 106, 100, 3, 1, 8}));
}

TEST(KTouchEmulation, OtherButtonsAndStrayMovesAreDropped) {
    Harness h;
    h.deliver(K_EVENT_MOUSEDOWN, 2, 1, 1, 0);
    h.deliver(K_EVENT_MOUSEUP, 2, 1, 1, 0);
    h.deliver(K_EVENT_MOUSEMOVE, 0, 5, 5, 0);
    h.deliver(K_EVENT_MOUSEUP, 1, 5, 5, 0); // no touch to end
    EXPECT_TRUE(h.seen.empty());
    h.deliver(K_EVENT_KEYDOWN, 0, 0, 0, 0); // everything else passes
    EXPECT_EQ(h.types(), (std::vector<int>{K_EVENT_KEYDOWN}));
}

TEST(KTouchEmulation, DeactivationEndsATouch) {
    Harness h;
    h.deliver(K_EVENT_MOUSEDOWN, 1, 7, 8, 0);
    h.seen.clear();
    h.deliver(K_EVENT_DEACTIVATED, 0, 7, 8, 10);
    ASSERT_EQ(h.types(), (std::vector<int>{100}));
    EXPECT_EQ(h.seen[0].phase, K_TOUCH_END);
    EXPECT_FALSE(h.touch.isTouching());
    h.seen.clear();
    h.deliver(K_EVENT_DEACTIVATED, 0, 0, 0, 20);
    EXPECT_EQ(h.types(), (std::vector<int>{K_EVENT_DEACTIVATED}));
}
