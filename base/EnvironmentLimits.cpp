// SPDX-License-Identifier: MIT
#include "base/EnvironmentLimits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

std::optional<std::chrono::milliseconds> SecondsInEnvironment(const char* variable) {
    const char* value = std::getenv(variable);
    if (!value) return std::nullopt;
    const std::string_view text(value);
    // Digits with at most one point: no sign, exponent, blanks, "inf" or "nan".
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string_view::npos ||
        std::count(text.begin(), text.end(), '.') > 1 || text == ".")
        return std::nullopt;
    double seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(seconds))
        return std::nullopt;
    // Longer than anything a limit here is measured in: as good as no setting.
    if (seconds > 1e9) return std::nullopt;
    return std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
}

std::chrono::milliseconds ShortenedByEnvironment(const char* variable,
                                                 std::chrono::milliseconds limit) {
    const std::optional<std::chrono::milliseconds> wanted = SecondsInEnvironment(variable);
    return wanted ? std::min(limit, *wanted) : limit;
}
