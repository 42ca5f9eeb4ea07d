// The Direct3D 8 window's message handling: the window procedure turns each window message into a WindowEvent
// record for the game's callback, and the message pump.
#include "KWindowD3D.h"

#include "HostInput.h"
#include "KEngineKeys.h"
#include "KMouse.h"

intptr_t KWindowD3D::windowProcedure(host::WindowHandle handle, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    KWindowD3D* self = static_cast<KWindowD3D*>(host::getWindowUserData(handle));
    if (!self) return host::defWindowProc(handle, message, wparam, lparam);
    return self->handleMessage(message, wparam, lparam);
}

void KWindowD3D::sendEvent(WindowEvent& event) {
    if (eventCallback) eventCallback(&event);
}

void KWindowD3D::showCursorUntilVisible() {
    while (host::showCursor(true) < 0) {
    }
}

void KWindowD3D::hideCursorUntilHidden() {
    while (host::showCursor(false) >= 0) {
    }
}

intptr_t KWindowD3D::handleMessage(uint32_t message, uintptr_t wparam, intptr_t lparam) {
    if (!messageHook || messageHook(window, message, wparam, lparam)) {
        WindowEvent event;
        switch (message) {
        case host::WM_MOUSEMOVE:
            event.type = K_EVENT_MOUSEMOVE;
            break;
        case host::WM_LBUTTONUP:
            event.type = K_EVENT_MOUSEUP, event.button = 1;
            break;
        case host::WM_RBUTTONUP:
            event.type = K_EVENT_MOUSEUP, event.button = 2;
            break;
        case host::WM_MBUTTONUP:
            event.type = K_EVENT_MOUSEUP, event.button = 3;
            break;
        case host::WM_LBUTTONDOWN:
            event.type = K_EVENT_MOUSEDOWN, event.button = 1;
            break;
        case host::WM_RBUTTONDOWN:
            event.type = K_EVENT_MOUSEDOWN, event.button = 2;
            break;
        case host::WM_MBUTTONDOWN:
            event.type = K_EVENT_MOUSEDOWN, event.button = 3;
            break;
        case host::WM_LBUTTONDBLCLK:
            event.type = K_EVENT_DOUBLECLICK, event.button = 1;
            break;
        case host::WM_RBUTTONDBLCLK:
            event.type = K_EVENT_DOUBLECLICK, event.button = 2;
            break;
        case host::WM_MBUTTONDBLCLK:
            event.type = K_EVENT_DOUBLECLICK, event.button = 3;
            break;
        case host::WM_MOUSEWHEEL:
            event.type = K_EVENT_WHEEL;
            event.wheel = int16_t(host::hiWord(wparam));
            setMouseWheel(short(event.wheel));
            break;
        case host::WM_CONTEXTMENU:
            event.type = K_EVENT_CONTEXTMENU;
            break;
        case host::WM_ACTIVATE:
            if (host::loWord(wparam) == host::WA_INACTIVE) {
                event.type = K_EVENT_DEACTIVATED;
                host::clipCursor(window, nullptr);
                if (!fullScreen) {
                    if (systemCursorHidden) showCursorUntilVisible();
                    skipNextWait = true;
                }
            } else {
                event.type = K_EVENT_ACTIVATED;
                if (fullScreen) {
                    host::showWindow(window);
                } else if (systemCursorHidden) {
                    hideCursorUntilHidden();
                }
            }
            break;
        case host::WM_KEYDOWN:
            event.type = K_EVENT_KEYDOWN;
            event.keyByte = uint8_t((uint32_t(lparam) >> 16) & 0xFF);
            event.virtualKey = int32_t(wparam);
            event.engineKey = engineKeyFromVirtualKey(int(wparam));
            break;
        case host::WM_KEYUP:
            event.type = K_EVENT_KEYUP;
            event.keyByte = uint8_t(wparam & 0xFF);
            event.virtualKey = int32_t(wparam);
            event.engineKey = engineKeyFromVirtualKey(int(wparam));
            break;
        case host::WM_CHAR:
            event.type = K_EVENT_CHAR;
            event.character = int32_t(wparam);
            if (wparam < 256) {
                WindowEvent character = event;
                character.type = K_EVENT_CHAR8;
                character.keyByte = uint8_t(wparam);
                sendEvent(character);
            }
            break;
        default:
            break;
        }
        event.x = getMouseXRounded();
        event.y = getMouseYRounded();
        event.message = int32_t(message);
        event.lparam = int32_t(lparam);

        if (eventCallback) {
            auto send = [this](WindowEvent& record) { sendEvent(record); };
            if (touchEmulation) {
                touch.beforeCallback(event, now(), send);
                if (event.type == K_EVENT_TOUCH) {
                    setEmulatedPointer(event.touchX, event.touchY);
                    if (event.touchPhase == K_TOUCH_BEGIN) setTouchDown(true);
                    if (event.touchPhase == K_TOUCH_END) setTouchDown(false);
                }
            } else if (event.type == K_EVENT_DOUBLECLICK) {
                WindowEvent press = event;
                press.type = K_EVENT_MOUSEDOWN;
                sendEvent(press);
            }
            if (event.type != K_EVENT_NONE) {
                if (!eventCallback(&event)) return 0;
                if (touchEmulation) touch.afterCallback(event, send);
            }
        }
    }

    switch (message) {
    case host::WM_CLOSE:
    case host::WM_DESTROY:
        quitRequested = true;
        host::postQuitMessage(0);
        return 1;
    case host::WM_NCMOUSEMOVE:
        if (!fullScreen && !cursorShownOverFrame) {
            if (systemCursorHidden) showCursorUntilVisible();
            cursorShownOverFrame = true;
        }
        break;
    case host::WM_MOUSEMOVE:
        if (!fullScreen && cursorShownOverFrame && hasFocus()) {
            if (systemCursorHidden) hideCursorUntilHidden();
            cursorShownOverFrame = false;
        }
        break;
    case host::WM_SYSCOMMAND: {
        uint32_t command = uint32_t(wparam) & 0xFFF0;
        if (command == host::SC_SCREENSAVE || command == host::SC_MONITORPOWER) return 0;
        break;
    }
    default:
        break;
    }
    return host::defWindowProc(window, message, wparam, lparam);
}

int KWindowD3D::processEvents() {
    host::WindowMessage message;
    while (host::windowExists(window) && host::peekMessage(window, message)) {
        if (host::translateAccelerator(window, accelerators, message)) continue;
        host::translateMessage(message);
        host::dispatchMessage(message);
    }
    return 0;
}
