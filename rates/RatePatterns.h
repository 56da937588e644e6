// SPDX-License-Identifier: MIT
// The fixed markup of the rate page. All are matched without regard to letter case.
#pragma once

#include <string_view>

namespace RatePatterns {

// A currency's name cell: opening, the name, closing.
inline constexpr std::string_view kNameOpening = "<td><font face=\"Verdana\" size=-1>&nbsp;&nbsp;";
inline constexpr std::string_view kNameClosing = "&nbsp;&nbsp;</font></td>";
// A name framed as in its cell; the rate is the first menu link after it.
inline constexpr std::string_view kNameFrame = "&nbsp;&nbsp;";
inline constexpr std::string_view kRateOpening = "class=\"menu\">";
inline constexpr std::string_view kRateClosing = "</a>&nbsp;</font></td>";

// Rates are short numbers; a longer "rate" is stray markup and is not taken. The bound also
// keeps the result small: every name that shares a rate holds its own copy of it.
inline constexpr size_t kLongestRate = 128;

} // namespace RatePatterns
