// SPDX-License-Identifier: MIT
// The free-list pool behind CString256 and the list nodes. Objects come from blocks of 256 taken
// from the global array new, a new block hands out its objects from the last to the first, the
// object given back last is the first handed out again, and blocks are never returned.
// A pooled class has a public `T* next_free` link, used only while the object is free.
#pragma once

#include <cstddef>

namespace toolkit_pool {

constexpr int kBlockObjects = 256;

// Takes a new block for an empty `freeList`: object 0 goes to the caller, the others are linked
// so that 255 comes out first. An exception of the global allocator passes through unchanged.
template <class T> [[gnu::noinline]] T* takeBlock(T*& freeList) {
    static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__,
                  "a block from the array new must suit every object in it");
    auto* block = reinterpret_cast<T*>(new unsigned char[kBlockObjects * sizeof(T)]);
    freeList = &block[kBlockObjects - 1];
    for (int k = kBlockObjects - 1; k >= 2; --k)
        block[k].next_free = &block[k - 1];
    block[1].next_free = nullptr;
    return &block[0];
}

// Storage for one object of T from `freeList`: a few pointer moves, or a new block when empty.
template <class T> inline void* take(T*& freeList) {
    if (T* object = freeList) {
        freeList = object->next_free;
        return object;
    }
    return takeBlock(freeList);
}

// Puts the storage of an object of T back on `freeList`; null is ignored.
template <class T> inline void give(T*& freeList, void* p) {
    if (!p) return;
    auto* object = static_cast<T*>(p);
    object->next_free = freeList;
    freeList = object;
}

} // namespace toolkit_pool
