// The Direct3D 8 window's back buffer as a picture: its pixels converted to R, G, B, A bytes, resized, and saved
// to a file in any image format.
#include "KWindowD3D.h"

#include "KD3DPixels.h"
#include "KImage.h"
#include "KImageFile.h"
#include "KLog.h"

#include <algorithm>

bool KWindowD3D::copyBackBufferToImage(int width, int height, KImage& image) {
    return getBackBufferAsImage(width, height, image);
}

bool KWindowD3D::getBackBufferAsImage(int width, int height, KImage& image) {
    if (!device) return false;
    IDirect3DSurface8* surface = nullptr;
    HRESULT result = device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &surface);
    if (FAILED(result) || !surface) {
        logMessage("D3D8: GetBackBuffer returned 0x%X for getBackBufferAsImage, ERROR", unsigned(result));
        return false;
    }
    D3DSURFACE_DESC desc = {};
    result = surface->GetDesc(&desc);
    if (FAILED(result)) {
        logMessage("D3D8: GetDesc returned 0x%X for getBackBufferAsImage, ERROR", unsigned(result));
        surface->Release();
        return false;
    }
    D3DLOCKED_RECT locked = {};
    result = surface->LockRect(&locked, nullptr, D3DLOCK_READONLY);
    if (FAILED(result)) {
        logMessage("D3D8: LockRect returned 0x%X for getBackBufferAsImage, ERROR", unsigned(result));
        surface->Release();
        return false;
    }
    // The game area must lie inside the surface; a smaller surface gives what it has.
    int areaWidth = std::min(actualWidth, int(desc.Width) - offsetX);
    int areaHeight = std::min(actualHeight, int(desc.Height) - offsetY);
    if (areaWidth <= 0 || areaHeight <= 0) {
        surface->UnlockRect();
        surface->Release();
        logMessage("D3D8: game area lies outside the %ux%u backbuffer in getBackBufferAsImage, ERROR", desc.Width,
                   desc.Height);
        return false;
    }
    uint32_t* pixels = new uint32_t[size_t(areaWidth) * size_t(areaHeight)];
    bool converted = convertBackBufferPixels(desc.Format, static_cast<const uint8_t*>(locked.pBits), locked.Pitch,
                                             offsetX, offsetY, areaWidth, areaHeight, pixels);
    surface->UnlockRect();
    surface->Release();
    if (!converted) {
        logMessage("D3D8: unsupported backbuffer format 0x%X in getBackBufferAsImage, ERROR", unsigned(desc.Format));
        delete[] pixels;
        return false;
    }
    image.adopt(areaWidth, areaHeight, /*alpha=*/false, pixels);
    image.resample(width, height);
    return true;
}

bool KWindowD3D::saveBackBuffer(const char* fileName, int imageFormat, int width, int height) {
    if (width == 0 && height == 0) {
        width = gameWidth;
        height = gameHeight;
    }
    KImage image;
    if (!fileName || !getBackBufferAsImage(width, height, image)) return false;
    return writeImageFile(fileName, image, imageFormat, "D3D8", "saveBackBuffer");
}
