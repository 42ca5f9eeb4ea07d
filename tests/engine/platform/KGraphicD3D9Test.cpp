// The Direct3D 9 picture back end over the recording Direct3D 9 stand-in: where it differs from the Direct3D 8
// back end (the high-resolution probe, the flat FxXY quad, the transformed blits, quads and batches, copyToImage,
// the back buffer read through the device, GetRenderTargetData, sampler states, SetFVF, the separate render target
// and depth calls, the "D3D9: " log lines), and that it keeps its own pictures and state apart.
#include "KGraphicD3D9.h"

#include "D3D9TestWindow.h"
#include "D3DTestWindow.h"
#include "ImageFixtures.h"
#include "KBatchD3D.h"
#include "KBatchD3D9.h"
#include "KBatchD3DCore.h"
#include "KBatchGL.h"
#include "KGraphicD3D.h"
#include "KGraphicD3D9State.h"
#include "KGraphicFactory.h"
#include "KLog.h"
#include "KPixelShaderD3D9.h"
#include "TempFolder.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>

namespace {

std::string logText() {
    return std::string(KLog::memoryBuffer(), KLog::memoryBufferUsed());
}

std::string writePng(const TempFolder& folder, const std::string& name, int width, int height, uint32_t pixel) {
    KImage image;
    image.allocate(width, height, false);
    for (int i = 0; i < width * height; i++) image.getPixels()[i] = pixel;
    unsigned char* bytes = nullptr;
    size_t size = 0;
    EXPECT_TRUE(KImage::encode(K_IMAGE_PNG, bytes, size, image));
    std::string path = folder.write(name, std::string(reinterpret_cast<char*>(bytes), size));
    delete[] bytes;
    return path;
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

// A vertex position through the world matrix of its draw (row vector x world).
void throughWorld(const D3D8RecordedDraw& draw, const Vertex& v, float& x, float& y) {
    const auto& m = draw.state.world.m;
    x = v.x * m[0][0] + v.y * m[1][0] + m[3][0];
    y = v.x * m[0][1] + v.y * m[1][1] + m[3][1];
}

int callCount(IDirect3DDevice9* device, D3D9Call call, uint32_t a = ~0u, uint32_t b = ~0u, uint32_t c = ~0u) {
    int count = 0;
    for (const D3D9RecordedCall& entry : device->recordedCalls())
        if (entry.call == call && (a == ~0u || entry.a == a) && (b == ~0u || entry.b == b) &&
            (c == ~0u || entry.c == c))
            count++;
    return count;
}

std::vector<uint32_t> pattern(int width, int height) {
    std::vector<uint32_t> pixels(size_t(width) * size_t(height));
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            pixels[size_t(y) * size_t(width) + size_t(x)] = KImage::pack(uint32_t(x * 17), uint32_t(y * 29), 77, 255);
    return pixels;
}

class KGraphicD3D9Test : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(window.ok());
        KLog::clearMemoryBuffer();
        window.device->clearRecording();
    }
    std::unique_ptr<KGraphicD3D9> picture(int width, int height) {
        auto made = std::make_unique<KGraphicD3D9>();
        std::vector<uint32_t> pixels = pattern(width, height);
        EXPECT_TRUE(made->makePictureFromPixels(pixels.data(), width, height, true, true));
        window.device->clearRecording();
        return made;
    }
    const std::vector<D3D8RecordedDraw>& draws() { return window.core()->recordedDraws(); }

    D3D9TestWindow window{/*recording=*/true};
};

} // namespace

TEST(KGraphicD3D9Factory, KindThreeMakesTheDirect3D9BackEnd) {
    int saved = RendererKind;
    RendererKind = K_RENDERER_DIRECT3D9;
    std::unique_ptr<KGraphic> made(createGraphic());
    RendererKind = saved;
    ASSERT_NE(made, nullptr);
    EXPECT_NE(dynamic_cast<KGraphicD3D9*>(made.get()), nullptr);
}

TEST(KGraphicD3D9NoWindow, UploadsFailAndDrawsDoNothing) {
    // As in the program, where no window hands this back end a device.
    KGraphicD3D9 graphic;
    std::vector<uint32_t> pixels = pattern(4, 4);
    EXPECT_FALSE(graphic.makePictureFromPixels(pixels.data(), 4, 4, true, true));
    EXPECT_FALSE(graphic.makeRenderTarget(16, 16, true, true, false));
    EXPECT_FALSE(graphic.grabBackBuffer());
    graphic.blitAlphaRect(0, 0, 4, 4, 0, 0);
    graphic.fillRect(0, 0, 10, 10, 1, 1, 1, 1);
    d3d9::fillRectBlended(0, 0, 10, 10, 1, 1, 1, 1);
    EXPECT_EQ(graphic.getTextureCount(), 0);
}

TEST_F(KGraphicD3D9Test, HighResolutionVariantIsReadOnlyAtResolutionScaleTwo) {
    TempFolder folder;
    std::string path = writePng(folder, "pic.png", 4, 4, KImage::pack(1, 2, 3, 255));
    std::string plainOnly = writePng(folder, "plain.png", 4, 4, KImage::pack(1, 2, 3, 255));
    writePng(folder, "ipad3res_pic.png", 8, 8, KImage::pack(9, 9, 9, 255));
    struct Case {
        float resolutionScale;
        const std::string& file;
        float pictureScale, width;
    } cases[] = {
        {1.0f, path, 1, 4},      // the variant beside it is not read
        {2.0f, path, 2, 8},      // the variant is read
        {2.000001f, path, 2, 8}, // within 0.00001 of 2
        {1.99f, path, 1, 4},     // not
        {2.0f, plainOnly, 1, 4}, // no variant: the file itself
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.resolutionScale << " " << c.file);
        window.resolutionScale = c.resolutionScale;
        KGraphicD3D9 graphic;
        ASSERT_TRUE(graphic.loadPicture(c.file.c_str(), true, true));
        EXPECT_EQ(graphic.getPictureScale(), c.pictureScale);
        EXPECT_EQ(graphic.getWidth(), c.width);
    }
}

TEST_F(KGraphicD3D9Test, SamplerStatesAndSetFvfReplaceTextureStageStates) {
    auto graphic = picture(8, 8);
    graphic->setLinearFiltering(true);
    graphic->setTextureWrap(K_WRAP_REPEAT);
    graphic->blitAlphaRect(0, 0, 8, 8, 10, 10);
    IDirect3DDevice9* device = window.device;
    EXPECT_EQ(callCount(device, D3D9Call::SetSamplerState, 0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR), 1);
    EXPECT_EQ(callCount(device, D3D9Call::SetSamplerState, 0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR), 1);
    EXPECT_EQ(callCount(device, D3D9Call::SetSamplerState, 0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR), 1);
    EXPECT_EQ(callCount(device, D3D9Call::SetSamplerState, 0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP), 1);
    EXPECT_EQ(callCount(device, D3D9Call::SetSamplerState, 0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP), 1);
    EXPECT_EQ(callCount(device, D3D9Call::SetTextureStageState), 0);
    EXPECT_EQ(callCount(device, D3D9Call::SetFVF, D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1), 1);
    ASSERT_EQ(draws().size(), 1u);
    EXPECT_EQ(draws()[0].state.stage[0].magFilter, uint32_t(D3DTEXF_LINEAR));
    EXPECT_EQ(draws()[0].state.stage[0].addressU, uint32_t(D3DTADDRESS_WRAP));

    // The masked blit sets the mask's filter and address mode on sampler 1; only the operations are stage states.
    auto mask = picture(8, 8);
    window.device->clearRecording();
    graphic->blitAlphaRectMasked(0, 0, 8, 8, mask.get(), 0, 0, 8, 8, 0, 0, 8, 8);
    EXPECT_EQ(callCount(device, D3D9Call::SetSamplerState, 1, D3DSAMP_MAGFILTER, D3DTEXF_POINT), 1);
    EXPECT_EQ(callCount(device, D3D9Call::SetSamplerState, 1, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP), 1);
    EXPECT_EQ(callCount(device, D3D9Call::SetTextureStageState, 1, D3DTSS_ALPHAOP), 2); // modulate, then disable
    EXPECT_EQ(callCount(device, D3D9Call::SetFVF, D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX2), 1);
    EXPECT_EQ(callCount(device, D3D9Call::DrawPrimitiveUP, D3DPT_TRIANGLESTRIP, 2, D3D_OK), 1);
}

TEST_F(KGraphicD3D9Test, BlitAlphaRectFxXYChecksOnlyZoomXAndAlpha) {
    auto graphic = picture(8, 8);
    struct Case {
        float zoomX, zoomY, alpha;
        bool drawn;
    } cases[] = {{2, 3, 1, true}, {2, 0, 1, true}, {2, -1, 1, true}, {0, 1, 1, false}, {1, 1, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.zoomX << " " << c.zoomY << " " << c.alpha);
        window.device->clearRecording();
        graphic->blitAlphaRectFxXY(0, 0, 8, 8, 100, 100, 0, c.zoomX, c.zoomY, c.alpha);
        ASSERT_EQ(draws().size(), c.drawn ? 1u : 0u);
        if (!c.drawn) continue;
        std::vector<Vertex> quad = verticesOf(draws()[0]);
        float x0, y0, x3, y3;
        throughWorld(draws()[0], quad[0], x0, y0);
        throughWorld(draws()[0], quad[3], x3, y3);
        EXPECT_FLOAT_EQ(x3 - x0, 8 * c.zoomX);
        EXPECT_FLOAT_EQ(y0 - y3, 8 * c.zoomY); // zoomY 0: a flat quad
    }

    // A spliced picture goes through the spliced walk with zoom = zoomX.
    std::vector<uint32_t> big(600 * 300, KImage::pack(1, 2, 3, 255));
    KGraphicD3D9 spliced;
    ASSERT_TRUE(spliced.makePictureFromPixels(big.data(), 600, 300, true, true, /*splice=*/true));
    ASSERT_GT(spliced.getSpliceCount(), 1);
    window.device->clearRecording();
    spliced.blitAlphaRectFxXY(0, 0, 600, 300, 0, 0, 0, 2, 5, 1);
    ASSERT_GE(draws().size(), 2u);
    for (const D3D8RecordedDraw& draw : draws()) {
        EXPECT_FLOAT_EQ(draw.state.world.m[0][0], 2);
        EXPECT_FLOAT_EQ(draw.state.world.m[1][1], 2);
    }
}

TEST_F(KGraphicD3D9Test, TransformedBlitsQuadsAndBatches) {
    auto graphic = picture(8, 8); // texture 8 x 8
    const KGraphicColor topLeft{1, 0, 0, 1}, topRight{0, 1, 0, 0.5f}, bottomLeft{0, 0, 1, 1};
    graphic->blitTransformedEx(2, 0, 6, 4, 2, 0, 100, 0, 3, 50, 0.5f, &topLeft, &topRight, &bottomLeft, nullptr);
    ASSERT_EQ(draws().size(), 1u);
    const D3D8RecordedDraw& ex = draws()[0];
    // The affine world: x' = 2 x + 100, y' = 3 y + 50 in game-area pixels, y negated for the device.
    EXPECT_FLOAT_EQ(ex.state.world.m[0][0], 2);
    EXPECT_FLOAT_EQ(ex.state.world.m[1][1], 3);
    EXPECT_FLOAT_EQ(ex.state.world.m[3][0], 100);
    EXPECT_FLOAT_EQ(ex.state.world.m[3][1], -50);
    EXPECT_TRUE(ex.state.alphaBlend);
    std::vector<Vertex> quad = verticesOf(ex);
    ASSERT_EQ(quad.size(), 4u);
    struct Corner {
        float x, y, u, v;
        uint32_t color;
    } corners[4] = {{0, 0, 0.25f, 0, 0x7FFF0000u},
                    {4, 0, 0.75f, 0, 0x3F00FF00u},
                    {0, -4, 0.25f, 0.5f, 0x7F0000FFu},
                    {4, -4, 0.75f, 0.5f, 0x7FFFFFFFu}}; // no record: white
    for (int i = 0; i < 4; i++) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(quad[i].x, corners[i].x);
        EXPECT_FLOAT_EQ(quad[i].y, corners[i].y);
        EXPECT_FLOAT_EQ(quad[i].u, corners[i].u);
        EXPECT_FLOAT_EQ(quad[i].v, corners[i].v);
        EXPECT_EQ(quad[i].color, corners[i].color);
    }

    // drawTransformedEx: points 1, 2, 4, 3 at (x, -y), one colour.
    window.device->clearRecording();
    graphic->drawTransformedEx(0, 0, 8, 4, 1, 0, 0, 0, 1, 0, 10, 20, 30, 20, 30, 40, 10, 40, 1, 1, 1, 1);
    ASSERT_EQ(draws().size(), 1u);
    quad = verticesOf(draws()[0]);
    const float expected[4][4] = {{10, -20, 0, 0}, {30, -20, 1, 0}, {10, -40, 0, 0.5f}, {30, -40, 1, 0.5f}};
    for (int i = 0; i < 4; i++) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(quad[i].x, expected[i][0]);
        EXPECT_FLOAT_EQ(quad[i].y, expected[i][1]);
        EXPECT_FLOAT_EQ(quad[i].u, expected[i][2]);
        EXPECT_FLOAT_EQ(quad[i].v, expected[i][3]);
        EXPECT_EQ(quad[i].color, 0xFFFFFFFFu);
    }

    // A batch of 5 vertices is one strip of 3 triangles, its vertices as handed in.
    const KBatchVertex vertices[5] = {{0, 0, 0, 0xFF000001u, 0, 0},
                                      {1, 0, 0, 0xFF000002u, 1, 0},
                                      {0, -1, 0, 0xFF000003u, 0, 1},
                                      {1, -1, 0, 0xFF000004u, 1, 1},
                                      {2, -1, 0, 0xFF000005u, 1, 1}};
    KBatchD3DVertices batch;
    batch.vertices = vertices;
    batch.vertexCount = 5;
    window.device->clearRecording();
    graphic->drawBatchTransformed(&batch, 1, 0, 5, 0, 1, 6);
    ASSERT_EQ(draws().size(), 1u);
    EXPECT_EQ(draws()[0].type, D3DPT_TRIANGLESTRIP);
    EXPECT_EQ(draws()[0].primitiveCount, 3u);
    EXPECT_EQ(std::memcmp(draws()[0].vertices.data(), vertices, sizeof vertices), 0);
    EXPECT_FLOAT_EQ(draws()[0].state.world.m[3][1], -6);

    // Nothing for alpha at or below 0, a spliced picture or a batch of fewer than three vertices.
    window.device->clearRecording();
    graphic->blitTransformedEx(0, 0, 8, 8, 1, 0, 0, 0, 1, 0, 0, &topLeft, &topLeft, &topLeft, &topLeft);
    graphic->drawTransformedEx(0, 0, 8, 4, 1, 0, 0, 0, 1, 0, 10, 20, 30, 20, 30, 40, 10, 40, 1, 1, 1, 0);
    batch.vertexCount = 2;
    graphic->drawBatchTransformed(&batch, 1, 0, 0, 0, 1, 0);
    graphic->drawBatchTransformed(nullptr, 1, 0, 0, 0, 1, 0);
    KBatchGL otherRecord(4); // another back end's batch record
    graphic->drawBatchTransformed(&otherRecord, 1, 0, 0, 0, 1, 0);
    std::vector<uint32_t> big(600 * 300, KImage::pack(1, 2, 3, 255));
    KGraphicD3D9 spliced;
    ASSERT_TRUE(spliced.makePictureFromPixels(big.data(), 600, 300, true, true, /*splice=*/true));
    window.device->clearRecording();
    batch.vertexCount = 5;
    spliced.blitTransformedEx(0, 0, 8, 8, 1, 0, 0, 0, 1, 0, 1, &topLeft, &topLeft, &topLeft, &topLeft);
    spliced.drawTransformedEx(0, 0, 8, 4, 1, 0, 0, 0, 1, 0, 10, 20, 30, 20, 30, 40, 10, 40, 1, 1, 1, 1);
    spliced.drawBatchTransformed(&batch, 1, 0, 0, 0, 1, 0);
    EXPECT_EQ(draws().size(), 0u);
}

TEST_F(KGraphicD3D9Test, CopyToImageReadsThePictureAsSavePictureDoes) {
    std::vector<uint32_t> pixels = pattern(5, 3);
    KGraphicD3D9 graphic;
    ASSERT_TRUE(graphic.makePictureFromPixels(pixels.data(), 5, 3, true, true));
    KImage copy;
    graphic.copyToImage(&copy);
    ASSERT_EQ(copy.getWidth(), 5);
    ASSERT_EQ(copy.getHeight(), 3);
    EXPECT_TRUE(copy.getHasAlpha());
    EXPECT_EQ(std::memcmp(copy.getPixels(), pixels.data(), pixels.size() * 4), 0);

    TempFolder folder;
    std::string path = folder.file("saved.png");
    ASSERT_TRUE(graphic.savePicture(path.c_str(), K_IMAGE_PNG));
    KImage saved;
    ASSERT_TRUE(ImageFixtures::readImageFile(path, saved));
    EXPECT_EQ(std::memcmp(saved.getPixels(), copy.getPixels(), pixels.size() * 4), 0);

    // A render target is read through GetRenderTargetData.
    KGraphicD3D9 target;
    ASSERT_TRUE(target.makeRenderTarget(20, 10, true, true, false));
    window.device->clearRecording();
    target.copyToImage(&copy);
    EXPECT_EQ(copy.getWidth(), 20);
    EXPECT_EQ(callCount(window.device, D3D9Call::GetRenderTargetData, D3D_OK), 1);
}

TEST_F(KGraphicD3D9Test, GrabBackBufferReadsTheGameAreaThroughTheDevice) {
    struct Case {
        const char* name;
        int backWidth, backHeight, areaX, areaY, areaWidth, areaHeight;
        D3DFORMAT format;
        uint32_t red; // the game area's colour as read back
    } cases[] = {
        {"back buffer of game size", 200, 100, 0, 0, 200, 100, D3DFMT_X8R8G8B8, KImage::pack(255, 0, 0, 255)},
        {"game area placed inside bars", 260, 140, 30, 20, 200, 100, D3DFMT_X8R8G8B8, KImage::pack(255, 0, 0, 255)},
        {"game area at twice the size, resized to the game size", 460, 220, 30, 10, 400, 200, D3DFMT_X8R8G8B8,
         KImage::pack(255, 0, 0, 255)},
        {"16-bit back buffer, fields shifted to the top of the byte", 260, 140, 30, 20, 200, 100, D3DFMT_R5G6B5,
         KImage::pack(248, 0, 0, 255)},
        {"15-bit back buffer", 200, 100, 0, 0, 200, 100, D3DFMT_X1R5G5B5, KImage::pack(248, 0, 0, 255)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        D3D9TestWindow grabWindow(true, 200, 100, c.backWidth, c.backHeight, 0, 0, {}, c.format);
        ASSERT_TRUE(grabWindow.ok());
        grabWindow.areaX = c.areaX;
        grabWindow.areaY = c.areaY;
        grabWindow.areaWidth = c.areaWidth;
        grabWindow.areaHeight = c.areaHeight;
        // Bars blue, the game area red.
        D3DVIEWPORT9 whole = {0, 0, uint32_t(c.backWidth), uint32_t(c.backHeight), 0, 1};
        grabWindow.device->SetViewport(&whole);
        grabWindow.clear(0xFF0000FFu);
        grabWindow.setGameViewport();
        grabWindow.clear(0xFFFF0000u);
        KGraphicD3D9 grabbed;
        ASSERT_TRUE(grabbed.grabBackBuffer());
        EXPECT_EQ(grabbed.getWidth(), 200);
        EXPECT_EQ(grabbed.getHeight(), 100);
        KImage copy;
        grabbed.copyToImage(&copy);
        int notRed = 0;
        for (int i = 0; i < 200 * 100; i++) notRed += copy.getPixels()[i] != c.red;
        EXPECT_EQ(notRed, 0);
        EXPECT_EQ(grabbed.getTextureFormat(0), D3DFMT_X8R8G8B8); // true colour, no alpha

        // No system-memory copy of the back buffer can be made: the grab fails with its line.
        KLog::clearMemoryBuffer();
        grabWindow.core()->failNextTextureCreations(1);
        KGraphicD3D9 failed;
        EXPECT_FALSE(failed.grabBackBuffer());
        EXPECT_NE(logText().find("D3D9: CreateTexture returned 0x8876017C for getBackBufferAsImage, ERROR"),
                  std::string::npos);
    }
    d3d9::resetDrawingState(&window);
}

TEST_F(KGraphicD3D9Test, RenderTargetsSetTargetAndDepthApartAndNestUnderTheirOwnStack) {
    KGraphicD3D9 outer, inner;
    ASSERT_TRUE(outer.makeRenderTarget(300, 200, true, true, false));
    ASSERT_TRUE(inner.makeRenderTarget(20, 20, true, true, false));
    EXPECT_EQ(outer.getTextureWidth(), 512);
    EXPECT_EQ(outer.getTextureHeight(), 256);
    EXPECT_EQ(inner.getTextureWidth(), 64);
    window.device->clearRecording();
    outer.beginRenderToTarget();
    inner.beginRenderToTarget();
    inner.endRenderToTarget();
    outer.fillRect(0, 0, 4, 4, 1, 1, 1, 1); // drawn into the enclosing target again
    outer.endRenderToTarget();
    IDirect3DDevice9* device = window.device;
    EXPECT_EQ(callCount(device, D3D9Call::SetRenderTarget, 0, 0), 3); // outer, inner, outer again
    EXPECT_EQ(callCount(device, D3D9Call::SetRenderTarget, 0, 1), 2); // back to the back buffer twice
    EXPECT_EQ(callCount(device, D3D9Call::SetDepthStencilSurface, 0), 5);
    EXPECT_EQ(window.clears, 3); // the first begin of each (and the window's own at start), not the re-begin
    ASSERT_EQ(draws().size(), 1u);
    IDirect3DSurface9* outerSurface = nullptr;
    outer.getTexture(0)->GetSurfaceLevel(0, &outerSurface);
    EXPECT_EQ(draws()[0].state.renderTarget, outerSurface);
    outerSurface->Release();
    EXPECT_EQ(draws()[0].state.viewport.Width, 300u);

    // A target left open at the end of the frame is closed with the Direct3D 9 line.
    inner.beginRenderToTarget();
    d3d9::closeRenderTargets();
    EXPECT_NE(logText().find("D3D9: missing endRenderToTarget"), std::string::npos);
    EXPECT_EQ(logText().find("D3D8: "), std::string::npos);
}

TEST_F(KGraphicD3D9Test, DeviceResetRebuildsTargetsAndKeepsManagedPictures) {
    auto managed = picture(8, 8);
    KGraphicD3D9 target;
    ASSERT_TRUE(target.makeRenderTarget(32, 32, true, false, false));
    EXPECT_FALSE(target.isRenderTargetLost());
    IDirect3DTexture9* managedTexture = managed->getTexture(0);
    ASSERT_EQ(window.resetDevice(), D3D_OK);
    EXPECT_EQ(managed->getTexture(0), managedTexture);
    ASSERT_NE(target.getTexture(0), nullptr);
    EXPECT_TRUE(target.isRenderTargetLost());
    EXPECT_FALSE(target.isRenderTargetLost());
}

TEST_F(KGraphicD3D9Test, OutOfVideoMemoryFlushLogsWithTheDirect3D9Prefix) {
    TempFolder folder;
    std::string path = writePng(folder, "reloadable.png", 16, 16, KImage::pack(5, 6, 7, 255));
    KGraphicD3D9 reloadable;
    ASSERT_TRUE(reloadable.loadPicture(path.c_str(), true, true));
    window.core()->failNextTextureCreations(1);
    KGraphicD3D9 target;
    ASSERT_TRUE(target.makeRenderTarget(64, 64, true, true, false));
    EXPECT_NE(logText().find("D3D9: out of VRAM for render target, size 64x64, pixel format 21, flushing"),
              std::string::npos);
    EXPECT_NE(logText().find("D3D9: render target created after flushing 1 texture"), std::string::npos);
    EXPECT_EQ(logText().find("flushing 1 textures"), std::string::npos);
    EXPECT_NE(reloadable.getTexture(0), nullptr); // loaded again
}

TEST_F(KGraphicD3D9Test, VertexBuffersAndPixelShadersOfTheirOwnLists) {
    KBatchD3D9 none(0, DYNL), lit(10, DYNL), unknown(4, 7);
    EXPECT_TRUE(d3d9::createVertexBuffer(&none));
    EXPECT_EQ(none.buffer, nullptr);
    EXPECT_TRUE(d3d9::createVertexBuffer(&lit));
    EXPECT_NE(lit.buffer, nullptr);
    EXPECT_FALSE(d3d9::createVertexBuffer(&unknown));
    d3d9::releaseVertexBuffers();
    EXPECT_TRUE(lit.lost);
    EXPECT_EQ(lit.buffer, nullptr);
    d3d9::restoreVertexBuffers();
    EXPECT_NE(lit.buffer, nullptr);
    EXPECT_EQ(KBatchD3D::list().count, 0);

    // The stand-in has no pixel shaders: making one fails with the Direct3D 9 line.
    const uint32_t code[2] = {0xFFFF0101u, 0x0000FFFFu};
    KPixelShaderD3D9 shader(code);
    EXPECT_FALSE(shader.create());
    EXPECT_EQ(shader.handle, nullptr);
    EXPECT_NE(logText().find("D3D9: CreatePixelShader returned 0x8876086A, ERROR"), std::string::npos);
}

TEST_F(KGraphicD3D9Test, KeepsItsPicturesAndStateApartFromTheDirect3D8BackEnd) {
    D3DTestWindow window8(/*recording=*/true);
    ASSERT_TRUE(window8.ok());
    std::vector<uint32_t> pixels = pattern(4, 4);
    KGraphicD3D picture8;
    KGraphicD3D9 picture9;
    ASSERT_TRUE(picture8.makePictureFromPixels(pixels.data(), 4, 4, true, true));
    ASSERT_TRUE(picture9.makePictureFromPixels(pixels.data(), 4, 4, true, true));
    EXPECT_EQ(KGraphicD3D9::list().count, 1);
    EXPECT_EQ(KGraphicD3D::list().count, 1);
    window8.device->clearRecording();
    window.device->clearRecording();
    picture9.blitRect(0, 0, 4, 4, 0, 0);
    picture8.blitRect(0, 0, 4, 4, 0, 0);
    picture9.blitRect(0, 0, 4, 4, 0, 0); // texture and states cached apart: no rebinding
    EXPECT_EQ(draws().size(), 2u);
    EXPECT_EQ(window8.device->recordedDraws().size(), 1u);
    EXPECT_EQ(callCount(window.device, D3D9Call::SetTexture, 0, 1), 1);
}
