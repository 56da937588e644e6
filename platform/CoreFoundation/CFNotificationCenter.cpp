// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/CFNotificationCenter.h"

#include "platform/CoreFoundation/CFNotificationCenterDelivery.h"
#include "platform/CoreFoundation/CFRef.h"
#include "platform/CoreFoundation/CFRuntime.h"
#include "platform/CoreFoundation/DistributedNotificationBus.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace {

struct Registration {
    std::uint64_t id;
    const void* observer;
    CFNotificationCallback callback;
    CFRef<CFStringRef> name;   // null: any name
    CFRef<CFStringRef> object; // null: any sender
};

// The distributed centre's objects are texts; anything else counts as no object.
CFStringRef objectText(const void* object) {
    if (!object || CFGetTypeID(object) != CFStringGetTypeID()) return nullptr;
    return static_cast<CFStringRef>(object);
}

bool matchesFilter(const CFRef<CFStringRef>& filter, CFStringRef value) {
    return !filter || (value && CFEqual(filter.get(), value));
}

} // namespace

struct __CFNotificationCenter final : __CFObject {
    __CFNotificationCenter() { immortal = true; }
    CFTypeID typeID() const override { return CFNotificationCenterGetTypeID(); }

    std::optional<Registration> find(std::uint64_t id) {
        std::lock_guard lock(mutex);
        auto it = std::find_if(registrations.begin(), registrations.end(),
                               [id](const Registration& r) { return r.id == id; });
        return it == registrations.end() ? std::nullopt : std::optional(*it);
    }

    std::mutex mutex;
    std::vector<Registration> registrations;
    std::uint64_t nextID = 1;
};

CFTypeID CFNotificationCenterGetTypeID() {
    static const CFTypeID id = CFRuntimeRegisterType("CFNotificationCenter");
    return id;
}

CFNotificationCenterRef CFNotificationCenterGetDistributedCenter() {
    static auto* center = new __CFNotificationCenter();
    return center;
}

void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFNotificationName name,
                                          const void* object, CFDictionaryRef, Boolean) {
    if (!center || !name) return;
    CFStringRef sender = objectText(object);
    DistributedNotificationBus::shared().post(CFStringGetUTF8(name),
                                              sender ? CFStringGetUTF8(sender) : "");
}

void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callBack, CFStringRef name,
                                     const void* object, CFNotificationSuspensionBehavior) {
    if (!center || !callBack) return;
    {
        std::lock_guard lock(center->mutex);
        center->registrations.push_back({center->nextID++, observer, callBack,
                                         CFRef<CFStringRef>::retain(name),
                                         CFRef<CFStringRef>::retain(objectText(object))});
    }
    DistributedNotificationBus::shared().listen();
}

void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer,
                                        CFNotificationName name, const void* object) {
    if (!center) return;
    std::lock_guard lock(center->mutex);
    std::erase_if(center->registrations, [&](const Registration& r) {
        return r.observer == observer && (!name || (r.name && CFEqual(r.name.get(), name))) &&
               (!objectText(object) || (r.object && CFEqual(r.object.get(), objectText(object))));
    });
}

void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer) {
    CFNotificationCenterRemoveObserver(center, observer, nullptr, nullptr);
}

bool CFNotificationCenterIsListening() {
    auto* center = CFNotificationCenterGetDistributedCenter();
    {
        std::lock_guard lock(center->mutex);
        if (center->registrations.empty()) return false;
    }
    return DistributedNotificationBus::shared().isListening();
}

void CFNotificationCenterWait(std::chrono::nanoseconds timeout, int wakeFd) {
    DistributedNotificationBus::shared().waitForTraffic(timeout, wakeFd);
}

int CFNotificationCenterDeliverReceived() {
    auto* center = CFNotificationCenterGetDistributedCenter();
    int delivered = 0;
    for (const ReceivedNotification& received :
         DistributedNotificationBus::shared().takeReceived()) {
        CFRef<CFStringRef> name(CFStringCreateWithUTF8(received.name));
        CFRef<CFStringRef> object(
            received.object.empty() ? nullptr : CFStringCreateWithUTF8(received.object));
        if (!name) continue;
        std::vector<std::uint64_t> ids;
        {
            std::lock_guard lock(center->mutex);
            for (const Registration& r : center->registrations)
                if (matchesFilter(r.name, name.get()) && matchesFilter(r.object, object.get()))
                    ids.push_back(r.id);
        }
        // Called without the lock, so a callback may add or remove observers, or post; one
        // removed by an earlier callback of the same notification is not called.
        for (std::uint64_t id : ids) {
            if (auto registration = center->find(id)) {
                registration->callback(center, const_cast<void*>(registration->observer),
                                       name.get(), object.get(), nullptr);
                ++delivered;
            }
        }
    }
    return delivered;
}
