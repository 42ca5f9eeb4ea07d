// The cursor clip on a real (hidden, offscreen) SDL window: a rectangle of back-buffer pixels, right and bottom
// inclusive, becomes the window area the pointer is held in, so that the last column and row stay reachable.
#include "HostInput.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

TEST(HostInputWindow, CursorClipKeepsTheLastPixelReachable) {
    host::WindowHandle window = host::createWindow("clip test", 800, 600, /*popup=*/false, nullptr);
    ASSERT_NE(window, nullptr);
    struct Case {
        int backBufferWidth, backBufferHeight;
        host::PixelRect clip; // x, y, then the last pixel as offsets from them
        SDL_Rect expected;    // window pixels
    } cases[] = {
        {800, 600, {0, 0, 799, 599}, {0, 0, 800, 600}},
        {400, 300, {0, 0, 399, 299}, {0, 0, 800, 600}},   // shown twice as large
        {400, 300, {10, 20, 99, 49}, {20, 40, 200, 100}}, // pixels 10..109 and 20..69
        {800, 600, {240, 0, 319, 599}, {240, 0, 320, 600}},
    };
    for (const Case& c : cases) {
        host::setBackBufferSize(window, c.backBufferWidth, c.backBufferHeight);
        host::clipCursor(window, &c.clip);
        const SDL_Rect* rect = SDL_GetWindowMouseRect(host::sdlWindow(window));
        ASSERT_NE(rect, nullptr);
        EXPECT_EQ(rect->x, c.expected.x) << c.clip.x << "," << c.clip.y;
        EXPECT_EQ(rect->y, c.expected.y) << c.clip.x << "," << c.clip.y;
        EXPECT_EQ(rect->w, c.expected.w) << c.clip.x << "," << c.clip.y;
        EXPECT_EQ(rect->h, c.expected.h) << c.clip.x << "," << c.clip.y;
    }
    host::clipCursor(window, nullptr);
    EXPECT_EQ(SDL_GetWindowMouseRect(host::sdlWindow(window)), nullptr);
    host::destroyWindow(window);
}
