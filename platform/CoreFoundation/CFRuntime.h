// SPDX-License-Identifier: MIT
// What a stand-in needs to define a CoreFoundation type of its own: derive from __CFObject,
// give it a type ID from CFRuntimeRegisterType, and override equality and hashing if the type
// compares by value. Not for callers of the CF interface.
#pragma once

#include "platform/CoreFoundation/CFBase.h"

#include <atomic>

struct __CFObject {
    __CFObject() = default;
    __CFObject(const __CFObject&) = delete;
    __CFObject& operator=(const __CFObject&) = delete;
    virtual ~__CFObject() = default;

    virtual CFTypeID typeID() const = 0;
    // Identity by default; value types override both.
    virtual bool equals(const __CFObject& other) const { return this == &other; }
    virtual CFHashCode hash() const { return reinterpret_cast<CFHashCode>(this); }

    // A constant ignores retain and release and lives until the process ends.
    bool immortal = false;
    std::atomic<long> retainCount{1};
};

// A fresh type ID for the type `name` (which says, where it is called, whose ID it is); call
// once per type and keep the result.
CFTypeID CFRuntimeRegisterType(const char* name);

inline const __CFObject* CFObjectOf(CFTypeRef cf) {
    return static_cast<const __CFObject*>(cf);
}
