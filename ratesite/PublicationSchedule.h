// SPDX-License-Identifier: MIT
// When the ECB publishes: its reference rates appear on working days (Monday to Friday) around
// 16:00 Central European Time. Public holidays are not known here; on one the site simply
// asks again, at most every retry interval, and the feed answers with what it has.
#pragma once

#include <chrono>
#include <string>

// The date (YYYY-MM-DD) of the most recent publication expected at `now`.
std::string LatestExpectedPublication(std::chrono::system_clock::time_point now);
