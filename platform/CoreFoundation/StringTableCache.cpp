// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/StringTableCache.h"

#include "platform/CoreFoundation/PropertyListFile.h"

#include <map>
#include <memory>
#include <mutex>

namespace {

StringTable readStringTable(const std::string& path) {
    StringTable table;
    PlistPtr root = ReadPropertyListDictionary(path);
    if (!root) return table;
    for (auto& [key, text] : PlistDictionaryStrings(root.get())) {
        CFRef<CFStringRef> string(CFStringCreateWithUTF8(text));
        if (string) table.emplace(std::move(key), std::move(string));
    }
    return table;
}

} // namespace

const StringTable& CachedStringTable(const std::string& path) {
    static std::mutex mutex;
    // Never destroyed: callers keep the texts of these tables for the life of the process.
    static auto* tables = new std::map<std::string, std::unique_ptr<const StringTable>>();
    std::lock_guard lock(mutex);
    auto found = tables->find(path);
    if (found == tables->end())
        found =
            tables->emplace(path, std::make_unique<const StringTable>(readStringTable(path))).first;
    return *found->second;
}
