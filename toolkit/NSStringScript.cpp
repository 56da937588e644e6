// SPDX-License-Identifier: MIT
#include "toolkit/NSStringExtensions.h"

#include "platform/AppleScript/AppleScript.h"

#include <new>

namespace NSStringExtensions {

std::optional<std::string> runScript(std::string_view source) {
    try {
        std::unique_ptr<NSAppleScript> script = NSAppleScript::initWithSource(source);
        if (!script) return std::nullopt;
        // Why a run failed is of no interest here: every failure is a missing result.
        std::optional<NSAppleEventDescriptor> result = script->executeAndReturnError(nullptr);
        if (!result) return std::nullopt;
        // Only the first item of a list counts.
        if (result->descriptorType() == typeAEList) {
            if (result->numberOfItems() <= 0) return std::nullopt;
            const NSAppleEventDescriptor* first = result->descriptorAtIndex(1);
            if (!first) return std::nullopt;
            return first->stringValue();
        }
        return result->stringValue();
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

} // namespace NSStringExtensions
