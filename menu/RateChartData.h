// SPDX-License-Identifier: MIT
// What the chart window draws, worked out without Qt: for each chosen currency (the base left
// out) its rates per the base over the history's days, gaps where it has none, its newest rate,
// and the line `corvanta-menu --chart` prints for it.
#pragma once

#include "menu/CurrencyWords.h"
#include "menu/RateHistory.h"

#include <optional>
#include <string>
#include <vector>

struct RateChartSeries {
    std::string code;
    std::string name;
    std::vector<std::optional<double>> rates; // one per day of RateChartData::days
    std::optional<std::string> newest;        // the newest day's rate, as the page shows it
};

struct RateChartData {
    std::string base;
    std::vector<std::string> days; // YYYY-MM-DD, oldest first
    std::vector<RateChartSeries> series;
};

// One series per name of `chosen` that the history knows, in the order chosen.
RateChartData ChartDataFor(const std::vector<std::string>& chosen, const RateHistory& history);

// "NAME: FIRST_DAY FIRST_RATE .. LAST_DAY LAST_RATE (N days)" over the days that have a rate,
// rates with six decimals as on the rate page; "NAME: no rates" when none has.
std::string ChartSummaryLine(const RateChartSeries& series, const std::vector<std::string>& days);

// The window's title ("Corvanta: rates per US dollar"), and what it says instead of charts when
// there is no history or no chosen currency in it.
std::string ChartTitle(const std::string& base, const CurrencyWords& words);
std::string ChartEmptyText(bool haveHistory);

// Six decimals, as the rate page writes rates, whatever the process locale is.
std::string ChartRateText(double rate);
