// SPDX-License-Identifier: MIT
// The rate pages, /d/<base>/table.html, from the euro reference rates: one row per currency
// but the base, in the markup the rate source reads, with the rates per one unit of the base.
// /d/USD/table.html is the pane's.
#pragma once

#include "rates/CurrencyNames.h"
#include "ratesite/ReferenceRates.h"
#include "ratesite/SiteCurrencies.h"

#include <string>
#include <string_view>

// The page for `base`, one of `offered` (OfferedCurrencies of `rates`). `fromSnapshot` adds
// the note that these are the bundled rates, not the feed's latest. A row whose figures the
// page could not show (see RowFitsThePage) is left out.
std::string BuildRatePage(const ReferenceRates& rates, const std::vector<SiteCurrency>& offered,
                          std::string_view base, bool fromSnapshot);
// The same, working out the offered currencies itself.
std::string BuildRatePage(const ReferenceRates& rates, std::string_view base, bool fromSnapshot,
                          const CurrencyNames& names);

// The currencies the page for `base` lists, in page order: each of `offered` but the base
// whose row fits the page on the newest day.
std::vector<const SiteCurrency*> PageCurrencies(const ReferenceRates& rates,
                                                const std::vector<SiteCurrency>& offered,
                                                std::string_view base);

// Whether both figures of a row, units per base and base per unit, are ordinary numbers whose
// six-decimal text the rate source takes.
bool RowFitsThePage(double perBase);

// Six decimals in fixed notation, whatever the process locale is.
std::string SixDecimals(double value);
