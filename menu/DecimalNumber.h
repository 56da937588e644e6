// SPDX-License-Identifier: MIT
// Numbers as people write amounts and as the rate page writes rates: digits with optional ","
// thousands separators and an optional decimal point, worked with exactly in decimal so that
// no binary rounding creeps into a converted amount.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// A non-negative decimal: mantissa × 10^-scale.
struct DecimalNumber {
    unsigned __int128 mantissa = 0;
    unsigned scale = 0;
};

// `text` without the blanks (spaces, tabs, line breaks) around it.
std::string_view TrimBlanks(std::string_view text);

// Reads `text`, blanks around it ignored: one or more digits, or 1-3 digits (not all zeros)
// followed by groups of "," and three digits; then optionally "." and one or more digits. Nothing
// else (no sign, no exponent, no blank inside). Nothing when `text` is not such a number or has
// more digits than can be held exactly.
std::optional<DecimalNumber> ParseDecimalNumber(std::string_view text);

// amount × rate rounded half away from zero to two decimals, in plain digits ("1151.09").
// Nothing when the exact product cannot be held.
std::optional<std::string> MultiplyToTwoDecimals(const DecimalNumber& amount,
                                                 const DecimalNumber& rate);
