// SPDX-License-Identifier: MIT
#include "menu/SettingsWatcher.h"

#include "platform/CoreFoundation/CoreFoundation.h"
#include "settings/CorvantaSettings.h"

namespace {

void preferencesChanged(CFNotificationCenterRef, void* observer, CFNotificationName, const void*,
                        CFDictionaryRef) {
    (*static_cast<const std::function<void()>*>(observer))();
}

} // namespace

SettingsWatcher::SettingsWatcher(std::function<void()> onChanged,
                                 std::function<void()> onUnavailable)
    : onChanged_(std::move(onChanged)), onUnavailable_(std::move(onUnavailable)) {
    std::promise<void> listening;
    std::future<void> listens = listening.get_future();
    thread_ = std::thread([this, &listening] { run(listening); });
    listens.wait();
}

SettingsWatcher::~SettingsWatcher() {
    {
        std::lock_guard lock(loopMutex_);
        // A stop asked for before the loop runs still ends it as soon as it starts.
        if (loop_) CFRunLoopStop(loop_);
    }
    thread_.join();
}

void SettingsWatcher::run(std::promise<void>& listening) {
    {
        std::lock_guard lock(loopMutex_);
        loop_ = CFRunLoopGetCurrent();
    }
    CFNotificationCenterRef center = CFNotificationCenterGetDistributedCenter();
    CFNotificationCenterAddObserver(center, &onChanged_, preferencesChanged,
                                    CorvantaSettingsChangedName(), CorvantaSettingsChangedObject(),
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    // Only now: a change the caller makes or reads after the constructor is one we hear of.
    listening.set_value();
    SInt32 result;
    do {
        result = CFRunLoopRunInMode(kCFRunLoopDefaultMode, 1.0e10, false);
    } while (result != kCFRunLoopRunStopped && result != kCFRunLoopRunFinished);
    CFNotificationCenterRemoveEveryObserver(center, &onChanged_);
    {
        // The loop is freed when this thread ends, which may be long before the destructor
        // runs (no bus: at once); it must not be stopped after that.
        std::lock_guard lock(loopMutex_);
        loop_ = nullptr;
    }
    if (result == kCFRunLoopRunFinished) onUnavailable_();
}
