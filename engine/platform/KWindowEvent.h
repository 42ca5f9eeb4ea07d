// The record the game window hands to the game's event callback for every window message it translates,
// and the event kinds. The touch emulation rewrites mouse records into touch records of the same shape.
#pragma once

#include <cstdint>

enum WindowEventType : int32_t {
    K_EVENT_NONE = 0,
    K_EVENT_MOUSEMOVE = 1,
    K_EVENT_MOUSEUP = 2,
    K_EVENT_MOUSEDOWN = 3,
    K_EVENT_CHAR8 = 5, // a character below 256, delivered before K_EVENT_CHAR
    K_EVENT_KEYDOWN = 6,
    K_EVENT_KEYUP = 7,
    K_EVENT_DOUBLECLICK = 8, // preceded by a K_EVENT_MOUSEDOWN copy
    K_EVENT_WHEEL = 11,
    K_EVENT_CONTEXTMENU = 12,
    K_EVENT_ACTIVATED = 13,
    K_EVENT_DEACTIVATED = 14,
    K_EVENT_CHAR = 50,
    K_EVENT_TOUCH = 100,
    K_EVENT_DOUBLETAP = 106,
};

// Touch phases of a K_EVENT_TOUCH record.
enum TouchPhase : int32_t { K_TOUCH_BEGIN = 0, K_TOUCH_MOVE = 1, K_TOUCH_END = 2 };

// Zeroed before each message, with engineKey = 100 (no engine key).
struct WindowEvent {
    int32_t type = K_EVENT_NONE;
    int32_t x = 0, y = 0; // game coordinates (rounded mapping) when the message arrived
    int32_t button = 0;   // 1 left, 2 right, 3 middle
    int32_t wheel = 0;    // signed wheel delta (multiples of 120)
    uint8_t keyByte = 0;  // key down: scan code; key up: low byte of the virtual key; K_EVENT_CHAR8: the character
    int32_t virtualKey = 0;
    int32_t message = 0;
    int32_t engineKey = 100;
    int32_t lparam = 0;
    int32_t character = 0;
    int32_t touchPhase = 0, touchCount = 0, touchId = 0, touchFlag = 0;
    int32_t touchX = 0, touchY = 0, previousTouchX = 0, previousTouchY = 0;
    int32_t reserved[8] = {};
};

using WindowEventCallback = bool (*)(WindowEvent* event);
