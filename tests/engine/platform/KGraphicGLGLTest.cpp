// The OpenGL picture back end on a real OpenGL context (Mesa, offscreen), checked through what OpenGL holds and
// what lands in the window: texture sizes, targets, formats and mip levels; half-size loading; texel-exact blits
// with flips, rotation and zoom; blending; points, lines and rectangles; render targets through the pbuffer
// stand-in, nested; the transformed and masked blits; read-back, saving and grabbing; and freeing and reloading.
#include "KGraphicGL.h"

#include "GLTestWindow.h"
#include "HostGL.h"
#include "ImageFixtures.h"
#include "KBatchGL.h"
#include "KGraphicGLState.h"
#include "KLog.h"
#include "KPixelShaderGL.h"
#include "TempFolder.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace gl = host::ogl;

namespace {

// The colour of texel (x, y) of the 8 x 8 test picture: every texel differs from its neighbours.
uint32_t testTexel(int x, int y) {
    return KImage::pack(uint32_t(x * 32 + 15), uint32_t(y * 32 + 15), 90, 255);
}

uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) {
    return KImage::pack(r, g, b, 255);
}

bool near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        if (d > tolerance || d < -tolerance) return false;
    }
    return true;
}

std::string hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

std::string logText() {
    return std::string(KLog::memoryBuffer(), KLog::memoryBufferUsed());
}

std::vector<unsigned char> encoded(const KImage& image, ImageFormat format) {
    unsigned char* bytes = nullptr;
    size_t size = 0;
    EXPECT_TRUE(KImage::encode(format, bytes, size, image));
    std::vector<unsigned char> out(bytes, bytes + size);
    delete[] bytes;
    return out;
}

class KGraphicGLGLTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<GLTestWindow>();
        if (!window->ok()) GTEST_SKIP() << "no OpenGL context";
        window->clear(0, 0, 0);
    }
    void TearDown() override {
        // No call of the back end may have been refused by OpenGL.
        if (window && window->ok()) {
            EXPECT_EQ(gl::getError(), 0u);
        }
        picture.reset();
        window.reset();
    }
    std::vector<uint32_t> testPixels() const {
        std::vector<uint32_t> pixels(64);
        for (int y = 0; y < 8; y++)
            for (int x = 0; x < 8; x++) pixels[size_t(y) * 8 + size_t(x)] = testTexel(x, y);
        return pixels;
    }
    void makeTestPicture() {
        picture = std::make_unique<KGraphicGL>();
        std::vector<uint32_t> pixels = testPixels();
        ASSERT_TRUE(picture->makePictureFromPixels(pixels.data(), 8, 8, true, true));
    }
    std::unique_ptr<KGraphicGL> solid(int w, int h, uint32_t pixel, bool alpha = true) {
        auto made = std::make_unique<KGraphicGL>();
        std::vector<uint32_t> pixels(size_t(w) * size_t(h), pixel);
        EXPECT_TRUE(made->makePictureFromPixels(pixels.data(), w, h, true, alpha));
        return made;
    }
    // Level sizes and format of a picture's texture as OpenGL holds them.
    static int levelWidth(const KGraphicGL& g, int slot, int level) {
        gl::bindTexture(g.getTextureTarget(slot), g.getTextureName(slot));
        return gl::getTexLevelParameteri(g.getTextureTarget(slot), level, gl::TEXTURE_WIDTH);
    }
    static int levelHeight(const KGraphicGL& g, int slot, int level) {
        gl::bindTexture(g.getTextureTarget(slot), g.getTextureName(slot));
        return gl::getTexLevelParameteri(g.getTextureTarget(slot), level, gl::TEXTURE_HEIGHT);
    }

    std::unique_ptr<GLTestWindow> window;
    std::unique_ptr<KGraphicGL> picture;
};

} // namespace

TEST_F(KGraphicGLGLTest, TextureSizesTargetsAndFormats) {
    struct Case {
        const char* name;
        int width, height;
        bool rectangles, mipmapping, trueColor, alpha;
        int textureWidth, textureHeight;
        unsigned target;
        float coordWidth, coordHeight;
        int internalFormat;
    } cases[] = {
        {"rectangle textures", 100, 30, true, false, true, true, 128, 32, gl::TEXTURE_RECTANGLE, 1, 1, gl::RGBA8},
        {"power-of-two squares", 100, 30, false, false, true, true, 128, 128, gl::TEXTURE_2D, 128, 128, gl::RGBA8},
        {"mipmapping keeps squares", 100, 30, true, true, true, true, 128, 128, gl::TEXTURE_2D, 128, 128, gl::RGBA8},
        {"square with rectangles on", 50, 60, true, false, true, true, 64, 64, gl::TEXTURE_2D, 64, 64, gl::RGBA8},
        {"no minimum unspliced", 3, 5, false, false, true, true, 8, 8, gl::TEXTURE_2D, 8, 8, gl::RGBA8},
        {"16-bit with alpha", 16, 16, false, false, false, true, 16, 16, gl::TEXTURE_2D, 16, 16, gl::RGBA},
        {"true colour opaque", 16, 16, false, false, true, false, 16, 16, gl::TEXTURE_2D, 16, 16, gl::RGB8},
        {"16-bit opaque", 16, 16, false, false, false, false, 16, 16, gl::TEXTURE_2D, 16, 16, gl::RGB},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window->rectangles = c.rectangles;
        KGraphicGL g;
        g.setMipmapping(c.mipmapping);
        std::vector<uint32_t> pixels(size_t(c.width) * size_t(c.height), rgb(10, 20, 30));
        ASSERT_TRUE(g.makePictureFromPixels(pixels.data(), c.width, c.height, c.trueColor, c.alpha));
        ASSERT_EQ(g.getTextureCount(), 1);
        EXPECT_EQ(g.getTextureTarget(0), c.target);
        EXPECT_EQ(g.getTextureInternalFormat(0), c.internalFormat);
        EXPECT_EQ(levelWidth(g, 0, 0), c.textureWidth);
        EXPECT_EQ(levelHeight(g, 0, 0), c.textureHeight);
        EXPECT_EQ(g.getTextureWidth(), c.textureWidth);
        EXPECT_EQ(g.getTextureCoordWidth(), c.coordWidth);
        EXPECT_EQ(g.getTextureCoordHeight(), c.coordHeight);
        EXPECT_EQ(g.getWidth(), c.width);
        EXPECT_EQ(g.getHeight(), c.height);
    }
}

TEST_F(KGraphicGLGLTest, MipmapLevelsHalveDownToOne) {
    KImage source;
    ASSERT_TRUE(source.allocate(256, 256, true));
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 256; x++)
            source.getPixels()[size_t(y) * 256 + size_t(x)] = KImage::pack(uint32_t(x), uint32_t(y), 77, 255);
    KGraphicGL g;
    g.setMipmapping(true);
    ASSERT_TRUE(g.makePictureFromPixels(source.getPixels(), 256, 256, true, true));
    for (int level = 0; level <= 8; level++) {
        EXPECT_EQ(levelWidth(g, 0, level), 256 >> level) << "level " << level;
        EXPECT_EQ(levelHeight(g, 0, level), 256 >> level) << "level " << level;
    }
    EXPECT_EQ(gl::getTexParameteri(gl::TEXTURE_2D, gl::TEXTURE_MAX_LEVEL), 8);

    // Each level holds the picture halved once more.
    KImage expected;
    ASSERT_TRUE(expected.copyFrom(source));
    for (int level = 1; level <= 3; level++) {
        expected.halve(expected.getWidth() / 2, expected.getHeight() / 2);
        int side = 256 >> level;
        std::vector<uint32_t> texels(size_t(side) * size_t(side));
        gl::bindTexture(gl::TEXTURE_2D, g.getTextureName(0));
        gl::pixelStorei(gl::PACK_ALIGNMENT, 1);
        gl::getTexImage(gl::TEXTURE_2D, level, gl::RGBA, gl::UNSIGNED_BYTE, texels.data());
        for (int i : {0, side + 3, side * side - 1})
            EXPECT_EQ(hex(texels[size_t(i)]), hex(expected.getPixels()[size_t(i)])) << "level " << level;
    }
}

TEST_F(KGraphicGLGLTest, HalfSizeLoadingStoresHalfAndReportsFull) {
    KImage image;
    ASSERT_TRUE(image.allocate(200, 100, true));
    for (size_t i = 0; i < size_t(200 * 100); i++) image.getPixels()[i] = rgb(200, 10, 10);
    std::vector<unsigned char> png = encoded(image, K_IMAGE_PNG);
    window->rectangles = true;
    KGraphicGL g;
    g.setHalfSizeLoading(true);
    ASSERT_TRUE(g.loadPictureFromMemory("half.png", png.data(), png.size(), true, true));
    EXPECT_EQ(g.getPictureScale(), 0.5f);
    EXPECT_EQ(g.getWidth(), 200);
    EXPECT_EQ(g.getHeight(), 100);
    EXPECT_EQ(levelWidth(g, 0, 0), 128); // from 100 x 50
    EXPECT_EQ(levelHeight(g, 0, 0), 64);

    // The whole picture, named by its full-size rectangle, fills the full size on screen.
    g.blitRect(0, 0, 200, 100, 10, 10);
    EXPECT_EQ(hex(window->pixel(10, 10)), hex(rgb(200, 10, 10)));
    EXPECT_EQ(hex(window->pixel(209, 109)), hex(rgb(200, 10, 10)));
    EXPECT_EQ(hex(window->pixel(210, 110)), hex(rgb(0, 0, 0)));
}

TEST_F(KGraphicGLGLTest, HighResolutionVariantOnlyAtScaleTwo) {
    TempFolder folder;
    KImage small, large;
    ASSERT_TRUE(small.allocate(4, 4, true));
    ASSERT_TRUE(large.allocate(8, 8, true));
    std::vector<unsigned char> smallPng = encoded(small, K_IMAGE_PNG), largePng = encoded(large, K_IMAGE_PNG);
    std::string path = folder.write("pic.png", std::string(smallPng.begin(), smallPng.end()));
    folder.write("ipad3res_pic.png", std::string(largePng.begin(), largePng.end()));
    for (float scale : {1.0f, 2.0f}) {
        window->resolutionScale = scale;
        KGraphicGL g;
        ASSERT_TRUE(g.loadPicture(path.c_str(), true, true));
        EXPECT_EQ(g.getPictureScale(), scale);
        EXPECT_EQ(g.getWidth(), 4) << "scale " << scale;
        EXPECT_EQ(g.getTextureWidth(), 4 * scale);
    }
}

// Each case clears, draws, and checks the 8 x 8 test picture's texels where they must land; every case runs on
// 2-D textures and again on rectangle textures.
TEST_F(KGraphicGLGLTest, BlitsLandTexelExact) {
    struct Case {
        const char* name;
        std::function<void(KGraphicGL&)> draw;
        std::function<void(int tx, int ty, int& x, int& y)> place;
        int sx1, sy1, sx2, sy2;
    } cases[] = {
        {"opaque blit", [](KGraphicGL& g) { g.blitRect(0, 0, 8, 8, 100, 100); },
         [](int tx, int ty, int& x, int& y) { x = 100 + tx, y = 100 + ty; }, 0, 0, 8, 8},
        {"float destination", [](KGraphicGL& g) { g.blitAlphaRectF(0, 0, 8, 8, 37, 111); },
         [](int tx, int ty, int& x, int& y) { x = 37 + tx, y = 111 + ty; }, 0, 0, 8, 8},
        {"flip x", [](KGraphicGL& g) { g.blitRect(0, 0, 8, 8, 100, 100, true, false); },
         [](int tx, int ty, int& x, int& y) { x = 107 - tx, y = 100 + ty; }, 0, 0, 8, 8},
        {"flip y", [](KGraphicGL& g) { g.blitAlphaRect(0, 0, 8, 8, 100, 100, false, true); },
         [](int tx, int ty, int& x, int& y) { x = 100 + tx, y = 107 - ty; }, 0, 0, 8, 8},
        {"rotated 90 counter-clockwise about the centre",
         [](KGraphicGL& g) { g.blitAlphaRectFx(0, 0, 8, 8, 100, 100, 90, 1, 1); },
         [](int tx, int ty, int& x, int& y) { x = 100 + ty, y = 107 - tx; }, 0, 0, 8, 8},
        {"rotated 180 opaque", [](KGraphicGL& g) { g.blitRectFx(0, 0, 8, 8, 100, 100, 180, 1); },
         [](int tx, int ty, int& x, int& y) { x = 107 - tx, y = 107 - ty; }, 0, 0, 8, 8},
        {"zoom 2 about the centre", [](KGraphicGL& g) { g.blitAlphaRectFxF(0, 0, 8, 8, 100, 100, 0, 2, 1); },
         [](int tx, int ty, int& x, int& y) { x = 96 + 2 * tx + 1, y = 96 + 2 * ty; }, 0, 0, 8, 8},
        {"zoom 2 x, 3 y", [](KGraphicGL& g) { g.blitAlphaRectFxXY(0, 0, 8, 8, 100, 100, 0, 2, 3, 1); },
         [](int tx, int ty, int& x, int& y) { x = 96 + 2 * tx, y = 92 + 3 * ty + 2; }, 0, 0, 8, 8},
        {"source sub-rectangle", [](KGraphicGL& g) { g.blitRect(2, 3, 6, 7, 100, 100); },
         [](int tx, int ty, int& x, int& y) { x = 98 + tx, y = 97 + ty; }, 2, 3, 6, 7},
        {"clipped by the left and top edges", [](KGraphicGL& g) { g.blitRect(0, 0, 8, 8, -3, -5); },
         [](int tx, int ty, int& x, int& y) { x = tx - 3, y = ty - 5; }, 3, 5, 8, 8},
        {"stretched to twice the size", [](KGraphicGL& g) { g.stretchAlphaRect(0, 0, 8, 8, 50, 60, 66, 76); },
         [](int tx, int ty, int& x, int& y) { x = 50 + 2 * tx, y = 60 + 2 * ty + 1; }, 0, 0, 8, 8},
        {"arbitrary quad as a plain rectangle",
         [](KGraphicGL& g) { g.blitArbitraryQuad(0, 0, 8, 0, 8, 8, 0, 8, 20, 30, 28, 30, 28, 38, 20, 38); },
         [](int tx, int ty, int& x, int& y) { x = 20 + tx, y = 30 + ty; }, 0, 0, 8, 8},
        {"affine translation", [](KGraphicGL& g) { g.blitAlphaRectAffine(0, 0, 8, 8, 1, 0, 40, 0, 1, 50, 1); },
         [](int tx, int ty, int& x, int& y) { x = 40 + tx, y = 50 + ty; }, 0, 0, 8, 8},
        {"transformed with white corners",
         [](KGraphicGL& g) {
             KGraphicColor white;
             g.blitTransformedEx(0, 0, 8, 8, 0, -1, 60, 1, 0, 70, 1, &white, &white, &white, &white);
         },
         // x' = -y + 60, y' = x + 70: a quarter turn clockwise on the screen
         [](int tx, int ty, int& x, int& y) { x = 59 - ty, y = 70 + tx; }, 0, 0, 8, 8},
        {"transformed onto four points",
         [](KGraphicGL& g) { g.drawTransformedEx(0, 0, 8, 8, 1, 0, 5, 0, 1, 6, 0, 0, 8, 0, 8, 8, 0, 8, 1, 1, 1, 1); },
         [](int tx, int ty, int& x, int& y) { x = 5 + tx, y = 6 + ty; }, 0, 0, 8, 8},
    };
    for (bool rectangles : {false, true}) {
        window->rectangles = rectangles;
        makeTestPicture();
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (rectangles ? " (rectangle texture)" : " (2-D texture)"));
            window->clear(0, 0, 0);
            c.draw(*picture);
            std::vector<uint32_t> frame = window->frame();
            for (int ty = c.sy1; ty < c.sy2; ty++)
                for (int tx = c.sx1; tx < c.sx2; tx++) {
                    int x, y;
                    c.place(tx, ty, x, y);
                    ASSERT_EQ(hex(frame[size_t(y) * 256 + size_t(x)]), hex(testTexel(tx, ty)))
                        << "pixel " << x << "," << y << " texel " << tx << "," << ty;
                }
        }
    }
}

TEST_F(KGraphicGLGLTest, NothingDrawnForZeroZoomOrAlpha) {
    makeTestPicture();
    auto fill = std::make_unique<KGraphicGL>();
    std::function<void()> draws[] = {
        [&] { picture->blitAlphaRectFx(0, 0, 8, 8, 10, 10, 0, 0, 1); },
        [&] { picture->blitAlphaRectFx(0, 0, 8, 8, 10, 10, 0, 1, 0); },
        [&] { picture->blitRectFx(0, 0, 8, 8, 10, 10, 0, -1); },
        [&] { picture->blitAlphaRectFxXY(0, 0, 8, 8, 10, 10, 0, 1, 0, 1); },
        [&] { picture->blitAlphaRectAffine(0, 0, 8, 8, 1, 0, 10, 0, 1, 10, 0); },
        [&] { fill->fillRect(0, 0, 100, 100, 1, 1, 1, 0); },
        [&] { fill->drawLine(0, 5, 100, 5, 1, 1, 1, 0); },
        [&] { fill->plotPixel(10, 10, 1, 1, 1, -1); },
        [&] { fill->fillQuad(0, 0, 50, 0, 50, 50, 0, 50, 1, 1, 1, 0); },
    };
    for (size_t i = 0; i < std::size(draws); i++) {
        window->clear(0, 0, 0);
        draws[i]();
        std::vector<uint32_t> frame = window->frame();
        EXPECT_EQ(std::count(frame.begin(), frame.end(), rgb(0, 0, 0)), long(frame.size())) << "draw " << i;
    }
}

TEST_F(KGraphicGLGLTest, BlendModesOverABackground) {
    struct Case {
        const char* name;
        std::function<void(KGraphicGL&)> set;
        float alpha;
        uint32_t expected; // source (200, 100, 40) at the alpha over (40, 80, 120)
    } cases[] = {
        {"normal", [](KGraphicGL& g) { g.setBlendMode(K_BLEND_NORMAL); }, 0.5f, rgb(120, 90, 80)},
        {"additive", [](KGraphicGL& g) { g.setBlendMode(K_BLEND_ADDITIVE); }, 0.5f, rgb(140, 130, 140)},
        {"premultiplied", [](KGraphicGL& g) { g.setBlendMode(K_BLEND_PREMULTIPLIED); }, 0.5f, rgb(220, 140, 100)},
        {"erase", [](KGraphicGL& g) { g.setBlendMode(K_BLEND_ERASE); }, 0.5f, rgb(20, 40, 60)},
        {"multiply", [](KGraphicGL& g) { g.setBlendMode(K_BLEND_MULTIPLY); }, 1.0f, rgb(31, 31, 19)},
        {"factors one, zero", [](KGraphicGL& g) { g.setBlendFactors(K_FACTOR_ONE, K_FACTOR_ZERO); }, 0.5f,
         rgb(200, 100, 40)},
        {"unknown preset keeps the factors",
         [](KGraphicGL& g) {
             g.setBlendMode(K_BLEND_ADDITIVE);
             g.setBlendMode(6);
         },
         0.5f, rgb(140, 130, 140)},
    };
    auto source = solid(8, 8, rgb(200, 100, 40));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window->clear(40 / 255.0f, 80 / 255.0f, 120 / 255.0f);
        source->setBlendMode(K_BLEND_NORMAL);
        c.set(*source);
        source->blitAlphaRectFx(0, 0, 8, 8, 20, 20, 0, 1, c.alpha);
        EXPECT_TRUE(near(window->pixel(24, 24), c.expected, 2))
            << hex(window->pixel(24, 24)) << " expected " << hex(c.expected);
        // The same fill through an untextured operation blends with the same factors.
        window->clear(40 / 255.0f, 80 / 255.0f, 120 / 255.0f);
        source->fillRect(20, 20, 28, 28, 200 / 255.0f, 100 / 255.0f, 40 / 255.0f, c.alpha);
        EXPECT_TRUE(near(window->pixel(24, 24), c.expected, 2))
            << "fill " << hex(window->pixel(24, 24)) << " expected " << hex(c.expected);
    }
    // Operations without Alpha in their name draw unblended; the blit colour tints.
    window->clear(40 / 255.0f, 80 / 255.0f, 120 / 255.0f);
    source->setBlendMode(K_BLEND_NORMAL);
    source->setBlitColor(0.5f, 1, 1, 0.5f);
    source->blitRect(0, 0, 8, 8, 20, 20);
    EXPECT_TRUE(near(window->pixel(24, 24), rgb(100, 100, 40), 1)) << hex(window->pixel(24, 24));
}

TEST_F(KGraphicGLGLTest, PointsLinesAndRectanglesCoverTheirPixels) {
    KGraphicGL g;
    g.fillRect(10, 20, 14, 23, 1, 0, 0, 1);
    g.drawLine(30, 40, 35, 40, 0, 1, 0, 1);
    g.plotPixel(50, 60, 0, 0, 1, 1);
    g.fillQuad(70, 70, 74, 70, 74, 72, 70, 72, 1, 1, 0, 1);
    g.fillGradientQuad(100, 100, 102, 100, 102, 102, 100, 102, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1);
    std::vector<uint32_t> frame = window->frame();
    auto at = [&](int x, int y) { return frame[size_t(y) * 256 + size_t(x)]; };
    int red = 0, green = 0, blue = 0, yellow = 0;
    for (int y = 0; y < 192; y++)
        for (int x = 0; x < 256; x++) {
            red += at(x, y) == rgb(255, 0, 0);
            green += at(x, y) == rgb(0, 255, 0);
            blue += at(x, y) == rgb(0, 0, 255);
            yellow += at(x, y) == rgb(255, 255, 0);
        }
    EXPECT_EQ(red, 4 * 3 + 2 * 2);
    EXPECT_EQ(hex(at(10, 20)), hex(rgb(255, 0, 0)));
    EXPECT_EQ(hex(at(13, 22)), hex(rgb(255, 0, 0)));
    EXPECT_EQ(hex(at(100, 100)), hex(rgb(255, 0, 0)));
    EXPECT_EQ(green, 5);
    for (int x = 30; x < 35; x++) EXPECT_EQ(hex(at(x, 40)), hex(rgb(0, 255, 0))) << x;
    EXPECT_EQ(blue, 1);
    EXPECT_EQ(hex(at(50, 60)), hex(rgb(0, 0, 255)));
    EXPECT_EQ(yellow, 4 * 2);
    EXPECT_EQ(hex(at(70, 70)), hex(rgb(255, 255, 0)));
}

TEST_F(KGraphicGLGLTest, RenderTargetDrawnIntoAndThenDrawn) {
    for (bool rectangles : {false, true}) {
        SCOPED_TRACE(rectangles ? "rectangle texture" : "2-D texture");
        window->rectangles = rectangles;
        window->clear(0, 0, 0);
        KGraphicGL target;
        ASSERT_TRUE(target.makeRenderTarget(100, 60, true, true, false));
        EXPECT_TRUE(target.isRenderTarget());
        EXPECT_EQ(target.getWidth(), 100);
        EXPECT_EQ(target.getTextureWidth(), 128);
        EXPECT_EQ(target.getTextureHeight(), rectangles ? 64 : 128);
        EXPECT_EQ(target.getTextureCoordWidth(), rectangles ? 1 : 128);
        makeTestPicture();
        target.beginRenderToTarget();
        EXPECT_EQ(graphicGL().targetCount, 1);
        picture->blitRect(0, 0, 8, 8, 5, 7);
        target.fillRect(90, 50, 100, 60, 0, 0, 1, 1);
        target.endRenderToTarget();
        EXPECT_EQ(graphicGL().targetCount, 0);
        EXPECT_EQ(wglGetCurrentContext(), window->getGLRenderingContext());

        target.blitRect(0, 0, 100, 60, 20, 30);
        std::vector<uint32_t> frame = window->frame();
        for (int ty = 0; ty < 8; ty++)
            for (int tx = 0; tx < 8; tx++)
                ASSERT_EQ(hex(frame[size_t(30 + 7 + ty) * 256 + size_t(20 + 5 + tx)]), hex(testTexel(tx, ty)))
                    << tx << "," << ty;
        EXPECT_EQ(hex(frame[size_t(30 + 59) * 256 + size_t(20 + 99)]), hex(rgb(0, 0, 255)));
        EXPECT_EQ(hex(frame[size_t(30) * 256 + size_t(20)]), hex(rgb(0, 0, 0))); // cleared on begin
        EXPECT_EQ(hex(frame[size_t(30 + 60) * 256 + size_t(20 + 100)]), hex(rgb(0, 0, 0)));
    }
}

// A picture that becomes a render target lets go of the pixels it was made from: a reload afterwards leaves
// the target and what was drawn into it as they are.
TEST_F(KGraphicGLGLTest, ATargetMadeFromAPictureKeepsNoneOfItsPixels) {
    std::vector<uint32_t> red(16 * 16, rgb(255, 0, 0));
    KGraphicGL target;
    ASSERT_TRUE(target.makePictureFromPixels(red.data(), 16, 16, true, true));
    ASSERT_TRUE(target.makeRenderTarget(64, 64, true, true, false));
    const unsigned name = target.getTextureName(0);
    target.beginRenderToTarget();
    target.fillRect(0, 0, 64, 64, 0, 0, 1, 1);
    target.endRenderToTarget();

    target.reloadPicture();
    EXPECT_TRUE(target.isRenderTarget());
    EXPECT_EQ(target.getTextureName(0), name);
    EXPECT_EQ(target.getWidth(), 64);
    window->clear(0, 0, 0);
    target.blitRect(0, 0, 64, 64, 0, 0);
    EXPECT_EQ(hex(window->pixel(8, 8)), hex(rgb(0, 0, 255)));
}

TEST_F(KGraphicGLGLTest, NestedTargetsReturnToTheFirstWithoutClearingIt) {
    KGraphicGL first, second;
    ASSERT_TRUE(first.makeRenderTarget(64, 64, true, false, false));
    ASSERT_TRUE(second.makeRenderTarget(64, 64, true, false, true));
    first.beginRenderToTarget();
    first.fillRect(0, 0, 8, 8, 1, 0, 0, 1);
    second.beginRenderToTarget();
    EXPECT_EQ(graphicGL().targetCount, 2);
    second.fillRect(0, 0, 64, 64, 0, 1, 0, 1);
    second.endRenderToTarget();
    ASSERT_EQ(graphicGL().targetCount, 1);
    EXPECT_EQ(graphicGL().targetStack[0], &first);
    first.fillRect(8, 0, 16, 8, 0, 0, 1, 1);
    first.endRenderToTarget();

    window->clear(0, 0, 0);
    first.blitRect(0, 0, 64, 64, 0, 0);
    second.blitRect(0, 0, 64, 64, 100, 0);
    EXPECT_EQ(hex(window->pixel(2, 2)), hex(rgb(255, 0, 0)));    // not cleared again
    EXPECT_EQ(hex(window->pixel(10, 2)), hex(rgb(0, 0, 255)));   // drawn after the inner target ended
    EXPECT_EQ(hex(window->pixel(30, 30)), hex(rgb(0, 0, 0)));    // cleared when first begun
    EXPECT_EQ(hex(window->pixel(130, 30)), hex(rgb(0, 255, 0))); // the inner target
}

TEST_F(KGraphicGLGLTest, RenderTargetFailuresAndLoss) {
    KGraphicGL target;
    window->pbuffers = false;
    EXPECT_FALSE(target.makeRenderTarget(32, 32, true, true, false));
    window->pbuffers = true;

    struct Case {
        WGLFault fault;
        const char* logLine;
    } cases[] = {{WGLFault::NoPixelFormat, "OpenGL: wglChoosePixelFormatARB ERROR"},
                 {WGLFault::PbufferFails, "OpenGL: wglCreatePbufferARB ERROR"}};
    for (const Case& c : cases) {
        KLog::clearMemoryBuffer();
        wglSimulateFault(c.fault);
        EXPECT_FALSE(target.makeRenderTarget(32, 32, true, true, false));
        EXPECT_NE(logText().find(c.logLine), std::string::npos) << logText();
        EXPECT_FALSE(target.isRenderTarget());
        EXPECT_EQ(target.getTextureName(0), 0u);
    }

    ASSERT_TRUE(target.makeRenderTarget(32, 32, true, true, false));
    EXPECT_FALSE(target.isRenderTargetLost());
    wglSimulatePbufferLost(target.getPbuffer()); // as a display-mode change would
    EXPECT_TRUE(target.isRenderTargetLost());
}

TEST_F(KGraphicGLGLTest, FreeingATargetWhileDrawingGoesBackToTheWindow) {
    KGraphicGL target;
    ASSERT_TRUE(target.makeRenderTarget(32, 32, true, true, false));
    target.beginRenderToTarget();
    EXPECT_NE(wglGetCurrentContext(), window->getGLRenderingContext());
    unsigned name = target.getTextureName(0);
    target.freePicture();
    EXPECT_EQ(wglGetCurrentContext(), window->getGLRenderingContext());
    EXPECT_EQ(graphicGL().targetCount, 0);
    EXPECT_FALSE(gl::isTexture(name));
    // Drawing lands in the window again.
    KGraphicGL fill;
    fill.fillRect(0, 0, 4, 4, 1, 1, 1, 1);
    EXPECT_EQ(hex(window->pixel(1, 1)), hex(rgb(255, 255, 255)));
}

TEST_F(KGraphicGLGLTest, FreeReloadAndTeardownReleaseTextures) {
    std::vector<uint32_t> pixels(16 * 16, rgb(1, 2, 3));
    KGraphicGL g;
    ASSERT_TRUE(g.makePictureFromPixels(pixels.data(), 16, 16, true, true));
    unsigned name = g.getTextureName(0);
    ASSERT_TRUE(gl::isTexture(name));

    // A reload of changed caller pixels updates the same texture in place.
    std::fill(pixels.begin(), pixels.end(), rgb(90, 60, 30));
    g.reloadPicture();
    EXPECT_EQ(g.getTextureName(0), name);
    g.blitRect(0, 0, 16, 16, 0, 0);
    EXPECT_EQ(hex(window->pixel(8, 8)), hex(rgb(90, 60, 30)));

    // Freeing gives the texture back and keeps the copy, so a reload brings the picture back.
    g.freePicture();
    EXPECT_FALSE(gl::isTexture(name));
    EXPECT_EQ(g.getTextureCount(), 0);
    g.reloadPicture();
    ASSERT_EQ(g.getTextureCount(), 1);
    EXPECT_TRUE(gl::isTexture(g.getTextureName(0)));

    // The window's teardown frees every picture's textures while its context is still there.
    unsigned reloaded = g.getTextureName(0);
    resetDrawingStateGL(nullptr);
    EXPECT_FALSE(gl::isTexture(reloaded));
    EXPECT_EQ(g.getTextureName(0), 0u);
    resetDrawingStateGL(window.get());
}

TEST_F(KGraphicGLGLTest, SplicedPictureUploadsBlitsAndSaves) {
    KImage image;
    ASSERT_TRUE(image.allocate(800, 600, true));
    for (int y = 0; y < 600; y++)
        for (int x = 0; x < 800; x++)
            image.getPixels()[size_t(y) * 800 + size_t(x)] =
                KImage::pack(uint32_t(x & 0xFF), uint32_t(y & 0xFF), uint32_t((x + y) & 0xFF), 255);
    KGraphicGL g;
    ASSERT_TRUE(g.makePictureFromPixels(image.getPixels(), 800, 600, true, true, true));
    EXPECT_TRUE(g.isSpliced());
    EXPECT_GT(g.getTextureCount(), 1);

    // A window-sized part drawn across the splices shows every pixel once, in place.
    g.blitRect(400, 300, 656, 492, 0, 0);
    std::vector<uint32_t> frame = window->frame();
    for (int y = 0; y < 192; y++)
        for (int x = 0; x < 256; x++)
            ASSERT_EQ(hex(frame[size_t(y) * 256 + size_t(x)]), hex(image.getPixel(400 + x, 300 + y))) << x << "," << y;

    TempFolder folder;
    std::string path = folder.file("spliced.png");
    ASSERT_TRUE(g.savePicture(path.c_str(), K_IMAGE_PNG));
    KImage saved;
    ASSERT_TRUE(ImageFixtures::readImageFile(path, saved));
    ASSERT_EQ(saved.getWidth(), 800);
    ASSERT_EQ(saved.getHeight(), 600);
    EXPECT_TRUE(std::equal(saved.getPixels(), saved.getPixels() + 800 * 600, image.getPixels()));

    // A caller's table naming a texture outside the 32 slots is refused.
    const PictureSplice table[] = {{0, 0, 8, 8, 40, 0, 0}, {0, 0, 0, 0, 0, 0, 0}};
    KGraphicGL refused;
    EXPECT_FALSE(refused.makePictureFromPixels(image.getPixels(), 8, 8, true, true, true, table));
    EXPECT_EQ(refused.getTextureCount(), 0);

    KLog::clearMemoryBuffer();
    EXPECT_FALSE(g.savePicture(folder.file("x.gif").c_str(), K_IMAGE_GIF));
    EXPECT_NE(logText().find("OpenGL: failed to encode image in format 4 for savePicture"), std::string::npos);
}

TEST_F(KGraphicGLGLTest, MaskedBlitTakesAlphaFromTheMask) {
    auto colour = solid(8, 8, rgb(250, 0, 0));
    std::vector<uint32_t> maskPixels(64);
    for (int i = 0; i < 64; i++) maskPixels[size_t(i)] = KImage::pack(0, 0, 0, (i % 8) < 4 ? 255 : 0);
    KGraphicGL mask;
    ASSERT_TRUE(mask.makePictureFromPixels(maskPixels.data(), 8, 8, true, true));
    for (bool multitexture : {true, false}) {
        window->multitexture = multitexture;
        window->clear(0, 0, 1);
        colour->blitAlphaRectMasked(0, 0, 8, 8, &mask, 0, 0, 8, 8, 10, 10, 18, 18);
        if (multitexture) {
            EXPECT_EQ(hex(window->pixel(11, 12)), hex(rgb(250, 0, 0)));
            EXPECT_EQ(hex(window->pixel(16, 12)), hex(rgb(0, 0, 255)));
        } else {
            EXPECT_EQ(hex(window->pixel(11, 12)), hex(rgb(0, 0, 255)));
        }
    }
    // The flip swaps the destination corners: the opaque half lands on the right.
    window->multitexture = true;
    window->clear(0, 0, 1);
    colour->blitAlphaRectMasked(0, 0, 8, 8, &mask, 0, 0, 8, 8, 10, 10, 18, 18, true, false);
    EXPECT_EQ(hex(window->pixel(16, 12)), hex(rgb(250, 0, 0)));
    EXPECT_EQ(hex(window->pixel(11, 12)), hex(rgb(0, 0, 255)));
}

TEST_F(KGraphicGLGLTest, BatchDrawsItsStripThroughTheTransform) {
    auto red = solid(8, 8, rgb(255, 255, 255));
    KBatchGL batch(4);
    float cw = red->getTextureCoordWidth(), ch = red->getTextureCoordHeight();
    batch.setVertex(0, 0, 0, 0, 0, 1, 0, 0, 1);
    batch.setVertex(1, 10, 0, 8 / cw, 0, 1, 0, 0, 1);
    batch.setVertex(2, 0, 10, 0, 8 / ch, 0, 1, 0, 1);
    batch.setVertex(3, 10, 10, 8 / cw, 8 / ch, 0, 1, 0, 1);
    red->drawBatchTransformed(&batch, 1, 0, 30, 0, 1, 40);
    EXPECT_TRUE(near(window->pixel(30, 40), rgb(255, 0, 0), 30)) << hex(window->pixel(30, 40));
    EXPECT_TRUE(near(window->pixel(39, 49), rgb(0, 255, 0), 30)) << hex(window->pixel(39, 49));
    EXPECT_EQ(hex(window->pixel(40, 50)), hex(rgb(0, 0, 0)));
    EXPECT_EQ(hex(window->pixel(29, 40)), hex(rgb(0, 0, 0)));
    // A fill after the batch uses the shared arrays again.
    red->fillRect(0, 0, 2, 2, 0, 0, 1, 1);
    EXPECT_EQ(hex(window->pixel(0, 0)), hex(rgb(0, 0, 255)));
}

TEST_F(KGraphicGLGLTest, GrabBackBufferWithAPixelFunctionAndInset) {
    KGraphicGL g;
    g.fillRect(0, 0, 128, 192, 1, 0, 0, 1);
    g.fillRect(128, 0, 256, 192, 0, 1, 0, 1);
    KGrabPixelFunction swap = [](long, long, unsigned char& r, unsigned char& green, unsigned char& b) {
        std::swap(r, b);
        (void)green;
    };
    KGraphicGL grabbed;
    ASSERT_TRUE(grabbed.grabBackBuffer(reinterpret_cast<void*>(swap)));
    EXPECT_EQ(grabbed.getWidth(), 256);
    EXPECT_EQ(grabbed.getHeight(), 192);
    window->clear(0, 0, 0);
    grabbed.blitRect(0, 0, 256, 192, 0, 0);
    EXPECT_EQ(hex(window->pixel(10, 5)), hex(rgb(0, 0, 255)));
    EXPECT_EQ(hex(window->pixel(200, 180)), hex(rgb(0, 255, 0)));

    // Shown inset, the game area is read and resampled to the game size.
    window->clipping = true;
    window->viewport = {0, 0, 128, 96};
    KGraphicGL inset;
    ASSERT_TRUE(inset.grabBackBuffer());
    EXPECT_EQ(inset.getWidth(), 256);
    EXPECT_EQ(inset.getHeight(), 192);
}

// The texels a picture uploads, read back from its texture (top row first).
static std::vector<uint32_t> uploadedTexels(const KGraphicGL& g) {
    gl::bindTexture(g.getTextureTarget(0), g.getTextureName(0));
    int w = gl::getTexLevelParameteri(g.getTextureTarget(0), 0, gl::TEXTURE_WIDTH);
    int h = gl::getTexLevelParameteri(g.getTextureTarget(0), 0, gl::TEXTURE_HEIGHT);
    std::vector<uint32_t> texels(size_t(w) * size_t(h));
    gl::pixelStorei(gl::PACK_ALIGNMENT, 1);
    gl::getTexImage(g.getTextureTarget(0), 0, gl::RGBA, gl::UNSIGNED_BYTE, texels.data());
    return texels;
}

TEST_F(KGraphicGLGLTest, PreparedTexelsKeyBleedAndMask) {
    const uint32_t red = rgb(255, 0, 0), blue = rgb(0, 0, 255), clear = KImage::pack(9, 9, 9, 0);
    const uint32_t key = KImage::pack(10, 20, 30, 255);
    // 4 x 3: column 1 has blue above a transparent pixel above red; (3, 1) carries the colour key.
    const uint32_t pixels[12] = {clear, blue, clear, clear, clear, clear, clear, key, clear, red, clear, clear};
    KGraphicGL g;
    g.setColorKey(true, 30, 20, 10); // matched against the blue, green and red bytes
    ASSERT_TRUE(g.makePictureFromPixels(pixels, 4, 3, true, true));
    std::vector<uint32_t> texels = uploadedTexels(g);
    const int w = 4;
    EXPECT_EQ(hex(texels[1 * w + 1]), hex(KImage::pack(255, 0, 0, 0))); // the pixel below wins, alpha stays 0
    EXPECT_EQ(hex(texels[0 * w + 1]), hex(blue));
    EXPECT_EQ(KImage::alpha(texels[1 * w + 3]), 0u); // keyed
    // Neighbours are judged as handed in, before keying: the keyed pixel still lends its colour upwards.
    EXPECT_EQ(hex(texels[0 * w + 3]), hex(KImage::pack(10, 20, 30, 0)));

    // Without alpha nothing bleeds; the colour is uploaded as it is.
    KGraphicGL opaque;
    ASSERT_TRUE(opaque.makePictureFromPixels(pixels, 4, 3, true, false));
    EXPECT_EQ(KImage::red(uploadedTexels(opaque)[1 * w + 1]), 9u);

    // A mask pair: alpha is the mask's green byte; a smaller mask is resampled to the picture's size.
    KImage colour, mask;
    ASSERT_TRUE(colour.allocate(4, 4, false));
    ASSERT_TRUE(mask.allocate(2, 2, false));
    for (int i = 0; i < 16; i++) colour.getPixels()[i] = rgb(40, 50, 60);
    for (int i = 0; i < 4; i++) mask.getPixels()[i] = rgb(0, 200, 0);
    std::vector<unsigned char> colourBmp = encoded(colour, K_IMAGE_BMP), maskPng = encoded(mask, K_IMAGE_PNG);
    KGraphicGL masked;
    ASSERT_TRUE(masked.loadPictureWithMaskFromMemory("c.bmp", colourBmp.data(), colourBmp.size(), "m.png",
                                                     maskPng.data(), maskPng.size(), true));
    EXPECT_EQ(masked.getTextureInternalFormat(0), int(gl::RGBA8));
    EXPECT_EQ(hex(uploadedTexels(masked)[5]), hex(KImage::pack(40, 50, 60, 200)));
}

TEST_F(KGraphicGLGLTest, LoadingKinds) {
    KImage image;
    ASSERT_TRUE(image.allocate(4, 4, false));
    for (int i = 0; i < 16; i++) image.getPixels()[i] = rgb(1, 2, 3);
    std::vector<unsigned char> png = encoded(image, K_IMAGE_PNG);
    KGraphicGL g;
    EXPECT_FALSE(g.loadPictureFromMemory("a.png", nullptr, 0, true, true, false, K_LOAD_UPLOAD_KEPT));
    ASSERT_TRUE(g.loadPictureFromMemory("a.png", png.data(), png.size(), true, true, false, K_LOAD_DECODE_ONLY));
    EXPECT_EQ(g.getTextureCount(), 0);
    EXPECT_EQ(g.getWidth(), 4);
    ASSERT_TRUE(g.loadPictureFromMemory("a.png", nullptr, 0, true, true, false, K_LOAD_UPLOAD_KEPT));
    EXPECT_EQ(g.getTextureCount(), 1);
    // A picture without alpha, loaded with the alpha flag and no colour key, gets a format without alpha.
    EXPECT_EQ(g.getTextureInternalFormat(0), int(gl::RGB8));
    EXPECT_FALSE(g.loadPictureFromMemory("a.png", nullptr, 0, true, true, false, K_LOAD_UPLOAD_KEPT)); // dropped
    EXPECT_FALSE(g.loadPictureFromMemory("a.png", png.data(), png.size(), true, true, false, 3));
    EXPECT_FALSE(g.loadPictureFromMemory("a.jpeg", png.data(), png.size(), true, true));
    EXPECT_FALSE(g.loadPicture("/nonexistent/picture.png", true, true));
}

TEST_F(KGraphicGLGLTest, PixelShaderReplacesFixedFunctionUntilNone) {
    static const char* green = "void main() { gl_FragColor = vec4(0.0, 1.0, 0.0, 1.0); }";
    KPixelShaderGL shader(green);
    ASSERT_TRUE(shader.create());
    KGraphicGL fill;
    shader.use();
    fill.fillRect(0, 0, 4, 4, 1, 0, 0, 1);
    KPixelShaderGL::useNone();
    fill.fillRect(4, 0, 8, 4, 1, 0, 0, 1);
    EXPECT_EQ(hex(window->pixel(1, 1)), hex(rgb(0, 255, 0)));
    EXPECT_EQ(hex(window->pixel(5, 1)), hex(rgb(255, 0, 0)));

    KLog::clearMemoryBuffer();
    KPixelShaderGL broken("void main() { this is not a shader }");
    EXPECT_FALSE(broken.create());
    EXPECT_EQ(broken.getProgram(), 0u);
    EXPECT_NE(logText().find("OpenGL: pixel shader not made: "), std::string::npos);

    // The window's teardown gives the program back while its context is there.
    resetDrawingStateGL(nullptr);
    EXPECT_EQ(shader.getProgram(), 0u);
    resetDrawingStateGL(window.get());
}

TEST_F(KGraphicGLGLTest, TextureLargerThanOpenGLHoldsIsRefused) {
    // A splice placed far into its texture asks for a texture wider than OpenGL can hold.
    int maxSide = gl::getInteger(gl::MAX_TEXTURE_SIZE);
    const PictureSplice table[] = {{0, 0, 8, 8, 0, float(maxSide), 0}, {0, 0, 0, 0, 0, 0, 0}};
    std::vector<uint32_t> pixels(64, rgb(1, 1, 1));
    KGraphicGL g;
    EXPECT_FALSE(g.makePictureFromPixels(pixels.data(), 8, 8, true, true, true, table));
    EXPECT_EQ(g.getTextureCount(), 0);
    EXPECT_EQ(g.getTextureName(0), 0u);
}

// Filter and wrap settings reach a texture at its next bind; the magnification filter is never a mipmap one, and
// rectangle textures keep clamping and plain filters.
TEST_F(KGraphicGLGLTest, FilterAndWrapReachTheTextureAtItsNextBind) {
    struct Case {
        const char* name;
        bool rectangle, mipmapping, linear;
        int wrap;
        int minFilter, magFilter, wrapMode;
    } cases[] = {
        {"defaults", false, false, false, K_WRAP_CLAMP, gl::NEAREST, gl::NEAREST, gl::CLAMP_TO_EDGE},
        {"linear, repeat", false, false, true, K_WRAP_REPEAT, gl::LINEAR, gl::LINEAR, gl::REPEAT},
        {"mipmapped point", false, true, false, K_WRAP_MIRROR, gl::LINEAR_MIPMAP_NEAREST, gl::NEAREST,
         gl::MIRRORED_REPEAT},
        {"mipmapped linear", false, true, true, K_WRAP_CLAMP, gl::LINEAR_MIPMAP_LINEAR, gl::LINEAR, gl::CLAMP_TO_EDGE},
        {"rectangle, linear, repeat", true, false, true, K_WRAP_REPEAT, gl::LINEAR, gl::LINEAR, gl::CLAMP_TO_EDGE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window->rectangles = c.rectangle;
        KGraphicGL g;
        std::vector<uint32_t> pixels(16 * 8, rgb(5, 5, 5));
        ASSERT_TRUE(g.makePictureFromPixels(pixels.data(), 16, 8, true, true));
        ASSERT_EQ(g.getTextureTarget(0), c.rectangle ? gl::TEXTURE_RECTANGLE : gl::TEXTURE_2D);
        g.blitRect(0, 0, 16, 8, 0, 0); // applied once with the defaults
        g.setMipmapping(c.mipmapping);
        g.setLinearFiltering(c.linear);
        g.setTextureWrap(c.wrap);
        g.setTextureWrap(7); // no such mode: the last one stays
        g.blitRect(0, 0, 16, 8, 0, 0);
        unsigned target = g.getTextureTarget(0);
        EXPECT_EQ(gl::getTexParameteri(target, gl::TEXTURE_MIN_FILTER), c.minFilter);
        EXPECT_EQ(gl::getTexParameteri(target, gl::TEXTURE_MAG_FILTER), c.magFilter);
        EXPECT_EQ(gl::getTexParameteri(target, gl::TEXTURE_WRAP_S), c.wrapMode);
        EXPECT_EQ(gl::getTexParameteri(target, gl::TEXTURE_WRAP_T), c.wrapMode);
    }
}
