// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/PropertyListFile.h"

#include "platform/CoreFoundation/PropertyListNesting.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>

PlistPtr ReadPropertyListDictionary(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return ParsePropertyListDictionary(data);
}

PlistPtr ParsePropertyListDictionary(std::string_view data) {
    if (data.empty() || data.size() > std::numeric_limits<uint32_t>::max()) return nullptr;
    // Checked before parsing: libplist frees (and copies) a tree recursively.
    if (!PropertyListNestingWithin(data)) return nullptr;
    plist_t root = nullptr;
    plist_from_memory(data.data(), static_cast<uint32_t>(data.size()), &root);
    PlistPtr owned(root);
    if (!owned || plist_get_node_type(owned.get()) != PLIST_DICT) return nullptr;
    return owned;
}

const char* PlistStringValue(plist_t node) {
    if (!node || plist_get_node_type(node) != PLIST_STRING) return nullptr;
    uint64_t length = 0;
    return plist_get_string_ptr(node, &length);
}

void PlistDictionaryForEach(plist_t dictionary,
                            const std::function<void(const char* key, plist_t value)>& visit) {
    if (!dictionary || plist_get_node_type(dictionary) != PLIST_DICT) return;
    plist_dict_iter iter = nullptr;
    plist_dict_new_iter(dictionary, &iter);
    for (;;) {
        char* key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(dictionary, iter, &key, &value);
        if (!key) break;
        // Owns the key, so that it is freed even when `visit` throws.
        const std::unique_ptr<char, decltype(&std::free)> ownedKey(key, &std::free);
        visit(key, value);
    }
    std::free(iter);
}

std::vector<std::pair<std::string, std::string>> PlistDictionaryStrings(plist_t dictionary) {
    std::vector<std::pair<std::string, std::string>> strings;
    PlistDictionaryForEach(dictionary, [&strings](const char* key, plist_t value) {
        if (const char* text = PlistStringValue(value)) strings.emplace_back(key, text);
    });
    return strings;
}
