// SPDX-License-Identifier: MIT
#include "rates/RatePage.h"

#include "base/EscapedText.h"

// Texts are quoted and escaped (QuotedText), so that whatever the page holds the rendering stays
// on one line, cannot pass for another log line and sends no control to a terminal.
std::string DescribeRateArray(const RateArray& rates, std::size_t maxBytes) {
    std::string out = "(";
    for (size_t i = 0; i < rates.size(); ++i) {
        std::string entry = i == 0 ? "{country = " : ", {country = ";
        entry += QuotedText(rates[i].country);
        entry += "; rate = ";
        entry += QuotedText(rates[i].rate);
        entry += ";}";
        if (out.size() + entry.size() > maxBytes) {
            out += (i == 0 ? "... " : ", ... ") + std::to_string(rates.size() - i) +
                   " more entries left out";
            break;
        }
        out += entry;
    }
    out += ")";
    return out;
}
