// Counts the heap allocations the calling thread makes while counting is switched on. The counting happens in
// the replaced global operator new of CountedAllocationOperators.h, which one file of the binary must include.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace counted_allocations {

inline thread_local bool counting = false;
inline thread_local uint64_t count = 0;

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

inline void* allocate(std::size_t size) {
    if (counting) ++count;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

inline void* allocateAligned(std::size_t size, std::align_val_t alignment) {
    if (counting) ++count;
    const std::size_t a = std::size_t(alignment);
    if (void* p = std::aligned_alloc(a, (size + a - 1) / a * a)) return p;
    throw std::bad_alloc();
}

} // namespace counted_allocations
