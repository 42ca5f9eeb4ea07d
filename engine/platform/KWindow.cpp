// The process-wide current window, and the before-a-dialog hook it installs for the message box.
#include "KWindow.h"

#include "KMiscTools.h"

namespace {
KWindow* currentWindow = nullptr;

void leaveFullScreenOfCurrentWindow() {
    if (currentWindow) currentWindow->leaveFullScreenForDialog();
}
} // namespace

KWindow* getCurrentWindow() {
    return currentWindow;
}

void setCurrentWindow(KWindow* window) {
    currentWindow = window;
    KMiscTools::setBeforeDialogHook(window ? leaveFullScreenOfCurrentWindow : nullptr);
}
