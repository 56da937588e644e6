// SPDX-License-Identifier: MIT
// A small, strict reader of JSON (RFC 8259) for the documents the menu fetches. The text comes
// from a site, so it is bounded: nesting, size and numbers are checked, and anything that is not
// well-formed JSON gives nothing rather than a guess.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct JsonValue {
    enum class Kind { Null, Boolean, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    // A string's text (UTF-8, escapes resolved), or a number's as written ("1.5e-3").
    std::string text;
    std::vector<JsonValue> items;                           // an array's
    std::vector<std::pair<std::string, JsonValue>> members; // an object's, in their order

    // The first member named `name` of an object, or null.
    const JsonValue* member(std::string_view name) const;
};

inline constexpr std::size_t kMaxJsonDepth = 16;

// The value `text` holds, with nothing but white space around it; nothing when it is not JSON,
// nests deeper than kMaxJsonDepth or holds a string that is not valid UTF-8.
std::optional<JsonValue> ParseJson(std::string_view text);
