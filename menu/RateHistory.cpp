// SPDX-License-Identifier: MIT
#include "menu/RateHistory.h"

#include "menu/JsonReader.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr std::size_t kMaxDocumentBytes = 4 * 1024 * 1024;

bool isCode(std::string_view code) {
    return code.size() == 3 &&
           std::all_of(code.begin(), code.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

bool isText(const JsonValue* value) {
    return value && value->kind == JsonValue::Kind::String;
}

// A positive number: neither a sign nor a zero value (as "0", "0.0" or "0e5").
bool isPositive(const std::string& number) {
    if (number.starts_with('-')) return false;
    const std::string_view mantissa =
        std::string_view(number).substr(0, number.find_first_of("eE"));
    return mantissa.find_first_not_of("0.") != std::string_view::npos;
}

std::optional<HistoryCurrency> currencyOf(const std::string& code, const JsonValue& rates,
                                          const JsonValue* names, std::size_t days) {
    if (!isCode(code) || rates.kind != JsonValue::Kind::Array || rates.items.size() != days)
        return std::nullopt;
    const JsonValue* name = names ? names->member(code) : nullptr;
    HistoryCurrency currency{code, isText(name) ? name->text : code, {}};
    currency.rates.reserve(days);
    for (const JsonValue& rate : rates.items) {
        if (rate.kind == JsonValue::Kind::Null)
            currency.rates.emplace_back();
        else if (rate.kind == JsonValue::Kind::Number && isPositive(rate.text))
            currency.rates.emplace_back(rate.text);
        else
            return std::nullopt;
    }
    return currency;
}

} // namespace

const HistoryCurrency* RateHistory::byName(std::string_view name) const {
    for (const HistoryCurrency& currency : currencies)
        if (currency.name == name) return &currency;
    return nullptr;
}

const HistoryCurrency* RateHistory::byCode(std::string_view code) const {
    for (const HistoryCurrency& currency : currencies)
        if (currency.code == code) return &currency;
    return nullptr;
}

std::optional<RateHistory> ParseRateHistory(std::string_view json) {
    if (json.size() > kMaxDocumentBytes) return std::nullopt;
    const std::optional<JsonValue> document = ParseJson(json);
    if (!document || document->kind != JsonValue::Kind::Object) return std::nullopt;
    const JsonValue* base = document->member("base");
    const JsonValue* days = document->member("days");
    const JsonValue* names = document->member("names");
    const JsonValue* rates = document->member("rates");
    if (!isText(base) || !isCode(base->text) || !days || days->kind != JsonValue::Kind::Array ||
        !rates || rates->kind != JsonValue::Kind::Object ||
        (names && names->kind != JsonValue::Kind::Object))
        return std::nullopt;
    RateHistory history;
    history.base = base->text;
    for (const JsonValue& day : days->items) {
        if (!isText(&day)) return std::nullopt;
        history.days.push_back(day.text);
    }
    for (const auto& [code, values] : rates->members) {
        std::optional<HistoryCurrency> currency =
            currencyOf(code, values, names, history.days.size());
        if (!currency || code == history.base || history.byCode(code)) return std::nullopt;
        history.currencies.push_back(std::move(*currency));
    }
    return history;
}

double RateValue(const std::string& rate) {
    double value = 0;
    std::from_chars(rate.data(), rate.data() + rate.size(), value);
    return value;
}
