// SPDX-License-Identifier: MIT
#include "menu/RateMenuContent.h"

#include "base/EscapedText.h"
#include "menu/DecimalNumber.h"
#include "menu/MenuLanguage.h"
#include "menu/Trend.h"

#include <algorithm>

namespace {

const RateEntry* findRate(const RateArray& rates, const std::string& name) {
    // The page may list a name twice; the first row is the one the rate source also pairs.
    auto it = std::find_if(rates.begin(), rates.end(),
                           [&](const RateEntry& entry) { return entry.country == name; });
    return it == rates.end() ? nullptr : &*it;
}

RateMenuLine disabledLine(std::string text) {
    return {std::move(text), false, {}};
}

// " (+0.12%)" after a rate whose history has an earlier day, else nothing.
std::string trendSuffix(const RateHistory* history, const std::string& name) {
    const HistoryCurrency* currency = history ? history->byName(name) : nullptr;
    const std::optional<long long> trend =
        currency ? TrendSincePreviousDay(currency->rates) : std::nullopt;
    return trend ? " (" + TrendText(*trend, MenuNumberForm().decimalPoint) + ")" : "";
}

// The page's rate text, when it is one the menu may show and copy: a plain positive decimal
// number as amounts are written (digits, "," groups, one "."), nothing around it, at most
// kLongestShownRate characters. Anything else a page holds (a line break, a terminal's escape,
// a sign, an exponent, 300 digits) is no rate.
std::optional<DecimalNumber> shownRate(const std::string& rate) {
    if (rate.empty() || rate.size() > kLongestShownRate || TrimBlanks(rate) != rate)
        return std::nullopt;
    const std::optional<DecimalNumber> number = ParseDecimalNumber(rate);
    if (!number || number->mantissa == 0) return std::nullopt;
    return number;
}

RateMenuLine currencyLine(const std::string& name, const RateMenuState& state,
                          const std::optional<DecimalNumber>& amount) {
    // The name as the page or the settings spell it, but never a control on screen.
    const std::string shown = VisibleText(name);
    const RateArray* rates = state.rates;
    if (!rates) return disabledLine(state.fetchFailed ? MenuText("%1: no rate", shown) : shown);
    const RateEntry* entry = findRate(*rates, name);
    if (!entry) return disabledLine(MenuText("%1: not on the rate page", shown));
    const std::optional<DecimalNumber> rate = shownRate(entry->rate);
    if (!rate) return disabledLine(MenuText("%1: no rate", shown));
    // The rate as the page writes it; what the menu works out itself in the user's form.
    if (!amount)
        return {MenuText("%1: %2", shown, entry->rate + trendSuffix(state.history, name)), true,
                entry->rate};
    const std::optional<std::string> product = MultiplyToTwoDecimals(*amount, *rate);
    if (!product) return disabledLine(MenuText("%1: the amount is too large", shown));
    const std::string converted = WithDecimalPoint(*product, MenuNumberForm());
    return {MenuText("%1: %2", shown, converted), true, converted};
}

} // namespace

std::vector<std::string> ChosenCurrencies(std::string_view countries) {
    std::vector<std::string> names;
    for (;;) {
        const std::size_t comma = countries.find(',');
        const std::string_view part = TrimBlanks(countries.substr(0, comma));
        if (!part.empty() && std::find(names.begin(), names.end(), part) == names.end())
            names.emplace_back(part);
        if (comma == std::string_view::npos) break;
        countries.remove_prefix(comma + 1);
    }
    return names;
}

std::optional<std::string> AmountIn(std::string_view text) {
    if (!EnglishAmountText(text, MenuNumberForm())) return std::nullopt;
    return std::string(TrimBlanks(text));
}

RateMenuContent RateMenuContentFor(const RateMenuState& state) {
    static const CurrencyWords english("en");
    const CurrencyWords& words = state.words ? *state.words : english;
    RateMenuContent content;
    // The amount as the user wrote it, and as the menu computes with it.
    const std::optional<std::string> amountText =
        state.amount ? EnglishAmountText(*state.amount, MenuNumberForm()) : std::nullopt;
    if (state.loading)
        content.header = MenuText("Loading…");
    else if (!state.rates)
        content.header = MenuText("The exchange rates could not be loaded.");
    else if (amountText)
        content.header = MenuText("%1 %2 in:", TrimBlanks(*state.amount),
                                  words.amountName(state.base, *amountText));
    else
        content.header = MenuText("Rates per %1:", words.unitName(state.base));

    const std::optional<DecimalNumber> amount =
        amountText ? ParseDecimalNumber(*amountText) : std::nullopt;
    // The base has no row on its own page: a rate of 1 would tell nothing.
    const std::string baseName = words.displayName(state.base);
    for (const std::string& name : state.chosen)
        if (name != baseName) content.currencies.push_back(currencyLine(name, state, amount));
    // With nothing else chosen (the base alone is nothing to show either).
    if (content.currencies.empty())
        content.currencies.push_back(disabledLine(MenuText("No currencies chosen")));
    return content;
}
