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

} // namespace NSStringExtensions
