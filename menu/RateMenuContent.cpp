#include "menu/RateMenuContent.h"

#include "menu/DecimalNumber.h"

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

RateMenuLine currencyLine(const std::string& name, const RateArray* rates, bool fetchFailed,
                          const std::optional<DecimalNumber>& amount) {
    if (!rates) return disabledLine(fetchFailed ? name + ": no rate" : name);
    const RateEntry* entry = findRate(*rates, name);
    if (!entry) return disabledLine(name + ": not on the rate page");
    if (!amount) return {name + ": " + entry->rate, true, entry->rate};
    const std::optional<DecimalNumber> rate = ParseDecimalNumber(entry->rate);
    const std::optional<std::string> converted =
        rate ? MultiplyToTwoDecimals(*amount, *rate) : std::nullopt;
    if (!converted) return disabledLine(name + ": no rate");
    return {name + ": " + *converted, true, *converted};
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
    if (!ParseDecimalNumber(text)) return std::nullopt;
    return std::string(TrimBlanks(text));
}

RateMenuContent RateMenuContentFor(const RateMenuState& state) {
    RateMenuContent content;
    const RateArray* rates = state.rates;
    if (state.loading)
        content.header = "Loading…";
    else if (!rates)
        content.header = "The exchange rates could not be loaded.";
    else if (state.amount)
        content.header = *state.amount + " US dollars in:";
    else
        content.header = "Rates per US dollar:";

    if (state.chosen.empty()) {
        content.currencies.push_back(disabledLine("No currencies chosen"));
        return content;
    }
    const std::optional<DecimalNumber> amount =
        state.amount ? ParseDecimalNumber(*state.amount) : std::nullopt;
    for (const std::string& name : state.chosen)
        content.currencies.push_back(currencyLine(name, rates, state.fetchFailed, amount));
    return content;
}
