// The Direct3D 8 window's end of frame: presenting, recovering a lost device, the full-screen window that
// lost the foreground, the frame-rate cap and frame times, and the other device resets (switching between
// windowed and full screen, changing the kind of frame-rate cap).
#include "KWindowD3D.h"

#include "HostInput.h"
#include "KEngineCursor.h"
#include "KLog.h"
#include "KMouse.h"
#include "KWindowD3DRenderStates.h"

namespace {
// While the device is lost nothing is drawn or paced; this keeps the loop from spinning meanwhile.
constexpr int kLostFrameSleepMs = 10;
// How long one wait for a message lasts while the window is not in front, before the quit flag is looked at.
constexpr int kForegroundWaitMs = 100;
constexpr int kResetRetrySleepMs = 3;
// How long a switch between windowed and full screen waits for the device before it gives up.
constexpr int kToggleWaitMs = 5000;
} // namespace

void KWindowD3D::resetRenderStates() {
    if (!device) return;
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
    applyWindowRenderStates(device);
    device->SetPixelShader(0);
    desktopRefreshRate = host::currentRefreshRate();
}

void KWindowD3D::clearTwiceAndPresent(D3DCOLOR color) {
    for (int i = 0; i < 2; ++i) {
        device->BeginScene();
        device->Clear(0, nullptr, D3DCLEAR_TARGET, color, 1.0f, 0);
        device->EndScene();
        device->Present(nullptr, nullptr, nullptr, nullptr);
    }
}

void KWindowD3D::endSceneIfBegun() {
    if (!sceneBegun) return;
    device->EndScene();
    sceneBegun = false;
}

void KWindowD3D::releaseDeviceObjects() {
    backEnd.releaseDeviceTextures(false);
    backEnd.releaseVertexBuffers();
    backEnd.releasePixelShaders();
}

void KWindowD3D::restoreDeviceObjects() {
    backEnd.restoreRenderTargets();
    backEnd.restoreVertexBuffers();
    backEnd.restorePixelShaders();
}

// What follows every reset: the render states, both buffers cleared and presented, the game viewport and
// world view, the device objects made again and the picture back end's state cache forgotten.
void KWindowD3D::redrawAfterReset(D3DCOLOR clearColour) {
    resetRenderStates();
    setFullViewport();
    clearTwiceAndPresent(clearColour);
    setGameViewport();
    setDefaultWorldView();
    restoreDeviceObjects();
    backEnd.resetDrawingState(this);
}

void KWindowD3D::flipReset() {
    logMessage("D3D8: device lost, resetting");
    releaseDeviceObjects();
    HRESULT result = device->Reset(&presentation);
    if (FAILED(result)) logMessage("D3D8: Reset returned 0x%X for flipBackBuffer, ERROR", unsigned(result));
    deviceLost = false;
    redrawAfterReset(0xFF000000u);
    setCurrentWindow(this);
}

void KWindowD3D::fillMargins() {
    if (aspectCorrected) {
        float width = float(gameWidth), height = float(gameHeight);
        backEnd.fillRectBlended(width - 0.5f, -1, width + 2, height + 1, 0, 0, 0, 1);
        backEnd.fillRectBlended(-1, height - 0.5f, width + 1, height + 2, 0, 0, 0, 1);
    }
    if (offsetX <= 0 && offsetY <= 0) return;
    setViewportBetweenScenes(fullViewport());
    Matrix4 projection, identity;
    makeOrthoMatrix(projection, float(backBufferWidth), float(backBufferHeight), 0, 1);
    makeIdentityMatrix(identity);
    device->SetTransform(D3DTS_PROJECTION, asD3D(projection));
    device->SetTransform(D3DTS_VIEW,
                         asD3D(translationMatrix(float(-(backBufferWidth / 2)), float(backBufferHeight / 2))));
    device->SetTransform(D3DTS_WORLD, asD3D(identity));
    float areaWidth = float(actualWidth), areaHeight = float(actualHeight);
    float x = float(offsetX), y = float(offsetY);
    if (offsetX < 1) { // bars above and below
        backEnd.fillRectBlended(-1, -1, areaWidth + 1, y, 0, 0, 0, 1);
        backEnd.fillRectBlended(-1, y + areaHeight, areaWidth + 1, areaHeight + 2 * y + 1, 0, 0, 0, 1);
    } else { // bars left and right
        backEnd.fillRectBlended(-1, -1, x, areaHeight + 1, 0, 0, 0, 1);
        backEnd.fillRectBlended(x + areaWidth, -1, 2 * x + areaWidth + 1, areaHeight + 1, 0, 0, 0, 1);
    }
    setViewportBetweenScenes(gameViewport());
    setDefaultWorldView();
}

void KWindowD3D::clipCursorInFullScreen() {
    int mouseX = getMouseXRounded(), mouseY = getMouseYRounded();
    bool toGameArea = aspectCorrected && !(systemCursorHidden && actualHeight >= gameHeight);
    host::PixelRect rect;
    bool changed;
    if (toGameArea) {
        rect = {offsetX, offsetY, actualWidth - 1, actualHeight - 1};
        changed = setViewMapping(offsetX, offsetY, float(gameHeight) / float(actualHeight));
    } else {
        rect = {0, 0, gameWidth - 1, gameHeight - 1};
        changed = setViewMapping(0, 0, 1.0f);
    }
    host::clipCursor(window, &rect);
    if (changed) setMousePosition(mouseX, mouseY);
}

int KWindowD3D::flipBackBuffer(bool waitForForeground) {
    if (!device) return 0;
    endClip();
    if (engineCursorWanted && !cursorShownOverFrame && hasFocus()) drawEngineCursor();
    setDefaultWorldView();
    fillMargins();
    if (brightness < 1.0f)
        backEnd.fillRectBlended(-1, -1, float(gameWidth + 1), float(gameHeight + 1), 0, 0, 0, 1.0f - brightness);
    endSceneIfBegun();
    backEnd.closeRenderTargets();

    HRESULT result = device->TestCooperativeLevel();
    if (FAILED(result)) {
        deviceLost = true;
        if (result == D3DERR_DEVICENOTRESET) flipReset();
    }

    if (!deviceLost) {
        result = device->Present(nullptr, nullptr, nullptr, nullptr);
        if (SUCCEEDED(result) && fullScreen) {
            // Reading a corner of the back buffer waits until the device has finished the frame.
            IDirect3DSurface8* surface = nullptr;
            if (SUCCEEDED(device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &surface)) && surface) {
                D3DLOCKED_RECT locked;
                D3DRECT corner = {0, 0, 32, 32};
                bool lockedOk =
                    SUCCEEDED(surface->LockRect(&locked, &corner, D3DLOCK_READONLY | D3DLOCK_NO_DIRTY_UPDATE)) ||
                    SUCCEEDED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY | D3DLOCK_NO_DIRTY_UPDATE));
                if (lockedOk) surface->UnlockRect();
                surface->Release();
            }
        }
    }

    processEvents();

    if (fullScreen && host::windowExists(window) && !host::isForeground(window)) {
        deviceLost = true;
        // Minimised once, on the change into the background: the desktop may restore the window before it gives it
        // the focus, and a flip in between must not send it back down.
        if (!quitRequested && !minimisedInBackground) {
            releaseDeviceObjects();
            device->Reset(&presentation);
            host::stopFlashing(window);
            host::minimizeWindow(window);
            minimisedInBackground = true;
        }
    } else {
        minimisedInBackground = false;
    }

    if (waitForForeground) {
        if (skipNextWait) {
            skipNextWait = false;
        } else {
            // Also ends when the window is closed meanwhile: WM_CLOSE leaves the window in place.
            while (host::windowExists(window) && !host::isForeground(window) && !quitRequested) {
                host::WindowMessage message;
                if (host::waitMessage(message, kForegroundWaitMs) &&
                    !host::translateAccelerator(window, accelerators, message)) {
                    host::translateMessage(message);
                    host::dispatchMessage(message);
                }
                resetFrameTiming();
            }
        }
    }

    if (deviceLost || FAILED(device->TestCooperativeLevel())) {
        sleep(kLostFrameSleepMs);
        return 0;
    }

    if (fullScreen) clipCursorInFullScreen();

    int rate = maxFrameRate;
    if (rate == 0 && !fullScreen) rate = desktopRefreshRate;
    int time = now();
    if (touchEmulation && eventCallback) {
        auto send = [this](WindowEvent& record) { sendEvent(record); };
        touch.tick(timing.millisecondsSincePrevious(time), send);
    }
    time = timing.capFrameRate(rate, time, clock, sleep);
    timing.recordFrame(time);

    setGameViewport();
    result = device->BeginScene();
    if (FAILED(result)) return result;
    sceneBegun = true;
    if (fullScreenLeftForDialog) {
        toggleFullScreen(true);
        fullScreenLeftForDialog = false;
    }
    return 0;
}

int KWindowD3D::setMaxFrameRate(int framesPerSecond) {
    int previous = maxFrameRate;
    maxFrameRate = framesPerSecond;
    if ((previous >= 0) == (framesPerSecond >= 0) || !device) return previous;
    setSwapForFrameRate();
    deviceLost = true;
    endSceneIfBegun();
    releaseDeviceObjects();
    HRESULT result = device->Reset(&presentation);
    if (FAILED(result)) logMessage("D3D8: Reset returned 0x%X for setMaxFrameRate, ERROR", unsigned(result));
    redrawAfterReset(0);
    deviceLost = false;
    device->BeginScene();
    sceneBegun = true;
    return previous;
}

KWindowD3D::DisplayModeState KWindowD3D::displayModeState() const {
    AspectCorrection area;
    area.widescreenCorrected = widescreenCorrected;
    area.aspectCorrected = aspectCorrected;
    area.scale = scale;
    area.actualWidth = actualWidth;
    area.actualHeight = actualHeight;
    area.offsetX = offsetX;
    area.offsetY = offsetY;
    area.backBufferWidth = backBufferWidth;
    area.backBufferHeight = backBufferHeight;
    return {fullScreen, area, refreshRate, depth, presentation};
}

bool KWindowD3D::keepDisplayMode(const DisplayModeState& kept) {
    logMessage("D3D8: the device did not reset within %d ms in toggleFullScreen, staying %s, ERROR", kToggleWaitMs,
               kept.fullScreen ? "fullscreen" : "windowed");
    fullScreen = kept.fullScreen;
    setGameArea(kept.area);
    refreshRate = kept.refreshRate;
    depth = kept.depth;
    presentation = kept.presentation;
    // Back in the mode it had; a device that refuses this reset too is left lost, and the flips reset it later.
    if (SUCCEEDED(device->Reset(&presentation))) {
        deviceLost = false;
        redrawAfterReset(0);
        setCurrentWindow(this);
        device->BeginScene();
        sceneBegun = true;
    }
    resetFrameTiming();
    return false;
}

bool KWindowD3D::toggleFullScreen(bool on) {
    if (on == fullScreen) return true;
    if (!device) return false;
    const DisplayModeState before = displayModeState();
    fullScreen = on;
    int mouseX = getMouseXRounded(), mouseY = getMouseYRounded();
    host::clipCursor(window, nullptr);
    backBufferWidth = gameWidth;
    backBufferHeight = gameHeight;
    if (on) {
        applyAspectCorrection();
        refreshRate = host::currentRefreshRate();
    }

    presentation.BackBufferWidth = uint32_t(backBufferWidth);
    presentation.BackBufferHeight = uint32_t(backBufferHeight);
    presentation.Windowed = !on;
    setSwapForFrameRate();
    presentation.BackBufferFormat = on ? chooseFullScreenFormat() : desktopFormat;

    deviceLost = true;
    endSceneIfBegun();
    releaseDeviceObjects();

    // Both waits give up when the game is being closed (the device may never come back then), and after
    // kToggleWaitMs together, when the window keeps its mode.
    const int start = now();
    auto waiting = [this, start] { return !quitRequested && now() - start < kToggleWaitMs; };
    HRESULT result = device->TestCooperativeLevel();
    bool logged = false;
    while (FAILED(result) && result != D3DERR_DEVICENOTRESET && waiting()) {
        if (!logged)
            logMessage("D3D8: waiting for device in toggleFullScreen, TestCooperativeLevel returned 0x%X",
                       unsigned(result));
        logged = true;
        processEvents();
        sleep(kResetRetrySleepMs);
        result = device->TestCooperativeLevel();
    }

    D3DFORMAT format = presentation.BackBufferFormat;
    depth = (format == D3DFMT_R8G8B8 || format == D3DFMT_X8R8G8B8) ? 32 : 16;
    logMessage("D3D8: toggling display mode to %s, depth %d", on ? "fullscreen" : "windowed", depth);

    logged = false;
    while (FAILED(result = device->Reset(&presentation)) && waiting()) {
        if (!logged) logMessage("D3D8: waiting for device in toggleFullScreen, Reset returned 0x%X", unsigned(result));
        logged = true;
        processEvents();
        sleep(kResetRetrySleepMs);
    }
    if (FAILED(result) && !quitRequested) return keepDisplayMode(before);
    host::setBackBufferSize(window, backBufferWidth, backBufferHeight);

    if (on) {
        logMessage("D3D8: toggled to fullscreen mode, %dx%d", backBufferWidth, backBufferHeight);
        host::setWindowStyle(window, /*popup=*/true);
        host::showWindow(window);
    } else {
        scale = 1.0f;
        actualWidth = gameWidth;
        actualHeight = gameHeight;
        offsetX = offsetY = 0;
        widescreenCorrected = aspectCorrected = false;
        host::setWindowStyle(window, /*popup=*/false);
        host::placeWindowCentred(window, gameWidth, gameHeight);
        host::showWindow(window);
    }

    viewWidth = surfaceTextureWidth = gameWidth;
    viewHeight = surfaceTextureHeight = gameHeight;
    deviceLost = false;
    redrawAfterReset(0);
    setCurrentWindow(this);

    if (!(fullScreen && aspectCorrected)) setViewMapping(offsetX, offsetY, float(gameHeight) / float(actualHeight));
    setMousePosition(mouseX, mouseY);
    if (cursorShownOverFrame) {
        if (systemCursorHidden) hideCursorUntilHidden();
        cursorShownOverFrame = false;
    }

    resetFrameTiming();
    processEvents();
    device->BeginScene();
    sceneBegun = true;
    return true;
}

void KWindowD3D::leaveFullScreenForDialog() {
    if (!fullScreen) return;
    toggleFullScreen(false);
    fullScreenLeftForDialog = true;
}
