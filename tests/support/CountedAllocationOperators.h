// The global operator new and delete replaced by counting ones (see CountedAllocations.h). Include it in exactly
// one source file of a binary: the replacements are program-wide.
#pragma once

#include "CountedAllocations.h"

void* operator new(std::size_t size) {
    return counted_allocations::allocate(size);
}
void* operator new[](std::size_t size) {
    return counted_allocations::allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return counted_allocations::allocateNoThrow(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return counted_allocations::allocateNoThrow(size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return counted_allocations::allocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return counted_allocations::allocateAligned(size, alignment);
}
void operator delete(void* p) noexcept {
    counted_allocations::release(p);
}
void operator delete[](void* p) noexcept {
    counted_allocations::release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    counted_allocations::release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    counted_allocations::release(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    counted_allocations::release(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    counted_allocations::release(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    counted_allocations::release(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    counted_allocations::release(p);
}
