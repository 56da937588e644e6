// SPDX-License-Identifier: MIT
#include "platform/Foundation/NSString.h"

#include "platform/CoreFoundation/CFRef.h"
#include "platform/CoreFoundation/CFString.h"
#include "platform/Foundation/CaseFoldedText.h"

#include <algorithm>

namespace NSString {

std::optional<std::string> initWithData(std::string_view data, NSStringEncoding encoding) {
    CFStringEncoding cfEncoding;
    switch (encoding) {
    case NSUTF8StringEncoding:
        cfEncoding = kCFStringEncodingUTF8;
        break;
    case NSMacOSRomanStringEncoding:
        cfEncoding = kCFStringEncodingMacRoman;
        break;
    default:
        return std::nullopt;
    }
    // The two string classes are one on the original platform; the conversion lives with
    // CFString.
    CFRef<CFStringRef> decoded(
        CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(data.data()),
                                static_cast<CFIndex>(data.size()), cfEncoding, false));
    if (!decoded) return std::nullopt;
    return std::string(CFStringGetUTF8(decoded.get()));
}

NSRange rangeOfString(std::string_view text, std::string_view search,
                      NSStringCompareOptions options, NSRange range) {
    const NSRange notFound{NSNotFound, 0};
    if (search.empty() || range.location > text.size()) return notFound;
    const std::string_view within =
        text.substr(range.location, std::min(range.length, text.size() - range.location));
    const bool backwards = options & NSBackwardsSearch;

    if (!(options & NSCaseInsensitiveSearch)) {
        const size_t at = backwards ? within.rfind(search) : within.find(search);
        if (at == std::string_view::npos) return notFound;
        return {range.location + at, search.size()};
    }

    const CaseFoldedText folded(within);
    const std::string pattern = CaseFoldedText::fold(search);
    const size_t at = backwards ? folded.findLast(pattern) : folded.find(pattern);
    if (at == CaseFoldedText::npos) return notFound;
    const size_t start = folded.originalOffset(at);
    const size_t end = folded.originalOffset(at + pattern.size());
    return {range.location + start, end - start};
}

NSRange rangeOfString(std::string_view text, std::string_view search,
                      NSStringCompareOptions options) {
    return rangeOfString(text, search, options, NSMakeRange(0, text.size()));
}

} // namespace NSString
