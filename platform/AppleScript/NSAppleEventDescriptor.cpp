// SPDX-License-Identifier: MIT
#include "platform/AppleScript/NSAppleEventDescriptor.h"

#include <utility>

NSAppleEventDescriptor::NSAppleEventDescriptor(DescType type, std::optional<std::string> text,
                                               std::vector<NSAppleEventDescriptor> items)
    : type_(type), text_(std::move(text)), items_(std::move(items)) {}

NSAppleEventDescriptor NSAppleEventDescriptor::nullDescriptor() {
    return NSAppleEventDescriptor(typeNull, std::nullopt, {});
}

NSAppleEventDescriptor NSAppleEventDescriptor::descriptorWithString(std::string text) {
    return NSAppleEventDescriptor(typeUnicodeText, std::move(text), {});
}

NSAppleEventDescriptor NSAppleEventDescriptor::descriptorWithNumber(DescType type,
                                                                    std::string text) {
    return NSAppleEventDescriptor(type, std::move(text), {});
}

NSAppleEventDescriptor
NSAppleEventDescriptor::listDescriptor(std::vector<NSAppleEventDescriptor> items) {
    return NSAppleEventDescriptor(typeAEList, std::nullopt, std::move(items));
}

const NSAppleEventDescriptor* NSAppleEventDescriptor::descriptorAtIndex(long index) const {
    if (index < 1 || index > numberOfItems()) return nullptr;
    return &items_[static_cast<size_t>(index - 1)];
}
