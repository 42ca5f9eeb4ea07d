// Little-endian integers in byte buffers, as the file formats the engine reads and writes store them.
#pragma once

#include <cstdint>

inline uint32_t readLittle16(const unsigned char* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8);
}

inline uint32_t readLittle32(const unsigned char* p) {
    return readLittle16(p) | (readLittle16(p + 2) << 16);
}

inline void writeLittle16(unsigned char* p, uint32_t value) {
    p[0] = uint8_t(value);
    p[1] = uint8_t(value >> 8);
}

inline void writeLittle32(unsigned char* p, uint32_t value) {
    writeLittle16(p, value);
    writeLittle16(p + 2, value >> 16);
}
