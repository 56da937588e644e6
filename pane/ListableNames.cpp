// SPDX-License-Identifier: MIT
#include "pane/ListableNames.h"

#include "base/EscapedText.h"

ListableNames ListableCurrencyNames(const RateArray& rates) {
    ListableNames result;
    result.names.reserve(rates.size());
    for (const RateEntry& entry : rates) {
        const bool listable = entry.country.find(',') == std::string::npos &&
                              !ContainsControlCharacter(entry.country);
        (listable ? result.names : result.leftOut).push_back(entry.country);
    }
    return result;
}

std::string LeftOutNamesLine(const std::vector<std::string>& leftOut) {
    if (leftOut.empty()) return {};
    std::string line = "CorvantaPrefPane: " + std::to_string(leftOut.size()) +
                       " currency names left out of the table (a \",\" or a control character "
                       "in them):";
    // Bounded like the log line of the rates: a page of many such names makes no huge line.
    for (std::size_t i = 0; i < leftOut.size(); ++i) {
        const std::string name = (i ? ", " : " ") + QuotedText(leftOut[i]);
        if (line.size() + name.size() > kMaxLeftOutLine) {
            line += (i ? ", ... " : " ... ") + std::to_string(leftOut.size() - i) + " more";
            break;
        }
        line += name;
    }
    return line;
}
