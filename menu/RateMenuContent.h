// SPDX-License-Identifier: MIT
// What the rate menu shows, worked out without any GUI: the header and one line per chosen
// currency, from the Countries list, the last fetch (its base's page and history) and an amount
// the user may have selected.
#pragma once

#include "menu/CurrencyWords.h"
#include "menu/RateHistory.h"
#include "rates/ExchangeRates.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The Countries list as the menu reads it: split at ",", blanks around each name ignored, empty
// parts skipped, each name kept once at its first place.
std::vector<std::string> ChosenCurrencies(std::string_view countries);

// `text` trimmed, when it is an amount the menu can convert, written in the menu's language
// or in English (see EnglishAmountText).
std::optional<std::string> AmountIn(std::string_view text);

// The longest rate text the menu shows; rates are short numbers.
inline constexpr std::size_t kLongestShownRate = 32;

struct RateMenuLine {
    std::string text; // names escaped (base/EscapedText.h): it holds no control
    bool enabled = false;
    // What activating the line puts on the clipboard: the figure it shows.
    std::string figure;
};

struct RateMenuContent {
    std::string header;
    std::vector<RateMenuLine> currencies;
};

struct RateMenuState {
    std::vector<std::string> chosen;
    // The last fetch's result, or null before the first one ends and after a failed one (old
    // rates are not shown as if they were current).
    const RateArray* rates = nullptr;
    bool fetchFailed = false;             // the last fetch that ended failed
    bool loading = false;                 // a fetch is running
    std::optional<std::string> amount;    // from AmountIn
    std::string base = "USD";             // the currency the rates are per
    const RateHistory* history = nullptr; // the base's history, for the trend; null: no trend
    const CurrencyWords* words = nullptr; // names the header's currency; null: in English
};

RateMenuContent RateMenuContentFor(const RateMenuState& state);

// The one line --print writes when the menu is switched off, in English (MenuText gives it in
// the menu's language).
inline constexpr const char* kRateMenuSwitchedOff = "The rate menu is switched off.";
