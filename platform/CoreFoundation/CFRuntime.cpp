// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/CFRuntime.h"

#include <atomic>
#include <cstdlib>

const CFAllocatorRef kCFAllocatorDefault = nullptr;

namespace {

std::atomic<CFTypeID> lastTypeID{0}; // ID 0 is never handed out

__CFObject* mutableObject(CFTypeRef cf) {
    return const_cast<__CFObject*>(CFObjectOf(cf));
}

} // namespace

CFTypeID CFRuntimeRegisterType(const char*) {
    return lastTypeID.fetch_add(1) + 1;
}

CFTypeRef CFRetain(CFTypeRef cf) {
    if (!cf) std::abort(); // as on the original platform: retaining null is a programming error
    auto* object = mutableObject(cf);
    if (!object->immortal) object->retainCount.fetch_add(1, std::memory_order_relaxed);
    return cf;
}

void CFRelease(CFTypeRef cf) {
    if (!cf) std::abort();
    auto* object = mutableObject(cf);
    if (object->immortal) return;
    if (object->retainCount.fetch_sub(1, std::memory_order_acq_rel) == 1) delete object;
}

CFTypeID CFGetTypeID(CFTypeRef cf) {
    return cf ? CFObjectOf(cf)->typeID() : 0;
}

Boolean CFEqual(CFTypeRef a, CFTypeRef b) {
    if (a == b) return true;
    if (!a || !b) return false;
    const auto* x = CFObjectOf(a);
    const auto* y = CFObjectOf(b);
    return x->typeID() == y->typeID() && x->equals(*y);
}

CFHashCode CFHash(CFTypeRef cf) {
    return cf ? CFObjectOf(cf)->hash() : 0;
}

CFIndex CFGetRetainCount(CFTypeRef cf) {
    if (!cf) return 0;
    const auto* object = CFObjectOf(cf);
    return object->immortal ? 0x7fffffffL : object->retainCount.load(std::memory_order_relaxed);
}
