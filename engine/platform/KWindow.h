// The engine's game window: the abstract interface every part of the engine and the game talks to. The
// Direct3D 8 window (KWindowD3D) is its only implementation; the operations keep their established order.
#pragma once

#include "HostWindow.h"
#include "KMatrix.h"
#include "KObjectBase.h"
#include "KWindowEvent.h"

#include <cstdint>
#include <functional>

class KPixelShaderD3D;

// A light for the window's 3-D states: type 1 is directional, anything else a point light.
struct KLight3D {
    int type = 0;
    float r = 1, g = 1, b = 1, a = 1;
    float x = 0, y = 0, z = 0;
    float directionX = 0, directionY = 0, directionZ = 1;
    float attenuation0 = 1, attenuation1 = 0, attenuation2 = 0;
};

// The raw message hook: sees every message first; false skips the event translation.
using WindowMessageHook = bool (*)(host::WindowHandle window, uint32_t message, uintptr_t wparam, intptr_t lparam);
// Called for each display mode (width, height, bits per pixel, frequency); false stops the walk.
using DisplayModeCallback = std::function<bool(int width, int height, int bitsPerPixel, int frequency)>;

class KWindow : public KObjectBase {
public:
    ~KWindow() override = default;

    virtual void setAspectCorrection(bool wanted) = 0;
    virtual void setMinimumRequirements(int textureSize, unsigned videoMemoryBytes, unsigned flags) = 0;
    virtual int getDesktopWidth() = 0;
    virtual int getDesktopHeight() = 0;
    virtual int getRefreshRate() = 0;
    virtual bool fitsOnDesktop(int width, int height) = 0;
    virtual bool createGameWindow(int width, int height, int depth, bool windowed, const char* title,
                                  int unused = 0) = 0;
    virtual void emptyOperationA(int) {}
    virtual float getResolutionScale() = 0;
    virtual bool toggleFullScreen(bool fullScreen) = 0;
    virtual void setTitle(const char* title) = 0;
    virtual void setBrightness(float brightness) = 0;
    virtual void emptyOperationB(int) {}
    virtual void emptyOperationC(int) {}
    virtual bool isQuitRequested() = 0;
    virtual void setQuitRequested(bool quit) = 0;
    virtual void terminate() = 0;
    virtual bool hasFocus() = 0;
    virtual host::WindowHandle getWindowHandle() = 0;
    virtual bool isAccelerationAvailable() = 0;
    virtual bool isAspectCorrected() = 0;
    virtual void minimize() = 0;
    virtual void restore() = 0;
    virtual int getGameWidth() = 0;
    virtual int getGameHeight() = 0;
    virtual int getActualWidth() = 0;
    virtual int getActualHeight() = 0;
    virtual int getDepth() = 0;
    virtual unsigned getVideoMemoryKB() = 0;
    virtual unsigned getTextureMemoryKB() = 0;
    virtual void getAdapterDescription(char* buffer, int bufferSize) = 0;
    virtual bool getMaxTextureSize(int& width, int& height) = 0;
    virtual bool supportsNonSquareTextures() = 0;
    virtual void emptyOperationD(int) {}
    virtual int setMaxFrameRate(int framesPerSecond) = 0;
    virtual void setFixedStep(bool on, int stepMs, int maxUpdatesPerFrame) = 0;
    virtual bool isFixedStep() = 0;
    virtual int getFixedStepMs() = 0;
    virtual int getMaxUpdatesPerFrame() = 0;
    virtual void resetFrameTiming() = 0;
    virtual double getFrameTime() = 0;
    virtual void setClearColor(float r, float g, float b, float a) = 0;
    virtual void setWorldView(float x, float y, float angle, float zoom, bool clear) = 0;
    virtual void setDefaultWorldView() = 0;
    virtual void setWorldMatrix(const Matrix4& matrix) = 0;
    virtual void setClipRect(bool enabled, float x1, float y1, float x2, float y2) = 0;
    virtual void begin3D(bool clearDepth, bool depthWrite, int cullKind) = 0;
    virtual int setTransform3D(int kind, const Matrix4& matrix) = 0;
    virtual void enableLighting(float r, float g, float b, float a) = 0;
    virtual void setLight(int index, const KLight3D* light) = 0;
    virtual void setMaterial(float r, float g, float b, float a) = 0;
    virtual void end3D() = 0;
    virtual int processEvents() = 0;
    virtual int flipBackBuffer(bool waitForForeground = false) = 0;
    virtual void setMessageHook(WindowMessageHook hook) = 0;
    virtual void setEventCallback(WindowEventCallback callback) = 0;
    virtual void setEngineCursor(bool wanted) = 0;
    virtual bool isEngineCursorShown() = 0;
    virtual bool saveBackBuffer(const char* fileName, int imageFormat, int width, int height) = 0;
    virtual void setPixelShader(KPixelShaderD3D* shader) = 0;
    virtual void emptyOperationE(int, int) {}
    virtual int enumerateDisplayModes(const DisplayModeCallback& callback) = 0;
    virtual bool getTouchEmulation() = 0;
    virtual void setTouchEmulation(bool on) = 0;
    virtual void leaveFullScreenForDialog() = 0;
    virtual float getSecondaryScale() = 0;
};

// The window the message box and the picture back end work with (null while none is open). While one is
// current, a message box first makes it leave full screen.
KWindow* getCurrentWindow();
void setCurrentWindow(KWindow* window);
