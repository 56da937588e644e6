// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/CFBoolean.h"

#include "platform/CoreFoundation/CFRuntime.h"

struct __CFBoolean final : __CFObject {
    constexpr explicit __CFBoolean(bool v) : value(v) { immortal = true; }
    CFTypeID typeID() const override { return CFBooleanGetTypeID(); }
    // Only two objects exist, so identity is equality; the inherited version stands.
    CFHashCode hash() const override { return value ? 1 : 0; }

    const bool value;
};

namespace {
// Constant-initialised, so that other files may use the two constants during start-up.
constinit const __CFBoolean trueObject(true);
constinit const __CFBoolean falseObject(false);
} // namespace

constinit const CFBooleanRef kCFBooleanTrue = &trueObject;
constinit const CFBooleanRef kCFBooleanFalse = &falseObject;

CFTypeID CFBooleanGetTypeID() {
    static const CFTypeID id = CFRuntimeRegisterType("CFBoolean");
    return id;
}

Boolean CFBooleanGetValue(CFBooleanRef boolean) {
    return boolean && boolean->value;
}
