// The Direct3D 8 game window: opening it and its device, the settings and figures it reports, and closing it.
// The other topics have files of their own: KWindowD3DMessages.cpp (the window procedure and its event records),
// KWindowD3DView.cpp (world view, clip and viewports), KWindowD3DStates3D.cpp (3-D states),
// KWindowD3DBackBuffer.cpp (the back buffer as a picture) and KWindowD3DPresent.cpp (presentation, pacing and
// the device resets).
#include "KWindowD3D.h"

#include "HostInput.h"
#include "HostSystem.h"
#include "HostVideoMemory.h"
#include "KEngineCursor.h"
#include "KGraphic.h"
#include "KGraphicFactory.h"
#include "KLog.h"
#include "KMiscTools.h"
#include "KMouse.h"
#include "KPixelShaderD3D.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// The seven engine pixel formats, in the order of the support bytes.
struct EngineFormat {
    D3DFORMAT format;
    const char* name;
};
constexpr EngineFormat engineFormats[7] = {
    {D3DFMT_X1R5G5B5, "X1R5G5B5"}, {D3DFMT_R5G6B5, "R5G6B5"}, {D3DFMT_A1R5G5B5, "A1R5G5B5"},
    {D3DFMT_A4R4G4B4, "A4R4G4B4"}, {D3DFMT_R8G8B8, "R8G8B8"}, {D3DFMT_X8R8G8B8, "X8R8G8B8"},
    {D3DFMT_A8R8G8B8, "A8R8G8B8"},
};

// Title bytes widened one unit each (the game's title is plain ASCII), and back to UTF-8 for the window.
void copyTitle(char16_t* title, const char* text) {
    size_t length = text ? std::min<size_t>(std::strlen(text), 255) : 0;
    for (size_t i = 0; i < length; ++i) title[i] = char16_t(static_cast<unsigned char>(text[i]));
    title[length] = 0;
}

std::string titleAsUtf8(const char16_t* title) {
    std::string text;
    for (const char16_t* p = title; *p; ++p) {
        if (*p < 0x80) {
            text += char(*p);
        } else {
            text += char(0xC0 | (*p >> 6));
            text += char(0x80 | (*p & 0x3F));
        }
    }
    return text;
}

} // namespace

AspectCorrection computeAspectCorrection(int gameWidth, int gameHeight, int desktopWidth, int desktopHeight,
                                         bool fullScreen, bool wanted) {
    AspectCorrection result;
    result.actualWidth = result.backBufferWidth = gameWidth;
    result.actualHeight = result.backBufferHeight = gameHeight;
    if (!fullScreen || !wanted) {
        logMessage("D3D8: actual game window: %d x %d", gameWidth, gameHeight);
        return result;
    }
    float gameAspect = float(gameWidth) / float(gameHeight);
    float desktopAspect = float(desktopWidth) / float(desktopHeight);
    if (desktopAspect >= gameAspect && desktopAspect < 2.0f) {
        logMessage("D3D8: desktop dimensions are %dx%d: widescreen", desktopWidth, desktopHeight);
        result.widescreenCorrected = result.aspectCorrected = true;
        result.scale = float(desktopHeight) / float(gameHeight);
        result.actualWidth = int(std::floor(result.scale * float(gameWidth)));
        result.actualHeight = int(std::floor(float(gameHeight) * result.scale));
        result.offsetX = (desktopWidth - result.actualWidth) / 2;
    } else if (desktopAspect < gameAspect - 0.01f && desktopAspect > 1.0f) {
        logMessage("D3D8: desktop dimensions are %dx%d: narrow", desktopWidth, desktopHeight);
        result.aspectCorrected = true;
        result.scale = float(desktopWidth) / float(gameWidth);
        result.actualWidth = int(std::floor(result.scale * float(gameWidth)));
        result.actualHeight = int(std::floor(float(gameHeight) * result.scale));
        result.offsetY = (desktopHeight - result.actualHeight) / 2;
    } else {
        logMessage("D3D8: desktop dimensions are %dx%d: 4:3 screen", desktopWidth, desktopHeight);
        return result;
    }
    result.backBufferWidth = desktopWidth;
    result.backBufferHeight = desktopHeight;
    logMessage("D3D8: enabling 4:3 aspect correction, actual game window resized to %dx%d", result.actualWidth,
               result.actualHeight);
    return result;
}

KWindowD3D::KWindowD3D()
    : direct3DFactory([] { return Direct3DCreate8(D3D_SDK_VERSION); }),
      clock([] { return KMiscTools::getMilliseconds(); }), sleep([](int ms) { host::sleepMilliseconds(unsigned(ms)); }),
      backEnd(pictureBackEnd()) {
    makeIdentityMatrix(worldMatrix);
}

KWindowD3D::~KWindowD3D() {
    eventCallback = nullptr;
    messageHook = nullptr;
    cleanup();
    if (getCurrentWindow() == this) setCurrentWindow(nullptr);
}

int KWindowD3D::now() {
    return clock();
}

void KWindowD3D::setAspectCorrection(bool wanted) {
    aspectCorrectionWanted = wanted;
}

void KWindowD3D::setMinimumRequirements(int textureSize, unsigned videoMemoryBytes, unsigned flags) {
    minimumTextureSize = textureSize;
    minimumVideoMemory = videoMemoryBytes;
    requirementFlags = flags;
}

int KWindowD3D::getDesktopWidth() {
    int width, height;
    host::getDesktopSize(width, height);
    return width;
}

int KWindowD3D::getDesktopHeight() {
    int width, height;
    host::getDesktopSize(width, height);
    return height;
}

int KWindowD3D::getRefreshRate() {
    return fullScreen ? refreshRate : host::currentRefreshRate();
}

bool KWindowD3D::fitsOnDesktop(int width, int height) {
    int outerWidth, outerHeight, desktopWidth, desktopHeight;
    host::adjustWindowRect(width, height, /*popup=*/false, outerWidth, outerHeight);
    host::getDesktopSize(desktopWidth, desktopHeight);
    return outerWidth <= desktopWidth && outerHeight <= desktopHeight;
}

void KWindowD3D::applyAspectCorrection() {
    int desktopWidth, desktopHeight;
    host::getDesktopSize(desktopWidth, desktopHeight);
    setGameArea(computeAspectCorrection(gameWidth, gameHeight, desktopWidth, desktopHeight, fullScreen,
                                        aspectCorrectionWanted));
}

void KWindowD3D::setGameArea(const AspectCorrection& area) {
    widescreenCorrected = area.widescreenCorrected;
    aspectCorrected = area.aspectCorrected;
    scale = area.scale;
    actualWidth = area.actualWidth;
    actualHeight = area.actualHeight;
    offsetX = area.offsetX;
    offsetY = area.offsetY;
    backBufferWidth = area.backBufferWidth;
    backBufferHeight = area.backBufferHeight;
}

D3DFORMAT KWindowD3D::chooseFullScreenFormat() {
    auto accepted = [this](D3DFORMAT format) {
        return SUCCEEDED(
            d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, format, D3DUSAGE_RENDERTARGET, D3DRTYPE_SURFACE, format));
    };
    if (requestedDepth == 24 || requestedDepth == 32) {
        if (accepted(D3DFMT_X8R8G8B8)) return D3DFMT_X8R8G8B8;
        if (accepted(D3DFMT_R8G8B8)) return D3DFMT_R8G8B8;
    }
    return accepted(D3DFMT_R5G6B5) ? D3DFMT_R5G6B5 : D3DFMT_X1R5G5B5;
}

void KWindowD3D::setSwapForFrameRate() {
    if (fullScreen && maxFrameRate >= 0) {
        presentation.SwapEffect = D3DSWAPEFFECT_COPY;
        presentation.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_ONE;
    } else if (fullScreen) {
        presentation.SwapEffect = D3DSWAPEFFECT_DISCARD;
        presentation.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    } else {
        presentation.SwapEffect = D3DSWAPEFFECT_DISCARD;
        presentation.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
    }
}

void KWindowD3D::fillPresentationParameters() {
    presentation = D3DPRESENT_PARAMETERS();
    presentation.BackBufferWidth = uint32_t(backBufferWidth);
    presentation.BackBufferHeight = uint32_t(backBufferHeight);
    presentation.BackBufferFormat = desktopFormat;
    presentation.BackBufferCount = 1;
    presentation.MultiSampleType = D3DMULTISAMPLE_NONE;
    presentation.hDeviceWindow = host::sdlWindow(window);
    presentation.Windowed = !fullScreen;
    presentation.EnableAutoDepthStencil = false;
    presentation.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    presentation.FullScreen_RefreshRateInHz = D3DPRESENT_RATE_DEFAULT;
    setSwapForFrameRate();
}

bool KWindowD3D::failOpening() {
    cleanup();
    return false;
}

bool KWindowD3D::createGameWindow(int width, int height, int requestedBits, bool windowed, const char* titleText, int) {
    videoMemory = host::queryVideoMemory();
    cleanup();
    logMessage("D3D8: creating %dx%d game window (%s mode)", width, height, windowed ? "windowed" : "fullscreen");

    d3d = direct3DFactory();
    if (!d3d) {
        logMessage("D3D8: failed to initialize Direct3D8 interface, ERROR");
        return failOpening();
    }

    fullScreen = !windowed;
    gameWidth = width;
    gameHeight = height;
    requestedDepth = depth = requestedBits;
    applyAspectCorrection();
    refreshRate = host::currentRefreshRate();

    accelerators = host::createAcceleratorTable(1024);

    copyTitle(title, titleText);
    window = host::createWindow(titleAsUtf8(title), backBufferWidth, backBufferHeight, fullScreen, &windowProcedure);
    if (!window) {
        logMessage("D3D8: CreateWindowEx ERROR");
        return failOpening();
    }
    host::setWindowUserData(window, this);

    D3DDISPLAYMODE desktopMode = {};
    if (SUCCEEDED(d3d->GetAdapterDisplayMode(0, &desktopMode))) desktopFormat = desktopMode.Format;
    fillPresentationParameters();

    D3DADAPTER_IDENTIFIER8 identifier = {};
    d3d->GetAdapterIdentifier(0, 0, &identifier);
    logMessage("D3D8: display adapter is '%s': vendor 0x%04X, device 0x%04X, subsystem 0x%08X", identifier.Description,
               identifier.VendorId, identifier.DeviceId, identifier.SubSysId);
    logMessage("D3D8: display driver is '%s'", identifier.Driver);
    std::snprintf(adapterDescription, sizeof adapterDescription, "%.255s", identifier.Description);

    if (fullScreen) presentation.BackBufferFormat = chooseFullScreenFormat();

    D3DCAPS8 caps = {};
    HRESULT result = d3d->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps);
    if (FAILED(result)) {
        logMessage("D3D8: GetDeviceCaps returned 0x%X, ERROR", unsigned(result));
        return failOpening();
    }
    bool hardware = caps.VertexProcessingCaps != 0 && !std::strstr(adapterDescription, "Mobile Intel(R) 965");
    result = d3d->CreateDevice(0, D3DDEVTYPE_HAL, host::sdlWindow(window),
                               hardware ? D3DCREATE_HARDWARE_VERTEXPROCESSING : D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                               &presentation, &device);
    if (FAILED(result) && hardware)
        result = d3d->CreateDevice(0, D3DDEVTYPE_HAL, host::sdlWindow(window), D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                   &presentation, &device);
    if (FAILED(result) || !device) {
        device = nullptr;
        logMessage("D3D8: CreateDevice returned 0x%08X for pixel format %d, ERROR", unsigned(result),
                   int(presentation.BackBufferFormat));
        return failOpening();
    }
    logMessage("D3D8: device created successfully");
    host::WindowHandle handle = window;
    device->setForegroundQuery([handle] { return host::isForeground(handle); });
    host::setBackBufferSize(window, backBufferWidth, backBufferHeight);

    D3DFORMAT format = presentation.BackBufferFormat;
    depth = (format == D3DFMT_R8G8B8 || format == D3DFMT_X8R8G8B8) ? 32 : 16;
    if (fullScreen) logMessage("D3D8: switched to fullscreen mode, %dx%dx%d", backBufferWidth, backBufferHeight, depth);
    D3DDEVICE_CREATION_PARAMETERS creation = {};
    device->GetCreationParameters(&creation);
    logMessage((creation.BehaviorFlags & D3DCREATE_HARDWARE_VERTEXPROCESSING)
                   ? "D3D8: display adapter uses hardware vertex processing"
                   : "D3D8: display adapter uses software vertex processing");

    device->GetDeviceCaps(&caps);
    nonSquareTextures = !(caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY);
    logMessage("D3D8: non-square textures are %s", nonSquareTextures ? "supported" : "NOT supported");
    maxTextureWidth = int(caps.MaxTextureWidth);
    maxTextureHeight = int(caps.MaxTextureHeight);
    logMessage("D3D8: display adapter supports %dx%d textures", maxTextureWidth, maxTextureHeight);
    textureMemory = device->GetAvailableTextureMem();
    if (videoMemory == 0) videoMemory = textureMemory;
    logMessage("D3D8: %u bytes (%u MB) of VRAM available", videoMemory,
               unsigned((uint64_t(videoMemory) + 1048575) >> 20));

    for (int i = 0; i < 7; ++i) {
        textureSupport[i] =
            SUCCEEDED(d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, format, 0, D3DRTYPE_TEXTURE, engineFormats[i].format));
        logMessage("D3D8: %s textures are %s", engineFormats[i].name,
                   textureSupport[i] ? "supported" : "NOT supported");
        renderTargetSupport[i] = SUCCEEDED(d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, format, D3DUSAGE_RENDERTARGET,
                                                                  D3DRTYPE_TEXTURE, engineFormats[i].format));
        logMessage("D3D8: %s render targets are %s", engineFormats[i].name,
                   renderTargetSupport[i] ? "supported" : "NOT supported");
    }

    host::showWindow(window);
    resetRenderStates();
    viewWidth = surfaceTextureWidth = gameWidth;
    viewHeight = surfaceTextureHeight = gameHeight;
    clearTwiceAndPresent(0xFF000000u);
    D3DVIEWPORT8 viewport = gameViewport();
    result = device->SetViewport(&viewport);
    if (FAILED(result)) logMessage("D3D8: SetViewport returned 0x%X, ERROR", unsigned(result));
    setDefaultWorldView();
    host::clipCursor(window, nullptr);
    bool clippedToGameArea = false;
    if (fullScreen) {
        clippedToGameArea = aspectCorrected && !(systemCursorHidden && actualHeight >= gameHeight);
        host::PixelRect rect = clippedToGameArea ? host::PixelRect{offsetX, offsetY, actualWidth, actualHeight}
                                                 : host::PixelRect{0, 0, gameWidth, gameHeight};
        rect.width -= 1; // the clip is given by its last pixel
        rect.height -= 1;
        host::clipCursor(window, &rect);
    }

    backEnd.resetDrawingState(this);
    setCurrentWindow(this);
    prepareInput(this);
    if (clippedToGameArea) setViewMapping(offsetX, offsetY, float(gameHeight) / float(actualHeight));

    if (maxTextureWidth < minimumTextureSize || maxTextureHeight < minimumTextureSize) {
        logMessage("D3D8: minimum requirement of %dx%d textures not met, ERROR", minimumTextureSize,
                   minimumTextureSize);
        return failOpening();
    }
    if (videoMemory != 0 && videoMemory < minimumVideoMemory) {
        logMessage("D3D8: minimum requirement of %d MB of VRAM not met, ERROR",
                   int((uint64_t(minimumVideoMemory) + 1048575) >> 20));
        return failOpening();
    }
    if (requirementFlags & 1) {
        KGraphic* probe = createGraphic();
        bool supported = probe && probe->makeRenderTarget(256, 256, true, true, false);
        delete probe;
        logMessage("D3D8: render targets are %s", supported ? "supported" : "NOT supported");
        if (!supported) {
            logMessage("D3D8: minimum requirement of render targets support not met, ERROR");
            return failOpening();
        }
    }

    logMessage("D3D8: game window successfully created, actual size is %dx%d", actualWidth, actualHeight);
    resetFrameTiming();
    processEvents();
    device->BeginScene();
    sceneBegun = true;
    return true;
}

void KWindowD3D::cleanup() {
    host::clipCursor(window, nullptr);
    if (getMouseWindow() == this) releaseInput();
    if (device || d3d) {
        backEnd.releasePixelShaders();
        backEnd.releaseVertexBuffers();
        backEnd.releaseDeviceTextures(true);
    }
    if (device) device->Release();
    device = nullptr;
    if (d3d) d3d->Release();
    d3d = nullptr;
    deviceLost = sceneBegun = false;
    host::destroyAcceleratorTable(accelerators);
    accelerators = nullptr;
    if (host::windowExists(window)) {
        host::destroyWindow(window);
        logMessage("D3D8: cleaned up");
    }
    window = nullptr;
    if (getCurrentWindow() == this) setCurrentWindow(nullptr);
}

void KWindowD3D::setTitle(const char* text) {
    if (!host::windowExists(window)) return;
    copyTitle(title, text);
    host::setWindowTitle(window, titleAsUtf8(title));
}

void KWindowD3D::terminate() {
    setQuitRequested(true);
    host::postQuitMessage(0);
}

bool KWindowD3D::hasFocus() {
    return host::isForeground(window);
}

void KWindowD3D::minimize() {
    host::minimizeWindow(window);
}

void KWindowD3D::restore() {
    host::restoreWindow(window);
}

unsigned KWindowD3D::getVideoMemoryKB() {
    return unsigned((uint64_t(videoMemory) + 1023) / 1024);
}

unsigned KWindowD3D::getTextureMemoryKB() {
    uint64_t bytes = device ? device->GetAvailableTextureMem() : 0;
    return unsigned((bytes + 1023) / 1024);
}

void KWindowD3D::getAdapterDescription(char* buffer, int bufferSize) {
    if (!buffer || bufferSize <= 0) return;
    std::snprintf(buffer, size_t(bufferSize), "%s", adapterDescription);
}

bool KWindowD3D::getMaxTextureSize(int& width, int& height) {
    width = maxTextureWidth;
    height = maxTextureHeight;
    return true;
}

void KWindowD3D::setFixedStep(bool on, int stepMs, int maxUpdates) {
    fixedStep = on;
    fixedStepMs = stepMs;
    maxUpdatesPerFrame = maxUpdates;
}

bool KWindowD3D::isEngineCursorShown() {
    return !cursorShownOverFrame && hasFocus();
}

void KWindowD3D::setPixelShader(KPixelShaderD3D* shader) {
    pixelShader = shader;
    if (device) device->SetPixelShader(shader ? shader->handle : 0);
}

void KWindowD3D::setTouchEmulation(bool on) {
    touchEmulation = on;
    setMouseTouchEmulation(on);
}

int KWindowD3D::enumerateDisplayModes(const DisplayModeCallback& callback) {
    // The walk asks for modes until a query fails (the modes ran out) or the callback stops it; the answer is
    // that last query's.
    bool last = false;
    for (int i = 0;; ++i) {
        host::DisplayMode mode;
        last = host::getDisplayMode(i, mode);
        if (!last) break;
        if (mode.bitsPerPixel <= 14) continue;
        if (callback && !callback(mode.width, mode.height, mode.bitsPerPixel, mode.refreshRate)) break;
    }
    return last ? 1 : 0;
}
