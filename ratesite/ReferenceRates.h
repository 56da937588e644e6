// The ECB's daily euro reference rates, read from its XML feed (the "gesmes" envelope with one
// dated Cube of currency/rate Cubes). The feed comes from the network, so the reader trusts
// nothing: a bounded body, no DTDs or entities, strict codes and rates.
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

struct ReferenceRates {
    std::string date;                 // YYYY-MM-DD, as the feed gives it
    std::vector<ReferenceRate> rates; // in feed order, each code once, the US dollar among them

    std::optional<double> perEuro(std::string_view code) const;
};

struct ReferenceRatesReading {
    std::optional<ReferenceRates> rates; // nothing when the document is refused as a whole
    std::string refusal;                 // why it was refused
    std::vector<std::string> skipped;    // one line for each entry left out, and why
};

// A larger document is refused unread.
inline constexpr size_t kMaxFeedBytes = 1024 * 1024;

ReferenceRatesReading ReadReferenceRates(std::string_view document);
