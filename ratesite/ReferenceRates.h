// SPDX-License-Identifier: MIT
// The ECB's euro reference rates, read from its XML feed: the "gesmes" envelope with one dated
// Cube of currency/rate Cubes per working day (the daily feed has one day, the 90-day history
// about 64, newest first). The newest day is "the rates"; the older days are their history.
// The feed comes from the network, so the reader trusts nothing: a bounded body, no DTDs or
// entities, strict dates, codes and rates.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ReferenceRate {
    std::string code; // three capital letters
    double perEuro;   // units of the currency for one euro, finite and > 0
};

// One day of the feed: its date (YYYY-MM-DD, a day of the calendar) and its rates, in feed
// order, each code once.
struct ReferenceDay {
    std::string date;
    std::vector<ReferenceRate> rates;

    std::optional<double> perEuro(std::string_view code) const;
};

struct ReferenceRates {
    std::string date;                 // the newest day's, as the feed gives it
    std::vector<ReferenceRate> rates; // the newest day's, the US dollar among them
    // Every day kept, oldest first, the newest last (with the rates above). Older days hold
    // only currencies of the newest day: one the ECB no longer publishes is not offered.
    std::vector<ReferenceDay> days;

    std::optional<double> perEuro(std::string_view code) const;
};

struct ReferenceRatesReading {
    std::optional<ReferenceRates> rates; // nothing when the document is refused as a whole
    std::string refusal;                 // why it was refused
    // One line for each entry or day left out, and why; those of older days begin with the
    // day's date.
    std::vector<std::string> skipped;
};

// A larger document is refused unread.
inline constexpr size_t kMaxFeedBytes = 1024 * 1024;

ReferenceRatesReading ReadReferenceRates(std::string_view document);
