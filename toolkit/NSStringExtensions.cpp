// SPDX-License-Identifier: MIT
#include "toolkit/NSStringExtensions.h"

#include "platform/Foundation/NSString.h"

namespace NSStringExtensions {

std::optional<std::string> extractBetweenPattern(std::string_view text, std::string_view opening,
                                                 std::string_view closing) {
    const NSRange open = NSString::rangeOfString(text, opening, NSCaseInsensitiveSearch);
    if (open.location == NSNotFound) return std::nullopt;
    const NSUInteger from = open.location + open.length;
    const NSRange close = NSString::rangeOfString(text, closing, NSCaseInsensitiveSearch,
                                                  NSMakeRange(from, text.size() - from));
    if (close.location == NSNotFound) return std::nullopt;
    return std::string(text.substr(from, close.location - from));
}

std::optional<std::string> reverseExtractBetweenPattern(std::string_view text,
                                                        std::string_view opening,
                                                        std::string_view closing) {
    const NSRange close = NSString::rangeOfString(text, closing, NSCaseInsensitiveSearch);
    if (close.location == NSNotFound) return std::nullopt;
    const NSRange open = NSString::rangeOfString(
        text, opening, NSCaseInsensitiveSearch | NSBackwardsSearch, NSMakeRange(0, close.location));
    if (open.location == NSNotFound) return std::nullopt;
    const NSUInteger from = open.location + open.length;
    return std::string(text.substr(from, close.location - from));
}

} // namespace NSStringExtensions
