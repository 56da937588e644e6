// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/CFPropertyListNode.h"

#include "platform/CoreFoundation/CFBoolean.h"
#include "platform/CoreFoundation/CFOpaqueValue.h"
#include "platform/CoreFoundation/CFRuntime.h"
#include "platform/CoreFoundation/CFString.h"

#include <new>
#include <string>

namespace {

struct XmlFree {
    void operator()(char* xml) const { plist_to_xml_free(xml); }
};

struct OpaqueValue final : __CFObject {
    explicit OpaqueValue(PlistPtr n) : node(std::move(n)) {}
    CFTypeID typeID() const override { return CFOpaqueValueGetTypeID(); }
    // libplist compares arrays and dictionaries by identity, so compare their XML instead.
    bool equals(const __CFObject& other) const override {
        return CFPropertyListNodeXml(node.get()) ==
               CFPropertyListNodeXml(static_cast<const OpaqueValue&>(other).node.get());
    }
    CFHashCode hash() const override { return plist_get_node_type(node.get()); }

    const PlistPtr node;
};

CFPropertyListRef createText(plist_t node) {
    uint64_t length = 0;
    const char* text = plist_get_string_ptr(node, &length);
    if (!text) return nullptr;
    return CFStringCreateWithUTF8(std::string_view(text, static_cast<size_t>(length)));
}

} // namespace

std::string CFPropertyListNodeXml(plist_t node) {
    char* xml = nullptr;
    uint32_t length = 0;
    if (node) plist_to_xml(node, &xml, &length);
    std::unique_ptr<char, XmlFree> owned(xml);
    return xml ? std::string(xml, length) : std::string();
}

CFTypeID CFOpaqueValueGetTypeID() {
    static const CFTypeID id = CFRuntimeRegisterType("CFOpaqueValue");
    return id;
}

CFPropertyListRef CFPropertyListCreateFromNode(plist_t node) {
    if (!node) return nullptr;
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return value ? kCFBooleanTrue : kCFBooleanFalse;
    }
    case PLIST_STRING:
        if (CFPropertyListRef text = createText(node)) return text;
        break;
    default:
        break;
    }
    return new (std::nothrow) OpaqueValue(PlistPtr(plist_copy(node)));
}

PlistPtr CFPropertyListCreateNode(CFPropertyListRef value) {
    if (!value) return nullptr;
    const CFTypeID type = CFGetTypeID(value);
    if (type == CFBooleanGetTypeID())
        return PlistPtr(plist_new_bool(CFBooleanGetValue(static_cast<CFBooleanRef>(value))));
    if (type == CFStringGetTypeID()) {
        const std::string text(CFStringGetUTF8(static_cast<CFStringRef>(value)));
        // libplist texts end at a zero byte; storing the rest would lose it without a word.
        if (text.find('\0') != std::string::npos) return nullptr;
        return PlistPtr(plist_new_string(text.c_str()));
    }
    if (type == CFOpaqueValueGetTypeID())
        return PlistPtr(plist_copy(static_cast<const OpaqueValue*>(value)->node.get()));
    return nullptr;
}
