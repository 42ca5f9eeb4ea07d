// The WGL stand-in on a real OpenGL context (Mesa, offscreen): the pixel formats it offers, the pbuffers it makes
// and refuses, switching between the window and a pbuffer, and a pbuffer's pixels bound into a texture.
#include "HostGL.h"
#include "HostWGL.h"
#include "HostWindow.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <vector>

namespace gl = host::ogl;

namespace {

class HostWGLGLTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!host::startVideo() || SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
            GTEST_SKIP() << "no video: " << SDL_GetError();
        videoStarted = true;
        window = SDL_CreateWindow("wgl test", 0, 0, 64, 64, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (!window) GTEST_SKIP() << "no OpenGL window: " << SDL_GetError();
        dc = GetDC(window);
        context = wglCreateContext(dc);
        if (!context) GTEST_SKIP() << "no OpenGL context";
        ASSERT_TRUE(wglMakeCurrent(dc, context));
    }
    void TearDown() override {
        if (context) {
            wglMakeCurrent(nullptr, nullptr);
            wglDeleteContext(context);
        }
        if (dc) ReleaseDC(window, dc);
        if (window) SDL_DestroyWindow(window);
        if (videoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    int chooseFormat(bool alpha, bool depth) {
        const int attributes[] = {WGL_SUPPORT_OPENGL_ARB,
                                  1,
                                  WGL_DRAW_TO_PBUFFER_ARB,
                                  1,
                                  WGL_ALPHA_BITS_ARB,
                                  alpha ? 8 : 0,
                                  WGL_DEPTH_BITS_ARB,
                                  depth ? 16 : 0,
                                  0};
        int format = 0;
        unsigned count = 0;
        EXPECT_TRUE(wglChoosePixelFormatARB(dc, attributes, nullptr, 1, &format, &count));
        EXPECT_EQ(count, 1u);
        return format;
    }
    // The colour at window or pbuffer pixel (x, y) counted from the bottom, as 0xAABBGGRR.
    static uint32_t readPixel(int x, int y) {
        uint32_t value = 0;
        gl::readPixels(x, y, 1, 1, gl::RGBA, gl::UNSIGNED_BYTE, &value);
        return value;
    }

    bool videoStarted = false;
    SDL_Window* window = nullptr;
    HDC dc = nullptr;
    HGLRC context = nullptr;
};

} // namespace

TEST_F(HostWGLGLTest, PixelFormatsOnOffer) {
    struct Case {
        const char* name;
        std::vector<int> attributes;
        unsigned count;
    } cases[] = {
        {"pbuffer RGBA with alpha and depth",
         {WGL_SUPPORT_OPENGL_ARB,
          1,
          WGL_DRAW_TO_PBUFFER_ARB,
          1,
          WGL_BIND_TO_TEXTURE_RGBA_ARB,
          1,
          WGL_DOUBLE_BUFFER_ARB,
          0,
          WGL_PIXEL_TYPE_ARB,
          WGL_TYPE_RGBA_ARB,
          WGL_RED_BITS_ARB,
          8,
          WGL_GREEN_BITS_ARB,
          8,
          WGL_BLUE_BITS_ARB,
          8,
          WGL_ALPHA_BITS_ARB,
          8,
          WGL_DEPTH_BITS_ARB,
          16,
          0},
         1},
        {"no attributes", {0}, 1},
        {"double-buffered", {WGL_DOUBLE_BUFFER_ARB, 1, 0}, 0},
        {"ten-bit red", {WGL_RED_BITS_ARB, 10, 0}, 0},
        {"32-bit depth", {WGL_DEPTH_BITS_ARB, 32, 0}, 0},
        {"colour-index pixels", {WGL_PIXEL_TYPE_ARB, 0x202C, 0}, 0},
        {"an attribute nobody offers", {0x2042, 1, 0}, 0},
    };
    for (const Case& c : cases) {
        int format = -1;
        unsigned count = 99;
        EXPECT_TRUE(wglChoosePixelFormatARB(dc, c.attributes.data(), nullptr, 1, &format, &count)) << c.name;
        EXPECT_EQ(count, c.count) << c.name;
    }
    EXPECT_NE(chooseFormat(true, false), chooseFormat(false, false));
    EXPECT_NE(chooseFormat(true, true), chooseFormat(true, false));
    unsigned count = 0;
    EXPECT_FALSE(wglChoosePixelFormatARB(nullptr, nullptr, nullptr, 1, nullptr, &count));
    wglSimulateFault(WGLFault::NoPixelFormat);
    const int none[] = {0};
    int format = 0;
    EXPECT_TRUE(wglChoosePixelFormatARB(dc, none, nullptr, 1, &format, &count));
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(wglChoosePixelFormatARB(dc, none, nullptr, 1, &format, &count)); // the fault was one-shot
    EXPECT_EQ(count, 1u);
}

TEST_F(HostWGLGLTest, PbuffersMadeAndRefused) {
    int format = chooseFormat(true, true);
    const int good[] = {WGL_TEXTURE_FORMAT_ARB,
                        WGL_TEXTURE_RGBA_ARB,
                        WGL_TEXTURE_TARGET_ARB,
                        WGL_TEXTURE_2D_ARB,
                        WGL_MIPMAP_TEXTURE_ARB,
                        0,
                        0};
    const int mipmapped[] = {WGL_MIPMAP_TEXTURE_ARB, 1, 0};
    const int cubeTarget[] = {WGL_TEXTURE_TARGET_ARB, 0x2078, 0};
    struct Case {
        const char* name;
        int format, width, height;
        const int* attributes;
        bool made;
    } cases[] = {
        {"a 2-D RGBA pbuffer", format, 64, 32, good, true},
        {"no attributes", format, 16, 16, nullptr, true},
        {"mipmapped", format, 16, 16, mipmapped, false},
        {"cube-map target", format, 16, 16, cubeTarget, false},
        {"unknown format", 9, 16, 16, good, false},
        {"no size", format, 0, 16, good, false},
        {"larger than any renderbuffer", format, 1 << 20, 16, good, false},
    };
    for (const Case& c : cases) {
        HPBUFFERARB pbuffer = wglCreatePbufferARB(dc, c.format, c.width, c.height, c.attributes);
        EXPECT_EQ(pbuffer != nullptr, c.made) << c.name;
        if (!pbuffer) continue;
        int width = 0, height = 0, lost = 1;
        EXPECT_TRUE(wglQueryPbufferARB(pbuffer, WGL_PBUFFER_WIDTH_ARB, &width));
        EXPECT_TRUE(wglQueryPbufferARB(pbuffer, WGL_PBUFFER_HEIGHT_ARB, &height));
        EXPECT_TRUE(wglQueryPbufferARB(pbuffer, WGL_PBUFFER_LOST_ARB, &lost));
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
        EXPECT_EQ(lost, 0);
        wglSimulatePbufferLost(pbuffer);
        EXPECT_TRUE(wglQueryPbufferARB(pbuffer, WGL_PBUFFER_LOST_ARB, &lost));
        EXPECT_EQ(lost, 1);
        EXPECT_TRUE(wglDestroyPbufferARB(pbuffer));
    }
    wglSimulateFault(WGLFault::PbufferFails);
    EXPECT_EQ(wglCreatePbufferARB(dc, format, 16, 16, good), nullptr);
    // With no context current nothing can be made.
    wglMakeCurrent(nullptr, nullptr);
    EXPECT_EQ(wglCreatePbufferARB(dc, format, 16, 16, good), nullptr);
}

TEST_F(HostWGLGLTest, DrawingIntoAPbufferAndBindingItToATexture) {
    int format = chooseFormat(true, false);
    const int attributes[] = {WGL_TEXTURE_FORMAT_ARB, WGL_TEXTURE_RGBA_ARB, WGL_TEXTURE_TARGET_ARB, WGL_TEXTURE_2D_ARB,
                              0};
    HPBUFFERARB pbuffer = wglCreatePbufferARB(dc, format, 16, 8, attributes);
    ASSERT_NE(pbuffer, nullptr);
    HDC pbufferDC = wglGetPbufferDCARB(pbuffer);
    HGLRC pbufferContext = wglCreateContext(pbufferDC);
    ASSERT_NE(pbufferContext, nullptr);
    EXPECT_TRUE(wglShareLists(context, pbufferContext));
    EXPECT_FALSE(wglMakeCurrent(dc, pbufferContext)); // a pbuffer context draws only into its pbuffer
    EXPECT_FALSE(wglMakeCurrent(pbufferDC, context));

    // The window is cleared to blue, the pbuffer to red: each context draws into its own drawable.
    gl::clearColor(0, 0, 1, 1);
    gl::clear(gl::COLOR_BUFFER_BIT);
    ASSERT_TRUE(wglMakeCurrent(pbufferDC, pbufferContext));
    EXPECT_EQ(wglGetCurrentContext(), pbufferContext);
    EXPECT_EQ(wglGetCurrentDC(), pbufferDC);
    gl::clearColor(1, 0, 0, 1);
    gl::clear(gl::COLOR_BUFFER_BIT);
    EXPECT_EQ(readPixel(3, 3), 0xFF0000FFu);
    EXPECT_FALSE(wglBindTexImageARB(pbuffer, WGL_FRONT_LEFT_ARB)); // not while it is being drawn into
    ASSERT_TRUE(wglMakeCurrent(dc, context));
    EXPECT_EQ(readPixel(3, 3), 0xFFFF0000u);

    unsigned texture = 0;
    gl::genTextures(1, &texture);
    gl::bindTexture(gl::TEXTURE_2D, texture);
    gl::texImage2D(gl::TEXTURE_2D, 0, gl::RGBA8, 16, 8, gl::RGBA, gl::UNSIGNED_BYTE, nullptr);
    EXPECT_FALSE(wglBindTexImageARB(pbuffer, 0x2084)); // only the front-left buffer
    ASSERT_TRUE(wglBindTexImageARB(pbuffer, WGL_FRONT_LEFT_ARB));
    std::vector<uint32_t> texels(16 * 8);
    gl::pixelStorei(gl::PACK_ALIGNMENT, 1);
    gl::getTexImage(gl::TEXTURE_2D, 0, gl::RGBA, gl::UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels[0], 0xFF0000FFu);
    EXPECT_EQ(texels[16 * 8 - 1], 0xFF0000FFu);
    EXPECT_TRUE(wglReleaseTexImageARB(pbuffer, WGL_FRONT_LEFT_ARB));
    gl::deleteTextures(1, &texture);

    // Destroying the pbuffer that is being drawn into leaves drawing in the window.
    ASSERT_TRUE(wglMakeCurrent(pbufferDC, pbufferContext));
    EXPECT_EQ(wglReleasePbufferDCARB(pbuffer, pbufferDC), 1);
    EXPECT_TRUE(wglDestroyPbufferARB(pbuffer));
    EXPECT_EQ(wglGetCurrentDC(), nullptr);
    EXPECT_EQ(readPixel(3, 3), 0xFFFF0000u);
    EXPECT_TRUE(wglDeleteContext(pbufferContext));
    EXPECT_EQ(wglGetCurrentContext(), nullptr); // it was still the current context
}
