// SPDX-License-Identifier: MIT
// The rate source: loads the rate page of the exchange-rate site and turns it into one entry
// per currency, in page order.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// One row of the rate page, as the page spells it: nothing converted, trimmed or unescaped.
struct RateEntry {
    std::string country;
    std::string rate;
    bool operator==(const RateEntry&) const = default;
};
using RateArray = std::vector<RateEntry>;

// Loads and parses the page; blocks until done. Null when the page could not be had (see the
// log); an empty array when it holds no currency. The caller owns the result.
std::unique_ptr<RateArray> ExchangeRatesArray();
// Our addition: the same for the page of another base currency, /d/<base>/table.html (the one
// above is the US dollar's). Null for a base that is not a code of three capital letters.
std::unique_ptr<RateArray> ExchangeRatesArray(std::string_view base);
