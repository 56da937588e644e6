// Reading property list files (XML or binary) with libplist, for the stand-ins that keep their
// data in them: bundles' Info.plist and string tables, and the preference files.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include <plist/plist.h>

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
// Owns a libplist tree.
using PlistPtr = std::unique_ptr<std::remove_pointer_t<plist_t>, PlistFree>;

// The root dictionary of the property list at `path`; null when the file cannot be read, is
// not a property list, or its root is not a dictionary.
PlistPtr ReadPropertyListDictionary(const std::string& path);

// The root dictionary of a property list held in memory; null as above.
PlistPtr ParsePropertyListDictionary(std::string_view data);

// The text of a string node, or null for a node of another type. Valid while the node lives.
const char* PlistStringValue(plist_t node);
