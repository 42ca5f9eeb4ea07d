// The free lists of the part pool: one per block size in steps of 16 bytes up to 2 KiB; larger blocks go to
// the heap and back. A free block holds the link to the next one in its first bytes. Under AddressSanitizer the
// rest of a free block is poisoned, so that a part used after its delete is still reported; the link stays
// readable, so that the leak checker follows the list.
#include "PartPool.h"

#include <array>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define PART_POOL_POISON(block, bytes) ASAN_POISON_MEMORY_REGION(block, bytes)
#define PART_POOL_UNPOISON(block, bytes) ASAN_UNPOISON_MEMORY_REGION(block, bytes)
#else
#define PART_POOL_POISON(block, bytes) ((void)(block), (void)(bytes))
#define PART_POOL_UNPOISON(block, bytes) ((void)(block), (void)(bytes))
#endif

namespace {

constexpr std::size_t kStep = 16;
constexpr std::size_t kLargestPooled = 2048;

struct FreeBlock {
    FreeBlock* next;
};

std::array<FreeBlock*, kLargestPooled / kStep + 1> freeLists = {};
std::size_t blocksFromHeap = 0;

std::size_t sizeClass(std::size_t bytes) {
    return (bytes + kStep - 1) / kStep;
}

} // namespace

namespace part_pool {

void* take(std::size_t bytes) {
    if (bytes == 0) bytes = 1;
    if (bytes > kLargestPooled) return ::operator new(bytes);
    const std::size_t index = sizeClass(bytes);
    if (FreeBlock* block = freeLists[index]) {
        PART_POOL_UNPOISON(block + 1, index * kStep - sizeof(FreeBlock));
        freeLists[index] = block->next;
        return block;
    }
    ++blocksFromHeap;
    return ::operator new(index* kStep);
}

void give(void* block, std::size_t bytes) noexcept {
    if (!block) return;
    if (bytes == 0) bytes = 1;
    if (bytes > kLargestPooled) {
        ::operator delete(block);
        return;
    }
    const std::size_t index = sizeClass(bytes);
    auto* free = static_cast<FreeBlock*>(block);
    free->next = freeLists[index];
    freeLists[index] = free;
    PART_POOL_POISON(free + 1, index * kStep - sizeof(FreeBlock));
}

std::size_t heapBlocks() {
    return blocksFromHeap;
}

} // namespace part_pool
