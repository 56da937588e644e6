// SPDX-License-Identifier: MIT
#include "settings/CorvantaSettings.h"

#include "base/Identity.h"
#include "platform/CoreFoundation/CFBoolean.h"
#include "platform/CoreFoundation/CFNotificationCenter.h"
#include "platform/CoreFoundation/CFPreferences.h"
#include "platform/CoreFoundation/CFRef.h"

CFStringRef CorvantaSettingsAppID() {
    return CFSTR(CORVANTA_APPLICATION_ID);
}

CFStringRef CorvantaSettingsOnKey() {
    return CFSTR("On");
}

CFStringRef CorvantaSettingsCountriesKey() {
    return CFSTR("Countries");
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

void CorvantaSettingsPostChanged() {
    CFNotificationCenterPostNotification(CFNotificationCenterGetDistributedCenter(),
                                         CorvantaSettingsChangedName(),
                                         CorvantaSettingsChangedObject(), nullptr, true);
}
