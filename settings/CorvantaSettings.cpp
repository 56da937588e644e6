// SPDX-License-Identifier: MIT
#include "settings/CorvantaSettings.h"

#include "base/Identity.h"
#include "platform/CoreFoundation/CFBoolean.h"
#include "platform/CoreFoundation/CFNotificationCenter.h"
#include "platform/CoreFoundation/CFPreferences.h"
#include "platform/CoreFoundation/CFRef.h"

#include <algorithm>

CFStringRef CorvantaSettingsAppID() {
    return CFSTR(CORVANTA_APPLICATION_ID);
}

CFStringRef CorvantaSettingsOnKey() {
    return CFSTR("On");
}

CFStringRef CorvantaSettingsCountriesKey() {
    return CFSTR("Countries");
}

CFStringRef CorvantaSettingsBaseKey() {
    return CFSTR("Base");
}

CFStringRef CorvantaSettingsChangedName() {
    return CFSTR(CORVANTA_CHANGED_NOTIFICATION);
}

CFStringRef CorvantaSettingsChangedObject() {
    return CFSTR(CORVANTA_CHANGED_OBJECT);
}

std::optional<bool> CorvantaSettingsOnValue(CFPropertyListRef value) {
    if (!value || CFGetTypeID(value) != CFBooleanGetTypeID()) return std::nullopt;
    return CFBooleanGetValue(static_cast<CFBooleanRef>(value));
}

std::optional<std::string> CorvantaSettingsCountriesValue(CFPropertyListRef value) {
    if (!value || CFGetTypeID(value) != CFStringGetTypeID()) return std::nullopt;
    return std::string(CFStringGetUTF8(static_cast<CFStringRef>(value)));
}

std::optional<std::string> CorvantaSettingsBaseValue(CFPropertyListRef value) {
    std::optional<std::string> code = CorvantaSettingsCountriesValue(value);
    if (!code || code->size() != 3 ||
        !std::all_of(code->begin(), code->end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
        return std::nullopt;
    return code;
}

std::optional<bool> CorvantaSettingsReadStoredOn() {
    CFRef<CFPropertyListRef> on(
        CFPreferencesCopyAppValue(CorvantaSettingsOnKey(), CorvantaSettingsAppID()));
    return CorvantaSettingsOnValue(on.get());
}

bool CorvantaSettingsReadOn() {
    return CorvantaSettingsReadStoredOn().value_or(true);
}

std::optional<std::string> CorvantaSettingsReadCountries() {
    CFRef<CFPropertyListRef> countries(
        CFPreferencesCopyAppValue(CorvantaSettingsCountriesKey(), CorvantaSettingsAppID()));
    return CorvantaSettingsCountriesValue(countries.get());
}

std::string CorvantaSettingsReadBase() {
    CFRef<CFPropertyListRef> base(
        CFPreferencesCopyAppValue(CorvantaSettingsBaseKey(), CorvantaSettingsAppID()));
    return CorvantaSettingsBaseValue(base.get()).value_or(kCorvantaDefaultBase);
}

bool CorvantaSettingsWriteBase(const std::string& code) {
    CFRef<CFStringRef> text(CFStringCreateWithUTF8(code));
    if (!text) return false;
    CFPreferencesSetAppValue(CorvantaSettingsBaseKey(), text.get(), CorvantaSettingsAppID());
    return CFPreferencesAppSynchronize(CorvantaSettingsAppID());
}

void CorvantaSettingsPostChanged() {
    CFNotificationCenterPostNotification(CFNotificationCenterGetDistributedCenter(),
                                         CorvantaSettingsChangedName(),
                                         CorvantaSettingsChangedObject(), nullptr, true);
}
