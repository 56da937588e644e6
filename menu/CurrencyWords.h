// SPDX-License-Identifier: MIT
// The words the menu names currencies with, from ICU (CLDR) in one language: the display name
// the rate site gives them ("US Dollar"), the name for one unit ("US dollar") and the name for
// an amount, in the plural form that amount takes ("125 euros", "1 euro", "1,250.50 Japanese
// yen").
#pragma once

#include "rates/CurrencyNames.h"

#include <memory>
#include <string>
#include <string_view>

#include <unicode/plurrule.h>

class CurrencyWords {
public:
    explicit CurrencyWords(const std::string& localeName);
    ~CurrencyWords();
    CurrencyWords(const CurrencyWords&) = delete;
    CurrencyWords& operator=(const CurrencyWords&) = delete;

    std::string displayName(std::string_view code) const { return names_.nameOf(code); }
    std::string unitName(std::string_view code) const { return names_.pluralNameOf(code, "one"); }
    // `amount` in the English form (digits, "," groups, "." decimals; see EnglishAmountText).
    std::string amountName(std::string_view code, std::string_view amount) const;
    // Whether `a` sorts before `b` in this language, as the site's page does.
    bool before(const std::string& a, const std::string& b) const { return names_.before(a, b); }

private:
    std::string localeName_;
    CurrencyNames names_;
    std::unique_ptr<icu::PluralRules> rules_; // null when ICU has none: "other" throughout
};
