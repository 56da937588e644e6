// SPDX-License-Identifier: MIT
#include "tools/SettingsLine.h"

#include "base/EscapedText.h"
#include "settings/CorvantaSettings.h"

std::string SettingsLine(CFPropertyListRef on, CFPropertyListRef countries) {
    const std::optional<bool> onValue = CorvantaSettingsOnValue(on);
    const std::optional<std::string> list = CorvantaSettingsCountriesValue(countries);
    std::string line = "{\"On\":";
    line += onValue ? (*onValue ? "true" : "false") : "null";
    line += ",\"Countries\":";
    line += list ? QuotedText(*list) : "null";
    return line + "}";
}
