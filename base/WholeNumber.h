// SPDX-License-Identifier: MIT
// A decimal whole number that is all of `text` ("12", never "12x", " 12" or ""), for options
// and environment variables.
#pragma once

#include <charconv>
#include <optional>
#include <string_view>

inline std::optional<long> WholeNumber(std::string_view text) {
    long value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}
