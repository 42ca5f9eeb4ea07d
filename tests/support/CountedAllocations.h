// Counts the heap allocations the calling thread makes while counting is switched on, and the bytes the whole
// program holds from operator new. The counting happens in the replaced global operator new and delete of
// CountedAllocationOperators.h, which one file of the binary must include.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace counted_allocations {

inline thread_local bool counting = false;
inline thread_local uint64_t count = 0;
// Every thread's blocks from operator new not yet deleted, in the sizes the allocator gave them.
inline std::atomic<int64_t> liveBytes{0};

// Counting on the calling thread only: the sound and driver threads keep their own allocations out of it.
class Scope {
public:
    Scope() {
        count = 0;
        counting = true;
    }
    ~Scope() { counting = false; }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
    uint64_t allocations() const { return count; }
};

// The block p (null when the allocation failed), counted.
inline void* counted(void* p) noexcept {
    if (!p) return nullptr;
    if (counting) ++count;
    liveBytes.fetch_add(int64_t(malloc_usable_size(p)), std::memory_order_relaxed);
    return p;
}

inline void* allocateNoThrow(std::size_t size) noexcept {
    return counted(std::malloc(size ? size : 1));
}

inline void* allocate(std::size_t size) {
    if (void* p = allocateNoThrow(size)) return p;
    throw std::bad_alloc();
}

inline void* allocateAligned(std::size_t size, std::align_val_t alignment) {
    const std::size_t a = std::size_t(alignment);
    if (void* p = counted(std::aligned_alloc(a, (size + a - 1) / a * a))) return p;
    throw std::bad_alloc();
}

inline void release(void* p) noexcept {
    if (!p) return;
    liveBytes.fetch_sub(int64_t(malloc_usable_size(p)), std::memory_order_relaxed);
    std::free(p);
}

} // namespace counted_allocations
