// SPDX-License-Identifier: MIT
// Notification centres. The distributed centre carries notifications between the processes of
// the same user over the D-Bus session bus; observers are called from CFRunLoopRun (or
// CFRunLoopRunInMode) on the thread that runs it.
#pragma once

#include "platform/CoreFoundation/CFBase.h"
#include "platform/CoreFoundation/CFDictionary.h"
#include "platform/CoreFoundation/CFString.h"

typedef struct __CFNotificationCenter* CFNotificationCenterRef;
typedef CFStringRef CFNotificationName;

typedef void (*CFNotificationCallback)(CFNotificationCenterRef center, void* observer,
                                       CFNotificationName name, const void* object,
                                       CFDictionaryRef userInfo);

typedef CFIndex CFNotificationSuspensionBehavior;
enum : CFNotificationSuspensionBehavior {
    CFNotificationSuspensionBehaviorDrop = 1,
    CFNotificationSuspensionBehaviorCoalesce = 2,
    CFNotificationSuspensionBehaviorHold = 3,
    CFNotificationSuspensionBehaviorDeliverImmediately = 4,
};

CFTypeID CFNotificationCenterGetTypeID();

// The process's one distributed centre, a constant the caller does not release.
CFNotificationCenterRef CFNotificationCenterGetDistributedCenter();

// Broadcasts `name` with `object` (a text naming the sender, or null) to every process of the
// session. With no session bus it logs one line and returns; it never blocks for long or
// throws. Our centre always delivers at once, and sends `userInfo` as an empty set for now.
void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFNotificationName name,
                                          const void* object, CFDictionaryRef userInfo,
                                          Boolean deliverImmediately);

// Calls `callBack` with `observer` for each notification of `name` (null: any) from `object`
// (a text; null: any sender), from the run loop. The centre keeps no references to `observer`.
// Processes do not suspend here, so `suspensionBehavior` changes nothing.
void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callBack, CFStringRef name,
                                     const void* object,
                                     CFNotificationSuspensionBehavior suspensionBehavior);
// Removes the registrations of `observer` for `name` and `object`; null matches every one.
void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer,
                                        CFNotificationName name, const void* object);
void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer);
