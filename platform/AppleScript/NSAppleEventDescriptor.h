// SPDX-License-Identifier: MIT
// The result of a script: a value with a four-character type code, an optional text form and,
// for a list, items that are descriptors in turn. Descriptors are plain values; a list owns its
// items.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

typedef std::uint32_t DescType;

// Type codes as the original platform spells them.
enum : DescType {
    typeNull = 0x6E756C6C,                   // 'null': no value, no text form
    typeAEList = 0x6C697374,                 // 'list'
    typeUnicodeText = 0x75747874,            // 'utxt'
    typeSInt32 = 0x6C6F6E67,                 // 'long'
    typeSInt64 = 0x636F6D70,                 // 'comp'
    typeIEEE64BitFloatingPoint = 0x646F7562, // 'doub'
};

class NSAppleEventDescriptor {
public:
    // A descriptor of type typeNull, with no text form.
    static NSAppleEventDescriptor nullDescriptor();
    static NSAppleEventDescriptor descriptorWithString(std::string text);
    // A number of `type` (typeSInt32, typeSInt64 or typeIEEE64BitFloatingPoint) with its text.
    static NSAppleEventDescriptor descriptorWithNumber(DescType type, std::string text);
    static NSAppleEventDescriptor listDescriptor(std::vector<NSAppleEventDescriptor> items);

    DescType descriptorType() const { return type_; }
    // The number of items of a list; 0 for any other descriptor.
    long numberOfItems() const { return static_cast<long>(items_.size()); }
    // The item at `index`, counted from 1; null when there is none. Valid as long as this
    // descriptor lives.
    const NSAppleEventDescriptor* descriptorAtIndex(long index) const;
    // The text form; nullopt for a descriptor that has none (nothing, a list, other values).
    const std::optional<std::string>& stringValue() const { return text_; }

private:
    NSAppleEventDescriptor(DescType type, std::optional<std::string> text,
                           std::vector<NSAppleEventDescriptor> items);

    DescType type_;
    std::optional<std::string> text_;
    std::vector<NSAppleEventDescriptor> items_;
};
