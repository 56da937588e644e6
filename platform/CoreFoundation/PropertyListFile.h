// SPDX-License-Identifier: MIT
// Reading property list files (XML or binary) with libplist, for the stand-ins that keep their
// data in them: bundles' Info.plist and string tables, and the preference files.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <plist/plist.h>

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
// Owns a libplist tree.
using PlistPtr = std::unique_ptr<std::remove_pointer_t<plist_t>, PlistFree>;

// The root dictionary of the property list at `path`; null when the file cannot be read, is
// not a property list, its root is not a dictionary, or it nests deeper than
// kMaxPropertyListNesting.
PlistPtr ReadPropertyListDictionary(const std::string& path);

// The root dictionary of a property list held in memory; null as above.
PlistPtr ParsePropertyListDictionary(std::string_view data);

// The text of a string node, or null for a node of another type. Valid while the node lives.
const char* PlistStringValue(plist_t node);

// Calls `visit` with each key and value of a dictionary node, in the dictionary's order. The
// key is valid during the call only.
void PlistDictionaryForEach(plist_t dictionary,
                            const std::function<void(const char* key, plist_t value)>& visit);

// The entries of a dictionary node whose values are texts, in the dictionary's order; entries
// of other types are left out.
std::vector<std::pair<std::string, std::string>> PlistDictionaryStrings(plist_t dictionary);
