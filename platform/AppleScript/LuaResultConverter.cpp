// SPDX-License-Identifier: MIT
#include "platform/AppleScript/LuaResultConverter.h"

#include "platform/CoreFoundation/CFString.h"

#include <charconv>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <lua5.4/lua.h>

// Only Lua calls that cannot raise are made here (type tests, raw access, lua_next on keys it
// gave itself, lua_checkstack), so C++ objects may live across them.

namespace {

// As Lua's own tostring writes a number, but free of the process locale.
std::string floatText(lua_Number value) {
    char buffer[64];
    auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 14);
    if (error != std::errc()) return "nan";
    std::string text(buffer, end);
    if (text.find_first_not_of("-0123456789") == std::string::npos) text += ".0";
    return text;
}

NSAppleEventDescriptor numberDescriptor(lua_State* L, int index) {
    if (lua_isinteger(L, index)) {
        const lua_Integer integer = lua_tointeger(L, index);
        const bool fits32 = integer >= INT32_MIN && integer <= INT32_MAX;
        return NSAppleEventDescriptor::descriptorWithNumber(fits32 ? typeSInt32 : typeSInt64,
                                                            std::to_string(integer));
    }
    return NSAppleEventDescriptor::descriptorWithNumber(
        typeIEEE64BitFloatingPoint, floatText(lua_tonumberx(L, index, nullptr)));
}

} // namespace

std::optional<NSAppleEventDescriptor> LuaResultConverter::convert(int index) {
    return convertAt(lua_absindex(L_, index), 0);
}

bool LuaResultConverter::spend(std::size_t bytes) {
    if (bytes > bytesLeft_) return false;
    bytesLeft_ -= bytes;
    return true;
}

std::optional<NSAppleEventDescriptor> LuaResultConverter::convertAt(int index, int depth) {
    if (!spend(bytesPerValue_)) return std::nullopt;
    switch (lua_type(L_, index)) {
    case LUA_TSTRING: {
        size_t length = 0;
        const char* text = lua_tolstring(L_, index, &length); // a string: no conversion
        if (!IsValidUTF8(std::string_view(text, length)))
            return NSAppleEventDescriptor::nullDescriptor();
        if (!spend(length)) return std::nullopt;
        return NSAppleEventDescriptor::descriptorWithString(std::string(text, length));
    }
    case LUA_TNUMBER:
        return numberDescriptor(L_, index);
    case LUA_TTABLE:
        return convertTable(index, depth);
    default:
        return NSAppleEventDescriptor::nullDescriptor();
    }
}

// A table is a list when its keys are exactly 1..n; other tables have no text form.
std::optional<NSAppleEventDescriptor> LuaResultConverter::convertTable(int index, int depth) {
    if (depth >= kMaxDepth || !lua_checkstack(L_, 3)) return std::nullopt;
    const lua_Unsigned length = lua_rawlen(L_, index);
    lua_Unsigned keys = 0;
    bool sequence = true;
    lua_pushnil(L_);
    while (lua_next(L_, index)) {
        lua_pop(L_, 1);
        const lua_Integer key = lua_isinteger(L_, -1) ? lua_tointeger(L_, -1) : 0;
        if (key < 1 || static_cast<lua_Unsigned>(key) > length) {
            sequence = false;
            lua_pop(L_, 1);
            break;
        }
        ++keys;
    }
    if (!sequence || keys != length) return NSAppleEventDescriptor::nullDescriptor();

    std::vector<NSAppleEventDescriptor> items;
    for (lua_Unsigned position = 1; position <= length; ++position) {
        lua_rawgeti(L_, index, static_cast<lua_Integer>(position));
        std::optional<NSAppleEventDescriptor> item = convertAt(lua_gettop(L_), depth + 1);
        lua_pop(L_, 1);
        if (!item) return std::nullopt;
        items.push_back(std::move(*item));
    }
    return NSAppleEventDescriptor::listDescriptor(std::move(items));
}
