// SPDX-License-Identifier: MIT
// Holds one reference to a CoreFoundation object and releases it when it goes.
#pragma once

#include "platform/CoreFoundation/CFBase.h"

#include <utility>

template <class Ref> class CFRef {
public:
    CFRef() = default;
    // Takes over a reference the caller owns (from a Create or Copy call).
    explicit CFRef(Ref owned) : ref_(owned) {}
    CFRef(const CFRef& other) : ref_(other.ref_) {
        if (ref_) CFRetain(ref_);
    }
    CFRef(CFRef&& other) noexcept : ref_(std::exchange(other.ref_, nullptr)) {}
    CFRef& operator=(CFRef other) noexcept {
        std::swap(ref_, other.ref_);
        return *this;
    }
    ~CFRef() {
        if (ref_) CFRelease(ref_);
    }

    // Adds a reference of its own to an object the caller does not own.
    static CFRef retain(Ref borrowed) {
        if (borrowed) CFRetain(borrowed);
        return CFRef(borrowed);
    }

    Ref get() const { return ref_; }
    explicit operator bool() const { return ref_ != nullptr; }
    // Gives the reference to the caller, who must release it.
    Ref release() { return std::exchange(ref_, nullptr); }

private:
    Ref ref_ = nullptr;
};
