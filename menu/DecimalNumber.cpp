// SPDX-License-Identifier: MIT
#include "menu/DecimalNumber.h"

#include <algorithm>

namespace {

using UInt128 = unsigned __int128;

// 10^38 is the largest power of ten an unsigned 128-bit value holds.
constexpr unsigned kMaxPowerOfTen = 38;

UInt128 powerOfTen(unsigned exponent) {
    UInt128 power = 1;
    for (unsigned i = 0; i < exponent; ++i)
        power *= 10;
    return power;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Appends one digit; false when the mantissa would overflow.
bool appendDigit(DecimalNumber& number, char digit) {
    UInt128 shifted;
    if (__builtin_mul_overflow(number.mantissa, UInt128(10), &shifted)) return false;
    return !__builtin_add_overflow(shifted, UInt128(digit - '0'), &number.mantissa);
}

// The integer part: plain digits, or 1-3 digits, not all zeros, and then ",ddd" groups. Returns
// where it ends, or npos when the text does not start with a well-formed integer part.
std::size_t readIntegerPart(std::string_view text, DecimalNumber& number, bool& fits) {
    std::size_t i = 0;
    while (i < text.size() && isDigit(text[i]))
        fits = appendDigit(number, text[i++]) && fits;
    if (i == 0) return std::string_view::npos;
    if (i >= text.size() || text[i] != ',') return i;
    if (i > 3) return std::string_view::npos; // a separator after more than three digits
    // Nobody groups a number that starts with a group of zeros: "0,125" is a decimal comma.
    if (text.find_first_not_of('0') == i) return std::string_view::npos;
    while (i < text.size() && text[i] == ',') {
        if (text.size() - i < 4) return std::string_view::npos; // fewer than three digits
        for (std::size_t k = 1; k <= 3; ++k)
            if (!isDigit(text[i + k])) return std::string_view::npos;
        for (std::size_t k = 1; k <= 3; ++k)
            fits = appendDigit(number, text[i + k]) && fits;
        i += 4;
        if (i < text.size() && isDigit(text[i])) return std::string_view::npos; // "1,2345"
    }
    return i;
}

std::string twoDecimals(UInt128 hundredths) {
    std::string digits;
    do {
        digits += static_cast<char>('0' + static_cast<int>(hundredths % 10));
        hundredths /= 10;
    } while (hundredths > 0);
    while (digits.size() < 3)
        digits += '0';
    std::reverse(digits.begin(), digits.end());
    digits.insert(digits.size() - 2, 1, '.');
    return digits;
}

} // namespace

std::string_view TrimBlanks(std::string_view text) {
    constexpr std::string_view blanks = " \t\r\n\f\v";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::optional<DecimalNumber> ParseDecimalNumber(std::string_view text) {
    text = TrimBlanks(text);
    DecimalNumber number;
    bool fits = true;
    std::size_t i = readIntegerPart(text, number, fits);
    if (i == std::string_view::npos) return std::nullopt;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionStart = ++i;
        // Zeros are held back until a digit other than zero follows: trailing zeros say
        // nothing about the value, and leaving them out keeps long-written numbers in range.
        unsigned pendingZeros = 0;
        for (; i < text.size() && isDigit(text[i]); ++i) {
            if (text[i] == '0') {
                ++pendingZeros;
                continue;
            }
            for (; pendingZeros > 0; --pendingZeros, ++number.scale)
                fits = appendDigit(number, '0') && fits;
            fits = appendDigit(number, text[i]) && fits;
            ++number.scale;
        }
        if (i == fractionStart) return std::nullopt; // "12." has no fraction digits
    }
    if (i != text.size() || !fits) return std::nullopt;
    return number;
}

std::optional<std::string> MultiplyToTwoDecimals(const DecimalNumber& amount,
                                                 const DecimalNumber& rate) {
    UInt128 product;
    if (__builtin_mul_overflow(amount.mantissa, rate.mantissa, &product)) return std::nullopt;
    const unsigned scale = amount.scale + rate.scale;
    if (scale <= 2) {
        UInt128 hundredths;
        if (__builtin_mul_overflow(product, powerOfTen(2 - scale), &hundredths))
            return std::nullopt;
        return twoDecimals(hundredths);
    }
    // The product is below 10^39, so beyond this many places it rounds to zero.
    if (scale - 2 > kMaxPowerOfTen) return twoDecimals(0);
    const UInt128 divisor = powerOfTen(scale - 2);
    UInt128 hundredths = product / divisor;
    const UInt128 remainder = product % divisor;
    // Half away from zero: a remainder of at least half the divisor rounds up.
    if (remainder >= divisor - remainder) ++hundredths;
    return twoDecimals(hundredths);
}
