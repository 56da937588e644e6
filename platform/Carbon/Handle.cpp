// SPDX-License-Identifier: MIT
#include "platform/Carbon/Handle.h"

#include <cstdlib>
#include <new>

namespace {

// The master pointer sits in front of the block's size, so one allocation holds both.
struct HandleRecord {
    char* data;
    long size;
};

} // namespace

Handle NewHandle(long size) {
    if (size < 0) return nullptr;
    auto* record = new (std::nothrow) HandleRecord{nullptr, size};
    if (!record) return nullptr;
    // calloc(0) may return null; ask for one byte so a valid empty handle has a block.
    record->data = static_cast<char*>(std::calloc(size > 0 ? static_cast<size_t>(size) : 1, 1));
    if (!record->data) {
        delete record;
        return nullptr;
    }
    return &record->data;
}

long GetHandleSize(Handle h) {
    if (!h) return 0;
    return reinterpret_cast<HandleRecord*>(h)->size;
}

void DisposeHandle(Handle h) {
    if (!h) return;
    auto* record = reinterpret_cast<HandleRecord*>(h);
    std::free(record->data);
    delete record;
}
