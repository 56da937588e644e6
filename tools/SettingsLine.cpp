#include "tools/SettingsLine.h"

#include "pane/CorvantaSettings.h"
#include "platform/Foundation/EscapedText.h"

std::string JsonQuoted(std::string_view text) {
    return QuotedText(text);
}

std::string SettingsLine(CFPropertyListRef on, CFPropertyListRef countries) {
    const std::optional<bool> onValue = CorvantaSettingsOnValue(on);
    const std::optional<std::string> list = CorvantaSettingsCountriesValue(countries);
    std::string line = "{\"On\":";
    line += onValue ? (*onValue ? "true" : "false") : "null";
    line += ",\"Countries\":";
    line += list ? JsonQuoted(*list) : "null";
    return line + "}";
}
