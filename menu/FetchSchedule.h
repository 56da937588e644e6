// SPDX-License-Identifier: MIT
// When the opened menu fetches the rates again.
#pragma once

#include <chrono>
#include <optional>

// Rates older than this are fetched again when the menu opens.
inline constexpr std::chrono::minutes kRatesGoStale(15);
// A failed fetch is tried again this soon: a menu started before the network was up must not
// stay empty for a quarter of an hour, yet opening it again and again must not hammer a site
// that is down.
inline constexpr std::chrono::seconds kRetryAfterFailure(30);

// Whether the menu, opening at `now`, fetches: never fetched, rates gone stale, or a failed
// fetch that ended more than kRetryAfterFailure ago.
bool FetchIsDue(std::optional<std::chrono::steady_clock::time_point> lastFetchEnded,
                bool lastFetchFailed, std::chrono::steady_clock::time_point now);
