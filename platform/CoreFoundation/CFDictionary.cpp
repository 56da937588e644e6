// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/CFDictionary.h"

#include "platform/CoreFoundation/CFRuntime.h"

#include <functional>
#include <new>
#include <unordered_map>
#include <utility>

namespace {

const void* retainObject(CFAllocatorRef, const void* value) {
    return CFRetain(value);
}

void releaseObject(CFAllocatorRef, const void* value) {
    CFRelease(value);
}

// Matches CFEqual: two equal objects give the same hash, whatever their addresses.
struct KeyHash {
    CFDictionaryHashCallBack hash;
    size_t operator()(const void* key) const {
        return hash ? hash(key) : std::hash<const void*>{}(key);
    }
};

struct KeyEqual {
    CFDictionaryEqualCallBack equal;
    bool operator()(const void* a, const void* b) const { return a == b || (equal && equal(a, b)); }
};

} // namespace

const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks = {
    0, retainObject, releaseObject, nullptr, CFEqual, CFHash};
const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks = {0, retainObject, releaseObject,
                                                                    nullptr, CFEqual};

struct __CFDictionary final : __CFObject {
    __CFDictionary(const CFDictionaryKeyCallBacks& keys, const CFDictionaryValueCallBacks& values)
        : keyCallBacks(keys), valueCallBacks(values),
          entries(0, KeyHash{keys.hash}, KeyEqual{keys.equal}) {}

    ~__CFDictionary() override {
        for (const auto& [key, value] : entries) {
            if (keyCallBacks.release) keyCallBacks.release(kCFAllocatorDefault, key);
            if (valueCallBacks.release) valueCallBacks.release(kCFAllocatorDefault, value);
        }
    }

    CFTypeID typeID() const override { return CFDictionaryGetTypeID(); }

    const CFDictionaryKeyCallBacks keyCallBacks;
    const CFDictionaryValueCallBacks valueCallBacks;
    std::unordered_map<const void*, const void*, KeyHash, KeyEqual> entries;
};

CFTypeID CFDictionaryGetTypeID() {
    static const CFTypeID id = CFRuntimeRegisterType("CFDictionary");
    return id;
}

CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef, CFIndex capacity,
                                                 const CFDictionaryKeyCallBacks* keyCallBacks,
                                                 const CFDictionaryValueCallBacks* valueCallBacks) {
    if (capacity < 0) return nullptr;
    static const CFDictionaryKeyCallBacks plainKeys{};
    static const CFDictionaryValueCallBacks plainValues{};
    // The capacity is only a hint; the table grows as it needs.
    return new (std::nothrow) __CFDictionary(keyCallBacks ? *keyCallBacks : plainKeys,
                                             valueCallBacks ? *valueCallBacks : plainValues);
}

const void* CFDictionaryGetValue(CFDictionaryRef dictionary, const void* key) {
    if (!dictionary || !key) return nullptr;
    auto found = dictionary->entries.find(key);
    return found == dictionary->entries.end() ? nullptr : found->second;
}

void CFDictionarySetValue(CFMutableDictionaryRef dictionary, const void* key, const void* value) {
    if (!dictionary || !key || !value) return;
    const auto& callBacks = dictionary->valueCallBacks;
    const void* held = callBacks.retain ? callBacks.retain(kCFAllocatorDefault, value) : value;
    auto found = dictionary->entries.find(key);
    if (found != dictionary->entries.end()) {
        const void* old = std::exchange(found->second, held);
        if (callBacks.release) callBacks.release(kCFAllocatorDefault, old);
        return;
    }
    const auto& keys = dictionary->keyCallBacks;
    const void* heldKey = keys.retain ? keys.retain(kCFAllocatorDefault, key) : key;
    try {
        dictionary->entries.emplace(heldKey, held);
    } catch (const std::bad_alloc&) {
        // Nothing to report through this interface; at least give back what was retained.
        if (keys.release) keys.release(kCFAllocatorDefault, heldKey);
        if (callBacks.release) callBacks.release(kCFAllocatorDefault, held);
    }
}

CFIndex CFDictionaryGetCount(CFDictionaryRef dictionary) {
    return dictionary ? static_cast<CFIndex>(dictionary->entries.size()) : 0;
}
