// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/CFRunLoop.h"

#include "base/FileDescriptor.h"
#include "platform/CoreFoundation/CFNotificationCenterDelivery.h"
#include "platform/CoreFoundation/CFRuntime.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <sys/eventfd.h>

struct __CFRunLoop final : __CFObject {
    __CFRunLoop() { immortal = true; }
    CFTypeID typeID() const override { return CFRunLoopGetTypeID(); }

    // Wakes a run that is waiting, so that a stop from another thread takes effect at once.
    FileDescriptor wake{eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)};
    std::atomic<bool> stopRequested{false};

    bool takeStop() {
        std::uint64_t count = 0;
        if (wake && read(wake.get(), &count, sizeof count) < 0) {
            // Nothing to drain: no wake-up was pending.
        }
        return stopRequested.exchange(false);
    }
};

const CFRunLoopMode kCFRunLoopDefaultMode = CFSTR("kCFRunLoopDefaultMode");

CFTypeID CFRunLoopGetTypeID() {
    static const CFTypeID id = CFRuntimeRegisterType("CFRunLoop");
    return id;
}

CFRunLoopRef CFRunLoopGetCurrent() {
    thread_local auto loop = std::make_unique<__CFRunLoop>();
    return loop.get();
}

SInt32 CFRunLoopRunInMode(CFRunLoopMode, CFTimeInterval seconds, Boolean returnAfterSourceHandled) {
    using Clock = std::chrono::steady_clock;
    CFRunLoopRef loop = CFRunLoopGetCurrent();
    // Capped at a year: a larger time-out would overflow the clock's arithmetic.
    const auto limit = std::chrono::duration<double>(std::clamp(seconds, 0.0, 3.15e7));
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(limit);
    for (;;) {
        if (loop->takeStop()) return kCFRunLoopRunStopped;
        const int delivered = CFNotificationCenterDeliverReceived();
        if (delivered > 0 && returnAfterSourceHandled) return kCFRunLoopRunHandledSource;
        if (loop->takeStop()) return kCFRunLoopRunStopped;
        if (!CFNotificationCenterIsListening()) return kCFRunLoopRunFinished;
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero()) return kCFRunLoopRunTimedOut;
        CFNotificationCenterWait(left, loop->wake.get());
    }
}

void CFRunLoopRun() {
    SInt32 result;
    do {
        result = CFRunLoopRunInMode(kCFRunLoopDefaultMode, 1.0e10, false);
    } while (result != kCFRunLoopRunStopped && result != kCFRunLoopRunFinished);
}

void CFRunLoopStop(CFRunLoopRef loop) {
    if (!loop) return;
    loop->stopRequested.store(true);
    const std::uint64_t one = 1;
    if (loop->wake && write(loop->wake.get(), &one, sizeof one) < 0) {
        // The counter is full, so a wake-up is pending already.
    }
}
