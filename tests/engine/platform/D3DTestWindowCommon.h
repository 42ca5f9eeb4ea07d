// What the stand-in windows of both Direct3D picture back ends' tests (D3DTestWindow, D3D9TestWindow) share: the
// answers to the back end's questions from settable fields, the game area's placement, and the view and projection
// the game window sets for an unrotated, unzoomed world view, with counters the tests read.
#pragma once

#include "HostD3D8.h"

#include <cstdint>
#include <vector>

template <class Window, class Device> class D3DTestWindowCommon : public Window {
public:
    D3DTestWindowCommon(int width, int height)
        : gameWidth(width), gameHeight(height), areaWidth(width), areaHeight(height), viewWidth(width),
          viewHeight(height) {}

    // Clears the current viewport and remembers the colour for the clears of later world views.
    void clear(D3DCOLOR color) {
        clearColor = color;
        device->Clear(0, nullptr, D3DCLEAR_TARGET, color, 1, 0);
    }

    bool isD3DDeviceLost() override { return lost; }
    void setD3DDeviceLost() override { lost = true; }
    const unsigned char* getTextureFormatSupport() override { return textureSupport; }
    const unsigned char* getRenderTargetFormatSupport() override { return targetSupport; }
    bool hasNonSquareTextures() override { return nonSquare; }
    bool usesDepthBuffer() override { return depthBuffer; }
    int getGameAreaWidth() override { return gameWidth; }
    int getGameAreaHeight() override { return gameHeight; }
    void getGameAreaRect(int& x, int& y, int& width, int& height) override {
        x = areaX;
        y = areaY;
        width = areaWidth;
        height = areaHeight;
    }
    void setTargetView(int newViewWidth, int newViewHeight, int, int) override {
        viewWidth = newViewWidth;
        viewHeight = newViewHeight;
        inTarget = true;
    }
    void restoreGameView() override {
        viewWidth = gameWidth;
        viewHeight = gameHeight;
        inTarget = false;
    }
    void applyWorldView(float x, float y, float, float, bool clearTarget) override {
        worldViews++;
        if (clearTarget) clears++;
        D3DMATRIX projection{}, view{};
        projection.m[0][0] = 2.0f / float(viewWidth);
        projection.m[1][1] = 2.0f / float(viewHeight);
        projection.m[2][2] = 1;
        projection.m[3][3] = 1;
        for (int i = 0; i < 4; i++) view.m[i][i] = 1;
        view.m[3][0] = x - float(viewWidth / 2);
        view.m[3][1] = float(viewHeight / 2) - y;
        device->SetTransform(D3DTS_PROJECTION, &projection);
        device->SetTransform(D3DTS_VIEW, &view);
        if (clearTarget) device->Clear(0, nullptr, D3DCLEAR_TARGET, clearColor, 1, 0);
    }

    Device* device = nullptr;
    int gameWidth, gameHeight;
    int areaX = 0, areaY = 0, areaWidth, areaHeight; // the game area on the back buffer
    int viewWidth, viewHeight;
    bool lost = false, nonSquare = true, inTarget = false;
    bool depthBuffer = false; // the window draws with a depth surface of its own
    int waits = 0, worldViews = 0, clears = 0;
    D3DCOLOR clearColor = 0;
    // X1R5G5B5, R5G6B5, A1R5G5B5, A4R4G4B4, R8G8B8, X8R8G8B8, A8R8G8B8
    unsigned char textureSupport[7] = {1, 1, 1, 1, 0, 1, 1};
    unsigned char targetSupport[7] = {1, 1, 1, 1, 0, 1, 1};
    std::vector<uint32_t> frame;
};
