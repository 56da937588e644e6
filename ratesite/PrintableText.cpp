// SPDX-License-Identifier: MIT
#include "ratesite/PrintableText.h"

#include "base/EscapedText.h"

std::string PrintableText(std::string_view text) {
    constexpr size_t kLongest = 40;
    // Escaped by the one escaper of untrusted text; a cut through a character shows as U+FFFD.
    if (text.size() <= kLongest) return QuotedText(text);
    return QuotedText(std::string(text.substr(0, kLongest)) + "...");
}
