// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/CFBundle.h"

#include "base/UserLanguages.h"
#include "platform/CoreFoundation/StringTableCache.h"

namespace {

// A table name becomes part of a path: it must not lead to another folder.
bool isTableName(std::string_view name) {
    return !name.empty() && name.find('/') == std::string_view::npos && name != "." && name != "..";
}

CFStringRef fallbackText(CFStringRef key, CFStringRef value) {
    CFStringRef text = value && !CFStringGetUTF8(value).empty() ? value : key;
    return text ? static_cast<CFStringRef>(CFRetain(text)) : nullptr;
}

} // namespace

CFStringRef CFBundleCopyLocalizedString(CFBundleRef bundle, CFStringRef key, CFStringRef value,
                                        CFStringRef tableName) {
    const std::string_view table = tableName ? CFStringGetUTF8(tableName) : "Localizable";
    if (!bundle || !key || !isTableName(table)) return fallbackText(key, value);

    const std::string resources = CFBundleGetResourcesPath(bundle) + "/";
    const std::string wanted(CFStringGetUTF8(key));
    // A table that lacks the key leaves it to the next language, so a partial translation
    // falls back to English text rather than to the key.
    for (const std::string& language : PreferredLanguages()) {
        const StringTable& strings =
            CachedStringTable(resources + language + ".lproj/" + std::string(table) + ".strings");
        auto found = strings.find(wanted);
        if (found != strings.end()) return static_cast<CFStringRef>(CFRetain(found->second.get()));
    }
    return fallbackText(key, value);
}
