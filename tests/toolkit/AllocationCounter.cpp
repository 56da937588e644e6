// SPDX-License-Identifier: MIT
// Replaces every global allocation and deallocation function with a counting one over malloc, so
// a test can see whether an operation reached the heap. All forms are replaced: a sanitizer
// runtime would otherwise serve the array forms itself, unseen.
#include "tests/toolkit/AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace {

std::size_t allocations = 0;

void* countedAllocate(std::size_t size) {
    ++allocations;
    return std::malloc(size ? size : 1);
}

void* countedAllocateOrThrow(std::size_t size) {
    if (void* p = countedAllocate(size)) return p;
    throw std::bad_alloc();
}

} // namespace

std::size_t allocation_counter::count() {
    return allocations;
}

void* operator new(std::size_t size) {
    return countedAllocateOrThrow(size);
}
void* operator new[](std::size_t size) {
    return countedAllocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return countedAllocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return countedAllocate(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
