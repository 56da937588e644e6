// SPDX-License-Identifier: MIT
// The parse done the slow, literal way: the page-order scan with the pattern extraction on a
// shrinking remainder, and one search of the whole page per name. The fast parse must give
// the same entries on every page: the tests and the fuzz target hold it to that, and the
// benchmark measures it against this one. Not part of the library, and not installed.
#pragma once

#include "platform/Foundation/NSString.h"
#include "rates/ExchangeRates.h"
#include "rates/RatePatterns.h"
#include "toolkit/NSStringExtensions.h"

#include <string>
#include <string_view>

inline RateArray ReferenceParseRatePage(std::string_view page) {
    using namespace RatePatterns;
    using NSStringExtensions::extractBetweenPattern;
    std::vector<std::string> names;
    std::string_view remainder = page;
    for (;;) {
        const NSRange opening = NSString::rangeOfString(remainder, kNameOpening, 1);
        if (opening.location == NSNotFound) break;
        if (auto name = extractBetweenPattern(remainder, kNameOpening, kNameClosing)) {
            // A closing that comes after the next cell's opening is not this cell's own.
            const size_t closing = opening.location + opening.length + name->size();
            const NSUInteger next = opening.location + 1;
            const NSRange nextOpening = NSString::rangeOfString(
                remainder, kNameOpening, 1, NSMakeRange(next, remainder.size() - next));
            if (nextOpening.location == NSNotFound || nextOpening.location >= closing)
                names.push_back(*name);
        }
        remainder = remainder.substr(opening.location + 1);
    }
    RateArray rates;
    for (const std::string& name : names) {
        RateEntry entry{name, ""};
        const std::string key = std::string(kNameFrame) + name + std::string(kNameFrame);
        const NSRange found = NSString::rangeOfString(page, key, NSCaseInsensitiveSearch);
        if (found.location != NSNotFound) {
            auto rate =
                extractBetweenPattern(page.substr(found.location), kRateOpening, kRateClosing);
            if (rate && rate->size() <= kLongestRate) entry.rate = *rate;
        }
        rates.push_back(entry);
    }
    return rates;
}
