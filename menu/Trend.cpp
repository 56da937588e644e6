// SPDX-License-Identifier: MIT
#include "menu/Trend.h"

#include "menu/RateHistory.h"

#include <cmath>
#include <cstdlib>

namespace {

using Int = __int128;

// A JSON number's decimal digits and power of ten: "1.5e-3" is 15 × 10^-4. Nothing when it has
// more digits than exact arithmetic here can carry.
struct Decimal {
    Int digits = 0;
    int exponent = 0;
};

std::optional<Decimal> decimalOf(const std::string& number) {
    constexpr int kMostDigits = 18;
    Decimal value;
    int count = 0;
    std::size_t at = 0;
    bool fraction = false;
    for (; at < number.size() && number[at] != 'e' && number[at] != 'E'; ++at) {
        const char c = number[at];
        if (c == '.') {
            fraction = true;
            continue;
        }
        if (c < '0' || c > '9') return std::nullopt;
        if (value.digits == 0 && c == '0') { // leading zeros carry nothing
            if (fraction) --value.exponent;
            continue;
        }
        if (++count > kMostDigits) return std::nullopt;
        value.digits = value.digits * 10 + (c - '0');
        if (fraction) --value.exponent;
    }
    if (at < number.size()) {
        const long power = std::strtol(number.c_str() + at + 1, nullptr, 10);
        if (power < -400 || power > 400) return std::nullopt;
        value.exponent += static_cast<int>(power);
    }
    return value;
}

Int powerOfTen(int n) {
    Int power = 1;
    while (n-- > 0)
        power *= 10;
    return power;
}

// A change no rate makes in a day: beyond it there is no trend to tell, only a broken history.
constexpr long long kLargestHundredths = 1'000'000'000'000; // ±10^10 %

// round((a / b - 1) × 10^4), half away from zero, when a and b are close enough in size for
// exact integer arithmetic; nothing otherwise. Past kLargestHundredths the caller gives up.
std::optional<Int> exactHundredths(const Decimal& a, const Decimal& b) {
    const int shift = a.exponent - b.exponent;
    // Both at the smaller exponent; 18 digits, 15 of shift and 4 of scale stay below 10^38.
    if (shift > 15 || shift < -15 || b.digits == 0) return std::nullopt;
    const Int aligned = shift >= 0 ? a.digits * powerOfTen(shift) : a.digits;
    const Int divisor = shift >= 0 ? b.digits : b.digits * powerOfTen(-shift);
    const Int change = (aligned - divisor) * 10000;
    const Int magnitude = change < 0 ? -change : change;
    Int quotient = magnitude / divisor;
    if (2 * (magnitude % divisor) >= divisor) ++quotient;
    return change < 0 ? -quotient : quotient;
}

std::optional<long long> approximateHundredths(const std::string& a, const std::string& b) {
    const long double change = (static_cast<long double>(RateValue(a)) / RateValue(b) - 1) * 10000;
    if (!std::isfinite(change) || std::fabs(change) > kLargestHundredths) return std::nullopt;
    return std::llround(change); // half away from zero
}

} // namespace

std::optional<long long>
TrendSincePreviousDay(const std::vector<std::optional<std::string>>& rates) {
    if (rates.empty() || !rates.back()) return std::nullopt;
    for (std::size_t i = rates.size() - 1; i-- > 0;) {
        if (!rates[i]) continue;
        const std::optional<Decimal> newest = decimalOf(*rates.back());
        const std::optional<Decimal> earlier = decimalOf(*rates[i]);
        if (newest && earlier)
            if (const std::optional<Int> exact = exactHundredths(*newest, *earlier))
                return *exact > kLargestHundredths || *exact < -kLargestHundredths
                           ? std::nullopt
                           : std::optional<long long>(static_cast<long long>(*exact));
        return approximateHundredths(*rates.back(), *rates[i]);
    }
    return std::nullopt;
}

std::string TrendText(long long hundredths, char decimalPoint) {
    const unsigned long long magnitude = hundredths < 0
                                             ? 0ULL - static_cast<unsigned long long>(hundredths)
                                             : static_cast<unsigned long long>(hundredths);
    std::string fraction = std::to_string(magnitude % 100);
    if (fraction.size() < 2) fraction.insert(0, "0");
    const char* sign = hundredths > 0 ? "+" : hundredths < 0 ? "-" : "";
    return sign + std::to_string(magnitude / 100) + decimalPoint + fraction + "%";
}
