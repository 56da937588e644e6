// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/CFPreferences.h"

#include "platform/CoreFoundation/CFLog.h"
#include "platform/CoreFoundation/CFPreferencesDomain.h"
#include "platform/CoreFoundation/CFPreferencesLocation.h"

#include <map>
#include <memory>
#include <mutex>

namespace {

std::mutex domainsMutex;
std::mutex observerMutex;
CFPreferencesFailureObserver failureObserver; // guarded by observerMutex

// Domains are keyed by their file, so that a changed XDG_CONFIG_HOME gives fresh domains.
// Call with domainsMutex held. Null for an application id that cannot name a file.
CFPreferencesDomain* domainFor(CFStringRef applicationID) {
    static auto* domains = new std::map<std::string, std::unique_ptr<CFPreferencesDomain>>();
    if (!applicationID) return nullptr;
    auto path = CFPreferencesFilePath(CFStringGetUTF8(applicationID));
    if (!path) return nullptr;
    auto& domain = (*domains)[*path];
    if (!domain) domain = std::make_unique<CFPreferencesDomain>(*path);
    return domain.get();
}

// Keys are the file's dictionary keys, which cannot hold a zero byte.
bool isUsableKey(CFStringRef key) {
    return key && CFStringGetUTF8(key).find('\0') == std::string_view::npos;
}

} // namespace

void CFPreferencesSetAppValue(CFStringRef key, CFPropertyListRef value, CFStringRef applicationID) {
    if (!isUsableKey(key)) return;
    if (value && !CFPropertyListCreateNode(value)) {
        CFLogLine("CFPreferences: a value for \"" + std::string(CFStringGetUTF8(key)) +
                  "\" cannot be stored (a type or a text the file cannot hold); ignored");
        return;
    }
    std::lock_guard lock(domainsMutex);
    if (CFPreferencesDomain* domain = domainFor(applicationID))
        domain->set(std::string(CFStringGetUTF8(key)), CFRef<CFPropertyListRef>::retain(value));
}

CFPropertyListRef CFPreferencesCopyAppValue(CFStringRef key, CFStringRef applicationID) {
    if (!isUsableKey(key)) return nullptr;
    std::lock_guard lock(domainsMutex);
    CFPreferencesDomain* domain = domainFor(applicationID);
    return domain ? domain->copy(std::string(CFStringGetUTF8(key))).release() : nullptr;
}

Boolean CFPreferencesAppSynchronize(CFStringRef applicationID) {
    std::string reason;
    {
        std::lock_guard lock(domainsMutex);
        CFPreferencesDomain* domain = domainFor(applicationID);
        if (!domain) return false;
        if (domain->synchronize()) return true;
        reason = domain->lastError().empty() ? "unknown error" : domain->lastError();
    }
    const std::string id(CFStringGetUTF8(applicationID));
    CFLogLine("CFPreferences: the preferences of " + id + " could not be synchronised: " + reason);
    // Called without our locks held, so that the observer may use the preferences itself.
    CFPreferencesFailureObserver observer;
    {
        std::lock_guard lock(observerMutex);
        observer = failureObserver;
    }
    if (observer) observer(id, reason);
    return false;
}

void CFPreferencesSetFailureObserver(CFPreferencesFailureObserver observer) {
    std::lock_guard lock(observerMutex);
    failureObserver = std::move(observer);
}
