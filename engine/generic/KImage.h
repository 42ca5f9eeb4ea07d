// A decoded picture in memory (RGBA, top row first) and the entry points of the image codecs:
// pick a format from a file name, decode bytes into a picture, encode a picture into bytes, resize it.
#pragma once

#include "KObjectBase.h"

#include <cstddef>
#include <cstdint>

// File formats the codecs know, as chosen from a file name's extension.
enum ImageFormat : int {
    K_IMAGE_UNKNOWN = -1,
    K_IMAGE_BMP = 0,
    K_IMAGE_JPG = 1,
    K_IMAGE_TGA = 2,
    K_IMAGE_PNG = 3,
    K_IMAGE_GIF = 4,
};

class KImage : public KObjectBase {
public:
    // Largest picture any decoder will build: damaged headers must not make us reserve gigabytes.
    static constexpr int32_t kMaxSide = 16384;
    static constexpr int64_t kMaxPixels = int64_t(1) << 26;

    KImage() = default;
    ~KImage() override;
    KImage(const KImage&) = delete;
    KImage& operator=(const KImage&) = delete;

    // The format of a file name of any length: its text from the last '.', in any case. ".bmp" ".jpg" ".tga"
    // ".png" ".gif" are known; anything else (".jpeg" too) and a name without a dot give K_IMAGE_UNKNOWN.
    static ImageFormat getFormatFromName(const char* name);

    // Decodes the bytes of a file of the given format. On success the picture's size, alpha flag and
    // pixels are replaced; on failure (logged) the picture is left as it was.
    static bool decode(ImageFormat format, const unsigned char* data, size_t size, KImage& image);
    // Encodes the picture as a new byte array the caller deletes with delete[] (JPEG at quality 94).
    static bool encode(ImageFormat format, unsigned char*& data, size_t& size, const KImage& image);

    // Scales the pixels in place to a new size by four-tap averaging; nothing happens when the
    // picture is empty, either new size is 0 or the size is unchanged.
    void resample(int32_t newWidth, int32_t newHeight);
    // Halves the picture in place with a 2x2 box filter; callers pass half the size rounded down.
    // Same early exits as resample.
    void halve(int32_t newWidth, int32_t newHeight);

    int32_t getWidth() const { return width; }
    int32_t getHeight() const { return height; }
    bool getHasAlpha() const { return hasAlpha; }
    void setHasAlpha(bool alpha) { hasAlpha = alpha; }
    // width x height values, each the bytes R, G, B, A in memory (0xAABBGGRR); null when empty.
    uint32_t* getPixels() { return pixels; }
    const uint32_t* getPixels() const { return pixels; }
    uint32_t getPixel(int32_t x, int32_t y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }

    // Replaces the pixels with a new zeroed array of the given size. A size of 0 gives an empty
    // picture. Negative sizes or sizes above the limits fail with a log line and change nothing.
    bool allocate(int32_t newWidth, int32_t newHeight, bool alpha);
    // Takes ownership of an array made with new[] holding newWidth x newHeight pixels.
    void adopt(int32_t newWidth, int32_t newHeight, bool alpha, uint32_t* newPixels);
    // Gives the pixel array away (the caller delete[]s it) and leaves the picture empty.
    uint32_t* release();
    // Makes this picture a copy of another one; false (logged) when memory runs out.
    bool copyFrom(const KImage& other);
    void clear();

    // True when a picture of this size is within the limits; the codecs check before allocating.
    static bool sizeAllowed(int64_t pictureWidth, int64_t pictureHeight);

    static constexpr uint32_t pack(uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
        return r | (g << 8) | (b << 16) | (a << 24);
    }
    static constexpr uint32_t red(uint32_t pixel) { return pixel & 0xFF; }
    static constexpr uint32_t green(uint32_t pixel) { return (pixel >> 8) & 0xFF; }
    static constexpr uint32_t blue(uint32_t pixel) { return (pixel >> 16) & 0xFF; }
    static constexpr uint32_t alpha(uint32_t pixel) { return pixel >> 24; }
    // 16-bit pixels with 5-bit red (bits 10-14), green (5-9) and blue (0-4), or 5-6-5 (11-15, 5-10, 0-4), each
    // field moved to the top of its byte; alpha 255.
    static constexpr uint32_t unpack555(uint32_t v) {
        return pack(((v >> 10) & 31) << 3, ((v >> 5) & 31) << 3, (v & 31) << 3, 255);
    }
    static constexpr uint32_t unpack565(uint32_t v) {
        return pack(((v >> 11) & 31) << 3, ((v >> 5) & 63) << 2, (v & 31) << 3, 255);
    }

private:
    // The array for a resize to the new size, or null when the resize is to do nothing.
    uint32_t* resizedPixels(int32_t newWidth, int32_t newHeight) const;

    int32_t width = 0;
    int32_t height = 0;
    bool hasAlpha = false;
    uint32_t* pixels = nullptr;
};
