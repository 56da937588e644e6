// SPDX-License-Identifier: MIT
#include "ratesite/SiteCurrencies.h"

#include <algorithm>
#include <cmath>

namespace {

std::optional<double> perEuro(const ReferenceDay& day, std::string_view code) {
    return code == "EUR" ? std::optional<double>(1.0) : day.perEuro(code);
}

} // namespace

std::vector<SiteCurrency> OfferedCurrencies(const ReferenceRates& rates,
                                            const CurrencyNames& names) {
    std::vector<SiteCurrency> offered;
    offered.reserve(rates.rates.size() + 1);
    offered.push_back({"EUR", names.nameOf("EUR")});
    for (const ReferenceRate& rate : rates.rates)
        if (rate.code != "EUR") offered.push_back({rate.code, names.nameOf(rate.code)});
    std::sort(offered.begin(), offered.end(),
              [&names](const SiteCurrency& a, const SiteCurrency& b) {
                  if (names.before(a.name, b.name)) return true;
                  if (names.before(b.name, a.name)) return false;
                  return a.code < b.code;
              });
    return offered;
}

std::optional<double> CrossRate(const ReferenceDay& day, std::string_view code,
                                std::string_view base) {
    const std::optional<double> units = perEuro(day, code);
    const std::optional<double> baseUnits = perEuro(day, base);
    if (!units || !baseUnits) return std::nullopt;
    const double rate = *units / *baseUnits;
    if (!std::isfinite(rate) || rate <= 0) return std::nullopt;
    return rate;
}
