// Recycled storage for the small parts that entities are made of (the entity, its behaviour, its collision
// circles, its animation with the frames, sequences and steps, and the lists holding them): a deleted part's
// block goes onto a free list of its size and is handed to the next part of that size, so that the shots made
// during play take nothing from the heap once storage for them exists. Main thread only.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace part_pool {

// A block of at least the given size: a recycled one when there is one, else a new one from the heap.
void* take(std::size_t bytes);
// Hands a block taken for the given size back for reuse.
void give(void* block, std::size_t bytes) noexcept;
// Blocks taken from the heap so far (they are never given back to it while the program runs).
std::size_t heapBlocks();

} // namespace part_pool

// A class whose objects are made from the pool: new and delete (of the exact class, or through a virtual
// destructor) take and give its blocks.
struct PooledPart {
    static void* operator new(std::size_t bytes) { return part_pool::take(bytes); }
    static void operator delete(void* block, std::size_t bytes) noexcept { part_pool::give(block, bytes); }
};

// The allocator of the lists that parts hold.
template <class T> struct PartAllocator {
    using value_type = T;
    PartAllocator() = default;
    template <class U> PartAllocator(const PartAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) { return static_cast<T*>(part_pool::take(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { part_pool::give(p, n * sizeof(T)); }
    template <class U> bool operator==(const PartAllocator<U>&) const noexcept { return true; }
};

template <class T> using PartList = std::vector<T, PartAllocator<T>>;
