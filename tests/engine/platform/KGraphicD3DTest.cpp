// The Direct3D 8 picture back end over the recording device stand-in: texture sizes and formats, pixel
// conversion, loading kinds, vertices and states of the draws, the state cache, render targets, the video-memory
// flush and the device-reset hooks.
#include "KGraphicD3D.h"

#include "D3DTestWindow.h"
#include "ImageFixtures.h"
#include "KBatchD3D.h"
#include "KGraphicD3DState.h"
#include "KGraphicFactory.h"
#include "KLog.h"
#include "KSplicer.h"
#include "TempFolder.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>

namespace {

std::string logText() {
    return std::string(KLog::memoryBuffer(), KLog::memoryBufferUsed());
}

int countOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) count++;
    return count;
}

// A picture file in the folder, written through the PNG encoder.
std::string writePng(const TempFolder& folder, const std::string& name, int width, int height, uint32_t pixel,
                     bool alpha = false) {
    KImage image;
    image.allocate(width, height, alpha);
    for (int i = 0; i < width * height; i++) image.getPixels()[i] = pixel;
    unsigned char* bytes = nullptr;
    size_t size = 0;
    EXPECT_TRUE(KImage::encode(K_IMAGE_PNG, bytes, size, image));
    std::string path = folder.write(name, std::string(reinterpret_cast<char*>(bytes), size));
    delete[] bytes;
    return path;
}

std::vector<uint32_t> solid(int width, int height, uint32_t pixel) {
    return std::vector<uint32_t>(size_t(width) * size_t(height), pixel);
}

// The raw bytes of texel (x, y) of a managed texture's level.
uint32_t texel(IDirect3DTexture8* texture, int x, int y, int level = 0) {
    D3DSURFACE_DESC desc;
    texture->GetLevelDesc(level, &desc);
    int bytes = desc.Format == D3DFMT_A8R8G8B8 || desc.Format == D3DFMT_X8R8G8B8 ? 4 : 2;
    D3DLOCKED_RECT locked;
    EXPECT_EQ(texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    uint32_t value = 0;
    std::memcpy(&value, static_cast<unsigned char*>(locked.pBits) + size_t(y) * locked.Pitch + size_t(x) * bytes,
                bytes);
    texture->UnlockRect(level);
    return value;
}

struct Vertex {
    float x, y, z;
    uint32_t color;
    float u, v;
};

std::vector<Vertex> verticesOf(const D3D8RecordedDraw& draw) {
    std::vector<Vertex> out(draw.vertices.size() / sizeof(Vertex));
    std::memcpy(out.data(), draw.vertices.data(), out.size() * sizeof(Vertex));
    return out;
}

int callCount(IDirect3DDevice8* device, D3D8Call call, uint32_t a = ~0u, uint32_t b = ~0u) {
    int count = 0;
    for (const D3D8RecordedCall& entry : device->recordedCalls())
        if (entry.call == call && (a == ~0u || entry.a == a) && (b == ~0u || entry.b == b)) count++;
    return count;
}

class KGraphicD3DTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(window.ok());
        KLog::clearMemoryBuffer();
        window.device->clearRecording();
    }
    std::unique_ptr<KGraphicD3D> picture(int width, int height, uint32_t pixel = 0xFFFFFFFFu, bool alpha = true) {
        auto made = std::make_unique<KGraphicD3D>();
        auto pixels = solid(width, height, pixel);
        EXPECT_TRUE(made->makePictureFromPixels(pixels.data(), width, height, true, alpha));
        window.device->clearRecording();
        return made;
    }
    const D3D8RecordedDraw& lastDraw() { return window.device->recordedDraws().back(); }

    D3DTestWindow window{/*recording=*/true};
};

} // namespace

TEST_F(KGraphicD3DTest, TextureSizesAndMipLevels) {
    struct Case {
        int width, height;
        bool nonSquare, mipmapping;
        float textureWidth, textureHeight;
        uint32_t levels;
    } cases[] = {
        {100, 30, true, false, 128, 32, 1}, {100, 30, false, false, 128, 128, 1}, {100, 30, true, true, 128, 128, 2},
        {64, 64, true, true, 64, 64, 1},    {256, 200, true, true, 256, 256, 3},  {512, 3, true, true, 512, 512, 4},
        {1, 1, true, false, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " nonSquare " << c.nonSquare << " mip "
                                        << c.mipmapping);
        window.nonSquare = c.nonSquare;
        KGraphicD3D graphic;
        graphic.setMipmapping(c.mipmapping);
        auto pixels = solid(c.width, c.height, 0xFF0000FFu);
        ASSERT_TRUE(graphic.makePictureFromPixels(pixels.data(), c.width, c.height, true, true));
        EXPECT_EQ(graphic.getTextureWidth(), c.textureWidth);
        EXPECT_EQ(graphic.getTextureHeight(), c.textureHeight);
        EXPECT_EQ(graphic.getTexture(0)->GetLevelCount(), c.levels);
        EXPECT_EQ(graphic.getWidth(), float(c.width));
    }
}

TEST_F(KGraphicD3DTest, MipLevelsHoldTheHalvedPicture) {
    KGraphicD3D graphic;
    graphic.setMipmapping(true);
    // Left half red, right half blue: every level keeps the split, down to the smallest.
    std::vector<uint32_t> pixels(256 * 256);
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 256; x++) pixels[y * 256 + x] = x < 128 ? 0xFF0000FFu : 0xFFFF0000u;
    ASSERT_TRUE(graphic.makePictureFromPixels(pixels.data(), 256, 256, true, true));
    ASSERT_EQ(graphic.getTexture(0)->GetLevelCount(), 3u);
    EXPECT_EQ(texel(graphic.getTexture(0), 0, 0, 2), 0xFFFF0000u);  // level 2 is 64 x 64: red on the left
    EXPECT_EQ(texel(graphic.getTexture(0), 63, 0, 2), 0xFF0000FFu); // blue on the right
}

TEST(KGraphicD3DFormats, TextureAndRenderTargetTables) {
    const unsigned char all[7] = {1, 1, 1, 1, 1, 1, 1};
    const unsigned char none[7] = {0, 0, 0, 0, 0, 0, 0};
    const unsigned char usual[7] = {1, 1, 1, 1, 0, 1, 1};
    struct Case {
        bool trueColor, alpha, oneBit;
        const unsigned char* support;
        int texture, target;
    } cases[] = {
        {true, true, false, usual, D3DFMT_A8R8G8B8, D3DFMT_A8R8G8B8},
        {true, false, false, usual, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8},
        {true, false, false, all, D3DFMT_R8G8B8, D3DFMT_R8G8B8},
        {true, true, true, none, D3DFMT_A4R4G4B4, D3DFMT_A4R4G4B4},
        {true, false, false, none, D3DFMT_X1R5G5B5, D3DFMT_X1R5G5B5},
        {false, true, true, usual, D3DFMT_A1R5G5B5, D3DFMT_A1R5G5B5},
        {false, true, false, usual, D3DFMT_A4R4G4B4, D3DFMT_A4R4G4B4},
        {false, false, false, usual, D3DFMT_R5G6B5, D3DFMT_R5G6B5},
        {false, false, false, none, D3DFMT_X1R5G5B5, D3DFMT_X1R5G5B5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.trueColor << c.alpha << c.oneBit);
        EXPECT_EQ(KGraphicD3D::chooseTextureFormat(c.trueColor, c.alpha, c.oneBit, c.support), c.texture);
        EXPECT_EQ(KGraphicD3D::chooseRenderTargetFormat(c.trueColor, c.alpha, c.oneBit, c.support), c.target);
    }
    // A true-colour target without 32-bit support falls to R5G6B5; one with alpha to the 16-bit alpha formats.
    const unsigned char sixteen[7] = {1, 1, 1, 1, 0, 0, 0};
    EXPECT_EQ(KGraphicD3D::chooseRenderTargetFormat(true, false, false, sixteen), D3DFMT_R5G6B5);
    EXPECT_EQ(KGraphicD3D::chooseRenderTargetFormat(true, true, true, sixteen), D3DFMT_A1R5G5B5);
}

TEST_F(KGraphicD3DTest, PacksOnePixelIntoEachFormat) {
    const uint32_t pixel = KImage::pack(0xF8, 0x84, 0x2C, 0x9A); // R, G, B, A
    struct Case {
        bool trueColor, alpha, oneBit;
        int format;
        uint32_t word;
    } cases[] = {
        {true, true, false, D3DFMT_A8R8G8B8, 0x9AF8842Cu},
        {true, false, false, D3DFMT_X8R8G8B8, 0x9AF8842Cu},
        {false, false, false, D3DFMT_R5G6B5, (0x1Fu << 11) | (0x21u << 5) | 0x05u},
        {false, true, true, D3DFMT_A1R5G5B5, 0x8000u | (0x1Fu << 10) | (0x10u << 5) | 0x05u},
        {false, true, false, D3DFMT_A4R4G4B4, (0x9u << 12) | (0xFu << 8) | (0x8u << 4) | 0x2u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        KGraphicD3D graphic;
        graphic.setOneBitAlpha(c.oneBit);
        ASSERT_TRUE(graphic.makePictureFromPixels(&pixel, 1, 1, c.trueColor, c.alpha));
        EXPECT_EQ(graphic.getTextureFormat(0), c.format);
        EXPECT_EQ(texel(graphic.getTexture(0), 0, 0), c.word);
    }
    // Without R5G6B5 a 16-bit picture without alpha is X1R5G5B5, bit 15 clear.
    window.textureSupport[K_PF_R5G6B5] = 0;
    KGraphicD3D graphic;
    ASSERT_TRUE(graphic.makePictureFromPixels(&pixel, 1, 1, false, false));
    EXPECT_EQ(graphic.getTextureFormat(0), D3DFMT_X1R5G5B5);
    EXPECT_EQ(texel(graphic.getTexture(0), 0, 0), (0x1Fu << 10) | (0x10u << 5) | 0x05u);
}

TEST_F(KGraphicD3DTest, TransparentPixelsBleedFromTheirNeighboursAndTheColourKeyClearsAlpha) {
    const uint32_t clear = 0, red = KImage::pack(255, 0, 0, 255), blue = KImage::pack(0, 0, 255, 255),
                   green = KImage::pack(0, 255, 0, 255);
    struct Case {
        const char* name;
        uint32_t pixels[9];
        int x, y;
        uint32_t expected; // texel, 0xAARRGGBB
    } cases[] = {
        {"below wins over above", {clear, blue, clear, clear, clear, clear, clear, red, clear}, 1, 1, 0x00FF0000u},
        {"above before the diagonals",
         {green, blue, green, clear, clear, clear, green, clear, green},
         1,
         1,
         0x000000FFu},
        {"above-left before below-left",
         {red, clear, clear, clear, clear, clear, blue, clear, clear},
         1,
         1,
         0x00FF0000u},
        {"left before right", {clear, clear, clear, blue, clear, red, clear, clear, clear}, 1, 1, 0x000000FFu},
        {"outside the picture is skipped",
         {clear, clear, clear, clear, green, clear, clear, clear, clear},
         0,
         0,
         0x0000FF00u},
        {"no opaque neighbour keeps its colour",
         {clear, clear, clear, clear, 0x00102030u, clear, clear, clear, clear},
         1,
         1,
         0x00302010u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KGraphicD3D graphic;
        ASSERT_TRUE(graphic.makePictureFromPixels(c.pixels, 3, 3, true, true));
        EXPECT_EQ(texel(graphic.getTexture(0), c.x, c.y), c.expected);
    }

    // The key's arguments match the pixel's B, G, R bytes in that order; neighbours are judged before keying.
    KGraphicD3D keyed;
    keyed.setColorKey(true, 0x30, 0x20, 0x10);
    const uint32_t keyPixel = KImage::pack(0x10, 0x20, 0x30, 255);
    const uint32_t pixels[3] = {keyPixel, KImage::pack(0x40, 0x50, 0x60, 255), keyPixel};
    ASSERT_TRUE(keyed.makePictureFromPixels(pixels, 3, 1, true, true));
    EXPECT_EQ(texel(keyed.getTexture(0), 0, 0), 0x00405060u); // keyed, and bled from its right neighbour
    EXPECT_EQ(texel(keyed.getTexture(0), 1, 0), 0xFF405060u); // not keyed
    EXPECT_EQ(texel(keyed.getTexture(0), 2, 0), 0x00405060u); // keyed; its left neighbour wins over nothing
}

TEST_F(KGraphicD3DTest, LoadingKindsAndTheHighResolutionVariant) {
    TempFolder folder;
    std::string path = writePng(folder, "pic.png", 4, 4, KImage::pack(1, 2, 3, 255));
    KGraphicD3D graphic;
    ASSERT_TRUE(graphic.loadPicture(path.c_str(), true, true, false, K_LOAD_DECODE_ONLY));
    EXPECT_EQ(graphic.getTextureCount(), 0);
    EXPECT_EQ(callCount(window.device, D3D8Call::CreateTexture), 0);
    ASSERT_TRUE(graphic.loadPicture(path.c_str(), true, true, false, K_LOAD_UPLOAD_KEPT));
    EXPECT_EQ(graphic.getTextureCount(), 1);
    // A picture without alpha loaded with the alpha flag gets a format without alpha.
    EXPECT_EQ(graphic.getTextureFormat(0), D3DFMT_X8R8G8B8);
    EXPECT_FALSE(graphic.loadPicture(path.c_str(), true, true, false, K_LOAD_UPLOAD_KEPT)); // nothing kept any more
    EXPECT_FALSE(graphic.loadPicture(path.c_str(), true, true, false, 3));
    EXPECT_FALSE(graphic.loadPicture(folder.file("missing.png").c_str(), true, true));

    // With a colour key the alpha flag stays.
    KGraphicD3D keyed;
    keyed.setColorKey(true, 0, 0, 0);
    ASSERT_TRUE(keyed.loadPicture(path.c_str(), true, true));
    EXPECT_EQ(keyed.getTextureFormat(0), D3DFMT_A8R8G8B8);

    // "ipad3res_pic.png" beside it is read instead, at scale 2: a 4 x 4 source blit covers 8 x 8 texels.
    writePng(folder, "ipad3res_pic.png", 8, 8, KImage::pack(9, 9, 9, 255));
    KGraphicD3D high;
    ASSERT_TRUE(high.loadPicture(path.c_str(), true, true));
    EXPECT_EQ(high.getPictureScale(), 2.0f);
    EXPECT_EQ(high.getWidth(), 8.0f);
    window.device->clearRecording();
    high.blitRect(0, 0, 4, 4, 0, 0);
    std::vector<Vertex> quad = verticesOf(lastDraw());
    EXPECT_FLOAT_EQ(quad[3].u, 1.0f);
    EXPECT_FLOAT_EQ(quad[3].x - quad[0].x, 4.0f);

    // A grab of the back buffer into that picture holds one texel per game-area pixel: the scale is 1 again.
    ASSERT_TRUE(high.grabBackBuffer());
    EXPECT_EQ(high.getPictureScale(), 1.0f);
    window.device->clearRecording();
    high.blitRect(0, 0, 4, 4, 0, 0);
    quad = verticesOf(lastDraw());
    EXPECT_FLOAT_EQ(quad[3].u, 4.0f / high.getTextureWidth());
    EXPECT_FLOAT_EQ(quad[3].v, 4.0f / high.getTextureHeight());
}

// The game may lie in a folder of any depth: a picture whose path runs to well over 300 characters loads, and
// keeps its whole name for the rebuild after a device reset.
TEST_F(KGraphicD3DTest, PicturesLoadFromADeepFolder) {
    TempFolder folder;
    std::string deep = folder.path();
    while (deep.size() < 320) deep += "/a-folder-with-a-long-name-" + std::to_string(deep.size());
    std::filesystem::create_directories(deep);
    const std::string colour = deep + "/picture.png", mask = deep + "/picture_mask.png";
    KImage image;
    image.allocate(4, 4, false);
    for (int i = 0; i < 16; i++) image.getPixels()[i] = KImage::pack(1, 2, 3, 255);
    unsigned char* bytes = nullptr;
    size_t size = 0;
    ASSERT_TRUE(KImage::encode(K_IMAGE_PNG, bytes, size, image));
    for (const std::string& path : {colour, mask}) {
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes), std::streamsize(size));
    }
    delete[] bytes;
    ASSERT_GT(colour.size(), 300u);

    KGraphicD3D picture, masked;
    ASSERT_TRUE(picture.loadPicture(colour.c_str(), true, true));
    EXPECT_EQ(picture.getTextureCount(), 1);
    EXPECT_EQ(texel(picture.getTexture(0), 1, 1), 0xFF010203u);
    ASSERT_TRUE(masked.loadPictureWithMask(colour.c_str(), mask.c_str(), true));
    EXPECT_EQ(masked.getTextureCount(), 1);
    // Freed and rebuilt from its file, as after a device reset.
    picture.freePicture();
    picture.restorePicture();
    ASSERT_EQ(picture.getTextureCount(), 1);
    EXPECT_EQ(texel(picture.getTexture(0), 1, 1), 0xFF010203u);
}

TEST_F(KGraphicD3DTest, MaskGivesAlphaFromItsGreenAndIsResampledToThePictureSize) {
    TempFolder folder;
    std::string colour = writePng(folder, "colour.png", 4, 4, KImage::pack(200, 100, 50, 255));
    std::string mask = writePng(folder, "mask.png", 2, 2, KImage::pack(0, 128, 0, 255), true);
    KGraphicD3D graphic;
    ASSERT_TRUE(graphic.loadPictureWithMask(colour.c_str(), mask.c_str(), true));
    EXPECT_EQ(graphic.getTextureFormat(0), D3DFMT_A8R8G8B8);
    EXPECT_EQ(texel(graphic.getTexture(0), 3, 3), 0x80C86432u);
}

TEST_F(KGraphicD3DTest, BadSpliceTablesAndStaleTexturesAreRefused) {
    auto pixels = solid(64, 64, 0xFFFFFFFFu);
    KGraphicD3D graphic;
    // A texture index outside the 32 slots.
    const PictureSplice outside[2] = {{0, 0, 64, 64, 40, 0, 0}, {0, 0, 0, 0, 0, 0, 0}};
    EXPECT_FALSE(graphic.makePictureFromPixels(pixels.data(), 64, 64, true, true, true, outside));
    const PictureSplice negative[2] = {{0, 0, 64, 64, -1, 0, 0}, {0, 0, 0, 0, 0, 0, 0}};
    EXPECT_FALSE(graphic.makePictureFromPixels(pixels.data(), 64, 64, true, true, true, negative));
    // A valid table of two pieces in two textures.
    const PictureSplice two[3] = {{0, 0, 32, 64, 0, 0, 0}, {32, 0, 64, 64, 1, 0, 0}, {0, 0, 0, 0, 0, 0, 0}};
    ASSERT_TRUE(graphic.makePictureFromPixels(pixels.data(), 64, 64, true, true, true, two));
    EXPECT_EQ(graphic.getTextureCount(), 2);
    EXPECT_EQ(graphic.getSpliceCount(), 2);
    EXPECT_EQ(graphic.getTextureWidth(), 64.0f); // at least 64

    // Rectangles and texture positions outside the picture or the texture are clipped, in upload and read-back:
    // every pixel of the picture goes to its place in a texture and comes back from there into the saved file.
    std::vector<uint32_t> gradient(64 * 64);
    for (uint32_t i = 0; i < gradient.size(); i++) gradient[i] = KImage::pack(i % 64 * 4, i / 64 * 4, 77, 255);
    const PictureSplice wild[3] = {{-10, -5, 70, 80, 0, -3, -4}, {60, 60, 64, 64, 1, 500, 500}, {0, 0, 0, 0, 0, 0, 0}};
    KGraphicD3D clipped;
    ASSERT_TRUE(clipped.makePictureFromPixels(gradient.data(), 64, 64, true, true, true, wild));
    TempFolder folder;
    ASSERT_TRUE(clipped.savePicture(folder.file("wild.bmp").c_str(), K_IMAGE_BMP));
    std::ifstream saved(folder.file("wild.bmp"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    KImage decoded;
    ASSERT_TRUE(
        KImage::decode(K_IMAGE_BMP, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), decoded));
    EXPECT_TRUE(ImageFixtures::pixelsOf(decoded) == gradient);

    // Switching mipmapping on and reloading makes a texture with the extra levels rather than reusing the old one.
    auto big = solid(256, 256, 0xFF00FF00u);
    KGraphicD3D reloaded;
    ASSERT_TRUE(reloaded.makePictureFromPixels(big.data(), 256, 256, true, true));
    EXPECT_EQ(reloaded.getTexture(0)->GetLevelCount(), 1u);
    reloaded.setMipmapping(true);
    KLog::clearMemoryBuffer();
    reloaded.reloadPicture();
    EXPECT_EQ(reloaded.getTexture(0)->GetLevelCount(), 3u);
    EXPECT_EQ(texel(reloaded.getTexture(0), 3, 3, 2), 0xFF00FF00u);
    EXPECT_EQ(logText().find("ERROR"), std::string::npos) << logText();
}

TEST_F(KGraphicD3DTest, BlitRectVerticesAndFlips) {
    auto graphic = picture(64, 64);
    graphic->blitRect(0, 0, 32, 32, 10, 20);
    std::vector<Vertex> quad = verticesOf(lastDraw());
    ASSERT_EQ(quad.size(), 4u);
    EXPECT_EQ(lastDraw().type, D3DPT_TRIANGLESTRIP);
    EXPECT_EQ(lastDraw().fvf, D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    EXPECT_FLOAT_EQ(quad[0].x, 9.5f);
    EXPECT_FLOAT_EQ(quad[0].y, -19.5f);
    EXPECT_FLOAT_EQ(quad[3].x, 41.5f);
    EXPECT_FLOAT_EQ(quad[3].y, -51.5f);
    EXPECT_FLOAT_EQ(quad[0].u, 0.0f);
    EXPECT_FLOAT_EQ(quad[3].u, 0.5f);
    EXPECT_FLOAT_EQ(quad[3].v, 0.5f);
    EXPECT_EQ(quad[0].color, 0xFFFFFFFFu);
    EXPECT_FALSE(lastDraw().state.alphaBlend);

    graphic->blitAlphaRect(0, 0, 32, 32, 10, 20, /*flipX=*/true);
    quad = verticesOf(lastDraw());
    EXPECT_FLOAT_EQ(quad[0].x, 41.5f);
    EXPECT_FLOAT_EQ(quad[0].u, 0.0f);
    EXPECT_TRUE(lastDraw().state.alphaBlend);

    // The blit colour tints every vertex, and the alpha variants multiply the alpha argument in.
    graphic->setBlitColor(1.5f, 0.5f, -0.2f, 1);
    graphic->blitAlphaRectFxF(0, 0, 32, 32, 0, 0, 0, 1, 0.5f);
    EXPECT_EQ(verticesOf(lastDraw())[0].color, 0x7FFF7F00u);
}

TEST_F(KGraphicD3DTest, RotateZoomWorldTurnsAboutTheCentrePlusPivot) {
    auto graphic = picture(64, 64);
    graphic->blitAlphaRectFx(0, 0, 32, 16, 100, 50, 90, 2, 1, false, false, 3, 4);
    const D3DMATRIX& world = lastDraw().state.world;
    EXPECT_NEAR(world.m[0][0], 0, 1e-5);
    EXPECT_NEAR(world.m[0][1], 2, 1e-5);
    EXPECT_NEAR(world.m[1][0], -2, 1e-5);
    EXPECT_NEAR(world.m[1][1], 0, 1e-5);
    const float cx = 16 + 3, cy = 8 + 4;
    EXPECT_FLOAT_EQ(world.m[3][0], 100 + cx - 0.5f);
    EXPECT_FLOAT_EQ(world.m[3][1], 0.5f - (50 + cy));
    std::vector<Vertex> quad = verticesOf(lastDraw());
    EXPECT_FLOAT_EQ(quad[0].x, -cx);
    EXPECT_FLOAT_EQ(quad[0].y, cy);

    // The next plain blit sets the world back to identity once.
    graphic->blitRect(0, 0, 8, 8, 0, 0);
    EXPECT_FLOAT_EQ(lastDraw().state.world.m[3][0], 0);
    int worldSets = callCount(window.device, D3D8Call::SetTransform, D3DTS_WORLD);
    graphic->blitRect(0, 0, 8, 8, 0, 0);
    EXPECT_EQ(callCount(window.device, D3D8Call::SetTransform, D3DTS_WORLD), worldSets);
}

TEST_F(KGraphicD3DTest, StateCacheKeepsRepeatedStatesAwayFromTheDevice) {
    auto graphic = picture(16, 16);
    graphic->blitAlphaRect(0, 0, 8, 8, 0, 0);
    graphic->blitAlphaRect(0, 0, 8, 8, 10, 0);
    EXPECT_EQ(callCount(window.device, D3D8Call::SetTexture, 0, 1), 1);
    EXPECT_EQ(callCount(window.device, D3D8Call::SetRenderState, D3DRS_SRCBLEND), 1);
    EXPECT_EQ(callCount(window.device, D3D8Call::SetRenderState, D3DRS_ALPHABLENDENABLE), 1);
    EXPECT_EQ(callCount(window.device, D3D8Call::SetTextureStageState, 0, D3DTSS_MAGFILTER), 1);

    graphic->setLinearFiltering(true);
    graphic->blitAlphaRect(0, 0, 8, 8, 0, 0);
    EXPECT_EQ(callCount(window.device, D3D8Call::SetTextureStageState, 0, D3DTSS_MAGFILTER), 2);
    EXPECT_EQ(lastDraw().state.stage[0].magFilter, uint32_t(D3DTEXF_LINEAR));

    graphic->setBlendMode(K_BLEND_ADDITIVE);
    graphic->blitRect(0, 0, 8, 8, 0, 0); // opaque: blending off, factors untouched
    EXPECT_FALSE(lastDraw().state.alphaBlend);
    graphic->blitAlphaRect(0, 0, 8, 8, 0, 0);
    EXPECT_TRUE(lastDraw().state.alphaBlend);
    EXPECT_EQ(lastDraw().state.srcBlend, uint32_t(D3DBLEND_SRCALPHA));
    EXPECT_EQ(lastDraw().state.destBlend, uint32_t(D3DBLEND_ONE));
    EXPECT_EQ(callCount(window.device, D3D8Call::SetRenderState, D3DRS_SRCBLEND), 2);

    // Preset 6 and wrap 3 change nothing.
    graphic->setBlendMode(6);
    graphic->setTextureWrap(3);
    graphic->blitAlphaRect(0, 0, 8, 8, 0, 0);
    EXPECT_EQ(lastDraw().state.destBlend, uint32_t(D3DBLEND_ONE));
    EXPECT_EQ(lastDraw().state.stage[0].addressU, uint32_t(D3DTADDRESS_CLAMP));
}

TEST_F(KGraphicD3DTest, NothingIsDrawnForZeroZoomOrAlphaOrWhileTheDeviceIsLost) {
    auto graphic = picture(16, 16);
    graphic->blitAlphaRectFx(0, 0, 8, 8, 0, 0, 0, 0, 1);
    graphic->blitAlphaRectFx(0, 0, 8, 8, 0, 0, 0, 1, -0.5f);
    graphic->blitRectFxF(0, 0, 8, 8, 0, 0, 0, 0);
    graphic->blitAlphaRectFxXY(0, 0, 8, 8, 0, 0, 0, 1, 0, 1);
    graphic->blitAlphaRectAffine(0, 0, 8, 8, 1, 0, 0, 0, 1, 0, 0);
    fillRectBlended(0, 0, 10, 10, 1, 1, 1, 0);
    EXPECT_TRUE(window.device->recordedCalls().empty());

    window.device->simulateDeviceLost();
    graphic->blitRect(0, 0, 8, 8, 0, 0);
    graphic->fillRect(0, 0, 8, 8, 1, 1, 1, 1);
    EXPECT_TRUE(window.device->recordedDraws().empty());
    EXPECT_TRUE(window.lost);
}

TEST_F(KGraphicD3DTest, UntexturedPrimitives) {
    KGraphicD3D graphic;
    graphic.plotPixel(3, 4, 1, 0, 0, 1);
    EXPECT_EQ(lastDraw().type, D3DPT_POINTLIST);
    EXPECT_EQ(lastDraw().state.stage[0].texture, nullptr);
    std::vector<Vertex> v = verticesOf(lastDraw());
    EXPECT_FLOAT_EQ(v[0].x, 3);
    EXPECT_FLOAT_EQ(v[0].y, -4);
    EXPECT_EQ(v[0].color, 0xFFFF0000u);

    graphic.drawLine(1, 2, 30, 40, 0, 1, 0, 0.5f);
    EXPECT_EQ(lastDraw().type, D3DPT_LINELIST);
    v = verticesOf(lastDraw());
    EXPECT_FLOAT_EQ(v[1].x, 30);
    EXPECT_FLOAT_EQ(v[1].y, -40);
    EXPECT_EQ(v[0].color, 0x7F00FF00u);

    graphic.fillQuad(0, 0, 10, 0, 10, 10, 0, 10, 2, 1, 1, 1); // colour 2 clamps to 255
    v = verticesOf(lastDraw());
    EXPECT_EQ(lastDraw().type, D3DPT_TRIANGLESTRIP);
    EXPECT_FLOAT_EQ(v[2].x, 0); // P4 third
    EXPECT_FLOAT_EQ(v[2].y, -10);
    EXPECT_FLOAT_EQ(v[3].x, 10); // P3 last
    EXPECT_EQ(v[0].color, 0xFFFFFFFFu);
    EXPECT_TRUE(lastDraw().state.alphaBlend);

    // fillRectBlended forces normal blending whatever the picture before it set.
    graphic.setBlendMode(K_BLEND_ADDITIVE);
    graphic.fillRect(0, 0, 5, 5, 1, 1, 1, 1);
    EXPECT_EQ(lastDraw().state.destBlend, uint32_t(D3DBLEND_ONE));
    fillRectBlended(0, 0, 5, 5, 0, 0, 0, 0.5f);
    EXPECT_EQ(lastDraw().state.srcBlend, uint32_t(D3DBLEND_SRCALPHA));
    EXPECT_EQ(lastDraw().state.destBlend, uint32_t(D3DBLEND_INVSRCALPHA));
    graphic.fillRect(0, 0, 5, 5, 1, 1, 1, 1); // the cache knew, so the additive factors are set again
    EXPECT_EQ(lastDraw().state.destBlend, uint32_t(D3DBLEND_ONE));
}

TEST_F(KGraphicD3DTest, MaskedBlitUsesStageOneAndCleansUp) {
    auto graphic = picture(32, 32);
    auto mask = picture(16, 16);
    mask->setLinearFiltering(true);
    graphic->blitAlphaRectMasked(0, 0, 32, 32, mask.get(), 0, 0, 16, 16, 10, 10, 42, 42);
    const D3D8RecordedDraw& draw = lastDraw();
    EXPECT_EQ(draw.fvf, D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX2);
    EXPECT_EQ(draw.stride, 32u);
    EXPECT_EQ(draw.state.stage[1].texture, mask->getTexture(0));
    EXPECT_EQ(draw.state.stage[1].colorOp, uint32_t(D3DTOP_SELECTARG1));
    EXPECT_EQ(draw.state.stage[1].colorArg1, D3DTA_CURRENT);
    EXPECT_EQ(draw.state.stage[1].alphaOp, uint32_t(D3DTOP_MODULATE));
    EXPECT_EQ(draw.state.stage[1].alphaArg1, D3DTA_TEXTURE);
    EXPECT_EQ(draw.state.stage[1].alphaArg2, D3DTA_CURRENT);
    EXPECT_EQ(draw.state.stage[1].magFilter, uint32_t(D3DTEXF_LINEAR));
    float stage1[8];
    std::memcpy(stage1, draw.vertices.data() + 16, 16); // u0, v0, u1, v1 of the first vertex
    std::memcpy(stage1 + 4, draw.vertices.data() + 3 * 32 + 16, 16);
    EXPECT_FLOAT_EQ(stage1[6], 1.0f); // mask u of the last vertex: 16 / 16
    EXPECT_FLOAT_EQ(stage1[4], 1.0f); // picture u: 32 / 32
    const auto& calls = window.device->recordedCalls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[calls.size() - 3].call, D3D8Call::SetTexture);
    EXPECT_EQ(calls[calls.size() - 3].a, 1u);
    EXPECT_EQ(calls[calls.size() - 3].b, 0u);
    EXPECT_EQ(calls[calls.size() - 2].c, uint32_t(D3DTOP_DISABLE));
    EXPECT_EQ(calls[calls.size() - 1].b, uint32_t(D3DTSS_ALPHAOP));
    EXPECT_EQ(calls[calls.size() - 1].c, uint32_t(D3DTOP_DISABLE));
}

TEST_F(KGraphicD3DTest, ArbitraryQuadStripOrder) {
    auto graphic = picture(64, 64);
    graphic->blitArbitraryQuad(0, 0, 64, 0, 64, 64, 0, 64, 10, 10, 50, 12, 48, 60, 8, 58);
    std::vector<Vertex> v = verticesOf(lastDraw());
    ASSERT_EQ(v.size(), 4u);
    // D1, D2, D4, D3 with their source points, half a pixel moved.
    EXPECT_FLOAT_EQ(v[0].x, 9.5f);
    EXPECT_FLOAT_EQ(v[1].x, 49.5f);
    EXPECT_FLOAT_EQ(v[2].x, 7.5f);
    EXPECT_FLOAT_EQ(v[2].y, 0.5f - 58);
    EXPECT_FLOAT_EQ(v[2].u, 0);
    EXPECT_FLOAT_EQ(v[2].v, 1);
    EXPECT_FLOAT_EQ(v[3].x, 47.5f);
    EXPECT_FLOAT_EQ(v[3].u, 1);
}

TEST_F(KGraphicD3DTest, SplicedWalkCoversTheSourceRectangleExactlyOnce) {
    const int width = 800, height = 600;
    std::vector<uint32_t> pixels = solid(width, height, 0xFFFFFFFFu);
    KGraphicD3D graphic;
    ASSERT_TRUE(graphic.makePictureFromPixels(pixels.data(), width, height, true, true, /*splice=*/true));
    ASSERT_GT(graphic.getSpliceCount(), 1);
    struct Case {
        float sx1, sy1, sx2, sy2;
        bool flipX, flipY;
    } cases[] = {{0, 0, 800, 600, false, false}, {100, 50, 700, 590, false, false}, {0, 0, 800, 600, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sx1 << "," << c.sy1 << " flips " << c.flipX);
        window.device->clearRecording();
        graphic.blitSplicedAlphaRect(c.sx1, c.sy1, c.sx2, c.sy2, 0, 0, 0, 1, 1, c.flipX, c.flipY);
        ASSERT_GT(window.device->recordedDraws().size(), 1u);
        std::vector<int> cover(size_t(width) * size_t(height), 0);
        for (const D3D8RecordedDraw& draw : window.device->recordedDraws()) {
            std::vector<Vertex> v = verticesOf(draw);
            float ox = draw.state.world.m[3][0] + 0.5f, oy = -(draw.state.world.m[3][1] - 0.5f);
            int x1 = int(std::lround(std::min(v[0].x, v[3].x) + ox)),
                x2 = int(std::lround(std::max(v[0].x, v[3].x) + ox));
            int y1 = int(std::lround(-std::max(v[0].y, v[3].y) + oy)),
                y2 = int(std::lround(-std::min(v[0].y, v[3].y) + oy));
            for (int y = y1; y < y2; y++)
                for (int x = x1; x < x2; x++)
                    if (x >= 0 && y >= 0 && x < width && y < height) cover[size_t(y) * width + x]++;
        }
        int wrong = 0;
        const int w = int(c.sx2 - c.sx1), h = int(c.sy2 - c.sy1);
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++) wrong += cover[size_t(y) * width + x] != (x < w && y < h ? 1 : 0);
        EXPECT_EQ(wrong, 0);
    }
    // The separate-zoom blit does not draw spliced pictures.
    window.device->clearRecording();
    graphic.blitAlphaRectFxXY(0, 0, 100, 100, 0, 0, 0, 1, 1, 1);
    EXPECT_TRUE(window.device->recordedDraws().empty());
}

TEST_F(KGraphicD3DTest, SplicedArbitraryQuadIsCutIntoTrianglesThatTileTheDestination) {
    std::vector<uint32_t> pixels = solid(800, 600, 0xFFFFFFFFu);
    KGraphicD3D graphic;
    ASSERT_TRUE(graphic.makePictureFromPixels(pixels.data(), 800, 600, true, true, /*splice=*/true));
    window.device->clearRecording();
    // The whole picture onto a quad half its size, a little turned.
    graphic.blitArbitraryQuad(0, 0, 800, 0, 800, 600, 0, 600, 100, 100, 500, 120, 480, 420, 80, 400);
    double area = 0;
    for (const D3D8RecordedDraw& draw : window.device->recordedDraws()) {
        ASSERT_EQ(draw.type, D3DPT_TRIANGLELIST);
        ASSERT_EQ(draw.primitiveCount, 1u);
        std::vector<Vertex> v = verticesOf(draw);
        area += std::fabs((v[1].x - v[0].x) * (v[2].y - v[0].y) - (v[2].x - v[0].x) * (v[1].y - v[0].y)) / 2;
        for (const Vertex& corner : v) {
            EXPECT_GE(corner.u, 0);
            EXPECT_LE(corner.u, 1);
        }
    }
    // Shoelace area of the destination quad.
    const double quad = std::fabs((100.0 * 120 - 500.0 * 100) + (500.0 * 420 - 480.0 * 120) +
                                  (480.0 * 400 - 80.0 * 420) + (80.0 * 100 - 100.0 * 400)) /
                        2;
    EXPECT_NEAR(area, quad, quad * 0.001);
    EXPECT_GT(window.device->recordedDraws().size(), 4u);
}

TEST_F(KGraphicD3DTest, SavePictureRoundTripsThroughPng) {
    TempFolder folder;
    std::vector<uint32_t> pixels(5 * 3);
    for (int i = 0; i < 15; i++) pixels[i] = KImage::pack(uint32_t(i * 10), uint32_t(255 - i), 7, 255);
    KGraphicD3D graphic;
    ASSERT_TRUE(graphic.makePictureFromPixels(pixels.data(), 5, 3, true, true));
    std::string path = folder.file("out.png");
    ASSERT_TRUE(graphic.savePicture(path.c_str(), K_IMAGE_PNG));
    KImage back;
    ASSERT_TRUE(ImageFixtures::readImageFile(path, back));
    ASSERT_EQ(back.getWidth(), 5);
    for (int i = 0; i < 15; i++) EXPECT_EQ(back.getPixels()[i], pixels[i]) << i;
    // A file that cannot be written is a failure.
    EXPECT_FALSE(graphic.savePicture(folder.file("no/such/folder/out.png").c_str(), K_IMAGE_PNG));
}

// Pictures in the 16-bit formats read back with each field at the top of its byte; a format that does not read
// back, and reads that fail, are logged and leave the saved picture transparent black.
TEST_F(KGraphicD3DTest, SixteenBitPicturesReadBackAndFailedReadsAreLogged) {
    TempFolder folder;
    auto savedPixel = [&](KGraphicD3D& graphic) {
        std::string path = folder.file("read.png");
        EXPECT_TRUE(graphic.savePicture(path.c_str(), K_IMAGE_PNG));
        KImage back;
        EXPECT_TRUE(ImageFixtures::readImageFile(path, back));
        return back.getPixels() ? back.getPixel(1, 0) : 0u;
    };
    const uint32_t colour = KImage::pack(0xFF, 0x86, 0x43, 255);
    std::vector<uint32_t> pixels(2, colour);
    struct Case {
        bool alpha, oneBitAlpha, r5g6b5;
        int format;
        uint32_t readBack;
    } cases[] = {
        {false, false, true, D3DFMT_R5G6B5, KImage::pack(0xF8, 0x84, 0x40, 255)},
        {false, false, false, D3DFMT_X1R5G5B5, KImage::pack(0xF8, 0x80, 0x40, 255)},
        {true, true, true, D3DFMT_A1R5G5B5, KImage::pack(0xF8, 0x80, 0x40, 255)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        window.textureSupport[K_PF_R5G6B5] = c.r5g6b5;
        KGraphicD3D graphic;
        graphic.setOneBitAlpha(c.oneBitAlpha);
        ASSERT_TRUE(graphic.makePictureFromPixels(pixels.data(), 2, 1, /*trueColor=*/false, c.alpha));
        ASSERT_EQ(graphic.getTextureFormat(0), c.format);
        EXPECT_EQ(savedPixel(graphic), c.readBack);
    }
    window.textureSupport[K_PF_R5G6B5] = 1;

    KGraphicD3D fourBits;
    ASSERT_TRUE(fourBits.makePictureFromPixels(pixels.data(), 2, 1, false, true));
    ASSERT_EQ(fourBits.getTextureFormat(0), D3DFMT_A4R4G4B4);
    KLog::clearMemoryBuffer();
    EXPECT_EQ(savedPixel(fourBits), 0u);
    EXPECT_EQ(countOf(logText(), "D3D8: unsupported texture format 0x1A in getPixels, ERROR"), 1) << logText();

    KGraphicD3D locked;
    ASSERT_TRUE(locked.makePictureFromPixels(pixels.data(), 2, 1, true, true));
    D3DLOCKED_RECT lock;
    ASSERT_EQ(locked.getTexture(0)->LockRect(0, &lock, nullptr, 0), D3D_OK);
    KLog::clearMemoryBuffer();
    EXPECT_EQ(savedPixel(locked), 0u);
    EXPECT_EQ(countOf(logText(), "D3D8: LockRect returned 0x8876086C for getPixels, ERROR"), 1) << logText();
    locked.getTexture(0)->UnlockRect(0);

    KGraphicD3D target;
    ASSERT_TRUE(target.makeRenderTarget(2, 1, true, true, false));
    window.device->failNextTextureCreations(1);
    KLog::clearMemoryBuffer();
    EXPECT_EQ(savedPixel(target), 0u);
    EXPECT_EQ(countOf(logText(), "D3D8: CreateTexture returned 0x8876017C for getPixels, ERROR"), 1) << logText();
}

TEST_F(KGraphicD3DTest, RenderTargetSizes) {
    struct Case {
        int width, height;
        bool nonSquare;
        float textureWidth, textureHeight;
    } cases[] = {{300, 200, true, 512, 256}, {300, 200, false, 512, 512}, {20, 20, true, 64, 64}};
    for (const Case& c : cases) {
        window.nonSquare = c.nonSquare;
        KGraphicD3D target;
        ASSERT_TRUE(target.makeRenderTarget(c.width, c.height, true, true, false));
        EXPECT_EQ(target.getTextureWidth(), c.textureWidth);
        EXPECT_EQ(target.getTextureHeight(), c.textureHeight);
        EXPECT_EQ(target.getWidth(), float(c.width));
        EXPECT_EQ(target.getTextureFormat(0), D3DFMT_A8R8G8B8);
    }
}

// A render target that is given a picture (from a file or from pixels) becomes a plain picture with that
// picture's pixels; its target texture is not reused for them.
TEST_F(KGraphicD3DTest, ARenderTargetGivenAPictureBecomesAPlainPicture) {
    TempFolder folder;
    std::string path = writePng(folder, "plain.png", 16, 16, KImage::pack(0x11, 0x22, 0x33, 255));
    auto pixels = solid(8, 8, KImage::pack(0x44, 0x55, 0x66, 255));
    for (bool fromFile : {true, false}) {
        KGraphicD3D graphic;
        ASSERT_TRUE(graphic.makeRenderTarget(64, 64, true, true, false));
        if (fromFile)
            ASSERT_TRUE(graphic.loadPicture(path.c_str(), true, true));
        else
            ASSERT_TRUE(graphic.makePictureFromPixels(pixels.data(), 8, 8, true, true));
        EXPECT_FALSE(graphic.isRenderTarget());
        EXPECT_FALSE(graphic.isRenderTargetLost());
        ASSERT_NE(graphic.getTexture(0), nullptr);
        EXPECT_EQ(texel(graphic.getTexture(0), 2, 2), fromFile ? 0xFF112233u : 0xFF445566u);
    }
}

// reloadPicture reads the caller's buffer only when it belongs to the picture as it now is: not after a failed
// makePictureFromPixels of another size, and not once the picture has become a render target.
TEST_F(KGraphicD3DTest, ReloadNeverReadsABufferOfAnotherSize) {
    auto small = solid(4, 4, 0xFF0000FFu);
    auto large = solid(64, 64, 0xFF00FF00u);
    const PictureSplice outside[2] = {{0, 0, 64, 64, 40, 0, 0}, {0, 0, 0, 0, 0, 0, 0}};
    KGraphicD3D failed;
    ASSERT_TRUE(failed.makePictureFromPixels(small.data(), 4, 4, true, true));
    EXPECT_FALSE(failed.makePictureFromPixels(large.data(), 64, 64, true, true, true, outside));
    // The 4 x 4 buffer is no longer the picture's: the reload reads nothing and uploads nothing.
    window.device->clearRecording();
    failed.reloadPicture();
    EXPECT_TRUE(window.device->recordedCalls().empty());

    KGraphicD3D target;
    ASSERT_TRUE(target.makePictureFromPixels(small.data(), 4, 4, true, true));
    ASSERT_TRUE(target.makeRenderTarget(64, 64, true, true, false));
    IDirect3DTexture8* targetTexture = target.getTexture(0);
    // A render target has no pixels of its own to reload: it stays the target it is.
    window.device->clearRecording();
    target.reloadPicture();
    EXPECT_TRUE(window.device->recordedCalls().empty());
    EXPECT_TRUE(target.isRenderTarget());
    EXPECT_EQ(target.getTexture(0), targetTexture);
    EXPECT_EQ(target.getWidth(), 64);
}

TEST_F(KGraphicD3DTest, NestedTargetsReturnToTheEnclosingOneWithoutClearingIt) {
    KGraphicD3D a, b;
    ASSERT_TRUE(a.makeRenderTarget(64, 64, true, true, false));
    ASSERT_TRUE(b.makeRenderTarget(32, 32, true, true, false));
    KGraphicD3DModule& module = graphicD3D();
    int clears = window.clears;
    a.beginRenderToTarget();
    b.beginRenderToTarget();
    EXPECT_EQ(window.clears, clears + 2);
    EXPECT_EQ(window.viewWidth, 32);
    b.endRenderToTarget();
    EXPECT_EQ(module.targetCount, 1);
    EXPECT_EQ(module.targetStack[0], &a);
    EXPECT_EQ(window.clears, clears + 2); // A was not cleared again
    EXPECT_EQ(window.viewWidth, 64);
    EXPECT_TRUE(window.inTarget);
    a.endRenderToTarget();
    EXPECT_EQ(module.targetCount, 0);
    EXPECT_FALSE(window.inTarget);
    EXPECT_EQ(window.viewWidth, 800);

    // A fifth target drops the deepest.
    KGraphicD3D targets[5];
    for (KGraphicD3D& target : targets) {
        ASSERT_TRUE(target.makeRenderTarget(16, 16, true, false, false));
        target.beginRenderToTarget();
    }
    EXPECT_EQ(module.targetCount, 4);
    EXPECT_EQ(module.targetStack[3], &targets[1]);

    // Closing at the end of the frame logs once per open target and returns to the back buffer.
    KLog::clearMemoryBuffer();
    closeRenderTargets();
    EXPECT_EQ(countOf(logText(), "D3D8: missing endRenderToTarget"), 4);
    EXPECT_EQ(module.targetCount, 0);
    EXPECT_FALSE(window.inTarget);
}

TEST_F(KGraphicD3DTest, DeletingTheCurrentTargetReturnsDrawingToTheEnclosingOne) {
    KGraphicD3DModule& module = graphicD3D();
    KGraphicD3D outer;
    ASSERT_TRUE(outer.makeRenderTarget(64, 64, true, true, false));
    outer.beginRenderToTarget();
    auto inner = std::make_unique<KGraphicD3D>();
    ASSERT_TRUE(inner->makeRenderTarget(32, 32, true, true, false));
    inner->beginRenderToTarget();
    inner.reset();
    EXPECT_EQ(module.targetCount, 1);
    EXPECT_EQ(module.targetStack[0], &outer);
    EXPECT_EQ(window.viewWidth, 64);

    auto last = std::make_unique<KGraphicD3D>();
    ASSERT_TRUE(last->makeRenderTarget(16, 16, true, true, false));
    outer.endRenderToTarget();
    last->beginRenderToTarget();
    last.reset();
    EXPECT_EQ(module.targetCount, 0);
    EXPECT_FALSE(window.inTarget);
    EXPECT_EQ(window.viewWidth, 800);
    KLog::clearMemoryBuffer();
    closeRenderTargets();
    EXPECT_EQ(logText().find("missing endRenderToTarget"), std::string::npos);
}

// A target that cannot end itself (the window is gone, or it stopped being a target while current) is still
// deleted, and leaves no trace on the stack.
TEST_F(KGraphicD3DTest, ATargetThatCannotEndIsDeletedWithoutHanging) {
    KGraphicD3DModule& module = graphicD3D();
    auto orphan = std::make_unique<KGraphicD3D>();
    ASSERT_TRUE(orphan->makeRenderTarget(32, 32, true, false, false));
    orphan->beginRenderToTarget();
    releaseDeviceTextures(true); // the window's clean-up: its device goes next
    EXPECT_EQ(module.targetCount, 0);
    orphan.reset();
    resetDrawingState(&window);

    auto changed = std::make_unique<KGraphicD3D>();
    ASSERT_TRUE(changed->makeRenderTarget(32, 32, true, false, false));
    changed->beginRenderToTarget();
    auto pixels = solid(8, 8, 0xFF00FF00u);
    ASSERT_TRUE(changed->makePictureFromPixels(pixels.data(), 8, 8, true, true)); // a plain picture now
    EXPECT_EQ(module.targetCount, 0);
    EXPECT_FALSE(window.inTarget);
    changed.reset();
    EXPECT_EQ(module.targetCount, 0);
}

// A window that draws with a depth surface gets it back, with its back buffer, when a render target ends; one that
// claims a depth surface the device does not have is told so in the log.
TEST_F(KGraphicD3DTest, TheWindowsDepthSurfaceComesBackAfterATarget) {
    IDirect3DDevice8* device = window.device;
    IDirect3DSurface8 *depth = nullptr, *back = nullptr, *current = nullptr;
    ASSERT_EQ(device->CreateDepthStencilSurface(800, 600, D3DFMT_D16, D3DMULTISAMPLE_NONE, &depth), D3D_OK);
    ASSERT_EQ(device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    ASSERT_EQ(device->SetRenderTarget(back, depth), D3D_OK);
    window.depthBuffer = true;
    resetDrawingState(&window);

    KGraphicD3D target;
    ASSERT_TRUE(target.makeRenderTarget(64, 64, true, true, /*depth=*/true));
    target.beginRenderToTarget();
    ASSERT_EQ(device->GetDepthStencilSurface(&current), D3D_OK);
    EXPECT_NE(current, depth); // the target's own
    current->Release();
    target.endRenderToTarget();
    ASSERT_EQ(device->GetDepthStencilSurface(&current), D3D_OK);
    EXPECT_EQ(current, depth);
    current->Release();

    device->SetRenderTarget(back, nullptr);
    back->Release();
    KLog::clearMemoryBuffer();
    resetDrawingState(&window);
    EXPECT_EQ(countOf(logText(), "D3D8: GetStencilDepthBuffer returned 0x88760866, ERROR"), 1) << logText();
    window.depthBuffer = false;
    resetDrawingState(&window);
    depth->Release();
}

TEST_F(KGraphicD3DTest, DeviceResetKeepsManagedPicturesAndRebuildsTargets) {
    auto graphic = picture(16, 16, 0xFF00FF00u);
    IDirect3DTexture8* managed = graphic->getTexture(0);
    KGraphicD3D target;
    ASSERT_TRUE(target.makeRenderTarget(100, 50, true, false, false));
    EXPECT_FALSE(target.isRenderTargetLost());
    target.beginRenderToTarget();
    graphic->blitRect(0, 0, 16, 16, 0, 0);
    target.endRenderToTarget();

    // Releasing before the reset frees only the render targets.
    ASSERT_EQ(window.resetDevice(), D3D_OK);
    EXPECT_EQ(graphic->getTexture(0), managed);
    ASSERT_NE(target.getTexture(0), nullptr);
    EXPECT_EQ(target.getTextureWidth(), 128.0f);
    EXPECT_TRUE(target.isRenderTargetLost());
    EXPECT_FALSE(target.isRenderTargetLost());

    // A picture loaded from a file after being made from pixels is rebuilt from the file, not the old pixels.
    TempFolder folder;
    std::string path = writePng(folder, "later.png", 16, 16, KImage::pack(0x11, 0x22, 0x33, 255));
    auto reused = picture(16, 16, 0xFFFFFFFFu);
    ASSERT_TRUE(reused->loadPicture(path.c_str(), true, true));
    reused->freePicture();
    reused->restorePicture();
    ASSERT_NE(reused->getTexture(0), nullptr);
    EXPECT_EQ(texel(reused->getTexture(0), 2, 2), 0xFF112233u);

    // Release-all frees every picture; a rebuild brings the kept copy back.
    releaseDeviceTextures(true);
    EXPECT_EQ(graphic->getTexture(0), nullptr);
    graphic->blitRect(0, 0, 16, 16, 0, 0); // the device is forgotten: nothing happens
    resetDrawingState(&window);
    graphic->restorePicture();
    ASSERT_NE(graphic->getTexture(0), nullptr);
    EXPECT_EQ(texel(graphic->getTexture(0), 5, 5), 0xFF00FF00u);
}

TEST_F(KGraphicD3DTest, LoadersWaitForALostDevice) {
    window.device->simulateDeviceLost();
    auto pixels = solid(4, 4, 0xFFFFFFFFu);
    KGraphicD3D graphic;
    KLog::clearMemoryBuffer();
    ASSERT_TRUE(graphic.makePictureFromPixels(pixels.data(), 4, 4, true, true));
    EXPECT_GE(window.waits, 1);
    EXPECT_GE(countOf(logText(), "D3D8: device lost, waiting for reset"), 1);
    EXPECT_EQ(window.device->TestCooperativeLevel(), D3D_OK);
}

TEST_F(KGraphicD3DTest, ALoaderStopsWaitingWhenTheProgramQuits) {
    // The device stays lost (a minimised full-screen window) and the user closes the program meanwhile.
    window.device->simulateDeviceLost();
    window.quitDuringWait = true;
    auto pixels = solid(4, 4, 0xFFFFFFFFu);
    KGraphicD3D graphic;
    graphic.makePictureFromPixels(pixels.data(), 4, 4, true, true);
    EXPECT_EQ(window.waits, 1);
}

TEST_F(KGraphicD3DTest, OutOfVideoMemoryFlushesReloadablePicturesAndRetries) {
    TempFolder folder;
    std::string path = writePng(folder, "a.png", 8, 8, KImage::pack(1, 2, 3, 255));
    KGraphicD3D first, second, third;
    ASSERT_TRUE(first.loadPicture(path.c_str(), true, true));
    ASSERT_TRUE(second.loadPicture(path.c_str(), true, true));
    auto pixels = solid(4, 4, 0xFFFFFFFFu);
    ASSERT_TRUE(third.makePictureFromPixels(pixels.data(), 4, 4, true, true)); // no file name: never flushed

    window.device->failNextTextureCreations(2); // the first try and the retry after one flush fail
    KGraphicD3D target;
    KLog::clearMemoryBuffer();
    ASSERT_TRUE(target.makeRenderTarget(64, 64, true, true, false));
    std::string log = logText();
    EXPECT_EQ(countOf(log, "D3D8: out of VRAM for render target, size 64x64, pixel format 21, flushing"), 1);
    EXPECT_EQ(countOf(log, "D3D8: render target created after flushing 2 textures"), 1) << log;
    EXPECT_EQ(first.getTextureCount(), 1); // rebuilt
    EXPECT_EQ(second.getTextureCount(), 1);
    EXPECT_EQ(texel(first.getTexture(0), 1, 1), 0xFF010203u);

    window.device->failNextTextureCreations(1);
    KGraphicD3D one;
    KLog::clearMemoryBuffer();
    ASSERT_TRUE(one.makeRenderTarget(64, 64, true, true, false));
    EXPECT_EQ(countOf(logText(), "D3D8: render target created after flushing 1 texture"), 1) << logText();
    EXPECT_EQ(countOf(logText(), "flushing 1 textures"), 0);

    window.device->failNextTextureCreations(100);
    KGraphicD3D never;
    KLog::clearMemoryBuffer();
    EXPECT_FALSE(never.makeRenderTarget(64, 64, true, true, false));
    EXPECT_EQ(countOf(logText(), "D3D8: CreateSurface (render target) returned 0x8876017C after flushing managed "
                                 "textures, size 64x64, pixel format 21, ERROR"),
              1)
        << logText();
    window.device->failNextTextureCreations(0);
}

TEST(KBatchD3D, VertexBufferCreation) {
    D3DTestWindow window(/*recording=*/true);
    ASSERT_TRUE(window.ok());
    KBatchD3D empty(0, DYNL), unknown(10, 7), batch(10, DYNTL);
    EXPECT_TRUE(createVertexBuffer(&empty));
    EXPECT_EQ(empty.buffer, nullptr);
    EXPECT_FALSE(createVertexBuffer(&unknown));
    EXPECT_TRUE(createVertexBuffer(&batch));
    EXPECT_NE(batch.buffer, nullptr);
    releaseVertexBuffers();
    EXPECT_TRUE(batch.lost);
    EXPECT_EQ(batch.buffer, nullptr);
    EXPECT_EQ(window.resetDevice(), D3D_OK); // no default-pool buffer left to block the reset
    EXPECT_NE(batch.buffer, nullptr);
}

TEST(KGraphicD3DFactory, KindZeroMakesTheDirect3D8BackEnd) {
    int saved = RendererKind;
    RendererKind = K_RENDERER_DIRECT3D8;
    std::unique_ptr<KGraphic> graphic(createGraphic());
    RendererKind = saved;
    EXPECT_NE(dynamic_cast<KGraphicD3D*>(graphic.get()), nullptr);
    // With no window yet, uploads fail and draws do nothing.
    uint32_t pixel = 0xFFFFFFFFu;
    EXPECT_FALSE(graphic->makePictureFromPixels(&pixel, 1, 1, true, true));
    graphic->blitRect(0, 0, 1, 1, 0, 0);
    graphic->fillRect(0, 0, 1, 1, 1, 1, 1, 1);
}
