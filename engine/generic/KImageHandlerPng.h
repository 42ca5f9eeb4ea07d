// PNG codec over libpng, reading from and writing to memory. Reads the CgBI variant (raw-deflate
// image data, BGRA with premultiplied colour) by first rewriting it into a plain PNG for libpng.
#pragma once

#include "KImageHandler.h"

#include <png.h>

class KImageHandlerPng : public KImageHandler {
public:
    ~KImageHandlerPng() override;
    bool decode(const unsigned char* data, size_t size, KImage& image) override;
    bool encode(unsigned char*& data, size_t& size, const KImage& image, int quality) override;

private:
    static void readCallback(png_structp png, png_bytep out, png_size_t length);
    static void writeCallback(png_structp png, png_bytep in, png_size_t length);
    static void errorCallback(png_structp png, png_const_charp message);
    static void warningCallback(png_structp png, png_const_charp message);
    bool decodePlain(const unsigned char* data, size_t size, KImage& image);
    void freeDecodeBuffers();

    png_structp png = nullptr;
    png_infop info = nullptr;

    // Read cursor over the PNG bytes handed to libpng.
    const unsigned char* readData = nullptr;
    size_t readSize = 0;
    size_t readPosition = 0;

    // Encoded output; grows when libpng writes more than the first estimate.
    unsigned char* writeBuffer = nullptr;
    size_t writeCapacity = 0;
    size_t writePosition = 0;

    // Buffers of one decode, held here so the error path can free them.
    bool wasCgbi = false;
    uint32_t* decodedPixels = nullptr;
    png_bytep* rowPointers = nullptr;
    png_bytep rowBlock = nullptr;
};
