// The Direct3D 8 game window: opening, the window procedure and its event records, the world view and clip,
// the 3-D states and the back buffer as a picture. Presentation, pacing and the device resets are in
// KWindowD3DPresent.cpp.
#include "KWindowD3D.h"

#include "HostInput.h"
#include "HostSystem.h"
#include "HostVideoMemory.h"
#include "KEngineCursor.h"
#include "KEngineKeys.h"
#include "KGraphic.h"
#include "KGraphicFactory.h"
#include "KImage.h"
#include "KLog.h"
#include "KMiscTools.h"
#include "KMouse.h"
#include "KPixelShaderD3D.h"

#include <algorithm>
#include <cfloat>
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

const D3DMATRIX* asD3D(const Matrix4& matrix) {
    static_assert(sizeof(Matrix4) == sizeof(D3DMATRIX));
    return reinterpret_cast<const D3DMATRIX*>(&matrix);
}

Matrix4 translation(float x, float y) {
    Matrix4 m;
    return makeTranslationMatrix(m, x, y, 0);
}

Matrix4 ortho(float width, float height) {
    Matrix4 m;
    return makeOrthoMatrix(m, width, height, 0, 1);
}

Matrix4 operator*(const Matrix4& a, const Matrix4& b) {
    Matrix4 out;
    return multiplyMatrix(out, a, b);
}

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

// Each channel trunc(value x 255); values outside 0..1 (and NaN, as 0) are held to it, as a float too large
// for an integer must never reach the conversion.
D3DCOLOR packColor(float r, float g, float b, float a) {
    auto channel = [](float value) { return uint32_t((value > 0.0f ? std::min(value, 1.0f) : 0.0f) * 255.0f); };
    return (channel(a) << 24) | (channel(r) << 16) | (channel(g) << 8) | channel(b);
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

bool convertBackBufferPixels(D3DFORMAT format, const uint8_t* bits, int pitch, int x, int y, int width, int height,
                             uint32_t* out) {
    for (int row = 0; row < height; ++row) {
        const uint8_t* line = bits + size_t(y + row) * size_t(pitch);
        uint32_t* target = out + size_t(row) * size_t(width);
        for (int column = 0; column < width; ++column) {
            uint32_t r, g, b;
            switch (format) {
            case D3DFMT_R5G6B5: {
                uint16_t value;
                std::memcpy(&value, line + size_t(x + column) * 2, 2);
                r = (value >> 8) & 0xF8;
                g = (value >> 3) & 0xFC;
                b = (value << 3) & 0xF8;
                break;
            }
            case D3DFMT_X1R5G5B5:
            case D3DFMT_A1R5G5B5: {
                uint16_t value;
                std::memcpy(&value, line + size_t(x + column) * 2, 2);
                r = (value >> 7) & 0xF8;
                g = (value >> 2) & 0xF8;
                b = (value << 3) & 0xF8;
                break;
            }
            case D3DFMT_X8R8G8B8:
            case D3DFMT_A8R8G8B8: {
                uint32_t value;
                std::memcpy(&value, line + size_t(x + column) * 4, 4);
                r = (value >> 16) & 0xFF;
                g = (value >> 8) & 0xFF;
                b = value & 0xFF;
                break;
            }
            default:
                return false;
            }
            target[column] = KImage::pack(r, g, b, 255);
        }
    }
    return true;
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
    AspectCorrection result =
        computeAspectCorrection(gameWidth, gameHeight, desktopWidth, desktopHeight, fullScreen, aspectCorrectionWanted);
    widescreenCorrected = result.widescreenCorrected;
    aspectCorrected = result.aspectCorrected;
    scale = result.scale;
    actualWidth = result.actualWidth;
    actualHeight = result.actualHeight;
    offsetX = result.offsetX;
    offsetY = result.offsetY;
    backBufferWidth = result.backBufferWidth;
    backBufferHeight = result.backBufferHeight;
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
    D3DVIEWPORT8 viewport = {uint32_t(offsetX), uint32_t(offsetY), uint32_t(actualWidth), uint32_t(actualHeight), 0, 1};
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

void KWindowD3D::setClearColor(float r, float g, float b, float a) {
    clearColor = packColor(r, g, b, a);
}

void KWindowD3D::setGameViewport() {
    if (!device) return;
    D3DVIEWPORT8 viewport =
        drawingIntoTarget
            ? D3DVIEWPORT8{0, 0, uint32_t(actualWidth), uint32_t(actualHeight), 0, 1}
            : D3DVIEWPORT8{uint32_t(offsetX), uint32_t(offsetY), uint32_t(actualWidth), uint32_t(actualHeight), 0, 1};
    device->SetViewport(&viewport);
}

void KWindowD3D::setFullViewport() {
    if (!device) return;
    D3DVIEWPORT8 viewport = {0, 0, uint32_t(backBufferWidth), uint32_t(backBufferHeight), 0, 1};
    device->SetViewport(&viewport);
}

void KWindowD3D::endClip() {
    if (!clipActive) return;
    if (device) {
        device->EndScene();
        setGameViewport();
        device->BeginScene();
    }
    clipActive = false;
}

void KWindowD3D::setWorldView(float x, float y, float angle, float zoom, bool clear) {
    endClip();
    Matrix4 rotation, zoomMatrix;
    makeRotationZMatrix(rotation, angle * 3.1415927f / 180.0f);
    makeScalingMatrix(zoomMatrix, zoom, zoom, 1);
    worldMatrix =
        translation(float(-(gameWidth / 2)), float(gameHeight / 2)) * rotation * zoomMatrix * translation(x, y);
    Matrix4 view =
        worldMatrix * translation(float(gameWidth / 2 - viewWidth / 2), float(viewHeight / 2 - gameHeight / 2));
    if (!device) return;
    Matrix4 identity;
    makeIdentityMatrix(identity);
    device->SetTransform(D3DTS_PROJECTION, asD3D(ortho(float(viewWidth), float(viewHeight))));
    device->SetTransform(D3DTS_VIEW, asD3D(view));
    device->SetTransform(D3DTS_WORLD, asD3D(identity));
    if (clear) device->Clear(0, nullptr, D3DCLEAR_TARGET, clearColor, 1.0f, 0);
}

void KWindowD3D::setWorldMatrix(const Matrix4& matrix) {
    worldMatrix = matrix * translation(float(-(gameWidth / 2)), float(gameHeight / 2));
    if (clipActive)
        worldMatrix = worldMatrix * translation((float(viewWidth) - clipX2) / 2 - clipX1 / 2,
                                                clipY1 / 2 - (float(viewHeight) - clipY2) / 2);
    Matrix4 view =
        worldMatrix * translation(float(gameWidth / 2 - viewWidth / 2), float(viewHeight / 2 - gameHeight / 2));
    if (device) device->SetTransform(D3DTS_VIEW, asD3D(view));
}

void KWindowD3D::setClipRect(bool enabled, float x1, float y1, float x2, float y2) {
    if (deviceLost || !device) return;
    if (enabled) {
        x1 = std::clamp(x1, 0.0f, float(viewWidth));
        x2 = std::clamp(x2, 0.0f, float(viewWidth));
        y1 = std::clamp(y1, 0.0f, float(viewHeight));
        y2 = std::clamp(y2, 0.0f, float(viewHeight));
        int left = int(x1), top = int(y1), right = int(x2), bottom = int(y2);
        if (!drawingIntoTarget) {
            left = actualWidth * left / viewWidth + offsetX;
            right = actualWidth * right / viewWidth + offsetX;
            top = actualHeight * top / viewHeight + offsetY;
            bottom = actualHeight * bottom / viewHeight + offsetY;
        }
        D3DVIEWPORT8 viewport = {uint32_t(left),
                                 uint32_t(top),
                                 uint32_t(std::max(0, right - left)),
                                 uint32_t(std::max(0, bottom - top)),
                                 0,
                                 1};
        device->EndScene();
        device->SetViewport(&viewport);
        device->BeginScene();
        clipX1 = x1;
        clipY1 = y1;
        clipX2 = x2;
        clipY2 = y2;
        Matrix4 view = worldMatrix * translation(-x1, y1) *
                       translation(float(gameWidth / 2) - (x2 - x1) / 2, (y2 - y1) / 2 - float(gameHeight / 2));
        device->SetTransform(D3DTS_PROJECTION, asD3D(ortho(x2 - x1, y2 - y1)));
        device->SetTransform(D3DTS_VIEW, asD3D(view));
        clipActive = true;
    } else if (clipActive) {
        device->EndScene();
        setGameViewport();
        device->BeginScene();
        Matrix4 view =
            worldMatrix * translation(float(gameWidth / 2 - viewWidth / 2), float(viewHeight / 2 - gameHeight / 2));
        device->SetTransform(D3DTS_PROJECTION, asD3D(ortho(float(viewWidth), float(viewHeight))));
        device->SetTransform(D3DTS_VIEW, asD3D(view));
        clipActive = false;
    }
}

void KWindowD3D::begin3D(bool clearDepth, bool depthWrite, int cullKind) {
    if (!device) return;
    device->SetRenderState(D3DRS_ZENABLE, 1);
    device->SetRenderState(D3DRS_ZWRITEENABLE, depthWrite ? 1 : 0);
    device->SetRenderState(D3DRS_CULLMODE, cullKind == 1 ? D3DCULL_CW : cullKind == 2 ? D3DCULL_CCW : D3DCULL_NONE);
    if (clearDepth) device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
}

int KWindowD3D::setTransform3D(int kind, const Matrix4& matrix) {
    if (kind < 0 || kind > 2) return kind - 2;
    if (!device) return 0;
    if (kind == 0) {
        // Moves the picture by half a pixel so that pixel centres land on integer coordinates.
        Matrix4 halfPixel = translation(-1.0f / float(viewWidth), 1.0f / float(viewHeight));
        device->SetTransform(D3DTS_PROJECTION, asD3D(matrix * halfPixel));
    } else {
        device->SetTransform(kind == 1 ? D3DTS_VIEW : D3DTS_WORLD, asD3D(matrix));
    }
    return 0;
}

void KWindowD3D::enableLighting(float r, float g, float b, float a) {
    if (!device) return;
    device->SetRenderState(D3DRS_LIGHTING, 1);
    device->SetRenderState(D3DRS_AMBIENT, packColor(r, g, b, a));
    setMaterial(1, 1, 1, 1);
}

void KWindowD3D::setLight(int index, const KLight3D* light) {
    if (!device || index < 0 || index > 7) return;
    if (!light) {
        device->LightEnable(uint32_t(index), false);
        return;
    }
    D3DLIGHT8 value = {};
    value.Type = light->type == 1 ? D3DLIGHT_DIRECTIONAL : D3DLIGHT_POINT;
    value.Diffuse = {light->r, light->g, light->b, light->a};
    value.Specular = {1, 1, 1, 1};
    value.Position = {light->x, light->y, light->z};
    value.Direction = {-light->directionX, -light->directionY, -light->directionZ};
    value.Range = FLT_MAX;
    value.Attenuation0 = light->attenuation0;
    value.Attenuation1 = light->attenuation1;
    value.Attenuation2 = light->attenuation2;
    device->SetLight(uint32_t(index), &value);
    device->LightEnable(uint32_t(index), true);
    device->SetRenderState(D3DRS_LIGHTING, 1);
}

void KWindowD3D::setMaterial(float r, float g, float b, float a) {
    if (!device) return;
    D3DMATERIAL8 material = {};
    material.Diffuse = {r, g, b, a};
    device->SetMaterial(&material);
}

void KWindowD3D::end3D() {
    if (!device) return;
    device->SetRenderState(D3DRS_ZENABLE, 0);
    device->SetRenderState(D3DRS_ZWRITEENABLE, 0);
    device->SetRenderState(D3DRS_LIGHTING, 0);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    setMaterial(1, 1, 1, 1);
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

void KWindowD3D::getGameAreaRect(int& x, int& y, int& width, int& height) {
    x = offsetX;
    y = offsetY;
    width = actualWidth;
    height = actualHeight;
}

bool KWindowD3D::copyBackBufferToImage(int width, int height, KImage& image) {
    return getBackBufferAsImage(width, height, image);
}

void KWindowD3D::setTargetView(int targetViewWidth, int targetViewHeight, int textureWidth, int textureHeight) {
    if (!drawingIntoTarget) {
        savedOffsetX = offsetX;
        savedOffsetY = offsetY;
        savedScale = scale;
    }
    viewWidth = targetViewWidth;
    viewHeight = targetViewHeight;
    surfaceTextureWidth = textureWidth;
    surfaceTextureHeight = textureHeight;
    drawingIntoTarget = true;
    offsetX = offsetY = 0;
    scale = 1.0f;
}

void KWindowD3D::restoreGameView() {
    if (drawingIntoTarget) {
        offsetX = savedOffsetX;
        offsetY = savedOffsetY;
        scale = savedScale;
    }
    drawingIntoTarget = false;
    viewWidth = surfaceTextureWidth = gameWidth;
    viewHeight = surfaceTextureHeight = gameHeight;
}

void KWindowD3D::applyWorldView(float x, float y, float angle, float zoom, bool clear) {
    setWorldView(x, y, angle, zoom, clear);
}

bool KWindowD3D::getBackBufferAsImage(int width, int height, KImage& image) {
    if (!device) return false;
    IDirect3DSurface8* surface = nullptr;
    HRESULT result = device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &surface);
    if (FAILED(result) || !surface) {
        logMessage("D3D8: GetBackBuffer returned 0x%X for getBackBufferAsImage, ERROR", unsigned(result));
        return false;
    }
    D3DSURFACE_DESC desc = {};
    result = surface->GetDesc(&desc);
    if (FAILED(result)) {
        logMessage("D3D8: GetDesc returned 0x%X for getBackBufferAsImage, ERROR", unsigned(result));
        surface->Release();
        return false;
    }
    D3DLOCKED_RECT locked = {};
    result = surface->LockRect(&locked, nullptr, D3DLOCK_READONLY);
    if (FAILED(result)) {
        logMessage("D3D8: LockRect returned 0x%X for getBackBufferAsImage, ERROR", unsigned(result));
        surface->Release();
        return false;
    }
    // The game area must lie inside the surface; a smaller surface gives what it has.
    int areaWidth = std::min(actualWidth, int(desc.Width) - offsetX);
    int areaHeight = std::min(actualHeight, int(desc.Height) - offsetY);
    if (areaWidth <= 0 || areaHeight <= 0) {
        surface->UnlockRect();
        surface->Release();
        logMessage("D3D8: game area lies outside the %ux%u backbuffer in getBackBufferAsImage, ERROR", desc.Width,
                   desc.Height);
        return false;
    }
    uint32_t* pixels = new uint32_t[size_t(areaWidth) * size_t(areaHeight)];
    bool converted = convertBackBufferPixels(desc.Format, static_cast<const uint8_t*>(locked.pBits), locked.Pitch,
                                             offsetX, offsetY, areaWidth, areaHeight, pixels);
    surface->UnlockRect();
    surface->Release();
    if (!converted) {
        logMessage("D3D8: unsupported backbuffer format 0x%X in getBackBufferAsImage, ERROR", unsigned(desc.Format));
        delete[] pixels;
        return false;
    }
    image.adopt(areaWidth, areaHeight, /*alpha=*/false, pixels);
    image.resample(width, height);
    return true;
}

bool KWindowD3D::saveBackBuffer(const char* fileName, int imageFormat, int width, int height) {
    if (width == 0 && height == 0) {
        width = gameWidth;
        height = gameHeight;
    }
    KImage image;
    if (!fileName || !getBackBufferAsImage(width, height, image)) return false;
    unsigned char* bytes = nullptr;
    size_t size = 0;
    if (!KImage::encode(ImageFormat(imageFormat), bytes, size, image)) {
        logMessage("D3D8: failed to encode image in format %d for saveBackBuffer", imageFormat);
        return false;
    }
    bool written = KMiscTools::writeFileReplacing(fileName, bytes, size);
    delete[] bytes;
    if (!written) {
        logMessage("D3D8: failed to write '%s' for saveBackBuffer", fileName);
        return false;
    }
    return true;
}

int KWindowD3D::enumerateDisplayModes(const DisplayModeCallback& callback) {
    int count = host::displayModeCount();
    bool last = false;
    for (int i = 0; i < count; ++i) {
        host::DisplayMode mode;
        last = host::getDisplayMode(i, mode);
        if (!last) break;
        if (mode.bitsPerPixel <= 14) continue;
        if (callback && !callback(mode.width, mode.height, mode.bitsPerPixel, mode.refreshRate)) break;
    }
    return last ? 1 : 0;
}

// ----- Window procedure ---------------------------------------------------------------------------------------

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
        host::dispatchMessage(message);
    }
    return 0;
}
