// The game window opened for real (offscreen SDL video with a Mesa OpenGL context): opening, clearing,
// reading the back buffer, paced presentation, closing; SDL events through the message queue into records;
// and, over the recording device, the opening checks, the device-lost cycle and the other resets.
#include "HostInput.h"
#include "HostSystem.h"
#include "HostVideoMemory.h"
#include "ImageFixtures.h"
#include "KGraphic.h"
#include "KGraphicFactory.h"
#include "KImage.h"
#include "KLog.h"
#include "KMiscTools.h"
#include "KMouse.h"
#include "KWindowD3D.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {
std::vector<WindowEvent> events;
bool callbackAnswer = true;

bool recordEvent(WindowEvent* event) {
    events.push_back(*event);
    return callbackAnswer;
}

std::vector<int> eventTypes() {
    std::vector<int> types;
    for (const WindowEvent& e : events) types.push_back(e.type);
    return types;
}

// A key event from SDL, as a keyboard layout gives it: the key's place (scancode) and what it types (sym).
void pushKey(uint32_t windowId, SDL_Scancode scancode, SDL_Keycode sym, bool down, uint16_t mod) {
    SDL_Event e = {};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = windowId;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = scancode;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    SDL_PushEvent(&e);
}

bool logged(const char* text) {
    return ImageFixtures::loggedText().find(text) != std::string::npos;
}

// Stands in for the picture back end and notes what the window asks of it, in order.
struct BackEndLog {
    std::vector<std::string> calls;
    std::vector<std::vector<float>> fills;
    KWindowD3DBackEnd backEnd() {
        KWindowD3DBackEnd b;
        b.resetDrawingState = [this](KGraphicD3DWindow*) { calls.push_back("resetDrawingState"); };
        b.closeRenderTargets = [this] { calls.push_back("closeRenderTargets"); };
        b.releaseDeviceTextures = [this](bool all) { calls.push_back(all ? "releaseAll" : "releaseTargets"); };
        b.restoreRenderTargets = [this] { calls.push_back("restoreRenderTargets"); };
        b.releaseVertexBuffers = [this] { calls.push_back("releaseVertexBuffers"); };
        b.restoreVertexBuffers = [this] { calls.push_back("restoreVertexBuffers"); };
        b.releasePixelShaders = [this] { calls.push_back("releasePixelShaders"); };
        b.restorePixelShaders = [this] { calls.push_back("restorePixelShaders"); };
        b.fillRectBlended = [this](float x1, float y1, float x2, float y2, float, float, float, float a) {
            fills.push_back({x1, y1, x2, y2, a});
        };
        return b;
    }
    // The calls other than the per-frame closeRenderTargets.
    std::vector<std::string> resetCalls() const {
        std::vector<std::string> out;
        for (const std::string& c : calls)
            if (c != "closeRenderTargets") out.push_back(c);
        return out;
    }
};

int countCalls(IDirect3DDevice8* device, D3D8Call call) {
    int n = 0;
    for (const D3D8RecordedCall& c : device->recordedCalls()) n += c.call == call;
    return n;
}

struct RecordingWindow : testing::Test {
    BackEndLog backEndLog; // outlives the window, whose clean-up still reports to it
    int clockMs = 0;
    KWindowD3D window;
    void SetUp() override {
        events.clear();
        callbackAnswer = true;
        window.setDirect3DFactory([] { return Direct3DCreate8Recording(); });
        window.setBackEnd(backEndLog.backEnd());
        window.setClock([this] { return clockMs; });
        window.setSleep([this](int ms) { clockMs += ms; });
        window.setEventCallback(recordEvent);
        host::clearQuitPosted();
    }
    bool open(bool windowed) {
        KLog::clearMemoryBuffer();
        return window.createGameWindow(800, 600, 32, windowed, "Glimmerfin", 0);
    }
    IDirect3DDevice8* device() { return window.getD3DDevice(); }
};
} // namespace

TEST(KWindowD3DReal, OpensClearsReadsBackPacesAndCloses) {
    KWindowD3D window;
    window.setEventCallback(recordEvent);
    KLog::clearMemoryBuffer();
    ASSERT_TRUE(window.createGameWindow(800, 600, 32, /*windowed=*/true, "Glimmerfin", 0))
        << ImageFixtures::loggedText();
    EXPECT_TRUE(logged("D3D8: creating 800x600 game window (windowed mode)"));
    EXPECT_TRUE(logged("D3D8: device created successfully"));
    EXPECT_TRUE(logged("D3D8: game window successfully created, actual size is 800x600"));
    EXPECT_EQ(host::getWindowTitle(window.getWindowHandle()), "Glimmerfin");
    int width, height;
    host::getClientSize(window.getWindowHandle(), width, height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    EXPECT_EQ(getCurrentWindow(), &window);
    EXPECT_EQ(window.getDepth(), 32);

    // The opening left the frame black; a clear with the clear colour shows in the read-back.
    KImage image;
    ASSERT_TRUE(window.getBackBufferAsImage(800, 600, image));
    EXPECT_EQ(image.getPixel(400, 300), KImage::pack(0, 0, 0, 255));
    window.setClearColor(1.0f, 0.5f, 0.0f, 1.0f);
    window.setWorldView(0, 0, 0, 1, /*clear=*/true);
    ASSERT_TRUE(window.getBackBufferAsImage(800, 600, image));
    EXPECT_EQ(image.getWidth(), 800);
    EXPECT_FALSE(image.getHasAlpha());
    for (auto [x, y] : {std::pair{0, 0}, {799, 599}, {400, 300}})
        EXPECT_EQ(image.getPixel(x, y), KImage::pack(255, 127, 0, 255)) << x << "," << y;
    ASSERT_TRUE(window.getBackBufferAsImage(200, 150, image)); // resized on the way out
    EXPECT_EQ(image.getWidth(), 200);
    EXPECT_EQ(image.getPixel(100, 75), KImage::pack(255, 127, 0, 255));

    // Held to 60 frames per second over a second of real time (a loaded machine may manage fewer).
    window.setMaxFrameRate(60);
    window.flipBackBuffer(false);
    int frames = 0;
    auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(1)) {
        window.setWorldView(0, 0, 0, 1, /*clear=*/true);
        window.flipBackBuffer(false);
        ++frames;
    }
    EXPECT_LE(frames, 62);
    EXPECT_GE(frames, 20);
    // The average of the last eight frame times: on a busy machine a late frame is made up by shorter ones, but
    // by no more than the carry allows (from one period ahead to one behind: two periods in eight frames), less a
    // millisecond for frame times counted in whole milliseconds.
    EXPECT_GE(window.getFrameTime(), (8 - 2) * (1000.0 / 60) / 8 - 1);
    EXPECT_EQ(image.getPixel(0, 0), KImage::pack(255, 127, 0, 255));

    // Closing through the message queue sets the quit flag and leaves the window in place.
    host::postMessage(window.getWindowHandle(), host::WM_CLOSE, 0, 0);
    window.processEvents();
    EXPECT_TRUE(window.isQuitRequested());
    EXPECT_TRUE(host::isQuitPosted());
    EXPECT_TRUE(host::windowExists(window.getWindowHandle()));
    host::clearQuitPosted();
}

TEST(KWindowD3DReal, SdlEventsBecomeRecordsWithTheAcceleratorsSwallowed) {
    KWindowD3D window;
    window.setEventCallback(recordEvent);
    window.setDirect3DFactory([] { return Direct3DCreate8Recording(); });
    ASSERT_TRUE(window.createGameWindow(800, 600, 32, true, "Glimmerfin", 0));
    uint32_t id = SDL_GetWindowID(host::sdlWindow(window.getWindowHandle()));
    auto key = [id](SDL_Scancode scancode, bool down, uint16_t mod) { pushKey(id, scancode, 0, down, mod); };
    auto button = [id](uint8_t which, bool down, uint8_t clicks) {
        SDL_Event e = {};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.windowID = id;
        e.button.button = which;
        e.button.clicks = clicks;
        e.button.x = 400;
        e.button.y = 300;
        SDL_PushEvent(&e);
    };
    window.processEvents();
    events.clear();

    key(SDL_SCANCODE_RETURN, true, KMOD_LALT); // Alt+Return: swallowed
    key(SDL_SCANCODE_F10, true, 0);            // F10: swallowed
    key(SDL_SCANCODE_LALT, true, KMOD_LALT);   // a system key: no record
    key(SDL_SCANCODE_A, true, 0);
    key(SDL_SCANCODE_A, false, 0);
    window.processEvents();
    ASSERT_EQ(eventTypes(), (std::vector<int>{6, 7}));
    EXPECT_EQ(events[0].virtualKey, 'A');
    EXPECT_EQ(events[0].keyByte, 0x1E);
    EXPECT_EQ(events[0].engineKey, 25);
    EXPECT_EQ(events[1].keyByte, 'A');

    events.clear();
    button(SDL_BUTTON_LEFT, true, 1);
    button(SDL_BUTTON_LEFT, false, 1);
    button(SDL_BUTTON_LEFT, true, 2); // the second press of a double-click
    button(SDL_BUTTON_LEFT, false, 2);
    button(SDL_BUTTON_RIGHT, true, 1);
    button(SDL_BUTTON_RIGHT, false, 1); // followed by the context menu
    SDL_Event text = {};
    text.type = SDL_TEXTINPUT;
    text.text.windowID = id;
    std::strcpy(text.text.text, "\xC3\xA9\xF0\x9F\x90\xAC"); // e-acute and a dolphin (two UTF-16 units)
    SDL_PushEvent(&text);
    window.processEvents();
    EXPECT_EQ(eventTypes(), (std::vector<int>{3, 2, 3, 8, 2, 3, 2, 12, 5, 50, 50, 50}));
    EXPECT_EQ(events[3].button, 1);
    EXPECT_EQ(events[9].character, 0xE9);
    EXPECT_EQ(events[10].character, 0xD83D);
    EXPECT_EQ(events[11].character, 0xDC2C);

    // A callback that refuses the right-button release keeps the context menu from following it.
    events.clear();
    callbackAnswer = false;
    button(SDL_BUTTON_RIGHT, false, 1);
    window.processEvents();
    callbackAnswer = true;
    EXPECT_EQ(eventTypes(), (std::vector<int>{2}));
}

// Key presses through the keyboard layout: on a German keyboard the key at the US Y position types z, so it is
// the Z key (engine key 50) and types 'z'. Text input is off once the window is open, so an input method never
// takes the keys; the characters come from the key presses, Backspace, Tab, Return and Escape with their codes.
TEST(KWindowD3DReal, KeysFollowTheLayoutAndTypeWithTextInputOff) {
    KWindowD3D window;
    window.setEventCallback(recordEvent);
    window.setDirect3DFactory([] { return Direct3DCreate8Recording(); });
    SDL_StartTextInput(); // as SDL starts it
    ASSERT_TRUE(window.createGameWindow(800, 600, 32, true, "Glimmerfin", 0));
    EXPECT_FALSE(SDL_IsTextInputActive());

    uint32_t id = SDL_GetWindowID(host::sdlWindow(window.getWindowHandle()));
    auto key = [id](SDL_Scancode scancode, SDL_Keycode sym, bool down, uint16_t mod = 0) {
        pushKey(id, scancode, sym, down, mod);
    };
    window.processEvents();
    events.clear();
    key(SDL_SCANCODE_Y, SDLK_z, true);
    key(SDL_SCANCODE_Y, SDLK_z, false);
    key(SDL_SCANCODE_Z, SDLK_y, true, KMOD_LSHIFT);
    window.processEvents();
    ASSERT_EQ(eventTypes(), (std::vector<int>{6, 5, 50, 7, 6, 5, 50}));
    EXPECT_EQ(events[0].virtualKey, 'Z');
    EXPECT_EQ(events[0].engineKey, 50);
    EXPECT_EQ(events[0].keyByte, 0x15); // the scan code stays the key's position
    EXPECT_EQ(events[1].keyByte, 'z');
    EXPECT_EQ(events[2].character, 'z');
    EXPECT_EQ(events[3].virtualKey, 'Z');
    EXPECT_EQ(events[4].virtualKey, 'Y');
    EXPECT_EQ(events[6].character, 'Y');

    struct Control {
        SDL_Scancode scancode;
        SDL_Keycode sym;
        int character;
    } controls[] = {{SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, 8},
                    {SDL_SCANCODE_TAB, SDLK_TAB, 9},
                    {SDL_SCANCODE_RETURN, SDLK_RETURN, 13},
                    {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 27}};
    for (const Control& c : controls) {
        events.clear();
        key(c.scancode, c.sym, true);
        window.processEvents();
        ASSERT_EQ(eventTypes(), (std::vector<int>{6, 5, 50})) << c.character;
        EXPECT_EQ(events[1].keyByte, c.character);
        EXPECT_EQ(events[2].character, c.character);
    }
    // Keys that type nothing, and keys pressed with Control, give no character record.
    events.clear();
    key(SDL_SCANCODE_LEFT, SDLK_LEFT, true);
    key(SDL_SCANCODE_C, SDLK_c, true, KMOD_LCTRL);
    window.processEvents();
    EXPECT_EQ(eventTypes(), (std::vector<int>{6, 6}));
}

// The walk over the display modes ends when a query finds no further mode, and answers with that last query's
// result: 0 after every mode (the offscreen display's one mode has no depth, so the callback never runs there),
// 1 when the callback stopped it at a mode.
TEST(KWindowD3DReal, DisplayModesAnswerTheLastQuery) {
    KWindowD3D window;
    window.setDirect3DFactory([] { return Direct3DCreate8Recording(); });
    ASSERT_TRUE(window.createGameWindow(800, 600, 32, true, "Glimmerfin", 0));
    int modes = 0;
    EXPECT_EQ(window.enumerateDisplayModes([&](int width, int height, int bits, int) {
        EXPECT_GT(width, 0);
        EXPECT_GT(height, 0);
        EXPECT_GT(bits, 14);
        modes++;
        return true;
    }),
              0);
    if (modes == 0) return;
    int seen = 0;
    EXPECT_EQ(window.enumerateDisplayModes([&](int, int, int, int) {
        seen++;
        return false;
    }),
              1);
    EXPECT_EQ(seen, 1);
}

// Desktops know the window by its class (on X11 its WM_CLASS, on Wayland its application id), which SDL takes
// from the environment when its video starts.
TEST(KWindowD3DReal, TheWindowClassIsTheGamesOwn) {
    KWindowD3D window;
    window.setDirect3DFactory([] { return Direct3DCreate8Recording(); });
    ASSERT_TRUE(window.createGameWindow(800, 600, 32, true, "Glimmerfin", 0));
    for (const char* variable : {"SDL_VIDEO_X11_WMCLASS", "SDL_VIDEO_WAYLAND_WMCLASS"}) {
        const char* value = std::getenv(variable);
        EXPECT_STREQ(value ? value : "", "__ostrel_default_wclass_") << variable;
    }
}

TEST(KWindowD3DReal, TitleIsCutTo255) {
    KWindowD3D window;
    window.setDirect3DFactory([] { return Direct3DCreate8Recording(); });
    std::string longTitle(300, 'g');
    ASSERT_TRUE(window.createGameWindow(800, 600, 32, true, longTitle.c_str(), 0));
    EXPECT_EQ(host::getWindowTitle(window.getWindowHandle()), std::string(255, 'g'));
    window.setTitle("Glimmerfin");
    EXPECT_EQ(host::getWindowTitle(window.getWindowHandle()), "Glimmerfin");
}

TEST_F(RecordingWindow, OpeningChecksTheMinimumRequirements) {
    window.setMinimumRequirements(4096, 4194304, 0);
    EXPECT_FALSE(open(true));
    EXPECT_TRUE(logged("D3D8: minimum requirement of 4096x4096 textures not met, ERROR"));
    EXPECT_FALSE(host::windowExists(window.getWindowHandle()));
    EXPECT_EQ(window.getD3DDevice(), nullptr);

    window.setMinimumRequirements(512, 4194304, 0);
    host::setVideoMemoryOverride(1u << 20);
    EXPECT_FALSE(open(true));
    EXPECT_TRUE(logged("D3D8: minimum requirement of 4 MB of VRAM not met, ERROR"));
    host::setVideoMemoryOverride(0); // unknown: the texture memory stands in
    EXPECT_TRUE(open(true));
    EXPECT_TRUE(logged("D3D8: 268435456 bytes (256 MB) of VRAM available"));
    EXPECT_TRUE(logged("D3D8: R8G8B8 textures are NOT supported"));
    EXPECT_TRUE(logged("D3D8: A8R8G8B8 render targets are supported"));
    host::setVideoMemoryOverride(std::nullopt);

    window.setDirect3DFactory([]() -> IDirect3D8* { return nullptr; });
    EXPECT_FALSE(open(true));
    EXPECT_TRUE(logged("D3D8: failed to initialize Direct3D8 interface, ERROR"));
    EXPECT_EQ(window.flipBackBuffer(false), 0); // nothing later uses the missing device
}

TEST_F(RecordingWindow, DeviceLostCycleRecoversAndPresentsAgain) {
    ASSERT_TRUE(open(/*windowed=*/false));
    EXPECT_TRUE(logged("D3D8: switched to fullscreen mode, 800x600x32"));
    window.setMaxFrameRate(60);
    window.flipBackBuffer(false);
    host::WindowHandle handle = window.getWindowHandle();
    uint64_t presents = device()->presents();

    // Alt+Tab away: the window is minimised and the device released and lost.
    host::simulateForeground(handle, false);
    backEndLog.calls.clear();
    window.flipBackBuffer(false);
    EXPECT_TRUE(window.isD3DDeviceLost());
    EXPECT_FALSE(host::isForeground(handle));
    EXPECT_FALSE(window.isSceneBegun());
    EXPECT_EQ(events.back().type, 14);
    EXPECT_EQ(backEndLog.resetCalls(),
              (std::vector<std::string>{"releaseTargets", "releaseVertexBuffers", "releasePixelShaders"}));
    // While lost: no present, no scene, and the loop is slowed instead of spinning.
    int before = clockMs;
    window.flipBackBuffer(false);
    EXPECT_EQ(device()->presents(), presents);
    EXPECT_FALSE(window.isSceneBegun());
    EXPECT_GE(clockMs - before, 10);

    // Back in front: the next flip resets the device, clears both buffers and presents again.
    host::simulateForeground(handle, true);
    backEndLog.calls.clear();
    KLog::clearMemoryBuffer();
    window.flipBackBuffer(false);
    EXPECT_TRUE(logged("D3D8: device lost, resetting"));
    EXPECT_FALSE(window.isD3DDeviceLost());
    EXPECT_TRUE(window.isSceneBegun());
    EXPECT_EQ(device()->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(device()->presents(), presents + 3); // two clearing presents and the frame's own
    EXPECT_EQ(backEndLog.resetCalls(),
              (std::vector<std::string>{"releaseTargets", "releaseVertexBuffers", "releasePixelShaders",
                                        "restoreRenderTargets", "restoreVertexBuffers", "restorePixelShaders",
                                        "resetDrawingState"}));
    window.flipBackBuffer(false);
    EXPECT_EQ(device()->presents(), presents + 4);
}

TEST_F(RecordingWindow, WaitingForTheForegroundEndsWhenItReturnsOrTheWindowCloses) {
    ASSERT_TRUE(open(false));
    host::WindowHandle handle = window.getWindowHandle();
    host::simulateForeground(handle, false);
    window.flipBackBuffer(false);
    ASSERT_TRUE(window.isD3DDeviceLost());

    // The desktop gives the window back while the flip waits (a timer stands in for the user's click).
    SDL_InitSubSystem(SDL_INIT_TIMER);
    static uint32_t windowId;
    windowId = SDL_GetWindowID(host::sdlWindow(handle));
    SDL_TimerID timer = SDL_AddTimer(
        150,
        [](uint32_t, void*) -> uint32_t {
            SDL_Event e = {};
            e.type = SDL_WINDOWEVENT;
            e.window.windowID = windowId;
            e.window.event = SDL_WINDOWEVENT_RESTORED;
            SDL_PushEvent(&e);
            e.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
            SDL_PushEvent(&e);
            return 0;
        },
        nullptr);
    auto start = std::chrono::steady_clock::now();
    window.flipBackBuffer(/*waitForForeground=*/true);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    SDL_RemoveTimer(timer);
    EXPECT_TRUE(host::isForeground(handle));
    EXPECT_EQ(window.getTiming().getPreviousFrameTime(), -1); // the wait reset the frame timing
    window.flipBackBuffer(false);
    EXPECT_FALSE(window.isD3DDeviceLost());

    // Closed while minimised: the wait ends on the quit flag instead of hanging.
    host::simulateForeground(handle, false);
    window.flipBackBuffer(false);
    host::postMessage(handle, host::WM_CLOSE, 0, 0);
    window.flipBackBuffer(true);
    EXPECT_TRUE(window.isQuitRequested());
    host::clearQuitPosted();
}

TEST_F(RecordingWindow, FrameRateCapResetsOnlyWhenItsKindChanges) {
    ASSERT_TRUE(open(false));
    window.setMaxFrameRate(60);
    device()->clearRecording();
    EXPECT_EQ(window.setMaxFrameRate(30), 60);
    EXPECT_EQ(countCalls(device(), D3D8Call::Reset), 0);
    EXPECT_EQ(window.setMaxFrameRate(-1), 30);
    EXPECT_EQ(countCalls(device(), D3D8Call::Reset), 1);
    EXPECT_EQ(window.getPresentationParameters().SwapEffect, D3DSWAPEFFECT_DISCARD);
    EXPECT_EQ(window.getPresentationParameters().FullScreen_PresentationInterval, D3DPRESENT_INTERVAL_IMMEDIATE);
    EXPECT_EQ(window.setMaxFrameRate(60), -1);
    EXPECT_EQ(window.getPresentationParameters().SwapEffect, D3DSWAPEFFECT_COPY);
    EXPECT_EQ(window.getPresentationParameters().FullScreen_PresentationInterval, D3DPRESENT_INTERVAL_ONE);
    EXPECT_TRUE(window.isSceneBegun());

    // Cap 0: windowed paces to the desktop rate, full screen leaves it to the presentation interval.
    window.setMaxFrameRate(0);
    window.flipBackBuffer(false);
    clockMs += 1;
    window.flipBackBuffer(false);
    EXPECT_EQ(window.getTiming().getPreviousFrameTime(), clockMs); // no wait in full screen
    ASSERT_TRUE(window.toggleFullScreen(false));
    window.flipBackBuffer(false);
    int start = clockMs;
    window.flipBackBuffer(false);
    EXPECT_GE(clockMs - start, 1000 / host::currentRefreshRate() - 1);
}

TEST_F(RecordingWindow, ToggleFullScreenResetsOnlyOnAChange) {
    ASSERT_TRUE(open(true));
    device()->clearRecording();
    EXPECT_TRUE(window.toggleFullScreen(false));
    EXPECT_EQ(countCalls(device(), D3D8Call::Reset), 0);

    device()->failNextResets(2);
    KLog::clearMemoryBuffer();
    EXPECT_TRUE(window.toggleFullScreen(true));
    EXPECT_TRUE(logged("D3D8: toggling display mode to fullscreen, depth 32"));
    EXPECT_TRUE(logged("D3D8: waiting for device in toggleFullScreen, Reset returned 0x88760868"));
    EXPECT_TRUE(logged("D3D8: toggled to fullscreen mode, 800x600"));
    EXPECT_EQ(countCalls(device(), D3D8Call::Reset), 3);
    EXPECT_FALSE(window.getPresentationParameters().Windowed);
    EXPECT_TRUE(host::isPopupStyle(window.getWindowHandle()));
    EXPECT_TRUE(window.isSceneBegun());
    EXPECT_FALSE(window.isD3DDeviceLost());

    EXPECT_TRUE(window.toggleFullScreen(false));
    EXPECT_TRUE(window.getPresentationParameters().Windowed);
    EXPECT_FALSE(host::isPopupStyle(window.getWindowHandle()));

    // The message box leaves full screen and the next frame returns to it.
    // While it shows, the system cursor is visible; the game's hidden cursor comes back afterwards.
    window.toggleFullScreen(true);
    systemCursorHidden = true;
    while (host::showCursor(false) >= 0) {
    }
    static bool fullScreenDuringBox, cursorShownDuringBox, flagDuringBox;
    static KWindowD3D* boxWindow;
    boxWindow = &window;
    host::setMessageBoxHandler([](const std::string&, const std::string&) {
        fullScreenDuringBox = boxWindow->isFullScreen();
        cursorShownDuringBox = host::cursorDisplayCount() >= 0;
        flagDuringBox = systemCursorHidden;
    });
    KMiscTools::messageBox("Glimmerfin", "a picture is missing");
    host::setMessageBoxHandler(nullptr);
    EXPECT_FALSE(fullScreenDuringBox);
    EXPECT_TRUE(cursorShownDuringBox);
    EXPECT_FALSE(flagDuringBox);
    EXPECT_TRUE(systemCursorHidden);
    EXPECT_LT(host::cursorDisplayCount(), 0);
    systemCursorHidden = false;
    while (host::showCursor(true) < 0) {
    }
    EXPECT_FALSE(window.isFullScreen());
    window.flipBackBuffer(false);
    EXPECT_TRUE(window.isFullScreen());
}

TEST_F(RecordingWindow, CorrectionBarsAndBrightnessVeilAreFilled) {
    window.setAspectCorrection(true);
    ASSERT_TRUE(open(false));
    window.setBrightness(0.25f);
    backEndLog.fills.clear();
    window.flipBackBuffer(false);
    std::vector<std::vector<float>> expected;
    if (window.isAspectCorrected()) expected = {{799.5f, -1, 802, 601, 1}, {-1, 599.5f, 801, 602, 1}};
    expected.push_back({-1, -1, 801, 601, 0.75f});
    // Margins beside a corrected area (a desktop of another shape) come after the bars.
    ASSERT_GE(backEndLog.fills.size(), expected.size());
    if (window.isAspectCorrected()) {
        EXPECT_EQ(backEndLog.fills[0], expected[0]);
        EXPECT_EQ(backEndLog.fills[1], expected[1]);
    }
    EXPECT_EQ(backEndLog.fills.back(), expected.back());
}

TEST_F(RecordingWindow, ClearColourPacksEachChannelTruncatedAndHeldToItsRange) {
    ASSERT_TRUE(open(true));
    struct Case {
        float r, g, b, a;
        uint32_t packed;
    } cases[] = {
        {1, 0, 0, 1, 0xFFFF0000u},
        {0.5f, 0.25f, 1, 0.999f, 0xFE7F3FFFu},
        {2, -1, 0.5f, 1e30f, 0xFFFF007Fu},
        {NAN, 1e-9f, -1e30f, 0, 0x00000000u},
    };
    for (const Case& c : cases) {
        device()->clearRecording();
        window.setClearColor(c.r, c.g, c.b, c.a);
        window.setWorldView(0, 0, 0, 1, /*clear=*/true);
        uint32_t cleared = 0;
        for (const D3D8RecordedCall& call : device()->recordedCalls())
            if (call.call == D3D8Call::Clear) cleared = call.b;
        EXPECT_EQ(cleared, c.packed) << std::hex << c.packed;
    }
}

// A 16-bit back buffer reads back with each field at the top of its byte; a read that cannot lock the back buffer
// is logged and fails.
TEST_F(RecordingWindow, SixteenBitBackBufferReadsBackAndAFailedReadIsLogged) {
    ASSERT_TRUE(window.createGameWindow(800, 600, /*depth=*/16, /*windowed=*/false, "Glimmerfin", 0));
    ASSERT_EQ(window.getPresentationParameters().BackBufferFormat, D3DFMT_R5G6B5);
    EXPECT_EQ(window.getDepth(), 16);
    window.setClearColor(1.0f, 0.53f, 0.27f, 1);
    window.setWorldView(0, 0, 0, 1, /*clear=*/true);
    KImage image;
    ASSERT_TRUE(window.getBackBufferAsImage(800, 600, image));
    EXPECT_EQ(image.getPixel(400, 300), KImage::pack(0xF8, 0x84, 0x40, 255));

    IDirect3DSurface8* back = nullptr;
    ASSERT_EQ(device()->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    D3DLOCKED_RECT lock;
    ASSERT_EQ(back->LockRect(&lock, nullptr, 0), D3D_OK);
    KLog::clearMemoryBuffer();
    EXPECT_FALSE(window.getBackBufferAsImage(800, 600, image));
    EXPECT_TRUE(logged("D3D8: LockRect returned 0x8876086C for getBackBufferAsImage, ERROR"))
        << ImageFixtures::loggedText();
    back->UnlockRect();
    back->Release();
}

TEST_F(RecordingWindow, DefaultWorldViewMapsTheGameAreaOntoTheViewport) {
    ASSERT_TRUE(open(true));
    Matrix4 projection;
    makeOrthoMatrix(projection, 800, 600, 0, 1);
    auto toScreen = [&](float x, float y) {
        Matrix4 m;
        multiplyMatrix(m, window.getWorldMatrix(), projection);
        return transformPoint(m, x, -y, 0); // game y runs down
    };
    MatrixPoint topLeft = toScreen(0, 0), bottomRight = toScreen(800, 600);
    EXPECT_FLOAT_EQ(topLeft.x, -1);
    EXPECT_FLOAT_EQ(topLeft.y, 1);
    EXPECT_FLOAT_EQ(bottomRight.x, 1);
    EXPECT_FLOAT_EQ(bottomRight.y, -1);
    // Rotation and zoom turn about the game's centre.
    window.setWorldView(0, 0, 90, 2, false);
    MatrixPoint centre = toScreen(400, 300);
    EXPECT_NEAR(centre.x, 0, 1e-5);
    EXPECT_NEAR(centre.y, 0, 1e-5);
    MatrixPoint corner = toScreen(0, 0);
    EXPECT_NEAR(std::fabs(corner.x), 1.5, 1e-4); // 300 game pixels from the centre, doubled, over 400
}

TEST(KWindowD3DReal, FullScreenLosesTheForegroundRecoversAndPresentsAgain) {
    KWindowD3D window;
    window.setEventCallback(recordEvent);
    ASSERT_TRUE(window.createGameWindow(800, 600, 32, /*windowed=*/false, "Glimmerfin", 0));
    host::WindowHandle handle = window.getWindowHandle();
    IDirect3DDevice8* device = window.getD3DDevice();
    ASSERT_EQ(device->mode(), D3D8Mode::OpenGL);
    EXPECT_TRUE(host::isPopupStyle(handle));
    EXPECT_TRUE(host::isCursorClipped());
    window.flipBackBuffer(false);

    host::simulateForeground(handle, false);
    window.flipBackBuffer(false);
    EXPECT_TRUE(window.isD3DDeviceLost());
    uint64_t presents = device->presents();
    window.flipBackBuffer(false);
    EXPECT_EQ(device->presents(), presents);

    host::simulateForeground(handle, true);
    window.flipBackBuffer(false);
    EXPECT_FALSE(window.isD3DDeviceLost());
    EXPECT_GT(device->presents(), presents);
    window.setClearColor(0, 0, 1, 1);
    window.setWorldView(0, 0, 0, 1, /*clear=*/true);
    window.flipBackBuffer(false);
    KImage image;
    ASSERT_TRUE(window.getBackBufferAsImage(800, 600, image));
    EXPECT_EQ(image.getPixel(10, 10), KImage::pack(0, 0, 255, 255));

    // And back to a window of the game's size.
    ASSERT_TRUE(window.toggleFullScreen(false));
    EXPECT_FALSE(host::isPopupStyle(handle));
    int width, height;
    host::getClientSize(handle, width, height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    window.setWorldView(0, 0, 0, 1, true);
    window.flipBackBuffer(false);
    ASSERT_TRUE(window.getBackBufferAsImage(800, 600, image));
    EXPECT_EQ(image.getPixel(799, 599), KImage::pack(0, 0, 255, 255));
}

// Full screen where the window system keeps the window at a size of its own (an X server with no window
// manager keeps it at 800 x 600) while SDL takes it for the desktop (1024 x 768 offscreen): the frame is presented into
// the window's real size, letterboxed, and the pointer is mapped through that same letterbox, so the drawn
// cursor and the clicks land on the same game pixel, whatever size the window has.
TEST(KWindowD3DReal, FullScreenFollowsTheWindowsRealSize) {
    KWindowD3D window;
    window.setEventCallback(recordEvent);
    ASSERT_TRUE(window.createGameWindow(800, 600, 32, /*windowed=*/false, "Glimmerfin", 0));
    host::WindowHandle handle = window.getWindowHandle();
    SDL_Window* sdl = host::sdlWindow(handle);
    uint32_t id = SDL_GetWindowID(sdl);
    struct Case {
        host::PixelRect real;
        D3D8PresentArea shown; // where the 800 x 600 frame lands in the window
    } cases[] = {
        {{0, 0, 800, 600}, {0, 0, 800, 600}},
        {{0, 0, 1000, 600}, {100, 0, 800, 600}}, // bars at the sides
        {{0, 0, 400, 400}, {0, 50, 400, 300}},   // bars above and below
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.real.width) + "x" + std::to_string(c.real.height));
        host::simulateClientArea(handle, &c.real);
        window.flipBackBuffer(false);
        D3D8PresentArea area = window.getD3DDevice()->presentArea();
        EXPECT_EQ(area.x, c.shown.x);
        EXPECT_EQ(area.y, c.shown.y);
        EXPECT_EQ(area.width, c.shown.width);
        EXPECT_EQ(area.height, c.shown.height);
        EXPECT_EQ(SDL_GetWindowMouseRect(sdl), nullptr) << "SDL would hold the pointer in the wrong place";

        // The pointer at the window pixel that shows game pixel (400, 300), and a click there.
        const int windowX = c.shown.x + c.shown.width / 2, windowY = c.shown.y + c.shown.height / 2;
        SDL_WarpMouseInWindow(sdl, windowX, windowY);
        SDL_PumpEvents();
        window.processEvents();
        EXPECT_EQ(getMouseX(), 400);
        EXPECT_EQ(getMouseY(), 300);
        events.clear();
        SDL_Event press = {};
        press.type = SDL_MOUSEBUTTONDOWN;
        press.button.windowID = id;
        press.button.button = SDL_BUTTON_LEFT;
        press.button.clicks = 1;
        press.button.x = windowX;
        press.button.y = windowY;
        SDL_PushEvent(&press);
        window.processEvents();
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.back().type, 3);
        EXPECT_EQ(events.back().lparam, int32_t(host::makeLParam(400, 300)));
    }
    host::simulateClientArea(handle, nullptr);
}

TEST(KWindowD3DReal, EngineCursorIsDrawnAtThePointerBeforeThePresent) {
    int previousKind = RendererKind;
    RendererKind = K_RENDERER_DIRECT3D8;
    {
        KWindowD3D window;
        ASSERT_TRUE(window.createGameWindow(800, 600, 32, true, "Glimmerfin", 0));
        window.setEngineCursor(true);
        host::setCursorOverride(100, 100);
        window.setClearColor(0, 0.5f, 0, 1);
        window.setWorldView(0, 0, 0, 1, /*clear=*/true);
        window.flipBackBuffer(false);
        host::clearCursorOverride();
        KImage image;
        ASSERT_TRUE(window.getBackBufferAsImage(800, 600, image));
        // Tip one pixel up and left of the pointer, dark edge, white body, background beside the arrow.
        EXPECT_LT(KImage::red(image.getPixel(99, 99)), 40u);
        EXPECT_GT(KImage::red(image.getPixel(101, 105)), 200u);
        EXPECT_EQ(image.getPixel(113, 100), KImage::pack(0, 127, 0, 255));
    }
    RendererKind = previousKind;
}

// The clip rectangle keeps drawing inside it, in game coordinates; an empty or inverted one draws nothing at all,
// and drawing comes back when the clip is reset. The world matrix moves drawing, with and without a clip.
TEST(KWindowD3DReal, ClipRectangleAndWorldMatrixPlaceDrawing) {
    int previousKind = RendererKind;
    RendererKind = K_RENDERER_DIRECT3D8;
    {
        KWindowD3D window;
        ASSERT_TRUE(window.createGameWindow(800, 600, 32, true, "Glimmerfin", 0));
        std::unique_ptr<KGraphic> painter(createGraphic());
        ASSERT_NE(painter, nullptr);
        const uint32_t black = KImage::pack(0, 0, 0, 255), red = KImage::pack(255, 0, 0, 255);
        Matrix4 moved; // 10 pixels right and 20 down
        makeTranslationMatrix(moved, 10, -20, 0);
        struct Case {
            const char* name;
            std::function<void()> setUp;
            float x1, y1, x2, y2; // the rectangle filled
            std::vector<std::pair<int, int>> redAt, blackAt;
        } cases[] = {
            {"clip",
             [&] { window.setClipRect(true, 100, 100, 300, 200); },
             0,
             0,
             800,
             600,
             {{100, 100}, {299, 199}, {150, 150}},
             {{99, 150}, {300, 150}, {150, 99}, {150, 200}, {400, 300}}},
            {"a fill inside the clip keeps its game position",
             [&] { window.setClipRect(true, 100, 100, 300, 200); },
             120,
             130,
             140,
             150,
             {{120, 130}, {139, 149}},
             {{119, 130}, {140, 130}, {120, 129}, {120, 150}}},
            {"inverted in x",
             [&] { window.setClipRect(true, 300, 100, 100, 200); },
             0,
             0,
             800,
             600,
             {},
             {{0, 0}, {150, 150}, {400, 300}, {799, 599}, {650, 450}}},
            {"inverted in y",
             [&] { window.setClipRect(true, 100, 400, 300, 200); },
             0,
             0,
             800,
             600,
             {},
             {{0, 0}, {150, 300}, {400, 300}, {799, 599}}},
            {"zero width",
             [&] { window.setClipRect(true, 200, 100, 200, 300); },
             0,
             0,
             800,
             600,
             {},
             {{0, 0}, {200, 200}, {400, 300}}},
            {"narrower than a pixel",
             [&] { window.setClipRect(true, 200.2f, 100, 200.7f, 300); },
             0,
             0,
             800,
             600,
             {},
             {{0, 0}, {200, 200}, {400, 300}}},
            {"reset after an empty clip",
             [&] {
                 window.setClipRect(true, 300, 100, 100, 200);
                 window.setClipRect(false, 0, 0, 0, 0);
             },
             0,
             0,
             800,
             600,
             {{0, 0}, {400, 300}, {799, 599}},
             {}},
            {"world matrix",
             [&] { window.setWorldMatrix(moved); },
             100,
             100,
             110,
             110,
             {{110, 120}, {119, 129}},
             {{109, 120}, {110, 119}, {105, 105}}},
            {"world matrix inside a clip",
             [&] {
                 window.setClipRect(true, 100, 100, 300, 200);
                 window.setWorldMatrix(moved);
             },
             100,
             100,
             110,
             110,
             {{110, 120}, {119, 129}},
             {{109, 120}, {110, 119}, {105, 105}}},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            window.setClearColor(0, 0, 0, 1);
            window.setWorldView(0, 0, 0, 1, /*clear=*/true);
            c.setUp();
            painter->fillRect(c.x1, c.y1, c.x2, c.y2, 1, 0, 0, 1);
            KImage frame;
            ASSERT_TRUE(window.getBackBufferAsImage(800, 600, frame));
            for (auto [x, y] : c.redAt) EXPECT_EQ(frame.getPixel(x, y), red) << x << "," << y;
            for (auto [x, y] : c.blackAt) EXPECT_EQ(frame.getPixel(x, y), black) << x << "," << y;
        }
        window.setDefaultWorldView();
    }
    RendererKind = previousKind;
}

// The desktop restores a full-screen window before it gives it the focus (as X11 does): the flips in between leave
// it restored, since the window was minimised once, when it went into the background.
TEST_F(RecordingWindow, AFullScreenWindowInTheBackgroundIsMinimisedOnce) {
    ASSERT_TRUE(open(/*windowed=*/false));
    window.flipBackBuffer(false);
    host::WindowHandle handle = window.getWindowHandle();
    uint32_t windowId = SDL_GetWindowID(host::sdlWindow(handle));
    auto windowEvent = [windowId](uint8_t kind) {
        SDL_Event e = {};
        e.type = SDL_WINDOWEVENT;
        e.window.windowID = windowId;
        e.window.event = kind;
        SDL_PushEvent(&e);
    };
    device()->clearRecording();
    backEndLog.calls.clear();

    host::simulateForeground(handle, false);
    window.flipBackBuffer(false);
    EXPECT_TRUE(host::isMinimized(handle));
    window.flipBackBuffer(false);
    EXPECT_EQ(countCalls(device(), D3D8Call::Reset), 1);

    windowEvent(SDL_WINDOWEVENT_RESTORED);
    for (int frame = 0; frame < 3; frame++) window.flipBackBuffer(false);
    EXPECT_FALSE(host::isMinimized(handle));
    EXPECT_TRUE(window.isD3DDeviceLost());
    EXPECT_EQ(countCalls(device(), D3D8Call::Reset), 1);
    EXPECT_EQ(backEndLog.resetCalls(),
              (std::vector<std::string>{"releaseTargets", "releaseVertexBuffers", "releasePixelShaders"}));

    windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    window.flipBackBuffer(false); // takes the focus; the next flip resets the device
    window.flipBackBuffer(false);
    EXPECT_FALSE(window.isD3DDeviceLost());
    EXPECT_TRUE(window.isSceneBegun());

    // A second trip into the background minimises the window again, once.
    host::simulateForeground(handle, false);
    window.flipBackBuffer(false);
    EXPECT_TRUE(host::isMinimized(handle));
}

// A device that will not reset keeps the toggle waiting for a few seconds at most: then the toggle fails with a
// log line, the window keeps its mode, and the device comes back in that mode once it resets again.
TEST_F(RecordingWindow, AToggleGivesUpOnADeviceThatWillNotReset) {
    ASSERT_TRUE(open(/*windowed=*/true));
    window.flipBackBuffer(false);
    device()->failNextResets(1 << 30);
    KLog::clearMemoryBuffer();
    int start = clockMs;
    EXPECT_FALSE(window.toggleFullScreen(true));
    EXPECT_GE(clockMs - start, 5000);
    EXPECT_LT(clockMs - start, 6000);
    EXPECT_TRUE(logged("D3D8: waiting for device in toggleFullScreen, Reset returned 0x88760868"));
    EXPECT_TRUE(logged("D3D8: the device did not reset within 5000 ms in toggleFullScreen, staying windowed, ERROR"))
        << ImageFixtures::loggedText();
    EXPECT_FALSE(window.isFullScreen());
    EXPECT_TRUE(window.getPresentationParameters().Windowed);
    EXPECT_EQ(window.getPresentationParameters().BackBufferWidth, 800u);
    EXPECT_FALSE(host::isPopupStyle(window.getWindowHandle()));
    EXPECT_EQ(window.getActualWidth(), 800);

    device()->failNextResets(0);
    for (int frame = 0; frame < 3; frame++) window.flipBackBuffer(false);
    EXPECT_FALSE(window.isD3DDeviceLost());
    EXPECT_TRUE(window.isSceneBegun());
    EXPECT_TRUE(window.getPresentationParameters().Windowed);

    // With a device that resets again, the same toggle succeeds.
    EXPECT_TRUE(window.toggleFullScreen(true));
    EXPECT_TRUE(window.isFullScreen());
}
