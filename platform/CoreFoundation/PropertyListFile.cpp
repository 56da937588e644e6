#include "platform/CoreFoundation/PropertyListFile.h"

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
