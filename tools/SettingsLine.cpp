#include "tools/SettingsLine.h"

#include "platform/CoreFoundation/CFBoolean.h"
#include "platform/CoreFoundation/CFString.h"

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
    std::string line = "{\"On\":";
    if (on && CFGetTypeID(on) == CFBooleanGetTypeID())
        line += CFBooleanGetValue(static_cast<CFBooleanRef>(on)) ? "true" : "false";
    else
        line += "null";
    line += ",\"Countries\":";
    if (countries && CFGetTypeID(countries) == CFStringGetTypeID())
        line += JsonQuoted(CFStringGetUTF8(static_cast<CFStringRef>(countries)));
    else
        line += "null";
    return line + "}";
}
