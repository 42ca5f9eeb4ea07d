// KImage: the pixel array and its ownership, the choice of codec by extension, and the two
// in-place resizers (four-tap resampling and 2x2 halving) used before texture uploads.
#include "KImage.h"

#include "KImageHandlerBmp.h"
#include "KImageHandlerGif.h"
#include "KImageHandlerJpg.h"
#include "KImageHandlerPng.h"
#include "KImageHandlerTga.h"
#include "KLog.h"

#include <cstring>
#include <new>
#include <strings.h>

namespace {
constexpr int kJpegQuality = 94;

KImageHandler* makeHandler(ImageFormat format) {
    switch (format) {
    case K_IMAGE_BMP:
        return new (std::nothrow) KImageHandlerBmp;
    case K_IMAGE_JPG:
        return new (std::nothrow) KImageHandlerJpg;
    case K_IMAGE_TGA:
        return new (std::nothrow) KImageHandlerTga;
    case K_IMAGE_PNG:
        return new (std::nothrow) KImageHandlerPng;
    case K_IMAGE_GIF:
        return new (std::nothrow) KImageHandlerGif;
    default:
        return nullptr;
    }
}

// Average of four pixels per channel, each sum shifted right by 2.
uint32_t average4(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t sum = ((a >> shift) & 0xFF) + ((b >> shift) & 0xFF) + ((c >> shift) & 0xFF) + ((d >> shift) & 0xFF);
        result |= (sum >> 2) << shift;
    }
    return result;
}
} // namespace

KImage::~KImage() {
    delete[] pixels;
}

ImageFormat KImage::getFormatFromName(const char* name) {
    // The whole name is read, however long its folders make it: only the text from its last '.' counts.
    if (!name) return K_IMAGE_UNKNOWN;
    const char* dot = strrchr(name, '.');
    if (!dot) return K_IMAGE_UNKNOWN;
    if (strcasecmp(dot, ".bmp") == 0) return K_IMAGE_BMP;
    if (strcasecmp(dot, ".jpg") == 0) return K_IMAGE_JPG;
    if (strcasecmp(dot, ".tga") == 0) return K_IMAGE_TGA;
    if (strcasecmp(dot, ".png") == 0) return K_IMAGE_PNG;
    if (strcasecmp(dot, ".gif") == 0) return K_IMAGE_GIF;
    return K_IMAGE_UNKNOWN;
}

bool KImage::decode(ImageFormat format, const unsigned char* data, size_t size, KImage& image) {
    KImageHandler* handler = makeHandler(format);
    if (!handler) return false;
    bool result = handler->decode(data, size, image);
    delete handler;
    return result;
}

bool KImage::encode(ImageFormat format, unsigned char*& data, size_t& size, const KImage& image) {
    KImageHandler* handler = makeHandler(format);
    if (!handler) return false;
    bool result = handler->encode(data, size, image, kJpegQuality);
    delete handler;
    return result;
}

bool KImage::sizeAllowed(int64_t pictureWidth, int64_t pictureHeight) {
    return pictureWidth >= 0 && pictureHeight >= 0 && pictureWidth <= kMaxSide && pictureHeight <= kMaxSide &&
           pictureWidth * pictureHeight <= kMaxPixels;
}

bool KImage::allocate(int32_t newWidth, int32_t newHeight, bool alpha) {
    if (!sizeAllowed(newWidth, newHeight)) {
        logMessage("Image: a picture of %dx%d pixels is too large", newWidth, newHeight);
        return false;
    }
    uint32_t* fresh = nullptr;
    size_t count = size_t(newWidth) * size_t(newHeight);
    if (count > 0) {
        fresh = new (std::nothrow) uint32_t[count]();
        if (!fresh) {
            logMessage("Image: out of memory for a picture of %dx%d pixels", newWidth, newHeight);
            return false;
        }
    }
    adopt(newWidth, newHeight, alpha, fresh);
    return true;
}

void KImage::adopt(int32_t newWidth, int32_t newHeight, bool alpha, uint32_t* newPixels) {
    if (newPixels != pixels) delete[] pixels;
    width = newWidth;
    height = newHeight;
    hasAlpha = alpha;
    pixels = newPixels;
}

uint32_t* KImage::release() {
    uint32_t* given = pixels;
    pixels = nullptr;
    width = 0;
    height = 0;
    return given;
}

bool KImage::copyFrom(const KImage& other) {
    if (&other == this) return true;
    size_t count = size_t(other.width) * size_t(other.height);
    uint32_t* fresh = nullptr;
    if (other.pixels && count > 0) {
        fresh = new (std::nothrow) uint32_t[count];
        if (!fresh) {
            logMessage("Image: out of memory for a picture of %dx%d pixels", other.width, other.height);
            return false;
        }
        memcpy(fresh, other.pixels, count * sizeof(uint32_t));
    }
    adopt(fresh ? other.width : 0, fresh ? other.height : 0, other.hasAlpha, fresh);
    return true;
}

void KImage::clear() {
    adopt(0, 0, false, nullptr);
}

uint32_t* KImage::resizedPixels(int32_t newWidth, int32_t newHeight) const {
    if (width <= 0 || height <= 0 || !pixels) return nullptr;
    if (newWidth <= 0 || newHeight <= 0 || (newWidth == width && newHeight == height)) return nullptr;
    if (!sizeAllowed(newWidth, newHeight)) {
        logMessage("Image: cannot resize a picture to %dx%d pixels", newWidth, newHeight);
        return nullptr;
    }
    uint32_t* fresh = new (std::nothrow) uint32_t[size_t(newWidth) * size_t(newHeight)];
    if (!fresh) logMessage("Image: out of memory for a picture of %dx%d pixels", newWidth, newHeight);
    return fresh;
}

void KImage::resample(int32_t newWidth, int32_t newHeight) {
    uint32_t* fresh = resizedPixels(newWidth, newHeight);
    if (!fresh) return;

    // Positions are 16.16 fixed point, starting half a pixel in. Taps left of or above the picture
    // are replaced by the pixel nearest the position.
    const uint32_t stepX = uint32_t((int64_t(width) << 16) / newWidth);
    const uint32_t stepY = uint32_t((int64_t(height) << 16) / newHeight);
    auto inside = [this](int64_t x, int64_t y) { return x >= 0 && y >= 0 && x < width && y < height; };
    uint64_t posY = 0x8000;
    uint32_t* out = fresh;
    for (int32_t y = 0; y < newHeight; y++, posY += stepY) {
        int64_t fy = int64_t(posY >> 16);
        int64_t nearY = int64_t((posY + 0x8000) >> 16) - 1;
        uint64_t posX = 0x8000;
        for (int32_t x = 0; x < newWidth; x++, posX += stepX) {
            int64_t fx = int64_t(posX >> 16);
            int64_t nearX = int64_t((posX + 0x8000) >> 16) - 1;
            if (nearX < 0) nearX = 0;
            if (nearX >= width) nearX = width - 1;
            int64_t clampedNearY = nearY < 0 ? 0 : (nearY >= height ? height - 1 : nearY);
            uint32_t fallback = pixels[clampedNearY * width + nearX];
            auto tap = [&](int64_t tx, int64_t ty) { return inside(tx, ty) ? pixels[ty * width + tx] : fallback; };
            *out++ = average4(tap(fx - 1, fy - 1), tap(fx, fy - 1), tap(fx - 1, fy), tap(fx, fy));
        }
    }
    adopt(newWidth, newHeight, hasAlpha, fresh);
}

void KImage::halve(int32_t newWidth, int32_t newHeight) {
    uint32_t* fresh = resizedPixels(newWidth, newHeight);
    if (!fresh) return;

    // A tap right of the last column or below the last row falls back to the top-left tap of its
    // box. A new size larger than half keeps every box inside the picture too.
    uint32_t* out = fresh;
    for (int64_t y = 0; y < newHeight; y++) {
        int64_t y0 = 2 * y < height ? 2 * y : height - 1;
        bool hasBelow = y0 + 1 < height;
        for (int64_t x = 0; x < newWidth; x++) {
            int64_t x0 = 2 * x < width ? 2 * x : width - 1;
            bool hasRight = x0 + 1 < width;
            const uint32_t* row = pixels + y0 * width;
            const uint32_t* below = hasBelow ? row + width : row;
            uint32_t topLeft = row[x0];
            uint32_t topRight = hasRight ? row[x0 + 1] : topLeft;
            uint32_t bottomLeft = below[x0];
            uint32_t bottomRight = hasRight && hasBelow ? below[x0 + 1] : topLeft;
            *out++ = average4(topLeft, topRight, bottomLeft, bottomRight);
        }
    }
    adopt(newWidth, newHeight, hasAlpha, fresh);
}
