// SPDX-License-Identifier: MIT
// Copies a value of a Lua stack into a descriptor, so that the result outlives the state.
#pragma once

#include "platform/AppleScript/NSAppleEventDescriptor.h"

#include <cstddef>
#include <optional>

struct lua_State;

class LuaResultConverter {
public:
    // Copies at most `byteLimit` bytes in all: the bytes of the texts, and `bytesPerValue` more
    // for each value.
    LuaResultConverter(lua_State* L, std::size_t byteLimit, std::size_t bytesPerValue)
        : L_(L), bytesLeft_(byteLimit), bytesPerValue_(bytesPerValue) {}

    // The descriptor of the value at stack `index`: a text for a string that is valid UTF-8,
    // a number with its text form, a list for a sequence table, else a null descriptor.
    // nullopt when the value nests deeper than a list of lists may, loops back on itself or
    // exceeds the limit. Raises no Lua error.
    std::optional<NSAppleEventDescriptor> convert(int index);

private:
    // Deep enough for any real nesting; a table that contains itself reaches it soon.
    static constexpr int kMaxDepth = 100;

    std::optional<NSAppleEventDescriptor> convertAt(int index, int depth);
    std::optional<NSAppleEventDescriptor> convertTable(int index, int depth);
    bool spend(std::size_t bytes);

    lua_State* L_;
    std::size_t bytesLeft_;
    std::size_t bytesPerValue_;
};
