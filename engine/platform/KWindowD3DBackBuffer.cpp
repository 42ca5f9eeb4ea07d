// The Direct3D 8 window's back buffer as a picture: its pixels converted to R, G, B, A bytes, resized, and saved
// to a file in any image format.
#include "KWindowD3D.h"

#include "KImage.h"
#include "KLog.h"
#include "KMiscTools.h"

#include <algorithm>
#include <cstring>

bool convertBackBufferPixels(D3DFORMAT format, const uint8_t* bits, int pitch, int x, int y, int width, int height,
                             uint32_t* out) {
    for (int row = 0; row < height; ++row) {
        const uint8_t* line = bits + size_t(y + row) * size_t(pitch);
        uint32_t* target = out + size_t(row) * size_t(width);
        for (int column = 0; column < width; ++column) {
            uint32_t r, g, b;
            switch (format) {
            case D3DFMT_R5G6B5: {
                uint16_t value;
                std::memcpy(&value, line + size_t(x + column) * 2, 2);
                r = (value >> 8) & 0xF8;
                g = (value >> 3) & 0xFC;
                b = (value << 3) & 0xF8;
                break;
            }
            case D3DFMT_X1R5G5B5:
            case D3DFMT_A1R5G5B5: {
                uint16_t value;
                std::memcpy(&value, line + size_t(x + column) * 2, 2);
                r = (value >> 7) & 0xF8;
                g = (value >> 2) & 0xF8;
                b = (value << 3) & 0xF8;
                break;
            }
            case D3DFMT_X8R8G8B8:
            case D3DFMT_A8R8G8B8: {
                uint32_t value;
                std::memcpy(&value, line + size_t(x + column) * 4, 4);
                r = (value >> 16) & 0xFF;
                g = (value >> 8) & 0xFF;
                b = value & 0xFF;
                break;
            }
            default:
                return false;
            }
            target[column] = KImage::pack(r, g, b, 255);
        }
    }
    return true;
}

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
    unsigned char* bytes = nullptr;
    size_t size = 0;
    if (!KImage::encode(ImageFormat(imageFormat), bytes, size, image)) {
        logMessage("D3D8: failed to encode image in format %d for saveBackBuffer", imageFormat);
        return false;
    }
    bool written = KMiscTools::writeFileReplacing(fileName, bytes, size);
    delete[] bytes;
    if (!written) {
        logMessage("D3D8: failed to write '%s' for saveBackBuffer", fileName);
        return false;
    }
    return true;
}
