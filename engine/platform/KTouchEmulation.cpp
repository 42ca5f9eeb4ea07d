// The mouse-to-touch rules of the touch emulation.
#include "KTouchEmulation.h"

void KTouchEmulation::sendMouse(int type, int x, int y, const Send& send) {
    WindowEvent record;
    record.type = type;
    record.button = 1;
    record.x = x;
    record.y = y;
    send(record);
}

void KTouchEmulation::beforeCallback(WindowEvent& record, int nowMs, const Send& send) {
    auto makeTouch = [&record](int phase, int x, int y, int previousX, int previousY) {
        record.type = K_EVENT_TOUCH;
        record.touchPhase = phase;
        record.touchCount = 1;
        record.touchId = 0;
        record.touchFlag = 1;
        record.touchX = x;
        record.touchY = y;
        record.previousTouchX = previousX;
        record.previousTouchY = previousY;
    };

    switch (record.type) {
    case K_EVENT_MOUSEDOWN:
    case K_EVENT_DOUBLECLICK: {
        if (record.button != 1) {
            record.type = K_EVENT_NONE;
            return;
        }
        // A touch still held, or one whose release has not been sent yet, ends before the new one begins.
        if (touching || releaseCountdown >= 0) {
            releaseCountdown = -1;
            touching = false;
            lastX = lastY = -1;
            sendMouse(K_EVENT_MOUSEUP, releaseX, releaseY, send);
            sendMouse(K_EVENT_MOUSEMOVE, kAwayPosition, kAwayPosition, send);
        }
        int x = record.x, y = record.y;
        makeTouch(K_TOUCH_BEGIN, x, y, -1, -1);
        record.x = record.y = 0;
        touching = true;
        lastX = x;
        lastY = y;
        // Taken modulo 2^32, so the time between the presses stays right when the clock wraps.
        if (pressTimed && int(uint32_t(nowMs) - uint32_t(lastPressMs)) < kDoubleTapMs) {
            WindowEvent doubleTap;
            doubleTap.type = K_EVENT_DOUBLETAP;
            doubleTap.x = doubleTap.touchX = x;
            doubleTap.y = doubleTap.touchY = y;
            send(doubleTap);
            ++pendingDoubleClicks;
            pressTimed = false;
        } else {
            lastPressMs = nowMs;
            pressTimed = true;
        }
        return;
    }
    case K_EVENT_MOUSEMOVE:
        if (!touching) {
            record.type = K_EVENT_NONE;
            return;
        }
        makeTouch(K_TOUCH_MOVE, record.x, record.y, lastX, lastY);
        lastX = record.touchX;
        lastY = record.touchY;
        return;
    case K_EVENT_MOUSEUP:
        if (record.button != 1 || !touching) {
            record.type = K_EVENT_NONE;
            return;
        }
        [[fallthrough]];
    case K_EVENT_DEACTIVATED:
        if (!touching) return;
        makeTouch(K_TOUCH_END, record.x, record.y, lastX, lastY);
        touching = false;
        lastX = lastY = -1;
        return;
    default:
        return;
    }
}

void KTouchEmulation::afterCallback(const WindowEvent& record, const Send& send) {
    if (record.type == K_EVENT_TOUCH) {
        if (record.touchPhase == K_TOUCH_BEGIN) sendMouse(K_EVENT_MOUSEDOWN, record.touchX, record.touchY, send);
        if (record.touchPhase == K_TOUCH_BEGIN || record.touchPhase == K_TOUCH_MOVE)
            sendMouse(K_EVENT_MOUSEMOVE, record.touchX, record.touchY, send);
        if (record.touchPhase == K_TOUCH_END) {
            releaseX = record.touchX;
            releaseY = record.touchY;
            releaseCountdown = kReleaseDelayMs;
        }
    }
    for (; pendingDoubleClicks > 0; --pendingDoubleClicks)
        sendMouse(K_EVENT_DOUBLECLICK, record.touchX, record.touchY, send);
}

void KTouchEmulation::tick(int elapsedMs, const Send& send) {
    if (releaseCountdown < 0) return;
    if (elapsedMs < releaseCountdown) {
        releaseCountdown -= elapsedMs;
        return;
    }
    releaseCountdown = -1;
    sendMouse(K_EVENT_MOUSEUP, releaseX, releaseY, send);
    sendMouse(K_EVENT_MOUSEMOVE, kAwayPosition, kAwayPosition, send);
}

void KTouchEmulation::reset() {
    *this = KTouchEmulation();
}
