// GIF decoder, the engine's own: the first image of the file, LZW-decoded onto a canvas the size of
// the logical screen (enlarged to hold the frame), interlaced or not. Encoding is refused.
#pragma once

#include "KImageHandler.h"

class KImageHandlerGif : public KImageHandler {
public:
    bool decode(const unsigned char* data, size_t size, KImage& image) override;
    bool encode(unsigned char*& data, size_t& size, const KImage& image, int quality) override;

private:
    static constexpr int kMaxCodes = 4096;

    void startCodes(int minimumCodeSize, size_t position, size_t dataEnd);
    int readCode(); // -1 once the data sub-blocks run out
    void decodeFrame(uint32_t* canvas, int32_t canvasWidth, int32_t left, int32_t top, int32_t frameWidth,
                     int32_t frameHeight, bool interlaced, const uint32_t* palette);

    const unsigned char* source = nullptr;
    bool endOfData = false;
    int initialCodeWidth = 0;
    int clearCode = 0;
    int bitCount = 0;
    uint32_t bitBuffer = 0;
    int codeWidth = 0;
    int largestCode = 0;
    int blockBytesLeft = 0;
    size_t readPosition = 0;
    size_t end = 0;
    uint32_t prefix[kMaxCodes] = {};
    uint8_t suffix[kMaxCodes] = {};
};
