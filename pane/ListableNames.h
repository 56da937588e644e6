// SPDX-License-Identifier: MIT
// Which currency names of a fetch the pane can offer. The Countries list is a text of names
// each followed by ",", so a name holding "," would be stored as two entries, and a control
// character (a zero byte above all) could make every later save of the list fail. The rate
// array keeps the page's entries as they are; only the pane's list of names leaves these out.
#pragma once

#include "rates/ExchangeRates.h"

#include <string>
#include <vector>

struct ListableNames {
    std::vector<std::string> names;   // in page order
    std::vector<std::string> leftOut; // in page order, as the page spells them
};

ListableNames ListableCurrencyNames(const RateArray& rates);

inline constexpr std::size_t kMaxLeftOutLine = 64 * 1024;

// The log line naming what was left out, or empty when nothing was; past kMaxLeftOutLine bytes
// it says how many more there are instead of naming them.
std::string LeftOutNamesLine(const std::vector<std::string>& leftOut);
