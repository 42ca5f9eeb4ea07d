// The Direct3D 8 game window: opens the window and its device, turns window messages into WindowEvent
// records for the game's callback, keeps the world view and clip, presents each frame, paces it, and
// recovers the device after a loss or a switch between windowed and full screen.
#pragma once

#include "HostD3D8.h"
#include "KFrameTiming.h"
#include "KGraphicD3DDevice.h"
#include "KTouchEmulation.h"
#include "KWindow.h"
#include "KWindowD3DBackEnd.h"

#include <functional>
#include <string>

class KImage;

// Game area on the back buffer after the aspect correction, for a game size on a desktop.
struct AspectCorrection {
    bool widescreenCorrected = false;
    bool aspectCorrected = false;
    float scale = 1.0f;
    int actualWidth = 0, actualHeight = 0;
    int offsetX = 0, offsetY = 0;
    int backBufferWidth = 0, backBufferHeight = 0;
};
// Logs its verdict as the window does when it opens or enters full screen.
AspectCorrection computeAspectCorrection(int gameWidth, int gameHeight, int desktopWidth, int desktopHeight,
                                         bool fullScreen, bool wanted);

class KWindowD3D : public KWindow, public KGraphicD3DWindow {
public:
    KWindowD3D();
    ~KWindowD3D() override;

    // What tests replace: how the Direct3D object is made, the clock and the sleep of the frame pacing,
    // and the picture back end's reset steps and fills.
    void setDirect3DFactory(std::function<IDirect3D8*()> factory) { direct3DFactory = std::move(factory); }
    void setClock(KFrameTiming::Clock newClock) { clock = std::move(newClock); }
    void setSleep(KFrameTiming::Sleep newSleep) { sleep = std::move(newSleep); }
    void setBackEnd(const KWindowD3DBackEnd& newBackEnd) { backEnd = newBackEnd; }

    void setAspectCorrection(bool wanted) override;
    void setMinimumRequirements(int textureSize, unsigned videoMemoryBytes, unsigned flags) override;
    int getDesktopWidth() override;
    int getDesktopHeight() override;
    int getRefreshRate() override;
    bool fitsOnDesktop(int width, int height) override;
    bool createGameWindow(int width, int height, int depth, bool windowed, const char* title, int unused = 0) override;
    float getResolutionScale() override { return 1.0f; }
    bool toggleFullScreen(bool fullScreen) override;
    void setTitle(const char* title) override;
    void setBrightness(float value) override { brightness = value; }
    bool isQuitRequested() override { return quitRequested; }
    void setQuitRequested(bool quit) override { quitRequested = quit; }
    void terminate() override;
    bool hasFocus() override;
    host::WindowHandle getWindowHandle() override { return window; }
    bool isAccelerationAvailable() override { return true; }
    bool isAspectCorrected() override { return widescreenCorrected; }
    void minimize() override;
    void restore() override;
    int getGameWidth() override { return gameWidth; }
    int getGameHeight() override { return gameHeight; }
    int getActualWidth() override { return actualWidth; }
    int getActualHeight() override { return actualHeight; }
    int getDepth() override { return depth; }
    unsigned getVideoMemoryKB() override;
    unsigned getTextureMemoryKB() override;
    void getAdapterDescription(char* buffer, int bufferSize) override;
    bool getMaxTextureSize(int& width, int& height) override;
    bool supportsNonSquareTextures() override { return nonSquareTextures; }
    int setMaxFrameRate(int framesPerSecond) override;
    void setFixedStep(bool on, int stepMs, int maxUpdatesPerFrame) override;
    bool isFixedStep() override { return fixedStep; }
    int getFixedStepMs() override { return fixedStepMs; }
    int getMaxUpdatesPerFrame() override { return maxUpdatesPerFrame; }
    void resetFrameTiming() override { timing.reset(); }
    double getFrameTime() override { return timing.getFrameTime(); }
    void setClearColor(float r, float g, float b, float a) override;
    void setWorldView(float x, float y, float angle, float zoom, bool clear) override;
    void setDefaultWorldView() override { setWorldView(0, 0, 0, 1, false); }
    void setWorldMatrix(const Matrix4& matrix) override;
    void setClipRect(bool enabled, float x1, float y1, float x2, float y2) override;
    void begin3D(bool clearDepth, bool depthWrite, int cullKind) override;
    int setTransform3D(int kind, const Matrix4& matrix) override;
    void enableLighting(float r, float g, float b, float a) override;
    void setLight(int index, const KLight3D* light) override;
    void setMaterial(float r, float g, float b, float a) override;
    void end3D() override;
    int processEvents() override;
    int flipBackBuffer(bool waitForForeground = false) override;
    void setMessageHook(WindowMessageHook hook) override { messageHook = hook; }
    void setEventCallback(WindowEventCallback callback) override { eventCallback = callback; }
    void setEngineCursor(bool wanted) override { engineCursorWanted = wanted; }
    bool isEngineCursorShown() override;
    bool saveBackBuffer(const char* fileName, int imageFormat, int width, int height) override;
    void setPixelShader(KPixelShaderD3D* shader) override;
    int enumerateDisplayModes(const DisplayModeCallback& callback) override;
    bool getTouchEmulation() override { return touchEmulation; }
    void setTouchEmulation(bool on) override;
    void leaveFullScreenForDialog() override;
    float getSecondaryScale() override { return 1.0f; }

    bool getBackBufferAsImage(int width, int height, KImage& image);

    // The window procedure's work for one message (the procedure finds the window from its handle).
    intptr_t handleMessage(uint32_t message, uintptr_t wparam, intptr_t lparam);

    // KGraphicD3DWindow: what the picture back end reads and sets.
    IDirect3DDevice8* getD3DDevice() override { return device; }
    bool isD3DDeviceLost() override { return deviceLost; }
    void setD3DDeviceLost() override { deviceLost = true; }
    bool waitForD3DDevice() override {
        flipBackBuffer(true);
        return !isQuitRequested();
    }
    const unsigned char* getTextureFormatSupport() override { return textureSupport; }
    const unsigned char* getRenderTargetFormatSupport() override { return renderTargetSupport; }
    bool hasNonSquareTextures() override { return nonSquareTextures; }
    bool usesDepthBuffer() override { return false; }
    int getGameAreaWidth() override { return gameWidth; }
    int getGameAreaHeight() override { return gameHeight; }
    void getGameAreaRect(int& x, int& y, int& width, int& height) override;
    bool copyBackBufferToImage(int width, int height, KImage& image) override;
    void setTargetView(int viewWidth, int viewHeight, int textureWidth, int textureHeight) override;
    void restoreGameView() override;
    void applyWorldView(float x, float y, float angle, float zoom, bool clear) override;

    // For tests and the message box.
    bool isFullScreen() const { return fullScreen; }
    bool isSceneBegun() const { return sceneBegun; }
    bool isSkipNextWait() const { return skipNextWait; }
    bool isCursorShownOverFrame() const { return cursorShownOverFrame; }
    const D3DPRESENT_PARAMETERS& getPresentationParameters() const { return presentation; }
    const Matrix4& getWorldMatrix() const { return worldMatrix; }
    const KFrameTiming& getTiming() const { return timing; }
    const char16_t* getTitle() const { return title; }

private:
    static const D3DMATRIX* asD3D(const Matrix4& matrix) {
        static_assert(sizeof(Matrix4) == sizeof(D3DMATRIX));
        return reinterpret_cast<const D3DMATRIX*>(&matrix);
    }
    static intptr_t windowProcedure(host::WindowHandle window, uint32_t message, uintptr_t wparam, intptr_t lparam);

    void cleanup();
    bool failOpening();
    void applyAspectCorrection();
    void setGameArea(const AspectCorrection& area);
    // What a switch between windowed and full screen changes, and going back to it when the switch fails.
    struct DisplayModeState {
        bool fullScreen;
        AspectCorrection area;
        int refreshRate;
        int depth;
        D3DPRESENT_PARAMETERS presentation;
    };
    DisplayModeState displayModeState() const;
    bool keepDisplayMode(const DisplayModeState& kept);
    D3DFORMAT chooseFullScreenFormat();
    void fillPresentationParameters();
    void setSwapForFrameRate();
    void resetRenderStates();
    // The game area's viewport (the whole target while drawing into one) and the whole back buffer's.
    D3DVIEWPORT8 gameViewport() const;
    D3DVIEWPORT8 fullViewport() const;
    void setGameViewport();
    void setFullViewport();
    // A viewport takes effect between scenes: the scene is ended before it and begun again after.
    void setViewportBetweenScenes(const D3DVIEWPORT8& viewport);
    // The view transform that places a world matrix of the game area in the current view.
    Matrix4 viewOf(const Matrix4& world) const;
    void clearTwiceAndPresent(D3DCOLOR color);
    void endSceneIfBegun();
    void releaseDeviceObjects();
    void restoreDeviceObjects();
    void redrawAfterReset(D3DCOLOR clearColour);
    void flipReset();
    void endClip();
    void fillMargins();
    void clipCursorInFullScreen();
    void sendEvent(WindowEvent& event);
    void showCursorUntilVisible();
    void hideCursorUntilHidden();
    int now();

    std::function<IDirect3D8*()> direct3DFactory;
    KFrameTiming::Clock clock;
    KFrameTiming::Sleep sleep;
    KWindowD3DBackEnd backEnd;

    bool aspectCorrectionWanted = false;
    int minimumTextureSize = 512;
    unsigned minimumVideoMemory = 4194304;
    unsigned requirementFlags = 0;
    IDirect3D8* d3d = nullptr;
    IDirect3DDevice8* device = nullptr;
    bool deviceLost = false;
    bool sceneBegun = false;
    host::WindowHandle window = nullptr;
    host::AcceleratorTable* accelerators = nullptr;

    int gameWidth = 0, gameHeight = 0;
    int actualWidth = 0, actualHeight = 0;
    int offsetX = 0, offsetY = 0;
    int viewWidth = 0, viewHeight = 0;
    int surfaceTextureWidth = 0, surfaceTextureHeight = 0;
    int backBufferWidth = 0, backBufferHeight = 0;
    int requestedDepth = -1, depth = -1;
    int refreshRate = 60;
    bool widescreenCorrected = false, aspectCorrected = false;
    float scale = 1.0f;
    bool fullScreen = false;
    bool fullScreenLeftForDialog = false;
    bool skipNextWait = false;
    bool minimisedInBackground = false; // full screen: minimised since the window last left the foreground

    int maxFrameRate = 0;
    KFrameTiming timing;

    bool drawingIntoTarget = false;
    int savedOffsetX = 0, savedOffsetY = 0; // the game area's placement while drawing into a target
    float savedScale = 1.0f;
    bool quitRequested = false;
    float brightness = 1.0f;
    bool clipActive = false;
    float clipX1 = 0, clipY1 = 0, clipX2 = 0, clipY2 = 0;
    D3DCOLOR clearColor = 0;
    Matrix4 worldMatrix;

    WindowMessageHook messageHook = nullptr;
    WindowEventCallback eventCallback = nullptr;

    char16_t title[256] = {};
    char adapterDescription[256] = {};

    int maxTextureWidth = 0, maxTextureHeight = 0;
    unsigned textureMemory = 0;
    unsigned videoMemory = 0;
    bool nonSquareTextures = false;
    unsigned char textureSupport[7] = {};
    unsigned char renderTargetSupport[7] = {};

    bool engineCursorWanted = false;
    bool cursorShownOverFrame = false;
    int desktopRefreshRate = 60;
    KPixelShaderD3D* pixelShader = nullptr;

    bool touchEmulation = false;
    KTouchEmulation touch;
    bool fixedStep = false;
    int fixedStepMs = -1;
    int maxUpdatesPerFrame = -1;

    D3DPRESENT_PARAMETERS presentation;
    D3DFORMAT desktopFormat = D3DFMT_X8R8G8B8;
};
