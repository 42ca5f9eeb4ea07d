// The Ogg Vorbis target's mutator: the fuzzer's own mutation, then every whole page's checksum computed anew.
// Without it almost every mutated page fails its checksum and the decoder never sees the packets inside.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ogg/ogg.h>

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

constexpr size_t kHeaderBytes = 27; // up to and with the segment count

} // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int) {
    size = LLVMFuzzerMutate(data, size, maxSize);
    size_t at = 0;
    while (at + kHeaderBytes <= size) {
        if (std::memcmp(data + at, "OggS", 4) != 0) {
            ++at;
            continue;
        }
        const size_t header = kHeaderBytes + data[at + 26];
        if (header > size - at) break;
        size_t body = 0;
        for (size_t i = kHeaderBytes; i < header; ++i) body += data[at + i];
        if (body > size - at - header) break;
        ogg_page page{data + at, long(header), data + at + header, long(body)};
        ogg_page_checksum_set(&page);
        at += header + body;
    }
    return size;
}
