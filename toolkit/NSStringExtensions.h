// SPDX-License-Identifier: MIT
// Text operations of the NSStringExtensions category: free functions, the receiver first.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace NSStringExtensions {

// Pattern extraction, case-insensitive (NSStringExtensions.cpp).
//
// The text between the first `opening` in `text` and the first `closing` that begins at or
// after its end; empty when they touch, nothing when either is missing.
std::optional<std::string> extractBetweenPattern(std::string_view text, std::string_view opening,
                                                 std::string_view closing);
// The text between the first `closing` in `text` and the nearest `opening` that ends at or
// before its start; nothing when either is missing.
std::optional<std::string> reverseExtractBetweenPattern(std::string_view text,
                                                        std::string_view opening,
                                                        std::string_view closing);

// Running a script (NSStringScript.cpp).
//
// Runs `source` as a script (a Lua 5.4 text, see platform/AppleScript) and gives back its
// result as text: a text or a number as it reads, the first item of a list. nullopt when the
// script is empty, does not compile, fails, gives back nothing or a value without a text form.
// Never throws.
std::optional<std::string> runScript(std::string_view source);

// Cleaning for file names (NSStringFilename.cpp).
//
// A copy of `text` with every "/" and ":" turned into "-", fit for a file name.
std::string cleanForFilename(std::string_view text);

} // namespace NSStringExtensions
