// Binary files built by hand in tests, field by field, little-endian, to compare with what the game writes.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct FileBuilder {
    std::vector<unsigned char> bytes;

    FileBuilder& int32(int32_t v) { return put(uint32_t(v), 4); }
    FileBuilder& uint16(uint16_t v) { return put(v, 2); }
    FileBuilder& uint8(uint8_t v) { return put(v, 1); }
    FileBuilder& real(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        return put(bits, 8);
    }
    FileBuilder& text(const std::string& s) {
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
    std::string str() const { return std::string(bytes.begin(), bytes.end()); }

private:
    FileBuilder& put(uint64_t value, int count) {
        for (int i = 0; i < count; ++i) bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
        return *this;
    }
};
