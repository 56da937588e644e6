#include "pane/ListableNames.h"

#include "platform/Foundation/EscapedText.h"

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
    for (std::size_t i = 0; i < leftOut.size(); ++i)
        line += (i ? ", " : " ") + QuotedText(leftOut[i]);
    return line;
}
