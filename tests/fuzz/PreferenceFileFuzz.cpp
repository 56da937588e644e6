// SPDX-License-Identifier: MIT
// libFuzzer target: the preference file reader on arbitrary bytes, as a damaged or hostile
// file would give them. The bytes are parsed (XML or binary), the nesting check must keep every
// tree it lets through shallow enough for libplist's recursive copy, free and XML writer, and
// every value is turned into a CF value as a synchronisation would.
#include "platform/CoreFoundation/CFPropertyListNode.h"
#include "platform/CoreFoundation/CFRef.h"
#include "platform/CoreFoundation/PropertyListFile.h"
#include "platform/CoreFoundation/PropertyListNesting.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    PlistPtr dictionary = ParsePropertyListDictionary(bytes);
    if (!dictionary) return 0;
    PlistDictionaryForEach(dictionary.get(), [](const char*, plist_t value) {
        CFRef<CFPropertyListRef> converted(CFPropertyListCreateFromNode(value));
        PlistPtr back = CFPropertyListCreateNode(converted.get());
    });
    // What a rewrite stores must read back as a file again.
    const std::string xml = CFPropertyListNodeXml(dictionary.get());
    if (!PropertyListNestingWithin(xml, kMaxPropertyListNesting + 1)) __builtin_trap();
    return 0;
}
