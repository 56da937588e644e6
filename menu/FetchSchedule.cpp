// SPDX-License-Identifier: MIT
#include "menu/FetchSchedule.h"

bool FetchIsDue(std::optional<std::chrono::steady_clock::time_point> lastFetchEnded,
                bool lastFetchFailed, std::chrono::steady_clock::time_point now) {
    if (!lastFetchEnded) return true;
    const std::chrono::steady_clock::duration wait =
        lastFetchFailed ? std::chrono::steady_clock::duration(kRetryAfterFailure)
                        : std::chrono::steady_clock::duration(kRatesGoStale);
    return now - *lastFetchEnded > wait;
}
