// SPDX-License-Identifier: MIT
#include "menu/CurrencyWords.h"

#include <unicode/numberformatter.h>
#include <unicode/plurrule.h>

CurrencyWords::CurrencyWords(const std::string& localeName)
    : localeName_(localeName), names_(localeName) {
    UErrorCode status = U_ZERO_ERROR;
    rules_.reset(icu::PluralRules::forLocale(icu::Locale(localeName.c_str()), status));
    if (U_FAILURE(status)) rules_.reset();
}

CurrencyWords::~CurrencyWords() = default;

std::string CurrencyWords::amountName(std::string_view code, std::string_view amount) const {
    // The plural form depends on the number as written: "1" is one, "1.00" other in English.
    std::string digits;
    for (char c : amount)
        if (c != ',') digits += c;
    const std::size_t point = digits.find('.');
    const int decimals =
        point == std::string::npos ? 0 : static_cast<int>(digits.size() - point - 1);
    std::string category = "other";
    if (rules_) {
        UErrorCode status = U_ZERO_ERROR;
        const icu::number::FormattedNumber number =
            icu::number::NumberFormatter::withLocale(icu::Locale(localeName_.c_str()))
                .precision(icu::number::Precision::minMaxFraction(decimals, decimals))
                .formatDecimal(digits, status);
        const icu::UnicodeString keyword = rules_->select(number, status);
        if (U_SUCCESS(status)) {
            category.clear();
            keyword.toUTF8String(category);
        }
    }
    return names_.pluralNameOf(code, category.c_str());
}
