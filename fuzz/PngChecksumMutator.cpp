// The PNG target's mutator: the fuzzer's own mutation, then every whole chunk's CRC computed anew. Without it
// almost every mutated chunk fails its CRC and the decoder never looks inside; the CRC check itself is still
// met by the inputs whose chunk boundaries the mutation moved.
#include <cstddef>
#include <cstdint>
#include <zlib.h>

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

uint32_t bigEndian32(const uint8_t* bytes) {
    return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
}

} // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int) {
    size = LLVMFuzzerMutate(data, size, maxSize);
    size_t at = 8; // after the signature
    while (at + 12 <= size) {
        const uint64_t length = bigEndian32(data + at);
        if (length > size - at - 12) break;
        const uint32_t crc = uint32_t(crc32(0, data + at + 4, uInt(length + 4)));
        uint8_t* stored = data + at + 8 + length;
        for (int i = 0; i < 4; ++i) stored[i] = uint8_t(crc >> (24 - 8 * i));
        at += 12 + size_t(length);
    }
    return size;
}
