// SPDX-License-Identifier: MIT
#include "menu/RateChartData.h"

#include "base/EscapedText.h"
#include "menu/MenuLanguage.h"

#include <charconv>

RateChartData ChartDataFor(const std::vector<std::string>& chosen, const RateHistory& history) {
    RateChartData data{history.base, history.days, {}};
    for (const std::string& name : chosen) {
        const HistoryCurrency* currency = history.byName(name);
        if (!currency) continue;
        // Shown in titles and printed on a terminal: never a control.
        RateChartSeries series{currency->code, VisibleText(currency->name), {}, std::nullopt};
        for (const std::optional<std::string>& rate : currency->rates)
            series.rates.push_back(rate ? std::optional<double>(RateValue(*rate)) : std::nullopt);
        if (!series.rates.empty() && series.rates.back())
            series.newest = ChartRateText(*series.rates.back());
        data.series.push_back(std::move(series));
    }
    return data;
}

std::string ChartSummaryLine(const RateChartSeries& series, const std::vector<std::string>& days) {
    std::optional<std::size_t> first, last;
    std::size_t count = 0;
    for (std::size_t i = 0; i < series.rates.size() && i < days.size(); ++i) {
        if (!series.rates[i]) continue;
        if (!first) first = i;
        last = i;
        ++count;
    }
    if (!first) return series.name + ": no rates";
    return series.name + ": " + days[*first] + " " + ChartRateText(*series.rates[*first]) + " .. " +
           days[*last] + " " + ChartRateText(*series.rates[*last]) + " (" + std::to_string(count) +
           (count == 1 ? " day)" : " days)");
}

std::string ChartTitle(const std::string& base, const CurrencyWords& words) {
    return MenuText("Corvanta: rates per %1", words.unitName(base));
}

std::string ChartEmptyText(bool haveHistory) {
    return haveHistory ? MenuText("None of the chosen currencies is in the rate history.")
                       : MenuText("The rate history could not be loaded.");
}

std::string ChartRateText(double rate) {
    char digits[400];
    return std::string(
        digits,
        std::to_chars(digits, digits + sizeof digits, rate, std::chars_format::fixed, 6).ptr);
}
