// The Direct3D 8 window's logic without a window: window messages into event records, the aspect correction
// table, and the back-buffer pixel formats into RGBA.
#include "KWindowD3D.h"
#include "HostInput.h"
#include "ImageFixtures.h"
#include "KD3DPixels.h"
#include "KImage.h"
#include "KLog.h"
#include "KMiscTools.h"
#include "KMouse.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<WindowEvent> events;
bool callbackAnswer = true;
bool hookAnswer = true;

bool recordEvent(WindowEvent* event) {
    events.push_back(*event);
    return callbackAnswer;
}

bool hook(host::WindowHandle, uint32_t, uintptr_t, intptr_t) {
    return hookAnswer;
}

struct WindowEvents : testing::Test {
    KWindowD3D window;
    void SetUp() override {
        events.clear();
        callbackAnswer = hookAnswer = true;
        window.setEventCallback(recordEvent);
    }
    void TearDown() override { systemCursorHidden = false; }
};
} // namespace

TEST_F(WindowEvents, MessagesBecomeRecords) {
    struct Case {
        uint32_t message;
        uintptr_t wparam;
        intptr_t lparam;
        std::vector<int> types;
        int button;
    } cases[] = {
        {host::WM_MOUSEMOVE, 0, host::makeLParam(3, 4), {1}, 0},
        {host::WM_LBUTTONDOWN, 1, 0, {3}, 1},
        {host::WM_RBUTTONUP, 0, 0, {2}, 2},
        {host::WM_MBUTTONDOWN, 0, 0, {3}, 3},
        {host::WM_LBUTTONDBLCLK, 1, 0, {3, 8}, 1},
        {host::WM_RBUTTONDBLCLK, 2, 0, {3, 8}, 2},
        {host::WM_CONTEXTMENU, 0, 0, {12}, 0},
        {host::WM_CHAR, 'a', 1, {5, 50}, 0},
        {host::WM_CHAR, 0x263A, 1, {50}, 0},
        {host::WM_SYSKEYDOWN, host::VK_RETURN, 0, {}, 0},
        {host::WM_SYSKEYUP, host::VK_MENU, 0, {}, 0},
        {host::WM_CLOSE, 0, 0, {}, 0},
    };
    for (const Case& c : cases) {
        events.clear();
        window.handleMessage(c.message, c.wparam, c.lparam);
        ASSERT_EQ(events.size(), c.types.size()) << std::hex << c.message;
        for (size_t i = 0; i < events.size(); ++i) {
            EXPECT_EQ(events[i].type, c.types[i]) << std::hex << c.message;
            EXPECT_EQ(events[i].button, c.button) << std::hex << c.message;
            EXPECT_EQ(events[i].engineKey, 100) << std::hex << c.message;
        }
        if (!events.empty()) {
            EXPECT_EQ(events.back().message, int(c.message));
            EXPECT_EQ(events.back().lparam, int(c.lparam));
        }
    }
}

TEST_F(WindowEvents, KeyAndCharacterFields) {
    window.handleMessage(host::WM_KEYDOWN, 16, intptr_t(0x002A0001));   // left Shift, scan code 0x2A
    window.handleMessage(host::WM_KEYUP, 0x1B, intptr_t(0xC0010001));   // Escape
    window.handleMessage(host::WM_KEYDOWN, 0xE5, intptr_t(0x00000001)); // a key without an engine key
    window.handleMessage(host::WM_CHAR, 0xE9, 1);
    window.handleMessage(host::WM_MOUSEWHEEL, uintptr_t(uint16_t(-240)) << 16, 0);
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events[0].type, 6);
    EXPECT_EQ(events[0].keyByte, 0x2A);
    EXPECT_EQ(events[0].virtualKey, 16);
    EXPECT_EQ(events[0].engineKey, 6);
    EXPECT_EQ(events[1].type, 7);
    EXPECT_EQ(events[1].keyByte, 0x1B); // key up: the virtual key's low byte
    EXPECT_EQ(events[1].engineKey, 24);
    EXPECT_EQ(events[2].engineKey, 100);
    EXPECT_EQ(events[3].type, 5);
    EXPECT_EQ(events[3].keyByte, 0xE9);
    EXPECT_EQ(events[4].type, 50);
    EXPECT_EQ(events[4].character, 0xE9);
    EXPECT_EQ(events[5].type, 11);
    EXPECT_EQ(events[5].wheel, -240);
}

TEST_F(WindowEvents, ActivationMovesTheCursorCounterAndSkipsTheNextWait) {
    systemCursorHidden = true;
    while (host::showCursor(false) >= 0) {
    }
    window.handleMessage(host::WM_ACTIVATE, host::WA_INACTIVE, 0);
    EXPECT_EQ(events.back().type, 14);
    EXPECT_GE(host::cursorDisplayCount(), 0);
    EXPECT_TRUE(window.isSkipNextWait());
    window.handleMessage(host::WM_ACTIVATE, host::WA_CLICKACTIVE, 0);
    EXPECT_EQ(events.back().type, 13);
    EXPECT_LT(host::cursorDisplayCount(), 0);
    // The frame of the window: the cursor shows over it and hides again on the next move inside (which
    // needs the focus, so here it stays shown).
    window.handleMessage(host::WM_NCMOUSEMOVE, 0, 0);
    EXPECT_TRUE(window.isCursorShownOverFrame());
    EXPECT_GE(host::cursorDisplayCount(), 0);
    while (host::showCursor(true) < 0) {
    }
}

TEST_F(WindowEvents, CloseSetsTheQuitFlagAndAHookCanSkipTheRecords) {
    // WM_CLOSE makes no record, so the callback is not asked and the tail runs.
    EXPECT_EQ(window.handleMessage(host::WM_CLOSE, 0, 0), 1);
    EXPECT_TRUE(window.isQuitRequested());
    EXPECT_TRUE(host::isQuitPosted());
    host::clearQuitPosted();
    window.setQuitRequested(false);

    // A hook that returns false skips the records, but the tail still runs.
    callbackAnswer = true;
    hookAnswer = false;
    window.setMessageHook(hook);
    events.clear();
    window.handleMessage(host::WM_LBUTTONDOWN, 1, 0);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(window.handleMessage(host::WM_DESTROY, 0, 0), 1);
    EXPECT_TRUE(window.isQuitRequested());
    EXPECT_EQ(window.handleMessage(host::WM_SYSCOMMAND, host::SC_SCREENSAVE, 0), 0);
    host::clearQuitPosted();
}

TEST_F(WindowEvents, TouchEmulationRewritesTheLeftButton) {
    window.setTouchEmulation(true);
    window.handleMessage(host::WM_LBUTTONDOWN, 1, 0);
    window.handleMessage(host::WM_RBUTTONDOWN, 2, 0);
    window.handleMessage(host::WM_LBUTTONUP, 0, 0);
    std::vector<int> types;
    for (const WindowEvent& e : events) types.push_back(e.type);
    EXPECT_EQ(types, (std::vector<int>{100, 3, 1, 100}));
    EXPECT_FALSE(isTouchDown());
    window.setTouchEmulation(false);
}

TEST(KWindowD3DAspect, CorrectionTable) {
    struct Case {
        int desktopWidth, desktopHeight;
        bool fullScreen, wanted;
        bool widescreen, corrected;
        float scale;
        int actualWidth, actualHeight, offsetX, offsetY;
        const char* verdict;
    } cases[] = {
        {1920, 1080, true, true, true, true, 1.8f, 1440, 1080, 240, 0, "widescreen"},
        {1280, 1024, true, true, false, true, 1.6f, 1280, 960, 0, 32, "narrow"},
        {1600, 1200, true, true, true, true, 2.0f, 1600, 1200, 0, 0, "widescreen"},
        {2560, 1080, true, true, false, false, 1.0f, 800, 600, 0, 0, "4:3 screen"},
        {1330, 1000, true, true, false, false, 1.0f, 800, 600, 0, 0, "4:3 screen"},
        {1920, 1080, false, true, false, false, 1.0f, 800, 600, 0, 0, "actual game window: 800 x 600"},
        {1920, 1080, true, false, false, false, 1.0f, 800, 600, 0, 0, "actual game window: 800 x 600"},
    };
    for (const Case& c : cases) {
        KLog::clearMemoryBuffer();
        AspectCorrection a = computeAspectCorrection(800, 600, c.desktopWidth, c.desktopHeight, c.fullScreen, c.wanted);
        SCOPED_TRACE(testing::Message() << c.desktopWidth << "x" << c.desktopHeight);
        EXPECT_EQ(a.widescreenCorrected, c.widescreen);
        EXPECT_EQ(a.aspectCorrected, c.corrected);
        EXPECT_FLOAT_EQ(a.scale, c.scale);
        EXPECT_EQ(a.actualWidth, c.actualWidth);
        EXPECT_EQ(a.actualHeight, c.actualHeight);
        EXPECT_EQ(a.offsetX, c.offsetX);
        EXPECT_EQ(a.offsetY, c.offsetY);
        EXPECT_EQ(a.backBufferWidth, c.corrected ? c.desktopWidth : 800);
        EXPECT_NE(ImageFixtures::loggedText().find(c.verdict), std::string::npos) << ImageFixtures::loggedText();
    }
}

TEST(KWindowD3DBackBuffer, PixelFormatsExpandToRgba) {
    const uint16_t r5g6b5[2] = {0xF800, 0x07FF};
    const uint16_t x1r5g5b5[2] = {0x7C00, 0x83FF};
    const uint32_t x8r8g8b8[2] = {0x00123456, 0xFFABCDEF};
    struct Case {
        D3DFORMAT format;
        const void* bits;
        int pitch;
        uint32_t first, second;
    } cases[] = {
        {D3DFMT_R5G6B5, r5g6b5, 4, KImage::pack(0xF8, 0, 0, 255), KImage::pack(0, 0xFC, 0xF8, 255)},
        {D3DFMT_X1R5G5B5, x1r5g5b5, 4, KImage::pack(0xF8, 0, 0, 255), KImage::pack(0, 0xF8, 0xF8, 255)},
        {D3DFMT_A1R5G5B5, x1r5g5b5, 4, KImage::pack(0xF8, 0, 0, 255), KImage::pack(0, 0xF8, 0xF8, 255)},
        {D3DFMT_X8R8G8B8, x8r8g8b8, 8, KImage::pack(0x12, 0x34, 0x56, 255), KImage::pack(0xAB, 0xCD, 0xEF, 255)},
        {D3DFMT_A8R8G8B8, x8r8g8b8, 8, KImage::pack(0x12, 0x34, 0x56, 255), KImage::pack(0xAB, 0xCD, 0xEF, 255)},
    };
    for (const Case& c : cases) {
        uint32_t out[2] = {};
        ASSERT_TRUE(convertBackBufferPixels(c.format, static_cast<const uint8_t*>(c.bits), c.pitch, 0, 0, 2, 1, out));
        EXPECT_EQ(out[0], c.first) << c.format;
        EXPECT_EQ(out[1], c.second) << c.format;
    }
    uint32_t out[1];
    EXPECT_FALSE(
        convertBackBufferPixels(D3DFMT_A4R4G4B4, reinterpret_cast<const uint8_t*>(r5g6b5), 4, 0, 0, 1, 1, out));
}
