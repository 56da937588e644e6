// SPDX-License-Identifier: MIT
// The run loop: where a listening program waits for notifications and has its observers called.
// Its only source is the distributed notification centre.
#pragma once

#include "platform/CoreFoundation/CFBase.h"
#include "platform/CoreFoundation/CFString.h"

#include <cstdint>

typedef struct __CFRunLoop* CFRunLoopRef;
typedef CFStringRef CFRunLoopMode;
typedef double CFTimeInterval;
typedef std::int32_t SInt32;

extern const CFRunLoopMode kCFRunLoopDefaultMode;

enum : SInt32 {
    kCFRunLoopRunFinished = 1, // nothing to wait for: no observers, or no session bus
    kCFRunLoopRunStopped = 2,  // CFRunLoopStop was called
    kCFRunLoopRunTimedOut = 3,
    kCFRunLoopRunHandledSource = 4,
};

CFTypeID CFRunLoopGetTypeID();
// The calling thread's run loop, a constant the caller does not release.
CFRunLoopRef CFRunLoopGetCurrent();

// Delivers notifications until CFRunLoopStop is called or there is nothing left to wait for.
void CFRunLoopRun();
// Delivers notifications for at most `seconds`; with `returnAfterSourceHandled`, returns once
// some have been delivered. Every mode behaves as the default mode.
SInt32 CFRunLoopRunInMode(CFRunLoopMode mode, CFTimeInterval seconds,
                          Boolean returnAfterSourceHandled);
// Makes `loop`'s current (or next) run return. Safe from any thread.
void CFRunLoopStop(CFRunLoopRef loop);
