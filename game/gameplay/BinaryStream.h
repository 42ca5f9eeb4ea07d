// Little-endian reading and writing of the game's binary files (levels, progress, options): a reader that never reads
// past the bytes it was given and reports the first shortfall, and a writer that appends to a byte vector.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

class ByteSource {
public:
    ByteSource(const unsigned char* bytes, size_t size) : bytes(bytes), size(size) {}

    // Each read returns 0 once the bytes have run out; failed() then stays true and position() is where
    // the first shortfall happened.
    int32_t int32() { return int32_t(uint32_t(take(4))); }
    uint16_t uint16() { return uint16_t(take(2)); }
    uint8_t uint8() { return uint8_t(take(1)); }
    double real() {
        const uint64_t bits = take(8);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    // Copies count bytes; false (nothing copied) when fewer are left.
    bool copy(void* out, size_t count) {
        if (!has(count)) return false;
        std::memcpy(out, bytes + offset, count);
        offset += count;
        return true;
    }

    // True when at least count more bytes are present; a short read marks the source failed.
    bool has(uint64_t count) {
        if (!bad && count <= size - offset) return true;
        bad = true;
        return false;
    }
    size_t remaining() const { return bad ? 0 : size - offset; }
    size_t position() const { return offset; }
    bool failed() const { return bad; }

private:
    uint64_t take(int count) {
        if (!has(uint64_t(count))) return 0;
        uint64_t value = 0;
        for (int i = 0; i < count; ++i) value |= uint64_t(bytes[offset + size_t(i)]) << (8 * i);
        offset += size_t(count);
        return value;
    }

    const unsigned char* bytes;
    size_t size;
    size_t offset = 0;
    bool bad = false;
};

class ByteSink {
public:
    void int32(int32_t value) { put(uint32_t(value), 4); }
    void uint16(uint16_t value) { put(value, 2); }
    void uint8(uint8_t value) { put(value, 1); }
    void real(double value) {
        uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        put(bits, 8);
    }
    void append(const void* data, size_t count) {
        const auto* from = static_cast<const unsigned char*>(data);
        bytes.insert(bytes.end(), from, from + count);
    }

    std::vector<unsigned char> bytes;

private:
    void put(uint64_t value, int count) {
        for (int i = 0; i < count; ++i) bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }
};
