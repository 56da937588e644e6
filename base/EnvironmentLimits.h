// SPDX-License-Identifier: MIT
// Settings in the environment that may only shorten a wait, never lengthen it: tests and
// impatient users cut a time-out or an interval short, and a mistyped value changes nothing.
// Programs read them and hand the result down; libraries never read the environment for them.
#pragma once

#include <chrono>
#include <optional>

// The seconds `variable` holds as a plain non-negative decimal ("5", "0.5"; read the same way
// in every locale), or nothing when it is unset or holds anything else.
std::optional<std::chrono::milliseconds> SecondsInEnvironment(const char* variable);

// `limit`, or the span in `variable` when that is shorter.
std::chrono::milliseconds ShortenedByEnvironment(const char* variable,
                                                 std::chrono::milliseconds limit);
