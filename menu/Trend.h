// SPDX-License-Identifier: MIT
// How a rate moved since the previous day of its history: the newest day's rate over the one
// on the latest earlier day with a rate, minus one, in percent, rounded half away from zero to
// two decimals. Worked out exactly from the rates' decimal texts.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The change in hundredths of a percent (+12 for +0.12%), or nothing when the newest day has no
// rate or no earlier day has one.
std::optional<long long>
TrendSincePreviousDay(const std::vector<std::optional<std::string>>& rates);

// "+0.12%", "-0.30%", and "0.00%" (no sign) for nothing at all; `decimalPoint` as the user's
// language writes it.
std::string TrendText(long long hundredths, char decimalPoint = '.');
