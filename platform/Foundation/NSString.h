// SPDX-License-Identifier: MIT
// The platform string operations our code calls, over UTF-8 text in std::string. Positions and
// lengths are byte offsets into the UTF-8 text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

typedef unsigned long NSStringEncoding;
enum : NSStringEncoding {
    NSUTF8StringEncoding = 4,
    NSMacOSRomanStringEncoding = 30,
};

typedef unsigned long NSStringCompareOptions;
enum : NSStringCompareOptions {
    NSCaseInsensitiveSearch = 1,
    NSLiteralSearch = 2,
    NSBackwardsSearch = 4,
};

typedef size_t NSUInteger;
inline constexpr NSUInteger NSNotFound = static_cast<NSUInteger>(-1);

struct NSRange {
    NSUInteger location = NSNotFound;
    NSUInteger length = 0;
    bool operator==(const NSRange&) const = default;
};
inline NSRange NSMakeRange(NSUInteger location, NSUInteger length) {
    return {location, length};
}

namespace NSString {

// The text of `data` in `encoding`, or nothing when the bytes are not valid in it or the
// encoding is not one we support (UTF-8 and Mac OS Roman).
std::optional<std::string> initWithData(std::string_view data, NSStringEncoding encoding);

// The occurrence of `search` in `text` (within `range`): the first one, or with
// NSBackwardsSearch the last one that lies wholly in the range. NSCaseInsensitiveSearch
// compares by Unicode simple case folding. {NSNotFound, 0} when there is none or `search` is
// empty. A range reaching past the text is cut to it.
NSRange rangeOfString(std::string_view text, std::string_view search,
                      NSStringCompareOptions options, NSRange range);
NSRange rangeOfString(std::string_view text, std::string_view search,
                      NSStringCompareOptions options = 0);

} // namespace NSString
