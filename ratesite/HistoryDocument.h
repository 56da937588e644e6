// SPDX-License-Identifier: MIT
// /d/<base>/history.json: how the rates per one unit of the base moved over the days the feed
// holds (a daily feed or the snapshot: one day), for the rate menu's trend and chart:
//   {"base": "EUR", "source": "European Central Bank",
//    "days": ["2026-09-14", ...],                 oldest first
//    "names": {"USD": "US Dollar", ...},          the page's display names, in page order
//    "rates": {"USD": [1.1835, ...], ...}}        one number a day, null where there is none
// Every currency of the base's page is there, the base itself is not.
#pragma once

#include "ratesite/ReferenceRates.h"
#include "ratesite/SiteCurrencies.h"

#include <string>
#include <string_view>
#include <vector>

std::string BuildHistoryDocument(const ReferenceRates& rates,
                                 const std::vector<SiteCurrency>& offered, std::string_view base);
