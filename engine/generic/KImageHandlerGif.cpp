// GIF decoding: header, colour tables, extension skipping, and the LZW stage, which stops at the
// end code, at the end of the data, at an invalid code or when the frame is full. Whatever was
// decoded by then is the picture.
#include "KImageHandlerGif.h"

#include "KLittleEndian.h"
#include "KLog.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {
// A colour table of 2^((flags & 7) + 1) R, G, B entries overwrites the first palette entries. The
// data must hold the table and `spare` more bytes after it.
bool readColorTable(const unsigned char* data, size_t size, size_t& pos, int flags, size_t spare, uint32_t* palette) {
    size_t entries = size_t(1) << ((flags & 7) + 1);
    if (entries * 3 + spare > size - pos) return false;
    for (size_t i = 0; i < entries; i++, pos += 3)
        palette[i] = KImage::pack(data[pos], data[pos + 1], data[pos + 2], 255);
    return true;
}

// The whole canvas in one colour: one row filled pixel by pixel, then copied to the others, so that a large
// canvas (a few bytes of file can ask for the largest picture allowed) costs little more than its memory.
void fillCanvas(uint32_t* canvas, int32_t width, int32_t height, uint32_t colour) {
    std::fill_n(canvas, width, colour);
    for (int32_t row = 1; row < height; row++)
        memcpy(canvas + size_t(row) * size_t(width), canvas, size_t(width) * sizeof(uint32_t));
}
} // namespace

bool KImageHandlerGif::encode(unsigned char*&, size_t&, const KImage&, int) {
    logMessage("GIF: encoding isn't supported");
    return false;
}

void KImageHandlerGif::startCodes(int minimumCodeSize, size_t position, size_t dataEnd) {
    endOfData = false;
    initialCodeWidth = minimumCodeSize + 1;
    clearCode = 1 << minimumCodeSize;
    bitCount = 0;
    bitBuffer = 0;
    codeWidth = initialCodeWidth;
    largestCode = (1 << codeWidth) - 1;
    blockBytesLeft = 0;
    readPosition = position;
    end = dataEnd;
}

// Codes are packed least significant bit first across data sub-blocks, each led by its length; the
// zero-length block that ends the image data ends the codes too.
int KImageHandlerGif::readCode() {
    while (bitCount < codeWidth) {
        if (endOfData) return -1;
        if (blockBytesLeft == 0) {
            if (readPosition >= end || source[readPosition] == 0) {
                endOfData = true;
                return -1;
            }
            blockBytesLeft = source[readPosition++];
        }
        if (readPosition >= end) {
            endOfData = true;
            return -1;
        }
        bitBuffer |= uint32_t(source[readPosition++]) << bitCount;
        bitCount += 8;
        blockBytesLeft--;
    }
    int code = int(bitBuffer & uint32_t(largestCode));
    bitBuffer >>= codeWidth;
    bitCount -= codeWidth;
    return code;
}

void KImageHandlerGif::decodeFrame(uint32_t* canvas, int32_t canvasWidth, int32_t left, int32_t top, int32_t frameWidth,
                                   int32_t frameHeight, bool interlaced, const uint32_t* palette) {
    static const int kPassStart[4] = {0, 4, 2, 1};
    static const int kPassStep[4] = {8, 8, 4, 2};
    const int64_t frameSize = int64_t(frameWidth) * frameHeight;
    int64_t produced = 0;
    int32_t column = 0, row = 0, pass = 0;
    auto emit = [&](uint8_t index) {
        canvas[int64_t(top + row) * canvasWidth + left + column] = palette[index];
        produced++;
        if (++column < frameWidth) return;
        column = 0;
        row += interlaced ? kPassStep[pass] : 1;
        while (interlaced && row >= frameHeight && pass < 3) row = kPassStart[++pass];
    };

    const int endCode = clearCode + 1;
    const int firstFree = clearCode + 2;
    int nextFree = firstFree;
    uint8_t stack[kMaxCodes];
    // Encoders open the stream with a clear code, but need not: the first code read is decoded like any other
    // (a clear code resets the table, which is fresh already; a pixel code stands for itself).
    int previous = -1;
    while (produced < frameSize) {
        int code = readCode();
        if (code < 0 || code == endCode) return;
        if (code == clearCode) {
            codeWidth = initialCodeWidth;
            largestCode = (1 << codeWidth) - 1;
            nextFree = firstFree;
            previous = -1;
            continue;
        }
        if (previous < 0) {
            // The first code after a clear stands for itself.
            if (code > clearCode) {
                logMessage("GIF: invalid LZW code");
                return;
            }
            emit(uint8_t(code));
            previous = code;
            continue;
        }
        if (code > nextFree) {
            logMessage("GIF: invalid LZW code");
            return;
        }
        // Unwind the string backwards onto the stack; a code equal to the next free code is the
        // previous string followed by its own first byte.
        int depth = 0;
        int walk = code == nextFree ? previous : code;
        if (code == nextFree) depth = 1;
        while (walk >= clearCode) {
            if (depth >= kMaxCodes) {
                logMessage("GIF: stack overflow");
                return;
            }
            stack[kMaxCodes - 1 - depth++] = suffix[walk];
            walk = int(prefix[walk]);
        }
        if (depth >= kMaxCodes) {
            logMessage("GIF: stack overflow");
            return;
        }
        const uint8_t first = uint8_t(walk);
        stack[kMaxCodes - 1 - depth++] = first;
        if (code == nextFree) stack[kMaxCodes - 1] = first;
        for (int i = kMaxCodes - depth; i < kMaxCodes && produced < frameSize; i++) emit(stack[i]);

        if (nextFree < kMaxCodes) {
            prefix[nextFree] = uint32_t(previous);
            suffix[nextFree] = first;
            nextFree++;
            if (nextFree > largestCode && codeWidth < 12) {
                codeWidth++;
                largestCode = (1 << codeWidth) - 1;
            }
        }
        previous = code;
    }
}

bool KImageHandlerGif::decode(const unsigned char* data, size_t size, KImage& image) {
    if (!data || size < 13 || memcmp(data, "GIF", 3) != 0) return false;
    const int screenWidth = readLittle16(data + 6);
    const int screenHeight = readLittle16(data + 8);
    const int screenFlags = data[10];
    const int background = data[11];

    uint32_t palette[256];
    for (uint32_t i = 0; i < 256; i++) palette[i] = KImage::pack(i, i, i, 255);
    size_t pos = 13;
    auto tooShort = [] {
        logMessage("GIF: file is too short");
        return false;
    };
    if ((screenFlags & 0x80) && !readColorTable(data, size, pos, screenFlags, 13, palette)) return tooShort();

    while (pos < size) {
        const int marker = data[pos];
        if (marker == 0x21) {
            if (pos + 2 >= size) return tooShort();
            if (data[pos + 1] == 0xF9) {
                pos += size_t(data[pos + 2]) + 4;
                continue;
            }
            pos += 2;
            while (pos < size && data[pos] != 0) pos += size_t(data[pos]) + 1;
            if (pos >= size) return tooShort();
            pos++;
            continue;
        }
        if (marker != 0x2C) break;

        if (size - pos < 10) return tooShort();
        const int left = readLittle16(data + pos + 1);
        const int top = readLittle16(data + pos + 3);
        const int frameWidth = readLittle16(data + pos + 5);
        const int frameHeight = readLittle16(data + pos + 7);
        const int frameFlags = data[pos + 9];
        pos += 10;
        // Only the table itself must fit: a small frame's data and the trailer can take under 13 bytes.
        if ((frameFlags & 0x80) && !readColorTable(data, size, pos, frameFlags, 0, palette)) return tooShort();

        const int32_t canvasWidth = screenWidth > left + frameWidth ? screenWidth : left + frameWidth;
        const int32_t canvasHeight = screenHeight > top + frameHeight ? screenHeight : top + frameHeight;
        if (canvasWidth <= 0 || canvasHeight <= 0 || !KImage::sizeAllowed(canvasWidth, canvasHeight)) {
            logMessage("GIF: unsupported picture size %dx%d", canvasWidth, canvasHeight);
            return false;
        }
        const size_t canvasSize = size_t(canvasWidth) * size_t(canvasHeight);
        uint32_t* canvas = new (std::nothrow) uint32_t[canvasSize];
        if (!canvas) {
            logMessage("GIF: out of memory for a picture of %dx%d pixels", canvasWidth, canvasHeight);
            return false;
        }
        fillCanvas(canvas, canvasWidth, canvasHeight, palette[background]);

        if (pos < size) {
            const int minimumCodeSize = data[pos];
            if (minimumCodeSize > 11) {
                logMessage("GIF: unsupported LZW code size %d", minimumCodeSize);
                delete[] canvas;
                return false;
            }
            source = data;
            startCodes(minimumCodeSize, pos + 1, size);
            decodeFrame(canvas, canvasWidth, left, top, frameWidth, frameHeight, (frameFlags & 0x40) != 0, palette);
        }
        image.adopt(canvasWidth, canvasHeight, false, canvas);
        return true;
    }
    logMessage("GIF: no picture in the file");
    return false;
}
