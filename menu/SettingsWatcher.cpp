#include "menu/SettingsWatcher.h"

#include "pane/CorvantaSettings.h"
#include "platform/CoreFoundation/CoreFoundation.h"

#include <future>

namespace {

void postTo(QObject* context, const std::function<void()>& call) {
    QMetaObject::invokeMethod(context, call, Qt::QueuedConnection);
}

void preferencesChanged(CFNotificationCenterRef, void* observer, CFNotificationName, const void*,
                        CFDictionaryRef) {
    auto* target = static_cast<std::pair<QObject*, std::function<void()>>*>(observer);
    postTo(target->first, target->second);
}

} // namespace

SettingsWatcher::SettingsWatcher(QObject* context, std::function<void()> onChanged,
                                 std::function<void()> onUnavailable)
    : context_(context), onChanged_(std::move(onChanged)),
      onUnavailable_(std::move(onUnavailable)) {
    std::promise<CFRunLoopRef> started;
    std::future<CFRunLoopRef> loop = started.get_future();
    thread_ = std::thread(
        [this, &started] { run([&started](CFRunLoopRef loop) { started.set_value(loop); }); });
    loop_ = loop.get();
}

SettingsWatcher::~SettingsWatcher() {
    // A stop asked for before the loop runs still ends it as soon as it starts.
    CFRunLoopStop(loop_);
    thread_.join();
}

void SettingsWatcher::run(std::function<void(CFRunLoopRef)> started) {
    std::pair<QObject*, std::function<void()>> target(context_, onChanged_);
    started(CFRunLoopGetCurrent());
    CFNotificationCenterRef center = CFNotificationCenterGetDistributedCenter();
    CFNotificationCenterAddObserver(center, &target, preferencesChanged,
                                    CorvantaSettingsChangedName(), CorvantaSettingsChangedObject(),
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    SInt32 result;
    do {
        result = CFRunLoopRunInMode(kCFRunLoopDefaultMode, 1.0e10, false);
    } while (result != kCFRunLoopRunStopped && result != kCFRunLoopRunFinished);
    CFNotificationCenterRemoveEveryObserver(center, &target);
    if (result == kCFRunLoopRunFinished) postTo(context_, onUnavailable_);
}
