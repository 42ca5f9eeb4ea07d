// Stand-in for the windowing services the game window relies on: one SDL2 window with a window procedure,
// a queue of window messages (code, wparam, lparam) fed from SDL events, the accelerator keys, focus, the
// window style switch between a framed window and desktop full screen, the display modes and the icon.
// Message codes keep their Windows values because the engine stores them in its event records and compares them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct SDL_Window;

namespace host {

struct HostWindow;
using WindowHandle = HostWindow*;

// Window messages (Windows values).
enum : uint32_t {
    WM_NULL = 0x0000,
    WM_DESTROY = 0x0002,
    WM_ACTIVATE = 0x0006,
    WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012,
    WM_CONTEXTMENU = 0x007B,
    WM_NCMOUSEMOVE = 0x00A0,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSKEYUP = 0x0105,
    WM_COMMAND = 0x0111,
    WM_SYSCOMMAND = 0x0112,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_RBUTTONDBLCLK = 0x0206,
    WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208,
    WM_MBUTTONDBLCLK = 0x0209,
    WM_MOUSEWHEEL = 0x020A,
};

// WM_ACTIVATE low word; WM_SYSCOMMAND commands (wparam & 0xFFF0).
enum : uint32_t { WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2 };
enum : uint32_t { SC_SCREENSAVE = 0xF140, SC_MONITORPOWER = 0xF170 };
constexpr int WHEEL_DELTA = 120;

struct WindowMessage {
    WindowHandle window = nullptr;
    uint32_t message = WM_NULL;
    uintptr_t wparam = 0;
    intptr_t lparam = 0;
    uint32_t character = 0; // of a key press: the character it types in the keyboard layout (translateMessage)
};

constexpr uint32_t loWord(uintptr_t value) {
    return uint32_t(value & 0xFFFF);
}
constexpr uint32_t hiWord(uintptr_t value) {
    return uint32_t((value >> 16) & 0xFFFF);
}
constexpr intptr_t makeLParam(int low, int high) {
    return intptr_t(uint32_t(uint16_t(low)) | (uint32_t(uint16_t(high)) << 16));
}

using WindowProcedure = intptr_t (*)(WindowHandle window, uint32_t message, uintptr_t wparam, intptr_t lparam);

// The class of the game's windows, by which desktops know them (on X11 their WM_CLASS, on Wayland their
// application id; the desktop entry names it too).
constexpr const char* kWindowClassName = "__ostrel_default_wclass_";
// Starts SDL's video, for windows and OpenGL alike, with the window class set first (unless the environment
// already names one). True when video is running.
bool startVideo();

// The window: a fixed-size framed window, or (popup style) a borderless window covering the desktop. It is
// made hidden; showWindow shows it. Null (logged by the caller) when SDL cannot make it. Text input is switched
// off once it is open, so an input method never takes the game's keys.
WindowHandle createWindow(const std::string& titleUtf8, int clientWidth, int clientHeight, bool popup,
                          WindowProcedure procedure);
void destroyWindow(WindowHandle window);
bool windowExists(WindowHandle window); // false for null and after destroyWindow
SDL_Window* sdlWindow(WindowHandle window);

// The object the window procedure works for (the window's user data).
void setWindowUserData(WindowHandle window, void* data);
void* getWindowUserData(WindowHandle window);

void setWindowTitle(WindowHandle window, const std::string& titleUtf8);
std::string getWindowTitle(WindowHandle window);

// Framed (windowed) or popup (desktop full screen) style, and the client size of the framed window.
void setWindowStyle(WindowHandle window, bool popup);
bool isPopupStyle(WindowHandle window);
void placeWindowCentred(WindowHandle window, int clientWidth, int clientHeight);
void getClientSize(WindowHandle window, int& width, int& height); // in window pixels, as clientArea has them
// Outer size of a framed window with this client size (frame sizes known once a window exists, else 0).
void adjustWindowRect(int clientWidth, int clientHeight, bool popup, int& outerWidth, int& outerHeight);

void showWindow(WindowHandle window);     // shown, restored and brought to the front (foreground)
void minimizeWindow(WindowHandle window); // minimised windows are never foreground
void restoreWindow(WindowHandle window);
bool isMinimized(WindowHandle window);
void stopFlashing(WindowHandle window);
// The window is the foreground window: it has the keyboard focus and is not minimised.
bool isForeground(WindowHandle window);

// Moves the keyboard focus to or away from the window as the desktop would, posting the WM_ACTIVATE the
// window then receives (tests and headless runs, where no window manager moves the focus).
void simulateForeground(WindowHandle window, bool foreground);

// The back buffer shown in the window, scaled to fit with black bars (the device sets its size at every
// creation and reset). Cursor positions and clip rectangles are in back-buffer pixels.
void setBackBufferSize(WindowHandle window, int width, int height);
void getBackBufferSize(WindowHandle window, int& width, int& height);
struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
};
// Where the device shows the back buffer in the client area (window pixels): scaled to fit, centred.
PixelRect presentationRect(WindowHandle window);

// The client area as the window system has it: its place on the desktop and its size, in window pixels. SDL's
// own figures turn into the desktop's as soon as full screen is asked for, also on an X server with no window
// manager, where the window keeps its place and size; so the X server is asked, after each change SDL reports
// and before each present. Where nothing can be asked, SDL's figures stand.
PixelRect clientArea(WindowHandle window);
// The size of the client area the device presents into, for an SDL window of ours (SDL's drawable size for any
// other); with refresh the window system is asked again first.
void getDrawableSize(SDL_Window* window, int& width, int& height, bool refresh = false);
// Whether SDL's own figures of the client area are the window system's: SDL confines the pointer by them.
bool sdlKnowsClientArea(WindowHandle window);
// Tests stand in for the window system's answer (null: ask it again).
void simulateClientArea(WindowHandle window, const PixelRect* area);

// The accelerator table: Alt+Return and F10 send a command that nobody handles, so those key presses are
// swallowed. translateAccelerator is true when it took the message.
struct AcceleratorTable;
AcceleratorTable* createAcceleratorTable(uint32_t command);
void destroyAcceleratorTable(AcceleratorTable* table);
bool translateAccelerator(WindowHandle window, AcceleratorTable* table, const WindowMessage& message);

// Moves every pending SDL event into the message queue, then takes the next message of this window.
bool peekMessage(WindowHandle window, WindowMessage& message);
// A key press that types a character puts WM_CHAR with it next in the queue, as the system's translation does.
// Text input (the input method) stays off: characters come from the key presses and the keyboard layout.
void translateMessage(const WindowMessage& message);
// Waits up to timeoutMs for any message (the wait ends early when one arrives); false when none came.
bool waitMessage(WindowMessage& message, int timeoutMs);
intptr_t dispatchMessage(const WindowMessage& message);
// Calls the window procedure at once, as the system does for messages it sends rather than posts.
intptr_t sendMessage(WindowHandle window, uint32_t message, uintptr_t wparam, intptr_t lparam);
void postMessage(WindowHandle window, uint32_t message, uintptr_t wparam, intptr_t lparam);
// What the system does with messages the procedure passes on: a right-button release sends WM_CONTEXTMENU.
intptr_t defWindowProc(WindowHandle window, uint32_t message, uintptr_t wparam, intptr_t lparam);
// The thread's quit message: recorded, never turned back into a window message.
void postQuitMessage(int exitCode);
bool isQuitPosted();
void clearQuitPosted();

// Display: the desktop size, the current refresh rate (60 when the system reports none) and the modes (false
// past the last).
void getDesktopSize(int& width, int& height);
int currentRefreshRate();
struct DisplayMode {
    int width = 0, height = 0, bitsPerPixel = 0, refreshRate = 0;
};
bool getDisplayMode(int index, DisplayMode& mode);

// The game's icon, a picture of our own drawn at any size (size x size pixels, RGBA, rows top first): the window
// shows it at kIconSize, and the install puts larger ones where desktops look for them.
constexpr int kIconSize = 32;
void drawWindowIcon(uint32_t* pixels, int size = kIconSize);

} // namespace host
