// SPDX-License-Identifier: MIT
// Currencies' display names in the user's language, and their order in the user's collation,
// both from ICU.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include <unicode/coll.h>
#include <unicode/locid.h>

class CurrencyNames {
public:
    explicit CurrencyNames(const std::string& localeName);

    // The long name ("Japanese Yen"), as UTF-8; the code itself when ICU knows no name.
    std::string nameOf(std::string_view code) const;
    // The name for a count of the plural category `count` ("one", "other": "US dollars").
    std::string pluralNameOf(std::string_view code, const char* count) const;
    // Whether `a` sorts before `b` in this locale.
    bool before(const std::string& a, const std::string& b) const;

private:
    icu::Locale locale_;
    std::unique_ptr<icu::Collator> collator_; // null when ICU has none: code-point order
};
