// SPDX-License-Identifier: MIT
// The rate site's history of one base (/d/<base>/history.json): the days it holds, oldest first,
// and for each currency of the base's page its display name and its rate per one unit of the
// base on each day, or nothing where it has none.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct HistoryCurrency {
    std::string code;
    std::string name;
    // One per day: the rate as the site wrote it (a positive JSON number, "0.8908694"), or
    // nothing in a gap. Kept as text so that what is worked out from it stays exact.
    std::vector<std::optional<std::string>> rates;
};

struct RateHistory {
    std::string base;
    std::vector<std::string> days;
    std::vector<HistoryCurrency> currencies; // in the document's order, the page's

    const HistoryCurrency* byName(std::string_view name) const;
    const HistoryCurrency* byCode(std::string_view code) const;
};

// The history in `json`, or nothing when it is not such a document: a base and currencies that
// are three capital letters, dates as texts, names as texts, and for every named currency one
// positive number or null per day. A document larger than a few MiB is not read.
std::optional<RateHistory> ParseRateHistory(std::string_view json);

// The rate's value, for drawing and for arithmetic that need not be exact.
double RateValue(const std::string& rate);
