// SPDX-License-Identifier: MIT
#include "ratesite/HistoryDocument.h"

#include "base/EscapedText.h"
#include "ratesite/RatePageBuilder.h"

#include <charconv>

namespace {

// Ten significant digits: more than the feed's own figures carry, and every cross rate to far
// better than the menu shows it.
void appendNumber(std::string& json, double value) {
    char digits[32];
    json.append(
        digits,
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 10).ptr);
}

// `"CODE": ` followed by what `value` appends, for each page currency, comma-separated.
template <typename Value>
void appendMembers(std::string& json, const std::vector<const SiteCurrency*>& currencies,
                   Value value) {
    for (size_t i = 0; i < currencies.size(); ++i) {
        if (i) json += ", ";
        json += QuotedText(currencies[i]->code);
        json += ": ";
        value(*currencies[i]);
    }
}

} // namespace

std::string BuildHistoryDocument(const ReferenceRates& rates,
                                 const std::vector<SiteCurrency>& offered, std::string_view base) {
    const std::vector<const SiteCurrency*> currencies = PageCurrencies(rates, offered, base);
    std::string json;
    json.reserve(256 + currencies.size() * (48 + rates.days.size() * 12) + rates.days.size() * 14);
    json +=
        "{\"base\": " + QuotedText(base) + ", \"source\": \"European Central Bank\",\n \"days\": [";
    for (size_t i = 0; i < rates.days.size(); ++i) {
        if (i) json += ", ";
        json += QuotedText(rates.days[i].date);
    }
    json += "],\n \"names\": {";
    appendMembers(json, currencies,
                  [&](const SiteCurrency& currency) { json += QuotedText(currency.name); });
    json += "},\n \"rates\": {";
    appendMembers(json, currencies, [&](const SiteCurrency& currency) {
        json += '[';
        for (size_t i = 0; i < rates.days.size(); ++i) {
            if (i) json += ", ";
            if (const std::optional<double> rate = CrossRate(rates.days[i], currency.code, base))
                appendNumber(json, *rate);
            else
                json += "null";
        }
        json += ']';
    });
    json += "}}\n";
    return json;
}
