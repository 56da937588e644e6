#include "tools/SettingsLine.h"

#include "pane/CorvantaSettings.h"

#include <cstdio>

std::string JsonQuoted(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
                quoted += escape;
            } else {
                quoted += c;
            }
        }
    }
    return quoted + "\"";
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
