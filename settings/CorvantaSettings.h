// SPDX-License-Identifier: MIT
// The settings the pane shares with the rate menu: where they live, their keys (the pane's two,
// and "Base", which only the menu reads and writes), the notification that says they changed,
// and how a reader interprets what it finds. Qt-free, so
// the menu, corvanta-watch and anything without a GUI can use it.
#pragma once

#include "platform/CoreFoundation/CFBase.h"
#include "platform/CoreFoundation/CFString.h"

#include <optional>
#include <string>

// The preferences' application id (CORVANTA_APPLICATION_ID of base/Identity.h).
CFStringRef CorvantaSettingsAppID();
// The key of the menu's on/off switch, a boolean: "On".
CFStringRef CorvantaSettingsOnKey();
// The key of the chosen currencies, a text of names separated by ",": "Countries".
CFStringRef CorvantaSettingsCountriesKey();
// The key of the menu's base currency, a text holding an ISO code: "Base".
CFStringRef CorvantaSettingsBaseKey();
// The distributed notification the pane posts when the user leaves it, and its object, the
// pane bundle's identifier (CORVANTA_CHANGED_NOTIFICATION and CORVANTA_CHANGED_OBJECT).
CFStringRef CorvantaSettingsChangedName();
CFStringRef CorvantaSettingsChangedObject();

// The type tests: a stored value is used only when it is a boolean ("On") or a text
// ("Countries"); anything else, like a missing value, gives nothing.
std::optional<bool> CorvantaSettingsOnValue(CFPropertyListRef value);
std::optional<std::string> CorvantaSettingsCountriesValue(CFPropertyListRef value);
// "Base" must be a text of three capital letters A-Z (a code the site may or may not offer).
std::optional<std::string> CorvantaSettingsBaseValue(CFPropertyListRef value);

// Reads the stored values as they are now in this process's view of the preferences (call
// CFPreferencesAppSynchronize first to see other processes' writes).
std::optional<bool> CorvantaSettingsReadStoredOn();
// "On" as the pane and the menu treat it: a missing or non-boolean value counts as on.
bool CorvantaSettingsReadOn();
// "Countries", or nothing when it is missing or not a text.
std::optional<std::string> CorvantaSettingsReadCountries();
// "Base", or kCorvantaDefaultBase when it is missing or fails its type test. Whether the site
// offers it is the reader's to find out (and to fall back on the default when not).
std::string CorvantaSettingsReadBase();
inline constexpr const char* kCorvantaDefaultBase = "USD";
// Stores "Base" and synchronises; false when the synchronisation failed.
bool CorvantaSettingsWriteBase(const std::string& code);

// Posts the change notification, as the pane does after it has written and synchronised.
void CorvantaSettingsPostChanged();
