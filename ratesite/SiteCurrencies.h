// SPDX-License-Identifier: MIT
// The currencies the site offers for one held document, in the order every page lists them,
// and the cross rates between them. Worked out once per document: every page and history is
// made from it.
#pragma once

#include "rates/CurrencyNames.h"
#include "ratesite/ReferenceRates.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct SiteCurrency {
    std::string code;
    std::string name; // the display name in the user's language
};

// The euro and every currency of the newest day, sorted by name in the user's collation (by
// code where two names are equal).
std::vector<SiteCurrency> OfferedCurrencies(const ReferenceRates& rates,
                                            const CurrencyNames& names);

// Units of `code` for one unit of `base` on `day`: the feed's rate of `code` over that of
// `base`, the euro's being 1. Nothing when the day lacks either, or the quotient is no finite
// positive number.
std::optional<double> CrossRate(const ReferenceDay& day, std::string_view code,
                                std::string_view base);
