// Texels of the engine's Direct3D formats written from and read back into KImage pixels.
#include "KD3DPixels.h"

#include "KImage.h"

#include <cstring>

int bytesPerTexel(int format) {
    switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
        return 4;
    case D3DFMT_R8G8B8:
        return 3;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_A4R4G4B4:
        return 2;
    }
    return 0;
}

void writeTexel(unsigned char* texel, int format, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8: {
        uint32_t word = (a << 24) | (r << 16) | (g << 8) | b;
        std::memcpy(texel, &word, 4);
        break;
    }
    case D3DFMT_R8G8B8:
        texel[0] = (unsigned char)b;
        texel[1] = (unsigned char)g;
        texel[2] = (unsigned char)r;
        break;
    case D3DFMT_R5G6B5: {
        uint16_t word = uint16_t(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
        std::memcpy(texel, &word, 2);
        break;
    }
    case D3DFMT_X1R5G5B5: {
        uint16_t word = uint16_t(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
        std::memcpy(texel, &word, 2);
        break;
    }
    case D3DFMT_A1R5G5B5: {
        uint16_t word = uint16_t(((a >> 7) << 15) | ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
        std::memcpy(texel, &word, 2);
        break;
    }
    case D3DFMT_A4R4G4B4: {
        uint16_t word = uint16_t(((a >> 4) << 12) | ((r >> 4) << 8) | ((g >> 4) << 4) | (b >> 4));
        std::memcpy(texel, &word, 2);
        break;
    }
    }
}

bool isReadableTexelFormat(int format) {
    return bytesPerTexel(format) != 0 && format != D3DFMT_A4R4G4B4;
}

uint32_t readTexel(const unsigned char* texel, int format) {
    switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8: {
        uint32_t word;
        std::memcpy(&word, texel, 4);
        uint32_t a = format == D3DFMT_A8R8G8B8 ? word >> 24 : 255;
        return KImage::pack((word >> 16) & 0xFF, (word >> 8) & 0xFF, word & 0xFF, a);
    }
    case D3DFMT_R8G8B8:
        return KImage::pack(texel[2], texel[1], texel[0], 255);
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5: {
        uint16_t word;
        std::memcpy(&word, texel, 2);
        return format == D3DFMT_R5G6B5 ? KImage::unpack565(word) : KImage::unpack555(word);
    }
    }
    return 0;
}

bool convertBackBufferPixels(D3DFORMAT format, const uint8_t* bits, int pitch, int x, int y, int width, int height,
                             uint32_t* out) {
    if (format != D3DFMT_R5G6B5 && format != D3DFMT_X1R5G5B5 && format != D3DFMT_A1R5G5B5 &&
        format != D3DFMT_X8R8G8B8 && format != D3DFMT_A8R8G8B8)
        return false;
    const size_t texelBytes = size_t(bytesPerTexel(format));
    for (int row = 0; row < height; ++row) {
        const uint8_t* line = bits + size_t(y + row) * size_t(pitch) + size_t(x) * texelBytes;
        uint32_t* target = out + size_t(row) * size_t(width);
        // The back buffer's alpha is not a picture's.
        for (int column = 0; column < width; ++column, line += texelBytes)
            target[column] = readTexel(line, format) | 0xFF000000u;
    }
    return true;
}
