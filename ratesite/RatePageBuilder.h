// The rate page, /d/USD/table.html, from the euro reference rates: one row per currency in the
// markup the rate source reads, the US dollar left out and the euro added, sorted by name.
#pragma once

#include "ratesite/CurrencyNames.h"
#include "ratesite/ReferenceRates.h"

#include <string>

// `rates` must hold the US dollar (ReadReferenceRates makes sure of it). `fromSnapshot` adds
// the note that these are the bundled rates, not the feed's latest.
std::string BuildRatePage(const ReferenceRates& rates, bool fromSnapshot,
                          const CurrencyNames& names);

// Six decimals in fixed notation, whatever the process locale is.
std::string SixDecimals(double value);
