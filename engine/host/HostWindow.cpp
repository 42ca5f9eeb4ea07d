// The game window over SDL2: SDL events become window messages in one queue, dispatched to the window
// procedure the engine registered; focus, style, display modes and the icon.
#include "HostWindow.h"

#include "HostD3D8.h"
#include "HostInput.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace host {

struct HostWindow {
    SDL_Window* sdl = nullptr;
    WindowProcedure procedure = nullptr;
    void* userData = nullptr;
    bool popup = false;
    bool foreground = false;
    bool minimized = false;
    int backBufferWidth = 0;
    int backBufferHeight = 0;
    PixelRect client; // as the window system last gave it (clientKnown), or as a test stands it in
    bool clientKnown = false;
    bool clientSimulated = false;
};

struct AcceleratorTable {
    uint32_t command = 0;
};

namespace {

std::vector<HostWindow*>& liveWindows() {
    static std::vector<HostWindow*> windows;
    return windows;
}

// A vector rather than a deque: it keeps its room once it has grown, so pumping the messages of a frame
// allocates nothing (a deque takes and frees a block every few messages).
std::vector<WindowMessage>& messageQueue() {
    static std::vector<WindowMessage> queue;
    return queue;
}

bool quitPosted = false;

HostWindow* windowOfSdl(SDL_Window* sdl) {
    for (HostWindow* window : liveWindows())
        if (window->sdl == sdl) return window;
    return nullptr;
}

HostWindow* findWindow(uint32_t sdlWindowId) {
    return windowOfSdl(SDL_GetWindowFromID(sdlWindowId));
}

HostWindow* firstWindow() {
    return liveWindows().empty() ? nullptr : liveWindows().front();
}

// Asks the X server how large the window is and, with `place`, where it lies on the desktop (one round trip
// each); false on other video drivers.
bool queryClientArea(SDL_Window* sdl, bool place, PixelRect& area) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(sdl, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    Display* display = info.info.x11.display;
    Window root, child;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    if (!XGetGeometry(display, info.info.x11.window, &root, &x, &y, &width, &height, &border, &depth)) return false;
    area.width = int(width);
    area.height = int(height);
    if (place) XTranslateCoordinates(display, info.info.x11.window, root, 0, 0, &area.x, &area.y, &child);
    return true;
}

// After a change SDL reports, the window's size and place; before a present its size alone, which is all the
// present needs (the place serves the pointer while it is outside the window).
void refreshClientArea(HostWindow* window, bool place = true) {
    if (window->clientSimulated) return;
    const bool placeKnown = window->clientKnown;
    window->clientKnown = queryClientArea(window->sdl, place || !placeKnown, window->client);
}

// A point in window pixels as back-buffer pixels (may lie outside the back buffer).
void toBackBuffer(HostWindow* window, int x, int y, int& outX, int& outY) {
    PixelRect shown = presentationRect(window);
    if (shown.width <= 0 || shown.height <= 0) {
        outX = x;
        outY = y;
        return;
    }
    outX = int(std::floor(double(x - shown.x) * window->backBufferWidth / shown.width));
    outY = int(std::floor(double(y - shown.y) * window->backBufferHeight / shown.height));
}

void post(HostWindow* window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    if (window) messageQueue().push_back({window, message, wparam, lparam});
}

uintptr_t mouseKeyFlags(uint32_t buttons) {
    uintptr_t flags = 0;
    if (buttons & SDL_BUTTON_LMASK) flags |= 0x0001;
    if (buttons & SDL_BUTTON_RMASK) flags |= 0x0002;
    if (buttons & SDL_BUTTON_MMASK) flags |= 0x0010;
    return flags;
}

void postKey(HostWindow* window, const SDL_KeyboardEvent& key, bool down) {
    if (!window) return;
    SDL_Scancode scancode = key.keysym.scancode;
    int virtualKey = virtualKeyOfKey(scancode, key.keysym.sym, (key.keysym.mod & KMOD_NUM) != 0);
    if (virtualKey == 0) return;
    bool alt = (key.keysym.mod & KMOD_ALT) != 0;
    // Keys pressed with Alt held, Alt itself and F10 are system keys, as on the desktop the game was made for.
    bool system = alt || virtualKey == VK_MENU || virtualKey == VK_F10;
    uint32_t lparam = 1u | (uint32_t(scanCodeFromScancode(scancode)) << 16);
    if (isExtendedScancode(scancode)) lparam |= 1u << 24;
    if (alt) lparam |= 1u << 29;
    if (!down || key.repeat) lparam |= 1u << 30;
    if (!down) lparam |= 1u << 31;
    uint32_t message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    post(window, message, uintptr_t(virtualKey), intptr_t(int32_t(lparam)));
    if (message == WM_KEYDOWN) messageQueue().back().character = characterOfKey(key.keysym.sym, key.keysym.mod);
}

void postCharacter(HostWindow* window, uint32_t code, bool next) {
    // Characters beyond the 16-bit range go as two UTF-16 units, one WM_CHAR each.
    WindowMessage units[2] = {{window, WM_CHAR, code, 1}, {window, WM_CHAR, 0, 1}};
    int count = 1;
    if (code >= 0x10000) {
        units[0].wparam = 0xD800 + ((code - 0x10000) >> 10);
        units[1].wparam = 0xDC00 + ((code - 0x10000) & 0x3FF);
        count = 2;
    }
    auto& queue = messageQueue();
    queue.insert(next ? queue.begin() : queue.end(), units, units + count);
}

// UTF-8 text as UTF-16 units, one WM_CHAR each (text input is off in the game's windows; SDL still sends text
// where something switches it on).
void postText(HostWindow* window, const char* text) {
    if (!window) return;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        uint32_t code = 0;
        int extra = 0;
        if (*p < 0x80) {
            code = *p;
        } else if ((*p & 0xE0) == 0xC0) {
            code = *p & 0x1F;
            extra = 1;
        } else if ((*p & 0xF0) == 0xE0) {
            code = *p & 0x0F;
            extra = 2;
        } else if ((*p & 0xF8) == 0xF0) {
            code = *p & 0x07;
            extra = 3;
        } else {
            ++p; // a stray continuation byte
            continue;
        }
        ++p;
        bool valid = true;
        for (int i = 0; i < extra; ++i, ++p) {
            if ((*p & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            code = (code << 6) | (*p & 0x3F);
        }
        if (!valid || code > 0x10FFFF) continue;
        postCharacter(window, code, /*next=*/false);
    }
}

void postButton(HostWindow* window, const SDL_MouseButtonEvent& button, bool down) {
    uint32_t base;
    switch (button.button) {
    case SDL_BUTTON_LEFT:
        base = WM_LBUTTONDOWN;
        break;
    case SDL_BUTTON_RIGHT:
        base = WM_RBUTTONDOWN;
        break;
    case SDL_BUTTON_MIDDLE:
        base = WM_MBUTTONDOWN;
        break;
    default:
        return;
    }
    // DOWN, UP, DBLCLK, UP, DOWN ...: every second press inside the double-click time is a double-click.
    uint32_t message = !down ? base + 1 : (button.clicks >= 2 && button.clicks % 2 == 0) ? base + 2 : base;
    int x, y;
    toBackBuffer(window, button.x, button.y, x, y);
    post(window, message, mouseKeyFlags(SDL_GetMouseState(nullptr, nullptr)), makeLParam(x, y));
}

void translateEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        post(firstWindow(), WM_CLOSE, 0, 0);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        postKey(findWindow(event.key.windowID), event.key, event.type == SDL_KEYDOWN);
        break;
    case SDL_TEXTINPUT:
        postText(findWindow(event.text.windowID), event.text.text);
        break;
    case SDL_MOUSEMOTION: {
        HostWindow* window = findWindow(event.motion.windowID);
        if (!window) break;
        int x, y;
        toBackBuffer(window, event.motion.x, event.motion.y, x, y);
        post(window, WM_MOUSEMOVE, mouseKeyFlags(event.motion.state), makeLParam(x, y));
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (HostWindow* window = findWindow(event.button.windowID))
            postButton(window, event.button, event.type == SDL_MOUSEBUTTONDOWN);
        break;
    case SDL_MOUSEWHEEL: {
        HostWindow* window = findWindow(event.wheel.windowID);
        if (!window || event.wheel.y == 0) break;
        int steps = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
        int delta = std::clamp(steps * WHEEL_DELTA, -32768, 32767);
        uintptr_t wparam =
            (uintptr_t(uint16_t(int16_t(delta))) << 16) | mouseKeyFlags(SDL_GetMouseState(nullptr, nullptr));
        post(window, WM_MOUSEWHEEL, wparam, 0);
        break;
    }
    case SDL_WINDOWEVENT: {
        HostWindow* window = findWindow(event.window.windowID);
        if (!window) break;
        refreshClientArea(window);
        switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            post(window, WM_CLOSE, 0, 0);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            window->foreground = true;
            post(window, WM_ACTIVATE, WA_ACTIVE, 0);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            window->foreground = false;
            post(window, WM_ACTIVATE, WA_INACTIVE, 0);
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            window->minimized = true;
            break;
        case SDL_WINDOWEVENT_RESTORED:
            window->minimized = false;
            break;
        // SDL knows no window frame: leaving the client area is the pointer moving over the frame.
        case SDL_WINDOWEVENT_LEAVE:
            post(window, WM_NCMOUSEMOVE, 0, 0);
            break;
        default:
            break;
        }
        break;
    }
    default:
        break;
    }
}

void pumpEvents() {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) translateEvent(event);
}

} // namespace

bool startVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    // SDL reads the class from its environment when video starts.
    setenv("SDL_VIDEO_X11_WMCLASS", kWindowClassName, /*overwrite=*/0);
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", kWindowClassName, /*overwrite=*/0);
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

WindowHandle createWindow(const std::string& titleUtf8, int clientWidth, int clientHeight, bool popup,
                          WindowProcedure procedure) {
    if (!startVideo()) return nullptr;
    uint32_t flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    if (popup) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_Window* sdl = SDL_CreateWindow(titleUtf8.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, clientWidth,
                                       clientHeight, flags);
    if (!sdl) return nullptr;
    // The screen saver and monitor power-off stay away while the game runs.
    SDL_DisableScreenSaver();
    // SDL starts with text input on; an input method in composing mode would then swallow letter keys (W, A, S
    // and D among them). The game takes its characters from key presses, as the desktop it was made for does
    // with the input method disabled.
    SDL_StopTextInput();

    uint32_t pixels[kIconSize * kIconSize];
    drawWindowIcon(pixels);
    if (SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(pixels, kIconSize, kIconSize, 32, kIconSize * 4,
                                                               SDL_PIXELFORMAT_RGBA32)) {
        SDL_SetWindowIcon(sdl, icon);
        SDL_FreeSurface(icon);
    }

    HostWindow* window = new HostWindow;
    window->sdl = sdl;
    window->procedure = procedure;
    window->popup = popup;
    window->backBufferWidth = clientWidth;
    window->backBufferHeight = clientHeight;
    refreshClientArea(window);
    liveWindows().push_back(window);
    return window;
}

void destroyWindow(WindowHandle window) {
    if (!windowExists(window)) return;
    std::erase(liveWindows(), window);
    std::erase_if(messageQueue(), [window](const WindowMessage& m) { return m.window == window; });
    SDL_DestroyWindow(window->sdl);
    delete window;
}

bool windowExists(WindowHandle window) {
    return window && std::find(liveWindows().begin(), liveWindows().end(), window) != liveWindows().end();
}

SDL_Window* sdlWindow(WindowHandle window) {
    return windowExists(window) ? window->sdl : nullptr;
}

void setWindowUserData(WindowHandle window, void* data) {
    if (windowExists(window)) window->userData = data;
}

void* getWindowUserData(WindowHandle window) {
    return windowExists(window) ? window->userData : nullptr;
}

void setWindowTitle(WindowHandle window, const std::string& titleUtf8) {
    if (windowExists(window)) SDL_SetWindowTitle(window->sdl, titleUtf8.c_str());
}

std::string getWindowTitle(WindowHandle window) {
    return windowExists(window) ? std::string(SDL_GetWindowTitle(window->sdl)) : std::string();
}

void setWindowStyle(WindowHandle window, bool popup) {
    if (!windowExists(window) || window->popup == popup) return;
    window->popup = popup;
    SDL_SetWindowFullscreen(window->sdl, popup ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    SDL_SetWindowBordered(window->sdl, popup ? SDL_FALSE : SDL_TRUE);
    refreshClientArea(window);
}

bool isPopupStyle(WindowHandle window) {
    return windowExists(window) && window->popup;
}

void placeWindowCentred(WindowHandle window, int clientWidth, int clientHeight) {
    if (!windowExists(window) || window->popup) return;
    SDL_SetWindowSize(window->sdl, clientWidth, clientHeight);
    SDL_SetWindowPosition(window->sdl, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    refreshClientArea(window);
}

void getClientSize(WindowHandle window, int& width, int& height) {
    PixelRect area = clientArea(window);
    width = area.width;
    height = area.height;
}

PixelRect clientArea(WindowHandle window) {
    if (!windowExists(window)) return {};
    if (window->clientKnown) return window->client;
    PixelRect area;
    SDL_GetWindowPosition(window->sdl, &area.x, &area.y);
    SDL_GetWindowSize(window->sdl, &area.width, &area.height);
    return area;
}

void getDrawableSize(SDL_Window* sdl, int& width, int& height, bool refresh) {
    width = height = 0;
    HostWindow* window = windowOfSdl(sdl);
    if (window && refresh) refreshClientArea(window, /*place=*/false);
    if (window && window->clientKnown) {
        width = window->client.width;
        height = window->client.height;
    } else if (sdl) {
        SDL_GL_GetDrawableSize(sdl, &width, &height);
    }
}

bool sdlKnowsClientArea(WindowHandle window) {
    if (!windowExists(window) || !window->clientKnown) return true;
    PixelRect sdl;
    SDL_GetWindowPosition(window->sdl, &sdl.x, &sdl.y);
    SDL_GetWindowSize(window->sdl, &sdl.width, &sdl.height);
    const PixelRect& real = window->client;
    return sdl.x == real.x && sdl.y == real.y && sdl.width == real.width && sdl.height == real.height;
}

void simulateClientArea(WindowHandle window, const PixelRect* area) {
    if (!windowExists(window)) return;
    window->clientSimulated = area != nullptr;
    if (area) window->client = *area;
    window->clientKnown = area != nullptr;
    if (!area) refreshClientArea(window);
}

void adjustWindowRect(int clientWidth, int clientHeight, bool popup, int& outerWidth, int& outerHeight) {
    outerWidth = clientWidth;
    outerHeight = clientHeight;
    HostWindow* window = firstWindow();
    if (popup || !window || window->popup) return;
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(window->sdl, &top, &left, &bottom, &right) == 0) {
        outerWidth += left + right;
        outerHeight += top + bottom;
    }
}

void showWindow(WindowHandle window) {
    if (!windowExists(window)) return;
    SDL_ShowWindow(window->sdl);
    SDL_RestoreWindow(window->sdl);
    SDL_RaiseWindow(window->sdl);
    window->minimized = false;
    window->foreground = true;
    refreshClientArea(window);
}

void minimizeWindow(WindowHandle window) {
    if (!windowExists(window)) return;
    SDL_MinimizeWindow(window->sdl);
    window->minimized = true;
}

void restoreWindow(WindowHandle window) {
    if (!windowExists(window)) return;
    SDL_RestoreWindow(window->sdl);
    window->minimized = false;
}

bool isMinimized(WindowHandle window) {
    return windowExists(window) && window->minimized;
}

void stopFlashing(WindowHandle window) {
    if (windowExists(window)) SDL_FlashWindow(window->sdl, SDL_FLASH_CANCEL);
}

bool isForeground(WindowHandle window) {
    return windowExists(window) && window->foreground && !window->minimized;
}

void simulateForeground(WindowHandle window, bool foreground) {
    if (!windowExists(window)) return;
    window->foreground = foreground;
    if (foreground) window->minimized = false;
    post(window, WM_ACTIVATE, foreground ? WA_ACTIVE : WA_INACTIVE, 0);
}

void setBackBufferSize(WindowHandle window, int width, int height) {
    if (!windowExists(window)) return;
    window->backBufferWidth = width;
    window->backBufferHeight = height;
}

void getBackBufferSize(WindowHandle window, int& width, int& height) {
    width = height = 0;
    if (!windowExists(window)) return;
    width = window->backBufferWidth;
    height = window->backBufferHeight;
}

PixelRect presentationRect(WindowHandle window) {
    int width, height;
    getClientSize(window, width, height);
    if (!windowExists(window)) return {};
    D3D8PresentArea area = letterboxArea(window->backBufferWidth, window->backBufferHeight, width, height);
    return {area.x, area.y, area.width, area.height};
}

AcceleratorTable* createAcceleratorTable(uint32_t command) {
    return new AcceleratorTable{command};
}

void destroyAcceleratorTable(AcceleratorTable* table) {
    delete table;
}

bool translateAccelerator(WindowHandle window, AcceleratorTable* table, const WindowMessage& message) {
    if (!table || !windowExists(window) || message.window != window) return false;
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    bool altHeld = (uint32_t(message.lparam) & (1u << 29)) != 0;
    bool matches = message.wparam == VK_F10 || (message.wparam == VK_RETURN && altHeld);
    if (!matches) return false;
    // The command goes to the window procedure, which has no use for it.
    sendMessage(window, WM_COMMAND, (uintptr_t(1) << 16) | table->command, 0);
    return true;
}

bool peekMessage(WindowHandle window, WindowMessage& message) {
    pumpEvents();
    auto& queue = messageQueue();
    auto found =
        std::find_if(queue.begin(), queue.end(), [window](const WindowMessage& m) { return m.window == window; });
    if (found == queue.end()) return false;
    message = *found;
    queue.erase(found);
    return true;
}

void translateMessage(const WindowMessage& message) {
    if (message.message != WM_KEYDOWN || message.character == 0 || !windowExists(message.window)) return;
    postCharacter(message.window, message.character, /*next=*/true);
}

bool waitMessage(WindowMessage& message, int timeoutMs) {
    auto& queue = messageQueue();
    pumpEvents();
    if (queue.empty() && SDL_WasInit(SDL_INIT_VIDEO)) {
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, timeoutMs)) {
            translateEvent(event);
            pumpEvents();
        }
    }
    if (queue.empty()) return false;
    message = queue.front();
    queue.erase(queue.begin());
    return true;
}

intptr_t dispatchMessage(const WindowMessage& message) {
    return sendMessage(message.window, message.message, message.wparam, message.lparam);
}

intptr_t sendMessage(WindowHandle window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    if (!windowExists(window)) return 0;
    if (window->procedure) return window->procedure(window, message, wparam, lparam);
    return defWindowProc(window, message, wparam, lparam);
}

void postMessage(WindowHandle window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    if (windowExists(window)) post(window, message, wparam, lparam);
}

intptr_t defWindowProc(WindowHandle window, uint32_t message, uintptr_t, intptr_t lparam) {
    if (message == WM_RBUTTONUP) sendMessage(window, WM_CONTEXTMENU, uintptr_t(window), lparam);
    return 0;
}

void postQuitMessage(int) {
    quitPosted = true;
}

bool isQuitPosted() {
    return quitPosted;
}

void clearQuitPosted() {
    quitPosted = false;
}

void getDesktopSize(int& width, int& height) {
    width = height = 0;
    SDL_DisplayMode mode;
    if (startVideo() && SDL_GetDesktopDisplayMode(0, &mode) == 0) {
        width = mode.w;
        height = mode.h;
    }
}

int currentRefreshRate() {
    SDL_DisplayMode mode;
    if (startVideo() && SDL_GetCurrentDisplayMode(0, &mode) == 0 && mode.refresh_rate > 0) return mode.refresh_rate;
    return 60;
}

bool getDisplayMode(int index, DisplayMode& mode) {
    SDL_DisplayMode sdlMode;
    if (!startVideo() || SDL_GetDisplayMode(0, index, &sdlMode) != 0) return false;
    mode.width = sdlMode.w;
    mode.height = sdlMode.h;
    mode.bitsPerPixel = int(SDL_BITSPERPIXEL(sdlMode.format));
    mode.refreshRate = sdlMode.refresh_rate > 0 ? sdlMode.refresh_rate : 60;
    return true;
}

namespace {
// The icon at a point of its 32-unit design (pixel centres of the 32-pixel icon at whole numbers): a dolphin
// leaping over a wave, on a round patch of deep sea, made of two arcs and a fin by distance tests.
bool iconColour(float x, float y, float& r, float& g, float& b) {
    float dx = x - 15.5f, dy = y - 15.5f;
    if (std::sqrt(dx * dx + dy * dy) > 15.5f) return false;
    r = 10, g = 40 + y * 2, b = 110 + y * 3;
    // The body: a thick arc round a point below the picture.
    float bx = x - 16.0f, by = y - 26.0f;
    float bodyRadius = std::sqrt(bx * bx + by * by);
    bool body = bodyRadius > 11.0f && bodyRadius < 15.0f && y < 22 && x > 4 && x < 28;
    bool fin = y >= 7 && y <= 12 && x >= 14 && x <= 14 + (y - 7);
    bool wave = y >= 24 && std::fabs(std::sin(x * 0.6f) * 1.5f + 25.5f - y) < 1.0f;
    if (body || fin) r = 200, g = 225, b = 240;
    if (wave) r = 150, g = 210, b = 255;
    return true;
}
} // namespace

// Each pixel averages 4 x 4 points of the design, so the edges stay smooth at every size.
void drawWindowIcon(uint32_t* pixels, int size) {
    constexpr int kSamples = 4;
    const float unit = 32.0f / float(size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float r = 0, g = 0, b = 0;
            int covered = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    float pr, pg, pb;
                    float u = (float(x) + (float(sx) + 0.5f) / kSamples) * unit - 0.5f;
                    float v = (float(y) + (float(sy) + 0.5f) / kSamples) * unit - 0.5f;
                    if (!iconColour(u, v, pr, pg, pb)) continue;
                    r += pr, g += pg, b += pb;
                    covered++;
                }
            uint32_t a = uint32_t(covered * 255 / (kSamples * kSamples));
            if (covered > 0) r /= float(covered), g /= float(covered), b /= float(covered);
            pixels[size_t(y) * size_t(size) + size_t(x)] =
                uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16) | (a << 24);
        }
    }
}

} // namespace host
