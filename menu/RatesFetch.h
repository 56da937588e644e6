// SPDX-License-Identifier: MIT
// One fetch of what the menu shows for a base currency: its history from the rate site
// (/d/<base>/history.json, which also tells whether the site offers the base at all) and its
// rate page (/d/<base>/table.html). Blocks; the menu runs it on a thread of its own.
#pragma once

#include "menu/RateHistory.h"
#include "rates/ExchangeRates.h"

#include <memory>
#include <string>

struct FetchedRates {
    std::string base; // what the rates are per: the base asked for, or the fallback
    std::shared_ptr<const RateArray> rates;     // null when the page could not be loaded
    std::shared_ptr<const RateHistory> history; // null when there is no usable history
    // False when the site said it has no such currency (never for the US dollar, whose page
    // every rate site has, with or without a history).
    bool askedBaseOffered = true;
};

enum class BaseFallback {
    ToDollar, // a base the site does not offer counts as the US dollar
    None,     // it is reported (askedBaseOffered) and nothing is fetched
};

FetchedRates FetchRatesFor(const std::string& base, BaseFallback fallback);
