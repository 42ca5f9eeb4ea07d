// The process-wide values kept beside the game window: the current window and the system-cursor-hidden flag.
#include "KWindow.h"

namespace {
KWindow* currentWindow = nullptr;
}

bool systemCursorHidden = false;

KWindow* getCurrentWindow() {
    return currentWindow;
}

void setCurrentWindow(KWindow* window) {
    currentWindow = window;
}
