#include "tools/SettingsLine.h"

#include "platform/CoreFoundation/CFBoolean.h"
#include "platform/CoreFoundation/CFString.h"
#include "platform/Foundation/EscapedText.h"

std::string JsonQuoted(std::string_view text) {
    return QuotedText(text);
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
